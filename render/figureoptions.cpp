#include "render/figureoptions.h"

namespace {
// The record and the options name every figure option alike; one list of
// them serves both directions.
template <typename From, typename To> void CopyFigureOptions(const From& from, To& to)
{
    to.showExternalCircle = from.showExternalCircle;
    to.showInternalCircle = from.showInternalCircle;
    to.diagonalChoice = from.diagonalChoice;
    to.backgroundColor = from.backgroundColor;
    to.externalCircleColor = from.externalCircleColor;
    to.internalCircleColor = from.internalCircleColor;
    to.outlineColor = from.outlineColor;
    for (int row = 0; row < kVertexCount; ++row)
        to.diagonalColors[row] = from.diagonalColors[row];
}
} // namespace

FigureOptions FigureOptionsOf(const DecagonRecord& record)
{
    FigureOptions options;
    CopyFigureOptions(record, options);
    return options;
}

void StoreFigureOptions(const FigureOptions& options, DecagonRecord& record) { CopyFigureOptions(options, record); }
