#include "win32/startup.h"

#include "settings/settings.h"
#include "win32/maindialogview.h"
#include "win32/prompts.h"

#include <commctrl.h>

HINSTANCE ProgramInstance = nullptr;

int RunProgram(HINSTANCE instance, ImageLibrary& images, UserPrompts* prompts, DialogRunner runDialog, void* context)
{
    Win32UserPrompts systemPrompts;
    // The instance; failures of the system's own (a drive without a disc)
    // come back as results instead of boxes.
    ProgramInstance = instance;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);

    const auto runMainDialog = [&](DecagonRecord* record, ImageLibrary& library) {
        // The common control classes; the link control's class as well,
        // which the template's two links need. The visual effects of the
        // window system (gradient captions, menu animation and the like) stay
        // as the user has set them: switching them here would change every
        // program of the user's session.
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
        InitCommonControlsEx(&classes);
        INITCOMMONCONTROLSEX links = {sizeof links, ICC_LINK_CLASS};
        InitCommonControlsEx(&links);
        if (runDialog != nullptr)
            return runDialog(instance, record, library, context);
        MainDialogView view(library.Layer());
        view.RunModal(instance, record);
    };
    // The settings file is found from GetModuleFileNameW's path, as
    // decagon-cli.exe finds it.
    return RunProgramSequence(ExecutablePath(), images, prompts != nullptr ? *prompts : systemPrompts, runMainDialog);
}
