#include "export/textfile.h"

#include "fileio/filereplace.h"
#include "model/numtext.h"

namespace {
constexpr int kSixDecimals = 6;

// After the leading values a comma, else a semicolon.
char CellEnd(std::size_t cell) { return cell + 1 == LeadingValues.size() ? ',' : ';'; }
} // namespace

const FileFilter TextFileFilters[3] = {
    {"Text files (*.txt)", "*.txt"},
    {"CSV Files (*.csv)", "*.csv"},
    {"All Files (*.*)", "*.*"},
};

std::string TextFileHeader()
{
    std::string header;
    for (std::size_t cell = 0; cell < LeadingValues.size(); ++cell)
        header += '"' + std::string(LeadingValues[cell].column) + '"' + CellEnd(cell);
    for (const VertexRow& row : VertexTable)
        header += '"' + std::string(row.label) + " X\";\"" + row.label + " Y\";";
    return header + '\n';
}

std::string TextFileDataLine(const DecagonRecord& record)
{
    std::string line;
    line.reserve(31 * 16);
    for (std::size_t cell = 0; cell < LeadingValues.size(); ++cell) {
        AppendFixed(line, record.*LeadingValues[cell].field, kSixDecimals);
        line += CellEnd(cell);
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
