// Draws the dialog's artwork into a folder:
//   construction.bmp  bitmap 1000: 253 x 300, 256 colours, the construction of
//                     a regular decagon in its circumscribed circle
//   construction-2x.bmp  bitmap 1001: the same drawn at twice the size, for
//                     screens of 192 dpi (Windows scales it down for 144)
//   decagon.png       icon 1071: 48 x 48, the program's icon
//   decagon-72.png, decagon-96.png  the icon at 150 % and 200 %, which
//                     win32/decagon.ico holds beside the 48-pixel one
//   decagon.svg       the same icon as a scalable drawing, for the desktop
// The committed copies in resources/ come from this program; rebuild them
// with `cmake --build build --target artwork`.
#include <QColor>
#include <QDir>
#include <QFile>
#include <QFont>
#include <QGuiApplication>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QPolygonF>
#include <QRadialGradient>
#include <QString>

#include <cmath>
#include <cstdio>
#include <numbers>
#include <vector>

namespace {
constexpr int kPictureWidth = 253;
constexpr int kPictureHeight = 300;
constexpr int kIconSize = 48;

// The icon's geometry and colours, shared by the bitmap and the drawing.
const QPointF kIconCentre(24.0, 24.0);
constexpr double kIconRadius = 21.5;
const QPointF kIconLightAt(18.0, 18.0); // the gradient's centre
constexpr double kIconLightRadius = 30.0;
const QColor kIconLight(255, 236, 140);
const QColor kIconShade(230, 140, 20);
const QColor kIconEdge(90, 50, 0);
const QColor kIconLines(0, 0, 160);
constexpr double kIconEdgeWidth = 1.6;
constexpr double kIconLineWidth = 1.0;
constexpr double kIconCircleWidth = 1.2;

const QColor kInk(0, 0, 0);
const QColor kCircleInk(0, 0, 160);
const QColor kOutlineInk(0, 110, 0);
const QColor kConstructionInk(200, 0, 0);
const QColor kSideInk(160, 0, 160);

// A point on the circle at an angle in degrees, counter-clockwise from the
// right, on a screen whose y grows downward.
QPointF OnCircle(QPointF centre, double radius, double degrees)
{
    const double radians = degrees * std::numbers::pi / 180.0;
    return {centre.x() + radius * std::cos(radians), centre.y() - radius * std::sin(radians)};
}

// The ten vertices, every 36 degrees from the right, counter-clockwise.
QPolygonF Decagon(QPointF centre, double radius)
{
    QPolygonF decagon;
    for (int k = 0; k < 10; ++k)
        decagon << OnCircle(centre, radius, 36.0 * k);
    return decagon;
}

void DrawText(QPainter& painter, QPointF centre, const QString& text)
{
    const QRectF box(centre.x() - 20, centre.y() - 8, 40, 16);
    painter.drawText(box, Qt::AlignCenter, text);
}

void DrawDot(QPainter& painter, QPointF at, const QColor& color)
{
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(color);
    painter.drawEllipse(at, 2.0, 2.0);
    painter.restore();
}

// 256 colours: for each ink a ramp from white to the ink, so that the
// smoothed edges of lines and letters keep their tone.
QList<QRgb> PictureColorTable()
{
    const QColor inks[] = {kInk, kCircleInk, kOutlineInk, kConstructionInk, kSideInk};
    QList<QRgb> table;
    table.append(qRgb(255, 255, 255));
    for (const QColor& ink : inks) {
        for (int step = 1; step <= 51; ++step) {
            const double t = step / 51.0;
            table.append(qRgb(static_cast<int>(std::lround(255 + (ink.red() - 255) * t)),
                              static_cast<int>(std::lround(255 + (ink.green() - 255) * t)),
                              static_cast<int>(std::lround(255 + (ink.blue() - 255) * t))));
        }
    }
    return table;
}

QImage DrawConstruction(int scale)
{
    QImage canvas(kPictureWidth * scale, kPictureHeight * scale, QImage::Format_RGB32);
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    if (scale != 1)
        painter.scale(scale, scale);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font("DejaVu Sans");
    font.setPixelSize(11);
    painter.setFont(font);

    const QPointF m(126.5, 128.0);
    const double r = 100.0;
    // Vertices every 36 degrees: E3 at the right, E8 at the left, E6 and E5
    // at the top, E10 and E1 at the bottom, as in the dialog's ring of fields.
    const char* const names[10] = {"E3", "E4", "E5", "E6", "E7", "E8", "E9", "E10", "E1", "E2"};
    const QPolygonF decagon = Decagon(m, r);

    // The circumscribed circle and its horizontal diameter E8-E3.
    painter.setPen(QPen(kCircleInk, 1.2));
    painter.drawEllipse(m, r, r);
    painter.setPen(QPen(kCircleInk, 0.8, Qt::DashLine));
    painter.drawLine(decagon[5], decagon[0]);

    // Construction of the side a = R (sqrt 5 - 1) / 2: A at the top of the
    // circle, C the middle of the radius to E3, the arc about C through A
    // meets the diameter at D, so MD = a; the circle about C through M meets
    // CA at F, so AF = a as well.
    const QPointF a = OnCircle(m, r, 90.0);
    const QPointF b = OnCircle(m, r, 270.0);
    const QPointF c(m.x() + r / 2.0, m.y());
    const double ca = QLineF(c, a).length();
    const QPointF d(c.x() - ca, m.y());
    const QPointF f = QLineF(c, a).pointAt((r / 2.0) / ca);
    painter.setPen(QPen(kConstructionInk, 0.8, Qt::DashLine));
    painter.drawLine(a, b);
    painter.setPen(QPen(kConstructionInk, 1.0));
    painter.drawLine(c, a);
    painter.drawLine(a, d);
    const double angleOfA = std::atan2(c.y() - a.y(), a.x() - c.x()) * 180.0 / std::numbers::pi;
    painter.drawArc(QRectF(c.x() - ca, c.y() - ca, 2 * ca, 2 * ca), static_cast<int>(std::lround(16 * angleOfA)),
                    static_cast<int>(std::lround(16 * (180.0 - angleOfA))));
    painter.setPen(QPen(kConstructionInk, 0.8, Qt::DotLine));
    painter.drawEllipse(c, r / 2.0, r / 2.0);

    // The decagon.
    painter.setPen(QPen(kOutlineInk, 1.6));
    painter.drawPolygon(decagon);

    // The radius R to E4, the 36 degree angle at M between E3 and E4, and
    // the side a between them.
    painter.setPen(QPen(kInk, 1.0));
    painter.drawLine(m, decagon[1]);
    painter.drawArc(QRectF(m.x() - 22, m.y() - 22, 44, 44), 0, 36 * 16);
    painter.setPen(QPen(kSideInk, 2.4));
    painter.drawLine(decagon[0], decagon[1]);

    for (const QPointF& point : {m, a, b, c, d, f})
        DrawDot(painter, point, kConstructionInk);
    for (const QPointF& point : decagon)
        DrawDot(painter, point, kOutlineInk);

    painter.setPen(kInk);
    for (int k = 0; k < 10; ++k)
        DrawText(painter, OnCircle(m, r + 12.0, 36.0 * k), names[k]);
    DrawText(painter, QPointF(m.x() - 4, m.y() + 9), "M");
    DrawText(painter, QPointF(a.x(), a.y() - 9), "A");
    DrawText(painter, QPointF(b.x() - 9, b.y() - 9), "B");
    DrawText(painter, QPointF(c.x() + 2, c.y() + 9), "C");
    DrawText(painter, QPointF(d.x(), d.y() + 9), "D");
    DrawText(painter, QPointF(f.x() + 8, f.y() - 2), "F");
    DrawText(painter, OnCircle(m, 30.0, 18.0) + QPointF(9, 0), QString::fromUtf8("36\u00B0"));
    DrawText(painter, OnCircle(m, r * 0.75, 36.0) + QPointF(6, 8), "R");
    painter.setPen(kSideInk);
    DrawText(painter, OnCircle(m, r * 0.95, 18.0) + QPointF(9, 0), "a");

    painter.setPen(kInk);
    painter.drawText(QRectF(0, kPictureHeight - 42, kPictureWidth, 16), Qt::AlignCenter,
                     QString::fromUtf8("a = MD = AF = R (\u221A5 \u2212 1) / 2"));
    painter.drawText(QRectF(0, kPictureHeight - 24, kPictureWidth, 16), Qt::AlignCenter,
                     QString::fromUtf8("angle E3 M E4 = 36\u00B0"));
    painter.end();

    return canvas.convertToFormat(QImage::Format_Indexed8, PictureColorTable(), Qt::ThresholdDither | Qt::AvoidDither);
}

QImage DrawIcon(int size)
{
    QImage icon(size, size, QImage::Format_ARGB32);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    if (size != kIconSize)
        painter.scale(static_cast<double>(size) / kIconSize, static_cast<double>(size) / kIconSize);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF m = kIconCentre;
    const double r = kIconRadius;

    const QPolygonF decagon = Decagon(m, r);
    QRadialGradient fill(kIconLightAt, kIconLightRadius);
    fill.setColorAt(0.0, kIconLight);
    fill.setColorAt(1.0, kIconShade);
    painter.setPen(QPen(kIconEdge, kIconEdgeWidth));
    painter.setBrush(fill);
    painter.drawPolygon(decagon);

    painter.setPen(QPen(kIconLines, kIconLineWidth));
    painter.setBrush(Qt::NoBrush);
    for (int k = 0; k < 5; ++k)
        painter.drawLine(decagon[k], decagon[k + 5]);
    painter.setPen(QPen(kIconLines, kIconCircleWidth));
    painter.drawEllipse(m, r * std::cos(std::numbers::pi / 10.0), r * std::cos(std::numbers::pi / 10.0));
    painter.end();
    return icon;
}

QString Number(double value) { return QString::number(value, 'f', 3); }

// The icon as SVG text: the same decagon, gradient, diameters and inscribed
// circle as the bitmap, on a 48-unit square that scales to any size.
QString DrawIconSvg()
{
    const QPointF m = kIconCentre;
    const double r = kIconRadius;
    const QPolygonF decagon = Decagon(m, r);
    QString points;
    for (const QPointF& point : decagon)
        points += (points.isEmpty() ? "" : " ") + Number(point.x()) + "," + Number(point.y());

    QString svg;
    svg += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg += QString("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"%1\" height=\"%1\" viewBox=\"0 0 %1 %1\">\n")
               .arg(kIconSize);
    svg += "  <defs>\n";
    svg += QString("    <radialGradient id=\"fill\" gradientUnits=\"userSpaceOnUse\" cx=\"%1\" cy=\"%2\" r=\"%3\">\n")
               .arg(Number(kIconLightAt.x()), Number(kIconLightAt.y()), Number(kIconLightRadius));
    svg += QString("      <stop offset=\"0\" stop-color=\"%1\"/>\n").arg(kIconLight.name());
    svg += QString("      <stop offset=\"1\" stop-color=\"%1\"/>\n").arg(kIconShade.name());
    svg += "    </radialGradient>\n";
    svg += "  </defs>\n";
    svg += QString("  <polygon points=\"%1\" fill=\"url(#fill)\" stroke=\"%2\" stroke-width=\"%3\"/>\n")
               .arg(points, kIconEdge.name(), Number(kIconEdgeWidth));
    svg += QString("  <g stroke=\"%1\" stroke-width=\"%2\">\n").arg(kIconLines.name(), Number(kIconLineWidth));
    for (int k = 0; k < 5; ++k)
        svg += QString("    <line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\"/>\n")
                   .arg(Number(decagon[k].x()), Number(decagon[k].y()), Number(decagon[k + 5].x()),
                        Number(decagon[k + 5].y()));
    svg += "  </g>\n";
    svg += QString("  <circle cx=\"%1\" cy=\"%2\" r=\"%3\" fill=\"none\" stroke=\"%4\" stroke-width=\"%5\"/>\n")
               .arg(Number(m.x()), Number(m.y()), Number(r * std::cos(std::numbers::pi / 10.0)), kIconLines.name(),
                    Number(kIconCircleWidth));
    svg += "</svg>\n";
    return svg;
}

bool SaveText(const QString& text, const QString& path)
{
    QFile file(path);
    const QByteArray bytes = text.toUtf8();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}

bool Save(const QImage& image, const QString& path, const char* format)
{
    if (!image.save(path, format)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("wrote %s\n", qPrintable(path));
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
        return 2;
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QDir folder(QString::fromLocal8Bit(argv[1]));
    const bool ok = Save(DrawConstruction(1), folder.filePath("construction.bmp"), "BMP") &&
                    Save(DrawConstruction(2), folder.filePath("construction-2x.bmp"), "BMP") &&
                    Save(DrawIcon(kIconSize), folder.filePath("decagon.png"), "PNG") &&
                    Save(DrawIcon(72), folder.filePath("decagon-72.png"), "PNG") &&
                    Save(DrawIcon(96), folder.filePath("decagon-96.png"), "PNG") &&
                    SaveText(DrawIconSvg(), folder.filePath("decagon.svg"));
    return ok ? 0 : 1;
}
