#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// TIFF files made with zlib (Deflate compression, which every TIFF reader of
// note decodes) from a raster of 32-bit pixels. The same pixels always give
// the same bytes. Like the PNG encoder, an image of at most 256 colours is
// written with a palette (4 or 8 bits a pixel, the depths every reader
// takes), any other as 8-bit RGB with horizontal differencing. Either decodes
// to exactly the pixels. Windows' imaging component is asked for LZW but
// some implementations of it (wine's) write TIFF uncompressed whatever the
// option says; this writer does not depend on it.

struct TiffSettings {
    int compressionLevel = 6; // zlib's 0 to 9; outside it the nearest
    int dotsPerInch = 0;      // the resolution, in dots per inch; 0 or less leaves it out
};

// Encodes width x height pixels, each a 32-bit word 0xXXRRGGBB in the
// machine's byte order (the top byte is ignored), rows strideBytes apart, top
// row first. Returns 1 with the whole file in bytes; 0 with bytes empty when
// the size cannot be written (a side of 0 or less, rows that overlap, no
// pixels, a file beyond the 4 GiB that TIFF's offsets reach) or zlib fails.
int EncodeTiff(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
               const TiffSettings& settings, std::string& bytes);
