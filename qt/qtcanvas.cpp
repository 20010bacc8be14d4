#include "qt/qtcanvas.h"

#include "render/painter.h"

#include <memory>

namespace {
// Drops the image's share of the canvas's pixels when Qt lets go of them.
void ReleasePixels(void* share) { delete static_cast<std::shared_ptr<Pixel[]>*>(share); }
} // namespace

QImage CanvasImage(const Canvas& canvas)
{
    if (!HasPixels(canvas))
        return {};
    auto* share = new std::shared_ptr<Pixel[]>(canvas.pixels);
    QImage image(reinterpret_cast<uchar*>(canvas.pixels.get()), canvas.width, canvas.height,
                 static_cast<qsizetype>(canvas.stride), QImage::Format_RGB32, ReleasePixels, share);
    if (image.isNull()) // Qt took no share of a size it cannot show
        ReleasePixels(share);
    return image;
}

QImage FigureImage(const Canvas& canvas)
{
    QImage image = CanvasImage(canvas);
    // The image is not shared yet and its pixels are writable, so setting
    // the resolution copies nothing.
    image.setDotsPerMeterX(kFigureDotsPerMeter);
    image.setDotsPerMeterY(kFigureDotsPerMeter);
    return image;
}

int DrawColorSwatch(QPainter& target, const ColorItemDraw& item)
{
    Canvas swatch;
    if (!PaintColorSwatch(item, swatch))
        return 0;
    if (HasPixels(swatch)) {
        target.save();
        target.setCompositionMode(QPainter::CompositionMode_Source);
        target.drawImage(QPoint(item.itemRect.left, item.itemRect.top), CanvasImage(swatch));
        target.restore();
    }
    return 1;
}
