#pragma once

#include <windows.h>

// A function of a system library, loaded from the system folder the first
// time it is asked for; null when the library or the function is missing.
// The common dialogs and the shell are loaded this way: loading them with the
// program cost more at start than opening the whole dialog, and most runs
// never need them.
FARPROC SystemFunction(const char* library, const char* function);

template <typename Function> Function SystemFunctionAs(const char* library, const char* function)
{
    return reinterpret_cast<Function>(reinterpret_cast<void*>(SystemFunction(library, function)));
}
