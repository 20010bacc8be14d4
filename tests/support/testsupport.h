#pragma once

#include <string>

// A fresh folder under the system's temporary folder, removed with
// everything in it when the object goes.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

// Switches the process to a locale whose decimal separator is a comma
// (building one with localedef when none is installed). False when no such
// locale can be had; the caller then skips.
bool UseCommaLocale();
// Back to the classic locale.
void UseClassicLocale();
