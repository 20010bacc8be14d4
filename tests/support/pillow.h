#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Image files read back with Pillow, a decoder independent of the ones the
// program writes with, for the Linux tests.
struct PillowImage {
    std::string format; // as Pillow names it: "PNG", "WEBP", ...
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels; // 0xFFRRGGBB, row 0 at the top
};

// False when Pillow cannot be run or cannot read the file.
bool DecodeWithPillow(const std::string& path, PillowImage& image);
