#include "render/svg.h"

#include "render/truescale.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

constexpr double kUnitPen = 1.0;
constexpr double kPenShareLimit = 100.0; // a pen never takes more than 1/100 of the figure
constexpr double kDashPens = 3.0;        // dash and gap length, in pen widths
void AppendColor(std::string& out, ColorValue color)
{
    static const char kHex[] = "0123456789abcdef";
    out += '#';
    for (int channel : {ColorRed(color), ColorGreen(color), ColorBlue(color)}) {
        out += kHex[(channel >> 4) & 0xF];
        out += kHex[channel & 0xF];
    }
}

class SvgBuilder {
public:
    SvgBuilder(const FigurePlan& plan, LengthUnit unit, std::string& out)
        : plan_(plan), out_(out), unit_(LengthUnitSymbol(unit)), size_(std::fabs(plan.exactSide)), numbers_(size_),
          pen_(SvgPenWidth(size_))
    {
    }

    bool Build()
    {
        // A size too small for the decimals kept is no figure either.
        const std::string size = numbers_.Text(size_);
        if (size == "0")
            return false;
        // A negative height puts the figure between (height, height) and the
        // origin.
        const std::string origin = numbers_.Text(std::min(plan_.exactSide, 0.0));
        penText_ = numbers_.Text(pen_);

        out_.reserve(8192);
        out_ += "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n";
        out_ += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + size + unit_ + "\" height=\"" +
                size + unit_ + "\" viewBox=\"" + origin + " " + origin + " " + size + " " + size + "\">\n";
        out_ += "<title>Decagon of height " + numbers_.Text(plan_.exactSide) + "</title>\n";

        const std::vector<FigureElement>& elements = plan_.elements;
        for (std::size_t i = 0; i < elements.size();) {
            const FigureElement& element = elements[i];
            switch (element.kind) {
            case FigureElementKind::Fill:
                Background(element, origin, size);
                ++i;
                break;
            case FigureElementKind::Ellipse:
                Circle(element);
                ++i;
                break;
            case FigureElementKind::Segment:
                i = element.part == FigurePart::Outline ? Outline(i) : Fan(i);
                break;
            }
        }
        out_ += "</svg>\n";
        return true;
    }

private:
    void Number(double value) { numbers_.Append(out_, value); }

    void Attribute(const char* name, double value)
    {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        Number(value);
        out_ += '"';
    }

    void ColorAttribute(const char* name, ColorValue color)
    {
        out_ += ' ';
        out_ += name;
        out_ += "=\"";
        AppendColor(out_, color);
        out_ += '"';
    }

    void Background(const FigureElement& element, const std::string& origin, const std::string& size)
    {
        out_ += "<rect id=\"background\" x=\"" + origin + "\" y=\"" + origin + "\" width=\"" + size + "\" height=\"" +
                size + "\"";
        ColorAttribute("fill", element.color);
        out_ += "/>\n";
    }

    void CircleGeometry(const FigureElement& element)
    {
        Attribute("cx", element.exactCenter.x);
        Attribute("cy", element.exactCenter.y);
        Attribute("r", std::fabs(element.exactDiameter) / 2.0);
    }

    void Circle(const FigureElement& element)
    {
        const char* id = element.part == FigurePart::ExternalCircle   ? "external-circle"
                         : element.part == FigurePart::InternalCircle ? "internal-circle"
                                                                      : "circle";
        if (element.penStyle == PenStyle::Dotted) {
            // The gaps of the dotted pen are white: a white circle carries the
            // interior, and the dashes are drawn over it.
            out_ += "<g id=\"" + std::string(id) + "\" stroke-width=\"" + penText_ + "\">\n<circle";
            CircleGeometry(element);
            ColorAttribute("fill", element.interior);
            out_ += " stroke=\"#ffffff\"/>\n<circle";
            CircleGeometry(element);
            out_ += " fill=\"none\"";
            ColorAttribute("stroke", element.color);
            out_ += " stroke-dasharray=\"";
            Number(kDashPens * pen_);
            out_ += ' ';
            Number(kDashPens * pen_);
            out_ += "\"/>\n</g>\n";
            return;
        }
        out_ += "<circle id=\"" + std::string(id) + "\"";
        CircleGeometry(element);
        ColorAttribute("fill", element.interior);
        ColorAttribute("stroke", element.color);
        out_ += " stroke-width=\"" + penText_ + "\"/>\n";
    }

    void Line(const FigureElement& element)
    {
        out_ += "<line";
        Attribute("x1", element.exactFrom.x);
        Attribute("y1", element.exactFrom.y);
        Attribute("x2", element.exactTo.x);
        Attribute("y2", element.exactTo.y);
        out_ += "/>\n";
    }

    void GroupStart(const std::string& id, ColorValue color)
    {
        out_ += "<g id=\"" + id + "\" fill=\"none\"";
        ColorAttribute("stroke", color);
        out_ += " stroke-width=\"" + penText_ + "\">\n";
    }

    // The outline segments from index first on. The ten sides of the closed
    // outline become one polygon, which a cutter follows in one pass and
    // whose corners are joined; anything less stays single lines.
    std::size_t Outline(std::size_t first)
    {
        const std::vector<FigureElement>& elements = plan_.elements;
        const std::size_t end = SegmentRunEnd(plan_, first);
        const bool closed = IsClosedOutline(plan_, first, end);
        if (closed) {
            out_ += "<polygon id=\"outline\" points=\"";
            for (std::size_t i = first; i < end; ++i) {
                if (i != first)
                    out_ += ' ';
                Number(elements[i].exactFrom.x);
                out_ += ',';
                Number(elements[i].exactFrom.y);
            }
            out_ += "\" fill=\"none\"";
            ColorAttribute("stroke", elements[first].color);
            out_ += " stroke-width=\"" + penText_ + "\"/>\n";
            return end;
        }
        GroupStart("outline", elements[first].color);
        for (std::size_t i = first; i < end; ++i)
            Line(elements[i]);
        out_ += "</g>\n";
        return end;
    }

    // One fan: the diagonals from index first on that share its colour row.
    std::size_t Fan(std::size_t first)
    {
        const std::vector<FigureElement>& elements = plan_.elements;
        const FigureElement& head = elements[first];
        const std::size_t end = SegmentRunEnd(plan_, first);
        const bool named = head.colorRow >= 0 && head.colorRow < kVertexCount;
        GroupStart(named ? std::string("diagonals-") + VertexTable[head.colorRow].label : "diagonals", head.color);
        for (std::size_t i = first; i < end; ++i)
            Line(elements[i]);
        out_ += "</g>\n";
        return end;
    }

    const FigurePlan& plan_;
    std::string& out_;
    std::string unit_;
    double size_;
    FigureNumberWriter numbers_;
    double pen_;
    std::string penText_;
};

} // namespace

double SvgPenWidth(double figureSize) { return std::min(kUnitPen, std::fabs(figureSize) / kPenShareLimit); }

int FigureSvgText(const FigurePlan& plan, std::string& svg) { return FigureSvgText(plan, LengthUnit::Millimetre, svg); }

int FigureSvgText(const FigurePlan& plan, LengthUnit unit, std::string& svg)
{
    svg.clear();
    // The builder's number format needs a finite size other than zero.
    if (!std::isfinite(plan.exactSide) || plan.exactSide == 0.0)
        return 0;
    if (!SvgBuilder(plan, unit, svg).Build()) {
        svg.clear();
        return 0;
    }
    return 1;
}

int DecagonSvgText(const DecagonRecord& record, std::string& svg, LengthUnit unit)
{
    svg.clear();
    FigurePlan plan;
    if (!PlanExactFigure(record, plan))
        return 0;
    return FigureSvgText(plan, unit, svg);
}
