#pragma once

#include <cstdint>

// A colour value with the byte layout 0x00BBGGRR: red in the low byte.
using ColorValue = std::uint32_t;

struct PaletteRow {
    std::int32_t id; // 1 to 48; -1 marks the end of the table
    ColorValue color;
};

constexpr int kPaletteSize = 48;

// The 48 colours of the figure, ended by the row with id -1. Every stored
// colour choice is a 0-based position in this table, never a colour value.
extern const PaletteRow ColorPalette[kPaletteSize + 1];

// The colour at a 0-based position. A position outside 0 to 47 (possible only
// from a hand-edited settings file) yields the colour of position 0.
ColorValue PaletteColor(std::int32_t position);

// A name for the colour at a position, for screen readers ("Red" and so on);
// position 0's name outside the table.
const char* PaletteColorName(std::int32_t position);

constexpr int ColorRed(ColorValue color) { return static_cast<int>(color & 0xFFu); }
constexpr int ColorGreen(ColorValue color) { return static_cast<int>((color >> 8) & 0xFFu); }
constexpr int ColorBlue(ColorValue color) { return static_cast<int>((color >> 16) & 0xFFu); }
constexpr ColorValue MakeColor(int red, int green, int blue)
{
    return static_cast<ColorValue>(red & 0xFF) | (static_cast<ColorValue>(green & 0xFF) << 8) |
           (static_cast<ColorValue>(blue & 0xFF) << 16);
}
