#pragma once

#include "model/record.h"

#include <cstdint>

// What the figure shows besides its geometry: the two circles, the
// diagonals and the colour of every element. The renderer draws with the
// value it is given and asks nobody; whoever calls it (the dialog, the
// command line) fills it at the moment its own rules say.
struct FigureOptions {
    std::int32_t showExternalCircle = 0; // drawn only when exactly 1
    std::int32_t showInternalCircle = 0; // drawn only when exactly 1
    std::int32_t diagonalChoice = 0;     // a code of DiagonalChoices; others draw no diagonal
    // Palette positions (render/palette.h).
    std::int32_t backgroundColor = 0;
    std::int32_t externalCircleColor = 0;
    std::int32_t internalCircleColor = 0;
    std::int32_t outlineColor = 0;
    std::int32_t diagonalColors[kVertexCount] = {};
};

// The options as the record holds them.
FigureOptions FigureOptionsOf(const DecagonRecord& record);

// Copies every option into the record.
void StoreFigureOptions(const FigureOptions& options, DecagonRecord& record);
