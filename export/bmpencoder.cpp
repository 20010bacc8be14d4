#include "export/bmpencoder.h"

#include "export/byteorder.h"

#include <memory>
#include <new>

namespace {

constexpr std::size_t kInfoHeaderSize = 40;
constexpr std::size_t kFileHeaderSize = 14;

std::uint64_t DibRowBytes(std::int32_t width)
{
    return (static_cast<std::uint64_t>(width) * 3 + 3) & ~std::uint64_t{3};
}

// Blue, green, red of each pixel, three bytes each: four pixels at a time as
// three little-endian words (bytes b0 g0 r0 b1, g1 r1 b2 g2, r2 b3 g3 r3),
// then the rest one by one.
void PackBgr(const std::uint32_t* source, std::int32_t width, unsigned char* out)
{
    std::int32_t x = 0;
    for (; x + 4 <= width; x += 4, out += 12) {
        const std::uint32_t p0 = source[x], p1 = source[x + 1], p2 = source[x + 2], p3 = source[x + 3];
        PutLe32(out, (p0 & 0xFFFFFFu) | (p1 << 24));
        PutLe32(out + 4, ((p1 >> 8) & 0xFFFFu) | (p2 << 16));
        PutLe32(out + 8, ((p2 >> 16) & 0xFFu) | (p3 << 8));
    }
    for (; x < width; ++x, out += 3) {
        out[0] = static_cast<unsigned char>(source[x]);
        out[1] = static_cast<unsigned char>(source[x] >> 8);
        out[2] = static_cast<unsigned char>(source[x] >> 16);
    }
}

} // namespace

PixelRows RowsOf(const Canvas& canvas)
{
    if (!HasPixels(canvas))
        return {};
    return {canvas.width, canvas.height, canvas.stride, canvas.Row(0)};
}

std::uint64_t DibSize(const PixelRows& pixels)
{
    if (!HasPixels(pixels))
        return 0;
    const std::uint64_t size = kInfoHeaderSize + DibRowBytes(pixels.width) * static_cast<std::uint64_t>(pixels.height);
    // A BMP file states its whole size, headers included, in 32 bits.
    return size + kFileHeaderSize <= 0xFFFFFFFFu ? size : 0;
}

bool WriteDib(const PixelRows& pixels, ByteSink& sink)
{
    const std::uint64_t size = DibSize(pixels);
    if (size == 0)
        return false;
    const std::uint64_t rowBytes = DibRowBytes(pixels.width);

    unsigned char header[kInfoHeaderSize] = {};
    PutLe32(header, kInfoHeaderSize);
    PutLe32(header + 4, static_cast<std::uint32_t>(pixels.width));
    PutLe32(header + 8, static_cast<std::uint32_t>(pixels.height)); // positive: bottom-up
    PutLe16(header + 12, 1);                                        // planes
    PutLe16(header + 14, 24);                                       // bits per pixel
    PutLe32(header + 16, 0);                                        // BI_RGB
    PutLe32(header + 20, static_cast<std::uint32_t>(size - kInfoHeaderSize));
    PutLe32(header + 24, kDotsPerMeter);
    PutLe32(header + 28, kDotsPerMeter);
    if (!sink.Write(header, sizeof header))
        return false;

    std::unique_ptr<unsigned char[]> row(new (std::nothrow) unsigned char[rowBytes]());
    if (!row)
        return false;
    for (std::int32_t y = pixels.height - 1; y >= 0; --y) {
        PackBgr(pixels.Row(y), pixels.width, row.get());
        if (!sink.Write(row.get(), static_cast<std::size_t>(rowBytes)))
            return false;
    }
    return true;
}

bool WriteBmp(const PixelRows& pixels, ByteSink& sink)
{
    const std::uint64_t size = DibSize(pixels);
    if (size == 0)
        return false;
    unsigned char header[kFileHeaderSize] = {'B', 'M'};
    PutLe32(header + 2, static_cast<std::uint32_t>(size + kFileHeaderSize));
    PutLe32(header + 10, kFileHeaderSize + kInfoHeaderSize); // where the pixels start
    return sink.Write(header, sizeof header) && WriteDib(pixels, sink);
}

bool BmpCanHold(std::int32_t width, std::int32_t height)
{
    const std::uint32_t pixel = 0;
    return width > 0 && height > 0 && DibSize({width, height, 0, &pixel}) != 0;
}
