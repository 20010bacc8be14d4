#pragma once

#include <functional>
#include <string>

// Where the settings file lives.
//
// Beside the executable first: the file there is used when it exists, or when
// the user can create it there (a portable copy, a build folder, a prefix in
// the home folder). Otherwise it lives in the user's configuration folder, in
// a folder of its own: "<user configuration folder>/decagon/Vanteo.ini". That
// folder is made on the first save.
//
// The rule itself touches no file and asks the system nothing: the caller
// hands it the folders and a probe, so that every platform applies it with
// its own answers (the XDG configuration folder here, the roaming
// application-data folder on Windows).

// The folder of the settings file's own inside the user's configuration folder.
constexpr char kUserSettingsFolderName[] = "decagon";

// Answers whether a settings file at this full path exists (anything at all is
// there) or the user can create it.
using SettingsFileProbe = std::function<bool(const std::string& path)>;

// folder joined with name by exactly one separator. Both "/" and "\" count as
// separators; a missing one is the last one the folder uses, else the
// platform's own. An empty folder gives name.
std::string JoinSettingsPath(const std::string& folder, const std::string& name);

// The settings file's full path by the rule above. An empty user
// configuration folder (the system names none) or a missing probe leaves the
// file beside the executable.
std::string ChooseSettingsFile(const std::string& programFolder, const std::string& userConfigFolder,
                               const SettingsFileProbe& existsOrCanCreate);

// The XDG user configuration folder from the values of XDG_CONFIG_HOME and
// HOME (null when unset): XDG_CONFIG_HOME when it is an absolute path, else
// "$HOME/.config" when HOME is absolute, else empty. A relative
// XDG_CONFIG_HOME is ignored, as the XDG rules ask.
std::string XdgConfigFolder(const char* xdgConfigHome, const char* home);

// Whether a folder belongs to the system's package manager, where a program
// never writes at run time even when the user (root) could: /usr and what
// lies below it.
bool IsSystemProgramFolder(const std::string& folder);

// ---- This system's answers ----

// The user's configuration folder: XdgConfigFolder from the environment
// (Windows: the roaming application-data folder, %APPDATA%).
std::string UserConfigFolder();

// The probe of this system: true when something is at path, or when its
// folder exists, the user may write there and it is not a system program
// folder (/usr; on Windows, Program Files). Paths are UTF-8 on Windows.
bool SettingsFileExistsOrCanBeCreated(const std::string& path);

// Sets ProgramFolder and SettingsFilePath from the executable's full path,
// the settings path by the rule above with this system's answers.
void LocateUserSettingsFile(const std::string& executablePath);

// Makes the folder that will hold the file at path, with the missing folders
// above it (readable by the user alone), so that a first save can create the
// file. True when the folder is there afterwards.
bool MakeSettingsFolder(const std::string& path);
