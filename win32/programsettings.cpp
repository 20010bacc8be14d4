#include "win32/programsettings.h"

#include "settings/settings.h"
#include "settings/settingslocation.h"

void LocateProgramSettings()
{
    // ExecutablePath asks GetModuleFileNameA, with a buffer that grows for
    // paths beyond MAX_PATH. Beside the program when the file is there or
    // can be made there, else in the user's roaming application data.
    LocateUserSettingsFile(ExecutablePath());
}
