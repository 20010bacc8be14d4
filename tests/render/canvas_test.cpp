#include "render/canvas.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <limits>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr ColorValue kBlack = 0x00000000;
constexpr ColorValue kRed = 0x000000FF;
constexpr ColorValue kGreen = 0x0000FF00;
constexpr ColorValue kBlue = 0x00FF0000;
constexpr std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kMax = std::numeric_limits<std::int32_t>::max();

Canvas Filled(std::int32_t width, std::int32_t height, ColorValue color)
{
    Canvas canvas;
    EXPECT_EQ(MakeCanvas(width, height, canvas), 1);
    FillRect(canvas, {0, 0, width, height}, color);
    return canvas;
}

ColorValue At(const Canvas& canvas, int x, int y) { return ColorOfPixel(PixelAt(canvas, x, y)); }

// The canvas as rows of characters, one per pixel: '.' for `blank`, '#' for
// `ink`, '?' for anything else.
std::vector<std::string> Picture(const Canvas& canvas, ColorValue blank, ColorValue ink)
{
    std::vector<std::string> rows;
    for (int y = 0; y < canvas.height; ++y) {
        std::string row;
        for (int x = 0; x < canvas.width; ++x) {
            const ColorValue color = At(canvas, x, y);
            row += color == blank ? '.' : color == ink ? '#' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

int Count(const Canvas& canvas, ColorValue color)
{
    int count = 0;
    for (int y = 0; y < canvas.height; ++y)
        for (int x = 0; x < canvas.width; ++x)
            count += At(canvas, x, y) == color;
    return count;
}

// Whether the pixels of `part` equal those of `whole` shifted by (dx, dy).
bool SameAsRegion(const Canvas& part, const Canvas& whole, int dx, int dy)
{
    for (int y = 0; y < part.height; ++y)
        for (int x = 0; x < part.width; ++x)
            if (PixelAt(part, x, y) != PixelAt(whole, x + dx, y + dy))
                return false;
    return true;
}

} // namespace

TEST(CanvasSegment, SetsItsStartPixelButNotItsEndPixel)
{
    Canvas canvas = Filled(8, 4, kBlack);
    DrawSegment(canvas, {1, 1}, {5, 1}, kRed);
    DrawSegment(canvas, {6, 3}, {6, 0}, kRed);
    EXPECT_EQ(Picture(canvas, kBlack, kRed), (std::vector<std::string>{
                                                 "........",
                                                 ".####.#.",
                                                 "......#.",
                                                 "......#.",
                                             }));
}

TEST(CanvasSegment, FromAPointToItselfSetsNothing)
{
    Canvas canvas = Filled(4, 4, kBlack);
    DrawSegment(canvas, {2, 2}, {2, 2}, kRed);
    DrawSegment(canvas, {0, 0}, {0, 0}, kRed);
    EXPECT_EQ(Count(canvas, kRed), 0);
}

TEST(CanvasSegment, SlopedSegmentsStepOnePixelPerColumnOrRow)
{
    // Every direction: one pixel per step of the longer axis, the start set,
    // the end not, and each pixel touching the one before.
    const PixelPoint ends[] = {{12, 3}, {3, 12}, {-2, 9}, {-9, 2}, {-12, -3}, {-3, -12}, {2, -9}, {9, -2}, {7, 7}};
    for (const PixelPoint end : ends) {
        Canvas canvas = Filled(32, 32, kBlack);
        const PixelPoint start{16, 16};
        const PixelPoint to{start.x + end.x, start.y + end.y};
        DrawSegment(canvas, start, to, kRed);
        const int steps = std::max(std::abs(end.x), std::abs(end.y));
        EXPECT_EQ(Count(canvas, kRed), steps) << end.x << "," << end.y;
        EXPECT_EQ(At(canvas, start.x, start.y), kRed);
        EXPECT_EQ(At(canvas, to.x, to.y), kBlack);
        // The pixel next to the end, toward the start, is set.
        const int nx = to.x - (end.x > 0) + (end.x < 0), ny = to.y - (end.y > 0) + (end.y < 0);
        bool nearEnd = false;
        for (int y = ny - 1; y <= ny + 1; ++y)
            for (int x = nx - 1; x <= nx + 1; ++x)
                nearEnd = nearEnd || (std::abs(x - to.x) <= 1 && std::abs(y - to.y) <= 1 && At(canvas, x, y) == kRed);
        EXPECT_TRUE(nearEnd) << end.x << "," << end.y;
    }
}

TEST(CanvasSegment, ClippingKeepsThePixelsOfTheWholeSegment)
{
    Canvas whole = Filled(100, 100, kBlack);
    DrawSegment(whole, {10, 20}, {93, 57}, kRed);
    DrawSegment(whole, {80, 5}, {47, 95}, kGreen);
    Canvas part = Filled(30, 30, kBlack);
    DrawSegment(part, {10 - 40, 20 - 30}, {93 - 40, 57 - 30}, kRed);
    DrawSegment(part, {80 - 40, 5 - 30}, {47 - 40, 95 - 30}, kGreen);
    EXPECT_GT(Count(part, kRed), 0);
    EXPECT_GT(Count(part, kGreen), 0);
    EXPECT_TRUE(SameAsRegion(part, whole, 40, 30));
}

TEST(CanvasSegment, FarEndPointsAreClippedWithoutWalkingToThem)
{
    Canvas canvas = Filled(50, 50, kBlack);
    const auto started = std::chrono::steady_clock::now();
    DrawSegment(canvas, {kMin, kMin}, {kMax, kMax}, kRed);
    DrawSegment(canvas, {kMax, 10}, {kMin, 10}, kGreen);
    DrawSegment(canvas, {kMin, kMin}, {kMin, kMax}, kBlue); // entirely off the canvas
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    for (int i = 0; i < 50; ++i) {
        if (i != 10) {
            EXPECT_EQ(At(canvas, i, i), kRed) << i;
        }
        EXPECT_EQ(At(canvas, i, 10), kGreen) << i;
    }
    EXPECT_EQ(Count(canvas, kRed) + Count(canvas, kGreen), 49 + 50);
    EXPECT_EQ(Count(canvas, kBlue), 0);
}

TEST(CanvasEllipse, StaysInsideItsBoxWhoseRightAndBottomAreExclusive)
{
    Canvas canvas = Filled(14, 11, kBlack);
    DrawEllipse(canvas, {2, 1, 12, 9}, PenStyle::Solid, kRed, kGreen);
    // Pixel (x, y) is in when its centre lies in the ellipse touching the
    // box: ((2x + 1 - 14) / 10)^2 + ((2y + 1 - 10) / 8)^2 <= 1.
    EXPECT_EQ(Picture(canvas, kBlack, kRed), (std::vector<std::string>{
                                                 "..............",
                                                 ".....####.....",
                                                 "...##????##...",
                                                 "..#????????#..",
                                                 "..#????????#..",
                                                 "..#????????#..",
                                                 "..#????????#..",
                                                 "...##????##...",
                                                 ".....####.....",
                                                 "..............",
                                                 "..............",
                                             }));
    EXPECT_EQ(At(canvas, 7, 5), kGreen);
    EXPECT_EQ(Count(canvas, kGreen), 4 + 8 * 4 + 4);
}

TEST(CanvasEllipse, SmallAndEmptyBoxes)
{
    Canvas canvas = Filled(6, 6, kBlack);
    DrawEllipse(canvas, {1, 1, 2, 2}, PenStyle::Solid, kRed, kGreen);
    EXPECT_EQ(Count(canvas, kRed), 1);
    EXPECT_EQ(At(canvas, 1, 1), kRed);
    for (const PixelRect empty : {PixelRect{3, 3, 3, 5}, PixelRect{3, 3, 5, 3}, PixelRect{5, 5, 3, 3}}) {
        DrawEllipse(canvas, empty, PenStyle::Solid, kBlue, kBlue);
        EXPECT_EQ(Count(canvas, kBlue), 0);
    }
}

TEST(CanvasEllipse, ACircleTouchesAllFourEdgesAndIsClosedOnEveryRow)
{
    // The circumscribed circle of the default height.
    Canvas canvas = Filled(254, 254, kBlack);
    DrawEllipse(canvas, {0, 0, 254, 254}, PenStyle::Solid, kRed, kGreen);
    int rowsWithRed[4] = {0, 0, 0, 0}; // top row, bottom row, left column, right column
    for (int i = 0; i < 254; ++i) {
        rowsWithRed[0] += At(canvas, i, 0) == kRed;
        rowsWithRed[1] += At(canvas, i, 253) == kRed;
        rowsWithRed[2] += At(canvas, 0, i) == kRed;
        rowsWithRed[3] += At(canvas, 253, i) == kRed;
    }
    for (int edge : rowsWithRed)
        EXPECT_GT(edge, 0);
    // Each row: background, then outline, then the interior, then outline,
    // then background again, and mirror symmetric.
    for (int y = 0; y < 254; ++y) {
        int first = 0;
        while (first < 254 && At(canvas, first, y) == kBlack)
            ++first;
        int last = 253;
        while (last >= 0 && At(canvas, last, y) == kBlack)
            --last;
        ASSERT_LE(first, last) << y;
        EXPECT_EQ(first, 253 - last) << y;
        EXPECT_EQ(At(canvas, first, y), kRed) << y;
        EXPECT_EQ(At(canvas, last, y), kRed) << y;
        for (int x = first; x <= last; ++x)
            ASSERT_NE(At(canvas, x, y), kBlack) << x << "," << y;
        for (int x = 0; x < 254; ++x)
            ASSERT_EQ(At(canvas, x, y), At(canvas, x, 253 - y)) << x << "," << y;
    }
}

TEST(CanvasEllipse, DottedOutlineHasWhiteGapsAndKeepsTheInteriorColour)
{
    Canvas canvas = Filled(64, 64, kBlack);
    DrawEllipse(canvas, {2, 2, 62, 62}, PenStyle::Dotted, kRed, kGreen);
    Canvas solid = Filled(64, 64, kBlack);
    DrawEllipse(solid, {2, 2, 62, 62}, PenStyle::Solid, kRed, kGreen);
    int dots = 0, gaps = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const ColorValue dotted = At(canvas, x, y);
            if (At(solid, x, y) == kRed) {
                EXPECT_TRUE(dotted == kRed || dotted == kWhite) << x << "," << y;
                dots += dotted == kRed;
                gaps += dotted == kWhite;
            } else {
                EXPECT_EQ(dotted, At(solid, x, y)) << x << "," << y;
            }
        }
    EXPECT_GT(dots, 0);
    EXPECT_GT(gaps, 0);
    EXPECT_NEAR(dots, gaps, (dots + gaps) / 5);
    // Along the top the dots and gaps are three pixels long.
    std::string top;
    for (int x = 0; x < 64; ++x)
        top += At(canvas, x, 2) == kRed ? '#' : At(canvas, x, 2) == kWhite ? '_' : '.';
    EXPECT_EQ(top.find("####"), std::string::npos) << top;
    EXPECT_EQ(top.find("____"), std::string::npos) << top;
    EXPECT_NE(top.find("###"), std::string::npos) << top;
}

TEST(CanvasEllipse, ClippingKeepsThePixelsOfTheWholeEllipse)
{
    Canvas whole = Filled(100, 100, kBlack);
    DrawEllipse(whole, {0, 0, 100, 100}, PenStyle::Dotted, kRed, kGreen);
    Canvas part = Filled(40, 30, kBlack);
    DrawEllipse(part, {-50, -60, 50, 40}, PenStyle::Dotted, kRed, kGreen);
    EXPECT_GT(Count(part, kRed), 0);
    EXPECT_TRUE(SameAsRegion(part, whole, 50, 60));
}

TEST(CanvasEllipse, AHugeBoxIsQuickAndFillsTheCanvasWithItsInterior)
{
    Canvas canvas = Filled(40, 40, kBlack);
    const auto started = std::chrono::steady_clock::now();
    DrawEllipse(canvas, {kMin, kMin, kMax, kMax}, PenStyle::Dotted, kRed, kGreen);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(Count(canvas, kGreen), 40 * 40);
}

TEST(CanvasFill, CoversTheRectangleWithoutItsRightAndBottomEdges)
{
    Canvas canvas = Filled(6, 4, kBlack);
    FillRect(canvas, {-5, -5, 3, 2}, kRed);
    FillRect(canvas, {4, 3, 100, 100}, kRed);
    FillRect(canvas, {kMin, 2, kMax, 2}, kGreen);
    EXPECT_EQ(Picture(canvas, kBlack, kRed), (std::vector<std::string>{
                                                 "###...",
                                                 "###...",
                                                 "......",
                                                 "....##",
                                             }));
}

TEST(CanvasCopyScaled, RepeatsOrDropsWholeRowsAndColumns)
{
    Canvas source = Filled(2, 2, kBlack);
    FillRect(source, {1, 0, 2, 1}, kRed);
    FillRect(source, {0, 1, 1, 2}, kGreen);
    Canvas target = Filled(5, 5, kBlue);
    CopyScaled(source, target, {0, 0, 4, 4});
    EXPECT_EQ(Picture(target, kBlack, kRed), (std::vector<std::string>{
                                                 "..##?",
                                                 "..##?",
                                                 "??..?",
                                                 "??..?",
                                                 "?????",
                                             }));
    EXPECT_EQ(At(target, 0, 2), kGreen);
    EXPECT_EQ(At(target, 3, 3), kBlack);
    EXPECT_EQ(At(target, 4, 4), kBlue);

    // Shrinking 6 to 3 keeps the middle pixel of every pair: columns 1, 3, 5.
    Canvas stripes = Filled(6, 1, kBlack);
    for (int x = 1; x < 6; x += 2)
        FillRect(stripes, {x, 0, x + 1, 1}, kRed);
    Canvas small = Filled(3, 1, kBlue);
    CopyScaled(stripes, small, {0, 0, 3, 1});
    EXPECT_EQ(Count(small, kRed), 3);
}

TEST(CanvasCopyScaled, ClipsToTheTargetAndIgnoresEmptyRectangles)
{
    Canvas source = Filled(10, 10, kRed);
    Canvas target = Filled(4, 4, kBlack);
    CopyScaled(source, target, {2, 2, kMax, kMax});
    CopyScaled(source, target, {0, 0, 0, 4});
    CopyScaled(source, target, {3, 3, 1, 1});
    EXPECT_EQ(Picture(target, kBlack, kRed), (std::vector<std::string>{
                                                 "....",
                                                 "....",
                                                 "..##",
                                                 "..##",
                                             }));
}

TEST(CanvasFocusFrame, InvertsEveryOtherBorderPixel)
{
    Canvas canvas = Filled(6, 4, kBlack);
    DrawFocusFrame(canvas, {0, 0, 6, 4});
    EXPECT_EQ(Picture(canvas, kBlack, kWhite), (std::vector<std::string>{
                                                   "#.#.#.",
                                                   ".....#",
                                                   "#.....",
                                                   ".#.#.#",
                                               }));
    DrawFocusFrame(canvas, {0, 0, 6, 4});
    EXPECT_EQ(Count(canvas, kBlack), 24);

    Canvas coloured = Filled(3, 3, kRed);
    DrawFocusFrame(coloured, {0, 0, 3, 3});
    EXPECT_EQ(At(coloured, 0, 0), 0x00FFFF00u); // red inverted is cyan
    EXPECT_EQ(At(coloured, 1, 1), kRed);
}

TEST(CanvasSize, RefusesNegativeAndOverBudgetSizesAndAllowsEmptyOnes)
{
    Canvas canvas;
    EXPECT_EQ(MakeCanvas(-1, 5, canvas), 0);
    EXPECT_EQ(MakeCanvas(5, kMin, canvas), 0);
    EXPECT_EQ(MakeCanvas(kMax, kMax, canvas), 0);
    EXPECT_EQ(MakeCanvas(999999999, 999999999, canvas), 0);
    EXPECT_GT(CanvasByteBudget(), 0u);

    ASSERT_EQ(MakeCanvas(0, 0, canvas), 1);
    EXPECT_EQ(canvas.pixels, nullptr);
    EXPECT_FALSE(HasPixels(canvas));
    FillRect(canvas, {0, 0, 10, 10}, kRed);
    DrawEllipse(canvas, {0, 0, 10, 10}, PenStyle::Dotted, kRed, kRed);
    DrawSegment(canvas, {0, 0}, {10, 10}, kRed);
    DrawFocusFrame(canvas, {0, 0, 10, 10});
    Canvas target = Filled(2, 2, kBlack);
    CopyScaled(canvas, target, {0, 0, 2, 2});
    EXPECT_EQ(Count(target, kBlack), 4);
}
