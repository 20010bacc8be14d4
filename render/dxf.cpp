#include "render/dxf.h"

#include "render/svg.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <vector>

namespace {

constexpr int kMinDecimals = 6; // a thousandth of a millimetre even in inches
constexpr double kDotPens = 3.0;

struct DxfLayer {
    std::string name;
    int color;
    bool dotted;
};

std::string LayerName(const FigureElement& element)
{
    switch (element.part) {
    case FigurePart::Background:
        return "BACKGROUND";
    case FigurePart::ExternalCircle:
        return "EXTERNAL-CIRCLE";
    case FigurePart::InternalCircle:
        return "INTERNAL-CIRCLE";
    case FigurePart::Outline:
        return "OUTLINE";
    case FigurePart::Diagonal:
        break;
    }
    if (element.colorRow >= 0 && element.colorRow < kVertexCount)
        return std::string("DIAGONALS-") + VertexTable[element.colorRow].label;
    return "DIAGONALS";
}

class DxfWriter {
public:
    DxfWriter(const FigurePlan& plan, LengthUnit unit, std::string& out)
        : plan_(plan), unit_(unit), out_(out), size_(std::fabs(plan.exactSide)), origin_(std::min(plan.exactSide, 0.0)),
          numbers_(size_, kMinDecimals), pen_(SvgPenWidth(size_))
    {
    }

    bool Write()
    {
        if (numbers_.Text(size_) == "0")
            return false;
        out_.reserve(16384);
        Section("HEADER");
        Variable("$ACADVER");
        Group(1, "AC1009");
        // Drawing units: 1 inches, 4 millimetres, 5 centimetres.
        Variable("$INSUNITS");
        Group(70, unit_ == LengthUnit::Inch ? "1" : unit_ == LengthUnit::Centimetre ? "5" : "4");
        Variable("$EXTMIN");
        Point(10, 0.0, 0.0);
        Variable("$EXTMAX");
        Point(10, size_, size_);
        EndSection();

        Section("TABLES");
        Group(0, "TABLE");
        Group(2, "LTYPE");
        Group(70, "2");
        LineType("CONTINUOUS", "Solid line", 0.0);
        LineType("DOT", "Dots three pens long", kDotPens * pen_);
        Group(0, "ENDTAB");
        const std::vector<DxfLayer> layers = Layers();
        Group(0, "TABLE");
        Group(2, "LAYER");
        Group(70, std::to_string(layers.size() + 1));
        Layer(DxfLayer{"0", 7, false});
        for (const DxfLayer& layer : layers)
            Layer(layer);
        Group(0, "ENDTAB");
        EndSection();

        Section("ENTITIES");
        const std::vector<FigureElement>& elements = plan_.elements;
        for (std::size_t i = 0; i < elements.size();) {
            const FigureElement& element = elements[i];
            switch (element.kind) {
            case FigureElementKind::Fill: {
                const ExactPoint corners[] = {{origin_, origin_ + size_},
                                              {origin_ + size_, origin_ + size_},
                                              {origin_ + size_, origin_},
                                              {origin_, origin_}};
                Polyline(LayerName(element), corners, 4);
                ++i;
                break;
            }
            case FigureElementKind::Ellipse:
                Group(0, "CIRCLE");
                Group(8, LayerName(element));
                Point(10, X(element.exactCenter.x), Y(element.exactCenter.y));
                Group(40, std::fabs(element.exactDiameter) / 2.0);
                ++i;
                break;
            case FigureElementKind::Segment:
                i = Segments(i);
                break;
            }
        }
        EndSection();
        Group(0, "EOF");
        return true;
    }

private:
    double X(double x) const { return x - origin_; }
    double Y(double y) const { return origin_ + size_ - y; }

    void Group(int code, const std::string& value)
    {
        std::string number = std::to_string(code);
        out_.append(number.size() < 3 ? 3 - number.size() : 0, ' ');
        out_ += number;
        out_ += '\n';
        out_ += value;
        out_ += '\n';
    }

    void Group(int code, double value) { Group(code, numbers_.Text(value)); }

    void Point(int code, double x, double y)
    {
        Group(code, x);
        Group(code + 10, y);
        Group(code + 20, "0.0");
    }

    void Section(const char* name)
    {
        Group(0, "SECTION");
        Group(2, name);
    }

    void EndSection() { Group(0, "ENDSEC"); }

    void Variable(const char* name) { Group(9, name); }

    void LineType(const char* name, const char* description, double dot)
    {
        Group(0, "LTYPE");
        Group(2, name);
        Group(70, "0");
        Group(3, description);
        Group(72, "65");
        Group(73, dot > 0.0 ? "2" : "0");
        Group(40, 2.0 * dot);
        if (dot > 0.0) {
            Group(49, dot);
            Group(49, -dot);
        }
    }

    void Layer(const DxfLayer& layer)
    {
        Group(0, "LAYER");
        Group(2, layer.name);
        Group(70, "0");
        Group(62, std::to_string(layer.color));
        Group(6, layer.dotted ? "DOT" : "CONTINUOUS");
    }

    // The layers in the order their elements come, each once.
    std::vector<DxfLayer> Layers() const
    {
        std::vector<DxfLayer> layers;
        for (const FigureElement& element : plan_.elements) {
            const std::string name = LayerName(element);
            if (std::any_of(layers.begin(), layers.end(), [&](const DxfLayer& layer) { return layer.name == name; }))
                continue;
            layers.push_back(
                DxfLayer{name, NearestAutoCadColor(element.color),
                         element.kind == FigureElementKind::Ellipse && element.penStyle == PenStyle::Dotted});
        }
        return layers;
    }

    void Polyline(const std::string& layer, const ExactPoint* points, std::size_t count)
    {
        Group(0, "POLYLINE");
        Group(8, layer);
        Group(66, "1");
        Point(10, 0.0, 0.0);
        Group(70, "1");
        for (std::size_t i = 0; i < count; ++i) {
            Group(0, "VERTEX");
            Group(8, layer);
            Point(10, X(points[i].x), Y(points[i].y));
        }
        Group(0, "SEQEND");
        Group(8, layer);
    }

    // The run of segments of one part and colour from index first on: the closed
    // outline as one polyline, anything else as lines. Returns the index
    // after the run.
    std::size_t Segments(std::size_t first)
    {
        const std::vector<FigureElement>& elements = plan_.elements;
        const std::string layer = LayerName(elements[first]);
        const std::size_t end = SegmentRunEnd(plan_, first);
        if (IsClosedOutline(plan_, first, end)) {
            std::vector<ExactPoint> points;
            for (std::size_t i = first; i < end; ++i)
                points.push_back(elements[i].exactFrom);
            Polyline(layer, points.data(), points.size());
            return end;
        }
        for (std::size_t i = first; i < end; ++i) {
            Group(0, "LINE");
            Group(8, layer);
            Point(10, X(elements[i].exactFrom.x), Y(elements[i].exactFrom.y));
            Point(11, X(elements[i].exactTo.x), Y(elements[i].exactTo.y));
        }
        return end;
    }

    const FigurePlan& plan_;
    LengthUnit unit_;
    std::string& out_;
    double size_;
    double origin_;
    FigureNumberWriter numbers_;
    double pen_;
};

} // namespace

ColorValue AutoCadColor(int index)
{
    // 1 to 9: the named colours; 250 to 255: greys, as LibreCAD shows them.
    static const ColorValue kNamed[] = {MakeColor(255, 0, 0),     MakeColor(255, 255, 0),   MakeColor(0, 255, 0),
                                        MakeColor(0, 255, 255),   MakeColor(0, 0, 255),     MakeColor(255, 0, 255),
                                        MakeColor(255, 255, 255), MakeColor(128, 128, 128), MakeColor(192, 192, 192)};
    static const int kGreys[] = {84, 118, 152, 187, 221, 255};
    if (index >= 1 && index <= 9)
        return kNamed[index - 1];
    if (index >= 250 && index <= 255)
        return MakeColor(kGreys[index - 250], kGreys[index - 250], kGreys[index - 250]);
    if (index < 10 || index > 255)
        return MakeColor(0, 0, 0);
    // 10 to 249: 24 hues 15 degrees apart, each in five brightnesses, full
    // and half saturated.
    const int hue = (index - 10) / 10 * 15;
    const int shade = (index - 10) % 10;
    static const double kValues[] = {255, 165, 127, 76, 38};
    const double v = kValues[shade / 2];
    const double low = shade % 2 == 0 ? 0.0 : v / 2.0;
    const double f = (hue % 60) / 60.0;
    const double rising = low + (v - low) * f;
    const double falling = low + (v - low) * (1.0 - f);
    double rgb[3] = {};
    switch (hue / 60) {
    case 0:
        rgb[0] = v, rgb[1] = rising, rgb[2] = low;
        break;
    case 1:
        rgb[0] = falling, rgb[1] = v, rgb[2] = low;
        break;
    case 2:
        rgb[0] = low, rgb[1] = v, rgb[2] = rising;
        break;
    case 3:
        rgb[0] = low, rgb[1] = falling, rgb[2] = v;
        break;
    case 4:
        rgb[0] = rising, rgb[1] = low, rgb[2] = v;
        break;
    default:
        rgb[0] = v, rgb[1] = low, rgb[2] = falling;
        break;
    }
    return MakeColor(static_cast<int>(rgb[0]), static_cast<int>(rgb[1]), static_cast<int>(rgb[2]));
}

int NearestAutoCadColor(ColorValue color)
{
    if (color == MakeColor(0, 0, 0) || color == MakeColor(255, 255, 255))
        return 7;
    int best = 1;
    long bestDistance = -1;
    for (int index = 1; index <= 255; ++index) {
        if (index == 7)
            continue;
        const ColorValue candidate = AutoCadColor(index);
        const long dr = ColorRed(candidate) - ColorRed(color);
        const long dg = ColorGreen(candidate) - ColorGreen(color);
        const long db = ColorBlue(candidate) - ColorBlue(color);
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = index;
            bestDistance = distance;
        }
    }
    return best;
}

int FigureDxfText(const FigurePlan& plan, LengthUnit unit, std::string& dxf)
{
    dxf.clear();
    if (!std::isfinite(plan.exactSide) || plan.exactSide == 0.0)
        return 0;
    if (!DxfWriter(plan, unit, dxf).Write()) {
        dxf.clear();
        return 0;
    }
    return 1;
}
