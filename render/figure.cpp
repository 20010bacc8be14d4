#include "render/figure.h"

#include <cmath>
#include <limits>

const DiagonalChoice DiagonalChoices[kDiagonalChoiceCount + 1] = {
    {0, "(None)"}, {1, "All"}, {2, "E6"}, {3, "E7"},  {4, "E8"},  {5, "E9"}, {6, "E10"},
    {7, "E1"},     {8, "E2"},  {9, "E3"}, {10, "E4"}, {11, "E5"}, {-1, ""},
};

namespace {

constexpr double kTwoTo32 = 4294967296.0;
constexpr double kTwoTo64 = 18446744073709551616.0;
constexpr double kInt32Max = 2147483647.0;
constexpr double kInt32Min = -2147483648.0;

// The low 32 bits of a whole, non-negative double. Anything else (which the
// fitting never produces) gives 0 rather than an undefined conversion.
std::uint32_t LowBits32(double whole)
{
    if (!(whole >= 0.0) || !std::isfinite(whole))
        return 0;
    if (whole < kTwoTo64)
        return static_cast<std::uint32_t>(static_cast<std::uint64_t>(whole));
    return static_cast<std::uint32_t>(static_cast<std::uint64_t>(std::fmod(whole, kTwoTo32)));
}

bool Finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

FigureElement BlankElement(FigureElementKind kind, FigurePart part, ColorValue color)
{
    FigureElement element{};
    element.kind = kind;
    element.part = part;
    element.penStyle = PenStyle::Solid;
    element.color = color;
    element.fromRow = -1;
    element.toRow = -1;
    element.colorRow = -1;
    return element;
}

// A circle of the given diameter centred in the canvas: the box's left and
// top are trunc((side - diameter) / 2), its right and bottom that value plus
// the diameter, truncated again.
void AddCircle(FigurePlan& plan, FigurePart part, double diameter, PenStyle pen, ColorValue color, ColorValue interior)
{
    const double corner = std::trunc((plan.side - diameter) / 2.0);
    const double far = corner + diameter;
    const double exactCorner = (plan.exactSide - diameter) / 2.0;
    const double exactCenter = exactCorner + diameter / 2.0;
    if (!Finite(corner, far) || !Finite(exactCenter, diameter))
        return;
    FigureElement element = BlankElement(FigureElementKind::Ellipse, part, color);
    element.penStyle = pen;
    element.interior = interior;
    const std::int32_t low = TruncToPixel(corner);
    const std::int32_t high = TruncToPixel(far);
    element.box = {low, low, high, high};
    element.exactCenter = {exactCenter, exactCenter};
    element.exactDiameter = diameter;
    plan.elements.push_back(element);
}

void AddSegment(FigurePlan& plan, FigurePart part, int fromRow, int toRow, int colorRow, ColorValue color)
{
    const ExactPoint from = plan.exactPoints[fromRow];
    const ExactPoint to = plan.exactPoints[toRow];
    if (!Finite(from.x, from.y) || !Finite(to.x, to.y))
        return;
    FigureElement element = BlankElement(FigureElementKind::Segment, part, color);
    element.from = plan.points[fromRow];
    element.to = plan.points[toRow];
    element.exactFrom = from;
    element.exactTo = to;
    element.fromRow = fromRow;
    element.toRow = toRow;
    element.colorRow = colorRow;
    plan.elements.push_back(element);
}

bool ValidRow(int row) { return row >= 0 && row < kVertexCount; }

} // namespace

FittedSize FitIntoBox(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t boxWidth,
                      std::uint32_t boxHeight)
{
    if (sourceWidth == 0 && sourceHeight == 0)
        return {0, boxHeight};
    if (sourceWidth > sourceHeight) {
        const double ratio = static_cast<double>(sourceHeight) / static_cast<double>(sourceWidth);
        const std::uint32_t height = LowBits32(std::trunc(boxWidth * ratio));
        if (height <= boxHeight)
            return {boxWidth, height};
        return {LowBits32(std::trunc(boxHeight / ratio)), boxHeight};
    }
    const double ratio = static_cast<double>(sourceWidth) / static_cast<double>(sourceHeight);
    const std::uint32_t width = LowBits32(std::trunc(boxHeight * ratio));
    if (width <= boxWidth)
        return {width, boxHeight};
    return {boxWidth, LowBits32(std::trunc(boxWidth / ratio))};
}

int CanvasSideOf(double expectedHeight, std::int32_t& side)
{
    const double whole = std::trunc(expectedHeight);
    // Written so that not-a-number fails too.
    if (!(whole >= 0.0 && whole <= kInt32Max))
        return 0;
    side = static_cast<std::int32_t>(whole);
    return 1;
}

bool CanvasWithinBudget(std::int32_t width, std::int32_t height, std::uint64_t byteBudget)
{
    if (width < 0 || height < 0)
        return false;
    // Both sides are below 2^31, so the byte count stays below 2^64.
    const std::uint64_t bytes = static_cast<std::uint64_t>(width) * static_cast<std::uint64_t>(height) * 4u;
    return bytes <= byteBudget;
}

std::int32_t TruncToPixel(double value)
{
    if (std::isnan(value))
        return 0;
    const double whole = std::trunc(value);
    if (whole >= kInt32Max)
        return std::numeric_limits<std::int32_t>::max();
    if (whole <= kInt32Min)
        return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(whole);
}

namespace {

// The frame of PlanFrame. With anySize a height that gives no canvas still
// gets its exact geometry, on a side of 0 pixels.
int FillFrame(const DecagonRecord& record, FigurePlan& plan, bool anySize)
{
    plan.elements.clear();
    plan.side = 0;
    plan.exactSide = 0.0;
    plan.offset = 0;
    plan.exactOffset = 0.0;
    for (int row = 0; row < kVertexCount; ++row) {
        plan.points[row] = {0, 0};
        plan.exactPoints[row] = {0.0, 0.0};
    }
    if (anySize) {
        if (!std::isfinite(record.expectedHeight))
            return 0;
        if (!CanvasSideOf(record.expectedHeight, plan.side))
            plan.side = 0;
    } else if (!CanvasSideOf(record.expectedHeight, plan.side)) {
        return 0;
    }
    plan.exactSide = record.expectedHeight;
    const double offset = std::trunc(record.externalRadius);
    plan.offset = TruncToPixel(offset);
    plan.exactOffset = record.externalRadius;
    for (int row = 0; row < kVertexCount; ++row) {
        const VertexPoint& vertex = record.vertices[row];
        // The offset is added as a whole number, then the sum is truncated.
        plan.points[row] = {TruncToPixel(offset + vertex.x), TruncToPixel(offset + vertex.y)};
        plan.exactPoints[row] = {record.externalRadius + vertex.x, record.externalRadius + vertex.y};
    }
    return 1;
}

// One fan in the diagonal colour of colorRow of the options.
void AddVertexFan(FigurePlan& plan, const FigureOptions& options, int startRow, int colorRow)
{
    if (!ValidRow(startRow) || !ValidRow(colorRow))
        return;
    const ColorValue color = PaletteColor(options.diagonalColors[colorRow]);
    for (int row = 0; row < kVertexCount; ++row) {
        if (row != startRow)
            AddSegment(plan, FigurePart::Diagonal, startRow, row, colorRow, color);
    }
}

void AddAllFans(FigurePlan& plan, const FigureOptions& options)
{
    for (int fan = 0; fan < kVertexCount; ++fan)
        AddVertexFan(plan, options, kVertexCount - 1 - fan, fan);
}

// Every element of the figure, in painting order, onto a plan that holds
// the record's frame.
void AddElements(const DecagonRecord& record, const FigureOptions& options, FigurePlan& plan)
{
    plan.elements.reserve(1 + 2 + kVertexCount + kVertexCount * (kVertexCount - 1));

    const ColorValue background = PaletteColor(options.backgroundColor);
    FigureElement fill = BlankElement(FigureElementKind::Fill, FigurePart::Background, background);
    fill.box = {0, 0, plan.side, plan.side};
    plan.elements.push_back(fill);

    if (options.showExternalCircle == 1)
        AddCircle(plan, FigurePart::ExternalCircle, 2.0 * record.externalRadius, PenStyle::Solid,
                  PaletteColor(options.externalCircleColor), background);
    if (options.showInternalCircle == 1)
        AddCircle(plan, FigurePart::InternalCircle, 2.0 * record.internalRadius, PenStyle::Dotted,
                  PaletteColor(options.internalCircleColor), background);

    const ColorValue outline = PaletteColor(options.outlineColor);
    for (int row = 0; row < kVertexCount; ++row)
        AddSegment(plan, FigurePart::Outline, row, (row + 1) % kVertexCount, -1, outline);

    const std::int32_t choice = options.diagonalChoice;
    if (choice == 1)
        AddAllFans(plan, options);
    else if (choice >= 2 && choice <= 11)
        AddVertexFan(plan, options, 11 - choice, choice - 2);
}

} // namespace

int PlanFrame(const DecagonRecord& record, FigurePlan& plan) { return FillFrame(record, plan, false); }

int PlanFigure(const DecagonRecord& record, FigurePlan& plan)
{
    return PlanFigure(record, FigureOptionsOf(record), plan);
}

int PlanFigure(const DecagonRecord& record, const FigureOptions& options, FigurePlan& plan)
{
    if (!PlanFrame(record, plan))
        return 0;
    AddElements(record, options, plan);
    return 1;
}

int PlanExactFigure(const DecagonRecord& record, FigurePlan& plan)
{
    if (!FillFrame(record, plan, true))
        return 0;
    AddElements(record, FigureOptionsOf(record), plan);
    return 1;
}

void PlanVertexFan(FigurePlan& plan, const DecagonRecord& record, int startRow, int colorRow)
{
    AddVertexFan(plan, FigureOptionsOf(record), startRow, colorRow);
}

void PlanAllFans(FigurePlan& plan, const DecagonRecord& record) { AddAllFans(plan, FigureOptionsOf(record)); }
