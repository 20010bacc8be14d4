// decagon-cli: the command-line companion of the dialog.
#include "cli/cli.h"
#include "qt/cliimage.h"
#include "settings/settings.h"

#include <cstdio>

int main(int argc, char** argv)
{
    LocateSettingsFile(ExecutablePath());
    return RunCli(argc, argv, stdout, stderr, CliExportImage);
}
