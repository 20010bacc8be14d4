#pragma once

#include <string>

// Opens a link's target. The program hands it to the desktop; tests record it.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    // url is UTF-8 text. A target that cannot be opened is not reported.
    virtual void OpenUrl(const std::string& url) = 0;
};
