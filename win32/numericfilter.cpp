#include "win32/numericfilter.h"

#include "dialog/numericfilter.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kFilterSubclassId = 0;
} // namespace

int SelectionStartsAtZero(HWND window)
{
    const LRESULT selection = SendMessageA(window, EM_GETSEL, 0, 0);
    return LOWORD(selection) == 0 ? 1 : 0;
}

LRESULT CALLBACK NumericFilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                   DWORD_PTR)
{
    switch (message) {
    case WM_NCDESTROY:
        RemoveWindowSubclass(window, NumericFilterProc, subclassId);
        break;
    case WM_CHAR: {
        const auto typed = static_cast<signed char>(wParam & 0xFF);
        if (!NumericCharacterPasses(typed, [window] { return SelectionStartsAtZero(window) == 1; })) {
            MessageBeep(0);
            return 0;
        }
        break;
    }
    default:
        break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

BOOL InstallNumericFilter(HWND window) { return SetWindowSubclass(window, NumericFilterProc, kFilterSubclassId, 0); }
