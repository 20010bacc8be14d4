#include "win32/startup.h"

#include "settings/settings.h"
#include "win32/maindialogview.h"
#include "win32/programsettings.h"
#include "win32/prompts.h"

#include <commctrl.h>

HINSTANCE ProgramInstance = nullptr;

namespace {
// The program's one record: all bytes zero at start, alive for the whole run.
DecagonRecord ProgramRecord;

void RunMainDialog(HINSTANCE instance, DecagonRecord* record, ImageLibrary& images, void*)
{
    MainDialogView view(images.Layer());
    view.RunModal(instance, record);
}
} // namespace

int RunProgram(HINSTANCE instance, ImageLibrary& images, UserPrompts* prompts, DialogRunner runDialog, void* context)
{
    Win32UserPrompts systemPrompts;
    UserPrompts& startPrompts = prompts != nullptr ? *prompts : systemPrompts;

    // 1, 2: the instance; failures of the system's own (a drive without a
    // disc) come back as results instead of boxes.
    ProgramInstance = instance;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);

    // 3: the settings file, found as decagon-cli.exe finds it.
    LocateProgramSettings();

    // 4 to 6: the image library.
    images.SetPluginFolder(ProgramFolder);
    if (!images.Start()) {
        ShowErrorBox(startPrompts, "Cannot initialize GFL SDK");
        return 0;
    }
    images.EnableLzwCompression(true);

    // 7: the common control classes; the link control's class as well,
    // which the template's two links need.
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
    InitCommonControlsEx(&classes);
    INITCOMMONCONTROLSEX links = {sizeof links, ICC_LINK_CLASS};
    InitCommonControlsEx(&links);

    // The visual effects of the window system (gradient captions, menu
    // animation and the like) stay as the user has set them: switching them
    // here would change every program of the user's session.

    // 9: the main dialog, until it ends.
    (runDialog != nullptr ? runDialog : RunMainDialog)(instance, &ProgramRecord, images, context);

    // 10, 11.
    images.Stop();
    return 0;
}
