#include "render/figureoptions.h"

FigureOptions FigureOptionsOf(const DecagonRecord& record)
{
    FigureOptions options;
    options.showExternalCircle = record.showExternalCircle;
    options.showInternalCircle = record.showInternalCircle;
    options.diagonalChoice = record.diagonalChoice;
    options.backgroundColor = record.backgroundColor;
    options.externalCircleColor = record.externalCircleColor;
    options.internalCircleColor = record.internalCircleColor;
    options.outlineColor = record.outlineColor;
    for (int row = 0; row < kVertexCount; ++row)
        options.diagonalColors[row] = record.diagonalColors[row];
    return options;
}

void StoreFigureOptions(const FigureOptions& options, DecagonRecord& record)
{
    record.showExternalCircle = options.showExternalCircle;
    record.showInternalCircle = options.showInternalCircle;
    record.diagonalChoice = options.diagonalChoice;
    record.backgroundColor = options.backgroundColor;
    record.externalCircleColor = options.externalCircleColor;
    record.internalCircleColor = options.internalCircleColor;
    record.outlineColor = options.outlineColor;
    for (int row = 0; row < kVertexCount; ++row)
        record.diagonalColors[row] = options.diagonalColors[row];
}
