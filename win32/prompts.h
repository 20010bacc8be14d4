#pragma once

#include "export/prompts.h"

#include <windows.h>

#include <commdlg.h>

#include <string>

// The system's own dialogs for the export commands: the save-file dialog,
// and message boxes.
class Win32UserPrompts : public UserPrompts {
public:
    // The window that owns the save dialog and the information box.
    void SetOwner(HWND owner) { owner_ = owner; }

    bool PromptSaveFile(const SaveFileRequest& request, std::string& path) override;
    void ShowError(const std::string& text) override;
    void ShowInformation(const std::string& text) override;

private:
    HWND owner_ = nullptr;
};

// The characters the save dialog may fill in, terminating zero included.
constexpr DWORD kSaveDialogPathCapacity = 152;

// The save dialog's fixed flags: the folder must exist, no read-only file
// and no network button, the explorer-style dialog, resizable; no overwrite
// question (an existing file is replaced).
constexpr DWORD kSaveDialogFlags =
    OFN_PATHMUSTEXIST | OFN_NOREADONLYRETURN | OFN_NONETWORKBUTTON | OFN_EXPLORER | OFN_ENABLESIZING;

// The filter list in the system's form: each description and pattern ended
// by a zero, the whole list by a second zero.
std::string SaveDialogFilterList(const SaveFileRequest& request);

// The error box: no owner window, caption "Error", the error icon, one OK
// button, above all other windows.
void ShowErrorMessage(const std::string& text);
