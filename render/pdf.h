#pragma once

#include "render/figure.h"
#include "render/paper.h"
#include "render/truescale.h"

#include <string>

// The figure as a printable PDF at true scale: one unit of the height is one
// unit of `unit` on paper. A figure that fits a page's drawing area is one
// page, centred; a larger one is tiled over pages that overlap, after a first
// page that shows the whole figure small with the grid of pages over it.
//
// Each page keeps `marginMm` free at its edges and holds, at its foot, a test
// square of 50 mm (and one of 2 inches on Letter and Legal) under the line
// "Print at 100 % (actual size). This square must measure 50 mm", beside the
// page's name ("B3 of 4 x 3": column B of 4, row 3 of 3) and its neighbours.
// The drawing area is the rest. A tile page draws, over the figure, a dashed
// cut line along its left and top edges where it has a neighbour there, a
// thin line where its right and lower neighbours' cut edges are to lie, and
// alignment marks in every overlap, at the same spot of the figure on both
// pages. The figure itself is written once, as a form that every page places
// and clips, with the SVG's elements, order, colours and coordinates.
// Text uses the standard fonts Helvetica and Helvetica-Bold. The same input
// gives the same bytes.

struct PdfOptions {
    Paper paper;             // held upright; the orientation is chosen
    double marginMm = 10.0;  // free at every edge of the page
    double overlapMm = 10.0; // shared by neighbouring tiles
    LengthUnit unit = LengthUnit::Millimetre;
};

// Beyond this many pages (the overview included) the drawing is refused.
constexpr int kMostPdfPages = 1000;

// How the figure lies on the pages, all lengths in millimetres.
struct PdfLayout {
    bool landscape = false;
    double pageWidthMm = 0.0; // as the page is set, landscape or not
    double pageHeightMm = 0.0;
    double figureMm = 0.0; // the figure's side on paper
    int columns = 0;       // tiles across and down; 1 x 1 is a single page
    int rows = 0;
    int pageCount = 0; // the tiles, plus the overview when there are several
    double overlapMm = 0.0;
    // The drawing area of every page: its lower-left corner on the page and
    // its size.
    double areaLeftMm = 0.0;
    double areaBottomMm = 0.0;
    double areaWidthMm = 0.0;
    double areaHeightMm = 0.0;
    // The top-left corner of the first tile in the figure's own frame
    // (x right and y down from the figure's top-left corner): never positive,
    // so that the tiles together are centred on the figure.
    double gridLeftMm = 0.0;
    double gridTopMm = 0.0;
};

// The layout for a figure of figureMm on the options' paper, in the
// orientation that needs fewer pages (upright when equal). Returns 0 when the
// figure is empty (below 1 mm) or not finite, when a page leaves no room to
// draw, or when it needs more than kMostPdfPages pages; else 1.
int PlanPdfLayout(double figureMm, const PdfOptions& options, PdfLayout& layout);

// The tile's top-left corner in the figure's frame (see PdfLayout).
double TileLeftMm(const PdfLayout& layout, int column);
double TileTopMm(const PdfLayout& layout, int row);

// A tile's name: its column as letters (A to Z, then AA, AB, ...) and its row
// from 1, as "B3".
std::string TileName(int column, int row);

// Writes the document. Returns 0 with pdf empty when there is nothing to
// draw: a figure whose side is below one unit or not finite, or one that
// PlanPdfLayout refuses; else 1.
int FigurePdfBytes(const FigurePlan& plan, const PdfOptions& options, std::string& pdf);
