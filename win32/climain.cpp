// decagon-cli for Windows: the command line over the Windows image layer.
#include "cli/cli.h"
#include "export/imageexport.h"
#include "win32/programsettings.h"
#include "win32/win32imagelayer.h"

#include <cstdio>
#include <fcntl.h>
#include <io.h>

namespace {

int WriteImage(DecagonRecord& record, const FigureOptions& shown, const std::string& path, UserPrompts& prompts)
{
    StartImageExport();
    Win32ImageLayer layer;
    const int written = ExportImageFileTo(&record, shown, path, prompts, layer);
    StopImageLayer();
    return written;
}

} // namespace

int main(int argc, char** argv)
{
    // The text file and the drawing go to the standard output byte for byte,
    // as on every other system: no line feed becomes CR LF on the way.
    _setmode(_fileno(stdout), _O_BINARY);
    LocateProgramSettings();
    return RunCli(argc, argv, stdout, stderr, WriteImage);
}
