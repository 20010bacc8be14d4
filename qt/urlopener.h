#pragma once

#include <QString>

// Opens a link's target. The program hands it to the desktop; tests record it.
class UrlOpener {
public:
    virtual ~UrlOpener() = default;
    virtual void OpenUrl(const QString& url) = 0;
};

// The desktop's opener (the default web browser for web addresses). A target
// that cannot be opened is not reported.
class DesktopUrlOpener : public UrlOpener {
public:
    void OpenUrl(const QString& url) override;
};
