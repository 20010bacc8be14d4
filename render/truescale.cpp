#include "render/truescale.h"

#include "model/numtext.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int kSignificantDigits = 9;
constexpr int kMostDecimals = 60;
} // namespace

double MillimetresPerUnit(LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Centimetre:
        return 10.0;
    case LengthUnit::Inch:
        return 25.4;
    case LengthUnit::Millimetre:
        break;
    }
    return 1.0;
}

const char* LengthUnitSymbol(LengthUnit unit)
{
    switch (unit) {
    case LengthUnit::Centimetre:
        return "cm";
    case LengthUnit::Inch:
        return "in";
    case LengthUnit::Millimetre:
        break;
    }
    return "mm";
}

bool ParseLengthUnit(const std::string& text, LengthUnit& unit)
{
    for (LengthUnit candidate : {LengthUnit::Millimetre, LengthUnit::Centimetre, LengthUnit::Inch}) {
        if (text == LengthUnitSymbol(candidate)) {
            unit = candidate;
            return true;
        }
    }
    return false;
}

void AppendCompact(std::string& out, double value, int decimals)
{
    const std::size_t start = out.size();
    AppendFixed(out, value, decimals);
    if (out.find('.', start) != std::string::npos) {
        while (out.back() == '0')
            out.pop_back();
        if (out.back() == '.')
            out.pop_back();
    }
    if (out.compare(start, std::string::npos, "-0") == 0)
        out.erase(start, 1);
}

FigureNumberWriter::FigureNumberWriter(double figureSize, int minDecimals)
{
    const int magnitude = static_cast<int>(std::floor(std::log10(figureSize)));
    decimals_ = std::clamp(std::max(kSignificantDigits - 1 - magnitude, minDecimals), 0, kMostDecimals);
}

void FigureNumberWriter::Append(std::string& out, double value) const { AppendCompact(out, value, decimals_); }

std::string FigureNumberWriter::Text(double value) const
{
    std::string text;
    Append(text, value);
    return text;
}

std::size_t SegmentRunEnd(const FigurePlan& plan, std::size_t first)
{
    const std::vector<FigureElement>& elements = plan.elements;
    const FigureElement& head = elements[first];
    std::size_t end = first;
    while (end < elements.size() && elements[end].kind == FigureElementKind::Segment &&
           elements[end].part == head.part && elements[end].colorRow == head.colorRow &&
           elements[end].color == head.color)
        ++end;
    return end;
}

bool IsClosedOutline(const FigurePlan& plan, std::size_t first, std::size_t end)
{
    const std::vector<FigureElement>& elements = plan.elements;
    if (end - first != static_cast<std::size_t>(kVertexCount) || elements[first].part != FigurePart::Outline)
        return false;
    for (std::size_t i = first; i < end; ++i) {
        const int row = static_cast<int>(i - first);
        if (elements[i].kind != FigureElementKind::Segment || elements[i].part != FigurePart::Outline ||
            elements[i].fromRow != row || elements[i].toRow != (row + 1) % kVertexCount ||
            elements[i].color != elements[first].color)
            return false;
    }
    return true;
}
