// The baseline JPEG encoder against stb_image_write, whose writer it
// follows: the same bytes (the density aside) for pictures of one colour,
// of many, of sides that are not whole blocks, for the figure itself with
// the colours of its elements, at qualities on both sides of the switch to
// half-resolution colour.
#include "export/baselinejpeg.h"
#include "render/figure.h"
#include "render/painter.h"
#include "tests/support/testsupport.h"

#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STB_IMAGE_WRITE_STATIC
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

struct Picture {
    const char* name;
    std::int32_t width, height;
    std::vector<std::uint32_t> words; // rows one after the other, 0xFFRRGGBB
};

Picture Made(const char* name, std::int32_t width, std::int32_t height, std::uint32_t (*colour)(int x, int y))
{
    Picture picture{name, width, height, {}};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.words.push_back(0xFF000000u | colour(x, y));
    return picture;
}

// The figure with both circles and diagonals, each element in its own colour.
Picture Figure(double height)
{
    DecagonRecord record = RecordWithHeight(height);
    FigureOptions options = FigureOptionsOf(record);
    options.showExternalCircle = options.showInternalCircle = 1;
    options.diagonalChoice = DiagonalChoices[1].code; // all
    options.backgroundColor = 7;
    options.externalCircleColor = 12;
    options.internalCircleColor = 30;
    for (int vertex = 0; vertex < kVertexCount; ++vertex)
        options.diagonalColors[vertex] = 36 + vertex;
    const auto figure = RenderFigureBitmap(&record, options);
    const Canvas& canvas = figure->canvas;
    Picture picture{"figure", canvas.width, canvas.height, {}};
    for (int y = 0; y < canvas.height; ++y)
        picture.words.insert(picture.words.end(), canvas.Row(y), canvas.Row(y) + canvas.width);
    return picture;
}

// A sink that takes nothing, counting what it was offered.
class FailingSink : public ByteSink {
public:
    bool Write(const void*, std::size_t count) override
    {
        offered += count;
        return false;
    }
    std::size_t offered = 0;
};

std::string StbJpeg(const Picture& picture, int quality)
{
    std::vector<unsigned char> rgb;
    for (const std::uint32_t word : picture.words)
        rgb.insert(rgb.end(), {static_cast<unsigned char>(word >> 16), static_cast<unsigned char>(word >> 8),
                               static_cast<unsigned char>(word)});
    std::string bytes;
    stbi_write_jpg_to_func([](void* context, void* data,
                              int size) { static_cast<std::string*>(context)->append(static_cast<char*>(data), size); },
                           &bytes, picture.width, picture.height, 3, rgb.data(), quality);
    bytes.replace(13, 5, std::string("\x01\x00\x60\x00\x60", 5)); // 96 dots per inch
    return bytes;
}

TEST(BaselineJpeg, WritesStbsBytesForEveryKindOfPicture)
{
    std::vector<Picture> pictures = {
        Made("one pixel", 1, 1, [](int, int) { return 0x3366CCu; }),
        Made("noise, odd sides", 37, 23,
             [](int x, int y) { return (x * 2654435761u ^ y * 40503u) * 2246822519u >> 8; }),
        Made("stripes", 64, 48,
             [](int, int y) { return y / 8 % 3 == 0   ? 0xFFFFFFu
                                     : y / 8 % 3 == 1 ? 0x0000FFu
                                                      : 0u; }),
        Made("one colour, odd sides", 19, 35, [](int, int) { return 0xEFEFEFu; }),
        Made("gradient", 100, 17, [](int x, int y) { return static_cast<std::uint32_t>(x * 0x020100 + y * 15); }),
    };
    pictures.push_back(Figure(301.5));
    for (const Picture& picture : pictures)
        for (const int quality : {1, 10, 50, 90, 91, 95, 100}) {
            StringSink sink;
            ASSERT_TRUE(WriteBaselineJpeg({picture.width, picture.height, picture.width * 4, picture.words.data()},
                                          quality, sink));
            EXPECT_EQ(sink.bytes, StbJpeg(picture, quality)) << picture.name << " at quality " << quality;
        }
}

TEST(BaselineJpeg, FailsWithTheSinkAndRefusesNoPixels)
{
    const Picture picture = Made("noise", 640, 480, [](int x, int y) { return x * 7919u ^ y * 104729u; });
    FailingSink failing;
    EXPECT_FALSE(
        WriteBaselineJpeg({picture.width, picture.height, picture.width * 4, picture.words.data()}, 95, failing));
    EXPECT_EQ(failing.offered, 1u << 16) << "nothing more is written after the sink has failed";
    StringSink sink;
    EXPECT_FALSE(WriteBaselineJpeg({0, 1, 4, picture.words.data()}, 95, sink));
    EXPECT_FALSE(WriteBaselineJpeg({65536, 1, 4, picture.words.data()}, 95, sink));
    EXPECT_TRUE(sink.bytes.empty());
}

} // namespace
