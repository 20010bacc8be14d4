#pragma once

#include <windows.h>

// The keystroke filter for number fields: placed in front of a window's own
// procedure with the common controls' subclassing service, it applies the
// number fields' rule (dialog/numericfilter.h) to the low byte of each
// character message and drops what fails with the default beep. It removes
// itself when the window is destroyed.

// 1 when the window answers EM_GETSEL with a selection that starts at 0.
// A window that does not answer it (answer 0) counts as starting at 0.
int SelectionStartsAtZero(HWND window);

// The subclass procedure, and its installation under subclass id 0 with
// reference data 0. Returns the subclassing service's success value.
LRESULT CALLBACK NumericFilterProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                                   DWORD_PTR referenceData);
BOOL InstallNumericFilter(HWND window);
