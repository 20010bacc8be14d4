#include "cli/cli.h"
#include "model/geometry.h"
#include "model/numtext.h"
#include "tests/support/testsupport.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

namespace {

CliRequest Parse(std::vector<const char*> arguments, CliOptions& options, std::string& message)
{
    arguments.insert(arguments.begin(), "decagon-cli");
    return ParseCliArguments(static_cast<int>(arguments.size()), arguments.data(), options, message);
}

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

} // namespace

TEST(CliOptions, DefaultsAreThoseOfTheDialog)
{
    CliOptions options;
    std::string message;
    ASSERT_EQ(Parse({}, options, message), CliRequest::Run);
    EXPECT_EQ(options.height, 254.884);
    EXPECT_EQ(options.angle3D, 40.0);
    EXPECT_EQ(options.diagonalChoice, 1);
    EXPECT_TRUE(options.externalCircle);
    EXPECT_TRUE(options.internalCircle);
    EXPECT_TRUE(options.csvPath.empty() && options.svgPath.empty() && options.imagePath.empty());
}

TEST(CliOptions, TakesValuesAfterASpaceOrAnEqualsSign)
{
    CliOptions options;
    std::string message;
    ASSERT_EQ(Parse({"--height", "-12.5e1", "--angle3d=7", "--diagonals", "11", "--external-circle=no",
                     "--internal-circle", "no", "--csv", "-", "--svg=a.svg", "--image", "b.png"},
                    options, message),
              CliRequest::Run)
        << message;
    EXPECT_EQ(options.height, -125.0);
    EXPECT_EQ(options.angle3D, 7.0);
    EXPECT_EQ(options.diagonalChoice, 11);
    EXPECT_FALSE(options.externalCircle);
    EXPECT_FALSE(options.internalCircle);
    EXPECT_EQ(options.csvPath, "-");
    EXPECT_EQ(options.svgPath, "a.svg");
    EXPECT_EQ(options.imagePath, "b.png");

    EXPECT_EQ(Parse({"--height", "0", "--help"}, options, message), CliRequest::Help);
    EXPECT_EQ(Parse({"--version"}, options, message), CliRequest::Version);
}

TEST(CliOptions, RefusesBadInputWithAMessageNamingIt)
{
    struct Case {
        std::vector<const char*> arguments;
        const char* message;
    };
    const Case cases[] = {
        {{"--height", "12x"}, "the height \"12x\" is not a number"},
        {{"--height", " 12"}, "the height \" 12\" is not a number"},
        {{"--height", "nan"}, "the height \"nan\" is not a number"},
        {{"--height", "inf"}, "the height \"inf\" is not a number"},
        {{"--height", "0x10"}, "the height \"0x10\" is not a number"},
        {{"--height", "."}, "the height \".\" is not a number"},
        {{"--height", "1e"}, "the height \"1e\" is not a number"},
        {{"--height", "1e999"}, "the height \"1e999\" is too large"},
        {{"--angle3d", "4,5"}, "the 3D angle \"4,5\" is not a number"},
        {{"--diagonals", "12"}, "the diagonal code \"12\" is not one of 0 to 11"},
        {{"--diagonals", "-1"}, "the diagonal code \"-1\" is not one of 0 to 11"},
        {{"--diagonals", "1.0"}, "the diagonal code \"1.0\" is not one of 0 to 11"},
        {{"--diagonals", "all"}, "the diagonal code \"all\" is not one of 0 to 11"},
        {{"--external-circle", "YES"}, "--external-circle takes yes or no, not \"YES\""},
        {{"--internal-circle", "1"}, "--internal-circle takes yes or no, not \"1\""},
        {{"--height"}, "--height needs a value"},
        {{"--csv", "--svg", "x"}, "--csv needs a value"},
        {{"--svg="}, "--svg needs a value"},
        {{"--colour", "3"}, "unknown option \"--colour\""},
        {{"-h"}, "unexpected argument \"-h\""},
        {{"figure.csv"}, "unexpected argument \"figure.csv\""},
        {{"--help=me"}, "--help takes no value"},
        {{"--image", "-"}, "--image cannot write to the standard output"},
        {{"--csv", "-", "--svg", "-"}, "only one of --csv and --svg can write to the standard output"},
    };
    for (const Case& c : cases) {
        CliOptions options;
        std::string message;
        EXPECT_EQ(Parse(c.arguments, options, message), CliRequest::Invalid) << c.message;
        EXPECT_EQ(message, c.message);
    }
}

TEST(CliValues, ShowsTheThirtyOneValuesAsTheDialogDoes)
{
    DecagonRecord record = RecordWithHeight(kDefaultExpectedHeight);
    const std::vector<std::string> lines = Lines(CliValuesText(record));
    ASSERT_EQ(lines.size(), 31u);
    const char* const expected[] = {
        "Expected height:           254.8840", "Angle for the 3D view:      40.0000",
        "External Radius :          127.4420", "Internal Radius :          120.7842",
        "Hypothenus:                133.3881", "Choord:                     78.7635",
        "Angle:                      36.0000", "Arc :                      160.1483",
        "D:                         126.8596", "Center X                   127.4420",
        "Center Y                   127.4420", "E6 X                        39.3817",
        "E6 Y                      -121.2045", "E7 X                       103.1027",
        "E7 Y                       -74.9085", "E8 X                       127.4420",
        "E8 Y                        -0.0000",
    };
    for (std::size_t i = 0; i < std::size(expected); ++i)
        EXPECT_EQ(lines[i], expected[i]);
    EXPECT_EQ(lines[30], "E5 Y                      -121.2045");

    // The value is always the last field, however wide it is.
    record.expectedHeight = -123456789.0;
    ComputeGeometry(record);
    const std::vector<std::string> wide = Lines(CliValuesText(record));
    EXPECT_EQ(wide[0], "Expected height:       -123456789.0000");
    for (int row = 0; row < kVertexCount; ++row) {
        const std::string& line = wide[11 + 2 * row];
        EXPECT_EQ(line.substr(line.rfind(' ') + 1), FormatFixed(record.vertices[row].x, 4));
        EXPECT_EQ(line.substr(0, line.find(' ')), VertexTable[row].label);
    }
}
