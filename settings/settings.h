#pragma once

#include "model/record.h"

#include <cstdint>
#include <string>

// The settings file "Vanteo.ini" lives beside the executable.
constexpr char kSettingsFileName[] = "Vanteo.ini";

// The separator this system puts between folder names; both "/" and "\"
// are read as one.
#if defined(_WIN32)
constexpr char kPathSeparator = '\\';
#else
constexpr char kPathSeparator = '/';
#endif
constexpr bool IsPathSeparator(char c) { return c == '/' || c == '\\'; }

// Program-wide paths, set once at start-up by LocateSettingsFile: the
// executable's folder without a trailing separator, and the settings file's
// full path.
extern std::string ProgramFolder;
extern std::string SettingsFilePath;

// The full path of the running executable (UTF-8 on Windows), or an empty
// text when the system cannot tell.
std::string ExecutablePath();

// Sets ProgramFolder and SettingsFilePath from the executable's full path.
// Both "/" and "\" count as separators; the file name is joined with the
// platform's own separator.
void LocateSettingsFile(const std::string& executablePath);

// Reads the fourteen colour positions from SettingsFilePath; a missing file,
// section or key leaves the record's value at its default.
void LoadColorSettings(DecagonRecord* record);

// Writes vertices, lengths, offsets, colours and the diagonal choice to the
// file at path, replacing it in one step. A failure is ignored: the file then
// stays as it was.
void SaveSettings(const DecagonRecord* record, std::int32_t offsetX, std::int32_t offsetY, const std::string& path);
