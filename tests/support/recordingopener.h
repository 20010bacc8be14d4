#pragma once

#include "dialog/urlopener.h"

#include <string>
#include <vector>

// An opener that keeps every link it is asked to open, in order.
class RecordingOpener : public UrlOpener {
public:
    void OpenUrl(const std::string& url) override { opened.push_back(url); }
    std::vector<std::string> opened;
};
