// Fuzzes decagon-cli's option parser and what it computes from the options.
// The input is the argument list, one argument after another, separated by
// NUL bytes.
#include "cli/cli.h"
#include "export/textfile.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void Check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

CliRequest Parse(const std::vector<std::string>& arguments, CliOptions& options, std::string& message)
{
    std::vector<const char*> argv = {"decagon-cli"};
    for (const std::string& argument : arguments)
        argv.push_back(argument.c_str());
    return ParseCliArguments(static_cast<int>(argv.size()), argv.data(), options, message);
}

std::string NumberText(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", value);
    return text;
}

// The options as arguments that ask for them again.
std::vector<std::string> AsArguments(const CliOptions& options)
{
    std::vector<std::string> arguments = {
        "--height=" + NumberText(options.height),
        "--angle3d=" + NumberText(options.angle3D),
        "--diagonals=" + std::to_string(options.diagonalChoice),
        std::string("--external-circle=") + (options.externalCircle ? "yes" : "no"),
        std::string("--internal-circle=") + (options.internalCircle ? "yes" : "no"),
    };
    if (!options.csvPath.empty())
        arguments.push_back("--csv=" + options.csvPath);
    if (!options.svgPath.empty())
        arguments.push_back("--svg=" + options.svgPath);
    if (!options.imagePath.empty())
        arguments.push_back("--image=" + options.imagePath);
    return arguments;
}

bool SameOptions(const CliOptions& a, const CliOptions& b)
{
    return a.height == b.height && a.angle3D == b.angle3D && a.diagonalChoice == b.diagonalChoice &&
           a.externalCircle == b.externalCircle && a.internalCircle == b.internalCircle && a.csvPath == b.csvPath &&
           a.svgPath == b.svgPath && a.imagePath == b.imagePath;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::vector<std::string> arguments;
    std::string_view input(reinterpret_cast<const char*>(data), size);
    while (!input.empty() && arguments.size() < 64) {
        const std::size_t end = input.find('\0');
        arguments.emplace_back(input.substr(0, end));
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }

    CliOptions options;
    std::string message;
    const CliRequest request = Parse(arguments, options, message);
    Check((request == CliRequest::Invalid) == !message.empty(), "a message comes exactly with a refusal");
    if (request != CliRequest::Run)
        return 0;

    Check(std::isfinite(options.height) && std::isfinite(options.angle3D), "numbers are finite");
    Check(options.diagonalChoice >= 0 && options.diagonalChoice <= 11, "the diagonal code is one of 0 to 11");
    Check(options.imagePath != kStandardOutput, "no image goes to the standard output");
    Check(!(options.csvPath == kStandardOutput && options.svgPath == kStandardOutput),
          "one output at most on the standard output");
    for (const std::string* path : {&options.csvPath, &options.svgPath, &options.imagePath})
        Check(*path != kStandardOutputDevice, "standard output by name is standard output");

    // What was accepted is accepted again, written out in full.
    CliOptions again;
    Check(Parse(AsArguments(options), again, message) == CliRequest::Run, "accepted options are accepted again");
    Check(SameOptions(options, again), "options read back the same");

    // What the run computes from them, short of writing files.
    DecagonRecord record;
    BuildCliRecord(options, record);
    const std::string values = CliValuesText(record);
    Check(!values.empty() && values.back() == '\n', "the values end in a line break");
    const std::string line = TextFileDataLine(record);
    Check(line.size() >= 2 && line.compare(line.size() - 2, 2, "\n\n") == 0, "the data line ends in two line feeds");
    return 0;
}
