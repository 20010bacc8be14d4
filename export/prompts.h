#pragma once

#include <cstddef>
#include <string>

// One entry of a save dialog's type list.
struct FileFilter {
    const char* description;
    const char* pattern;
};

// What a command asks of the save dialog.
struct SaveFileRequest {
    const FileFilter* filters = nullptr;
    int filterCount = 0;
    int filterIndex = 1;               // 1-based entry selected when the dialog opens
    const char* defaultExtension = ""; // added to a name typed without an extension
};

// Paths of more than this many characters count as a failed dialog. A path
// is UTF-8: a character of another script counts once, whatever its bytes.
constexpr std::size_t kMaxSavePathLength = 151;

// The steps of a command that face the user: the save dialog and the message
// boxes. The program shows real dialogs; tests answer with a fake.
class UserPrompts {
public:
    virtual ~UserPrompts() = default;
    // Runs the save dialog. True with the chosen path when the user confirmed
    // one; false when they cancelled or the dialog failed. No overwrite
    // question is asked.
    virtual bool PromptSaveFile(const SaveFileRequest& request, std::string& path) = 0;
    // An error box with no owner window, caption "Error", the error icon, one
    // OK button, above all other windows.
    virtual void ShowError(const std::string& text) = 0;
    // A box owned by the main dialog, caption "Information", the information
    // icon, one OK button.
    virtual void ShowInformation(const std::string& text) = 0;
};

// Shows text as an error and yields 0, which callers return as their own
// failure result.
int ShowErrorBox(UserPrompts& prompts, const std::string& text);

// The save dialog with the command's rules on top: a path longer than
// kMaxSavePathLength characters is a failed dialog.
bool RunSaveDialog(UserPrompts& prompts, const SaveFileRequest& request, std::string& path);

// Where the file-name part of a path begins: after its last "/" or "\".
std::size_t FileNameStart(const std::string& path);

// The last step of a command that has saved the file at path: the error
// "Cannot save the file %s" or the confirmation "The file %s has been
// successfully saved", each with only the file-name part of the path.
// Returns 1 when saved, else 0.
int ReportFileSaved(UserPrompts& prompts, const std::string& path, bool saved);
