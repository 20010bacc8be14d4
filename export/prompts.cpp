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
