#include "win32/prompts.h"

#include "fileio/widetext.h"
#include "win32/systemlibrary.h"

#include <commdlg.h>

std::string SaveDialogFilterList(const SaveFileRequest& request)
{
    std::string list;
    for (int index = 0; index < request.filterCount && request.filters != nullptr; ++index) {
        list += request.filters[index].description;
        list.push_back('\0');
        list += request.filters[index].pattern;
        list.push_back('\0');
    }
    list.push_back('\0');
    return list;
}

bool Win32UserPrompts::PromptSaveFile(const SaveFileRequest& request, std::string& path)
{
    // The wide dialog, so that a name typed in any script comes back whole
    // (as UTF-8). It starts with an empty name and may fill in fewer
    // characters than the buffer holds.
    wchar_t buffer[MAX_PATH] = {};
    const std::wstring filters = WideOfUtf8(SaveDialogFilterList(request));
    const std::wstring extension =
        request.defaultExtension != nullptr ? WideOfUtf8(request.defaultExtension) : std::wstring();
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.hInstance = GetModuleHandleW(nullptr);
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = kSaveDialogPathCapacity;
    dialog.Flags = kSaveDialogFlags;
    dialog.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
    using SaveDialog = BOOL(WINAPI*)(LPOPENFILENAMEW);
    static const auto runDialog = SystemFunctionAs<SaveDialog>("comdlg32.dll", "GetSaveFileNameW");
    if (runDialog == nullptr || runDialog(&dialog) == 0)
        return false;
    path = Utf8OfWide(buffer);
    return !path.empty();
}

namespace {
// A message box in the wide form, so that a name the text quotes shows in
// its own script.
void ShowMessage(HWND owner, const std::string& text, const wchar_t* caption, UINT style)
{
    MessageBoxW(owner, WideOfUtf8(text).c_str(), caption, style);
}
} // namespace

void ShowErrorMessage(const std::string& text)
{
    ShowMessage(nullptr, text, L"Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void Win32UserPrompts::ShowError(const std::string& text) { ShowErrorMessage(text); }

void Win32UserPrompts::ShowInformation(const std::string& text)
{
    ShowMessage(owner_, text, L"Information", MB_OK | MB_ICONINFORMATION);
}
