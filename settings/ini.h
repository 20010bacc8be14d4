#pragma once

#include "settings/iniencoding.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A small INI ("profile") file module with the semantics that the settings
// file relies on:
//  - a line "[name]" opens a section; a line "key=value" inside it is an
//    entry. Section and key names match without regard to ASCII case, and
//    spaces or tabs around them do not count. The first matching section and
//    the first matching key win.
//  - a write replaces an existing value in place, adds a missing key after the
//    last entry of its section (right after the header when there is none),
//    and adds a missing section at the end of the file. New lines end in
//    CR LF. Every other byte stays as it was: comments, blank lines, unknown
//    sections and keys, bytes above 127, LF-only line ends.
//  - values are read with the spaces and tabs around them removed, and one
//    pair of enclosing double or single quotes dropped.
//  - a lone CR at the very end of the file ends that line: what is written
//    after it starts on a line of its own.
//  - a file in UTF-16 LE or UTF-8 with its byte-order mark holds the same
//    sections and keys, and is written back in its own form (see
//    iniencoding.h). Names and values are always passed in the code page.
struct IniDocument {
    // Every line with its own line end; only the last one may have none. In
    // the file's text form (IniText::text).
    std::vector<std::string> lines;
    IniFileForm form;
};

IniDocument ParseIni(std::string_view bytes);
std::string IniBytes(const IniDocument& document);

std::optional<std::string> IniGetString(const IniDocument& document, std::string_view section, std::string_view key);
void IniSetString(IniDocument& document, std::string_view section, std::string_view key, std::string_view value);

// The leading decimal integer of a value, read as the profile routines read
// integers:
//   - a missing key, or an empty value, gives defaultValue;
//   - an optional "+" or "-" followed by decimal digits gives that number,
//     whatever follows the digits ("3.9" gives 3, "0x10" gives 0, "12abc"
//     gives 12);
//   - a value that does not start with a digit after its sign gives 0
//     ("abc", "-", ".5");
//   - a number beyond the 32-bit range gives the nearest 32-bit value
//     (2147483647 or -2147483648).
std::int32_t ParseProfileInt(std::string_view value);
std::int32_t IniGetInt(const IniDocument& document, std::string_view section, std::string_view key,
                       std::int32_t defaultValue);

// File-level forms, one read or one write of the file per call. A write
// replaces the whole file in one step and reports whether it succeeded; a
// missing file is created.
std::int32_t GetProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                           const std::string& path);
bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value,
                        const std::string& path);
