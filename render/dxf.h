#pragma once

#include "render/figure.h"
#include "render/truescale.h"

#include <string>

// The figure as a DXF drawing (AutoCAD R12, ASCII), for CAD programs and the
// software of laser cutters and routers. Coordinates are in units of the
// height, which $INSUNITS declares as millimetres, centimetres or inches
// (readers of R12 that do not know the variable skip it); y grows upward, so
// the drawing looks like the SVG and not its mirror image, and the figure's
// lower-left corner lies at the origin, every coordinate positive. Numbers
// keep at least six decimals.
//
// Each element of the SVG has its layer, named after the SVG's element and
// given the nearest of AutoCAD's 255 standard colours (ACI):
// BACKGROUND (the figure's square, as a closed polyline),
// EXTERNAL-CIRCLE and INTERNAL-CIRCLE (circles; the inscribed one in the
// dotted line type DOT, its dots and gaps three pen widths long as in the
// SVG), OUTLINE (one closed polyline through the ten vertices) and
// DIAGONALS-E6 ... DIAGONALS-E5 (one line for each diagonal of a fan).
// Entities take their layer's colour and line type.
//
// Returns 0, leaving dxf empty, for a plan whose size is not finite or too
// small to be written; else 1.
int FigureDxfText(const FigurePlan& plan, LengthUnit unit, std::string& dxf);

// AutoCAD's colour index nearest to a colour (1 to 255): black and white
// take 7, the colour that CAD programs draw in the contrast of their
// background.
int NearestAutoCadColor(ColorValue color);

// The red, green and blue of an AutoCAD colour index from 1 to 255.
ColorValue AutoCadColor(int index);
