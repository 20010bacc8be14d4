#include "export/imageexport.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "tests/support/pillow.h"
#include "tests/support/testsupport.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImageReader>

#include <gtest/gtest.h>

#include <map>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <sys/stat.h>
#include <vector>

namespace {

// A canvas whose every pixel differs from its neighbours.
Canvas Figure(int side)
{
    Canvas canvas;
    EXPECT_EQ(MakeCanvas(side, side, canvas), 1);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x)
            canvas.Row(y)[x] =
                0xFF000000u | static_cast<Pixel>(((x * 7) & 0xFF) << 16 | ((y * 3) & 0xFF) << 8 | ((x ^ y) & 0xFF));
    return canvas;
}

QtImageLayer& Layer()
{
    static QtImageLayer layer;
    return layer;
}

ImageSaveParams Params(const char* format) { return ExportSaveParams(Layer(), Layer().FormatIndexByName(format)); }

FigureBitmap Bitmap(const Canvas& canvas)
{
    FigureBitmap bitmap;
    bitmap.canvas = canvas;
    return bitmap;
}

// The quantisation tables of a JPEG file in natural order, and whether its
// frame is baseline.
struct JpegTables {
    std::vector<std::vector<int>> tables;
    bool baseline = false;
};

JpegTables ReadJpegTables(const std::string& bytes)
{
    static const int kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                    12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                    35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                    58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};
    JpegTables result;
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t at = 2;
    while (at + 4 <= bytes.size() && data[at] == 0xFF) {
        const int marker = data[at + 1];
        const std::size_t length = static_cast<std::size_t>(data[at + 2] << 8 | data[at + 3]);
        if (marker == 0xC0)
            result.baseline = true;
        if (marker == 0xDB) {
            std::size_t p = at + 4;
            while (p < at + 2 + length) {
                std::vector<int> table(64);
                for (int i = 0; i < 64; ++i)
                    table[static_cast<std::size_t>(kZigzag[i])] = data[p + 1 + static_cast<std::size_t>(i)];
                result.tables.push_back(table);
                p += 65;
            }
        }
        if (marker == 0xDA)
            break;
        at += 2 + length;
    }
    return result;
}

// The standard tables scaled to a quality, as the JPEG reference encoder does.
std::vector<int> ScaledTable(const int* basic, int quality)
{
    const int scale = quality < 50 ? 5000 / quality : 200 - quality * 2;
    std::vector<int> table(64);
    for (int i = 0; i < 64; ++i)
        table[static_cast<std::size_t>(i)] = std::clamp((basic[i] * scale + 50) / 100, 1, 255);
    return table;
}

} // namespace

TEST(ImageLayer, KnowsFormatsByExactName)
{
    EXPECT_EQ(StartImageLayer(), ImageError::None);
    EXPECT_EQ(Layer().FormatIndexByName("jpeg"), 1);
    EXPECT_EQ(Layer().FormatIndexByName("bmp"), 2);
    EXPECT_GT(Layer().FormatIndexByName("png"), 2);
    EXPECT_GT(Layer().FormatIndexByName("tiff"), 2);
    for (const char* unknown : {"", "JPEG", "figure", "jpeg ", "doc"})
        EXPECT_EQ(Layer().FormatIndexByName(unknown), 0) << unknown;
    EXPECT_EQ(Layer().FormatIndexByName(nullptr), 0);
}

TEST(ImageLayer, StartsOnlyWhereAPluginFolderHoldsAJpegWriter)
{
    // The start looks for the JPEG writer by the plug-ins' declared names;
    // it must agree with the full list of formats, both ways.
    const QStringList paths = QCoreApplication::libraryPaths();
    // A folder whose only image plug-in writes GIF, not JPEG.
    TempFolder lonely;
    std::filesystem::create_directory(lonely.file("imageformats"));
    for (const QString& path : paths) {
        const std::string gif = path.toStdString() + "/imageformats/libqgif.so";
        if (FileExists(gif))
            std::filesystem::copy_file(gif, lonely.file("imageformats/libqgif.so"),
                                       std::filesystem::copy_options::skip_existing);
    }
    QCoreApplication::setLibraryPaths({QString::fromStdString(lonely.path())});
    EXPECT_EQ(StartImageLayer(), ImageError::Unavailable);
    QCoreApplication::setLibraryPaths(paths);
    EXPECT_EQ(StartImageLayer(), ImageError::None);
    EXPECT_EQ(Layer().FormatIndexByName("jpeg"), 1);
}

TEST(ImageLayer, JpegAtQuality95HasTheStandardTablesScaled)
{
    TempFolder folder;
    const std::string path = folder.file("figure.jpg");
    ASSERT_EQ(Layer().SaveBitmap(path, Bitmap(Figure(254)), Params("jpeg")), ImageError::None);
    const QImage decoded(QString::fromStdString(path));
    EXPECT_EQ(decoded.size(), QSize(254, 254));

    static const int kLuminance[64] = {16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
                                       14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
                                       18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
                                       49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
    static const int kChrominance[64] = {17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99,
                                         24, 26, 56, 99, 99, 99, 99, 99, 47, 66, 99, 99, 99, 99, 99, 99,
                                         99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
                                         99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};
    const JpegTables tables = ReadJpegTables(ReadFileBytes(path));
    ASSERT_EQ(tables.tables.size(), 2u);
    EXPECT_EQ(tables.tables[0], ScaledTable(kLuminance, 95));
    EXPECT_EQ(tables.tables[1], ScaledTable(kChrominance, 95));
    EXPECT_TRUE(tables.baseline);
}

// Every lossless format, as the export writes the default figure, decodes
// with Pillow to exactly its pixels, and compressed.
TEST(ImageLayer, LosslessFormatsAreExactAndSmall)
{
    DecagonRecord record = RecordWithHeight(254.884);
    const auto figure = RenderFigureBitmap(&record, FigureOptionsOf(record));
    ASSERT_NE(figure, nullptr);
    const Canvas& canvas = figure->canvas;
    TempFolder folder;
    std::map<std::string, std::size_t> sizes;
    for (const char* format : {"bmp", "png", "tif", "tiff", "webp"}) {
        if (Layer().FormatIndexByName(format) == 0)
            continue; // WebP needs qt6-image-formats-plugins
        const std::string path = folder.file(std::string("figure.") + format);
        ASSERT_EQ(Layer().SaveBitmap(path, *figure, Params(format)), ImageError::None) << format;
        sizes[format] = ReadFileBytes(path).size();
        PillowImage image;
        ASSERT_TRUE(DecodeWithPillow(path, image)) << format;
        ASSERT_EQ(image.width, canvas.width) << format;
        ASSERT_EQ(image.height, canvas.height) << format;
        bool exact = true;
        for (std::int32_t y = 0; y < canvas.height; ++y)
            for (std::int32_t x = 0; x < canvas.width; ++x)
                exact = exact && image.pixels[static_cast<std::size_t>(y * canvas.width + x)] == canvas.Row(y)[x];
        EXPECT_TRUE(exact) << format;
    }
    EXPECT_LE(sizes["png"], 12u * 1024u);
    EXPECT_LE(sizes["tif"], 12u * 1024u);
    if (sizes.count("webp") != 0)
        EXPECT_LE(sizes["webp"], 2 * sizes["png"]);
}

TEST(ImageLayer, BmpKeepsEveryPixel)
{
    TempFolder folder;
    const std::string path = folder.file("figure.bmp");
    const Canvas canvas = Figure(97);
    const QImage figure = CanvasImage(canvas);
    ASSERT_EQ(Layer().SaveBitmap(path, Bitmap(canvas), Params("bmp")), ImageError::None);
    const QImage decoded = QImage(QString::fromStdString(path)).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(decoded == figure);
}

TEST(ImageLayer, ReplacesOnlyWhenAskedAndNeverHalfway)
{
    TempFolder folder;
    const std::string path = folder.file("figure.png");
    WriteFileBytes(path, "old picture");
    ImageSaveParams params = Params("png");
    params.replaceExisting = false;
    EXPECT_EQ(Layer().SaveBitmap(path, Bitmap(Figure(10)), params), ImageError::FileExists);
    EXPECT_TRUE(ReadFileBytes(path) == "old picture");

    params.formatIndex = 0;
    params.replaceExisting = true;
    EXPECT_EQ(Layer().SaveBitmap(path, Bitmap(Figure(10)), params), ImageError::UnknownFormat);
    EXPECT_EQ(Layer().SaveBitmap(path, FigureBitmap{}, Params("png")), ImageError::NoBitmap);
    // A folder in the file's place is never replaced.
    const std::string taken = folder.file("taken.png");
    std::filesystem::create_directory(taken);
    EXPECT_EQ(Layer().SaveBitmap(taken, Bitmap(Figure(10)), Params("png")), ImageError::CannotWrite);
    EXPECT_TRUE(std::filesystem::is_directory(taken));
    EXPECT_TRUE(ReadFileBytes(path) == "old picture");
    EXPECT_EQ(FilesIn(folder.path()), 2);

    EXPECT_EQ(Layer().SaveBitmap(path, Bitmap(Figure(10)), Params("png")), ImageError::None);
    EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(10, 10));
}

TEST(ImageLayer, ASizeTheFormatCannotHoldIsRefusedNotShrunk)
{
    TempFolder folder;
    struct Case {
        const char* format;
        int whole;    // a side the format holds
        int tooLarge; // one it cannot hold
    };
    for (const Case& c : {Case{"ico", 256, 257}, Case{"cur", 256, 300}, Case{"icns", 512, 300}}) {
        if (Layer().FormatIndexByName(c.format) == 0)
            continue;
        const std::string path = folder.file(std::string("figure.") + c.format);
        ASSERT_EQ(Layer().SaveBitmap(path, Bitmap(Figure(c.whole)), Params(c.format)), ImageError::None) << c.format;
        EXPECT_EQ(QImage(QString::fromStdString(path)).size(), QSize(c.whole, c.whole)) << c.format;
        const std::string before = ReadFileBytes(path);
        EXPECT_EQ(Layer().SaveBitmap(path, Bitmap(Figure(c.tooLarge)), Params(c.format)), ImageError::TooLarge)
            << c.format;
        EXPECT_TRUE(ReadFileBytes(path) == before) << c.format;
    }
    EXPECT_EQ(FilesIn(folder.path()), 3);

    // The limits alone, without pictures of that size.
    const auto holds = [](const char* format, int width, int height) {
        return Layer().FormatHoldsSize(Layer().FormatIndexByName(format), width, height);
    };
    EXPECT_TRUE(holds("ico", 256, 1));
    EXPECT_FALSE(holds("ico", 1, 257));
    EXPECT_FALSE(holds("icns", 8, 8));
    EXPECT_FALSE(holds("icns", 2048, 2048));
    EXPECT_FALSE(holds("icns", 64, 32));
    EXPECT_TRUE(holds("jpeg", 65500, 1));
    EXPECT_FALSE(holds("jpeg", 1, 65501));
    EXPECT_TRUE(holds("png", 100000, 100000));
    // A BMP states its size in 32 bits: refused before anything is drawn.
    EXPECT_TRUE(holds("bmp", 37837, 37837));
    EXPECT_FALSE(holds("bmp", 37838, 37838));
    EXPECT_TRUE(holds("svg", 100000, 100000));
    EXPECT_FALSE(Layer().FormatHoldsSize(0, 1, 1));
    if (Layer().FormatIndexByName("webp") != 0) {
        EXPECT_FALSE(holds("webp", 16384, 1));
    }
}

TEST(ImageLayer, AShortWriteLeavesTheOldFile)
{
    TempFolder folder;
    const std::string path = folder.file("figure.bmp");
    WriteFileBytes(path, "old picture");
    EXPECT_TRUE(RunsWithFileSizeLimit(
        4096, [&] { return Layer().SaveBitmap(path, Bitmap(Figure(200)), Params("bmp")) == ImageError::CannotWrite; }));
    EXPECT_TRUE(ReadFileBytes(path) == "old picture");
    EXPECT_EQ(FilesIn(folder.path()), 1);
}

TEST(ImageLayer, WritesInPlaceOnlyWhenNotAskedToReplaceWhole)
{
    TempFolder folder;
    FigureBitmap bitmap = Bitmap(Figure(12));
    ASSERT_EQ(PlanFigure(RecordWithHeight(12.0), bitmap.plan), 1);
    for (const char* format : {"png", "svg"}) {
        const std::string path = folder.file(std::string("figure.") + format);
        WriteFileBytes(path, "old picture");
        struct stat before {};
        ::stat(path.c_str(), &before);
        ImageSaveParams params = Params(format);
        params.atomicWrite = false;
        ASSERT_EQ(Layer().SaveBitmap(path, bitmap, params), ImageError::None) << format;
        struct stat after {};
        ::stat(path.c_str(), &after);
        EXPECT_EQ(after.st_ino, before.st_ino) << format; // the same file, rewritten
        const std::string direct = ReadFileBytes(path);
        EXPECT_NE(direct, "old picture") << format;

        ASSERT_EQ(Layer().SaveBitmap(path, bitmap, Params(format)), ImageError::None) << format;
        ::stat(path.c_str(), &after);
        EXPECT_NE(after.st_ino, before.st_ino) << format; // a new file renamed into place
        EXPECT_EQ(ReadFileBytes(path), direct) << format;
    }
    EXPECT_EQ(FilesIn(folder.path()), 2);
}

TEST(ImageLayer, ClipboardTakesTheImage)
{
    SystemImageClipboard clipboard;
    QImage figure;
    {
        // The clipboard keeps the pixels after the canvas is gone.
        const Canvas canvas = Figure(16);
        figure = CanvasImage(canvas).copy();
        EXPECT_EQ(QtImageLayer(&clipboard).ExportToClipboard(Bitmap(canvas)), ImageError::None);
    }
    EXPECT_TRUE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32) == figure);
    EXPECT_EQ(QtImageLayer(&clipboard).ExportToClipboard(FigureBitmap{}), ImageError::NoBitmap);
}

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
