// The image commands with the Qt image layer: the files they write.
#include "export/imageexport.h"
#include "model/geometry.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "tests/export/fakeprompts.h"
#include "tests/support/testsupport.h"

#include <QImage>
#include <QImageReader>

#include <gtest/gtest.h>

#include <filesystem>

namespace {

class FakeClipboard : public ImageClipboard {
public:
    bool PutImage(const QImage& image) override
    {
        ++calls;
        if (!works)
            return false;
        held = image;
        return true;
    }
    bool works = true;
    int calls = 0;
    QImage held;
};

class ImageExportTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        record = RecordWithHeight(kDefaultExpectedHeight);
        shown = FigureOptionsOf(record);
        shown.showExternalCircle = 1;
        shown.showInternalCircle = 1;
        shown.diagonalChoice = 1;
    }

    // What the figure looks like with the options shown, rendered the same way.
    QImage Figure()
    {
        DecagonRecord copy = record;
        return FigureImage(RenderFigureBitmap(&copy, shown)->canvas);
    }

    int Export() { return ExportImageFile(&record, shown, prompts, layer); }
    int Copy() { return CopyImageToClipboard(&record, shown, prompts, clipboardLayer); }

    QByteArray FormatOf(const std::string& path)
    {
        QImageReader reader(QString::fromStdString(path));
        return reader.format();
    }

    TempFolder folder;
    DecagonRecord record;
    FigureOptions shown;
    FakePrompts prompts;
    QtImageLayer layer;
    FakeClipboard clipboard;
    QtImageLayer clipboardLayer{&clipboard};
};

} // namespace

TEST_F(ImageExportTest, TheExtensionChoosesTheFormat)
{
    struct Case {
        const char* typed;
        const char* savedAs;
        const char* format;
    };
    const Case cases[] = {
        {"Figure.JPG", "Figure.JPG", "jpeg"}, {"figure.jpeg", "figure.jpeg", "jpeg"},
        {"figure.bmp", "figure.bmp", "bmp"},  {"figure.png", "figure.png", "png"},
        {"figure", "figure.jpg", "jpeg"},     {"my.folder/figure", "my.folder/figure.jpg", "jpeg"},
    };
    std::filesystem::create_directory(folder.file("my.folder"));
    for (const Case& c : cases) {
        prompts.answer = folder.file(c.typed);
        EXPECT_EQ(Export(), 1) << c.typed;
        EXPECT_EQ(FormatOf(folder.file(c.savedAs)), c.format) << c.typed;
        const std::string name = std::filesystem::path(c.savedAs).filename().string();
        EXPECT_EQ(prompts.information.back(), "The file " + name + " has been successfully saved");
    }
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_STREQ(prompts.lastRequest.filters[0].description, "JPeg files (*.jpg)");
    EXPECT_STREQ(prompts.lastRequest.filters[1].description, "Bitmap Files (*.bmp)");
    EXPECT_STREQ(prompts.lastRequest.defaultExtension, "jpg");
    EXPECT_EQ(prompts.lastRequest.filterIndex, 1);
}

TEST_F(ImageExportTest, JpegHasTheFiguresSizeAndBmpItsExactPixels)
{
    record.expectedHeight = 100.0;
    ComputeGeometry(record);
    prompts.answer = folder.file("figure.jpg");
    ASSERT_EQ(Export(), 1);
    EXPECT_EQ(QImage(QString::fromStdString(prompts.answer)).size(), QSize(100, 100));

    prompts.answer = folder.file("figure.bmp");
    ASSERT_EQ(Export(), 1);
    const QImage saved = QImage(QString::fromStdString(prompts.answer)).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(saved == Figure());
}

TEST_F(ImageExportTest, UnknownTypesAreRefusedAndTheOldFileStays)
{
    for (const char* name : {"figure.", "figure.doc", "figure.JPEG2"}) {
        WriteFileBytes(folder.file(name), "mine");
        prompts.answer = folder.file(name);
        EXPECT_EQ(Export(), 0) << name;
        EXPECT_EQ(prompts.errors.back(), "This image type is not known");
        EXPECT_EQ(ReadFileBytes(folder.file(name)), "mine");
    }
    EXPECT_TRUE(prompts.information.empty());
}

TEST_F(ImageExportTest, AnExistingFileIsReplacedWithoutAQuestion)
{
    WriteFileBytes(folder.file("figure.png"), "an older picture");
    prompts.answer = folder.file("figure.png");
    EXPECT_EQ(Export(), 1);
    EXPECT_EQ(FormatOf(prompts.answer), "png");
    EXPECT_EQ(prompts.dialogs, 1);
}

TEST_F(ImageExportTest, AFailedSaveNamesOnlyTheFileAndKeepsTheOldOne)
{
    const std::string sub = folder.file("locked");
    std::filesystem::create_directory(sub);
    std::filesystem::create_directory(sub + "/figure.png"); // a folder where the file should go
    prompts.answer = sub + "/figure.png";
    EXPECT_EQ(Export(), 0);
    ASSERT_EQ(prompts.errors.size(), 1u);
    EXPECT_EQ(prompts.errors[0], "Cannot save the file figure.png");
    EXPECT_TRUE(std::filesystem::is_directory(prompts.answer));
}

TEST_F(ImageExportTest, NothingToDrawIsReported)
{
    for (double height : {0.5, -3.0, 1e300}) {
        record.expectedHeight = height;
        ComputeGeometry(record);
        prompts.answer = folder.file("figure.jpg");
        EXPECT_EQ(Export(), 0) << height;
        EXPECT_EQ(prompts.errors.back(), "Cannot create the image");
        EXPECT_FALSE(FileExists(prompts.answer));
    }
}

TEST_F(ImageExportTest, CancelAndMissingRecordDoNothing)
{
    prompts.cancel = true;
    EXPECT_EQ(Export(), 0);
    EXPECT_EQ(ExportImageFile(nullptr, shown, prompts, layer), 0);
    EXPECT_EQ(CopyImageToClipboard(nullptr, shown, prompts, clipboardLayer), 0);
    EXPECT_EQ(prompts.dialogs, 1);
    EXPECT_EQ(clipboard.calls, 0);
    EXPECT_TRUE(prompts.errors.empty());
    EXPECT_TRUE(prompts.information.empty());
}

TEST_F(ImageExportTest, TheExportTakesTheOptionsShown)
{
    // The record was computed with everything shown; the dialog now says no
    // circles and the fan of E5 only.
    shown.showExternalCircle = 0;
    shown.showInternalCircle = 0;
    shown.diagonalChoice = 11;
    prompts.answer = folder.file("figure.bmp");
    ASSERT_EQ(Export(), 1);
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 0);
    EXPECT_EQ(record.diagonalChoice, 11);
    const QImage saved = QImage(QString::fromStdString(prompts.answer)).convertToFormat(QImage::Format_RGB32);
    EXPECT_TRUE(saved == Figure());
}

TEST_F(ImageExportTest, ClipboardGetsTheFigure)
{
    EXPECT_EQ(Copy(), 1);
    EXPECT_TRUE(clipboard.held == Figure());
    EXPECT_EQ(prompts.information.back(), "Image copied into the clipboad");

    clipboard.works = false;
    EXPECT_EQ(Copy(), 0);
    EXPECT_EQ(prompts.errors.back(), "Cannot copy the image into the clipboad");

    // Nothing to draw: the clipboard command ends without a word.
    clipboard.works = true;
    record.expectedHeight = 0.5;
    ComputeGeometry(record);
    const auto errors = prompts.errors.size();
    EXPECT_EQ(Copy(), 0);
    EXPECT_EQ(prompts.errors.size(), errors);
    EXPECT_EQ(clipboard.calls, 2);
}
