#include "settings/settings.h"

#include "fileio/filereplace.h"
#include "model/numtext.h"
#include "settings/ini.h"
#include "settings/settingslocation.h"

#include <string_view>
#include <vector>

#if defined(_WIN32)
#include "fileio/widetext.h"

#include <windows.h>
#elif defined(__APPLE__)
#include <mach-o/dyld.h>
#else
#include <unistd.h>
#endif

std::string ProgramFolder;
std::string SettingsFilePath;

namespace {

struct ColorKey {
    const char* key;
    std::int32_t DecagonRecord::*field;
    std::int32_t defaultValue;
};

// The keys of section "Colors" besides the ten vertex names, in the order in
// which they are read and written.
constexpr ColorKey kFigureColorKeys[] = {
    {"Background", &DecagonRecord::backgroundColor, kDefaultBackgroundColor},
    {"External Circle", &DecagonRecord::externalCircleColor, kDefaultExternalCircleColor},
    {"Internal Circle", &DecagonRecord::internalCircleColor, kDefaultInternalCircleColor},
    {"Lines", &DecagonRecord::outlineColor, kDefaultOutlineColor},
};

std::string IntText(std::int32_t value) { return std::to_string(value); }

} // namespace

std::string ExecutablePath()
{
#if defined(_WIN32)
    // The wide call, so that a folder named in any script comes back whole,
    // as UTF-8; the buffer grows for paths beyond MAX_PATH.
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0)
            return {};
        if (length < buffer.size())
            return Utf8OfWide(std::wstring_view(buffer.data(), length));
        buffer.resize(buffer.size() * 2);
    }
#elif defined(__APPLE__)
    uint32_t size = 0;
    _NSGetExecutablePath(nullptr, &size);
    std::vector<char> buffer(size + 1);
    if (_NSGetExecutablePath(buffer.data(), &size) != 0)
        return {};
    return std::string(buffer.data());
#else
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
        if (length < 0)
            return {};
        if (static_cast<std::size_t>(length) < buffer.size())
            return std::string(buffer.data(), static_cast<std::size_t>(length));
        buffer.resize(buffer.size() * 2);
    }
#endif
}

void LocateSettingsFile(const std::string& executablePath)
{
    // The folder is what precedes the file-name part; one trailing separator
    // is removed unless the folder is a root ("/" or "C:\").
    std::size_t nameStart = executablePath.size();
    while (nameStart > 0 && !IsPathSeparator(executablePath[nameStart - 1]))
        --nameStart;
    std::string folder = executablePath.substr(0, nameStart);
    const bool isRoot = folder.size() == 1 || (folder.size() == 3 && folder[1] == ':');
    if (!folder.empty() && IsPathSeparator(folder.back()) && !isRoot)
        folder.pop_back();
    ProgramFolder = folder;

    if (folder.empty())
        SettingsFilePath = kSettingsFileName;
    else if (IsPathSeparator(folder.back()))
        SettingsFilePath = folder + kSettingsFileName;
    else
        SettingsFilePath = folder + kPathSeparator + kSettingsFileName;
}

void LoadColorSettings(DecagonRecord* record)
{
    if (record == nullptr)
        return;
    std::string bytes;
    const bool read = ReadWholeFile(SettingsFilePath, bytes) == FileRead::Ok;
    const IniDocument document = read ? ParseIni(bytes) : IniDocument{};
    for (int row = 0; row < kVertexCount; ++row)
        record->diagonalColors[row] =
            IniGetInt(document, "Colors", VertexTable[row].label, kDefaultDiagonalColors[row]);
    for (const ColorKey& entry : kFigureColorKeys)
        record->*entry.field = IniGetInt(document, "Colors", entry.key, entry.defaultValue);
}

void SaveSettings(const DecagonRecord* record, std::int32_t offsetX, std::int32_t offsetY, const std::string& path)
{
    if (record == nullptr)
        return;
    std::string bytes;
    const FileRead read = ReadWholeFile(path, bytes);
    if (read == FileRead::Failed)
        return; // what cannot be read is never overwritten
    if (read == FileRead::Missing)
        MakeSettingsFolder(path); // the user's configuration folder may not be there yet
    IniDocument document = ParseIni(bytes);

    for (int row = 0; row < kVertexCount; ++row) {
        std::string value = FormatFixed(record->vertices[row].x, 4);
        value += ", ";
        AppendFixed(value, record->vertices[row].y, 4);
        IniSetString(document, "Debug", VertexTable[row].label, value);
    }
    IniSetString(document, "Trigo", "Rayon Exterieur", FormatFixed(record->externalRadius, 4));
    IniSetString(document, "Trigo", "Rayon Interieur", FormatFixed(record->internalRadius, 4));
    IniSetString(document, "Trigo", "Corde", FormatFixed(record->chord, 4));
    IniSetString(document, "Trigo", "Hypoth\xE9nuse", FormatFixed(record->hypotenuse, 4));
    IniSetString(document, "Offsets", "X", IntText(offsetX));
    IniSetString(document, "Offsets", "Y", IntText(offsetY));
    for (int row = 0; row < kVertexCount; ++row)
        IniSetString(document, "Colors", VertexTable[row].label, IntText(record->diagonalColors[row]));
    for (const ColorKey& entry : kFigureColorKeys)
        IniSetString(document, "Colors", entry.key, IntText(record->*entry.field));
    IniSetString(document, "Diagonale", "Selected", IntText(record->diagonalChoice));

    std::string updated = IniBytes(document);
    if (updated != bytes)
        ReplaceFileContents(path, updated);
}
