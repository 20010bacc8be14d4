#include "render/canvas.h"
#include "render/palette.h"
#include "render/swatch.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr QRgb kGrey = 0xFF808081u;

struct Target {
    QImage image{200, 80, QImage::Format_RGB32};
    Target() { image.fill(kGrey); }

    int Draw(int itemId, unsigned state, std::intptr_t data, QRect rect = QRect(10, 20, 100, 20))
    {
        QPainter painter(&image);
        return DrawColorSwatch(painter, {itemId, state, rect, data});
    }
    ColorValue At(int x, int y) const { return ColorOfPixel(image.pixel(x, y)); }
};

} // namespace

TEST(MeasureColorItem, IsOneHundredByTwenty)
{
    const ColorItemSize size = MeasureColorItem();
    EXPECT_EQ(size.width, 100);
    EXPECT_EQ(size.height, 20);
}

TEST(DrawColorSwatch, PaintsThePaletteColourOverTheWholeItem)
{
    struct Case {
        std::intptr_t position;
        int red, green, blue;
    };
    for (const Case c : {Case{0, 0, 0, 0}, Case{1, 255, 0, 0}, Case{40, 0, 0, 255}, Case{47, 255, 255, 255}}) {
        Target target;
        EXPECT_EQ(target.Draw(static_cast<int>(c.position), 0, c.position), 1);
        for (const QPoint inside : {QPoint(10, 20), QPoint(109, 39), QPoint(60, 30), QPoint(109, 20)}) {
            const QRgb pixel = target.image.pixel(inside);
            EXPECT_EQ(qRed(pixel), c.red) << c.position;
            EXPECT_EQ(qGreen(pixel), c.green) << c.position;
            EXPECT_EQ(qBlue(pixel), c.blue) << c.position;
        }
        for (const QPoint outside : {QPoint(9, 20), QPoint(110, 20), QPoint(10, 19), QPoint(10, 40)})
            EXPECT_EQ(target.image.pixel(outside), kGrey) << c.position;
    }
}

TEST(DrawColorSwatch, AnItemOfIdMinusOneIsLeftToTheList)
{
    Target target;
    const QImage before = target.image.copy();
    EXPECT_EQ(target.Draw(-1, kItemStateSelected, 5), 0);
    EXPECT_EQ(target.image, before);
}

TEST(DrawColorSwatch, ASelectedItemGetsTheFocusFrame)
{
    Target plain;
    Target selected;
    plain.Draw(3, 0, 40);
    selected.Draw(3, kItemStateSelected | 0x10u, 40);
    const ColorValue blue = PaletteColor(40);
    const ColorValue inverted = blue ^ 0x00FFFFFFu;
    EXPECT_EQ(plain.At(10, 20), blue);
    EXPECT_EQ(selected.At(10, 20), inverted);
    EXPECT_EQ(selected.At(11, 20), blue);
    EXPECT_EQ(selected.At(12, 20), inverted);
    EXPECT_EQ(selected.At(109, 39), inverted);
    EXPECT_EQ(selected.At(60, 30), blue);
    // Other state flags are not looked at.
    Target other;
    other.Draw(3, 0x0010u, 40);
    EXPECT_EQ(other.image, plain.image);
}

TEST(DrawColorSwatch, DataOutsideThePaletteShowsPositionZero)
{
    for (std::intptr_t data : {std::intptr_t{-3}, std::intptr_t{48}, std::intptr_t{0x100000001}}) {
        Target target;
        EXPECT_EQ(target.Draw(0, 0, data), 1);
        EXPECT_EQ(target.At(60, 30), PaletteColor(0)) << data;
    }
}

TEST(DrawColorSwatch, AnEmptyOrHugeItemPaintsNothingButIsHandled)
{
    Target target;
    const QImage before = target.image.copy();
    EXPECT_EQ(target.Draw(2, 0, 1, QRect(10, 20, 0, 20)), 1);
    EXPECT_EQ(target.Draw(2, 0, 1, QRect(10, 20, 2000000000, 2000000000)), 1);
    EXPECT_EQ(target.image, before);
}
