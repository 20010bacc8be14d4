#include "settings/settingslocation.h"

#include "settings/settings.h"

#include <cstdlib>

#if defined(_WIN32)
#include "fileio/widetext.h"

#include <windows.h>
#elif !defined(__EMSCRIPTEN__)
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {

// The folder part of a full path, without its trailing separator (a root
// keeps it); empty when the path names no folder.
std::string FolderOf(const std::string& path)
{
    std::size_t end = path.size();
    while (end > 0 && !IsPathSeparator(path[end - 1]))
        --end;
    if (end == 0)
        return {};
    std::string folder = path.substr(0, end);
    const bool isRoot = folder.size() == 1 || (folder.size() == 3 && folder[1] == ':');
    if (!isRoot)
        folder.pop_back();
    return folder;
}

} // namespace

std::string JoinSettingsPath(const std::string& folder, const std::string& name)
{
    if (folder.empty())
        return name;
    if (IsPathSeparator(folder.back()))
        return folder + name;
    // The folder's own separator, so that a path keeps one style.
    const std::size_t last = folder.find_last_of("/\\");
    return folder + (last == std::string::npos ? kPathSeparator : folder[last]) + name;
}

std::string ChooseSettingsFile(const std::string& programFolder, const std::string& userConfigFolder,
                               const SettingsFileProbe& existsOrCanCreate)
{
    const std::string beside = JoinSettingsPath(programFolder, kSettingsFileName);
    if (userConfigFolder.empty() || !existsOrCanCreate || existsOrCanCreate(beside))
        return beside;
    return JoinSettingsPath(JoinSettingsPath(userConfigFolder, kUserSettingsFolderName), kSettingsFileName);
}

std::string XdgConfigFolder(const char* xdgConfigHome, const char* home)
{
    if (xdgConfigHome != nullptr && xdgConfigHome[0] == '/')
        return xdgConfigHome;
    if (home != nullptr && home[0] == '/')
        return JoinSettingsPath(home, ".config");
    return {};
}

bool IsSystemProgramFolder(const std::string& folder) { return folder == "/usr" || folder.rfind("/usr/", 0) == 0; }

#if defined(_WIN32)

namespace {
bool IsAbsolute(const char* path)
{
    if (path == nullptr || path[0] == '\0')
        return false;
#if defined(_WIN32)
    const bool drive = ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) && path[1] == ':' &&
                       IsPathSeparator(path[2]);
    return drive || (IsPathSeparator(path[0]) && IsPathSeparator(path[1]));
#else
    return path[0] == '/';
#endif
}

// An environment variable in its wide form, so that a value in any script
// (a Greek or Chinese user name in a profile path) comes back whole; empty
// when unset.
std::wstring EnvironmentText(const wchar_t* name)
{
    std::wstring value(MAX_PATH, L'\0');
    for (;;) {
        const DWORD size = GetEnvironmentVariableW(name, value.data(), static_cast<DWORD>(value.size()));
        if (size < value.size()) {
            value.resize(size);
            return value;
        }
        value.resize(size);
    }
}

// Whether folder is one of the system's program folders (%ProgramFiles%,
// its 32-bit twin) or lies below one, compared without regard to case as
// the system names files.
bool IsWindowsProgramFolder(const std::wstring& folder)
{
    for (const wchar_t* variable : {L"ProgramFiles", L"ProgramW6432", L"ProgramFiles(x86)"}) {
        std::wstring root = EnvironmentText(variable);
        while (root.size() > 3 && (root.back() == L'\\' || root.back() == L'/'))
            root.pop_back();
        if (root.size() < 3 || folder.size() < root.size())
            continue;
        const bool boundary =
            folder.size() == root.size() || folder[root.size()] == L'\\' || folder[root.size()] == L'/';
        if (boundary && CompareStringOrdinal(folder.data(), static_cast<int>(root.size()), root.data(),
                                             static_cast<int>(root.size()), TRUE) == CSTR_EQUAL)
            return true;
    }
    return false;
}

} // namespace

std::string UserConfigFolder()
{
    const std::string folder = Utf8OfWide(EnvironmentText(L"APPDATA"));
    return IsAbsolute(folder.c_str()) ? folder : std::string();
}

bool SettingsFileExistsOrCanBeCreated(const std::string& path)
{
    const std::wstring wide = WideOfUtf8(path);
    if (wide.empty())
        return false;
    if (GetFileAttributesW(wide.c_str()) != INVALID_FILE_ATTRIBUTES)
        return true;
    // A copy that an installer put under Program Files never creates its
    // file there, even when it could (run elevated): a file that one
    // elevated run made would be read by every later run and written by
    // none. As /usr on the other systems; a file already there is used.
    const std::wstring folder = WideOfUtf8(FolderOf(path));
    if (folder.empty() || IsWindowsProgramFolder(folder))
        return false;
    // Whether the folder takes a new file: make one that vanishes on close.
    const std::wstring trial = WideOfUtf8(JoinSettingsPath(FolderOf(path), "Vanteo.ini.probe"));
    HANDLE file = CreateFileW(trial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    CloseHandle(file);
    return true;
}

bool MakeSettingsFolder(const std::string& path)
{
    const std::string folder = FolderOf(path);
    if (folder.empty())
        return true;
    const std::wstring wide = WideOfUtf8(folder);
    if (wide.empty())
        return false;
    const DWORD attributes = GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES)
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (FolderOf(folder) != folder && !MakeSettingsFolder(folder))
        return false;
    return CreateDirectoryW(wide.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}

#elif defined(__EMSCRIPTEN__)

// The browser's files are kept in memory, where a folder is only part of a
// file's path: the file beside the program can always be made.
std::string UserConfigFolder() { return {}; }

bool SettingsFileExistsOrCanBeCreated(const std::string& path) { return !path.empty(); }

bool MakeSettingsFolder(const std::string&) { return true; }

#else

std::string UserConfigFolder() { return XdgConfigFolder(std::getenv("XDG_CONFIG_HOME"), std::getenv("HOME")); }

bool SettingsFileExistsOrCanBeCreated(const std::string& path)
{
    struct stat status {};
    if (::lstat(path.c_str(), &status) == 0)
        return true;
    const std::string folder = FolderOf(path);
    const std::string probed = folder.empty() ? "." : folder;
    if (IsSystemProgramFolder(probed))
        return false;
    return ::faccessat(AT_FDCWD, probed.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool MakeSettingsFolder(const std::string& path)
{
    const std::string folder = FolderOf(path);
    if (folder.empty())
        return true;
    struct stat status {};
    if (::stat(folder.c_str(), &status) == 0)
        return S_ISDIR(status.st_mode);
    const std::string parent = FolderOf(folder);
    if (!parent.empty() && parent != folder && !MakeSettingsFolder(folder))
        return false;
    // Readable by the user alone, as the XDG rules ask of folders they make.
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

#endif

void LocateUserSettingsFile(const std::string& executablePath)
{
    LocateSettingsFile(executablePath);
    SettingsFilePath = ChooseSettingsFile(ProgramFolder, UserConfigFolder(), SettingsFileExistsOrCanBeCreated);
}
