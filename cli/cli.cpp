#include "cli/cli.h"

#include "export/svgfile.h"
#include "export/textfile.h"
#include "export/truescalefile.h"
#include "model/decagon.h"
#include "model/geometry.h"
#include "model/numtext.h"
#include "render/dxf.h"
#include "render/svg.h"
#include "settings/settings.h"

#include <cmath>
#include <cstring>
#include <functional>
#include <string_view>
#include <utility>
#include <vector>

#ifndef DECAGON_VERSION
#define DECAGON_VERSION "unknown"
#endif

namespace {

constexpr char kProgram[] = "decagon-cli";

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Whether text is entirely a decimal number: an optional sign, digits with an
// optional full stop (at least one digit in all), an optional exponent.
// Nothing else, not even spaces; no "inf", "nan" or hexadecimal forms.
bool IsDecimalNumber(std::string_view text)
{
    std::size_t at = 0;
    if (at < text.size() && (text[at] == '+' || text[at] == '-'))
        ++at;
    std::size_t digits = 0;
    while (at < text.size() && IsDigit(text[at]))
        ++at, ++digits;
    if (at < text.size() && text[at] == '.') {
        ++at;
        while (at < text.size() && IsDigit(text[at]))
            ++at, ++digits;
    }
    if (digits == 0)
        return false;
    if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
        ++at;
        if (at < text.size() && (text[at] == '+' || text[at] == '-'))
            ++at;
        std::size_t exponentDigits = 0;
        while (at < text.size() && IsDigit(text[at]))
            ++at, ++exponentDigits;
        if (exponentDigits == 0)
            return false;
    }
    return at == text.size();
}

std::string Quoted(std::string_view text)
{
    std::string quoted(1, '"');
    quoted += text;
    quoted += '"';
    return quoted;
}

bool ReadNumber(const char* what, const std::string& text, double& value, std::string& message)
{
    if (!IsDecimalNumber(text)) {
        message = std::string("the ") + what + " " + Quoted(text) + " is not a number";
        return false;
    }
    value = ParseNumber(text.c_str());
    if (!std::isfinite(value)) {
        message = std::string("the ") + what + " " + Quoted(text) + " is too large";
        return false;
    }
    return true;
}

bool ReadDiagonalChoice(const std::string& text, std::int32_t& code, std::string& message)
{
    // One or two digits, 0 to 11.
    const bool digits = !text.empty() && text.size() <= 2 && IsDigit(text[0]) && (text.size() == 1 || IsDigit(text[1]));
    const int value = digits ? std::stoi(text) : -1;
    if (value < 0 || value > 11) {
        message = "the diagonal code " + Quoted(text) + " is not one of 0 to 11";
        return false;
    }
    code = value;
    return true;
}

bool ReadYesNo(const char* option, const std::string& text, bool& value, std::string& message)
{
    if (text == "yes" || text == "no") {
        value = text == "yes";
        return true;
    }
    message = std::string(option) + " takes yes or no, not " + Quoted(text);
    return false;
}

enum class OptionId {
    Height,
    Radius,
    Side,
    AcrossFlats,
    Unit,
    Paper,
    Overlap,
    Pdf,
    Dxf,
    Angle3D,
    Diagonals,
    ExternalCircle,
    InternalCircle,
    Csv,
    Image,
    Svg,
    Verbose,
    Help,
    Version,
    SettingsPath
};

struct OptionName {
    const char* name;
    OptionId id;
    bool takesValue;
};

constexpr OptionName kOptions[] = {
    {"--height", OptionId::Height, true},
    {"--radius", OptionId::Radius, true},
    {"--side", OptionId::Side, true},
    {"--across-flats", OptionId::AcrossFlats, true},
    {"--unit", OptionId::Unit, true},
    {"--paper", OptionId::Paper, true},
    {"--overlap", OptionId::Overlap, true},
    {"--pdf", OptionId::Pdf, true},
    {"--dxf", OptionId::Dxf, true},
    {"--angle3d", OptionId::Angle3D, true},
    {"--diagonals", OptionId::Diagonals, true},
    {"--external-circle", OptionId::ExternalCircle, true},
    {"--internal-circle", OptionId::InternalCircle, true},
    {"--csv", OptionId::Csv, true},
    {"--image", OptionId::Image, true},
    {"--svg", OptionId::Svg, true},
    {"--verbose", OptionId::Verbose, false},
    {"--help", OptionId::Help, false},
    {"--version", OptionId::Version, false},
    {"--settings-path", OptionId::SettingsPath, false},
};

const OptionName* FindOption(std::string_view name)
{
    for (const OptionName& option : kOptions)
        if (name == option.name)
            return &option;
    return nullptr;
}

void AppendValueLine(std::string& out, const std::string& label, double value)
{
    constexpr std::size_t kLabelWidth = 22;
    constexpr std::size_t kValueWidth = 12;
    const std::string text = FormatFixed(value, 4);
    out += label;
    out.append(label.size() < kLabelWidth ? kLabelWidth - label.size() : 0, ' ');
    out += ' ';
    out.append(text.size() < kValueWidth ? kValueWidth - text.size() : 0, ' ');
    out += text;
    out += '\n';
}

bool WriteAll(std::FILE* out, const std::string& bytes)
{
    return std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size() && std::fflush(out) == 0 &&
           std::ferror(out) == 0;
}

int Fail(std::FILE* err, const std::string& message)
{
    std::fprintf(err, "%s\n", message.c_str());
    return kCliFailed;
}

constexpr char kStandardOutputFailure[] = "Cannot write to the standard output";

constexpr double kPi = 3.14159265358979323846;
constexpr double kMostOverlapMm = 100.0;

// The height that a size given another way stands for.
double HeightOf(OptionId size, double value)
{
    switch (size) {
    case OptionId::Radius:
        return 2.0 * value;
    case OptionId::Side:
        return value / std::sin(kPi / 10.0);
    case OptionId::AcrossFlats:
        return value / std::cos(kPi / 10.0);
    default:
        return value;
    }
}

const char* SizeWhat(OptionId size)
{
    switch (size) {
    case OptionId::Radius:
        return "radius";
    case OptionId::Side:
        return "side";
    case OptionId::AcrossFlats:
        return "width across flats";
    default:
        return "height";
    }
}

// The options that write to the standard output, as "--csv and --svg".
std::string StandardOutputOptions(const CliOptions& options, int& count)
{
    const std::pair<const std::string*, const char*> outputs[] = {{&options.csvPath, "--csv"},
                                                                  {&options.svgPath, "--svg"},
                                                                  {&options.pdfPath, "--pdf"},
                                                                  {&options.dxfPath, "--dxf"}};
    std::vector<const char*> names;
    for (const auto& [path, name] : outputs)
        if (*path == kStandardOutput)
            names.push_back(name);
    count = static_cast<int>(names.size());
    std::string text;
    for (std::size_t i = 0; i < names.size(); ++i)
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + std::string(names[i]);
    return text;
}

// Writes made bytes to the standard output, or says why not.
int WriteDrawing(std::FILE* out, std::FILE* err, int made, const std::string& bytes)
{
    if (!made)
        return Fail(err, "Cannot create the image");
    return WriteAll(out, bytes) ? kCliSuccess : Fail(err, kStandardOutputFailure);
}

} // namespace

CliRequest ParseCliArguments(int argc, const char* const* argv, CliOptions& options, std::string& message)
{
    options = CliOptions{};
    message.clear();
    const OptionName* sizeOption = nullptr; // the option that gave the height
    for (int at = 1; at < argc; ++at) {
        const std::string_view argument = argv[at] == nullptr ? std::string_view() : argv[at];
        const std::size_t equals = argument.find('=');
        const bool isOption = argument.size() > 2 && argument.substr(0, 2) == "--";
        const OptionName* option = isOption ? FindOption(argument.substr(0, equals)) : nullptr;
        if (option == nullptr) {
            message = (isOption ? "unknown option " : "unexpected argument ") + Quoted(argument);
            return CliRequest::Invalid;
        }
        if (!option->takesValue) {
            if (equals != std::string_view::npos) {
                message = std::string(option->name) + " takes no value";
                return CliRequest::Invalid;
            }
            switch (option->id) {
            case OptionId::Verbose:
                options.verbose = true;
                continue;
            case OptionId::Help:
                return CliRequest::Help;
            case OptionId::SettingsPath:
                return CliRequest::SettingsPath;
            default:
                return CliRequest::Version;
            }
        }

        // After "=", else the next argument unless it is an option.
        std::string value;
        if (equals != std::string_view::npos)
            value = std::string(argument.substr(equals + 1));
        else if (at + 1 < argc && argv[at + 1] != nullptr && std::strncmp(argv[at + 1], "--", 2) != 0)
            value = argv[++at];
        if (value.empty()) {
            message = std::string(option->name) + " needs a value";
            return CliRequest::Invalid;
        }

        // Written as standard output, not opened anew: opening it would
        // truncate a file that the shell appends standard output to.
        const bool isPath = option->id == OptionId::Csv || option->id == OptionId::Svg || option->id == OptionId::Pdf ||
                            option->id == OptionId::Dxf || option->id == OptionId::Image;
        if (isPath && value == kStandardOutputDevice)
            value = kStandardOutput;

        bool ok = true;
        switch (option->id) {
        case OptionId::Height:
        case OptionId::Radius:
        case OptionId::Side:
        case OptionId::AcrossFlats:
            if (sizeOption != nullptr && sizeOption->id != option->id) {
                message = std::string("give only one of --height, --radius, --side and --across-flats, not ") +
                          sizeOption->name + " and " + option->name;
                ok = false;
                break;
            }
            sizeOption = option;
            ok = ReadNumber(SizeWhat(option->id), value, options.height, message);
            options.height = HeightOf(option->id, options.height);
            break;
        case OptionId::Unit:
            ok = ParseLengthUnit(value, options.unit);
            if (!ok)
                message = "--unit takes mm, cm or in, not " + Quoted(value);
            break;
        case OptionId::Paper:
            ok = ParsePaper(value, options.paper);
            options.paperGiven = true;
            if (!ok)
                message = "--paper takes a4, letter, a3, legal or WIDTHxHEIGHT in millimetres (each side 100 to "
                          "5080), not " +
                          Quoted(value);
            break;
        case OptionId::Overlap:
            ok = ReadNumber("overlap", value, options.overlapMm, message);
            if (ok && !(options.overlapMm >= 0.0 && options.overlapMm <= kMostOverlapMm)) {
                message = "the overlap " + Quoted(value) + " is not between 0 and 100 (millimetres)";
                ok = false;
            }
            break;
        case OptionId::Pdf:
            options.pdfPath = value;
            break;
        case OptionId::Dxf:
            options.dxfPath = value;
            break;
        case OptionId::Angle3D:
            ok = ReadNumber("3D angle", value, options.angle3D, message);
            break;
        case OptionId::Diagonals:
            ok = ReadDiagonalChoice(value, options.diagonalChoice, message);
            break;
        case OptionId::ExternalCircle:
            ok = ReadYesNo(option->name, value, options.externalCircle, message);
            break;
        case OptionId::InternalCircle:
            ok = ReadYesNo(option->name, value, options.internalCircle, message);
            break;
        case OptionId::Csv:
            options.csvPath = value;
            break;
        case OptionId::Svg:
            options.svgPath = value;
            break;
        case OptionId::Image:
            if (value == kStandardOutput) {
                message = "--image cannot write to the standard output";
                ok = false;
            }
            options.imagePath = value;
            break;
        case OptionId::Verbose:
        case OptionId::Help:
        case OptionId::Version:
        case OptionId::SettingsPath:
            break;
        }
        if (!ok)
            return CliRequest::Invalid;
    }
    int toStandardOutput = 0;
    const std::string writers = StandardOutputOptions(options, toStandardOutput);
    if (toStandardOutput > 1) {
        message = "only one of " + writers + " can write to the standard output";
        return CliRequest::Invalid;
    }
    if (!std::isfinite(options.height)) {
        message = std::string("the ") + SizeWhat(sizeOption->id) + " gives a height too large";
        return CliRequest::Invalid;
    }
    return CliRequest::Run;
}

void BuildCliRecord(const CliOptions& options, DecagonRecord& record)
{
    InitDecagonRecord(&record);
    record.expectedHeight = options.height;
    record.angle3D = options.angle3D;
    record.diagonalChoice = options.diagonalChoice;
    record.showExternalCircle = options.externalCircle ? 1 : 0;
    record.showInternalCircle = options.internalCircle ? 1 : 0;
    ComputeGeometry(record);
}

FigureOptions CliFigureOptions(const CliOptions& options, const DecagonRecord& record)
{
    FigureOptions shown = FigureOptionsOf(record);
    shown.showExternalCircle = options.externalCircle ? 1 : 0;
    shown.showInternalCircle = options.internalCircle ? 1 : 0;
    shown.diagonalChoice = options.diagonalChoice;
    return shown;
}

std::string CliValuesText(const DecagonRecord& record)
{
    std::string out;
    out.reserve(31 * 36);
    for (const LeadingValue& value : LeadingValues)
        AppendValueLine(out, value.label, record.*value.field);
    for (int row = 0; row < kVertexCount; ++row) {
        const std::string name = VertexTable[row].label;
        AppendValueLine(out, name + " X", record.vertices[row].x);
        AppendValueLine(out, name + " Y", record.vertices[row].y);
    }
    return out;
}

std::string CliUsageText()
{
    return "Usage: decagon-cli [OPTION]...\n"
           "Computes the regular decagon whose circumscribed circle has the given height\n"
           "(diameter) and prints its 31 values, or writes them as files.\n"
           "\n"
           "The size, one of (default: height 254.884):\n"
           "  --height H               the expected height (0 means 100)\n"
           "  --radius R               the circumscribed radius: height 2R\n"
           "  --side S                 the side: height S / sin 18 degrees\n"
           "  --across-flats W         the width between opposite sides: height W / cos 18\n"
           "                           degrees\n"
           "  --unit mm|cm|in          one unit of the size on paper in the SVG, PDF and DXF\n"
           "                           (default mm)\n"
           "\n"
           "  --angle3d A              the angle for the 3D view (default 40)\n"
           "  --diagonals CODE         0 none, 1 all (default), 2 to 11 the fan of\n"
           "                           E6, E7, E8, E9, E10, E1, E2, E3, E4, E5\n"
           "  --external-circle yes|no draw the circumscribed circle (default yes)\n"
           "  --internal-circle yes|no draw the inscribed circle (default yes)\n"
           "  --csv FILE               the delimited text file, as the dialog writes it\n"
           "  --svg FILE               the figure as an SVG drawing at true scale\n"
           "  --pdf FILE               the figure as a PDF to print at actual size: one\n"
           "                           page, or pages that overlap after an overview\n"
           "  --paper NAME             the PDF's paper: a4, letter, a3, legal or\n"
           "                           WIDTHxHEIGHT in millimetres (default: the locale's\n"
           "                           paper, else a4)\n"
           "  --overlap MM             the overlap of neighbouring PDF pages, 0 to 100\n"
           "                           (default 10)\n"
           "  --dxf FILE               the figure as a DXF drawing (R12) for CAD programs,\n"
           "                           laser cutters and routers\n"
           "  --image FILE             the figure as an image: the extension names the\n"
           "                           format (jpg, bmp, png, svg, pdf, dxf, ...); no\n"
           "                           extension gives .jpg\n"
           "  --verbose                report each file written on the standard error\n"
           "  --help                   show this text\n"
           "  --version                show the version\n"
           "  --settings-path          show the settings file's full path\n"
           "\n"
           "FILE \"-\" (or /dev/stdout) is the standard output for --csv, --svg, --pdf and\n"
           "--dxf. With no output option the values are printed one a line, the label\n"
           "first and the value last.\n"
           "Print the PDF at 100 % (\"actual size\", never \"fit to page\") and check its\n"
           "50 mm test square before cutting. A PDF needing more than 1000 pages is\n"
           "refused.\n"
           "Colours come from Vanteo.ini beside the program, or when there is none and\n"
           "none can be made there, from $XDG_CONFIG_HOME/decagon/Vanteo.ini (default\n"
           "~/.config/decagon/Vanteo.ini); the file is only read.\n"
           "A run that succeeds prints nothing but the values asked for; errors go to the\n"
           "standard error. A reader that closes the pipe early ends the program as it\n"
           "ends cat (SIGPIPE).\n"
           "\n"
           "Exit status: 0 success, 1 an output could not be written, 2 a refused option\n"
           "or value (nothing is written).\n";
}

std::string CliVersionText() { return std::string(kProgram) + " " + DECAGON_VERSION + "\n"; }

PdfOptions CliPdfOptions(const CliOptions& options)
{
    PdfOptions pdf = SystemPdfOptions();
    if (options.paperGiven)
        pdf.paper = options.paper;
    pdf.overlapMm = options.overlapMm;
    pdf.unit = options.unit;
    return pdf;
}

bool HasExtension(const std::string& path, const char* extension)
{
    const std::size_t length = std::strlen(extension);
    if (path.size() <= length)
        return false;
    for (std::size_t i = 0; i < length; ++i) {
        char c = path[path.size() - length + i];
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        if (c != extension[i])
            return false;
    }
    return true;
}

bool StreamPrompts::PromptSaveFile(const SaveFileRequest&, std::string&) { return false; }

void StreamPrompts::ShowError(const std::string& text) { std::fprintf(stream_, "%s\n", text.c_str()); }

void StreamPrompts::ShowInformation(const std::string& text)
{
    if (confirmations_)
        std::fprintf(stream_, "%s\n", text.c_str());
}

int RunCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err, CliImageExport exportImage)
{
    CliOptions options;
    std::string message;
    switch (ParseCliArguments(argc, argv, options, message)) {
    case CliRequest::Invalid:
        std::fprintf(err, "%s: %s\n", kProgram, message.c_str());
        return kCliBadUsage;
    case CliRequest::Help:
        return WriteAll(out, CliUsageText()) ? kCliSuccess : Fail(err, kStandardOutputFailure);
    case CliRequest::Version:
        return WriteAll(out, CliVersionText()) ? kCliSuccess : Fail(err, kStandardOutputFailure);
    case CliRequest::SettingsPath:
        return WriteAll(out, SettingsFilePath + "\n") ? kCliSuccess : Fail(err, kStandardOutputFailure);
    case CliRequest::Run:
        break;
    }

    DecagonRecord record;
    BuildCliRecord(options, record);

    if (options.csvPath.empty() && options.svgPath.empty() && options.pdfPath.empty() && options.dxfPath.empty() &&
        options.imagePath.empty())
        return WriteAll(out, CliValuesText(record)) ? kCliSuccess : Fail(err, kStandardOutputFailure);

    StreamPrompts prompts(err, options.verbose);
    if (options.csvPath == kStandardOutput) {
        if (!WriteAll(out, TextFileHeader() + TextFileDataLine(record)))
            return Fail(err, kStandardOutputFailure);
    } else if (!options.csvPath.empty() && !ExportTextFileTo(record, options.csvPath, prompts)) {
        return kCliFailed;
    }

    // The drawings, to the standard output or through their file export.
    const PdfOptions pdfOptions = CliPdfOptions(options);
    const bool imageIsPdf = HasExtension(options.imagePath, ".pdf");
    const bool imageIsDxf = HasExtension(options.imagePath, ".dxf");
    struct Drawing {
        std::string path;
        std::function<int(std::string&)> make;
        std::function<int(const std::string&)> save;
    };
    const Drawing svg{options.svgPath, [&](std::string& bytes) { return DecagonSvgText(record, bytes, options.unit); },
                      [&](const std::string& path) { return ExportSvgFileTo(record, path, prompts, options.unit); }};
    const Drawing pdf{options.pdfPath, [&](std::string& bytes) { return DecagonPdfBytes(record, pdfOptions, bytes); },
                      [&](const std::string& path) { return ExportPdfFileTo(record, path, prompts, pdfOptions); }};
    const Drawing dxf{options.dxfPath, [&](std::string& bytes) { return DecagonDxfText(record, options.unit, bytes); },
                      [&](const std::string& path) { return ExportDxfFileTo(record, path, prompts, options.unit); }};
    const Drawing pdfImage{imageIsPdf ? options.imagePath : std::string(), pdf.make, pdf.save};
    const Drawing dxfImage{imageIsDxf ? options.imagePath : std::string(), dxf.make, dxf.save};
    for (const Drawing* drawing : {&svg, &pdf, &pdfImage, &dxf, &dxfImage}) {
        if (drawing->path == kStandardOutput) {
            std::string bytes;
            const int made = drawing->make(bytes);
            if (WriteDrawing(out, err, made, bytes) != kCliSuccess)
                return kCliFailed;
        } else if (!drawing->path.empty() && !drawing->save(drawing->path)) {
            return kCliFailed;
        }
    }

    // An --image name of a drawing is that drawing, written above.
    const bool imageIsDrawing = imageIsPdf || imageIsDxf;
    if (!options.imagePath.empty() && !imageIsDrawing) {
        if (exportImage == nullptr ||
            !exportImage(record, CliFigureOptions(options, record), options.imagePath, prompts))
            return kCliFailed;
    }
    return kCliSuccess;
}
