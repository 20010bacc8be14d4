// The printable PDF's layout and file structure, the paper, and the
// options that size the figure; the pictures themselves are read back by
// independent programs in drawings_check.py.
#include "cli/cli.h"
#include "export/truescalefile.h"
#include "render/dxf.h"
#include "render/paper.h"
#include "render/pdf.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

CliRequest Parse(std::vector<const char*> arguments, CliOptions& options, std::string& message)
{
    arguments.insert(arguments.begin(), "decagon-cli");
    return ParseCliArguments(static_cast<int>(arguments.size()), arguments.data(), options, message);
}

PdfOptions OnPaper(PaperKind kind, double overlap = 10.0)
{
    PdfOptions options;
    options.paper = PaperOfKind(kind);
    options.overlapMm = overlap;
    return options;
}

} // namespace

TEST(PdfLayout, TheOrientationWithFewerPagesWithinTheBound)
{
    PdfOptions square = OnPaper(PaperKind::Custom);
    square.paper = Paper{PaperKind::Custom, 700.0, 700.0};
    struct Case {
        double figureMm;
        PdfOptions options;
        int accepted;
        bool landscape;
        int columns;
        int rows;
        int pages;
    };
    const Case cases[] = {
        // Fits the upright drawing area (190 x 217 on A4, 195.9 x 198.6 on
        // Letter, whose foot holds the 2 inch square too): one page.
        {150.0, OnPaper(PaperKind::A4), 1, false, 1, 1, 1},
        {195.0, OnPaper(PaperKind::Letter), 1, false, 1, 1, 1},
        // 2 x 2 upright against 1 x 3 across, plus the overview.
        {254.884, OnPaper(PaperKind::A4), 1, true, 1, 3, 4},
        {2000.0, OnPaper(PaperKind::A4), 1, false, 12, 10, 121},
        {600.0, square, 1, false, 1, 1, 1},
        // 34 x 29 tiles and the overview; one row more passes the bound.
        {6000.0, OnPaper(PaperKind::A4), 1, false, 34, 29, 987},
        {6100.0, OnPaper(PaperKind::A4), 0, false, 0, 0, 0},
        {1e6, OnPaper(PaperKind::A3), 0, false, 0, 0, 0},
        // An overlap as wide as the drawing area leaves no step.
        {500.0, OnPaper(PaperKind::A4, 190.0), 0, false, 0, 0, 0},
        // Nothing to draw.
        {0.0, OnPaper(PaperKind::A4), 0, false, 0, 0, 0},
        {-5.0, OnPaper(PaperKind::A4), 0, false, 0, 0, 0},
        {NAN, OnPaper(PaperKind::A4), 0, false, 0, 0, 0},
        {INFINITY, OnPaper(PaperKind::A4), 0, false, 0, 0, 0},
    };
    for (const Case& c : cases) {
        PdfLayout layout;
        ASSERT_EQ(PlanPdfLayout(c.figureMm, c.options, layout), c.accepted) << c.figureMm;
        if (!c.accepted)
            continue;
        EXPECT_EQ(layout.landscape, c.landscape) << c.figureMm;
        EXPECT_EQ(layout.columns, c.columns) << c.figureMm;
        EXPECT_EQ(layout.rows, c.rows) << c.figureMm;
        EXPECT_EQ(layout.pageCount, c.pages) << c.figureMm;
        // The tiles cover the figure, centred on it, and neighbours share the
        // overlap.
        const double right = TileLeftMm(layout, layout.columns - 1) + layout.areaWidthMm;
        const double bottom = TileTopMm(layout, layout.rows - 1) + layout.areaHeightMm;
        EXPECT_LE(TileLeftMm(layout, 0), 0.0);
        EXPECT_NEAR(-TileLeftMm(layout, 0), right - c.figureMm, 1e-9);
        EXPECT_NEAR(-TileTopMm(layout, 0), bottom - c.figureMm, 1e-9);
        if (layout.columns > 1) {
            EXPECT_NEAR(TileLeftMm(layout, 0) + layout.areaWidthMm - TileLeftMm(layout, 1), c.options.overlapMm, 1e-9);
        }
    }
}

TEST(PdfLayout, TileNamesCountColumnsInLettersAndRowsFromOne)
{
    const struct {
        int column;
        int row;
        const char* name;
    } cases[] = {{0, 0, "A1"}, {1, 2, "B3"}, {25, 0, "Z1"}, {26, 0, "AA1"}, {701, 9, "ZZ10"}, {702, 0, "AAA1"}};
    for (const auto& c : cases)
        EXPECT_EQ(TileName(c.column, c.row), c.name);
}

TEST(PdfFile, ExactPagesAConsistentIndexAndTheSameBytesEveryTime)
{
    struct Case {
        double height;
        PaperKind paper;
        LengthUnit unit;
        const char* mediaBox;
        int pages;
    };
    const Case cases[] = {
        {150.0, PaperKind::A4, LengthUnit::Millimetre, "[0 0 595.2756 841.8898]", 1},
        {254.884, PaperKind::A4, LengthUnit::Millimetre, "[0 0 841.8898 595.2756]", 4},
        {10.0, PaperKind::Letter, LengthUnit::Inch, "[0 0 792 612]", 3},
        {-40.0, PaperKind::Legal, LengthUnit::Centimetre, "[0 0 612 1008]", 7},
    };
    for (const Case& c : cases) {
        PdfOptions options = OnPaper(c.paper);
        options.unit = c.unit;
        std::string pdf;
        ASSERT_EQ(DecagonPdfBytes(RecordWithHeight(c.height), options, pdf), 1) << c.height;
        std::string again;
        DecagonPdfBytes(RecordWithHeight(c.height), options, again);
        EXPECT_EQ(pdf, again);
        EXPECT_EQ(pdf.rfind("%PDF-1.4\n", 0), 0u);
        EXPECT_NE(pdf.find("/MediaBox " + std::string(c.mediaBox)), std::string::npos) << c.height;
        EXPECT_NE(pdf.find("/Count " + std::to_string(c.pages) + " "), std::string::npos) << c.height;
        // The index points at every object, and startxref at the index.
        const std::size_t xref = pdf.rfind("\nxref\n") + 1;
        ASSERT_NE(xref, std::string::npos);
        EXPECT_NE(pdf.find("startxref\n" + std::to_string(xref) + "\n%%EOF\n"), std::string::npos);
        const int objects = std::atoi(pdf.c_str() + xref + 7) - 1;
        EXPECT_EQ(objects, 8 + 2 * c.pages);
        const std::size_t entries = pdf.find('\n', xref + 5) + 1; // after "xref" and "0 N"
        for (int object = 1; object <= objects; ++object) {
            const std::size_t offset = std::strtoul(pdf.c_str() + entries + 20 * object, nullptr, 10);
            EXPECT_EQ(pdf.compare(offset, std::to_string(object).size() + 6, std::to_string(object) + " 0 obj"), 0)
                << "object " << object << " of " << c.height;
        }
        // The figure is written once, whatever the page count.
        EXPECT_EQ(pdf.find("/Subtype /Form /BBox"), pdf.rfind("/Subtype /Form /BBox [0 0 ")) << c.height;
    }

    // Nothing to draw: below one unit, or beyond the page bound.
    for (double height : {0.5, -0.99, 1e7}) {
        std::string pdf = "old";
        EXPECT_EQ(DecagonPdfBytes(RecordWithHeight(height), OnPaper(PaperKind::A4), pdf), 0) << height;
        EXPECT_EQ(pdf, "");
    }
}

TEST(Paper, NamedSizedOrTheSystems)
{
    const struct {
        const char* text;
        bool accepted;
        PaperKind kind;
        double width;
        double height;
    } cases[] = {
        {"a4", true, PaperKind::A4, 210.0, 297.0},
        {"Letter", true, PaperKind::Letter, 215.9, 279.4},
        {"A3", true, PaperKind::A3, 297.0, 420.0},
        {"legal", true, PaperKind::Legal, 215.9, 355.6},
        {"700x700", true, PaperKind::Custom, 700.0, 700.0},
        {"420.5X100", true, PaperKind::Custom, 420.5, 100.0},
        {"99x200", false, PaperKind::A4, 0, 0},
        {"200x5081", false, PaperKind::A4, 0, 0},
        {"200x", false, PaperKind::A4, 0, 0},
        {"200 x 300", false, PaperKind::A4, 0, 0},
        {"1e3x200", false, PaperKind::A4, 0, 0},
        {"a5", false, PaperKind::A4, 0, 0},
    };
    for (const auto& c : cases) {
        Paper paper;
        ASSERT_EQ(ParsePaper(c.text, paper), c.accepted) << c.text;
        if (!c.accepted)
            continue;
        EXPECT_EQ(paper.kind, c.kind) << c.text;
        EXPECT_EQ(paper.widthMm, c.width) << c.text;
        EXPECT_EQ(paper.heightMm, c.height) << c.text;
    }
    EXPECT_EQ(PaperName(Paper{PaperKind::Custom, 420.5, 100.0}), "420.5x100");
    // glibc's LC_PAPER sizes and Windows' paper codes.
    EXPECT_EQ(PaperOfLocaleSize(216, 279).kind, PaperKind::Letter);
    EXPECT_EQ(PaperOfLocaleSize(210, 297).kind, PaperKind::A4);
    EXPECT_EQ(PaperOfLocaleSize(0, 0).kind, PaperKind::A4);
    EXPECT_EQ(PaperOfWindowsCode(1).kind, PaperKind::Letter);
    EXPECT_EQ(PaperOfWindowsCode(9).kind, PaperKind::A4);
    EXPECT_EQ(PaperOfWindowsCode(0).kind, PaperKind::A4);
    EXPECT_TRUE(PaperUsesInches(PaperOfKind(PaperKind::Legal)));
    EXPECT_FALSE(PaperUsesInches(PaperOfKind(PaperKind::A3)));
}

TEST(CliOptions, SizeByWhatYouKnowUnitPaperAndOverlap)
{
    const double sin18 = std::sin(3.14159265358979323846 / 10.0);
    const double cos18 = std::cos(3.14159265358979323846 / 10.0);
    const struct {
        std::vector<const char*> arguments;
        double height; // NAN: refused
        const char* message;
    } cases[] = {
        {{"--radius", "50"}, 100.0, ""},
        {{"--side", "78.763488"}, 78.763488 / sin18, ""},
        {{"--across-flats=100"}, 100.0 / cos18, ""},
        {{"--radius", "5", "--radius", "7"}, 14.0, ""},
        {{"--height", "10", "--side", "5"},
         NAN,
         "give only one of --height, --radius, --side and --across-flats, not --height and --side"},
        {{"--side", "abc"}, NAN, "the side \"abc\" is not a number"},
        {{"--across-flats", "1.75e308"}, NAN, "the width across flats gives a height too large"},
        {{"--unit", "ft"}, NAN, "--unit takes mm, cm or in, not \"ft\""},
        {{"--paper", "b5"},
         NAN,
         "--paper takes a4, letter, a3, legal or WIDTHxHEIGHT in millimetres (each side 100 to 5080), not \"b5\""},
        {{"--overlap", "-1"}, NAN, "the overlap \"-1\" is not between 0 and 100 (millimetres)"},
        {{"--overlap", "100.5"}, NAN, "the overlap \"100.5\" is not between 0 and 100 (millimetres)"},
        {{"--pdf", "-", "--dxf", "/dev/stdout"}, NAN, "only one of --pdf and --dxf can write to the standard output"},
        {{"--csv", "-", "--svg", "-", "--dxf", "-"},
         NAN,
         "only one of --csv, --svg and --dxf can write to the standard output"},
    };
    for (const auto& c : cases) {
        CliOptions options;
        std::string message;
        const CliRequest request = Parse(c.arguments, options, message);
        if (std::isnan(c.height)) {
            EXPECT_EQ(request, CliRequest::Invalid) << c.message;
            EXPECT_EQ(message, c.message);
            continue;
        }
        ASSERT_EQ(request, CliRequest::Run) << message;
        EXPECT_NEAR(options.height, c.height, 1e-9 * c.height) << c.arguments[0];
    }

    CliOptions options;
    std::string message;
    ASSERT_EQ(Parse({"--unit", "in", "--paper", "LETTER", "--overlap", "0", "--pdf", "x.pdf"}, options, message),
              CliRequest::Run);
    const PdfOptions pdf = CliPdfOptions(options);
    EXPECT_EQ(pdf.unit, LengthUnit::Inch);
    EXPECT_EQ(pdf.paper.kind, PaperKind::Letter);
    EXPECT_EQ(pdf.overlapMm, 0.0);
    EXPECT_EQ(pdf.marginMm, 10.0);
    EXPECT_TRUE(HasExtension("Figure.PDF", ".pdf"));
    EXPECT_FALSE(HasExtension(".pdf", ".pdf"));
}

TEST(DxfColours, NearestStandardColour)
{
    const struct {
        ColorValue color;
        int index;
    } cases[] = {
        {MakeColor(0, 0, 0), 7},         {MakeColor(255, 255, 255), 7}, {MakeColor(255, 0, 0), 1},
        {MakeColor(0, 0, 255), 5},       {MakeColor(128, 128, 128), 8}, {MakeColor(255, 63, 0), 20},
        {MakeColor(153, 153, 153), 252}, {MakeColor(76, 0, 0), 16},
    };
    for (const auto& c : cases)
        EXPECT_EQ(NearestAutoCadColor(c.color), c.index) << std::hex << c.color;
}
