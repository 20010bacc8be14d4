#include "render/canvas.h"
#include "render/palette.h"
#include "render/swatch.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

// A swatch for an item at (10, 20), 100 x 20 unless given.
struct Swatch {
    Canvas canvas;
    int result = -1;

    Swatch(int itemId, unsigned state, std::intptr_t data, PixelRect rect = {10, 20, 110, 40})
    {
        result = PaintColorSwatch({itemId, state, rect, data}, canvas);
    }
    ColorValue At(int x, int y) const { return ColorOfPixel(PixelAt(canvas, x, y)); }
};

} // namespace

TEST(MeasureColorItem, IsOneHundredByTwenty)
{
    const ColorItemSize size = MeasureColorItem();
    EXPECT_EQ(size.width, 100);
    EXPECT_EQ(size.height, 20);
}

TEST(PaintColorSwatch, PaintsThePaletteColourOverTheWholeItem)
{
    struct Case {
        std::intptr_t position;
        int red, green, blue;
    };
    for (const Case c : {Case{0, 0, 0, 0}, Case{1, 255, 0, 0}, Case{40, 0, 0, 255}, Case{47, 255, 255, 255}}) {
        const Swatch swatch(static_cast<int>(c.position), 0, c.position);
        EXPECT_EQ(swatch.result, 1);
        ASSERT_EQ(swatch.canvas.width, 100);
        ASSERT_EQ(swatch.canvas.height, 20);
        for (const PixelPoint inside : {PixelPoint{0, 0}, PixelPoint{99, 19}, PixelPoint{50, 10}, PixelPoint{99, 0}}) {
            const Pixel pixel = PixelAt(swatch.canvas, inside.x, inside.y);
            EXPECT_EQ(pixel, 0xFF000000u | (static_cast<Pixel>(c.red) << 16) | (static_cast<Pixel>(c.green) << 8) |
                                 static_cast<Pixel>(c.blue))
                << c.position;
        }
    }
}

TEST(PaintColorSwatch, AnItemOfIdMinusOneIsLeftToTheList)
{
    const Swatch swatch(-1, kItemStateSelected, 5);
    EXPECT_EQ(swatch.result, 0);
    EXPECT_FALSE(HasPixels(swatch.canvas));
}

TEST(PaintColorSwatch, ASelectedItemGetsTheFocusFrame)
{
    const Swatch plain(3, 0, 40);
    const Swatch selected(3, kItemStateSelected | 0x10u, 40);
    const ColorValue blue = PaletteColor(40);
    const ColorValue inverted = blue ^ 0x00FFFFFFu;
    EXPECT_EQ(plain.At(0, 0), blue);
    EXPECT_EQ(selected.At(0, 0), inverted);
    EXPECT_EQ(selected.At(1, 0), blue);
    EXPECT_EQ(selected.At(2, 0), inverted);
    EXPECT_EQ(selected.At(99, 19), inverted);
    EXPECT_EQ(selected.At(50, 10), blue);
    // Other state flags are not looked at.
    const Swatch other(3, 0x0010u, 40);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(other.At(x, y), plain.At(x, y)) << x << "," << y;
}

TEST(PaintColorSwatch, DataOutsideThePaletteShowsPositionZero)
{
    for (std::intptr_t data : {std::intptr_t{-3}, std::intptr_t{48}, std::intptr_t{0x100000001}}) {
        const Swatch swatch(0, 0, data);
        EXPECT_EQ(swatch.result, 1);
        EXPECT_EQ(swatch.At(50, 10), PaletteColor(0)) << data;
    }
}

TEST(PaintColorSwatch, AnEmptyInvertedOrHugeItemPaintsNothingButIsHandled)
{
    for (const PixelRect rect :
         {PixelRect{10, 20, 10, 40}, PixelRect{10, 20, 5, 40}, PixelRect{10, 20, 2000000010, 2000000020},
          PixelRect{-2147483647 - 1, 0, 2147483647, 20}}) {
        const Swatch swatch(2, 0, 1, rect);
        EXPECT_EQ(swatch.result, 1);
        EXPECT_FALSE(HasPixels(swatch.canvas));
    }
}
