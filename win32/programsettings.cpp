#include "win32/programsettings.h"

#include "settings/settings.h"

void LocateProgramSettings()
{
    // ExecutablePath asks GetModuleFileNameA, with a buffer that grows for
    // paths beyond MAX_PATH.
    LocateSettingsFile(ExecutablePath());
}
