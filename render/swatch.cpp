#include "render/swatch.h"

#include "render/canvas.h"
#include "render/palette.h"

ColorItemSize MeasureColorItem() { return {100, 20}; }

int DrawColorSwatch(QPainter& target, const ColorItemDraw& item)
{
    if (item.itemId == -1)
        return 0;
    // Item data outside the palette takes the colour of position 0, as a
    // stored position outside it does.
    const std::int32_t position =
        item.itemData >= 0 && item.itemData < kPaletteSize ? static_cast<std::int32_t>(item.itemData) : 0;
    const int width = item.itemRect.width();
    const int height = item.itemRect.height();
    Canvas swatch;
    if (width <= 0 || height <= 0 || !MakeCanvas(width, height, swatch))
        return 1;
    FillRect(swatch, {0, 0, width, height}, PaletteColor(position));
    if ((item.itemState & kItemStateSelected) != 0)
        DrawFocusFrame(swatch, {0, 0, width, height});
    target.save();
    target.setCompositionMode(QPainter::CompositionMode_Source);
    target.drawImage(item.itemRect.topLeft(), swatch.image);
    target.restore();
    return 1;
}
