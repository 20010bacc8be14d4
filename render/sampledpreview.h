#pragma once

#include "render/canvas.h"
#include "render/figure.h"

// The preview box computed directly from the plan, without painting the
// figure at its natural size. The box shows the figure scaled to
// FitIntoBox(side, side, boxWidth, boxHeight) from its top-left corner and is
// white elsewhere; each box pixel of the scaled area takes the colour of the
// figure's pixel under its centre, that is the pixel that the last element
// covering it sets by the canvas painter's rules (render/rasterrules.h). The
// result is the same as painting the plan onto a side x side canvas and
// copying it scaled into a white box, at a cost that depends on the box, not
// on the side: any side that fits 32 bits previews in about a millisecond.
//
// The box is the whole canvas, which receives 0xFFRRGGBB pixels; a canvas
// without pixels gets nothing.
void SamplePreview(const FigurePlan& plan, Canvas& box);
