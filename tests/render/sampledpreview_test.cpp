// The sampled preview against the canvas it stands in for: painting the
// figure at its natural size and copying it scaled into a white box must give
// the very same pixels.
#include "model/record.h"
#include "render/canvas.h"
#include "render/figure.h"
#include "render/painter.h"
#include "render/sampledpreview.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace {

// The box as painting the whole canvas and copying it gives it.
Canvas PaintedBox(const FigurePlan& plan, int boxWidth, int boxHeight)
{
    Canvas canvas, box;
    EXPECT_EQ(MakeCanvas(plan.side, plan.side, canvas), 1);
    EXPECT_EQ(MakeCanvas(boxWidth, boxHeight, box), 1);
    PaintPlan(canvas, plan);
    FillRect(box, {0, 0, boxWidth, boxHeight}, kWhite);
    const auto side = static_cast<std::uint32_t>(plan.side);
    const FittedSize fitted =
        FitIntoBox(side, side, static_cast<std::uint32_t>(boxWidth), static_cast<std::uint32_t>(boxHeight));
    CopyScaled(canvas, box, {0, 0, static_cast<std::int32_t>(fitted.width), static_cast<std::int32_t>(fitted.height)});
    return box;
}

Canvas SampledBox(const FigurePlan& plan, int boxWidth, int boxHeight)
{
    Canvas box;
    EXPECT_EQ(MakeCanvas(boxWidth, boxHeight, box), 1);
    for (int y = 0; y < boxHeight; ++y)
        std::fill(box.Row(y), box.Row(y) + boxWidth, 0xFF123456u);
    SamplePreview(plan, box);
    return box;
}

// Empty when both agree, else where they first differ.
std::string FirstDifference(const Canvas& painted, const Canvas& sampled)
{
    if (painted.width != sampled.width || painted.height != sampled.height)
        return "sizes differ";
    for (int y = 0; y < painted.height; ++y)
        for (int x = 0; x < painted.width; ++x)
            if (PixelAt(painted, x, y) != PixelAt(sampled, x, y))
                return "box pixel (" + std::to_string(x) + ", " + std::to_string(y) + "): painted " +
                       std::to_string(PixelAt(painted, x, y)) + ", sampled " + std::to_string(PixelAt(sampled, x, y));
    return {};
}

void ExpectSameBox(const FigurePlan& plan, int boxWidth, int boxHeight, const std::string& what)
{
    EXPECT_EQ(FirstDifference(PaintedBox(plan, boxWidth, boxHeight), SampledBox(plan, boxWidth, boxHeight)), "")
        << what;
}

void ExpectSamePreview(const DecagonRecord& record, const std::string& what)
{
    FigurePlan plan;
    ASSERT_EQ(PlanFigure(record, plan), 1) << what;
    ExpectSameBox(plan, kPreviewSize, kPreviewSize, what);
}

std::string Describe(const DecagonRecord& record)
{
    return "height " + std::to_string(record.expectedHeight) + ", diagonals " + std::to_string(record.diagonalChoice) +
           ", circles " + std::to_string(record.showExternalCircle) + "/" + std::to_string(record.showInternalCircle) +
           ", background " + std::to_string(record.backgroundColor);
}

// Every colour position of the record from the generator, some of them
// equal on purpose so that elements of one colour meet.
void ShuffleColours(DecagonRecord& record, std::mt19937& random)
{
    std::uniform_int_distribution<int> position(0, kPaletteSize - 1);
    record.backgroundColor = position(random);
    record.outlineColor = position(random) % 4 == 0 ? record.backgroundColor : position(random);
    record.externalCircleColor = position(random);
    record.internalCircleColor = position(random) % 4 == 0 ? record.externalCircleColor : position(random);
    for (std::int32_t& colour : record.diagonalColors)
        colour = position(random);
}

// The record with these diagonals and circle flags and shuffled colours,
// previewed both ways.
void ExpectSamePreviewWith(DecagonRecord record, std::int32_t choice, std::int32_t external, std::int32_t internal,
                           std::mt19937& random)
{
    record.diagonalChoice = choice;
    record.showExternalCircle = external;
    record.showInternalCircle = internal;
    ShuffleColours(record, random);
    ExpectSamePreview(record, Describe(record));
}

} // namespace

// Every side from 1 to 600, each with the height's fraction, the diagonal
// choice (out-of-range codes included), the circle flags and the colours
// varying from side to side.
TEST(SamplePreview, MatchesThePaintedCanvasForEverySideUpTo600)
{
    const double fractions[] = {0.0, 0.884, 0.5, 0.999, 0.25};
    std::mt19937 random(14);
    for (int side = 1; side <= 600; ++side) {
        // External circle flags 0, 1 and 2 (not shown).
        ExpectSamePreviewWith(RecordWithHeight(side + fractions[side % 5]), side % 14 - 1, (side / 2) % 3,
                              (side / 3) % 2, random);
        if (HasFailure())
            return;
    }
}

// Every diagonal choice with every pair of circle flags at sides where
// the box enlarges the figure, barely shrinks it or shrinks it a lot.
TEST(SamplePreview, MatchesForEveryChoiceAndCircleOption)
{
    std::mt19937 random(7);
    for (const double height : {1.0, 2.7, 7.0, 125.5, 249.0, 250.0, kDefaultExpectedHeight, 255.0, 501.0, 777.7}) {
        for (std::int32_t choice = -1; choice <= 12; ++choice)
            for (const std::int32_t external : {0, 1, 2})
                for (const std::int32_t internal : {0, 1, -1})
                    ExpectSamePreviewWith(RecordWithHeight(height), choice, external, internal, random);
        if (HasFailure())
            return;
    }
}

// Larger figures, up to sides whose canvas takes hundreds of megabytes: the
// sampled rows and columns are then far apart and the dotted circle's dots
// and the lines' steps fall between them.
TEST(SamplePreview, MatchesAtLargeSides)
{
    std::mt19937 random(39746);
    std::vector<double> heights = {1024.5, 4999.884, 10000.0};
    std::uniform_real_distribution<double> spread(601.0, 3000.0);
    for (int i = 0; i < 3; ++i)
        heights.push_back(spread(random));
    for (const double height : heights)
        ExpectSamePreviewWith(RecordWithHeight(height), 1, 1, 1, random);
}

// A record that the geometry did not produce: radii and points that do not
// match the height, circles larger than the canvas or off its centre, and
// vertices beyond every edge.
TEST(SamplePreview, MatchesWhenTheFigureLeavesTheCanvas)
{
    std::mt19937 random(3);
    std::uniform_real_distribution<double> scale(0.2, 3.0);
    for (int i = 0; i < 60; ++i) {
        DecagonRecord record = RecordWithHeight(40.0 + 11.0 * i);
        const double factor = scale(random);
        record.externalRadius *= factor;
        record.internalRadius *= scale(random);
        for (VertexPoint& vertex : record.vertices) {
            vertex.x *= factor * scale(random);
            vertex.y *= factor * scale(random);
        }
        ExpectSamePreviewWith(record, 1, 1, 1, random);
    }
}

// Plans of random elements: ellipses of any proportion, flat, inverted or
// partly outside the canvas, and segments in every direction reaching far
// beyond it, sampled into boxes of several shapes.
TEST(SamplePreview, MatchesForArbitraryElementsAndBoxes)
{
    std::mt19937 random(2026);
    const int boxes[][2] = {{250, 250}, {173, 250}, {250, 91}, {1, 1}, {600, 600}, {3, 400}};
    for (int round = 0; round < 240; ++round) {
        std::uniform_int_distribution<int> sides(1, round % 3 == 0 ? 700 : 60);
        FigurePlan plan;
        plan.side = sides(random);
        const int side = plan.side;
        std::uniform_int_distribution<int> near(-side / 2 - 3, side + side / 2 + 3);
        std::uniform_int_distribution<int> far(-3 * side - 100, 3 * side + 100);
        std::uniform_int_distribution<std::uint32_t> colour(0, 0xFFFFFF);
        FigureElement fill{};
        fill.kind = FigureElementKind::Fill;
        fill.color = colour(random);
        fill.box = {0, 0, side, side};
        plan.elements.push_back(fill);
        for (int i = 0; i < 12; ++i) {
            FigureElement element{};
            element.color = colour(random);
            element.interior = colour(random);
            if (random() % 3 == 0) {
                element.kind = random() % 5 == 0 ? FigureElementKind::Fill : FigureElementKind::Ellipse;
                element.penStyle = random() % 2 == 0 ? PenStyle::Dotted : PenStyle::Solid;
                auto& pick = random() % 4 == 0 ? far : near;
                element.box = {pick(random), pick(random), pick(random), pick(random)};
                if (random() % 3 != 0) { // mostly proper boxes, sometimes inverted ones
                    if (element.box.right < element.box.left)
                        std::swap(element.box.left, element.box.right);
                    if (element.box.bottom < element.box.top)
                        std::swap(element.box.top, element.box.bottom);
                }
            } else {
                element.kind = FigureElementKind::Segment;
                auto& pick = random() % 4 == 0 ? far : near;
                element.from = {pick(random), pick(random)};
                element.to = random() % 8 == 0 ? element.from : PixelPoint{pick(random), pick(random)};
            }
            plan.elements.push_back(element);
        }
        const auto& box = boxes[round % 6];
        ExpectSameBox(plan, box[0], box[1], "round " + std::to_string(round) + ", side " + std::to_string(side));
        if (HasFailure())
            return;
    }
}

// One pixel of a plan's canvas, whatever the side: the plan moved so that
// the pixel lands on a canvas of one pixel, and painted there. Every rule of
// the painter depends only on positions relative to the element, so moving
// changes nothing but which pixel is kept.
Pixel PaintedPixel(const FigurePlan& plan, std::int32_t x, std::int32_t y)
{
    FigurePlan moved;
    moved.side = 1;
    moved.elements = plan.elements;
    for (FigureElement& element : moved.elements) {
        element.box = {element.box.left - x, element.box.top - y, element.box.right - x, element.box.bottom - y};
        element.from = {element.from.x - x, element.from.y - y};
        element.to = {element.to.x - x, element.to.y - y};
    }
    Canvas canvas;
    EXPECT_EQ(MakeCanvas(1, 1, canvas), 1);
    PaintPlan(canvas, moved);
    return PixelAt(canvas, 0, 0);
}

// Heights whose canvas this machine (or any) could not hold still preview,
// and each box pixel shows the canvas pixel under its centre, painted alone.
TEST(SamplePreview, PreviewsHeightsBeyondAnyCanvas)
{
    for (const double height : {39746.0, 1e6, 1e9}) {
        DecagonRecord record = RecordWithHeight(height);
        record.showExternalCircle = 1;
        record.showInternalCircle = 1;
        record.diagonalChoice = 1;
        FigurePlan plan;
        ASSERT_EQ(PlanFigure(record, plan), 1);
        const Canvas box = SampledBox(plan, kPreviewSize, kPreviewSize);
        EXPECT_EQ(PixelAt(box, 125, 125), PixelOf(PaletteColor(record.backgroundColor))) << height;
        const std::int64_t side = plan.side;
        auto under = [&](int j) { return static_cast<std::int32_t>((2 * j + 1) * side / (2 * kPreviewSize)); };
        for (int y = 0; y < kPreviewSize; y += 9)
            for (int x = 0; x < kPreviewSize; ++x)
                ASSERT_EQ(PixelAt(box, x, y), PaintedPixel(plan, under(x), under(y)))
                    << "height " << height << ", box pixel (" << x << ", " << y << ")";
    }
    // The largest side a height can give.
    FigurePlan plan;
    ASSERT_EQ(PlanFigure(RecordWithHeight(2147483647.0), plan), 1);
    EXPECT_EQ(PixelAt(SampledBox(plan, kPreviewSize, kPreviewSize), 125, 125),
              PixelOf(PaletteColor(RecordWithHeight(1.0).backgroundColor)));
}

// Heights below one give no pixels: the box stays white. A stride wider
// than the box leaves the words between the rows alone.
TEST(SamplePreview, WhiteBoxForNoPixelsAndRowsKeptApart)
{
    FigurePlan plan;
    ASSERT_EQ(PlanFigure(RecordWithHeight(0.5), plan), 1);
    ASSERT_EQ(plan.side, 0);
    std::vector<std::uint32_t> pixels(12 * 10, 7u);
    // A box of 10 x 10 over rows of 12 words.
    Canvas box{10, 10, 12 * sizeof(Pixel), std::shared_ptr<Pixel[]>(pixels.data(), [](Pixel*) {})};
    SamplePreview(plan, box);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x)
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 12 + x)], x < 10 ? 0xFFFFFFFFu : 7u) << x << ", " << y;

    ASSERT_EQ(PlanFigure(RecordWithHeight(300.0), plan), 1);
    std::fill(pixels.begin(), pixels.end(), 7u);
    SamplePreview(plan, box);
    for (int y = 0; y < 10; ++y)
        for (int x = 10; x < 12; ++x)
            EXPECT_EQ(pixels[static_cast<std::size_t>(y * 12 + x)], 7u) << x << ", " << y;
    EXPECT_EQ(pixels[5 * 12 + 5], 0xFF000000u | PixelOf(PaletteColor(RecordWithHeight(300.0).backgroundColor)));
}
