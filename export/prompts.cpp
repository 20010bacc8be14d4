#include "export/prompts.h"

int ShowErrorBox(UserPrompts& prompts, const std::string& text)
{
    prompts.ShowError(text);
    return 0;
}

bool RunSaveDialog(UserPrompts& prompts, const SaveFileRequest& request, std::string& path)
{
    path.clear();
    if (!prompts.PromptSaveFile(request, path) || path.empty() || path.size() > kMaxSavePathLength) {
        path.clear();
        return false;
    }
    return true;
}

std::size_t FileNameStart(const std::string& path)
{
    const auto cut = path.find_last_of("/\\");
    return cut == std::string::npos ? 0 : cut + 1;
}

int ReportFileSaved(UserPrompts& prompts, const std::string& path, bool saved)
{
    const std::string fileName = path.substr(FileNameStart(path));
    if (!saved)
        return ShowErrorBox(prompts, "Cannot save the file " + fileName);
    prompts.ShowInformation("The file " + fileName + " has been successfully saved");
    return 1;
}
