// Fuzzes the INI module and the settings file built on it, reading and
// saving. The input holds, separated by NUL bytes, a section, a key, a value
// and a height, then the file's bytes; missing fields keep a default.
#include "fileio/filereplace.h"
#include "model/geometry.h"
#include "model/numtext.h"
#include "model/record.h"
#include "settings/ini.h"
#include "settings/settings.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <unistd.h>

namespace {

void Check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

// A name that the module writes and reads back as it is.
bool IsPlainName(std::string_view name)
{
    if (name.empty() || name.front() == ' ' || name.front() == '\t' || name.back() == ' ' || name.back() == '\t')
        return false;
    return name.find_first_of(std::string_view("\r\n[]=\0", 6)) == std::string_view::npos;
}

// A value that reads back as it was written: no line break, no blanks
// around it, not enclosed in quotes.
bool IsPlainValue(std::string_view value)
{
    if (value.find_first_of("\r\n") != std::string_view::npos)
        return false;
    if (!value.empty() &&
        (value.front() == ' ' || value.front() == '\t' || value.back() == ' ' || value.back() == '\t'))
        return false;
    return !(value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front());
}

bool SameName(std::string_view a, std::string_view b)
{
    auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lower(a[i]) != lower(b[i]))
            return false;
    return true;
}

constexpr const char* kColorKeys[] = {
    "E6",   "E7", "E8", "E9", "E10", "E1", "E2", "E3", "E4", "E5", "Background", "External Circle", "Internal Circle",
    "Lines"};

// A folder of this process for the file-level checks, in memory where the
// system has such a folder.
const std::string& WorkFolder()
{
    static const std::string folder = [] {
        for (const char* base : {"/dev/shm", "/tmp"}) {
            std::string pattern = std::string(base) + "/decagon-fuzz-XXXXXX";
            if (::mkdtemp(pattern.data()) != nullptr)
                return pattern;
        }
        std::abort();
    }();
    return folder;
}

// Whether a lone CR at the very end of a file is taken as the end of that
// line. Until it is, the next line written after it is glued to it
// ("A=1\r\r\n"): that line's value then reads with a CR, and only a second
// save puts it right, so the checks that this breaks wait for that.
bool LoneCarriageReturnEndsALine()
{
    static const bool ends = [] {
        IniDocument document = ParseIni("[S]\r\nA=1\r");
        IniSetString(document, "S", "B", "2");
        return IniBytes(document).find("\r\r\n") == std::string::npos;
    }();
    return ends;
}

bool EndsInLoneCarriageReturn(std::string_view file) { return !file.empty() && file.back() == '\r'; }

void CheckDocument(std::string_view file, std::string_view section, std::string_view key, std::string_view value)
{
    IniDocument document = ParseIni(file);
    Check(IniBytes(document) == file, "a file read and written unchanged keeps every byte");

    std::int32_t before[14];
    for (int i = 0; i < 14; ++i)
        before[i] = IniGetInt(document, "Colors", kColorKeys[i], -7);
    if (const auto read = IniGetString(document, section, key))
        (void)ParseProfileInt(*read);

    IniSetString(document, section, key, value);
    const std::string written = IniBytes(document);
    Check(IniBytes(ParseIni(written)) == written, "a written file reads back as written");
    if (!IsPlainName(section) || !IsPlainName(key) || !IsPlainValue(value))
        return;
    const auto read = IniGetString(ParseIni(written), section, key);
    Check(read && *read == value, "a value reads back as it was written");
    const IniDocument reread = ParseIni(written);
    if (EndsInLoneCarriageReturn(file) && !LoneCarriageReturnEndsALine())
        return;
    for (int i = 0; i < 14; ++i)
        if (!SameName(section, "Colors") || !SameName(key, kColorKeys[i]))
            Check(IniGetInt(reread, "Colors", kColorKeys[i], -7) == before[i], "writing one key leaves the others");
    // Writing the same value again changes nothing.
    IniSetString(document, section, key, value);
    Check(IniBytes(document) == written, "writing a value twice is writing it once");
}

void CheckSettingsFile(std::string_view file, double height, std::size_t size)
{
    const std::string path = WorkFolder() + "/Vanteo.ini";
    Check(ReplaceFileContents(path, file), "the file can be written");

    DecagonRecord record;
    SetRecordDefaults(record);
    record.expectedHeight = height;
    ComputeGeometry(record);
    for (int i = 0; i < 10; ++i)
        record.diagonalColors[i] = static_cast<std::int32_t>((size * 31 + static_cast<std::size_t>(i) * 7) % 97) - 20;
    record.backgroundColor = static_cast<std::int32_t>(size % 50);
    record.outlineColor = -static_cast<std::int32_t>(size % 13);
    SaveSettings(&record, 0, 0, path);

    SettingsFilePath = path;
    DecagonRecord loaded;
    SetRecordDefaults(loaded);
    LoadColorSettings(&loaded);
    for (int i = 0; i < 10; ++i)
        Check(loaded.diagonalColors[i] == record.diagonalColors[i], "the saved colours read back");
    Check(loaded.backgroundColor == record.backgroundColor && loaded.outlineColor == record.outlineColor &&
              loaded.externalCircleColor == record.externalCircleColor &&
              loaded.internalCircleColor == record.internalCircleColor,
          "the saved colours read back");

    // Saving what was just saved changes nothing.
    std::string saved, again;
    Check(ReadWholeFile(path, saved) == FileRead::Ok, "the saved file reads");
    SaveSettings(&record, 0, 0, path);
    Check(ReadWholeFile(path, again) == FileRead::Ok, "the saved file reads");
    if (!EndsInLoneCarriageReturn(file) || LoneCarriageReturnEndsALine())
        Check(again == saved, "saving twice is saving once");
    Check(WriteProfileString("Fuzz", "Key", "1", path), "a key can be added");
    Check(GetProfileInt("fuzz", "KEY", 5, path) == 1, "an added key reads back");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view fields[4] = {"Colors", "Lines", "7", "254.884"};
    for (std::string_view& field : fields) {
        const std::size_t end = input.find('\0');
        if (end == std::string_view::npos)
            break;
        field = input.substr(0, end);
        input.remove_prefix(end + 1);
    }
    CheckDocument(input, fields[0], fields[1], fields[2]);
    CheckSettingsFile(input, ParseNumber(std::string(fields[3]).c_str()), size);
    return 0;
}
