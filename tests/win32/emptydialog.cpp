// The yardstick of the cold-start measure: an empty dialog of the main
// dialog's size, frame and font, built and run the same way, with the same
// manifest. Escape ends it. With --controls it holds the main dialog's
// controls too, as the system makes them from the template, with nothing
// filled in: what the window alone costs before the program does anything.
#include "resources/dialogtemplate.h"
#include "win32/dialogtemplatewriter.h"

#include <windows.h>

#include <commctrl.h>

namespace {
INT_PTR CALLBACK EmptyDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    if (message == WM_INITDIALOG)
        return TRUE;
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int)
{
    const bool controls = lstrcmpA(commandLine, "--controls") == 0;
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | (controls ? ICC_LINK_CLASS : 0u)};
    InitCommonControlsEx(&classes);
    DialogTemplate empty = MainDialogTemplate;
    empty.caption = "Empty dialog";
    if (!controls)
        empty.controlCount = 0;
    const std::vector<std::uint8_t> bytes = WriteDialogTemplate(empty);
    DialogBoxIndirectParamA(instance, reinterpret_cast<const DLGTEMPLATE*>(bytes.data()), nullptr, EmptyDialogProc, 0);
    return 0;
}
