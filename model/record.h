#pragma once

#include <array>
#include <cstdint>

// One vertex, relative to the centre of the figure; y grows downward.
struct VertexPoint {
    double x;
    double y;
};

// The one record of a run: inputs, drawing options, colour positions and
// every value derived from the expected height.
struct DecagonRecord {
    std::int32_t recordTag;
    std::int32_t diagonalChoice;
    std::int32_t showExternalCircle;
    std::int32_t showInternalCircle;
    std::int32_t outlineColor;
    std::int32_t internalCircleColor;
    std::int32_t externalCircleColor;
    std::int32_t backgroundColor;
    std::int32_t diagonalColors[10];
    double expectedHeight;
    double arc;
    double externalRadius;
    double internalRadius;
    double chord;
    double hypotenuse;
    double pointD;
    double angle;
    double angle3D;
    double centerX;
    double centerY;
    VertexPoint vertices[10];
};

constexpr std::int32_t kRecordTag = 2;
constexpr int kVertexCount = 10;

// One row of the vertex table: the name of a vertex and its unit direction,
// counter-clockwise from the positive x axis as seen on screen.
struct VertexRow {
    std::int32_t index;
    char label[12];
    double unitCos;
    double unitSin;
};

// The vertex order used everywhere: E6, E7, E8, E9, E10, E1, E2, E3, E4, E5.
// Each value is the double nearest to its closed form; the sines of E8 and
// E3 are positive zero.
inline constexpr std::array<VertexRow, kVertexCount> VertexTable = {{
    {0, "E6", 0.30901699437494745, 0.9510565162951535},
    {1, "E7", 0.8090169943749475, 0.5877852522924731},
    {2, "E8", 1.0, 0.0},
    {3, "E9", 0.8090169943749475, -0.5877852522924731},
    {4, "E10", 0.30901699437494745, -0.9510565162951535},
    {5, "E1", -0.30901699437494745, -0.9510565162951535},
    {6, "E2", -0.8090169943749475, -0.5877852522924731},
    {7, "E3", -1.0, 0.0},
    {8, "E4", -0.8090169943749475, 0.5877852522924731},
    {9, "E5", -0.30901699437494745, 0.9510565162951535},
}};

// The eleven values that lead every listing of the record, in its order:
// the dialog's fields from the height on, the text file's first columns and
// decagon-cli's first lines. The vertices follow them, in VertexTable's order.
struct LeadingValue {
    const char* label;  // the dialog's label, as decagon-cli prints it
    const char* column; // the text file's column name
    double DecagonRecord::*field;
};

inline constexpr std::array<LeadingValue, 11> LeadingValues = {{
    {"Expected height:", "Expected Height", &DecagonRecord::expectedHeight},
    {"Angle for the 3D view:", "Angle for 3D", &DecagonRecord::angle3D},
    {"External Radius :", "External Radius", &DecagonRecord::externalRadius},
    {"Internal Radius :", "Internal Radius", &DecagonRecord::internalRadius},
    {"Hypothenus:", "Hypothenus", &DecagonRecord::hypotenuse},
    {"Choord:", "Choord", &DecagonRecord::chord},
    {"Angle:", "Angle", &DecagonRecord::angle},
    {"Arc :", "Arc", &DecagonRecord::arc},
    {"D:", "Point D", &DecagonRecord::pointD},
    {"Center X", "Center X", &DecagonRecord::centerX},
    {"Center Y", "Center Y", &DecagonRecord::centerY},
}};

// Colour positions used when the settings file has no value for a key.
constexpr std::int32_t kDefaultOutlineColor = 17;
constexpr std::int32_t kDefaultInternalCircleColor = 24;
constexpr std::int32_t kDefaultExternalCircleColor = 34;
constexpr std::int32_t kDefaultBackgroundColor = 0;
constexpr std::int32_t kDefaultDiagonalColors[kVertexCount] = {8, 7, 25, 29, 10, 6, 18, 42, 40, 1};

constexpr double kDefaultExpectedHeight = 254.884;
constexpr double kDefaultAngle3D = 40.0;

// Clears the record and applies the defaults of every input and option; the
// colour fields get their missing-key defaults. Reads no file.
void SetRecordDefaults(DecagonRecord& record);
