#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>

// PNG files made with zlib straight from a raster of 32-bit pixels, row by
// row, without a second copy of the image. The same pixels always give the
// same bytes. An image of at most 256 colours (the figure has a handful) is
// written with a palette, packed to 1, 2, 4 or 8 bits a pixel, which is both
// the smallest file and the fastest to compress; any other image as 8-bit RGB
// with a filter chosen for every row. Either decodes to exactly the pixels.

struct PngSettings {
    // zlib's 0 (stored) to 9, outside it the nearest. Indexed images are
    // compressed as runs, for which any level from 1 gives the same bytes.
    int compressionLevel = 6;
    int dotsPerMeter = 0; // the resolution in the pHYs chunk; 0 or less leaves it out
};

// Receives the file's bytes in order, in pieces of any size. Returns false
// when it cannot take them (a failed write), which ends the encoding.
using PngSink = std::function<bool(const unsigned char* data, std::size_t size)>;

// Encodes width x height pixels, each a 32-bit word 0xXXRRGGBB in the
// machine's byte order (the top byte is ignored), rows strideBytes apart, top
// row first, into the sink. Returns 1 when the whole file went to the sink; 0
// when the size cannot be written (a side of 0 or less, rows that overlap, no
// pixels), zlib fails, or the sink refuses; the sink may then have taken the
// file's beginning.
int WritePng(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
             const PngSettings& settings, const PngSink& sink);

// The same into memory: returns 1 with the whole file in bytes, or 0 with
// bytes empty.
int EncodePng(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
              const PngSettings& settings, std::string& bytes);
