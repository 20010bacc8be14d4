#include "win32/dib.h"

#include <vector>

namespace {
// The canvas as a bitmap's header and rows. A bitmap's rows follow each
// other without a gap; a canvas whose rows have one is gathered into packed.
const void* BitmapOf(const Canvas& canvas, BITMAPINFO& info, std::vector<Pixel>& packed)
{
    info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvas.width;
    info.bmiHeader.biHeight = -canvas.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(canvas.width) * 4;
    if (canvas.stride == rowBytes)
        return canvas.pixels.get();
    packed.reserve(static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height));
    for (std::int32_t row = 0; row < canvas.height; ++row)
        packed.insert(packed.end(), canvas.Row(row), canvas.Row(row) + canvas.width);
    return packed.data();
}
} // namespace

bool BlitCanvas(HDC target, int x, int y, const Canvas& canvas)
{
    if (!HasPixels(canvas))
        return false;
    BITMAPINFO info;
    std::vector<Pixel> packed;
    const void* bits = BitmapOf(canvas, info, packed);
    const int lines =
        SetDIBitsToDevice(target, x, y, static_cast<DWORD>(canvas.width), static_cast<DWORD>(canvas.height), 0, 0, 0,
                          static_cast<UINT>(canvas.height), bits, &info, DIB_RGB_COLORS);
    return lines > 0;
}

bool StretchCanvas(HDC target, const RECT& area, const Canvas& canvas)
{
    if (!HasPixels(canvas))
        return false;
    BITMAPINFO info;
    std::vector<Pixel> packed;
    const void* bits = BitmapOf(canvas, info, packed);
    const int mode = SetStretchBltMode(target, COLORONCOLOR);
    const int lines = StretchDIBits(target, area.left, area.top, area.right - area.left, area.bottom - area.top, 0, 0,
                                    canvas.width, canvas.height, bits, &info, DIB_RGB_COLORS, SRCCOPY);
    if (mode != 0)
        SetStretchBltMode(target, mode);
    return lines > 0;
}
