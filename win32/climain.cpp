// decagon-cli for Windows: the command line over the Windows image layer.
#include "cli/cli.h"
#include "export/imageexport.h"
#include "fileio/widetext.h"
#include "win32/programsettings.h"
#include "win32/win32imagelayer.h"

#include <windows.h>

#include <cstdio>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

namespace {

int WriteImage(DecagonRecord& record, const FigureOptions& shown, const std::string& path, UserPrompts& prompts)
{
    StartImageExport();
    Win32ImageLayer layer;
    const int written = ExportImageFileTo(&record, shown, path, prompts, layer);
    StopImageLayer();
    return written;
}

// Messages are UTF-8, as every text inside the program: a console shows
// them in that code page for the run, and gets its own back afterwards.
// Pipes and files receive the bytes as they are.
class ConsoleUtf8 {
public:
    ConsoleUtf8() : saved_(GetConsoleOutputCP())
    {
        if (saved_ != 0 && saved_ != CP_UTF8)
            SetConsoleOutputCP(CP_UTF8);
    }
    ~ConsoleUtf8()
    {
        if (saved_ != 0 && saved_ != CP_UTF8)
            SetConsoleOutputCP(saved_);
    }
    ConsoleUtf8(const ConsoleUtf8&) = delete;
    ConsoleUtf8& operator=(const ConsoleUtf8&) = delete;

private:
    UINT saved_;
};

} // namespace

// The wide entry point (-municode): the arguments arrive as the system holds
// them, in any script, and go on as UTF-8.
int wmain(int argc, wchar_t** argv)
{
    // The text file and the drawing go to the standard output byte for byte,
    // as on every other system: no line feed becomes CR LF on the way.
    _setmode(_fileno(stdout), _O_BINARY);
    const ConsoleUtf8 console;
    std::vector<std::string> arguments;
    for (int at = 0; at < argc; ++at) {
        const std::wstring_view argument = argv[at] != nullptr ? argv[at] : L"";
        arguments.push_back(Utf8OfWide(argument));
        // Text that is no Unicode (a lone surrogate) has no UTF-8 form: it is
        // refused rather than read as some other name.
        if (arguments.back().empty() && !argument.empty()) {
            std::fprintf(stderr, "decagon-cli: argument %d is not valid Unicode text\n", at);
            return kCliBadUsage;
        }
    }
    std::vector<const char*> pointers;
    for (const std::string& argument : arguments)
        pointers.push_back(argument.c_str());
    pointers.push_back(nullptr);
    LocateProgramSettings();
    return RunCli(argc, pointers.data(), stdout, stderr, WriteImage);
}
