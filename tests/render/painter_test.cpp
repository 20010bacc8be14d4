#include "model/geometry.h"
#include "model/numtext.h"
#include "model/record.h"
#include "render/canvas.h"
#include "render/painter.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <set>

namespace {

Canvas Painted(const DecagonRecord& record)
{
    std::int32_t side = 0;
    EXPECT_EQ(CanvasSideOf(record.expectedHeight, side), 1);
    Canvas canvas;
    EXPECT_EQ(MakeCanvas(side, side, canvas), 1);
    PaintFigure(canvas, record);
    return canvas;
}

ColorValue At(const Canvas& canvas, int x, int y) { return ColorOfPixel(PixelAt(canvas, x, y)); }

std::set<ColorValue> ColoursOf(const Canvas& canvas)
{
    std::set<ColorValue> colours;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            colours.insert(At(canvas, x, y));
    return colours;
}

// Same size and the same pixels; the bytes between rows are not looked at.
bool SamePixels(const Canvas& a, const Canvas& b)
{
    if (a.width != b.width || a.height != b.height)
        return false;
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x)
            if (PixelAt(a, x, y) != PixelAt(b, x, y))
                return false;
    return true;
}

// Options that show what the test says on top of the record's colours.
FigureOptions Shown(const DecagonRecord& record, std::int32_t external, std::int32_t internal, std::int32_t choice)
{
    FigureOptions options = FigureOptionsOf(record);
    options.showExternalCircle = external;
    options.showInternalCircle = internal;
    options.diagonalChoice = choice;
    return options;
}

ColorValue Diagonal(const DecagonRecord& record, int row) { return PaletteColor(record.diagonalColors[row]); }

// The default colours are all different, so a colour tells which part of the
// figure set a pixel.
DecagonRecord Plain(double height)
{
    DecagonRecord record = RecordWithHeight(height);
    record.diagonalChoice = 0;
    record.showExternalCircle = 0;
    record.showInternalCircle = 0;
    return record;
}

} // namespace

TEST(PaintFigure, DefaultOutlineStartsEachSideOnItsVertex)
{
    const DecagonRecord record = Plain(kDefaultExpectedHeight);
    const Canvas canvas = Painted(record);
    ASSERT_EQ(canvas.width, 254);
    const ColorValue outline = PaletteColor(record.outlineColor);
    const int points[kVertexCount][2] = {{166, 5},  {230, 52}, {254, 127}, {230, 201}, {166, 248},
                                         {87, 248}, {23, 201}, {0, 127},   {23, 52},   {87, 5}};
    for (int row = 0; row < kVertexCount; ++row) {
        if (row == 2)
            continue; // E8 lies one column past the canvas
        EXPECT_EQ(At(canvas, points[row][0], points[row][1]), outline) << VertexTable[row].label;
    }
    // The sides next to E8 reach the last column.
    int lastColumn = 0;
    for (int y = 0; y < 254; ++y)
        lastColumn += At(canvas, 253, y) == outline;
    EXPECT_GT(lastColumn, 0);
    EXPECT_EQ(At(canvas, 0, 0), PaletteColor(record.backgroundColor));
    EXPECT_EQ(At(canvas, 127, 127), PaletteColor(record.backgroundColor));
    EXPECT_EQ(ColoursOf(canvas), (std::set<ColorValue>{outline, PaletteColor(record.backgroundColor)}));
}

TEST(PaintFigure, CirclesFillTheirBoxesWithTheBackgroundInside)
{
    DecagonRecord record = Plain(255.0);
    record.showExternalCircle = 1;
    record.showInternalCircle = 1;
    const Canvas canvas = Painted(record);
    const ColorValue external = PaletteColor(record.externalCircleColor);
    const ColorValue internal = PaletteColor(record.internalCircleColor);
    // The circumscribed box (0, 0, 255, 255): its middle column touches the
    // top and bottom rows.
    EXPECT_EQ(At(canvas, 127, 0), external);
    EXPECT_EQ(At(canvas, 127, 254), external);
    EXPECT_EQ(At(canvas, 0, 0), PaletteColor(record.backgroundColor));
    // The dotted inscribed circle, box (6, 6, 247, 247) as for the default
    // height, shows its colour and white and nothing else on its top row.
    bool sawInternal = false, sawWhite = false;
    for (int x = 0; x < 255; ++x) {
        const ColorValue pixel = At(canvas, x, 6);
        sawInternal = sawInternal || pixel == internal;
        sawWhite = sawWhite || pixel == kWhite;
    }
    EXPECT_TRUE(sawInternal);
    EXPECT_TRUE(sawWhite);
    for (int x = 0; x < 255; ++x)
        EXPECT_NE(At(canvas, x, 5), internal) << x;
    EXPECT_EQ(At(canvas, 127, 127), PaletteColor(record.backgroundColor));
}

TEST(PaintFigure, CircleFlagsOtherThanOneDrawNoCircle)
{
    for (std::int32_t flag : {0, 2, -1}) {
        DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
        record.showExternalCircle = flag;
        record.showInternalCircle = flag;
        const std::set<ColorValue> colours = ColoursOf(Painted(record));
        EXPECT_EQ(colours.count(PaletteColor(record.externalCircleColor)), 0u) << flag;
        EXPECT_EQ(colours.count(PaletteColor(record.internalCircleColor)), 0u) << flag;
        EXPECT_EQ(colours.count(kWhite), 0u) << flag;
    }
}

TEST(PaintFigure, AllFansRepaintTheWholeOutline)
{
    for (double height : {kDefaultExpectedHeight, 255.0, 100.0, 37.5, 613.2}) {
        DecagonRecord record = RecordWithHeight(height);
        record.diagonalChoice = 1;
        const std::set<ColorValue> colours = ColoursOf(Painted(record));
        EXPECT_EQ(colours.count(PaletteColor(record.outlineColor)), 0u) << height;
        for (int row = 0; row < kVertexCount; ++row)
            EXPECT_EQ(colours.count(Diagonal(record, row)), 1u) << height << " row " << row;
    }
}

TEST(PaintFigure, OneFanStartsAtTheMirrorOfItsVertex)
{
    DecagonRecord record = Plain(kDefaultExpectedHeight);
    const ColorValue outline = PaletteColor(record.outlineColor);

    // "E6": the fan leaves E5 (87, 5) in E6's colour and repaints the top
    // side toward E6 (166, 5), whose own pixel stays the outline's.
    record.diagonalChoice = 2;
    Canvas canvas = Painted(record);
    for (int x = 87; x < 166; ++x)
        EXPECT_EQ(At(canvas, x, 5), Diagonal(record, 0)) << x;
    EXPECT_EQ(At(canvas, 166, 5), outline);
    EXPECT_EQ(ColoursOf(canvas).count(Diagonal(record, 9)), 0u);

    // "E5": the fan leaves E6 in E5's colour and stops short of E5.
    record.diagonalChoice = 11;
    canvas = Painted(record);
    EXPECT_EQ(At(canvas, 166, 5), Diagonal(record, 9));
    EXPECT_EQ(At(canvas, 88, 5), Diagonal(record, 9));
    EXPECT_EQ(At(canvas, 87, 5), outline);
    EXPECT_EQ(ColoursOf(canvas).count(Diagonal(record, 0)), 0u);

    // "E10": the fan leaves E1 (87, 248) and crosses the centre on its way to
    // E6 (166, 5).
    record.diagonalChoice = 6;
    canvas = Painted(record);
    EXPECT_EQ(At(canvas, 87, 248), Diagonal(record, 4));
    bool crossesMiddleRow = false;
    for (int x = 120; x < 135; ++x)
        crossesMiddleRow = crossesMiddleRow || At(canvas, x, 127) == Diagonal(record, 4);
    EXPECT_TRUE(crossesMiddleRow);
}

TEST(PaintFigure, OtherChoicesDrawNoDiagonals)
{
    for (std::int32_t choice : {0, 12, -1}) {
        DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
        record.diagonalChoice = choice;
        const std::set<ColorValue> colours = ColoursOf(Painted(record));
        for (int row = 0; row < kVertexCount; ++row)
            EXPECT_EQ(colours.count(Diagonal(record, row)), 0u) << choice;
        EXPECT_EQ(colours.count(PaletteColor(record.outlineColor)), 1u) << choice;
    }
}

TEST(PaintFigure, FanPaintersMatchTheChoicesThatUseThem)
{
    DecagonRecord record = Plain(kDefaultExpectedHeight);
    Canvas byHand = Painted(record);
    DrawAllFans(byHand, record);
    record.diagonalChoice = 1;
    EXPECT_TRUE(SamePixels(byHand, Painted(record)));

    record.diagonalChoice = 0;
    byHand = Painted(record);
    DrawVertexFan(byHand, record, 4, 5);
    record.diagonalChoice = 7; // "E1"
    EXPECT_TRUE(SamePixels(byHand, Painted(record)));

    const Canvas before = Painted(record);
    DrawVertexFan(byHand, record, 10, 0);
    DrawVertexFan(byHand, record, 0, -1);
    EXPECT_TRUE(SamePixels(byHand, before));
}

TEST(PaintPreviewBox, FitsTheFigureIntoTheWhiteBoxBesideTheClientAreasRightEdge)
{
    const DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    const DecagonRecord before = record;
    Canvas box;
    ASSERT_EQ(PaintPreviewBox(record, box), 1);
    ASSERT_EQ(box.width, 250);
    ASSERT_EQ(box.height, 250);
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
    const PixelPoint where = PreviewBoxPosition(700, 0);
    EXPECT_EQ(where.x, 440);
    EXPECT_EQ(where.y, 100);
    // Shrunk from 254: the corners are background, the circumscribed circle
    // still reaches the box's top row.
    const ColorValue background = PaletteColor(record.backgroundColor);
    EXPECT_EQ(At(box, 0, 0), background);
    EXPECT_EQ(At(box, 249, 249), background);
    bool circleOnTop = false;
    for (int x = 100; x < 150; ++x)
        circleOnTop = circleOnTop || At(box, x, 0) == PaletteColor(record.externalCircleColor);
    EXPECT_TRUE(circleOnTop);
}

TEST(PaintPreviewBox, EnlargesASmallFigureToTheWholeBox)
{
    DecagonRecord record = Plain(100.0);
    Canvas box;
    ASSERT_EQ(PaintPreviewBox(record, box), 1);
    // Every pixel of the box comes from the figure: none is left white.
    const std::set<ColorValue> colours = ColoursOf(box);
    EXPECT_EQ(colours, (std::set<ColorValue>{PaletteColor(record.backgroundColor), PaletteColor(record.outlineColor)}));
    // E3 at (0, 50) becomes the left edge at rows 125 and 126 (2.5 times).
    EXPECT_EQ(At(box, 0, 125), PaletteColor(record.outlineColor));
}

TEST(PaintPreviewBox, AHeightBelowOneShowsAWhiteBox)
{
    const DecagonRecord record = RecordWithHeight(0.5);
    Canvas box;
    ASSERT_EQ(PaintPreviewBox(record, box), 1);
    EXPECT_EQ(ColoursOf(box), std::set<ColorValue>{kWhite});
}

TEST(PaintPreviewBox, HeightsWithoutACanvasGiveNoBoxAndNoBitmap)
{
    // Nine typed characters allow all of these; none may crash, stall or
    // take the machine's memory.
    const auto started = std::chrono::steady_clock::now();
    for (const char* typed : {"999999999", "9e99999", "1e300", "nan", "-5", "-inf", "2147483648"}) {
        DecagonRecord record = RecordWithHeight(ParseNumber(typed));
        Canvas box;
        EXPECT_EQ(PaintPreviewBox(record, box), 0) << typed;
        EXPECT_FALSE(HasPixels(box));

        EXPECT_EQ(RenderFigureBitmap(&record, Shown(record, 1, 0, 4)), nullptr) << typed;
        EXPECT_EQ(record.showExternalCircle, 1);
        EXPECT_EQ(record.showInternalCircle, 0);
        EXPECT_EQ(record.diagonalChoice, 4);
    }
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(5));
    EXPECT_EQ(RenderFigureBitmap(nullptr, FigureOptions{}), nullptr);
}

TEST(RenderFigureBitmap, KeepsTheShownOptionsInTheRecordThenPaintsAtNaturalSize)
{
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    const auto bitmap = RenderFigureBitmap(&record, Shown(record, 0, 1, 6));
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 1);
    EXPECT_EQ(record.diagonalChoice, 6);
    EXPECT_EQ(bitmap->canvas.width, 254);
    EXPECT_EQ(bitmap->canvas.height, 254);
    EXPECT_TRUE(SamePixels(bitmap->canvas, Painted(record)));
    EXPECT_EQ(bitmap->plan.side, 254);
    EXPECT_EQ(bitmap->plan.elements.size(), 1u + 1u + 10u + 9u);

    // Export after "No" on both circles and no selection in the list.
    const auto plain = RenderFigureBitmap(&record, Shown(record, 0, 0, -1));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(record.showExternalCircle, 0);
    EXPECT_EQ(record.showInternalCircle, 0);
    EXPECT_EQ(record.diagonalChoice, -1);
    EXPECT_EQ(plain->plan.elements.size(), 1u + 10u);
    const std::set<ColorValue> colours = ColoursOf(plain->canvas);
    EXPECT_EQ(colours, (std::set<ColorValue>{PaletteColor(record.backgroundColor), PaletteColor(record.outlineColor)}));
}

TEST(RenderFigureBitmap, PaintsTheColoursOfTheOptionsAndLeavesTheRecordsColoursAlone)
{
    DecagonRecord record = Plain(100.0);
    const DecagonRecord before = record;
    FigureOptions options = Shown(record, 0, 0, 0);
    options.backgroundColor = 47;
    options.outlineColor = 1;
    const auto bitmap = RenderFigureBitmap(&record, options);
    ASSERT_NE(bitmap, nullptr);
    EXPECT_EQ(ColoursOf(bitmap->canvas), (std::set<ColorValue>{PaletteColor(47), PaletteColor(1)}));
    EXPECT_EQ(std::memcmp(&before, &record, sizeof record), 0);
}

TEST(RenderFigureBitmap, AHeightBelowOneGivesNoBitmap)
{
    DecagonRecord record = RecordWithHeight(0.5);
    EXPECT_EQ(RenderFigureBitmap(&record, Shown(record, 0, 0, 3)), nullptr);
    EXPECT_EQ(record.diagonalChoice, 3);
}
