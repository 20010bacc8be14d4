#include "win32/urlopener.h"

#include "fileio/widetext.h"
#include "win32/systemlibrary.h"

#include <windows.h>

#include <shellapi.h>

void ShellUrlOpener::OpenUrl(const std::string& url)
{
    const std::wstring target = WideOfUtf8(url);
    if (target.empty())
        return;
    // No owner, no parameters, no working folder; a link that cannot be
    // opened is not reported.
    using Execute = HINSTANCE(WINAPI*)(HWND, LPCWSTR, LPCWSTR, LPCWSTR, LPCWSTR, INT);
    static const auto execute = SystemFunctionAs<Execute>("shell32.dll", "ShellExecuteW");
    if (execute != nullptr)
        execute(nullptr, L"open", target.c_str(), nullptr, nullptr, SW_SHOW);
}
