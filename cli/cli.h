#pragma once

#include "export/prompts.h"
#include "model/record.h"
#include "render/figureoptions.h"
#include "render/pdf.h"
#include "render/truescale.h"

#include <cstdint>
#include <cstdio>
#include <string>

// The command-line companion of the dialog: the same computation, text file,
// image and vector exports, driven by options instead of controls. It reads
// the colours from the dialog's settings file (SettingsFilePath) and never
// writes that file.

// Exit statuses.
constexpr int kCliSuccess = 0;
constexpr int kCliFailed = 1;   // an output could not be written
constexpr int kCliBadUsage = 2; // an option or value was refused; nothing was written

// "-" as a file name: standard output (--csv, --svg, --pdf and --dxf only).
// /dev/stdout means the same.
constexpr char kStandardOutput[] = "-";
constexpr char kStandardOutputDevice[] = "/dev/stdout";

struct CliOptions {
    double height = kDefaultExpectedHeight;
    double angle3D = kDefaultAngle3D;
    std::int32_t diagonalChoice = 1;
    bool externalCircle = true;
    bool internalCircle = true;
    std::string csvPath;   // empty: no text file
    std::string imagePath; // empty: no image
    std::string svgPath;   // empty: no vector drawing
    std::string pdfPath;   // empty: no printable drawing
    std::string dxfPath;   // empty: no CAD drawing
    // What one unit of the height is in the SVG, PDF and DXF.
    LengthUnit unit = LengthUnit::Millimetre;
    // The PDF's paper when --paper names one; else the system's (SystemPaper).
    bool paperGiven = false;
    Paper paper;
    double overlapMm = 10.0;
    bool verbose = false; // print each export's confirmation too
};

enum class CliRequest { Run, Help, Version, SettingsPath, Invalid };

// Reads the arguments after the program name. Options take their value as
// the next argument or after "=" (--height=100). The height may instead be
// given by exactly one of --radius (half the height), --side (the height
// times sin 18 degrees) or --across-flats (the height times cos 18 degrees);
// options.height is then the height worked out from it. Invalid comes with a
// one-line message that names the refused option or value.
CliRequest ParseCliArguments(int argc, const char* const* argv, CliOptions& options, std::string& message);

// The record the options describe: defaults, the colours of the settings
// file at SettingsFilePath, the options, then the computation (which touches
// no file).
void BuildCliRecord(const CliOptions& options, DecagonRecord& record);

// The 31 values as the dialog shows them ("%.4f"), one a line: the dialog's
// label, padded with spaces, then the value right-aligned, so that the value
// is always the last space-separated field. Pairs are labelled with the
// coordinate after the name: "Center X", "Center Y", "E6 X", "E6 Y", ...
std::string CliValuesText(const DecagonRecord& record);

// The --help text and the --version line.
std::string CliUsageText();
std::string CliVersionText();

// The export messages on a stream: the command line's save dialog and
// message boxes. Errors are always written; confirmations only when asked
// for, so that a run that succeeds says nothing.
class StreamPrompts : public UserPrompts {
public:
    StreamPrompts(std::FILE* stream, bool confirmations) : stream_(stream), confirmations_(confirmations) {}
    bool PromptSaveFile(const SaveFileRequest& request, std::string& path) override;
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

private:
    std::FILE* stream_;
    bool confirmations_;
};

// What the figure shows: the circles and the diagonals of the options, the
// colours of the record (those of the settings file).
FigureOptions CliFigureOptions(const CliOptions& options, const DecagonRecord& record);

// Writes the figure as an image file by the image export's rules
// (ExportImageFileTo with the platform's image layer); returns 1 on success,
// else 0 after its message. Provided by the platform's part, so that the rest
// runs without a toolkit.
using CliImageExport = int (*)(DecagonRecord& record, const FigureOptions& shown, const std::string& path,
                               UserPrompts& prompts);

// The PDF options of the command line: its paper (the system's when none was
// named), overlap and unit, the margin of 10 mm.
PdfOptions CliPdfOptions(const CliOptions& options);

// Whether the path ends in the extension (".pdf"), in any case.
bool HasExtension(const std::string& path, const char* extension);

// The whole run: parse, build the record, then print the values when no
// output is asked, or write --csv, --svg, --pdf, --dxf and --image in this
// order, stopping at the first failure. An --image name ending in .pdf or
// .dxf writes that drawing, as --pdf or --dxf would. Results go to out, messages to err. Returns the exit
// status.
int RunCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err, CliImageExport exportImage);
