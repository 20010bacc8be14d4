#pragma once

#include "export/imagelayer.h"

#include <cstddef>
#include <cstdint>
#include <string>

// The encoders of the Windows image layer that need no system call: BMP and
// the device-independent bitmap of the clipboard written here, JPEG by the
// stb writer compiled into the program (the system's own JPEG encoder cannot
// be trusted with the quality: some ignore it).

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

// A BMP file: the 14-byte file header, then WriteDib's bitmap.
bool WriteBmp(const PixelRows& pixels, ByteSink& sink);

// Whether a JPEG of this size can be written: at most 65535 pixels a side,
// and within what the encoder can address (3 bytes a pixel below 2 GiB).
bool JpegCanHold(std::int32_t width, std::int32_t height);

// A baseline JFIF file at the quality (1 to 100) with the standard tables
// scaled to it, colour at full resolution (no chroma subsampling) from
// quality 91 up, and a density of 96 dots per inch. False for no pixels, a
// size JpegCanHold refuses, no memory, or a sink that fails.
bool WriteJpeg(const PixelRows& pixels, int quality, ByteSink& sink);
