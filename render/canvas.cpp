#include "render/canvas.h"

#include "render/memorybudget.h"
#include "render/rasterrules.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

namespace {

// Where painting actually happens: the pixels and the visible area.
struct Raster {
    const Canvas* canvas;
    std::int64_t width;
    std::int64_t height;

    Pixel* Row(std::int64_t y) const { return canvas->Row(y); }
};

bool Open(Canvas& canvas, Raster& raster)
{
    if (!HasPixels(canvas))
        return false;
    raster = {&canvas, canvas.width, canvas.height};
    return true;
}

// Sets pixels [from, to) of one row, clipped to the raster.
void FillSpan(const Raster& raster, std::int64_t y, std::int64_t from, std::int64_t to, Pixel pixel)
{
    from = std::max<std::int64_t>(from, 0);
    to = std::min(to, raster.width);
    if (from < to)
        std::fill(raster.Row(y) + from, raster.Row(y) + to, pixel);
}

} // namespace

bool HasPixels(const Canvas& canvas) { return canvas.pixels != nullptr && canvas.width > 0 && canvas.height > 0; }

Pixel PixelAt(const Canvas& canvas, std::int32_t x, std::int32_t y)
{
    if (!HasPixels(canvas) || x < 0 || y < 0 || x >= canvas.width || y >= canvas.height)
        return 0;
    return canvas.Row(y)[x];
}

std::uint64_t CanvasByteBudget() { return MemoryByteBudget(); }

int MakeCanvas(std::int32_t width, std::int32_t height, Canvas& canvas)
{
    canvas = Canvas{};
    if (!CanvasWithinBudget(width, height, CanvasByteBudget()))
        return 0;
    if (width > 0 && height > 0) {
        // Rows lie one after the other, so the stride is the row's size.
        const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
        std::shared_ptr<Pixel[]> pixels(new (std::nothrow) Pixel[count]);
        if (pixels == nullptr)
            return 0;
        canvas.pixels = std::move(pixels);
        canvas.stride = static_cast<std::ptrdiff_t>(width) * static_cast<std::ptrdiff_t>(sizeof(Pixel));
    }
    canvas.width = width;
    canvas.height = height;
    return 1;
}

void FillRect(Canvas& canvas, PixelRect rect, ColorValue color)
{
    Raster raster;
    if (!Open(canvas, raster))
        return;
    const std::int64_t top = std::max<std::int64_t>(rect.top, 0);
    const std::int64_t bottom = std::min<std::int64_t>(rect.bottom, raster.height);
    const Pixel pixel = PixelOf(color);
    for (std::int64_t y = top; y < bottom; ++y)
        FillSpan(raster, y, rect.left, rect.right, pixel);
}

void DrawEllipse(Canvas& canvas, PixelRect box, PenStyle penStyle, ColorValue penColor, ColorValue interiorColor)
{
    Raster raster;
    const EllipseSpans ellipse(box);
    if (!Open(canvas, raster) || ellipse.Empty())
        return;
    const Pixel pen = PixelOf(penColor);
    const Pixel gap = PixelOf(kWhite);
    const Pixel inside = PixelOf(interiorColor);
    const bool dotted = penStyle == PenStyle::Dotted;

    auto outlinePixels = [&](std::int64_t y, std::int64_t from, std::int64_t to) {
        from = std::max<std::int64_t>(from, 0);
        to = std::min(to, raster.width);
        Pixel* row = raster.Row(y);
        for (std::int64_t x = from; x < to; ++x)
            row[x] = !dotted || ellipse.DotAt(x, y) ? pen : gap;
    };

    const std::int64_t top = std::max<std::int64_t>(ellipse.Top(), 0);
    const std::int64_t bottom = std::min<std::int64_t>(ellipse.Bottom(), raster.height);
    for (std::int64_t y = top; y < bottom; ++y) {
        std::int64_t first = 0, last = -1;
        if (!ellipse.Span(y, first, last))
            continue;
        std::int64_t innerFirst = 0, innerLast = -1;
        ellipse.Inner(y, first, last, innerFirst, innerLast);
        if (innerFirst > innerLast) {
            outlinePixels(y, first, last + 1);
            continue;
        }
        outlinePixels(y, first, innerFirst);
        FillSpan(raster, y, innerFirst, innerLast + 1, inside);
        outlinePixels(y, innerLast + 1, last + 1);
    }
}

void DrawSegment(Canvas& canvas, PixelPoint from, PixelPoint to, ColorValue color)
{
    Raster raster;
    if (!Open(canvas, raster))
        return;
    // Along the major axis one pixel per step; the minor offset after i steps
    // is i * minor / major rounded half up, which lands on the end point after
    // the last step. Steps outside the canvas on the major axis are skipped
    // without being walked, so the pixels are those of the whole segment.
    const std::int64_t dx = std::int64_t{to.x} - from.x;
    const std::int64_t dy = std::int64_t{to.y} - from.y;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const std::int64_t major = xMajor ? std::llabs(dx) : std::llabs(dy);
    const std::int64_t minor = xMajor ? std::llabs(dy) : std::llabs(dx);
    if (major == 0)
        return;
    const std::int64_t majorStart = xMajor ? from.x : from.y;
    const std::int64_t minorStart = xMajor ? from.y : from.x;
    const std::int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
    const std::int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
    const std::int64_t majorLimit = xMajor ? raster.width : raster.height;
    const std::int64_t minorLimit = xMajor ? raster.height : raster.width;

    // Steps i in [first, last] keep the major coordinate on the canvas.
    std::int64_t first = 0, last = major - 1;
    if (majorStep > 0) {
        first = std::max(first, -majorStart);
        last = std::min(last, majorLimit - 1 - majorStart);
    } else {
        first = std::max(first, majorStart - (majorLimit - 1));
        last = std::min(last, majorStart);
    }
    if (first > last)
        return;

    const std::int64_t twiceMajor = 2 * major;
    const WideInt numerator = WideInt{2} * minor * first + major;
    std::int64_t offset = static_cast<std::int64_t>(numerator / twiceMajor);
    std::int64_t rest = static_cast<std::int64_t>(numerator % twiceMajor);
    const Pixel pixel = PixelOf(color);
    for (std::int64_t i = first; i <= last; ++i) {
        const std::int64_t m = majorStart + majorStep * i;
        const std::int64_t n = minorStart + minorStep * offset;
        if (n >= 0 && n < minorLimit) {
            if (xMajor)
                raster.Row(n)[m] = pixel;
            else
                raster.Row(m)[n] = pixel;
        }
        rest += 2 * minor;
        if (rest >= twiceMajor) {
            rest -= twiceMajor;
            ++offset;
        }
    }
}

void CopyScaled(const Canvas& source, Canvas& target, PixelRect where)
{
    Raster out;
    if (!HasPixels(source) || !Open(target, out))
        return;
    const std::int64_t wide = std::int64_t{where.right} - where.left;
    const std::int64_t high = std::int64_t{where.bottom} - where.top;
    if (wide <= 0 || high <= 0)
        return;
    const std::int64_t left = std::max<std::int64_t>(where.left, 0);
    const std::int64_t right = std::min<std::int64_t>(where.right, out.width);
    const std::int64_t top = std::max<std::int64_t>(where.top, 0);
    const std::int64_t bottom = std::min<std::int64_t>(where.bottom, out.height);
    if (left >= right || top >= bottom)
        return;
    // Target pixel j of the rectangle shows the source pixel under its
    // centre: (2j + 1) * sourceSize / (2 * targetSize), rounded down.
    auto sourceIndex = [](std::int64_t j, std::int64_t sourceSize, std::int64_t targetSize) {
        return static_cast<std::int64_t>((WideInt{2} * j + 1) * sourceSize / (WideInt{2} * targetSize));
    };
    std::vector<std::int64_t> columns(static_cast<std::size_t>(right - left));
    for (std::int64_t x = left; x < right; ++x)
        columns[static_cast<std::size_t>(x - left)] = sourceIndex(x - where.left, source.width, wide);
    for (std::int64_t y = top; y < bottom; ++y) {
        const Pixel* from = source.Row(sourceIndex(y - where.top, source.height, high));
        Pixel* row = out.Row(y);
        for (std::int64_t x = left; x < right; ++x)
            row[x] = from[columns[static_cast<std::size_t>(x - left)]];
    }
}

void DrawFocusFrame(Canvas& canvas, PixelRect rect)
{
    Raster raster;
    if (!Open(canvas, raster) || rect.right <= rect.left || rect.bottom <= rect.top)
        return;
    const std::int64_t left = rect.left, top = rect.top, right = rect.right - 1, bottom = rect.bottom - 1;
    auto invert = [&](std::int64_t x, std::int64_t y) {
        if (x >= 0 && x < raster.width && y >= 0 && y < raster.height && FloorMod(x - left + y - top, 2) == 0)
            raster.Row(y)[x] ^= 0x00FFFFFFu;
    };
    // Walk only the part of each edge that lies on the canvas.
    const std::int64_t xFrom = std::max<std::int64_t>(left, 0), xTo = std::min(right, raster.width - 1);
    for (std::int64_t x = xFrom; x <= xTo; ++x) {
        invert(x, top);
        if (bottom != top)
            invert(x, bottom);
    }
    const std::int64_t yFrom = std::max<std::int64_t>(top + 1, 0), yTo = std::min(bottom - 1, raster.height - 1);
    for (std::int64_t y = yFrom; y <= yTo; ++y) {
        invert(left, y);
        if (right != left)
            invert(right, y);
    }
}
