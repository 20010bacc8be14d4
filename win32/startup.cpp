#include "win32/startup.h"

#include "settings/settings.h"
#include "win32/maindialogview.h"
#include "win32/prompts.h"

#include <commctrl.h>

HINSTANCE ProgramInstance = nullptr;

namespace {
void RunMainDialog(HINSTANCE instance, DecagonRecord* record, ImageLibrary& images, void*)
{
    MainDialogView view(images.Layer());
    view.RunModal(instance, record);
}
} // namespace

int RunProgram(HINSTANCE instance, ImageLibrary& images, UserPrompts* prompts, DialogRunner runDialog, void* context)
{
    Win32UserPrompts systemPrompts;

    // The instance; failures of the system's own (a drive without a disc)
    // come back as results instead of boxes.
    ProgramInstance = instance;
    SetThreadErrorMode(SEM_FAILCRITICALERRORS, nullptr);

    // The settings file is found as decagon-cli.exe finds it, from the path
    // that GetModuleFileNameA gives.
    return RunProgramSequence(ExecutablePath(), images, prompts != nullptr ? *prompts : systemPrompts,
                              [&](DecagonRecord* record, ImageLibrary& library) {
                                  // The common control classes; the link control's class as well,
                                  // which the template's two links need.
                                  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES};
                                  InitCommonControlsEx(&classes);
                                  INITCOMMONCONTROLSEX links = {sizeof links, ICC_LINK_CLASS};
                                  InitCommonControlsEx(&links);
                                  // The visual effects of the window system (gradient captions,
                                  // menu animation and the like) stay as the user has set them:
                                  // switching them here would change every program of the user's
                                  // session.
                                  (runDialog != nullptr ? runDialog : RunMainDialog)(instance, record, library,
                                                                                     context);
                              });
}
