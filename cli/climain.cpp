// decagon-cli: the command-line companion of the dialog.
#include "cli/cli.h"
#include "export/imageexport.h"
#include "qt/qtimagelayer.h"
#include "settings/settings.h"

#include <QCoreApplication>

#include <cstdio>

namespace {
// The image output through the Qt image layer. Needs no display: only Qt's
// core application object is made, and only while the image is written; it
// lets Qt find its image plug-ins beside the program too.
int WriteImage(DecagonRecord& record, const FigureOptions& shown, const std::string& path, UserPrompts& prompts)
{
    static int argc = 1;
    static char name[] = "decagon-cli";
    static char* argv[] = {name, nullptr};
    QCoreApplication application(argc, argv);
    // The layer as the dialog's start-up readies it. Without a JPEG or BMP
    // writer the export itself says which type is not known.
    StartImageExport(ProgramFolder);
    QtImageLayer layer;
    return ExportImageFileTo(&record, shown, path, prompts, layer);
}
} // namespace

int main(int argc, char** argv)
{
    LocateSettingsFile(ExecutablePath());
    return RunCli(argc, argv, stdout, stderr, WriteImage);
}
