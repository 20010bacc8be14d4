#include "render/swatch.h"

#include "render/palette.h"

#include <cstdint>

ColorItemSize MeasureColorItem() { return {100, 20}; }

int PaintColorSwatch(const ColorItemDraw& item, Canvas& swatch)
{
    swatch = Canvas{};
    if (item.itemId == -1)
        return 0;
    // Item data outside the palette takes the colour of position 0, as a
    // stored position outside it does.
    const std::int32_t position =
        item.itemData >= 0 && item.itemData < kPaletteSize ? static_cast<std::int32_t>(item.itemData) : 0;
    const std::int64_t wide = std::int64_t{item.itemRect.right} - item.itemRect.left;
    const std::int64_t high = std::int64_t{item.itemRect.bottom} - item.itemRect.top;
    if (wide <= 0 || high <= 0 || wide > INT32_MAX || high > INT32_MAX)
        return 1;
    const auto width = static_cast<std::int32_t>(wide);
    const auto height = static_cast<std::int32_t>(high);
    if (!MakeCanvas(width, height, swatch))
        return 1;
    FillRect(swatch, {0, 0, width, height}, PaletteColor(position));
    if ((item.itemState & kItemStateSelected) != 0)
        DrawFocusFrame(swatch, {0, 0, width, height});
    return 1;
}
