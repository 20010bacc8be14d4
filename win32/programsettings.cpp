#include "win32/programsettings.h"

#include "settings/settings.h"
#include "settings/settingslocation.h"

void LocateProgramSettings()
{
    // ExecutablePath asks GetModuleFileNameW, with a buffer that grows for
    // paths beyond MAX_PATH, and gives UTF-8. Beside the program when the
    // file is there or can be made there (never in Program Files), else in
    // the user's roaming application data.
    LocateUserSettingsFile(ExecutablePath());
}
