#pragma once

#include "dialog/urlopener.h"

// Opens links with the shell's "open" verb: the user's browser.
class ShellUrlOpener : public UrlOpener {
public:
    void OpenUrl(const std::string& url) override;
};
