#include "model/geometry.h"
#include "model/numtext.h"
#include "model/record.h"

#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

std::string Shown(double value) { return FormatFixed(value, 4); }

struct Expected {
    const char* radius;
    const char* inradius;
    const char* hypotenuse;
    const char* chord;
    const char* arc;
    const char* pointD;
};

void ExpectValues(const DecagonRecord& record, const Expected& expected)
{
    EXPECT_EQ(Shown(record.externalRadius), expected.radius);
    EXPECT_EQ(Shown(record.internalRadius), expected.inradius);
    EXPECT_EQ(Shown(record.hypotenuse), expected.hypotenuse);
    EXPECT_EQ(Shown(record.chord), expected.chord);
    EXPECT_EQ(Shown(record.arc), expected.arc);
    EXPECT_EQ(Shown(record.pointD), expected.pointD);
    EXPECT_EQ(Shown(record.angle), "36.0000");
    EXPECT_EQ(Shown(record.centerX), expected.radius);
    EXPECT_EQ(Shown(record.centerY), expected.radius);
}

} // namespace

TEST(VertexTable, HoldsTheNearestDoublesOfTheClosedForms)
{
    const long double root5 = std::sqrt(5.0L);
    const double cos72 = static_cast<double>((root5 - 1) / 4);
    const double cos36 = static_cast<double>((1 + root5) / 4);
    const double sin72 = static_cast<double>(std::sqrt(10 + 2 * root5) / 4);
    const double sin36 = static_cast<double>(std::sqrt(10 - 2 * root5) / 4);
    const double expected[10][2] = {{cos72, sin72},   {cos36, sin36},   {1.0, 0.0},  {cos36, -sin36}, {cos72, -sin72},
                                    {-cos72, -sin72}, {-cos36, -sin36}, {-1.0, 0.0}, {-cos36, sin36}, {-cos72, sin72}};
    const char* labels[10] = {"E6", "E7", "E8", "E9", "E10", "E1", "E2", "E3", "E4", "E5"};
    for (int row = 0; row < kVertexCount; ++row) {
        EXPECT_EQ(VertexTable[row].index, row);
        EXPECT_STREQ(VertexTable[row].label, labels[row]);
        EXPECT_EQ(VertexTable[row].unitCos, expected[row][0]) << labels[row];
        EXPECT_EQ(VertexTable[row].unitSin, expected[row][1]) << labels[row];
    }
    EXPECT_FALSE(std::signbit(VertexTable[2].unitSin));
    EXPECT_FALSE(std::signbit(VertexTable[7].unitSin));
}

TEST(RecordDefaults, MatchTheFirstStart)
{
    DecagonRecord record;
    std::memset(&record, 0x5A, sizeof record);
    SetRecordDefaults(record);
    EXPECT_EQ(record.recordTag, 2);
    EXPECT_EQ(record.diagonalChoice, 1);
    EXPECT_EQ(record.showExternalCircle, 1);
    EXPECT_EQ(record.showInternalCircle, 1);
    EXPECT_EQ(std::bit_cast<std::uint64_t>(record.expectedHeight), 0x406FDC49BA5E353FULL);
    EXPECT_EQ(record.angle3D, 40.0);
    EXPECT_EQ(record.outlineColor, 17);
    EXPECT_EQ(record.internalCircleColor, 24);
    EXPECT_EQ(record.externalCircleColor, 34);
    EXPECT_EQ(record.backgroundColor, 0);
    const std::int32_t colors[10] = {8, 7, 25, 29, 10, 6, 18, 42, 40, 1};
    for (int row = 0; row < kVertexCount; ++row)
        EXPECT_EQ(record.diagonalColors[row], colors[row]);
    for (double value : {record.arc, record.externalRadius, record.internalRadius, record.chord, record.hypotenuse,
                         record.pointD, record.angle, record.centerX, record.centerY})
        EXPECT_EQ(std::bit_cast<std::uint64_t>(value), 0u);
    for (const VertexPoint& vertex : record.vertices) {
        EXPECT_EQ(std::bit_cast<std::uint64_t>(vertex.x), 0u);
        EXPECT_EQ(std::bit_cast<std::uint64_t>(vertex.y), 0u);
    }
}

TEST(ComputeGeometry, WorkedExampleAtTheDefaultHeight)
{
    const DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    EXPECT_EQ(Shown(record.expectedHeight), "254.8840");
    ExpectValues(record, {"127.4420", "120.7842", "133.3881", "78.7635", "160.1483", "126.8596"});
    const char* expected[10][2] = {
        {"39.3817", "-121.2045"},  {"103.1027", "-74.9085"},  {"127.4420", "-0.0000"},  {"103.1027", "74.9085"},
        {"39.3817", "121.2045"},   {"-39.3817", "121.2045"},  {"-103.1027", "74.9085"}, {"-127.4420", "-0.0000"},
        {"-103.1027", "-74.9085"}, {"-39.3817", "-121.2045"},
    };
    for (int row = 0; row < kVertexCount; ++row) {
        EXPECT_EQ(Shown(record.vertices[row].x), expected[row][0]) << VertexTable[row].label;
        EXPECT_EQ(Shown(record.vertices[row].y), expected[row][1]) << VertexTable[row].label;
    }
}

TEST(ComputeGeometry, ZeroHeightOfEitherSignBecomesOneHundred)
{
    for (const double zero : {0.0, -0.0}) {
        DecagonRecord record;
        std::memset(&record, 0x7F, sizeof record); // whatever it held before
        record.expectedHeight = zero;
        ComputeGeometry(record);
        EXPECT_EQ(record.expectedHeight, 100.0);
        ExpectValues(record, {"50.0000", "47.5528", "52.3329", "30.9017", "62.8319", "49.7715"});
    }
}

TEST(ComputeGeometry, InradiusTakesTheWholePartOfTheRadiusFirst)
{
    const DecagonRecord one = RecordWithHeight(1.0);
    EXPECT_EQ(Shown(one.externalRadius), "0.5000");
    EXPECT_EQ(Shown(one.internalRadius), "0.0000");
    EXPECT_EQ(Shown(one.chord), "0.3090");
    EXPECT_EQ(Shown(one.hypotenuse), "0.5233");

    const DecagonRecord wider = RecordWithHeight(255.0);
    EXPECT_EQ(Shown(wider.externalRadius), "127.5000");
    EXPECT_EQ(wider.internalRadius, RecordWithHeight(kDefaultExpectedHeight).internalRadius);
    EXPECT_EQ(Shown(wider.internalRadius), "120.7842");
}

TEST(ComputeGeometry, AZeroInradiusIsAlwaysPositiveZero)
{
    // The whole part of the radius is a 32-bit integer, which has no negative
    // zero: every radius between -1 and 1 gives +0, whatever its sign.
    const double heights[] = {-1.9999999, -1.0, -0.25, -1e-300, -4.9e-324, 4.9e-324, 0.25, 1.0, 1.9999999};
    for (double height : heights) {
        const DecagonRecord record = RecordWithHeight(height);
        EXPECT_EQ(record.internalRadius, 0.0) << height;
        EXPECT_FALSE(std::signbit(record.internalRadius)) << height;
        EXPECT_EQ(Shown(record.internalRadius), "0.0000") << height;
    }
    // Just outside, the sign is the radius's own again.
    EXPECT_EQ(Shown(RecordWithHeight(-2.0).internalRadius), "-0.9511");
    EXPECT_EQ(Shown(RecordWithHeight(2.0).internalRadius), "0.9511");
    // The other values keep the sign of the operations that make them: the
    // smallest negative height halves to a radius of -0, and so do the
    // lengths taken from it.
    const DecagonRecord tiny = RecordWithHeight(-4.9e-324);
    EXPECT_EQ(Shown(tiny.externalRadius), "-0.0000");
    EXPECT_EQ(Shown(tiny.chord), "-0.0000");
    EXPECT_EQ(Shown(tiny.hypotenuse), "0.0000");
    EXPECT_EQ(Shown(tiny.vertices[2].y), "0.0000"); // (-R) * +0 with R = -0
}

TEST(ComputeGeometry, NegativeHeightMirrorsThroughTheCentre)
{
    const DecagonRecord record = RecordWithHeight(-100.0);
    ExpectValues(record, {"-50.0000", "-47.5528", "52.3329", "-30.9017", "-62.8319", "49.7715"});
    const DecagonRecord positive = RecordWithHeight(100.0);
    for (int row = 0; row < kVertexCount; ++row) {
        EXPECT_EQ(record.vertices[row].x, -positive.vertices[row].x);
        EXPECT_EQ(record.vertices[row].y, -positive.vertices[row].y);
    }
    EXPECT_EQ(Shown(record.vertices[0].x), "-15.4508");
    EXPECT_EQ(Shown(record.vertices[0].y), "47.5528");
    EXPECT_EQ(Shown(record.vertices[2].y), "0.0000");
    EXPECT_EQ(Shown(record.vertices[7].y), "0.0000");
    EXPECT_EQ(Shown(positive.vertices[2].y), "-0.0000");
    EXPECT_EQ(Shown(positive.vertices[7].y), "-0.0000");
}

TEST(ComputeGeometry, LeavesOptionsColoursAndAngleAlone)
{
    DecagonRecord record;
    SetRecordDefaults(record);
    record.diagonalChoice = 7;
    record.showInternalCircle = 0;
    record.backgroundColor = 99;
    record.angle3D = -3.5;
    record.recordTag = 2;
    ComputeGeometry(record);
    EXPECT_EQ(record.diagonalChoice, 7);
    EXPECT_EQ(record.showInternalCircle, 0);
    EXPECT_EQ(record.backgroundColor, 99);
    EXPECT_EQ(record.angle3D, -3.5);
}

TEST(ComputeGeometry, RadiiBeyondThirtyTwoBitsKeepTheSameRule)
{
    // The whole part of the radius is still taken; nothing wraps or traps.
    const DecagonRecord huge = RecordWithHeight(1e300);
    EXPECT_EQ(huge.internalRadius, 5e299 * 0.9510565162951535);
    const DecagonRecord justOver = RecordWithHeight(2.0 * 4294967297.0); // R = 2^32 + 1
    EXPECT_EQ(justOver.internalRadius, 4294967297.0 * 0.9510565162951535);
    const DecagonRecord fractional = RecordWithHeight(2.0 * 3000000000.75); // R beyond INT32_MAX, not whole
    EXPECT_EQ(fractional.internalRadius, 3000000000.0 * 0.9510565162951535);

    const DecagonRecord infinite = RecordWithHeight(std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isinf(infinite.internalRadius));
    EXPECT_GT(infinite.internalRadius, 0.0);
    const DecagonRecord negativeInfinite = RecordWithHeight(-std::numeric_limits<double>::infinity());
    EXPECT_TRUE(std::isinf(negativeInfinite.internalRadius));
    EXPECT_LT(negativeInfinite.internalRadius, 0.0);
    const DecagonRecord notANumber = RecordWithHeight(std::numeric_limits<double>::quiet_NaN());
    EXPECT_TRUE(std::isnan(notANumber.internalRadius));
    EXPECT_TRUE(std::isnan(notANumber.externalRadius));
}

TEST(ComputeVertices, IgnoresAMissingRecord) { ComputeVertices(nullptr); }
