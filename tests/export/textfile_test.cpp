#include "export/textfile.h"
#include "model/geometry.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

TEST(TextFile, HeaderIsAlwaysTheSame280Bytes)
{
    const std::string header = TextFileHeader();
    EXPECT_EQ(header.size(), 280u);
    EXPECT_EQ(header,
              "\"Expected Height\";\"Angle for 3D\";\"External Radius\";\"Internal Radius\";\"Hypothenus\";"
              "\"Choord\";\"Angle\";\"Arc\";\"Point D\";\"Center X\";\"Center Y\",\"E6 X\";\"E6 Y\";\"E7 X\";"
              "\"E7 Y\";\"E8 X\";\"E8 Y\";\"E9 X\";\"E9 Y\";\"E10 X\";\"E10 Y\";\"E1 X\";\"E1 Y\";\"E2 X\";\"E2 Y\";"
              "\"E3 X\";\"E3 Y\";\"E4 X\";\"E4 Y\";\"E5 X\";\"E5 Y\";\n");
}

TEST(TextFile, DataLineAtTheDefaultHeight)
{
    EXPECT_EQ(TextFileDataLine(RecordWithHeight(254.884)),
              "254.884000;40.000000;127.442000;120.784178;133.388100;78.763488;36.000000;160.148340;126.859621;"
              "127.442000;127.442000,39.381744;-121.204545;103.102744;-74.908528;127.442000;-0.000000;103.102744;"
              "74.908528;39.381744;121.204545;-39.381744;121.204545;-103.102744;74.908528;-127.442000;-0.000000;"
              "-103.102744;-74.908528;-39.381744;-121.204545;\n\n");
}

TEST(TextFile, DataLineAtANegativeHeight)
{
    EXPECT_EQ(TextFileDataLine(RecordWithHeight(-11.0)),
              "-11.000000;40.000000;-5.500000;-4.755283;5.756615;-3.399187;36.000000;-6.911504;5.474866;-5.500000;"
              "-5.500000,-1.699593;5.230811;-4.449593;3.232819;-5.500000;0.000000;-4.449593;-3.232819;-1.699593;"
              "-5.230811;1.699593;-5.230811;4.449593;-3.232819;5.500000;0.000000;4.449593;3.232819;1.699593;"
              "5.230811;\n\n");
}

TEST(TextFile, AZeroInradiusIsWrittenWithoutASign)
{
    EXPECT_EQ(TextFileDataLine(RecordWithHeight(-1.0)),
              "-1.000000;40.000000;-0.500000;0.000000;0.523329;-0.309017;36.000000;-0.628319;0.497715;-0.500000;"
              "-0.500000,-0.154508;0.475528;-0.404508;0.293893;-0.500000;0.000000;-0.404508;-0.293893;-0.154508;"
              "-0.475528;0.154508;-0.475528;0.404508;-0.293893;0.500000;0.000000;0.404508;0.293893;0.154508;"
              "0.475528;\n\n");
    for (double height : {-1.9999, -0.25, -1e-300, 0.25, 1.9999}) {
        const std::string line = TextFileDataLine(RecordWithHeight(height));
        std::size_t fourth = 0;
        for (int cell = 0; cell < 3; ++cell)
            fourth = line.find(';', fourth) + 1;
        EXPECT_EQ(line.substr(fourth, 9), "0.000000;") << height;
    }
}

TEST(TextFile, HugeValuesAreWrittenWhole)
{
    DecagonRecord record = RecordWithHeight(1.797e308);
    const std::string line = TextFileDataLine(record);
    EXPECT_GT(line.size(), 4096u);
    EXPECT_EQ(line.substr(line.size() - 3), ";\n\n");
    record = RecordWithHeight(std::numeric_limits<double>::infinity());
    EXPECT_EQ(TextFileDataLine(record).substr(0, 13), "inf;40.000000");
}
