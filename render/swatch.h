#pragma once

#include "render/canvas.h"
#include "render/figure.h"

#include <cstdint>

// Colour-list items are painted as solid swatches of one fixed size.
struct ColorItemSize {
    int width;
    int height;
};

// The size of every colour-list item: 100 x 20 pixels.
ColorItemSize MeasureColorItem();

// Item state flag: the item is selected (highlighted).
constexpr unsigned kItemStateSelected = 0x0001;

// One request to paint a colour-list item.
struct ColorItemDraw {
    int itemId;             // the item's index in its list; -1 when there is nothing to show
    unsigned itemState;     // kItemStateSelected or 0; no other flag is looked at
    PixelRect itemRect;     // where the item goes on the target
    std::intptr_t itemData; // the palette position the item stands for
};

// Paints the item as a swatch of PaletteColor(itemData) onto a fresh canvas
// of the item rectangle's size, with the focus frame when the item is
// selected; the front end copies it to itemRect. Returns 0 (no canvas) for
// item id -1; else 1, with an empty canvas for an empty rectangle.
int PaintColorSwatch(const ColorItemDraw& item, Canvas& swatch);
