#pragma once

#include "model/record.h"
#include "render/figure.h"
#include "render/truescale.h"

#include <string>

// The figure as an SVG document at true scale: one unit of the height is one
// millimetre, so a height of 254.884 gives a square of 254.884 mm whose
// viewBox spans the same 254.884 units. The elements are those of the plan,
// in its order and colours, at their exact coordinates:
// - the background, a rectangle over the whole square;
// - the circumscribed circle, filled with the background colour;
// - the inscribed circle as a white circle under a dashed one in its colour,
//   the dashes and gaps three pen widths long, as the raster's dotted pen
//   paints its gaps white; the interior takes the background colour;
// - the outline, one closed polygon through the ten vertices;
// - each fan of diagonals as a group of lines in its colour.
// Pens are one unit wide, as the raster's one-pixel pen, but never wider than
// a hundredth of the figure, so that a figure smaller than 100 units keeps
// its proportions. Numbers are written in the "C" form, without exponent.
//
// A negative height draws the figure the computation describes: every
// coordinate negated, in a square of the height's magnitude whose viewBox
// starts at (height, height). Returns 0, leaving svg empty, for a plan whose
// size is not finite or too small to be written; else 1.
int FigureSvgText(const FigurePlan& plan, std::string& svg);

// The same with one unit of the height standing for the given length: the
// document's width and height carry that unit ("cm", "in"), the viewBox
// stays in units of the height.
int FigureSvgText(const FigurePlan& plan, LengthUnit unit, std::string& svg);

// The record's figure at any finite height (PlanExactFigure) as SVG text.
// Returns 0 when there is nothing to draw.
int DecagonSvgText(const DecagonRecord& record, std::string& svg, LengthUnit unit = LengthUnit::Millimetre);

// The pen width that FigureSvgText uses for a figure of this size.
double SvgPenWidth(double figureSize);
