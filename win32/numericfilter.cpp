#include "win32/numericfilter.h"

#include <commctrl.h>

namespace {
constexpr UINT_PTR kFilterSubclassId = 0;
} // namespace

bool NumericCharacterPasses(signed char typed, bool selectionStartsAtZero)
{
    if (typed < 32)
        return true;
    if (typed == '-' || typed == '.')
        return selectionStartsAtZero;
    return typed >= '0' && typed <= '9';
}

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
        // The selection is asked for only where it decides.
        const bool sign = typed == '-' || typed == '.';
        if (!NumericCharacterPasses(typed, sign && SelectionStartsAtZero(window) == 1)) {
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
