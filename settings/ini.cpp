#include "settings/ini.h"

#include "fileio/filereplace.h"

#include <climits>

namespace {

constexpr std::string_view kNewLine = "\r\n";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// The line without its line end.
std::string_view Content(const std::string& line)
{
    std::string_view text = line;
    if (!text.empty() && text.back() == '\n')
        text.remove_suffix(1);
    if (!text.empty() && text.back() == '\r')
        text.remove_suffix(1);
    return text;
}

bool HasLineEnd(const std::string& line) { return !line.empty() && line.back() == '\n'; }

// The section name of a header line "[name]", or nothing.
std::optional<std::string_view> SectionName(const std::string& line)
{
    const std::string_view text = Trim(Content(line));
    if (text.empty() || text.front() != '[')
        return std::nullopt;
    const auto close = text.rfind(']');
    if (close == std::string_view::npos)
        return std::nullopt;
    return Trim(text.substr(1, close - 1));
}

// Where an entry line's "=" stands, or npos for any other line.
std::size_t EqualsSign(const std::string& line)
{
    if (SectionName(line))
        return std::string::npos;
    return Content(line).find('=');
}

struct SectionSpan {
    std::size_t header; // index of the header line
    std::size_t end;    // index one past the section's last line
};

std::optional<SectionSpan> FindSection(const IniDocument& document, std::string_view section)
{
    const auto& lines = document.lines;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name || !SameName(*name, section))
            continue;
        std::size_t end = i + 1;
        while (end < lines.size() && !SectionName(lines[end]))
            ++end;
        return SectionSpan{i, end};
    }
    return std::nullopt;
}

std::optional<std::size_t> FindKey(const IniDocument& document, const SectionSpan& span, std::string_view key)
{
    for (std::size_t i = span.header + 1; i < span.end; ++i) {
        const std::size_t equals = EqualsSign(document.lines[i]);
        if (equals != std::string::npos && SameName(Trim(Content(document.lines[i]).substr(0, equals)), key))
            return i;
    }
    return std::nullopt;
}

std::string EntryLine(std::string_view key, std::string_view value)
{
    std::string line;
    line.reserve(key.size() + value.size() + 3);
    line.append(key).append("=").append(value).append(kNewLine);
    return line;
}

void EndWithLineBreak(std::string& line)
{
    if (HasLineEnd(line))
        return;
    // A lone CR can only stand at the end of the file: it already ends the
    // line, and only its LF is missing.
    if (!line.empty() && line.back() == '\r')
        line += '\n';
    else
        line.append(kNewLine);
}

} // namespace

IniDocument ParseIni(std::string_view bytes)
{
    IniText decoded = DecodeIniFile(bytes);
    const std::string_view text = decoded.text;
    IniDocument document;
    document.form = std::move(decoded.form);
    std::size_t start = 0;
    while (start < text.size()) {
        const auto newline = text.find('\n', start);
        const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
        document.lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return document;
}

std::string IniBytes(const IniDocument& document)
{
    std::size_t size = 0;
    for (const auto& line : document.lines)
        size += line.size();
    std::string text;
    text.reserve(size);
    for (const auto& line : document.lines)
        text += line;
    if (document.form.encoding == IniEncoding::CodePage)
        return text;
    return EncodeIniFile(document.form, text);
}

std::optional<std::string> IniGetString(const IniDocument& document, std::string_view codePageSection,
                                        std::string_view codePageKey)
{
    const IniEncoding encoding = document.form.encoding;
    const std::string section = IniTextFromCodePage(encoding, codePageSection);
    const std::string key = IniTextFromCodePage(encoding, codePageKey);
    const auto span = FindSection(document, section);
    if (!span)
        return std::nullopt;
    const auto index = FindKey(document, *span, key);
    if (!index)
        return std::nullopt;
    const std::string_view content = Content(document.lines[*index]);
    std::string_view value = Trim(content.substr(content.find('=') + 1));
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return IniTextToCodePage(encoding, value);
}

void IniSetString(IniDocument& document, std::string_view codePageSection, std::string_view codePageKey,
                  std::string_view codePageValue)
{
    const IniEncoding encoding = document.form.encoding;
    const std::string section = IniTextFromCodePage(encoding, codePageSection);
    const std::string key = IniTextFromCodePage(encoding, codePageKey);
    const std::string value = IniTextFromCodePage(encoding, codePageValue);
    auto& lines = document.lines;
    const auto span = FindSection(document, section);
    if (!span) {
        if (!lines.empty())
            EndWithLineBreak(lines.back());
        std::string header;
        header.append("[").append(section).append("]").append(kNewLine);
        lines.push_back(std::move(header));
        lines.push_back(EntryLine(key, value));
        return;
    }
    if (const auto index = FindKey(document, *span, key)) {
        std::string& line = lines[*index];
        const std::size_t contentEnd = Content(line).size();
        const std::size_t valueStart = line.find('=') + 1;
        line.replace(valueStart, contentEnd - valueStart, value);
        return;
    }
    std::size_t after = span->header;
    for (std::size_t i = span->header + 1; i < span->end; ++i)
        if (EqualsSign(lines[i]) != std::string::npos)
            after = i;
    EndWithLineBreak(lines[after]);
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(after + 1), EntryLine(key, value));
}

std::int32_t ParseProfileInt(std::string_view value)
{
    value = Trim(value);
    bool negative = false;
    if (!value.empty() && (value.front() == '+' || value.front() == '-')) {
        negative = value.front() == '-';
        value.remove_prefix(1);
    }
    // Accumulate toward the sign's side and stop at the range's end, so
    // nothing ever overflows.
    long long number = 0;
    for (const char c : value) {
        if (c < '0' || c > '9')
            break;
        const int digit = c - '0';
        number = number * 10 + (negative ? -digit : digit);
        if (number > INT32_MAX)
            return INT32_MAX;
        if (number < INT32_MIN)
            return INT32_MIN;
    }
    return static_cast<std::int32_t>(number);
}

std::int32_t IniGetInt(const IniDocument& document, std::string_view section, std::string_view key,
                       std::int32_t defaultValue)
{
    const auto value = IniGetString(document, section, key);
    if (!value || value->empty())
        return defaultValue;
    return ParseProfileInt(*value);
}

std::int32_t GetProfileInt(std::string_view section, std::string_view key, std::int32_t defaultValue,
                           const std::string& path)
{
    std::string bytes;
    if (ReadWholeFile(path, bytes) != FileRead::Ok)
        return defaultValue;
    return IniGetInt(ParseIni(bytes), section, key, defaultValue);
}

bool WriteProfileString(std::string_view section, std::string_view key, std::string_view value, const std::string& path)
{
    std::string bytes;
    if (ReadWholeFile(path, bytes) == FileRead::Failed)
        return false; // never overwrite what could not be read
    IniDocument document = ParseIni(bytes);
    IniSetString(document, section, key, value);
    return ReplaceFileContents(path, IniBytes(document));
}
