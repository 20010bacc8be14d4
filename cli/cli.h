#pragma once

#include "export/prompts.h"
#include "model/record.h"
#include "render/figureoptions.h"

#include <cstdint>
#include <cstdio>
#include <string>

// The command-line companion of the dialog: the same computation, text file,
// image and vector exports, driven by options instead of controls. It reads
// the colours from the settings file beside the executable and never writes
// that file.

// Exit statuses.
constexpr int kCliSuccess = 0;
constexpr int kCliFailed = 1;   // an output could not be written
constexpr int kCliBadUsage = 2; // an option or value was refused; nothing was written

// "-" as a file name: standard output (--csv and --svg only).
constexpr char kStandardOutput[] = "-";

struct CliOptions {
    double height = kDefaultExpectedHeight;
    double angle3D = kDefaultAngle3D;
    std::int32_t diagonalChoice = 1;
    bool externalCircle = true;
    bool internalCircle = true;
    std::string csvPath;   // empty: no text file
    std::string imagePath; // empty: no image
    std::string svgPath;   // empty: no vector drawing
};

enum class CliRequest { Run, Help, Version, Invalid };

// Reads the arguments after the program name. Options take their value as
// the next argument or after "=" (--height=100). Invalid comes with a
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
// message boxes.
class StreamPrompts : public UserPrompts {
public:
    explicit StreamPrompts(std::FILE* stream) : stream_(stream) {}
    bool PromptSaveFile(const SaveFileRequest& request, std::string& path) override;
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

private:
    std::FILE* stream_;
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

// The whole run: parse, build the record, then print the values when no
// output is asked, or write --csv, --svg and --image in this order, stopping
// at the first failure. Results go to out, messages to err. Returns the exit
// status.
int RunCli(int argc, const char* const* argv, std::FILE* out, std::FILE* err, CliImageExport exportImage);
