#include "render/pdf.h"

#include "render/svg.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr double kPointsPerMm = 72.0 / 25.4;
constexpr int kFirstPageObject = 9;
constexpr double kTestSquareMm = 50.0;
constexpr double kInchSquareMm = 50.8;
constexpr double kSquareGapMm = 5.0;
// The foot of the page: the squares, then the print line above them.
constexpr double kFootAboveSquaresMm = 10.0;
constexpr double kDashPens = 3.0; // as the SVG's dotted circle
constexpr int kPageDecimals = 4;  // of a point: far below 0.01 mm
constexpr double kMarkRadiusMm = 2.0;
constexpr double kThinLineMm = 0.2;
constexpr double kUnderlayMm = 0.6;       // the white under a thin black line
constexpr double kCircleErrorMm = 0.0005; // largest gap between a drawn circle and the true one

// The tiles needed along one side.
double TilesAlong(double figureMm, double areaMm, double overlapMm)
{
    if (figureMm <= areaMm)
        return 1.0;
    return std::ceil((figureMm - overlapMm) / (areaMm - overlapMm));
}

bool PlanOrientation(double figureMm, const PdfOptions& options, bool landscape, PdfLayout& layout)
{
    const Paper& paper = options.paper;
    const double shortSide = std::min(paper.widthMm, paper.heightMm);
    const double longSide = std::max(paper.widthMm, paper.heightMm);
    layout = PdfLayout{};
    layout.landscape = landscape;
    layout.figureMm = figureMm;
    layout.pageWidthMm = landscape ? longSide : shortSide;
    layout.pageHeightMm = landscape ? shortSide : longSide;
    const double squaresMm = PaperUsesInches(paper) ? kInchSquareMm : kTestSquareMm;
    layout.areaLeftMm = options.marginMm;
    layout.areaBottomMm = options.marginMm + squaresMm + kFootAboveSquaresMm;
    layout.areaWidthMm = layout.pageWidthMm - 2.0 * options.marginMm;
    layout.areaHeightMm = layout.pageHeightMm - options.marginMm - layout.areaBottomMm;
    const double overlap = options.overlapMm;
    layout.overlapMm = overlap;
    if (!(layout.areaWidthMm > overlap && layout.areaHeightMm > overlap && overlap >= 0.0))
        return false;
    const double columns = TilesAlong(figureMm, layout.areaWidthMm, overlap);
    const double rows = TilesAlong(figureMm, layout.areaHeightMm, overlap);
    // Counted in doubles first: a large figure's count may pass any int.
    if (!(columns * rows <= kMostPdfPages))
        return false;
    layout.columns = static_cast<int>(columns);
    layout.rows = static_cast<int>(rows);
    const int tiles = layout.columns * layout.rows;
    layout.pageCount = tiles > 1 ? tiles + 1 : 1;
    if (layout.pageCount > kMostPdfPages)
        return false;
    const double spanX = layout.columns * layout.areaWidthMm - (layout.columns - 1) * overlap;
    const double spanY = layout.rows * layout.areaHeightMm - (layout.rows - 1) * overlap;
    layout.gridLeftMm = (figureMm - spanX) / 2.0;
    layout.gridTopMm = (figureMm - spanY) / 2.0;
    return true;
}

// Text for a PDF string literal: ASCII, with its delimiters escaped.
std::string Literal(const std::string& text)
{
    std::string out = "(";
    for (char c : text) {
        if (c == '(' || c == ')' || c == '\\')
            out += '\\';
        out += c;
    }
    out += ')';
    return out;
}

// How many cubic Bezier curves draw a circle of this radius (4, 8, 16, ...):
// enough that no point lies farther than kCircleErrorMm from the true circle.
int CircleSegments(double radiusMm)
{
    int segments = 4;
    // The radial error is 2.7e-4 r for quarters and shrinks with the sixth
    // power of the angle: 64 times with each halving.
    double error = 2.7e-4 * radiusMm;
    while (error > kCircleErrorMm && segments < 1024) {
        segments *= 2;
        error /= 64.0;
    }
    return segments;
}

class PdfWriter {
public:
    PdfWriter(const FigurePlan& plan, const PdfOptions& options, const PdfLayout& layout, std::string& out)
        : plan_(plan), options_(options), layout_(layout), out_(out), size_(std::fabs(plan.exactSide)),
          origin_(std::min(plan.exactSide, 0.0)), mmPerUnit_(MillimetresPerUnit(options.unit)), numbers_(size_),
          pen_(SvgPenWidth(size_))
    {
    }

    void Write()
    {
        const int pages = layout_.pageCount;
        // Objects: 1 catalogue, 2 page tree, 3 shared resources, 4 and 5 the
        // fonts, 6 the figure, 7 the document information, 8 the alignment
        // mark, then a page and its contents for each page.
        const int objects = kFirstPageObject - 1 + 2 * pages;
        offsets_.assign(static_cast<std::size_t>(objects) + 1, 0);
        out_.reserve(static_cast<std::size_t>(8192 + 2600 * pages));
        out_ += "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n";

        Begin(1);
        out_ += "<< /Type /Catalog /Pages 2 0 R >>\n";
        End();

        Begin(2);
        out_ += "<< /Type /Pages /Count " + std::to_string(pages) + " /Kids [";
        for (int page = 0; page < pages; ++page) {
            if (page > 0)
                out_ += ' ';
            out_ += std::to_string(kFirstPageObject + 2 * page);
            out_ += " 0 R";
        }
        out_ += "] >>\n";
        End();

        Begin(3);
        out_ += "<< /Font << /F1 4 0 R /F2 5 0 R >> /XObject << /Figure 6 0 R /Mark 8 0 R >> >>\n";
        End();
        Begin(4);
        out_ += "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica /Encoding /WinAnsiEncoding >>\n";
        End();
        Begin(5);
        out_ += "<< /Type /Font /Subtype /Type1 /BaseFont /Helvetica-Bold /Encoding /WinAnsiEncoding >>\n";
        End();

        const std::string figureSide = Points(layout_.figureMm);
        Stream(6, "/Type /XObject /Subtype /Form /BBox [0 0 " + figureSide + " " + figureSide + "] ", FigureForm());

        Begin(7);
        out_ += "<< /Title " +
                Literal("Decagon of height " + numbers_.Text(plan_.exactSide) + " " + LengthUnitSymbol(options_.unit)) +
                " /Producer (decagon) >>\n";
        End();

        const std::string markBox = Points(kMarkRadiusMm * 1.5);
        Stream(8,
               "/Type /XObject /Subtype /Form /BBox [-" + markBox + " -" + markBox + " " + markBox + " " + markBox +
                   "] ",
               MarkForm());

        const std::string mediaBox = "[0 0 " + Points(layout_.pageWidthMm) + " " + Points(layout_.pageHeightMm) + "]";
        for (int page = 0; page < pages; ++page) {
            const int object = kFirstPageObject + 2 * page;
            Begin(object);
            out_ += "<< /Type /Page /Parent 2 0 R /MediaBox " + mediaBox + " /Resources 3 0 R /Contents " +
                    std::to_string(object + 1) + " 0 R >>\n";
            End();
            Stream(object + 1, "", PageContents(page));
        }

        const std::size_t crossReference = out_.size();
        out_ += "xref\n0 " + std::to_string(objects + 1) + "\n0000000000 65535 f \n";
        for (int object = 1; object <= objects; ++object) {
            std::string offset = std::to_string(offsets_[static_cast<std::size_t>(object)]);
            out_ += std::string(10 - std::min<std::size_t>(offset.size(), 10), '0') + offset + " 00000 n \n";
        }
        out_ += "trailer\n<< /Size " + std::to_string(objects + 1) + " /Root 1 0 R /Info 7 0 R >>\nstartxref\n" +
                std::to_string(crossReference) + "\n%%EOF\n";
    }

private:
    // --- the file's objects ---

    void Begin(int object)
    {
        offsets_[static_cast<std::size_t>(object)] = out_.size();
        out_ += std::to_string(object) + " 0 obj\n";
    }

    void End() { out_ += "endobj\n"; }

    void Stream(int object, const std::string& dictionary, const std::string& contents)
    {
        Begin(object);
        out_ += "<< " + dictionary + "/Length " + std::to_string(contents.size()) + " >>\nstream\n";
        out_ += contents;
        out_ += "\nendstream\n";
        End();
    }

    // --- numbers ---

    static std::string Points(double mm)
    {
        std::string text;
        AppendCompact(text, mm * kPointsPerMm, kPageDecimals);
        return text;
    }

    static void Append(std::string& s, double value) { AppendCompact(s, value, kPageDecimals); }

    // Appends millimetres on the page as points, each followed by a space.
    static void Pts(std::string& s, std::initializer_list<double> mms)
    {
        for (double mm : mms) {
            AppendCompact(s, mm * kPointsPerMm, kPageDecimals);
            s += ' ';
        }
    }

    void FigureNumbers(std::string& s, std::initializer_list<double> values) const
    {
        for (double value : values) {
            numbers_.Append(s, value);
            s += ' ';
        }
    }

    static void Colour(std::string& s, ColorValue color, const char* op)
    {
        for (int channel : {ColorRed(color), ColorGreen(color), ColorBlue(color)}) {
            AppendCompact(s, channel / 255.0, kPageDecimals);
            s += ' ';
        }
        s += op;
        s += '\n';
    }

    // --- the figure, once ---

    // The figure in the SVG's coordinates: the form's matrix turns them into
    // points with y upward, the figure's lower-left corner at the origin.
    std::string FigureForm() const
    {
        std::string s;
        s.reserve(4096);
        const double k = mmPerUnit_ * kPointsPerMm;
        Append(s, k);
        s += " 0 0 ";
        Append(s, -k);
        s += ' ';
        Append(s, -k * origin_);
        s += ' ';
        Append(s, k * (origin_ + size_));
        s += " cm\n";
        FigureNumbers(s, {pen_});
        s += "w\n";

        const std::vector<FigureElement>& elements = plan_.elements;
        for (std::size_t i = 0; i < elements.size(); ++i) {
            const FigureElement& element = elements[i];
            switch (element.kind) {
            case FigureElementKind::Fill:
                Colour(s, element.color, "rg");
                FigureNumbers(s, {origin_, origin_, size_, size_});
                s += "re f\n";
                break;
            case FigureElementKind::Ellipse:
                Circle(s, element);
                break;
            case FigureElementKind::Segment:
                i = Segments(s, i) - 1;
                break;
            }
        }
        return s;
    }

    void CirclePath(std::string& s, const FigureElement& element) const
    {
        const double r = std::fabs(element.exactDiameter) / 2.0;
        const double cx = element.exactCenter.x;
        const double cy = element.exactCenter.y;
        const int segments = CircleSegments(r * mmPerUnit_);
        const double step = 2.0 * 3.14159265358979323846 / segments;
        const double handle = 4.0 / 3.0 * std::tan(step / 4.0) * r;
        FigureNumbers(s, {cx + r, cy});
        s += "m\n";
        for (int k = 0; k < segments; ++k) {
            // From angle a to b, in the SVG's sense (y downward), as its
            // circle runs from the rightmost point.
            const double a = step * k;
            const double b = step * (k + 1);
            FigureNumbers(s, {cx + r * std::cos(a) - handle * std::sin(a), cy + r * std::sin(a) + handle * std::cos(a),
                              cx + r * std::cos(b) + handle * std::sin(b), cy + r * std::sin(b) - handle * std::cos(b),
                              cx + r * std::cos(b), cy + r * std::sin(b)});
            s += "c\n";
        }
        s += "h\n";
    }

    void Circle(std::string& s, const FigureElement& element) const
    {
        Colour(s, element.interior, "rg");
        if (element.penStyle == PenStyle::Dotted) {
            // As the SVG: a white circle carries the interior, the dashes in
            // the colour go over it.
            s += "1 1 1 RG\n";
            CirclePath(s, element);
            s += "B\n[";
            FigureNumbers(s, {kDashPens * pen_, kDashPens * pen_});
            s += "] 0 d\n";
            Colour(s, element.color, "RG");
            CirclePath(s, element);
            s += "S\n[] 0 d\n";
            return;
        }
        Colour(s, element.color, "RG");
        CirclePath(s, element);
        s += "B\n";
    }

    // The run of segments of one part and colour from index first on: the
    // closed outline as one path, diagonals as separate lines. Returns the
    // index after the run.
    std::size_t Segments(std::string& s, std::size_t first) const
    {
        const std::vector<FigureElement>& elements = plan_.elements;
        const std::size_t end = SegmentRunEnd(plan_, first);
        Colour(s, elements[first].color, "RG");
        if (IsClosedOutline(plan_, first, end)) {
            for (std::size_t i = first; i < end; ++i) {
                FigureNumbers(s, {elements[i].exactFrom.x, elements[i].exactFrom.y});
                s += i == first ? "m\n" : "l\n";
            }
            s += "h S\n";
            return end;
        }
        for (std::size_t i = first; i < end; ++i) {
            FigureNumbers(s, {elements[i].exactFrom.x, elements[i].exactFrom.y});
            s += "m ";
            FigureNumbers(s, {elements[i].exactTo.x, elements[i].exactTo.y});
            s += "l\n";
        }
        s += "S\n";
        return end;
    }

    // --- the pages ---

    static void Text(std::string& s, const char* font, double sizePt, double xMm, double yMm, const std::string& text)
    {
        s += "BT /";
        s += font;
        s += ' ';
        Append(s, sizePt);
        s += " Tf ";
        Pts(s, {xMm, yMm});
        s += "Td " + Literal(text) + " Tj ET\n";
    }

    // Text turned a quarter counter-clockwise, reading upward.
    static void UpwardText(std::string& s, double sizePt, double xMm, double yMm, const std::string& text)
    {
        s += "BT /F1 ";
        Append(s, sizePt);
        s += " Tf 0 1 -1 0 ";
        Pts(s, {xMm, yMm});
        s += "Tm " + Literal(text) + " Tj ET\n";
    }

    static void Rectangle(std::string& s, double x, double y, double w, double h, const char* op)
    {
        Pts(s, {x, y, w, h});
        s += "re ";
        s += op;
        s += '\n';
    }

    static void Line(std::string& s, double x1, double y1, double x2, double y2)
    {
        Pts(s, {x1, y1});
        s += "m ";
        Pts(s, {x2, y2});
        s += "l S\n";
    }

    // The test squares and the print line at the page's foot; the text
    // beside them starts at the returned x.
    double Foot(std::string& s) const
    {
        const double m = options_.marginMm;
        s += "0 0 0 RG 0 0 0 rg ";
        Pts(s, {kThinLineMm});
        s += "w\n";
        Rectangle(s, m, m, kTestSquareMm, kTestSquareMm, "S");
        Text(s, "F1", 9, m + 2, m + 2, "50 mm");
        double right = m + kTestSquareMm;
        const double squares = PaperUsesInches(options_.paper) ? kInchSquareMm : kTestSquareMm;
        if (PaperUsesInches(options_.paper)) {
            const double x = right + kSquareGapMm;
            Rectangle(s, x, m, kInchSquareMm, kInchSquareMm, "S");
            Text(s, "F1", 9, x + 2, m + 2, "2 in");
            right = x + kInchSquareMm;
        }
        std::string line = "Print at 100 % (actual size). This square must measure 50 mm";
        if (PaperUsesInches(options_.paper))
            line += ", the other 2 in";
        Text(s, "F1", 9, m, m + squares + 3, line);
        return right + kSquareGapMm;
    }

    std::string PageContents(int page) const
    {
        std::string s;
        s.reserve(2600);
        const int tiles = layout_.columns * layout_.rows;
        if (tiles > 1 && page == 0)
            Overview(s);
        else
            Tile(s, tiles > 1 ? page - 1 : 0);
        return s;
    }

    void PlaceFigure(std::string& s, double scale, double xMm, double yMm) const
    {
        s += "q ";
        Append(s, scale);
        s += " 0 0 ";
        Append(s, scale);
        s += ' ';
        Pts(s, {xMm, yMm});
        s += "cm /Figure Do Q\n";
    }

    void ClipToArea(std::string& s) const
    {
        s += "q ";
        Rectangle(s, layout_.areaLeftMm, layout_.areaBottomMm, layout_.areaWidthMm, layout_.areaHeightMm, "W n");
    }

    std::string Of() const { return " of " + std::to_string(layout_.columns) + " x " + std::to_string(layout_.rows); }

    void Overview(std::string& s) const
    {
        const PdfLayout& l = layout_;
        const double scale = std::min(l.areaWidthMm, l.areaHeightMm) / l.figureMm;
        // The figure's top-left corner on the page.
        const double left = l.areaLeftMm + (l.areaWidthMm - l.figureMm * scale) / 2.0;
        const double top = l.areaBottomMm + l.areaHeightMm - (l.areaHeightMm - l.figureMm * scale) / 2.0;
        ClipToArea(s);
        PlaceFigure(s, scale, left, top - l.figureMm * scale);
        // The grid of pages, each named at its centre.
        s += "1 0 0 RG 1 0 0 rg ";
        Pts(s, {kThinLineMm});
        s += "w\n";
        const double cell = std::min(l.areaWidthMm, l.areaHeightMm) * scale;
        const double fontPt = std::clamp(cell * kPointsPerMm / 4.0, 2.0, 12.0);
        for (int row = 0; row < l.rows; ++row) {
            for (int column = 0; column < l.columns; ++column) {
                const double x = left + TileLeftMm(l, column) * scale;
                const double y = top - (TileTopMm(l, row) + l.areaHeightMm) * scale;
                Rectangle(s, x, y, l.areaWidthMm * scale, l.areaHeightMm * scale, "S");
                const std::string name = TileName(column, row);
                Text(s, "F2", fontPt,
                     x + l.areaWidthMm * scale / 2.0 - static_cast<double>(name.size()) * fontPt * 0.3 / kPointsPerMm,
                     y + l.areaHeightMm * scale / 2.0 - fontPt * 0.35 / kPointsPerMm, name);
            }
        }
        s += "Q\n";
        const double x = Foot(s);
        const double m = options_.marginMm;
        Text(s, "F2", 14, x, m + 40, "Overview: " + std::to_string(l.columns * l.rows) + " pages" + Of());
        Text(s, "F1", 9, x, m + 33, "Page 1 of " + std::to_string(l.pageCount) + ". The tiles follow, A1 first,");
        Text(s, "F1", 9, x, m + 28, "row by row; letters count columns from the left,");
        Text(s, "F1", 9, x, m + 23, "numbers rows from the top.");
        Text(s, "F1", 9, x, m + 16, "Cut each page along its dashed lines, lay it over");
        Text(s, "F1", 9, x, m + 11, "its left and upper neighbours up to their thin lines,");
        Text(s, "F1", 9, x, m + 6, "match the marks and tape.");
    }

    // A circle with a cross through its centre, drawn once and placed at
    // each mark.
    static std::string MarkForm()
    {
        std::string path;
        const double r = kMarkRadiusMm;
        Line(path, -1.5 * r, 0.0, 1.5 * r, 0.0);
        Line(path, 0.0, -1.5 * r, 0.0, 1.5 * r);
        // A circle of four quarters is exact enough for a mark.
        const double h = 0.5523 * r;
        Pts(path, {r, 0.0});
        path += "m ";
        Pts(path, {r, h, h, r, 0.0, r});
        path += "c ";
        Pts(path, {-h, r, -r, h, -r, 0.0});
        path += "c ";
        Pts(path, {-r, -h, -h, -r, 0.0, -r});
        path += "c ";
        Pts(path, {h, -r, r, -h, r, 0.0});
        path += "c S\n";
        // Black over white, as the cut lines.
        std::string s = "1 1 1 RG ";
        Pts(s, {kUnderlayMm});
        s += "w\n" + path + "0 0 0 RG ";
        Pts(s, {kThinLineMm});
        s += "w\n" + path;
        return s;
    }

    static void Mark(std::string& s, double x, double y)
    {
        s += "q 1 0 0 1 ";
        Pts(s, {x, y});
        s += "cm /Mark Do Q\n";
    }

    void Tile(std::string& s, int tile) const
    {
        const PdfLayout& l = layout_;
        const int column = tile % l.columns;
        const int row = tile / l.columns;
        const double tileLeft = TileLeftMm(l, column);
        const double tileTop = TileTopMm(l, row);
        const double areaTop = l.areaBottomMm + l.areaHeightMm;
        const double areaRight = l.areaLeftMm + l.areaWidthMm;
        // The page position of a point of the figure.
        auto pageX = [&](double x) { return l.areaLeftMm + (x - tileLeft); };
        auto pageY = [&](double y) { return areaTop - (y - tileTop); };

        ClipToArea(s);
        PlaceFigure(s, 1.0, pageX(0.0), pageY(l.figureMm));
        s += "Q\n";
        if (l.columns * l.rows == 1) {
            Foot(s);
            return;
        }

        const double overlap = options_.overlapMm;
        const bool left = column > 0;
        const bool right = column + 1 < l.columns;
        const bool above = row > 0;
        const bool below = row + 1 < l.rows;
        // Where the right and lower neighbours' cut edges lie.
        std::string thin;
        if (right)
            Line(thin, areaRight - overlap, l.areaBottomMm, areaRight - overlap, areaTop);
        if (below)
            Line(thin, l.areaLeftMm, l.areaBottomMm + overlap, areaRight, l.areaBottomMm + overlap);
        // The cut lines.
        std::string cut;
        if (left)
            Line(cut, l.areaLeftMm, l.areaBottomMm, l.areaLeftMm, areaTop);
        if (above)
            Line(cut, l.areaLeftMm, areaTop, areaRight, areaTop);
        // Black over white, so that they show on any figure; the cut lines
        // dashed.
        s += "1 1 1 RG ";
        Pts(s, {kUnderlayMm});
        s += "w\n" + thin + cut + "0 0 0 RG ";
        Pts(s, {kThinLineMm});
        s += "w\n" + thin + "[";
        Pts(s, {2.0, 1.5});
        s += "] 0 d\n" + cut + "[] 0 d 0 0 0 rg\n";
        // The marks in the middle of each overlap, at a quarter, half and
        // three quarters of the shared edge: the same figure points on both
        // neighbours.
        for (double share : {0.25, 0.5, 0.75}) {
            if (left)
                Mark(s, l.areaLeftMm + overlap / 2.0, areaTop - share * l.areaHeightMm);
            if (right)
                Mark(s, areaRight - overlap / 2.0, areaTop - share * l.areaHeightMm);
            if (above)
                Mark(s, l.areaLeftMm + share * l.areaWidthMm, areaTop - overlap / 2.0);
            if (below)
                Mark(s, l.areaLeftMm + share * l.areaWidthMm, l.areaBottomMm + overlap / 2.0);
        }

        // The neighbours' names beside the edges they share.
        const double m = options_.marginMm;
        const double middleX = l.areaLeftMm + l.areaWidthMm / 2.0;
        const double middleY = l.areaBottomMm + l.areaHeightMm / 2.0;
        if (above)
            Text(s, "F1", 8, middleX - 8, areaTop + m / 2.0 - 1, "above: " + TileName(column, row - 1));
        if (below)
            Text(s, "F1", 8, middleX - 8, l.areaBottomMm - 4, "below: " + TileName(column, row + 1));
        if (left)
            UpwardText(s, 8, m / 2.0 + 1, middleY - 8, "left: " + TileName(column - 1, row));
        if (right)
            UpwardText(s, 8, areaRight + m / 2.0 + 1, middleY - 8, "right: " + TileName(column + 1, row));

        const double x = Foot(s);
        Text(s, "F2", 16, x, m + 40, TileName(column, row) + Of());
        Text(s, "F1", 9, x, m + 33, "Page " + std::to_string(tile + 2) + " of " + std::to_string(l.pageCount));
        std::string neighbours;
        const std::pair<bool, std::string> sides[] = {
            {left, "left " + (left ? TileName(column - 1, row) : "")},
            {right, "right " + (right ? TileName(column + 1, row) : "")},
            {above, "above " + (above ? TileName(column, row - 1) : "")},
            {below, "below " + (below ? TileName(column, row + 1) : "")},
        };
        for (const auto& [present, text] : sides)
            if (present)
                neighbours += (neighbours.empty() ? "Neighbours: " : ", ") + text;
        Text(s, "F1", 9, x, m + 28, neighbours);
        Text(s, "F1", 9, x, m + 18, "Cut along the dashed lines, lay the page over its");
        Text(s, "F1", 9, x, m + 13, "neighbours up to their thin lines, match the marks.");
    }

    const FigurePlan& plan_;
    const PdfOptions& options_;
    const PdfLayout& layout_;
    std::string& out_;
    double size_;
    double origin_;
    double mmPerUnit_;
    FigureNumberWriter numbers_;
    double pen_;
    std::vector<std::size_t> offsets_;
};

} // namespace

int PlanPdfLayout(double figureMm, const PdfOptions& options, PdfLayout& layout)
{
    layout = PdfLayout{};
    if (!std::isfinite(figureMm) || figureMm <= 0.0 || !std::isfinite(options.marginMm) ||
        !std::isfinite(options.overlapMm) || options.marginMm < 0.0)
        return 0;
    PdfLayout upright;
    PdfLayout turned;
    const bool uprightFits = PlanOrientation(figureMm, options, false, upright);
    const bool turnedFits = PlanOrientation(figureMm, options, true, turned);
    if (!uprightFits && !turnedFits)
        return 0;
    layout = uprightFits && (!turnedFits || upright.pageCount <= turned.pageCount) ? upright : turned;
    return 1;
}

double TileLeftMm(const PdfLayout& layout, int column)
{
    return layout.gridLeftMm + column * (layout.areaWidthMm - layout.overlapMm);
}

double TileTopMm(const PdfLayout& layout, int row)
{
    return layout.gridTopMm + row * (layout.areaHeightMm - layout.overlapMm);
}

std::string TileName(int column, int row)
{
    std::string letters;
    for (int n = column + 1; n > 0; n = (n - 1) / 26)
        letters.insert(letters.begin(), static_cast<char>('A' + (n - 1) % 26));
    return letters + std::to_string(row + 1);
}

int FigurePdfBytes(const FigurePlan& plan, const PdfOptions& options, std::string& pdf)
{
    pdf.clear();
    const double side = std::fabs(plan.exactSide);
    if (!std::isfinite(side) || side < 1.0)
        return 0;
    PdfLayout layout;
    if (!PlanPdfLayout(side * MillimetresPerUnit(options.unit), options, layout))
        return 0;
    PdfWriter(plan, options, layout, pdf).Write();
    return 1;
}
