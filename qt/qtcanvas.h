#pragma once

#include "render/canvas.h"
#include "render/figure.h"
#include "render/swatch.h"

#include <QImage>
#include <QPainter>
#include <QPoint>
#include <QRect>

// The core canvas as a Qt image over the same bytes (Format_RGB32, whose
// pixels are 0xFFRRGGBB words as the canvas's are): no pixel is copied. The
// image keeps the pixels alive as long as it or a copy of it lives, so it
// may outlive the canvas (on the clipboard, for one). A canvas without
// pixels gives a null image.
QImage CanvasImage(const Canvas& canvas);

// The same, carrying the resolution of a rendered figure
// (kFigureDotsPerMeter), as image files and the clipboard take it.
QImage FigureImage(const Canvas& canvas);

// Pixel rectangles and points between Qt and the core.
inline PixelRect ToPixelRect(const QRect& rect)
{
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}
inline QPoint ToQPoint(PixelPoint point) { return {point.x, point.y}; }

// Paints a colour-list item (PaintColorSwatch) onto a Qt painter, replacing
// what is under the item rectangle. Returns what PaintColorSwatch returns.
int DrawColorSwatch(QPainter& target, const ColorItemDraw& item);
