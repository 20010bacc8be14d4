#include "export/prompts.h"

#include <algorithm>

int ShowErrorBox(UserPrompts& prompts, const std::string& text)
{
    prompts.ShowError(text);
    return 0;
}

namespace {
// The characters of UTF-8 text: every byte but those that continue one.
std::size_t CharacterCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count_if(
        text.begin(), text.end(), [](char byte) { return (static_cast<unsigned char>(byte) & 0xC0) != 0x80; }));
}
} // namespace

bool RunSaveDialog(UserPrompts& prompts, const SaveFileRequest& request, std::string& path)
{
    path.clear();
    if (!prompts.PromptSaveFile(request, path) || path.empty() || CharacterCount(path) > kMaxSavePathLength) {
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
