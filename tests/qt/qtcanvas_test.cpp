// The core canvas under Qt: wrapped, never copied, and painted where asked.
#include "qt/qtcanvas.h"
#include "render/canvas.h"
#include "render/painter.h"
#include "render/palette.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(CanvasImage, WrapsTheSameBytesAndKeepsThemAlive)
{
    EXPECT_TRUE(CanvasImage(Canvas{}).isNull());
    QImage image;
    const Pixel* bytes = nullptr;
    {
        Canvas canvas;
        ASSERT_EQ(MakeCanvas(5, 3, canvas), 1);
        FillRect(canvas, {0, 0, 5, 3}, PaletteColor(1));
        DrawSegment(canvas, {0, 1}, {5, 1}, PaletteColor(40));
        bytes = canvas.pixels.get();
        image = FigureImage(canvas);
        EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(bytes));
        EXPECT_EQ(image.format(), QImage::Format_RGB32);
        EXPECT_EQ(image.bytesPerLine(), canvas.stride);
        // What the canvas paints later shows in the image: one set of pixels.
        canvas.Row(2)[4] = PixelOf(PaletteColor(47));
    }
    EXPECT_EQ(image.constBits(), reinterpret_cast<const uchar*>(bytes));
    EXPECT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.pixelColor(0, 0), QColor(255, 0, 0));
    EXPECT_EQ(image.pixelColor(4, 1), QColor(0, 0, 255));
    EXPECT_EQ(image.pixelColor(4, 2), QColor(255, 255, 255));
    EXPECT_EQ(image.dotsPerMeterX(), kFigureDotsPerMeter);
    EXPECT_EQ(image.dotsPerMeterY(), kFigureDotsPerMeter);
}

TEST(DrawColorSwatch, PaintsTheSwatchAtTheItemRectangleOnly)
{
    QImage target(200, 80, QImage::Format_RGB32);
    target.fill(0xFF808081u);
    {
        QPainter painter(&target);
        EXPECT_EQ(DrawColorSwatch(painter, {2, kItemStateSelected, {10, 20, 110, 40}, 40}), 1);
        EXPECT_EQ(DrawColorSwatch(painter, {-1, 0, {0, 0, 200, 80}, 1}), 0);
        EXPECT_EQ(DrawColorSwatch(painter, {3, 0, {10, 50, 10, 60}, 1}), 1);
    }
    EXPECT_EQ(target.pixel(9, 20), 0xFF808081u);
    EXPECT_EQ(target.pixel(110, 39), 0xFF808081u);
    EXPECT_EQ(target.pixel(10, 19), 0xFF808081u);
    EXPECT_EQ(target.pixel(10, 50), 0xFF808081u);
    EXPECT_EQ(target.pixelColor(11, 20), QColor(0, 0, 255));
    EXPECT_EQ(target.pixelColor(10, 20), QColor(255, 255, 0)); // the focus frame inverts
    EXPECT_EQ(target.pixelColor(60, 30), QColor(0, 0, 255));
}
