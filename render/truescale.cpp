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
