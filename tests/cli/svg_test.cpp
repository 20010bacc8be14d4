#include "model/geometry.h"
#include "render/figure.h"
#include "render/palette.h"
#include "render/svg.h"
#include "tests/cli/svgparse.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

std::string SvgOf(const DecagonRecord& record)
{
    std::string svg;
    EXPECT_EQ(DecagonSvgText(record, svg), 1);
    return svg;
}

std::vector<std::string> Names(const std::vector<SvgTag>& tags)
{
    std::vector<std::string> names;
    for (const SvgTag& tag : tags)
        names.push_back(tag.name);
    return names;
}

} // namespace

TEST(SvgFigure, IsASquareInMillimetresOfTheHeight)
{
    struct Case {
        double height;
        const char* size;
        const char* viewBox;
    };
    const Case cases[] = {
        {254.884, "254.884mm", "0 0 254.884 254.884"},
        {10000.0, "10000mm", "0 0 10000 10000"},
        {0.0, "100mm", "0 0 100 100"}, // the computation's replacement height
        {0.5, "0.5mm", "0 0 0.5 0.5"},
        {3e9, "3000000000mm", "0 0 3000000000 3000000000"},
        {-100.0, "100mm", "-100 -100 100 100"},
    };
    for (const Case& c : cases) {
        const std::vector<SvgTag> tags = SvgTags(SvgOf(RecordWithHeight(c.height)));
        ASSERT_FALSE(tags.empty());
        EXPECT_EQ(tags[0].name, "svg");
        EXPECT_EQ(tags[0].Attribute("xmlns"), "http://www.w3.org/2000/svg");
        EXPECT_EQ(tags[0].Attribute("width"), c.size) << c.height;
        EXPECT_EQ(tags[0].Attribute("height"), c.size) << c.height;
        EXPECT_EQ(tags[0].Attribute("viewBox"), c.viewBox) << c.height;
    }
    // Pens of one unit, thinner for figures below 100 units.
    EXPECT_DOUBLE_EQ(SvgPenWidth(-50.0), 0.5);
    const std::vector<SvgTag> tiny = SvgTags(SvgOf(RecordWithHeight(0.5)));
    EXPECT_EQ(tiny.at(3).Attribute("stroke-width"), "0.005");
    EXPECT_EQ(tiny.at(6).Attribute("stroke-dasharray"), "0.015 0.015");
}

TEST(SvgFigure, HasTheRastersElementsInItsOrderAndColours)
{
    DecagonRecord record = RecordWithHeight(254.884);
    record.diagonalColors[3] = 44;
    const std::vector<SvgTag> tags = SvgTags(SvgOf(record));
    // svg, title, background, external circle, the dotted circle's group
    // of two, the outline, ten fans of nine lines.
    std::vector<std::string> expected = {"svg", "title", "rect", "circle", "g", "circle", "circle", "polygon"};
    for (int fan = 0; fan < kVertexCount; ++fan) {
        expected.push_back("g");
        expected.insert(expected.end(), kVertexCount - 1, "line");
    }
    ASSERT_EQ(Names(tags), expected);

    const std::string background = SvgColor(PaletteColor(record.backgroundColor));
    EXPECT_EQ(tags[2].Attribute("fill"), background);
    EXPECT_EQ(tags[2].Attribute("width"), "254.884");

    EXPECT_EQ(tags[3].Attribute("id"), "external-circle");
    EXPECT_EQ(tags[3].Attribute("stroke"), SvgColor(PaletteColor(record.externalCircleColor)));
    EXPECT_EQ(tags[3].Attribute("fill"), background);
    EXPECT_EQ(tags[3].Attribute("r"), "127.442");
    EXPECT_EQ(tags[3].Attribute("stroke-width"), "1");

    // The dotted circle: white under, dashes of the circle's colour over it.
    EXPECT_EQ(tags[4].Attribute("id"), "internal-circle");
    EXPECT_EQ(tags[5].Attribute("stroke"), "#ffffff");
    EXPECT_EQ(tags[5].Attribute("fill"), background);
    EXPECT_EQ(tags[6].Attribute("stroke"), SvgColor(PaletteColor(record.internalCircleColor)));
    EXPECT_EQ(tags[6].Attribute("fill"), "none");
    EXPECT_EQ(tags[6].Attribute("stroke-dasharray"), "3 3");
    for (int i : {5, 6}) {
        EXPECT_DOUBLE_EQ(tags[i].Number("r"), std::round(record.internalRadius * 1e6) / 1e6);
        EXPECT_EQ(tags[i].Attribute("cx"), "127.442");
    }

    EXPECT_EQ(tags[7].Attribute("stroke"), SvgColor(PaletteColor(record.outlineColor)));
    EXPECT_EQ(tags[7].Attribute("fill"), "none");

    // Fan k starts at row 9 - k and takes row k's colour.
    FigurePlan plan;
    ASSERT_EQ(PlanFigure(record, plan), 1);
    for (int fan = 0; fan < kVertexCount; ++fan) {
        const SvgTag& group = tags[8 + fan * kVertexCount];
        EXPECT_EQ(group.Attribute("id"), std::string("diagonals-") + VertexTable[fan].label);
        EXPECT_EQ(group.Attribute("stroke"), SvgColor(PaletteColor(record.diagonalColors[fan])));
        const SvgTag& first = tags[8 + fan * kVertexCount + 1];
        EXPECT_EQ(first.depth, group.depth + 1);
        EXPECT_NEAR(first.Number("x1"), plan.exactPoints[9 - fan].x, 1e-6);
        EXPECT_NEAR(first.Number("y1"), plan.exactPoints[9 - fan].y, 1e-6);
    }
}

TEST(SvgFigure, DrawsAtTheExactCoordinates)
{
    for (double height : {254.884, 100.0, 10000.0, 7.25}) {
        const DecagonRecord record = RecordWithHeight(height);
        FigurePlan plan;
        ASSERT_EQ(PlanExactFigure(record, plan), 1);
        const std::vector<SvgTag> tags = SvgTags(SvgOf(record));
        const std::vector<double> points = SvgNumbers(tags.at(7).Attribute("points"));
        ASSERT_EQ(points.size(), 2u * kVertexCount);
        for (int row = 0; row < kVertexCount; ++row) {
            EXPECT_NEAR(points[2 * row], plan.exactPoints[row].x, height * 1e-8) << height;
            EXPECT_NEAR(points[2 * row + 1], plan.exactPoints[row].y, height * 1e-8) << height;
        }
        // E8 lies on the right edge and E3 on the left, on the centre line.
        EXPECT_EQ(points[4], height);
        EXPECT_EQ(points[14], 0.0);
        EXPECT_EQ(points[5], height / 2);
    }
}

TEST(SvgFigure, FollowsTheOptions)
{
    DecagonRecord record = RecordWithHeight(254.884);
    record.showExternalCircle = 0;
    record.showInternalCircle = 2; // only exactly 1 draws
    record.diagonalChoice = 11;    // the fan labelled E5: from E6, in E5's colour
    std::vector<SvgTag> tags = SvgTags(SvgOf(record));
    std::vector<std::string> expected = {"svg", "title", "rect", "polygon", "g"};
    expected.insert(expected.end(), kVertexCount - 1, "line");
    ASSERT_EQ(Names(tags), expected);
    EXPECT_EQ(tags[4].Attribute("id"), "diagonals-E5");
    EXPECT_EQ(tags[4].Attribute("stroke"), SvgColor(PaletteColor(record.diagonalColors[9])));

    record.diagonalChoice = 0;
    tags = SvgTags(SvgOf(record));
    EXPECT_EQ(Names(tags), (std::vector<std::string>{"svg", "title", "rect", "polygon"}));
}

TEST(SvgFigure, ANegativeHeightDrawsTheComputedFigureNegated)
{
    const std::vector<SvgTag> negative = SvgTags(SvgOf(RecordWithHeight(-100.0)));
    const std::vector<SvgTag> positive = SvgTags(SvgOf(RecordWithHeight(100.0)));
    ASSERT_EQ(Names(negative), Names(positive));
    EXPECT_EQ(negative[2].Attribute("x"), "-100");
    EXPECT_EQ(negative[3].Attribute("cx"), "-50");
    EXPECT_EQ(negative[3].Attribute("r"), "50");
    EXPECT_EQ(negative[5].Attribute("r"), positive[5].Attribute("r"));
    const std::vector<double> a = SvgNumbers(negative[7].Attribute("points"));
    const std::vector<double> b = SvgNumbers(positive[7].Attribute("points"));
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t i = 0; i < a.size(); ++i)
        EXPECT_DOUBLE_EQ(a[i], -b[i]);
}

TEST(SvgFigure, RefusesOnlyWhatHasNoFiniteSize)
{
    std::string svg = "old";
    DecagonRecord record = RecordWithHeight(100.0);
    record.expectedHeight = std::nan("");
    EXPECT_EQ(DecagonSvgText(record, svg), 0);
    EXPECT_TRUE(svg.empty());
    record.expectedHeight = INFINITY;
    EXPECT_EQ(DecagonSvgText(record, svg), 0);
    // A size too small to be written with any useful digits.
    EXPECT_EQ(DecagonSvgText(RecordWithHeight(1e-70), svg), 0);
    EXPECT_EQ(DecagonSvgText(RecordWithHeight(1e-6), svg), 1);
    EXPECT_NE(svg.find("width=\"0.000001mm\""), std::string::npos);
    EXPECT_EQ(DecagonSvgText(RecordWithHeight(1e300), svg), 1);
}

TEST(SvgFigure, NumbersIgnoreTheLocale)
{
    const DecagonRecord record = RecordWithHeight(254.884);
    const std::string classic = SvgOf(record);
    if (!UseCommaLocale())
        GTEST_SKIP() << "no locale with a decimal comma";
    const std::string comma = SvgOf(record);
    UseClassicLocale();
    EXPECT_EQ(comma, classic);
    EXPECT_NE(classic.find("width=\"254.884mm\""), std::string::npos);
}
