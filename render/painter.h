#pragma once

#include "model/record.h"
#include "render/canvas.h"
#include "render/figure.h"
#include "render/figureoptions.h"

#include <memory>

// The figure painted at its natural size: a side x side canvas (one pixel per
// unit of the height) and the plan it was painted from, whose exact
// coordinates let a vector export draw the same figure at true scale.
struct FigureBitmap {
    Canvas canvas; // side x side
    FigurePlan plan;
};

// The preview box on the dialog: 250 x 250 pixels, its left edge 260 pixels
// left of the client area's right edge, its top edge 100 pixels below the
// client area's top edge.
constexpr int kPreviewSize = 250;
constexpr int kPreviewRightMargin = 260;
constexpr int kPreviewTopMargin = 100;

// The resolution a rendered figure carries into image files: 96 dots per
// inch, whatever screen the program runs on (or none), so that the same
// figure always gives the same file.
constexpr int kFigureDotsPerMeter = 3780;

// Paints a plan's elements onto the canvas in order.
void PaintPlan(Canvas& canvas, const FigurePlan& plan);

// Paints the record's figure (see PlanFigure) onto the canvas, which should
// have the record's side; a record whose height gives no side paints nothing.
void PaintFigure(Canvas& canvas, const DecagonRecord& record);

// One fan of diagonals: from the vertex at startRow to every vertex, in the
// diagonal colour of colorRow (rows 0 to 9; others draw nothing).
void DrawVertexFan(Canvas& canvas, const DecagonRecord& record, int startRow, int colorRow);

// Fans k = 0 to 9 in this order, fan k from row 9 - k in the colour of row k.
void DrawAllFans(Canvas& canvas, const DecagonRecord& record);

// Paints the record's figure at its natural size, then makes the 250 x 250
// preview box: white, with the figure scaled into it from the top-left
// corner. A figure of side 1 or more fills the box; a height below 1 gives a
// white box. Returns 0 and no box when the height gives no canvas (negative,
// not a number, beyond 32 bits, or beyond CanvasByteBudget()); else 1. The
// record is only read.
int PaintPreviewBox(const DecagonRecord& record, Canvas& box);

// Where the preview box goes on a client area whose right edge (exclusive)
// is clientRight and whose top is clientTop.
PixelPoint PreviewBoxPosition(std::int32_t clientRight, std::int32_t clientTop);

// Copies the circle options and the diagonal choice of `shown` into the
// record (the new values stay), then paints the record's figure with them at
// its natural size and returns it to the caller; the colours are those of
// `shown`. Returns null for a null record (nothing copied), and, after the
// copy, when the height gives no canvas, including a height below 1: a figure
// of no pixels is nothing to export. Image files carry kFigureDotsPerMeter.
std::unique_ptr<FigureBitmap> RenderFigureBitmap(DecagonRecord* record, const FigureOptions& shown);
