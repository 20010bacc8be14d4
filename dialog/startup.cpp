#include "dialog/startup.h"

#include "settings/settings.h"
#include "settings/settingslocation.h"

namespace {
// The program's one record: all bytes zero at start, alive for the whole run.
DecagonRecord ProgramRecord;
} // namespace

int RunProgramSequence(const std::string& executablePath, ImageLibrary& images, UserPrompts& prompts,
                       const MainDialogRunner& runDialog)
{
    LocateUserSettingsFile(executablePath);
    images.SetPluginFolder(ProgramFolder);
    if (!images.Start()) {
        ShowErrorBox(prompts, "Cannot initialize GFL SDK");
        return 0;
    }
    images.EnableLzwCompression(true);
    runDialog(&ProgramRecord, images);
    images.Stop();
    return 0;
}
