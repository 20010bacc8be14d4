#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

// What the image encoders share: rows of 32-bit pixels (0xXXRRGGBB, the top
// byte ignored) and, for an image of at most 256 colours, the palette that
// numbers them and the rows as packed palette indices.

// Row y of pixels whose rows lie strideBytes apart.
inline const std::uint32_t* RowAt(const std::uint32_t* pixels, std::ptrdiff_t strideBytes, std::int32_t y)
{
    return reinterpret_cast<const std::uint32_t*>(reinterpret_cast<const unsigned char*>(pixels) +
                                                  static_cast<std::ptrdiff_t>(y) * strideBytes);
}

// The colours of an image of at most 256 of them, each with its palette
// index, in a small open-addressed table.
class Palette {
public:
    static constexpr std::size_t kMostColours = 256;

    // Adds a colour (0x00RRGGBB); false once there would be more than 256.
    bool Add(std::uint32_t colour);

    // Orders the colours by value, so that the palette does not depend on
    // where a colour first shows, and numbers them.
    void Number();

    // The index of a colour that was added.
    unsigned char IndexOf(std::uint32_t colour) const { return indices_[Slot(colour)]; }

    // 0x00RRGGBB each, in index order once numbered.
    const std::vector<std::uint32_t>& Colours() const { return colours_; }

private:
    static constexpr std::size_t kSlots = 1024; // at most a quarter full

    // The colour's slot, found or free.
    std::size_t Slot(std::uint32_t colour) const;

    std::vector<std::uint32_t> colours_;
    std::array<std::uint32_t, kSlots> keys_{};
    std::array<bool, kSlots> used_{};
    std::array<unsigned char, kSlots> indices_{};
};

// Fills the palette with every colour of the image and numbers them; false
// when there are more than it holds.
bool CollectColours(const std::uint32_t* pixels, std::int32_t width, std::int32_t height, std::ptrdiff_t strideBytes,
                    Palette& palette);

// One row as palette indices, packed depth (1, 2, 4 or 8) bits a pixel,
// first pixel in the high bits, the last byte padded with zero bits.
void IndexRow(const std::uint32_t* row, std::int32_t width, const Palette& palette, int depth, unsigned char* out);

// One row as red, green, blue bytes.
void RgbRow(const std::uint32_t* row, std::int32_t width, unsigned char* out);
