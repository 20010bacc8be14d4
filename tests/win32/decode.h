#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Image files read back with an independent decoder (stb_image), for tests.
struct DecodedImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xFFRRGGBB, row 0 at the top
};

// False when the bytes are no image stb_image can read (JPEG, PNG, BMP, GIF).
bool DecodeImage(const std::string& bytes, DecodedImage& image);

// The same with the system's imaging component (WIC), for TIFF and the other
// formats stb_image does not read.
bool DecodeWithWic(const std::string& bytes, DecodedImage& image);

// The segments of a JPEG file up to its scan: marker (0xC0 for a baseline
// frame, 0xDB for quantisation tables, ...) and the bytes after the length.
struct JpegSegment {
    int marker = 0;
    std::string body;
};
std::vector<JpegSegment> JpegSegments(const std::string& bytes);
