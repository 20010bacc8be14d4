// The image commands' steps, order and messages, against an image library
// that writes nothing.
#include "export/imageexport.h"
#include "model/geometry.h"
#include "render/canvas.h"
#include "render/painter.h"
#include "tests/export/fakeimagelayer.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class ImageCommandTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        record = RecordWithHeight(100.0);
        shown = FigureOptionsOf(record);
        shown.showExternalCircle = 0;
        shown.showInternalCircle = 1;
        shown.diagonalChoice = 4;
    }

    int Export(const std::string& typed)
    {
        prompts.answer = typed;
        return ExportImageFile(&record, shown, prompts, layer);
    }

    DecagonRecord record;
    FigureOptions shown;
    FakePrompts prompts;
    FakeImageLayer layer;
};

} // namespace

TEST_F(ImageCommandTest, TheExtensionNamesTheFormatAndANameWithoutOneBecomesJpeg)
{
    struct Case {
        const char* typed;
        const char* lookedUp;
        const char* savedAs;
        std::int32_t format;
    };
    const Case cases[] = {
        {"/tmp/Figure.JPG", "jpeg", "/tmp/Figure.JPG", 1},
        {"/tmp/figure.jpeg", "jpeg", "/tmp/figure.jpeg", 1},
        {"/tmp/figure.Bmp", "bmp", "/tmp/figure.Bmp", 2},
        {"/tmp/figure", "jpeg", "/tmp/figure.jpg", 1},
        {"/tmp/my.folder/figure", "jpeg", "/tmp/my.folder/figure.jpg", 1},
        {"C:\\my.folder\\figure", "jpeg", "C:\\my.folder\\figure.jpg", 1},
        {"/tmp/figure.tar.svg", "svg", "/tmp/figure.tar.svg", 9},
    };
    for (const Case& c : cases) {
        layer.lookups.clear();
        layer.saves.clear();
        ASSERT_EQ(Export(c.typed), 1) << c.typed;
        ASSERT_EQ(layer.lookups.size(), 1u) << c.typed;
        EXPECT_EQ(layer.lookups[0], c.lookedUp) << c.typed;
        ASSERT_EQ(layer.saves.size(), 1u) << c.typed;
        EXPECT_EQ(layer.saves[0].path, c.savedAs);
        EXPECT_EQ(layer.saves[0].params.formatIndex, c.format) << c.typed;
    }
    EXPECT_EQ(prompts.information.back(), "The file figure.tar.svg has been successfully saved");
    EXPECT_EQ(prompts.information[5], "The file figure.jpg has been successfully saved"); // after a backslash too
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_STREQ(prompts.lastRequest.defaultExtension, "jpg");
    EXPECT_EQ(prompts.lastRequest.filterCount, 3);
    EXPECT_STREQ(prompts.lastRequest.filters[2].pattern, "*.*");
}

TEST_F(ImageCommandTest, SaveParametersAreTheDefaultsWithFiveFieldsSet)
{
    ASSERT_EQ(Export("/tmp/figure.png"), 1);
    const ImageSaveParams& used = layer.saves.at(0).params;
    EXPECT_TRUE(used.replaceExisting);
    EXPECT_EQ(used.formatIndex, 3);
    EXPECT_EQ(used.quality, 95);
    EXPECT_TRUE(used.baseline);
    EXPECT_TRUE(used.atomicWrite);
    // Everything else as the library's defaults have it.
    EXPECT_EQ(used.compression, layer.defaults.compression);
}

TEST_F(ImageCommandTest, JpgUsesTheJpegIndexUntestedOtherUnknownNamesAreRefused)
{
    layer.formats.erase("jpeg");
    ASSERT_EQ(Export("/tmp/figure.jpg"), 1); // the library decides what index 0 means
    EXPECT_EQ(layer.saves.at(0).params.formatIndex, 0);

    for (const char* typed : {"/tmp/figure.", "/tmp/figure.doc", "/tmp/figure.jpeg"}) {
        layer.saves.clear();
        const DecagonRecord before = record;
        EXPECT_EQ(Export(typed), 0) << typed;
        EXPECT_EQ(prompts.errors.back(), "This image type is not known");
        EXPECT_TRUE(layer.saves.empty());
        // Refused before rendering: the record keeps its options.
        EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0) << typed;
    }
    EXPECT_EQ(layer.lookups.at(1), ""); // "figure." has an empty extension
}

TEST_F(ImageCommandTest, TheFigureIsRenderedWithTheOptionsShownAndKeptInTheRecord)
{
    ASSERT_EQ(Export("/tmp/figure.bmp"), 1);
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 1);
    EXPECT_EQ(record.diagonalChoice, 4);

    const FigureBitmap& saved = layer.saves.at(0).bitmap;
    DecagonRecord copy = record;
    const auto expected = RenderFigureBitmap(&copy, shown);
    ASSERT_NE(expected, nullptr);
    ASSERT_EQ(saved.canvas.width, 100);
    ASSERT_EQ(saved.canvas.height, 100);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(PixelAt(saved.canvas, x, y), PixelAt(expected->canvas, x, y)) << x << "," << y;
    EXPECT_EQ(saved.plan.elements.size(), expected->plan.elements.size());
    // The command let go of every bitmap: only the library's copy is left.
    EXPECT_EQ(saved.canvas.pixels.use_count(), 1);
}

TEST_F(ImageCommandTest, FailuresNameOnlyTheFile)
{
    layer.saveResult = ImageError::CannotWrite;
    EXPECT_EQ(Export("/some/folder/figure.png"), 0);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], "Cannot save the file figure.png");
    EXPECT_TRUE(prompts.information.empty());

    for (double height : {0.5, -3.0, 1e300}) {
        record.expectedHeight = height;
        ComputeGeometry(record);
        layer.saves.clear();
        EXPECT_EQ(Export("/tmp/figure.jpg"), 0) << height;
        EXPECT_EQ(prompts.errors.back(), "Cannot create the image");
        EXPECT_TRUE(layer.saves.empty());
        EXPECT_EQ(record.diagonalChoice, 4); // the options were taken before the failure
    }
}

TEST_F(ImageCommandTest, CancelOrNoRecordDoesNothing)
{
    prompts.cancel = true;
    const DecagonRecord before = record;
    EXPECT_EQ(Export("/tmp/figure.jpg"), 0);
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
    EXPECT_EQ(ExportImageFile(nullptr, shown, prompts, layer), 0);
    EXPECT_EQ(ExportImageFileTo(nullptr, shown, "/tmp/figure.jpg", prompts, layer), 0);
    EXPECT_EQ(ExportImageFileTo(&record, shown, "", prompts, layer), 0);
    EXPECT_EQ(CopyImageToClipboard(nullptr, shown, prompts, layer), 0);
    EXPECT_EQ(prompts.dialogs, 1);
    EXPECT_TRUE(layer.lookups.empty());
    EXPECT_TRUE(layer.saves.empty());
    EXPECT_TRUE(layer.clipboard.empty());
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_TRUE(prompts.information.empty());
}

TEST_F(ImageCommandTest, TheClipboardGetsTheFigureAndReportsOnlyItsOwnFailure)
{
    EXPECT_EQ(CopyImageToClipboard(&record, shown, prompts, layer), 1);
    ASSERT_EQ(layer.clipboard.size(), 1u);
    EXPECT_EQ(layer.clipboard[0].canvas.width, 100);
    EXPECT_EQ(layer.clipboard[0].canvas.pixels.use_count(), 1);
    EXPECT_EQ(prompts.information.back(), "Image copied into the clipboad");
    EXPECT_EQ(record.diagonalChoice, 4);

    layer.clipboardResult = ImageError::NoClipboard;
    EXPECT_EQ(CopyImageToClipboard(&record, shown, prompts, layer), 0);
    EXPECT_EQ(prompts.errors.back(), "Cannot copy the image into the clipboad");

    // Nothing to draw: the clipboard command ends without a word.
    record.expectedHeight = 0.5;
    ComputeGeometry(record);
    const auto errors = prompts.errors.size();
    EXPECT_EQ(CopyImageToClipboard(&record, shown, prompts, layer), 0);
    EXPECT_EQ(prompts.errors.size(), errors);
    EXPECT_EQ(layer.clipboard.size(), 2u);
}
