#pragma once

#include "render/figure.h"

#include <cstddef>
#include <cstdint>
#include <string>

// What the true-scale drawings (SVG, PDF, DXF) share: the length that one
// unit of the height stands for, and the numbers written in the "C" form.

enum class LengthUnit : std::uint8_t { Millimetre, Centimetre, Inch };

// Millimetres in one unit: 1, 10 or 25.4.
double MillimetresPerUnit(LengthUnit unit);

// The unit's symbol as SVG and the command line spell it: "mm", "cm", "in".
const char* LengthUnitSymbol(LengthUnit unit);

// Reads "mm", "cm" or "in"; returns false for anything else.
bool ParseLengthUnit(const std::string& text, LengthUnit& unit);

// Writes numbers with enough decimals to keep about nine significant digits
// of the figure's size (and at least minDecimals), trailing zeros dropped,
// never an exponent, never "-0". The size must be finite and not zero.
class FigureNumberWriter {
public:
    explicit FigureNumberWriter(double figureSize, int minDecimals = 0);

    void Append(std::string& out, double value) const;
    std::string Text(double value) const;

private:
    int decimals_ = 0;
};

// Appends value with at most `decimals` decimals, trailing zeros dropped,
// without "-0": the compact form of fixed-size numbers (page positions).
void AppendCompact(std::string& out, double value, int decimals);

// The end of the run of segments from index first on that share its part,
// colour row and colour: the outline, or one fan of diagonals.
std::size_t SegmentRunEnd(const FigurePlan& plan, std::size_t first);

// Whether the segments from first to end are the whole outline, closed: the
// ten sides in vertex order, in one colour. A drawing writes it as one
// closed shape, which a cutter follows in one pass.
bool IsClosedOutline(const FigurePlan& plan, std::size_t first, std::size_t end);
