// The SVG drawing as real renderers see it, against the raster figure, and
// the "svg" format of the image layer that the dialog's image export uses.
#include "export/imageexport.h"
#include "model/numtext.h"
#include "qt/qtcanvas.h"
#include "qt/qtimagelayer.h"
#include "render/svg.h"
#include "tests/cli/clifixture.h"
#include "tests/export/fakeprompts.h"

#include <QImage>

#include <array>
#include <utility>
#include <vector>

#include <cstdlib>
#include <set>

namespace {

constexpr int kScale = 4;

bool HaveRsvg() { return std::system("command -v rsvg-convert >/dev/null 2>&1") == 0; }

int Distance(QRgb a, QRgb b)
{
    return std::max({std::abs(qRed(a) - qRed(b)), std::abs(qGreen(a) - qGreen(b)), std::abs(qBlue(a) - qBlue(b))});
}

// Whether some pixel of image within radius of (x, y) matches.
template <typename Match> bool Near(const QImage& image, int x, int y, int radius, Match match)
{
    for (int v = std::max(0, y - radius); v <= std::min(image.height() - 1, y + radius); ++v)
        for (int u = std::max(0, x - radius); u <= std::min(image.width() - 1, x + radius); ++u)
            if (match(image.pixel(u, v)))
                return true;
    return false;
}

class SvgRenderTest : public CliProcessTest {
protected:
    // The raster figure of the record with the dialog's options set alike.
    QImage Raster(DecagonRecord record)
    {
        return CanvasImage(RenderFigureBitmap(&record, FigureOptionsOf(record))->canvas).copy();
    }

    // The CLI's SVG drawn by rsvg-convert, kScale pixels per raster pixel.
    QImage Rendered(const std::vector<std::string>& options, int side)
    {
        std::vector<std::string> arguments = options;
        arguments.insert(arguments.end(), {"--svg", Out("figure.svg")});
        EXPECT_EQ(Run(arguments).exitStatus, 0);
        const std::string size = std::to_string(side * kScale);
        const std::string command =
            "rsvg-convert -w " + size + " -h " + size + " -o '" + Out("figure.png") + "' '" + Out("figure.svg") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << command;
        return QImage(QString::fromStdString(Out("figure.png"))).convertToFormat(QImage::Format_RGB32);
    }

    // Compares the rendering with the raster: what the raster leaves as
    // background well away from any element is background in the rendering
    // too, and every colour of the figure is drawn in the same places in
    // both, within about a pixel (the raster truncates coordinates; the
    // renderer smooths edges).
    void Compare(const DecagonRecord& record, const std::vector<std::string>& options)
    {
        const QImage raster = Raster(record);
        const int side = raster.width();
        const QImage vector = Rendered(options, side);
        ASSERT_EQ(vector.width(), side * kScale);
        const QRgb background = PixelOf(PaletteColor(record.backgroundColor));

        long quiet = 0, quietMatching = 0;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x) {
                if (Near(raster, x, y, 2, [&](QRgb p) { return p != background; }))
                    continue;
                ++quiet;
                const bool clear = !Near(vector, x * kScale + 1, y * kScale + 1, 1,
                                         [&](QRgb p) { return Distance(p, background) > 8; });
                quietMatching += clear ? 1 : 0;
            }
        ASSERT_GT(quiet, 0);
        EXPECT_GE(static_cast<double>(quietMatching) / static_cast<double>(quiet), 0.999);

        // Colours of the figure, the dotted circle's dashes and white gaps
        // counted as one, since the dash phases differ.
        const QRgb white = PixelOf(kWhite);
        const QRgb dots = PixelOf(PaletteColor(record.internalCircleColor));
        std::set<QRgb> colours;
        for (int y = 0; y < side; ++y)
            for (int x = 0; x < side; ++x)
                if (raster.pixel(x, y) != background)
                    colours.insert(raster.pixel(x, y) == white ? dots : raster.pixel(x, y));
        auto same = [&](QRgb colour) {
            return [=](QRgb p) {
                const bool isDots = colour == dots;
                return Distance(p, colour) <= 16 || (isDots && Distance(p, white) <= 16);
            };
        };
        // Each colour with a real share of the figure lies where the raster
        // has it, give or take overlaps (a later element covers an earlier one
        // a little differently in each); colours that later elements cover
        // almost entirely are left out.
        long allDrawn = 0, allFound = 0, allRendered = 0, allPlaced = 0;
        std::vector<std::pair<QRgb, std::array<long, 4>>> counts;
        for (const QRgb colour : colours) {
            long drawn = 0, found = 0;
            for (int y = 0; y < side; ++y)
                for (int x = 0; x < side; ++x) {
                    const QRgb p = raster.pixel(x, y);
                    if (!(p == colour || (colour == dots && p == white)))
                        continue;
                    ++drawn;
                    found += Near(vector, x * kScale + 2, y * kScale + 2, kScale + 2, same(colour)) ? 1 : 0;
                }
            long rendered = 0, placed = 0;
            for (int y = 0; y < vector.height(); ++y)
                for (int x = 0; x < vector.width(); ++x) {
                    if (!same(colour)(vector.pixel(x, y)))
                        continue;
                    ++rendered;
                    placed += Near(raster, x / kScale, y / kScale, 1,
                                   [&](QRgb p) { return p == colour || (colour == dots && p == white); })
                                  ? 1
                                  : 0;
                }
            counts.push_back({colour, {drawn, found, rendered, placed}});
            allDrawn += drawn;
            allFound += found;
            allRendered += rendered;
            allPlaced += placed;
        }
        for (const auto& [colour, c] : counts) {
            if (c[0] * 100 < allDrawn)
                continue;
            EXPECT_GT(c[2], 0) << std::hex << colour;
            EXPECT_GE(static_cast<double>(c[1]) / static_cast<double>(c[0]), 0.8) << std::hex << colour;
            EXPECT_GE(static_cast<double>(c[3]) / static_cast<double>(std::max(c[2], 1L)), 0.8) << std::hex << colour;
        }
        EXPECT_GE(static_cast<double>(allFound) / static_cast<double>(allDrawn), 0.97);
        EXPECT_GE(static_cast<double>(allPlaced) / static_cast<double>(allRendered), 0.97);
    }
};

} // namespace

TEST_F(SvgRenderTest, DrawsWhatTheRasterDraws)
{
    if (!HaveRsvg())
        GTEST_SKIP() << "rsvg-convert is not installed";
    DecagonRecord record = RecordWithHeight(254.884);
    record.diagonalChoice = 0;
    Compare(record, {"--diagonals", "0"});

    record = RecordWithHeight(300.0);
    record.showInternalCircle = 0;
    record.diagonalChoice = 4;
    Compare(record, {"--height", "300", "--internal-circle", "no", "--diagonals", "4"});

    record = RecordWithHeight(180.0);
    Compare(record, {"--height", "180"});
}

TEST_F(SvgRenderTest, TheDialogsImageExportWritesTheDrawingsForTheirNames)
{
    DecagonRecord record = RecordWithHeight(254.884);
    FigureOptions shown = FigureOptionsOf(record);
    shown.showExternalCircle = 1;
    shown.showInternalCircle = 1;
    shown.diagonalChoice = 3;
    QtImageLayer layer;
    ASSERT_NE(layer.FormatIndexByName("svg"), 0);
    EXPECT_EQ(layer.FormatIndexByName("SVG"), 0); // names are exact; the export lower-cases the extension
    // The same bytes as the command line's drawing with the same options.
    const std::pair<const char*, const char*> drawings[] = {
        {"Figure.SVG", "--svg"}, {"figure.pdf", "--pdf"}, {"figure.Dxf", "--dxf"}};
    for (const auto& [name, option] : drawings) {
        FakePrompts prompts;
        WriteFileBytes(Out(name), "an older drawing");
        prompts.answer = Out(name);
        ASSERT_EQ(ExportImageFile(&record, shown, prompts, layer), 1) << name;
        EXPECT_EQ(prompts.information.at(0), std::string("The file ") + name + " has been successfully saved");
        const ProcessResult cli = Run({"--diagonals", "3", option, "-"});
        EXPECT_EQ(ReadFileBytes(Out(name)), cli.out) << name;
    }
    EXPECT_EQ(FolderNames(outputs.path()), (std::vector<std::string>{"Figure.SVG", "figure.Dxf", "figure.pdf"}));

    // Written in place too when no replacement is asked for.
    std::unique_ptr<FigureBitmap> rendered = RenderFigureBitmap(&record, shown);
    ASSERT_NE(rendered, nullptr);
    ImageSaveParams params;
    layer.GetDefaultSaveParams(params);
    params.replaceExisting = true;
    params.formatIndex = layer.FormatIndexByName("svg");
    EXPECT_EQ(layer.SaveBitmap(Out("direct.svg"), *rendered, params), ImageError::None);
    EXPECT_EQ(ReadFileBytes(Out("direct.svg")), ReadFileBytes(Out("Figure.SVG")));
    EXPECT_EQ(layer.SaveBitmap(Out("missing/direct.svg"), *rendered, params), ImageError::CannotWrite);

    // A figure that needs more pages than a person would print is refused
    // before anything is drawn or written.
    record = RecordWithHeight(40000.0);
    FakePrompts prompts;
    prompts.answer = Out("huge.pdf");
    EXPECT_EQ(ExportImageFile(&record, shown, prompts, layer), 0);
    EXPECT_EQ(prompts.errors.at(0), "Cannot create the image");
    EXPECT_FALSE(FileExists(Out("huge.pdf")));
}

TEST_F(SvgRenderTest, EveryKindOfFigureIsWrittenAndRenderersReadIt)
{
    const bool render = HaveRsvg();
    for (const char* height : {"254.884", "-100", "0.5", "10000", "3e9"}) {
        std::string expected;
        ASSERT_EQ(DecagonSvgText(RecordWithHeight(ParseNumber(height)), expected), 1);
        const ProcessResult result = Run({"--height", height, "--svg", Out("figure.svg")});
        EXPECT_EQ(result.exitStatus, 0) << height;
        EXPECT_EQ(result.err, ""); // silent on success
        EXPECT_EQ(ReadFileBytes(Out("figure.svg")), expected);
        if (!render)
            continue;
        const std::string command = "rsvg-convert -w 64 -h 64 -o '" + Out("figure.png") + "' '" + Out("figure.svg") +
                                    "' 2>'" + Out("errors") + "'";
        EXPECT_EQ(std::system(command.c_str()), 0) << height << ": " << ReadFileBytes(Out("errors"));
        const QImage image(QString::fromStdString(Out("figure.png")));
        ASSERT_EQ(image.width(), 64) << height;
        // The background fills the corners; where the pens are wide enough
        // to show at this size, the figure's colours show too.
        EXPECT_EQ(image.pixel(0, 0), PixelOf(PaletteColor(kDefaultBackgroundColor))) << height;
        std::set<QRgb> colours;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x)
                colours.insert(image.pixel(x, y));
        if (std::abs(ParseNumber(height)) <= 1000.0) {
            EXPECT_GT(colours.size(), 4u) << height;
        }
    }
    if (!render)
        GTEST_SKIP() << "rsvg-convert is not installed";
}
