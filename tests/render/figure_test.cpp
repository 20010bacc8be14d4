#include "model/geometry.h"
#include "model/numtext.h"
#include "model/record.h"
#include "render/figure.h"
#include "render/palette.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace {

FigurePlan Planned(const DecagonRecord& record)
{
    FigurePlan plan;
    EXPECT_EQ(PlanFigure(record, plan), 1);
    return plan;
}

std::vector<const FigureElement*> PartsOf(const FigurePlan& plan, FigurePart part)
{
    std::vector<const FigureElement*> found;
    for (const FigureElement& element : plan.elements)
        if (element.part == part)
            found.push_back(&element);
    return found;
}

// Start row, end row and colour row of every diagonal, in painting order.
std::vector<std::vector<int>> Diagonals(const FigurePlan& plan)
{
    std::vector<std::vector<int>> rows;
    for (const FigureElement* element : PartsOf(plan, FigurePart::Diagonal))
        rows.push_back({element->fromRow, element->toRow, element->colorRow});
    return rows;
}

std::vector<std::vector<int>> Fan(int startRow, int colorRow)
{
    std::vector<std::vector<int>> rows;
    for (int row = 0; row < kVertexCount; ++row)
        if (row != startRow)
            rows.push_back({startRow, row, colorRow});
    return rows;
}

void ExpectBox(const FigureElement* element, std::int32_t low, std::int32_t high)
{
    ASSERT_NE(element, nullptr);
    EXPECT_EQ(element->box.left, low);
    EXPECT_EQ(element->box.top, low);
    EXPECT_EQ(element->box.right, high);
    EXPECT_EQ(element->box.bottom, high);
}

} // namespace

TEST(DiagonalChoices, ListsNoneAllAndTheTenVerticesThenEnds)
{
    const char* labels[] = {"(None)", "All", "E6", "E7", "E8", "E9", "E10", "E1", "E2", "E3", "E4", "E5"};
    int rows = 0;
    while (DiagonalChoices[rows].code != -1) {
        ASSERT_LT(rows, kDiagonalChoiceCount);
        EXPECT_EQ(DiagonalChoices[rows].code, rows);
        EXPECT_STREQ(DiagonalChoices[rows].label, labels[rows]);
        ++rows;
    }
    EXPECT_EQ(rows, 12);
    EXPECT_EQ(sizeof DiagonalChoices[0].label, 32u);
    // The vertex rows name the vertices in table order.
    for (int row = 0; row < kVertexCount; ++row)
        EXPECT_STREQ(DiagonalChoices[row + 2].label, VertexTable[row].label);
}

TEST(FitIntoBox, KeepsTheSourceProportionsInsideTheBox)
{
    struct Case {
        std::uint32_t sw, sh, bw, bh, width, height;
    };
    const Case cases[] = {
        {500, 250, 250, 250, 250, 125}, {250, 500, 250, 250, 125, 250}, {300, 300, 250, 200, 200, 200},
        {400, 100, 250, 50, 200, 50},   {3, 1, 250, 250, 250, 83},      {100, 300, 250, 250, 83, 250},
        {1, 1, 250, 250, 250, 250},     {254, 254, 250, 250, 250, 250}, {40000, 40000, 250, 250, 250, 250},
        {0, 0, 250, 250, 0, 250},       {0, 7, 250, 250, 0, 250},       {7, 0, 250, 250, 250, 0},
    };
    for (const Case& c : cases) {
        const FittedSize fitted = FitIntoBox(c.sw, c.sh, c.bw, c.bh);
        EXPECT_EQ(fitted.width, c.width) << c.sw << "x" << c.sh << " into " << c.bw << "x" << c.bh;
        EXPECT_EQ(fitted.height, c.height) << c.sw << "x" << c.sh << " into " << c.bw << "x" << c.bh;
    }
}

TEST(FitIntoBox, StaysInsideTheBoxForExtremeSizes)
{
    const std::uint32_t sizes[] = {0, 1, 2, 3, 250, 65536, 2147483647u, 2147483648u, 4294967295u};
    for (std::uint32_t sw : sizes)
        for (std::uint32_t sh : sizes)
            for (std::uint32_t bw : sizes)
                for (std::uint32_t bh : sizes) {
                    const FittedSize fitted = FitIntoBox(sw, sh, bw, bh);
                    EXPECT_LE(fitted.width, bw) << sw << "x" << sh << " into " << bw << "x" << bh;
                    EXPECT_LE(fitted.height, bh) << sw << "x" << sh << " into " << bw << "x" << bh;
                    if (sw != 0 || sh != 0) {
                        EXPECT_TRUE(fitted.width == bw || fitted.height == bh);
                    }
                }
}

TEST(CanvasSide, IsTheHeightTruncatedWhenItFitsThirtyTwoBits)
{
    struct Case {
        double height;
        std::int32_t side;
    };
    const Case good[] = {{254.884, 254},
                         {255.0, 255},
                         {100.0, 100},
                         {0.5, 0},
                         {0.0, 0},
                         {-0.5, 0},
                         {-0.0, 0},
                         {1.0, 1},
                         {999999999.0, 999999999},
                         {2147483647.9, 2147483647}};
    for (const Case& c : good) {
        std::int32_t side = -7;
        EXPECT_EQ(CanvasSideOf(c.height, side), 1) << c.height;
        EXPECT_EQ(side, c.side) << c.height;
    }
    const double bad[] = {-1.0,
                          -5.0,
                          2147483648.0,
                          1e300,
                          ParseNumber("9e99999"),
                          -std::numeric_limits<double>::infinity(),
                          std::numeric_limits<double>::quiet_NaN()};
    for (double height : bad) {
        std::int32_t side = -7;
        EXPECT_EQ(CanvasSideOf(height, side), 0) << height;
        EXPECT_EQ(side, -7);
    }
}

TEST(CanvasSide, FitsTheBudgetByItsBytesWithoutOverflow)
{
    EXPECT_TRUE(CanvasWithinBudget(10000, 10000, 400000000u));
    EXPECT_FALSE(CanvasWithinBudget(10000, 10000, 399999999u));
    EXPECT_FALSE(CanvasWithinBudget(-1, 5, UINT64_MAX));
    EXPECT_FALSE(CanvasWithinBudget(2147483647, 2147483647, std::uint64_t{1} << 62));
}

TEST(FigurePlan, DefaultHeightPlacesCirclesAndVerticesOnWholePixels)
{
    const FigurePlan plan = Planned(RecordWithHeight(kDefaultExpectedHeight));
    EXPECT_EQ(plan.side, 254);
    EXPECT_EQ(plan.offset, 127);
    ExpectBox(PartsOf(plan, FigurePart::ExternalCircle).at(0), 0, 254);
    ExpectBox(PartsOf(plan, FigurePart::InternalCircle).at(0), 6, 247);
    const PixelPoint expected[kVertexCount] = {{166, 5},  {230, 52}, {254, 127}, {230, 201}, {166, 248},
                                               {87, 248}, {23, 201}, {0, 127},   {23, 52},   {87, 5}};
    for (int row = 0; row < kVertexCount; ++row) {
        EXPECT_EQ(plan.points[row].x, expected[row].x) << VertexTable[row].label;
        EXPECT_EQ(plan.points[row].y, expected[row].y) << VertexTable[row].label;
    }
}

TEST(FigurePlan, OtherHeightsMoveTheSideOffsetAndBoxes)
{
    const FigurePlan at255 = Planned(RecordWithHeight(255.0));
    const FigurePlan at254 = Planned(RecordWithHeight(kDefaultExpectedHeight));
    EXPECT_EQ(at255.side, 255);
    EXPECT_EQ(at255.offset, 127);
    ExpectBox(PartsOf(at255, FigurePart::ExternalCircle).at(0), 0, 255);
    for (int row = 0; row < kVertexCount; ++row) {
        EXPECT_EQ(at255.points[row].x, at254.points[row].x);
        EXPECT_EQ(at255.points[row].y, at254.points[row].y);
    }

    const FigurePlan at100 = Planned(RecordWithHeight(100.0));
    EXPECT_EQ(at100.side, 100);
    EXPECT_EQ(at100.offset, 50);
    EXPECT_EQ(at100.points[2].x, 100);
    EXPECT_EQ(at100.points[2].y, 50);
    ExpectBox(PartsOf(at100, FigurePart::ExternalCircle).at(0), 0, 100);

    const FigurePlan tiny = Planned(RecordWithHeight(0.5));
    EXPECT_EQ(tiny.side, 0);
    EXPECT_EQ(tiny.offset, 0);
}

TEST(FigurePlan, PaintsInTheFixedOrderWithPaletteColours)
{
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    record.diagonalChoice = 0;
    const FigurePlan plan = Planned(record);
    ASSERT_EQ(plan.elements.size(), 13u);

    const FigureElement& fill = plan.elements[0];
    EXPECT_EQ(fill.kind, FigureElementKind::Fill);
    EXPECT_EQ(fill.color, PaletteColor(record.backgroundColor));
    EXPECT_EQ(fill.box.left, 0);
    EXPECT_EQ(fill.box.right, 254);
    EXPECT_EQ(fill.box.bottom, 254);

    const FigureElement& external = plan.elements[1];
    EXPECT_EQ(external.part, FigurePart::ExternalCircle);
    EXPECT_EQ(external.kind, FigureElementKind::Ellipse);
    EXPECT_EQ(external.penStyle, PenStyle::Solid);
    EXPECT_EQ(external.color, PaletteColor(record.externalCircleColor));
    EXPECT_EQ(external.interior, PaletteColor(record.backgroundColor));

    const FigureElement& internal = plan.elements[2];
    EXPECT_EQ(internal.part, FigurePart::InternalCircle);
    EXPECT_EQ(internal.penStyle, PenStyle::Dotted);
    EXPECT_EQ(internal.color, PaletteColor(record.internalCircleColor));
    EXPECT_EQ(internal.interior, PaletteColor(record.backgroundColor));

    for (int side = 0; side < kVertexCount; ++side) {
        const FigureElement& segment = plan.elements[3 + side];
        EXPECT_EQ(segment.part, FigurePart::Outline);
        EXPECT_EQ(segment.kind, FigureElementKind::Segment);
        EXPECT_EQ(segment.color, PaletteColor(record.outlineColor));
        EXPECT_EQ(segment.fromRow, side);
        EXPECT_EQ(segment.toRow, (side + 1) % kVertexCount);
        EXPECT_EQ(segment.from.x, plan.points[side].x);
        EXPECT_EQ(segment.to.y, plan.points[(side + 1) % kVertexCount].y);
    }
}

TEST(FigurePlan, KeepsTheExactGeometryBesideThePixels)
{
    const DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    const FigurePlan plan = Planned(record);
    EXPECT_EQ(plan.exactSide, record.expectedHeight);
    EXPECT_EQ(plan.exactOffset, record.externalRadius);
    const FigureElement* external = PartsOf(plan, FigurePart::ExternalCircle).at(0);
    EXPECT_DOUBLE_EQ(external->exactCenter.x, 127.442);
    EXPECT_DOUBLE_EQ(external->exactCenter.y, 127.442);
    EXPECT_DOUBLE_EQ(external->exactDiameter, 254.884);
    const FigureElement* internal = PartsOf(plan, FigurePart::InternalCircle).at(0);
    EXPECT_DOUBLE_EQ(internal->exactDiameter, 2.0 * record.internalRadius);
    EXPECT_DOUBLE_EQ(internal->exactCenter.x, 127.442);
    const FigureElement* first = PartsOf(plan, FigurePart::Outline).at(0);
    EXPECT_DOUBLE_EQ(first->exactFrom.x, 127.442 + record.vertices[0].x);
    EXPECT_DOUBLE_EQ(first->exactFrom.y, 127.442 + record.vertices[0].y);
    EXPECT_DOUBLE_EQ(first->exactTo.x, 127.442 + record.vertices[1].x);
    // E8 lies exactly on the right edge of the true-scale square.
    EXPECT_DOUBLE_EQ(plan.exactPoints[2].x, 254.884);
}

TEST(FigurePlan, DiagonalChoiceSelectsTheMirroredFans)
{
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);

    record.diagonalChoice = 1;
    std::vector<std::vector<int>> all;
    for (int fan = 0; fan < kVertexCount; ++fan)
        for (const auto& segment : Fan(9 - fan, fan))
            all.push_back(segment);
    EXPECT_EQ(all.size(), 90u);
    EXPECT_EQ(Diagonals(Planned(record)), all);

    record.diagonalChoice = 2; // "E6": from E5 in E6's colour
    EXPECT_EQ(Diagonals(Planned(record)), Fan(9, 0));
    record.diagonalChoice = 6; // "E10": from E1, with the diameter to E6
    EXPECT_EQ(Diagonals(Planned(record)), Fan(5, 4));
    record.diagonalChoice = 11; // "E5": from E6 in E5's colour
    EXPECT_EQ(Diagonals(Planned(record)), Fan(0, 9));

    for (std::int32_t none : {0, 12, -1, std::numeric_limits<std::int32_t>::min()}) {
        record.diagonalChoice = none;
        EXPECT_TRUE(Diagonals(Planned(record)).empty()) << none;
    }
}

TEST(FigurePlan, DrawsACircleOnlyForAFlagOfExactlyOne)
{
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    for (std::int32_t flag : {0, 2, -1}) {
        record.showExternalCircle = flag;
        record.showInternalCircle = flag;
        const FigurePlan plan = Planned(record);
        EXPECT_TRUE(PartsOf(plan, FigurePart::ExternalCircle).empty()) << flag;
        EXPECT_TRUE(PartsOf(plan, FigurePart::InternalCircle).empty()) << flag;
    }
    record.showExternalCircle = 1;
    record.showInternalCircle = 0;
    const FigurePlan plan = Planned(record);
    EXPECT_EQ(PartsOf(plan, FigurePart::ExternalCircle).size(), 1u);
    EXPECT_TRUE(PartsOf(plan, FigurePart::InternalCircle).empty());
}

TEST(FigurePlan, ColourPositionsOutsideThePaletteDrawAsPositionZero)
{
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    record.outlineColor = 48;
    record.backgroundColor = -3;
    record.diagonalColors[4] = 1000;
    record.diagonalChoice = 6;
    const FigurePlan plan = Planned(record);
    EXPECT_EQ(plan.elements[0].color, PaletteColor(0));
    EXPECT_EQ(PartsOf(plan, FigurePart::Outline).at(0)->color, PaletteColor(0));
    EXPECT_EQ(PartsOf(plan, FigurePart::Diagonal).at(0)->color, PaletteColor(0));
}

TEST(FigurePlan, HeightsWithoutACanvasGiveNoPlan)
{
    for (const char* typed : {"-5", "nan", "9e99999", "1e300", "2147483648", "-inf"}) {
        DecagonRecord record = RecordWithHeight(ParseNumber(typed));
        FigurePlan plan;
        plan.elements.resize(3);
        EXPECT_EQ(PlanFigure(record, plan), 0) << typed;
        EXPECT_TRUE(plan.elements.empty()) << typed;
    }
}

TEST(FigurePlan, LeavesOutWhatHasNoFiniteCoordinatesAndSaturatesTheRest)
{
    // Records the computation never makes: the plan must still be safe.
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    record.externalRadius = std::numeric_limits<double>::quiet_NaN();
    record.internalRadius = std::numeric_limits<double>::infinity();
    ComputeVertices(&record);
    FigurePlan plan = Planned(record);
    ASSERT_EQ(plan.elements.size(), 1u);
    EXPECT_EQ(plan.elements[0].part, FigurePart::Background);

    record = RecordWithHeight(kDefaultExpectedHeight);
    record.externalRadius = 1e300;
    record.internalRadius = -1e300;
    ComputeVertices(&record);
    plan = Planned(record);
    const FigureElement* external = PartsOf(plan, FigurePart::ExternalCircle).at(0);
    EXPECT_EQ(external->box.left, std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(external->box.right, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(plan.points[2].x, std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(plan.points[7].x, 0); // 1e300 - 1e300
}
