#include "render/palette.h"

const PaletteRow ColorPalette[kPaletteSize + 1] = {
    {1, 0x00000000},  {2, 0x000000FF},  {3, 0x000014A8},  {4, 0x00006600},  {5, 0x00008000},  {6, 0x0000BFFF},
    {7, 0x0000FF00},  {8, 0x0000FFFF},  {9, 0x000BDA51},  {10, 0x000F52BA}, {11, 0x001560BD}, {12, 0x00189BCC},
    {13, 0x001E90FF}, {14, 0x001F75FE}, {15, 0x002C3E50}, {16, 0x003F00FF}, {17, 0x004666FF}, {18, 0x0048D1CC},
    {19, 0x005B2C6F}, {20, 0x006050DC}, {21, 0x00612086}, {22, 0x0066FF66}, {23, 0x006A0DAD}, {24, 0x006CA0DC},
    {25, 0x0078184A}, {26, 0x007F00FF}, {27, 0x007FFFD4}, {28, 0x00800080}, {29, 0x00808080}, {30, 0x008DA399},
    {31, 0x0093CCEA}, {32, 0x009F00FF}, {33, 0x00A81C07}, {34, 0x00B22222}, {35, 0x00CCCCFF}, {36, 0x00CD7F32},
    {37, 0x00CF71AF}, {38, 0x00E59866}, {39, 0x00E74C3C}, {40, 0x00F0F8FF}, {41, 0x00FF0000}, {42, 0x00FF00FF},
    {43, 0x00FF69B4}, {44, 0x00FF6FFF}, {45, 0x00FF7F50}, {46, 0x00FFFACD}, {47, 0x00FFFF00}, {48, 0x00FFFFFF},
    {-1, 0x00000000},
};

namespace {
const char* const kColorNames[kPaletteSize] = {
    "Black",       "Red",           "Dark red",    "Dark green", "Green",        "Amber",       "Lime",
    "Yellow",      "Bright green",  "Rust",        "Copper",     "Goldenrod",    "Dark orange", "Pumpkin",
    "Dark brown",  "Crimson",       "Tomato",      "Pear",       "Plum",         "Rose",        "Byzantium",
    "Light green", "Mulberry",      "Tan",         "Indigo",     "Bright pink",  "Light lime",  "Purple",
    "Grey",        "Sage",          "Wheat",       "Hot pink",   "Dark blue",    "Medium blue", "Light pink",
    "Steel blue",  "Amethyst",      "Cornflower",  "Royal blue", "Floral white", "Blue",        "Magenta",
    "Lilac",       "Light magenta", "Bright blue", "Light cyan", "Cyan",         "White",
};

constexpr bool InPalette(std::int32_t position) { return position >= 0 && position < kPaletteSize; }
} // namespace

ColorValue PaletteColor(std::int32_t position) { return ColorPalette[InPalette(position) ? position : 0].color; }

const char* PaletteColorName(std::int32_t position) { return kColorNames[InPalette(position) ? position : 0]; }
