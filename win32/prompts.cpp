#include "win32/prompts.h"

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
    // The dialog starts with an empty name and may fill in fewer characters
    // than the buffer holds.
    char buffer[MAX_PATH] = {};
    const std::string filters = SaveDialogFilterList(request);
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner_;
    dialog.hInstance = GetModuleHandleA(nullptr);
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = static_cast<DWORD>(request.filterIndex);
    dialog.lpstrFile = buffer;
    dialog.nMaxFile = kSaveDialogPathCapacity;
    dialog.Flags = kSaveDialogFlags;
    dialog.lpstrDefExt =
        request.defaultExtension != nullptr && *request.defaultExtension != '\0' ? request.defaultExtension : nullptr;
    using SaveDialog = BOOL(WINAPI*)(LPOPENFILENAMEA);
    static const auto runDialog = SystemFunctionAs<SaveDialog>("comdlg32.dll", "GetSaveFileNameA");
    if (runDialog == nullptr || runDialog(&dialog) == 0)
        return false;
    path = buffer;
    return true;
}

void ShowErrorMessage(const std::string& text)
{
    MessageBoxA(nullptr, text.c_str(), "Error", MB_OK | MB_ICONERROR | MB_TOPMOST);
}

void Win32UserPrompts::ShowError(const std::string& text) { ShowErrorMessage(text); }

void Win32UserPrompts::ShowInformation(const std::string& text)
{
    MessageBoxA(owner_, text.c_str(), "Information", MB_OK | MB_ICONINFORMATION);
}
