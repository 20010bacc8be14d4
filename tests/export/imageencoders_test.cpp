// The PNG and TIFF encoders on their own: files of every kind they make
// (palette at each depth, true colour, odd widths, padded rows, the figure
// itself) read back by an independent decoder, Pillow on Linux, stb_image
// (PNG) and the system's imaging component (TIFF) on Windows, give the exact
// pixels; the header says what the file holds and the resolution; a sink that
// fails makes the encoding fail.
#include "export/pngencoder.h"
#include "export/tiffencoder.h"
#include "render/painter.h"
#include "tests/support/testsupport.h"

#if defined(_WIN32)
#include "tests/win32/decode.h"
#else
#include "tests/support/pillow.h"
#endif

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace {

struct Pixels {
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0; // bytes
    std::vector<std::uint32_t> words;

    const std::uint32_t* Row(std::int32_t y) const { return words.data() + y * (stride / 4); }
};

// width x height pixels cycling through `colours` distinct colours, with
// `padding` words after every row in a colour of none of them. The top byte
// varies, as the encoder must ignore it.
Pixels Pattern(std::int32_t width, std::int32_t height, int colours, int padding)
{
    Pixels pixels{width, height, (width + padding) * 4, {}};
    pixels.words.assign(static_cast<std::size_t>((width + padding) * height), 0xFF123456u);
    for (std::int32_t y = 0; y < height; ++y)
        for (std::int32_t x = 0; x < width; ++x) {
            const int i = (y * width + x) * 7 % colours;
            const std::uint32_t top = (x + y) % 2 == 0 ? 0xFF000000u : 0x01000000u;
            pixels.words[static_cast<std::size_t>(y * (width + padding) + x)] =
                top | static_cast<std::uint32_t>(i & 0xFF) << 16 | static_cast<std::uint32_t>((i >> 8) * 50 + 7) << 8 |
                static_cast<std::uint32_t>(255 - (i & 0xFF));
        }
    return pixels;
}

// True colour in four bands of 20 rows, each predicted exactly by one of the
// PNG filters, so that every filter is chosen for some rows: rows of one
// random colour (Sub), a gradient (Paeth), each pixel the mean of its left
// and upper neighbours (Average), a random row repeated (Up).
Pixels FilterBands(std::int32_t width)
{
    Pixels pixels{width, 80, width * 4, {}};
    pixels.words.resize(static_cast<std::size_t>(width) * 80);
    std::uint32_t seed = 12345;
    auto random = [&seed] { return (seed = seed * 1103515245u + 12345u) >> 16 & 0xFF; };
    std::vector<int> up(static_cast<std::size_t>(width) * 3, 0), row(up.size());
    for (std::int32_t y = 0; y < 80; ++y) {
        const int band = y / 20;
        const int single[3] = {static_cast<int>(random()), static_cast<int>(random()), static_cast<int>(random())};
        for (std::int32_t x = 0; x < width; ++x)
            for (int c = 0; c < 3; ++c) {
                const std::size_t at = static_cast<std::size_t>(x) * 3 + static_cast<std::size_t>(c);
                if (band == 0)
                    row[at] = single[c];
                else if (band == 1)
                    row[at] = x * (c + 1) + y * (3 - c);
                else if (band == 2)
                    row[at] = x == 0 ? static_cast<int>(random()) : (row[at - 3] + up[at]) / 2;
                else
                    row[at] = y == 60 ? static_cast<int>(random()) : up[at];
            }
        for (std::int32_t x = 0; x < width; ++x)
            pixels.words[static_cast<std::size_t>(y * width + x)] =
                0xFF000000u | static_cast<std::uint32_t>(row[3 * x]) << 16 |
                static_cast<std::uint32_t>(row[3 * x + 1]) << 8 | static_cast<std::uint32_t>(row[3 * x + 2]);
        up.swap(row);
    }
    return pixels;
}

Pixels DefaultFigure()
{
    DecagonRecord record = RecordWithHeight(254.884);
    const auto figure = RenderFigureBitmap(&record, FigureOptionsOf(record));
    const Canvas& canvas = figure->canvas;
    Pixels pixels{canvas.width, canvas.height, canvas.stride, {}};
    pixels.words.assign(canvas.Row(0), canvas.Row(0) + canvas.height * (canvas.stride / 4));
    return pixels;
}

// An unsigned number of `size` bytes at `at`: PNG's are big-endian, the
// TIFF files here little-endian.
std::uint32_t Unsigned(const std::string& bytes, std::size_t at, int size, bool littleEndian)
{
    std::uint32_t value = 0;
    for (int i = 0; i < size; ++i)
        value = value << 8 |
                static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(littleEndian ? size - 1 - i : i)]);
    return value;
}

std::uint32_t LittleEndian(const std::string& bytes, std::size_t at, int size)
{
    return Unsigned(bytes, at, size, true);
}

struct Chunk {
    std::string type;
    std::string data;
};

std::vector<Chunk> Chunks(const std::string& png)
{
    std::vector<Chunk> chunks;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        const std::size_t length = Unsigned(png, at, 4, false);
        if (at + 12 + length > png.size())
            break;
        chunks.push_back({png.substr(at + 4, 4), png.substr(at + 8, length)});
        at += 12 + length;
    }
    return chunks;
}

// The file read back by a decoder that is not ours holds exactly the pixels
// (the top byte aside). format: "PNG" or "TIFF".
void ExpectDecodesTo(const std::string& file, const std::string& format, const Pixels& in)
{
#if defined(_WIN32)
    DecodedImage image;
    ASSERT_TRUE(format == "PNG" ? DecodeImage(file, image) : DecodeWithWic(file, image));
#else
    TempFolder folder;
    WriteFileBytes(folder.file("image"), file);
    PillowImage image;
    ASSERT_TRUE(DecodeWithPillow(folder.file("image"), image));
    EXPECT_EQ(image.format, format);
#endif
    ASSERT_EQ(image.width, in.width);
    ASSERT_EQ(image.height, in.height);
    std::size_t wrong = 0;
    for (std::int32_t y = 0; y < in.height; ++y)
        for (std::int32_t x = 0; x < in.width; ++x)
            wrong += image.pixels[static_cast<std::size_t>(y * in.width + x)] != (in.Row(y)[x] | 0xFF000000u);
    EXPECT_EQ(wrong, 0u);
}

// The first value of each field of a little-endian TIFF's first directory
// (the numerator of a fraction).
std::map<int, std::uint32_t> TiffFields(const std::string& tiff)
{
    std::map<int, std::uint32_t> fields;
    if (tiff.size() < 8 || tiff.compare(0, 4, std::string("II*\0", 4)) != 0)
        return fields;
    const std::size_t directory = LittleEndian(tiff, 4, 4);
    const std::size_t count = directory + 2 <= tiff.size() ? LittleEndian(tiff, directory, 2) : 0;
    for (std::size_t i = 0; i < count && directory + 14 + 12 * i <= tiff.size(); ++i) {
        const std::size_t at = directory + 2 + 12 * i;
        const std::uint32_t type = LittleEndian(tiff, at + 2, 2), number = LittleEndian(tiff, at + 4, 4);
        std::uint32_t value = LittleEndian(tiff, at + 8, 4);
        if (type == 3 && number <= 2)
            value &= 0xFFFF; // SHORT
        else if (type == 3)
            value = LittleEndian(tiff, value, 2);
        else if (type == 5 || (type == 4 && number > 1))
            value = LittleEndian(tiff, value, 4); // RATIONAL, or LONGs aside
        fields[static_cast<int>(LittleEndian(tiff, at, 2))] = value;
    }
    return fields;
}

struct Case {
    const char* name;
    Pixels pixels;
    int colourType; // 3 palette, 2 RGB
    int depth;
    int tiffDepth;
};

} // namespace

TEST(ImageEncoders, EveryKindOfImageDecodesToItsExactPixels)
{
    const Case cases[] = {
        {"default figure", DefaultFigure(), 3, 4, 4},
        {"1x1", Pattern(1, 1, 1, 0), 3, 1, 4},
        {"2 colours, width 9, padded", Pattern(9, 4, 2, 2), 3, 1, 4},
        {"4 colours, width 7, padded", Pattern(7, 3, 4, 1), 3, 2, 4},
        {"16 colours, width 5, padded", Pattern(5, 6, 16, 3), 3, 4, 4},
        {"17 colours, width 3", Pattern(3, 9, 17, 0), 3, 8, 8},
        {"256 colours, width 301", Pattern(301, 5, 256, 0), 3, 8, 8},
        {"300 colours, width 33, padded", Pattern(33, 20, 300, 4), 2, 8, 8},
        {"300 colours, one column", Pattern(1, 300, 300, 0), 2, 8, 8},
        {"every filter, width 61", FilterBands(61), 2, 8, 8},
        {"300 colours, TIFF strips of 1 MB", Pattern(1100, 400, 300, 2), 2, 8, 8},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Pixels& in = c.pixels;
        PngSettings settings;
        settings.dotsPerMeter = kFigureDotsPerMeter;
        std::string png;
        ASSERT_EQ(EncodePng(in.Row(0), in.width, in.height, in.stride, settings, png), 1);

        const std::vector<Chunk> chunks = Chunks(png);
        ASSERT_GE(chunks.size(), 4u);
        EXPECT_EQ(chunks.front().type, "IHDR");
        EXPECT_EQ(chunks.back().type, "IEND");
        EXPECT_EQ(static_cast<int>(chunks.front().data[8]), c.depth);
        EXPECT_EQ(static_cast<int>(chunks.front().data[9]), c.colourType);
        bool resolution = false;
        for (const Chunk& chunk : chunks)
            if (chunk.type == "pHYs") {
                resolution = true;
                EXPECT_EQ(Unsigned(chunk.data, 0, 4, false), 3780u); // 96 dpi
                EXPECT_EQ(Unsigned(chunk.data, 4, 4, false), 3780u);
                EXPECT_EQ(chunk.data[8], 1); // per metre
            }
        EXPECT_TRUE(resolution);
        ExpectDecodesTo(png, "PNG", in);

        TiffSettings tiffSettings;
        tiffSettings.dotsPerInch = 96;
        std::string tiff;
        ASSERT_EQ(EncodeTiff(in.Row(0), in.width, in.height, in.stride, tiffSettings, tiff), 1);
        std::map<int, std::uint32_t> fields = TiffFields(tiff);
        EXPECT_EQ(fields[259], 8u); // Deflate
        EXPECT_EQ(fields[262], c.colourType == 3 ? 3u : 2u);
        EXPECT_EQ(fields[258], static_cast<std::uint32_t>(c.tiffDepth));
        EXPECT_EQ(fields[282], 96u);
        EXPECT_EQ(fields[283], 96u);
        EXPECT_EQ(fields[296], 2u); // inch
        ExpectDecodesTo(tiff, "TIFF", in);
    }
}

// The default figure: PNG at most 12 KB and TIFF near it (Qt's LZW TIFF
// takes 11.7 KB, uncompressed 190 KB), the same bytes every time, and no
// resolution when none is given.
TEST(ImageEncoders, DefaultFigureIsSmallAndRepeatable)
{
    const Pixels figure = DefaultFigure();
    std::string first, second;
    ASSERT_EQ(EncodePng(figure.Row(0), figure.width, figure.height, figure.stride, PngSettings{}, first), 1);
    ASSERT_EQ(EncodePng(figure.Row(0), figure.width, figure.height, figure.stride, PngSettings{}, second), 1);
    EXPECT_LE(first.size(), 12u * 1024u);
    EXPECT_EQ(first, second);
    for (const Chunk& chunk : Chunks(first))
        EXPECT_NE(chunk.type, "pHYs");

    ASSERT_EQ(EncodeTiff(figure.Row(0), figure.width, figure.height, figure.stride, TiffSettings{}, first), 1);
    ASSERT_EQ(EncodeTiff(figure.Row(0), figure.width, figure.height, figure.stride, TiffSettings{}, second), 1);
    EXPECT_LE(first.size(), 12u * 1024u);
    EXPECT_EQ(first, second);
    EXPECT_EQ(TiffFields(first).count(282), 0u);
}

// Sizes and rows it cannot take give no bytes; a sink that stops taking
// bytes anywhere in the file fails the whole encoding.
TEST(ImageEncoders, RefusesWhatItCannotWriteAndReportsAFailedSink)
{
    const Pixels pixels = Pattern(40, 30, 300, 0);
    std::string png = "old";
    EXPECT_EQ(EncodePng(pixels.Row(0), 0, 30, 160, PngSettings{}, png), 0);
    EXPECT_TRUE(png.empty());
    EXPECT_EQ(EncodePng(pixels.Row(0), 40, 0, 160, PngSettings{}, png), 0);
    EXPECT_EQ(EncodePng(pixels.Row(0), 40, 30, 156, PngSettings{}, png), 0);
    EXPECT_EQ(EncodePng(pixels.Row(0), 40, -1, 160, PngSettings{}, png), 0);
    EXPECT_EQ(EncodePng(nullptr, 40, 30, 160, PngSettings{}, png), 0);
    EXPECT_EQ(WritePng(pixels.Row(0), 40, 30, 160, PngSettings{}, PngSink{}), 0);
    std::string tiff = "old";
    EXPECT_EQ(EncodeTiff(pixels.Row(0), 0, 30, 160, TiffSettings{}, tiff), 0);
    EXPECT_TRUE(tiff.empty());
    EXPECT_EQ(EncodeTiff(pixels.Row(0), 40, 0, 160, TiffSettings{}, tiff), 0);
    EXPECT_EQ(EncodeTiff(pixels.Row(0), 40, 30, 156, TiffSettings{}, tiff), 0);
    EXPECT_EQ(EncodeTiff(nullptr, 40, 30, 160, TiffSettings{}, tiff), 0);

    ASSERT_EQ(EncodePng(pixels.Row(0), 40, 30, 160, PngSettings{}, png), 1);
    for (const std::size_t taken : {std::size_t{0}, std::size_t{8}, std::size_t{30}, png.size() / 2, png.size() - 1}) {
        std::size_t received = 0;
        const PngSink sink = [&](const unsigned char*, std::size_t size) {
            received += size;
            return received <= taken;
        };
        EXPECT_EQ(WritePng(pixels.Row(0), 40, 30, 160, PngSettings{}, sink), 0) << taken;
    }
}

// Every level, and levels outside zlib's range, give a file of the exact
// pixels; level 0 stores the rows.
TEST(ImageEncoders, EveryCompressionLevelKeepsThePixels)
{
    for (const int colours : {16, 300}) {
        const Pixels pixels = Pattern(50, 50, colours, 1);
        for (const int level : {-3, 0, 1, 6, 9, 42}) {
            SCOPED_TRACE(std::to_string(colours) + " colours, level " + std::to_string(level));
            PngSettings settings;
            settings.compressionLevel = level;
            std::string png;
            ASSERT_EQ(EncodePng(pixels.Row(0), 50, 50, pixels.stride, settings, png), 1);
            ExpectDecodesTo(png, "PNG", pixels);
            TiffSettings tiffSettings;
            tiffSettings.compressionLevel = level;
            std::string tiff;
            ASSERT_EQ(EncodeTiff(pixels.Row(0), 50, 50, pixels.stride, tiffSettings, tiff), 1);
            ExpectDecodesTo(tiff, "TIFF", pixels);
        }
    }
}
