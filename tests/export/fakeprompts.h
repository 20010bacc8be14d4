#pragma once

#include "export/prompts.h"

#include <string>
#include <vector>

// Answers the save dialog with a prepared path (or a cancel) and records
// every request and message.
class FakePrompts : public UserPrompts {
public:
    bool PromptSaveFile(const SaveFileRequest& request, std::string& path) override
    {
        ++dialogs;
        lastRequest = request;
        if (cancel)
            return false;
        path = answer;
        return true;
    }
    void ShowError(const std::string& text) override { errors.push_back(text); }
    void ShowInformation(const std::string& text) override { information.push_back(text); }

    std::string answer;
    bool cancel = false;
    int dialogs = 0;
    SaveFileRequest lastRequest;
    std::vector<std::string> errors;
    std::vector<std::string> information;
};
