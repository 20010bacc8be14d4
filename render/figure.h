#pragma once

#include "model/record.h"
#include "render/figureoptions.h"
#include "render/palette.h"

#include <cstdint>
#include <vector>

// What the decagon figure consists of, without any drawing library: the
// canvas side, and the ordered list of elements to paint with their colours,
// pens and coordinates. The Qt layer (render/painter.h) paints this list onto
// a raster; a vector export can write the same list at true scale from the
// exact coordinates.

// One row of the diagonal list: the code stored in DecagonRecord::diagonalChoice
// and the text the list shows.
struct DiagonalChoice {
    std::int32_t code; // 0 none, 1 all, 2 to 11 one vertex's fan; -1 ends the table
    char label[32];
};

constexpr int kDiagonalChoiceCount = 12;

// "(None)", "All", then "E6" to "E5" in vertex order, ended by the row with
// code -1. The dialog lists them in this order with the code as item data.
extern const DiagonalChoice DiagonalChoices[kDiagonalChoiceCount + 1];

struct FittedSize {
    std::uint32_t width;
    std::uint32_t height;
};

// The largest size with the source's proportions that fits the box, touching
// it on at least one side. The ratio is taken in double precision, every
// truncated product is kept to its low 32 bits and compared unsigned. A 0 x 0
// source gives (0, boxHeight). Defined for every input.
FittedSize FitIntoBox(std::uint32_t sourceWidth, std::uint32_t sourceHeight, std::uint32_t boxWidth,
                      std::uint32_t boxHeight);

// The side of the square canvas for a height: the height truncated toward
// zero. Returns 0 (no canvas) when that whole number is negative, not a
// number, or beyond the 32-bit signed range; else 1 with the side, which is 0
// for heights between -1 and 1 exclusive.
int CanvasSideOf(double expectedHeight, std::int32_t& side);

// Whether a width x height raster of 4-byte pixels stays within byteBudget.
// Negative sizes never fit.
bool CanvasWithinBudget(std::int32_t width, std::int32_t height, std::uint64_t byteBudget);

// Pixel coordinates on the canvas: column x, row y, (0, 0) at the top-left.
struct PixelPoint {
    std::int32_t x;
    std::int32_t y;
};

// A pixel rectangle whose right and bottom edges are exclusive.
struct PixelRect {
    std::int32_t left;
    std::int32_t top;
    std::int32_t right;
    std::int32_t bottom;
};

// Coordinates in the unit of the entered height, before any truncation.
struct ExactPoint {
    double x;
    double y;
};

enum class FigureElementKind : std::uint8_t {
    Fill,    // fill `box` with `color`
    Ellipse, // ellipse in `box`, outline in `color` with `penStyle`, interior in `interior`
    Segment, // from `from` up to but not including `to`, in `color`
};

enum class PenStyle : std::uint8_t { Solid, Dotted };

// Which part of the figure an element draws.
enum class FigurePart : std::uint8_t { Background, ExternalCircle, InternalCircle, Outline, Diagonal };

struct FigureElement {
    FigureElementKind kind;
    FigurePart part;
    PenStyle penStyle;
    ColorValue color;    // fill colour of a Fill, pen colour of an Ellipse or a Segment
    ColorValue interior; // interior colour of an Ellipse
    // On the canvas, truncated toward zero (saturated to the 32-bit range).
    PixelRect box;   // Fill and Ellipse
    PixelPoint from; // Segment
    PixelPoint to;   // Segment
    // The same geometry before truncation.
    ExactPoint exactCenter; // Ellipse
    double exactDiameter;   // Ellipse
    ExactPoint exactFrom;   // Segment
    ExactPoint exactTo;     // Segment
    // Vertex rows of a Segment (0 to 9 in VertexTable order), and for a
    // Diagonal the row whose colour it takes; -1 where they do not apply.
    std::int32_t fromRow;
    std::int32_t toRow;
    std::int32_t colorRow;
};

struct FigurePlan {
    std::int32_t side;                    // canvas side in pixels: the height truncated
    double exactSide;                     // the height itself
    std::int32_t offset;                  // the drawing offset: the circumradius truncated
    double exactOffset;                   // the circumradius itself
    PixelPoint points[kVertexCount];      // the vertices on the canvas, VertexTable order
    ExactPoint exactPoints[kVertexCount]; // the same before truncation
    std::vector<FigureElement> elements;  // in painting order
};

// The whole figure of the record, in painting order: background; the
// circumscribed circle when showExternalCircle is 1; the dotted inscribed
// circle when showInternalCircle is 1; the ten outline segments from E6 round
// to E6; then the diagonals of diagonalChoice. Both circles' interiors take
// the background colour. A circle or segment whose coordinates are not finite
// is left out. Returns 0 with an empty plan when the height gives no canvas
// (see CanvasSideOf); else 1. The memory budget is the caller's to check.
int PlanFigure(const DecagonRecord& record, FigurePlan& plan);

// The same with the circles, diagonals and colours of options instead of the
// record's; the record gives the geometry only.
int PlanFigure(const DecagonRecord& record, const FigureOptions& options, FigurePlan& plan);

// The same figure for a drawing that needs no canvas, such as a vector
// file: any finite height is planned, including those that give no canvas
// (negative, or beyond 32 bits), whose elements then carry only meaningful
// exact coordinates (side 0, pixel coordinates saturated). Returns 0 with an
// empty plan only for a height that is not finite.
int PlanExactFigure(const DecagonRecord& record, FigurePlan& plan);

// The plan's side, offset and points for the record, without elements.
// Returns 0 as PlanFigure does.
int PlanFrame(const DecagonRecord& record, FigurePlan& plan);

// Appends one fan: the nine segments from the vertex at startRow to every
// other vertex (the segment to startRow itself is empty and left out), in
// vertex order, with a solid pen in the diagonal colour of colorRow. Rows
// outside 0 to 9 append nothing. The plan must hold the record's points
// (PlanFrame).
void PlanVertexFan(FigurePlan& plan, const DecagonRecord& record, int startRow, int colorRow);

// Appends the fans k = 0 to 9 in this order, fan k from row 9 - k in the
// colour of row k: the choice labelled with a vertex's name starts at the
// corner where the dialog's picture shows that name, which is the mirror
// image of the vertex's own point.
void PlanAllFans(FigurePlan& plan, const DecagonRecord& record);

// A double truncated toward zero to a pixel coordinate; values beyond the
// 32-bit range saturate, and not-a-number gives 0.
std::int32_t TruncToPixel(double value);
