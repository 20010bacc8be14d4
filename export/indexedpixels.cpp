#include "export/indexedpixels.h"

#include <algorithm>

bool Palette::Add(std::uint32_t colour)
{
    const std::size_t slot = Slot(colour);
    if (used_[slot])
        return true;
    if (colours_.size() == kMostColours)
        return false;
    used_[slot] = true;
    keys_[slot] = colour;
    colours_.push_back(colour);
    return true;
}

void Palette::Number()
{
    std::sort(colours_.begin(), colours_.end());
    for (std::size_t i = 0; i < colours_.size(); ++i)
        indices_[Slot(colours_[i])] = static_cast<unsigned char>(i);
}

std::size_t Palette::Slot(std::uint32_t colour) const
{
    std::size_t slot = (colour * 2654435761u) >> 22;
    while (used_[slot] && keys_[slot] != colour)
        slot = (slot + 1) % kSlots;
    return slot;
}

// Runs of one colour are looked up once.
bool CollectColours(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
                    Palette& palette)
{
    std::uint32_t last = ~std::uint32_t{0};
    for (std::int32_t y = 0; y < height; ++y) {
        const std::uint32_t* row = RowAt(pixels, strideBytes, y);
        for (std::int32_t x = 0; x < width; ++x) {
            const std::uint32_t colour = row[x] & 0xFFFFFFu;
            if (colour != last && !palette.Add(colour))
                return false;
            last = colour;
        }
    }
    palette.Number();
    return true;
}

void IndexRow(const std::uint32_t* row, std::int32_t width, const Palette& palette, int depth, unsigned char* out)
{
    const int perByte = 8 / depth;
    std::uint32_t last = ~std::uint32_t{0};
    unsigned index = 0, packed = 0;
    int filled = 0;
    for (std::int32_t x = 0; x < width; ++x) {
        const std::uint32_t colour = row[x] & 0xFFFFFFu;
        if (colour != last) {
            index = palette.IndexOf(colour);
            last = colour;
        }
        packed = packed << depth | index;
        if (++filled == perByte) {
            *out++ = static_cast<unsigned char>(packed);
            packed = 0;
            filled = 0;
        }
    }
    if (filled > 0)
        *out = static_cast<unsigned char>(packed << (8 - filled * depth));
}

void RgbRow(const std::uint32_t* row, std::int32_t width, unsigned char* out)
{
    for (std::int32_t x = 0; x < width; ++x, out += 3) {
        out[0] = static_cast<unsigned char>(row[x] >> 16);
        out[1] = static_cast<unsigned char>(row[x] >> 8);
        out[2] = static_cast<unsigned char>(row[x]);
    }
}
