#include "win32/dib.h"

#include <vector>

bool BlitCanvas(HDC target, int x, int y, const Canvas& canvas)
{
    if (!HasPixels(canvas))
        return false;
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = canvas.width;
    info.bmiHeader.biHeight = -canvas.height; // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;

    // A bitmap's rows follow each other without a gap; a canvas whose rows
    // have one is gathered first.
    const std::ptrdiff_t rowBytes = static_cast<std::ptrdiff_t>(canvas.width) * 4;
    const void* bits = canvas.pixels.get();
    std::vector<Pixel> packed;
    if (canvas.stride != rowBytes) {
        packed.reserve(static_cast<std::size_t>(canvas.width) * static_cast<std::size_t>(canvas.height));
        for (std::int32_t row = 0; row < canvas.height; ++row)
            packed.insert(packed.end(), canvas.Row(row), canvas.Row(row) + canvas.width);
        bits = packed.data();
    }
    const int lines =
        SetDIBitsToDevice(target, x, y, static_cast<DWORD>(canvas.width), static_cast<DWORD>(canvas.height), 0, 0, 0,
                          static_cast<UINT>(canvas.height), bits, &info, DIB_RGB_COLORS);
    return lines > 0;
}
