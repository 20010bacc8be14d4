// JPEG files and the clipboard's JPEG from the image layer: the figure's
// coloured lines come back close to the pixels, and a picture that cannot
// be written leaves the file in place.
#include "export/imageexport.h"
#include "export/imagelayer.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "render/figureoptions.h"
#include "render/painter.h"
#include "tests/qt/imagepsnr.h"
#include "tests/support/testsupport.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include <gtest/gtest.h>

#include <string>

namespace {

// The figure as the export renders it: both circles and all the diagonals.
FigureBitmap RenderedFigure(double height)
{
    DecagonRecord record = RecordWithHeight(height);
    FigureOptions shown = FigureOptionsOf(record);
    shown.showExternalCircle = 1;
    shown.showInternalCircle = 1;
    shown.diagonalChoice = 1;
    const auto rendered = RenderFigureBitmap(&record, shown);
    EXPECT_TRUE(rendered);
    return rendered ? *rendered : FigureBitmap{};
}

// The sampling factors of the frame's components, one byte each (0x11 for
// full resolution), or empty when the file has no frame header.
std::string SamplingFactors(const std::string& bytes)
{
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    std::size_t at = 2;
    while (at + 4 <= bytes.size() && data[at] == 0xFF) {
        const int marker = data[at + 1];
        const std::size_t length = static_cast<std::size_t>(data[at + 2] << 8 | data[at + 3]);
        if ((marker == 0xC0 || marker == 0xC2) && at + 10 <= bytes.size()) {
            std::string factors;
            const int components = data[at + 9];
            for (int c = 0; c < components && at + 12 + 3 * c < bytes.size(); ++c)
                factors += static_cast<char>(data[at + 11 + 3 * c]);
            return factors;
        }
        at += 2 + length;
    }
    return {};
}

// The layer the exports use, for its save parameters.
ImageLayer& Layer()
{
    static QtImageLayer layer;
    return layer;
}

} // namespace

// At the default height a file keeps the lines' colours (halved chroma
// loses them: about 20 dB), says 96 dots per inch, and is baseline.
TEST(JpegExport, FigureKeepsItsColoursAt96Dpi)
{
    TempFolder folder;
    const FigureBitmap figure = RenderedFigure(kDefaultExpectedHeight);
    const std::string path = folder.file("figure.jpg");
    ASSERT_EQ(Layer().SaveBitmap(path, figure, ExportSaveParams(Layer(), Layer().FormatIndexByName("jpeg"))),
              ImageError::None);
    EXPECT_GE(ImagePsnr(CanvasImage(figure.canvas), QImage(QString::fromStdString(path))), 38.0);

    const std::string bytes = ReadFileBytes(path);
    EXPECT_EQ(SamplingFactors(bytes), std::string("\x11\x11\x11"));
    ASSERT_GT(bytes.size(), 18u);
    EXPECT_EQ(bytes.substr(6, 5), std::string("JFIF", 5));
    EXPECT_EQ(bytes[13], 1);
    EXPECT_EQ(bytes.substr(14, 4), std::string("\x00\x60\x00\x60", 4));
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);
}

// "jpg" is the same format; with baseline off the file is progressive.
TEST(JpegExport, JpgNameAndProgressiveScans)
{
    TempFolder folder;
    const FigureBitmap figure = RenderedFigure(100.0);
    ImageSaveParams params = ExportSaveParams(Layer(), Layer().FormatIndexByName("jpg"));
    ASSERT_NE(params.formatIndex, 0);
    params.baseline = 0;
    const std::string path = folder.file("figure.jpg");
    ASSERT_EQ(Layer().SaveBitmap(path, figure, params), ImageError::None);
    const std::string bytes = ReadFileBytes(path);
    EXPECT_NE(bytes.find("\xFF\xC2"), std::string::npos);
    EXPECT_EQ(SamplingFactors(bytes), std::string("\x11\x11\x11"));
    EXPECT_GE(ImagePsnr(CanvasImage(figure.canvas), QImage(QString::fromStdString(path))), 38.0);
}

// A picture too wide for JPEG is refused before the file is opened, whether
// the save replaces the file whole or writes into it.
TEST(JpegExport, APictureJpegCannotHoldLeavesTheFile)
{
    TempFolder folder;
    const std::string path = folder.file("figure.jpg");
    WriteFileBytes(path, "old picture");
    FigureBitmap wide;
    ASSERT_EQ(MakeCanvas(65501, 1, wide.canvas), 1);
    FillRect(wide.canvas, {0, 0, 65501, 1}, PaletteColor(1));
    ImageSaveParams params = ExportSaveParams(Layer(), Layer().FormatIndexByName("jpeg"));
    for (const std::uint8_t atomic : {std::uint8_t{1}, std::uint8_t{0}}) {
        params.atomicWrite = atomic;
        EXPECT_EQ(Layer().SaveBitmap(path, wide, params), ImageError::TooLarge);
        EXPECT_EQ(ReadFileBytes(path), "old picture");
        EXPECT_EQ(FilesIn(folder.path()), 1);
    }
}

// The clipboard offers JPEG among its image types, encoded by the same rule
// as a file, and still holds the image itself.
TEST(JpegExport, ClipboardOffersTheSameJpeg)
{
    const FigureBitmap figure = RenderedFigure(kDefaultExpectedHeight);
    SystemImageClipboard clipboard;
    ASSERT_EQ(QtImageLayer(&clipboard).ExportToClipboard(figure), ImageError::None);
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasImage());
    EXPECT_TRUE(data->formats().contains("image/jpeg"));
    const QByteArray jpeg = data->data("image/jpeg");
    const std::string bytes(jpeg.constData(), static_cast<std::size_t>(jpeg.size()));
    EXPECT_EQ(SamplingFactors(bytes), std::string("\x11\x11\x11"));
    EXPECT_NE(bytes.find("\xFF\xC0"), std::string::npos);
    EXPECT_GE(ImagePsnr(CanvasImage(figure.canvas), QImage::fromData(jpeg, "JPEG")), 38.0);
    EXPECT_EQ(data->data("image/jpeg"), jpeg); // encoded once, then kept
    EXPECT_EQ(data->data("image/jpg"), jpeg);
}
