#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

// JPEG files made with libjpeg-turbo straight from a raster of 32-bit pixels,
// without copying or converting it first. The figure is one-pixel lines in
// saturated colours, so the colour is kept at full resolution (no chroma
// subsampling): halving it would smear and dim every coloured line.

struct JpegSettings {
    int quality = 95;         // 1 to 100; the standard tables scaled to it
    bool progressive = false; // false writes a baseline file
    int dotsPerInchX = 0;     // the resolution in the JFIF header; 0 leaves it unset
    int dotsPerInchY = 0;
};

struct JpegBytesRelease {
    void operator()(unsigned char* bytes) const;
};

// A whole JPEG file in memory.
struct JpegBytes {
    std::unique_ptr<unsigned char, JpegBytesRelease> data;
    std::size_t size = 0;
};

// Encodes width x height pixels, each a 32-bit word 0xXXRRGGBB in the
// machine's byte order (the top byte is ignored), rows strideBytes apart, top
// row first. Returns 1 with the file's bytes; 0 with none when the size cannot
// be written as JPEG (a side of 0, or beyond 65500 pixels) or the encoder
// fails.
int EncodeJpeg(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
               const JpegSettings& settings, JpegBytes& bytes);

// Resolution in dots per inch for a resolution in dots per metre, rounded as
// image files usually store it.
int DotsPerInchOf(int dotsPerMeter);
