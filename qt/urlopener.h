#pragma once

#include "dialog/urlopener.h"

// The desktop's opener (the default web browser for web addresses). A target
// that cannot be opened is not reported.
class DesktopUrlOpener : public UrlOpener {
public:
    void OpenUrl(const std::string& url) override;
};
