// decagon-cli: the command-line companion of the dialog.
#include "app/cli.h"
#include "app/cliimage.h"
#include "settings/settings.h"
#include "settings/settingslocation.h"

#include <cstdio>

int main(int argc, char** argv)
{
    LocateUserSettingsFile(ExecutablePath());
    return RunCli(argc, argv, stdout, stderr, CliExportImage);
}
