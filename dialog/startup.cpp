#include "dialog/startup.h"

#include "settings/settings.h"
#include "settings/settingslocation.h"

int RunProgramSequence(const std::string& executablePath, ImageLibrary& images, UserPrompts& prompts,
                       const MainDialogRunner& runDialog)
{
    // The program's one record: all bytes zero at start, alive for the whole run.
    static DecagonRecord programRecord;
    LocateUserSettingsFile(executablePath);
    images.SetPluginFolder(ProgramFolder);
    if (!images.Start()) {
        ShowErrorBox(prompts, "Cannot initialize GFL SDK");
        return 0;
    }
    images.EnableLzwCompression(true);
    runDialog(&programRecord, images);
    images.Stop();
    return 0;
}
