#include "qt/startup.h"

#include "qt/maindialog.h"
#include "qt/qtimagelayer.h"
#include "qt/qtprompts.h"
#include "settings/settings.h"

namespace {
// The program's one record: all bytes zero at start, alive for the whole run.
DecagonRecord ProgramRecord;
} // namespace

int RunProgram(const std::string& executablePath, const ProgramServices& services)
{
    QtUserPrompts errorPrompts;
    UserPrompts& startPrompts = services.prompts != nullptr ? *services.prompts : errorPrompts;

    LocateSettingsFile(executablePath);
    if (StartImageExport(ProgramFolder) != ImageError::None) {
        ShowErrorBox(startPrompts, "Cannot initialize GFL SDK");
        return 0;
    }

    {
        QtImageLayer imageLayer(services.clipboard);
        MainDialog dialog(&ProgramRecord, *services.urlOpener, services.prompts, &imageLayer);
        dialog.exec();
    }

    StopImageLayer();
    return 0;
}
