// The JPEG encoder on its own: what the file says about itself, and the
// colours that come back when it is decoded.
#include "export/jpegencoder.h"

#include <gtest/gtest.h>

#include <turbojpeg.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

struct Decoded {
    int width = 0;
    int height = 0;
    int subsampling = -1;
    std::vector<unsigned char> rgb; // three bytes a pixel
};

Decoded Decode(const JpegBytes& bytes)
{
    Decoded result;
    tjhandle decoder = tjInitDecompress();
    int colourspace = 0;
    if (tjDecompressHeader3(decoder, bytes.data.get(), bytes.size, &result.width, &result.height, &result.subsampling,
                            &colourspace) == 0) {
        result.rgb.resize(static_cast<std::size_t>(result.width) * static_cast<std::size_t>(result.height) * 3);
        if (tjDecompress2(decoder, bytes.data.get(), bytes.size, result.rgb.data(), result.width, 0, result.height,
                          TJPF_RGB, TJFLAG_ACCURATEDCT) != 0)
            result.rgb.clear();
    }
    tjDestroy(decoder);
    return result;
}

// Four quarters in red, green, blue and white, one 0xXXRRGGBB word a pixel,
// with `padding` words after every row that hold a colour of their own.
std::vector<std::uint32_t> Quarters(int side, int padding)
{
    const std::uint32_t colours[4] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFFFFu};
    std::vector<std::uint32_t> pixels(static_cast<std::size_t>((side + padding) * side), 0xFF808000u);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            pixels[static_cast<std::size_t>(y * (side + padding) + x)] =
                colours[(y >= side / 2 ? 2 : 0) + (x >= side / 2 ? 1 : 0)];
    return pixels;
}

void ExpectColourNear(const Decoded& image, int x, int y, int red, int green, int blue)
{
    const std::size_t at = (static_cast<std::size_t>(y) * static_cast<std::size_t>(image.width) + x) * 3;
    ASSERT_LT(at + 2, image.rgb.size());
    EXPECT_LE(std::abs(image.rgb[at] - red), 4) << x << ", " << y;
    EXPECT_LE(std::abs(image.rgb[at + 1] - green), 4) << x << ", " << y;
    EXPECT_LE(std::abs(image.rgb[at + 2] - blue), 4) << x << ", " << y;
}

} // namespace

// Each channel lands where it belongs, rows are taken `stride` bytes apart
// with nothing of the padding showing, and the colour keeps full resolution.
TEST(EncodeJpeg, KeepsEveryColourInPlaceAtFullResolution)
{
    const int side = 64, padding = 5;
    const std::vector<std::uint32_t> pixels = Quarters(side, padding);
    JpegBytes bytes;
    ASSERT_EQ(EncodeJpeg(pixels.data(), side, side, (side + padding) * 4, JpegSettings{}, bytes), 1);
    const Decoded image = Decode(bytes);
    ASSERT_EQ(image.width, side);
    ASSERT_EQ(image.height, side);
    EXPECT_EQ(image.subsampling, TJSAMP_444);
    ExpectColourNear(image, 10, 10, 255, 0, 0);
    ExpectColourNear(image, 50, 10, 0, 255, 0);
    ExpectColourNear(image, 10, 50, 0, 0, 255);
    ExpectColourNear(image, 50, 50, 255, 255, 255);
    // Full-resolution chroma keeps a colour edge sharp to the pixel.
    ExpectColourNear(image, 31, 10, 255, 0, 0);
    ExpectColourNear(image, 32, 10, 0, 255, 0);
}

// The JFIF header carries the resolution in dots per inch when one is given,
// the frame is baseline unless progressive is asked for.
TEST(EncodeJpeg, HeaderCarriesResolutionAndScanKind)
{
    const std::vector<std::uint32_t> pixels = Quarters(16, 0);
    JpegSettings settings;
    settings.dotsPerInchX = 96;
    settings.dotsPerInchY = 300;
    JpegBytes bytes;
    ASSERT_EQ(EncodeJpeg(pixels.data(), 16, 16, 64, settings, bytes), 1);
    const unsigned char* data = bytes.data.get();
    ASSERT_GT(bytes.size, 20u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(data + 6), 4), "JFIF");
    EXPECT_EQ(data[13], 1); // dots per inch
    EXPECT_EQ(data[14] << 8 | data[15], 96);
    EXPECT_EQ(data[16] << 8 | data[17], 300);
    auto hasMarker = [&](unsigned char marker) {
        for (std::size_t i = 0; i + 1 < bytes.size; ++i)
            if (data[i] == 0xFF && data[i + 1] == marker)
                return true;
        return false;
    };
    EXPECT_TRUE(hasMarker(0xC0));
    EXPECT_FALSE(hasMarker(0xC2));

    settings = JpegSettings{};
    settings.progressive = true;
    ASSERT_EQ(EncodeJpeg(pixels.data(), 16, 16, 64, settings, bytes), 1);
    data = bytes.data.get();
    EXPECT_EQ(data[13], 0); // no resolution given: aspect ratio only
    EXPECT_TRUE(hasMarker(0xC2));
    EXPECT_FALSE(hasMarker(0xC0));
    EXPECT_EQ(Decode(bytes).width, 16);
}

// Sizes that JPEG cannot hold and rows that overlap are refused, leaving
// no bytes; qualities outside 1 to 100 are taken as the nearest.
TEST(EncodeJpeg, RefusesWhatItCannotWriteAndClampsQuality)
{
    const std::vector<std::uint32_t> row(65501, 0xFF102030u);
    JpegBytes bytes;
    EXPECT_EQ(EncodeJpeg(row.data(), 65501, 1, 65501 * 4, JpegSettings{}, bytes), 0);
    EXPECT_FALSE(bytes.data);
    EXPECT_EQ(bytes.size, 0u);
    EXPECT_EQ(EncodeJpeg(row.data(), 65500, 1, 65500 * 4, JpegSettings{}, bytes), 1);
    EXPECT_EQ(Decode(bytes).width, 65500);
    EXPECT_EQ(EncodeJpeg(row.data(), 0, 1, 4, JpegSettings{}, bytes), 0);
    EXPECT_EQ(EncodeJpeg(row.data(), 1, 0, 4, JpegSettings{}, bytes), 0);
    EXPECT_EQ(EncodeJpeg(row.data(), 10, 2, 36, JpegSettings{}, bytes), 0);
    EXPECT_EQ(EncodeJpeg(nullptr, 10, 2, 40, JpegSettings{}, bytes), 0);

    for (const int quality : {-5, 0, 101, 1000}) {
        JpegSettings settings;
        settings.quality = quality;
        EXPECT_EQ(EncodeJpeg(row.data(), 100, 10, 400, settings, bytes), 1) << quality;
    }
}

TEST(EncodeJpeg, DotsPerInchRoundsToTheNearest)
{
    EXPECT_EQ(DotsPerInchOf(3780), 96);
    EXPECT_EQ(DotsPerInchOf(2835), 72);
    EXPECT_EQ(DotsPerInchOf(11811), 300);
    EXPECT_EQ(DotsPerInchOf(0), 0);
    EXPECT_EQ(DotsPerInchOf(-1), 0);
}
