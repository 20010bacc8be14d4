// The quality each format is written at: WebP through Qt's plug-in is then
// lossless, read back exactly by Pillow, and small beside the PNG.
#include "export/formatquality.h"
#include "export/pngencoder.h"
#include "qt/qtcanvas.h"
#include "render/painter.h"
#include "tests/support/pillow.h"
#include "tests/support/testsupport.h"

#include <QImageWriter>

#include <gtest/gtest.h>

#include <string>

TEST(QualityForFormat, WebpIsLosslessOthersKeepTheRequest)
{
    const struct {
        const char* format;
        int requested;
        int quality;
    } cases[] = {{"webp", 95, 100}, {"WebP", 10, 100}, {"WEBP", -1, 100}, {"png", 95, 95}, {"jpeg", 95, 95},
                 {"tif", 40, 40},   {"webpx", 95, 95}, {"web", 95, 95},   {"", 95, 95},    {nullptr, 95, 95}};
    for (const auto& c : cases)
        EXPECT_EQ(QualityForFormat(c.format, c.requested), c.quality) << (c.format ? c.format : "(null)");
}

// The default figure as WebP at the export's quality of 95: exact pixels and
// at most twice the PNG's size, where the quality itself would give a lossy
// file (which shows that the comparison can fail).
TEST(QualityForFormat, WebpOfTheFigureIsExactAndSmall)
{
    if (!QImageWriter::supportedImageFormats().contains("webp"))
        GTEST_SKIP() << "no WebP plug-in (qt6-image-formats-plugins)";
    DecagonRecord record = RecordWithHeight(254.884);
    const auto figure = RenderFigureBitmap(&record, FigureOptionsOf(record));
    const Canvas& canvas = figure->canvas;
    TempFolder folder;
    auto exactAfterWriting = [&](int quality, std::size_t& size) {
        const std::string path = folder.file("figure" + std::to_string(quality) + ".webp");
        QImageWriter writer(QString::fromStdString(path), "webp");
        writer.setQuality(quality);
        EXPECT_TRUE(writer.write(FigureImage(canvas)));
        size = ReadFileBytes(path).size();
        PillowImage image;
        EXPECT_TRUE(DecodeWithPillow(path, image));
        EXPECT_EQ(image.format, "WEBP");
        if (image.width != canvas.width || image.height != canvas.height)
            return false;
        for (std::int32_t y = 0; y < canvas.height; ++y)
            for (std::int32_t x = 0; x < canvas.width; ++x)
                if (image.pixels[static_cast<std::size_t>(y * canvas.width + x)] != canvas.Row(y)[x])
                    return false;
        return true;
    };
    std::size_t webp = 0, lossy = 0;
    EXPECT_TRUE(exactAfterWriting(QualityForFormat("webp", 95), webp));
    EXPECT_FALSE(exactAfterWriting(95, lossy));

    std::string png;
    ASSERT_EQ(EncodePng(canvas.Row(0), canvas.width, canvas.height, canvas.stride, PngSettings{}, png), 1);
    EXPECT_LE(webp, 2 * png.size());
    RecordProperty("webp_bytes", std::to_string(webp));
    RecordProperty("png_bytes", std::to_string(png.size()));
}
