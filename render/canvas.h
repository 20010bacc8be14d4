#pragma once

#include "render/figure.h"
#include "render/palette.h"

#include <cstddef>
#include <cstdint>
#include <memory>

// One pixel: 0xFFRRGGBB in a 32-bit word, the layout of a 32-bit RGB raster
// on every platform the program draws on (Qt's RGB32 images, the device-
// independent bitmaps of Windows).
using Pixel = std::uint32_t;

// An off-screen raster of 32-bit pixels, owned by the program, with the few
// operations the figure and the swatches need. A window system shows or
// encodes it by wrapping the same bytes, without a copy. Copies of a Canvas
// share the pixels; they live as long as the last copy. The rules every
// operation keeps:
// - pens are 1 pixel wide;
// - a segment sets its start pixel and every pixel up to, but not including,
//   its end pixel, so a segment from a point to itself sets nothing;
// - a rectangle or an ellipse box includes its left and top edges and
//   excludes its right and bottom edges; an empty or inverted box sets nothing;
// - the gaps of a dotted pen are painted white, the interior of an ellipse
//   takes the interior colour;
// - everything is clipped to the canvas, and coordinates far outside it cost
//   no more than coordinates inside it.
struct Canvas {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;       // bytes from the start of one row to the next
    std::shared_ptr<Pixel[]> pixels; // row 0 first; null when the canvas has no pixels

    // The first pixel of row y (0 to height - 1).
    Pixel* Row(std::int64_t y) const
    {
        return reinterpret_cast<Pixel*>(reinterpret_cast<unsigned char*>(pixels.get()) + y * stride);
    }
};

// Whether the canvas has any pixel to paint on.
bool HasPixels(const Canvas& canvas);

// The most bytes one canvas may take: a quarter of the machine's physical
// memory (1 GiB when it cannot be learnt, at most 512 MiB in a 32-bit
// process). A canvas is painted whole before anything is done with it, and an
// image export may need about as much again to encode it, so a quarter leaves
// the rest of the machine room to work instead of swapping or killing the
// process. The largest canvas allowed still paints in seconds (side 38000,
// 5.8 GB, on a 24 GB machine), and a typed height beyond it is refused at
// once.
std::uint64_t CanvasByteBudget();

// A width x height canvas whose pixels are not yet set. Returns 0 (no
// canvas) for a negative size, for one beyond CanvasByteBudget() or when the
// memory cannot be had; else 1. A size of 0 gives an empty canvas on which
// painting does nothing.
int MakeCanvas(std::int32_t width, std::int32_t height, Canvas& canvas);

// The pixel value of a colour on the canvas, and back.
constexpr Pixel PixelOf(ColorValue color)
{
    return 0xFF000000u | (static_cast<Pixel>(ColorRed(color)) << 16) | (static_cast<Pixel>(ColorGreen(color)) << 8) |
           static_cast<Pixel>(ColorBlue(color));
}
constexpr ColorValue ColorOfPixel(Pixel pixel)
{
    return MakeColor(static_cast<int>((pixel >> 16) & 0xFFu), static_cast<int>((pixel >> 8) & 0xFFu),
                     static_cast<int>(pixel & 0xFFu));
}

// The pixel at column x, row y; 0 outside the canvas.
Pixel PixelAt(const Canvas& canvas, std::int32_t x, std::int32_t y);

constexpr ColorValue kWhite = 0x00FFFFFF;

void FillRect(Canvas& canvas, PixelRect rect, ColorValue color);

// The ellipse inscribed in box, outlined with a 1-pixel pen (a dotted pen
// alternates three pixels of penColor with three white ones along the curve),
// its inside filled with interiorColor.
void DrawEllipse(Canvas& canvas, PixelRect box, PenStyle penStyle, ColorValue penColor, ColorValue interiorColor);

// A segment with a 1-pixel solid pen.
void DrawSegment(Canvas& canvas, PixelPoint from, PixelPoint to, ColorValue color);

// Copies the whole source scaled into the rectangle `where` of the target,
// taking for every target pixel the source pixel under its centre: rows and
// columns are dropped or repeated, never blended.
void CopyScaled(const Canvas& source, Canvas& target, PixelRect where);

// The focus frame of a selected item: every other pixel of the rectangle's
// 1-pixel border inverted (a dotted XOR frame, starting with the top-left
// corner), so it shows on any colour and drawing it twice removes it.
void DrawFocusFrame(Canvas& canvas, PixelRect rect);
