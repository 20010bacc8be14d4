#pragma once

#include "export/imagelayer.h"
#include "render/canvas.h"

#include <cstddef>
#include <cstdint>

// BMP files and the device-independent bitmaps of the clipboard, written
// from 32-bit pixels as they are, on every system.

// Rows of 32-bit pixels, 0xFFRRGGBB each, row 0 at the top.
struct PixelRows {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0; // bytes from one row to the next
    const std::uint32_t* first = nullptr;

    const std::uint32_t* Row(std::int32_t y) const
    {
        return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(first) + y * stride);
    }
};

inline bool HasPixels(const PixelRows& pixels)
{
    return pixels.first != nullptr && pixels.width > 0 && pixels.height > 0;
}

// The canvas's pixels as the encoders read them, without a copy.
PixelRows RowsOf(const Canvas& canvas);

// The resolution every image file carries: 96 dots per inch, which is 3780
// dots per metre in the formats that count in metres.
constexpr int kDotsPerInch = 96;
constexpr int kDotsPerMeter = 3780;

// A device-independent bitmap: the 40-byte BITMAPINFOHEADER, then the rows
// bottom-up as 24-bit blue, green, red, each padded to 4 bytes. False,
// writing nothing, when there are no pixels or the bitmap would exceed the
// 4 GiB that its sizes can state.
bool WriteDib(const PixelRows& pixels, ByteSink& sink);

// The size in bytes of WriteDib's output, or 0 when it cannot be written.
std::uint64_t DibSize(const PixelRows& pixels);

// Whether a BMP file can hold a width x height image: its sizes, headers
// included, fit in 32 bits.
bool BmpCanHold(std::int32_t width, std::int32_t height);

// A BMP file: the 14-byte file header, then WriteDib's bitmap.
bool WriteBmp(const PixelRows& pixels, ByteSink& sink);
