#pragma once

#include "dialog/urlopener.h"
#include "qt/qtprompts.h"

#include <string>

// An opener that opens nothing.
class NoOpener : public UrlOpener {
public:
    void OpenUrl(const std::string&) override {}
};

// Qt's own boxes, with a save dialog that answers at once with `answer`.
class AnsweringPrompts : public QtUserPrompts {
public:
    using QtUserPrompts::QtUserPrompts;
    bool PromptSaveFile(const SaveFileRequest&, std::string& path) override
    {
        path = answer;
        return true;
    }
    std::string answer;
};
