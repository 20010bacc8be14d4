#include "win32/systemlibrary.h"

FARPROC SystemFunction(const char* library, const char* function)
{
    // Only the system folder is searched, never the program's own folder.
    HMODULE module = LoadLibraryExA(library, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    return module != nullptr ? GetProcAddress(module, function) : nullptr;
}
