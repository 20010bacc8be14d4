// The Windows image layer: what its files and the clipboard hold, read back
// with an independent decoder.
#include "render/painter.h"
#include "tests/support/testsupport.h"
#include "tests/win32/decode.h"
#include "win32/imagecodecs.h"
#include "win32/win32imagelayer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

// The standard tables of the JPEG standard (Annex K), in natural order.
constexpr int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                  24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                  99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
// The natural position of each coefficient in the file's (zig-zag) order.
constexpr int kZigZag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,  12, 19, 26, 33, 40, 48,
                             41, 34, 27, 20, 13, 6,  7,  14, 21, 28, 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23,
                             30, 37, 44, 51, 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// A table scaled to a quality as the standard's reference encoder does it.
std::string ScaledTable(const int (&table)[64], int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - 2 * quality;
    std::string bytes;
    for (const int natural : kZigZag) {
        const int value = (table[natural] * scale + 50) / 100;
        bytes += static_cast<char>(value < 1 ? 1 : value > 255 ? 255 : value);
    }
    return bytes;
}

std::uint32_t Be32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
    return value;
}

std::uint32_t Le32(const std::string& bytes, std::size_t at)
{
    std::uint32_t value = 0;
    for (std::size_t i = 4; i > 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[at + i - 1]);
    return value;
}

std::vector<std::uint32_t> PixelsOf(const Canvas& canvas)
{
    std::vector<std::uint32_t> pixels;
    for (std::int32_t y = 0; y < canvas.height; ++y)
        pixels.insert(pixels.end(), canvas.Row(y), canvas.Row(y) + canvas.width);
    return pixels;
}

class Win32ImageLayerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(StartImageExport(), ImageError::None);
        DecagonRecord record = RecordWithHeight(254.884);
        FigureOptions shown = FigureOptionsOf(record);
        shown.showExternalCircle = 1;
        shown.showInternalCircle = 1;
        shown.diagonalChoice = 1;
        rendered = RenderFigureBitmap(&record, shown);
        ASSERT_NE(rendered, nullptr);
        bitmap = *rendered;
    }
    void TearDown() override { StopImageLayer(); }

    // Saves the figure under name in the format of that name's extension, as
    // the image export does, and returns the file's bytes.
    std::string Save(const std::string& name, const std::string& format)
    {
        ImageSaveParams params;
        layer.GetDefaultSaveParams(params);
        params.replaceExisting = true;
        params.formatIndex = layer.FormatIndexByName(format.c_str());
        params.quality = 95;
        params.baseline = true;
        params.atomicWrite = true;
        EXPECT_EQ(layer.SaveBitmap(folder.file(name), bitmap, params), ImageError::None) << name;
        return ReadFileBytes(folder.file(name));
    }

    TempFolder folder;
    Win32ImageLayer layer;
    std::unique_ptr<FigureBitmap> rendered;
    FigureBitmap bitmap;
};

} // namespace

TEST_F(Win32ImageLayerTest, KnowsItsFormatsByExactName)
{
    EXPECT_EQ(layer.FormatIndexByName("jpeg"), 1);
    EXPECT_EQ(layer.FormatIndexByName("bmp"), 2);
    for (const char* name : {"png", "svg", "tif", "tiff", "gif", "jpg", "jfif"})
        EXPECT_GT(layer.FormatIndexByName(name), 2) << name;
    for (const char* name : {"", "JPEG", "nosuch", "jpeg "})
        EXPECT_EQ(layer.FormatIndexByName(name), 0) << name;
    EXPECT_EQ(layer.FormatIndexByName(nullptr), 0);
}

TEST_F(Win32ImageLayerTest, JpegIsBaselineAtQuality95WithFullColourAnd96Dpi)
{
    const std::string bytes = Save("figure.jpg", "jpeg");
    ASSERT_GT(bytes.size(), 20u);
    EXPECT_EQ(bytes.substr(0, 2), "\xFF\xD8");
    const auto segments = JpegSegments(bytes);
    bool jfif = false, frame = false;
    std::string tables;
    for (const JpegSegment& segment : segments) {
        if (segment.marker == 0xE0) {
            jfif = true;
            ASSERT_GE(segment.body.size(), 12u);
            EXPECT_EQ(segment.body.substr(0, 5), std::string("JFIF\0", 5));
            EXPECT_EQ(segment.body.substr(7, 5), std::string("\x01\x00\x60\x00\x60", 5)) << "96 dots per inch";
        }
        EXPECT_NE(segment.marker, 0xC2) << "progressive";
        if (segment.marker == 0xC0) {
            frame = true;
            ASSERT_EQ(segment.body.size(), 15u);
            EXPECT_EQ(segment.body[5], 3); // colour components
            for (int component = 0; component < 3; ++component)
                EXPECT_EQ(segment.body[7 + 3 * component], 0x11) << "component " << component << " subsampled";
        }
        if (segment.marker == 0xDB)
            tables += segment.body;
    }
    EXPECT_TRUE(jfif);
    EXPECT_TRUE(frame) << "no baseline frame";
    EXPECT_EQ(tables, std::string(1, '\0') + ScaledTable(kLuminance, 95) + '\1' + ScaledTable(kChrominance, 95));

    DecodedImage decoded;
    ASSERT_TRUE(DecodeImage(bytes, decoded));
    ASSERT_EQ(decoded.width, rendered->canvas.width);
    ASSERT_EQ(decoded.height, rendered->canvas.height);
    // One-pixel coloured lines keep their colour only without subsampling.
    const Canvas& canvas = rendered->canvas;
    EXPECT_GT(Psnr(decoded.pixels.data(), static_cast<std::size_t>(decoded.width), canvas.Row(0),
                   static_cast<std::size_t>(canvas.stride) / sizeof(Pixel), canvas.width, canvas.height),
              36.0);
}

TEST_F(Win32ImageLayerTest, EveryJpegNameGetsTheSameEncoder)
{
    const std::string jpeg = Save("a.jpg", "jpeg");
    EXPECT_EQ(Save("b.jfif", "jfif"), jpeg);
    EXPECT_EQ(Save("c.jpg", "jpg"), jpeg);
}

TEST_F(Win32ImageLayerTest, BmpPngAndGifHoldTheExactPixelsAt96Dpi)
{
    const std::vector<std::uint32_t> expected = PixelsOf(rendered->canvas);
    for (const char* format : {"bmp", "png", "gif"}) {
        const std::string bytes = Save(std::string("figure.") + format, format);
        DecodedImage decoded;
        ASSERT_TRUE(DecodeImage(bytes, decoded)) << format;
        EXPECT_EQ(decoded.width, rendered->canvas.width) << format;
        EXPECT_EQ(decoded.height, rendered->canvas.height) << format;
        EXPECT_TRUE(decoded.pixels == expected) << format;
    }
    const std::string bmp = ReadFileBytes(folder.file("figure.bmp"));
    EXPECT_EQ(Le32(bmp, 2), bmp.size());
    EXPECT_EQ(Le32(bmp, 38), 3780u);
    EXPECT_EQ(Le32(bmp, 42), 3780u);
    const std::string png = ReadFileBytes(folder.file("figure.png"));
    const auto pHYs = png.find("pHYs");
    ASSERT_NE(pHYs, std::string::npos);
    EXPECT_EQ(Be32(png, pHYs + 4), 3780u);
    EXPECT_EQ(Be32(png, pHYs + 8), 3780u);
    EXPECT_EQ(png[pHYs + 12], 1);       // per metre
    EXPECT_LE(png.size(), 12u * 1024u); // compressed
}

TEST_F(Win32ImageLayerTest, OtherFormatsOfTheSystemAndTheVectorDrawing)
{
    const std::string tiff = Save("figure.tif", "tif");
    ASSERT_GE(tiff.size(), 4u);
    EXPECT_TRUE(tiff.substr(0, 4) == std::string("II*\0", 4) || tiff.substr(0, 4) == std::string("MM\0*", 4));
    EXPECT_LE(tiff.size(), 12u * 1024u); // compressed
    const std::string svg = Save("figure.svg", "svg");
    EXPECT_NE(svg.find("<svg"), std::string::npos);
    EXPECT_NE(svg.find("viewBox=\"0 0 254.884 254.884\""), std::string::npos);
}

TEST_F(Win32ImageLayerTest, AFailedSaveLeavesTheOldFileAndNoTemporary)
{
    const std::string path = folder.file("figure.bmp");
    WriteFileBytes(path, "mine");
    ImageSaveParams params;
    layer.GetDefaultSaveParams(params);
    params.atomicWrite = 1;
    params.formatIndex = layer.FormatIndexByName("bmp");
    EXPECT_EQ(layer.SaveBitmap(path, bitmap, params), ImageError::FileExists) << "replacing was not asked for";
    params.replaceExisting = true;
    params.formatIndex = 0;
    EXPECT_EQ(layer.SaveBitmap(path, bitmap, params), ImageError::UnknownFormat);
    params.formatIndex = 999;
    EXPECT_EQ(layer.SaveBitmap(path, bitmap, params), ImageError::UnknownFormat);
    params.formatIndex = layer.FormatIndexByName("bmp");
    EXPECT_EQ(layer.SaveBitmap(path, FigureBitmap{}, params), ImageError::NoBitmap);
    EXPECT_EQ(layer.SaveBitmap(folder.file("no/such/folder.bmp"), bitmap, params), ImageError::CannotWrite);
    EXPECT_EQ(ReadFileBytes(path), "mine");
    EXPECT_EQ(FilesIn(folder.path()), 1);
    // Replacing without a temporary writes the file in place.
    params.atomicWrite = 0;
    EXPECT_EQ(layer.SaveBitmap(path, bitmap, params), ImageError::None);
    EXPECT_EQ(ReadFileBytes(path).substr(0, 2), "BM");
}

TEST(ImageCodecs, RefuseSizesTheirFormatsCannotState)
{
    // Nothing is read from the pixels before the size is checked, so one
    // pixel stands in for rows that do not exist.
    const std::uint32_t pixel = 0xFF123456u;
    StringSink sink;
    EXPECT_FALSE(WriteBmp({40000, 40000, 0, &pixel}, sink)) << "a BMP states its size in 32 bits";
    EXPECT_FALSE(WriteDib({40000, 40000, 0, &pixel}, sink));
    EXPECT_FALSE(WriteJpeg({65536, 1, 0, &pixel}, 95, sink)) << "a JPEG side has 16 bits";
    EXPECT_FALSE(WriteJpeg({1, 65536, 0, &pixel}, 95, sink));
    EXPECT_FALSE(WriteJpeg({0, 0, 0, &pixel}, 95, sink));
    EXPECT_FALSE(WriteBmp({1, 1, 0, nullptr}, sink));
    EXPECT_TRUE(sink.bytes.empty());
    EXPECT_TRUE(JpegCanHold(26754, 26754));
    EXPECT_FALSE(JpegCanHold(26755, 26755)) << "beyond what the encoder can address";
    EXPECT_EQ(DibSize({24000, 60000, 0, &pixel}), 0u);
    EXPECT_EQ(DibSize({23749, 60000, 0, &pixel}), 40u + 71248u * 60000) << "the largest that fits";
    // A row whose width is not a multiple of 4 bytes is padded.
    const std::uint32_t row[3] = {pixel, pixel, pixel};
    EXPECT_EQ(DibSize({3, 2, 0, row}), 40u + 2 * 12);
    EXPECT_TRUE(WriteBmp({3, 2, 0, row}, sink));
    EXPECT_EQ(sink.bytes.size(), 14u + 40 + 2 * 12);
    EXPECT_EQ(sink.bytes.substr(54, 12), std::string("\x56\x34\x12\x56\x34\x12\x56\x34\x12\0\0\0", 12));
}

TEST_F(Win32ImageLayerTest, ClipboardHoldsTheBitmapAndAPng)
{
    ASSERT_EQ(layer.ExportToClipboard(bitmap), ImageError::None);
    ASSERT_TRUE(OpenClipboard(nullptr));
    const HANDLE dibHandle = GetClipboardData(CF_DIB);
    ASSERT_NE(dibHandle, nullptr);
    const auto* dib = static_cast<const char*>(GlobalLock(dibHandle));
    ASSERT_NE(dib, nullptr);
    const std::string dibBytes(dib, GlobalSize(dibHandle));
    GlobalUnlock(dibHandle);
    const HANDLE pngHandle = GetClipboardData(RegisterClipboardFormatA("PNG"));
    std::string pngBytes;
    if (pngHandle != nullptr) {
        const auto* png = static_cast<const char*>(GlobalLock(pngHandle));
        pngBytes.assign(png, GlobalSize(pngHandle));
        GlobalUnlock(pngHandle);
    }
    CloseClipboard();

    // The bitmap with a file header in front is a BMP file.
    std::string bmp = "BM" + std::string(12, '\0') + dibBytes;
    bmp[10] = 54;
    DecodedImage decoded;
    ASSERT_TRUE(DecodeImage(bmp, decoded));
    EXPECT_EQ(decoded.width, rendered->canvas.width);
    EXPECT_TRUE(decoded.pixels == PixelsOf(rendered->canvas));
    ASSERT_FALSE(pngBytes.empty()) << "no PNG on the clipboard";
    ASSERT_TRUE(DecodeImage(pngBytes, decoded));
    EXPECT_TRUE(decoded.pixels == PixelsOf(rendered->canvas));
    EXPECT_EQ(layer.ExportToClipboard(FigureBitmap{}), ImageError::NoBitmap);
}
