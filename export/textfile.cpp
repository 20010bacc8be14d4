#include "export/textfile.h"

#include "fileio/filereplace.h"
#include "model/numtext.h"

namespace {
constexpr char kHeader[] =
    "\"Expected Height\";\"Angle for 3D\";\"External Radius\";\"Internal Radius\";\"Hypothenus\";\"Choord\";"
    "\"Angle\";\"Arc\";\"Point D\";\"Center X\";\"Center Y\","
    "\"E6 X\";\"E6 Y\";\"E7 X\";\"E7 Y\";\"E8 X\";\"E8 Y\";\"E9 X\";\"E9 Y\";\"E10 X\";\"E10 Y\";"
    "\"E1 X\";\"E1 Y\";\"E2 X\";\"E2 Y\";\"E3 X\";\"E3 Y\";\"E4 X\";\"E4 Y\";\"E5 X\";\"E5 Y\";\n";
constexpr int kSixDecimals = 6;
} // namespace

const FileFilter TextFileFilters[3] = {
    {"Text files (*.txt)", "*.txt"},
    {"CSV Files (*.csv)", "*.csv"},
    {"All Files (*.*)", "*.*"},
};

std::string TextFileHeader() { return kHeader; }

std::string TextFileDataLine(const DecagonRecord& record)
{
    const double leading[11] = {record.expectedHeight, record.angle3D, record.externalRadius, record.internalRadius,
                                record.hypotenuse,     record.chord,   record.angle,          record.arc,
                                record.pointD,         record.centerX, record.centerY};
    std::string line;
    line.reserve(31 * 16);
    for (int cell = 0; cell < 11; ++cell) {
        AppendFixed(line, leading[cell], kSixDecimals);
        line += cell == 10 ? ',' : ';';
    }
    for (const VertexPoint& vertex : record.vertices) {
        AppendFixed(line, vertex.x, kSixDecimals);
        line += ';';
        AppendFixed(line, vertex.y, kSixDecimals);
        line += ';';
    }
    line += "\n\n";
    return line;
}

int ExportTextFile(const DecagonRecord* record, UserPrompts& prompts)
{
    if (record == nullptr)
        return 0;
    const SaveFileRequest request{TextFileFilters, 3, 1, "csv"};
    std::string path;
    if (!RunSaveDialog(prompts, request, path))
        return 0;
    return ExportTextFileTo(*record, path, prompts);
}

int ExportTextFileTo(const DecagonRecord& record, const std::string& path, UserPrompts& prompts)
{
    if (path.empty())
        return 0;
    PendingFile file;
    if (!BeginReplace(file, path))
        return ShowErrorBox(prompts, "Cannot create this file");
    const std::string header = TextFileHeader();
    const std::string data = TextFileDataLine(record);
    if (WriteAllBytes(file.fd, header.data(), header.size()) == 0 ||
        WriteAllBytes(file.fd, data.data(), data.size()) == 0) {
        AbortReplace(file);
        return ShowErrorBox(prompts, "Cannot write into this file");
    }
    if (!CommitReplace(file))
        return ShowErrorBox(prompts, "Cannot write into this file");
    prompts.ShowInformation("File saved\nThe file is an aSCII Delimited File.");
    return 1;
}
