#include "model/geometry.h"

#include <cmath>

namespace {
constexpr double kCos18 = 0.9510565162951535;
constexpr double kSin18 = 0.30901699437494745;
constexpr double kTwoPiOverFive = 1.2566370614359172;
constexpr double kReplacementHeight = 100.0;
constexpr double kCentralAngle = 36.0;
} // namespace

double InradiusFromRadius(double externalRadius)
{
    // The whole-number part of the radius is taken first, so the inradius
    // equals R * cos 18 only for whole radii. std::trunc gives the same whole
    // part as a conversion to a 32-bit integer wherever that conversion is
    // defined, and keeps the same rule beyond it: infinity stays infinite and
    // NaN stays NaN instead of some arbitrary integer. An integer has no
    // negative zero, so a radius between -1 and 0 has the whole part +0 and
    // the inradius +0, not the -0 that std::trunc keeps from the sign.
    double whole = std::trunc(externalRadius);
    if (whole == 0.0)
        whole = 0.0;
    return whole * kCos18;
}

void ComputeVertices(DecagonRecord* record)
{
    if (record == nullptr)
        return;
    const double radius = record->externalRadius;
    for (int row = 0; row < kVertexCount; ++row) {
        record->vertices[row].x = radius * VertexTable[row].unitCos;
        // The negated radius times a positive zero sine gives negative zero
        // for E8 and E3 whenever the radius is positive.
        record->vertices[row].y = (-radius) * VertexTable[row].unitSin;
    }
}

void ComputeGeometry(DecagonRecord& record)
{
    if (record.expectedHeight == 0.0)
        record.expectedHeight = kReplacementHeight;
    const double radius = record.expectedHeight / 2.0;
    record.externalRadius = radius;
    record.internalRadius = InradiusFromRadius(radius);
    const double halfSide = radius * kSin18;
    record.hypotenuse = std::sqrt(std::pow(halfSide, 2.0) + std::pow(radius, 2.0));
    record.chord = halfSide * 2.0;
    record.angle = kCentralAngle;
    record.arc = radius * kTwoPiOverFive;
    record.pointD = record.hypotenuse * kCos18;
    record.centerX = radius;
    record.centerY = radius;
    ComputeVertices(&record);
}
