#include "settings/iniencoding.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LeMark = "\xFF\xFE";
constexpr char kUnknown = '?';

// Windows-1252 bytes 0x80 to 0x9F. The five bytes the code page leaves
// undefined stand for the control characters of the same value, as the
// system's own conversion has them; every other byte is its Latin-1 value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t CodePageChar(unsigned char byte) { return byte >= 0x80 && byte <= 0x9F ? kHighControls[byte - 0x80] : byte; }

// The code-page byte of a character, or nothing.
bool CodePageByte(char32_t c, char& byte)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        byte = static_cast<char>(c);
        return true;
    }
    for (unsigned index = 0; index < 32; ++index) {
        if (kHighControls[index] == c) {
            byte = static_cast<char>(0x80 + index);
            return true;
        }
    }
    return false;
}

// UTF-8 of any value up to 0x10FFFF, surrogate halves included.
void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Reads one character of UTF-8 at text[at] and moves past it. Surrogate
// halves count as characters (DecodeIniFile writes them so); overlong forms
// and values beyond 0x10FFFF do not. False, without moving, where no
// character starts.
bool NextUtf8(std::string_view text, std::size_t& at, char32_t& c)
{
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t value = 0;
    char32_t least = 0;
    if (lead < 0x80) {
        c = lead;
        ++at;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, value = lead & 0x1F, least = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, value = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, value = lead & 0x07, least = 0x10000;
    } else {
        return false;
    }
    if (text.size() - at < length)
        return false;
    for (std::size_t index = 1; index < length; ++index) {
        const auto next = static_cast<unsigned char>(text[at + index]);
        if (!IsContinuation(next))
            return false;
        value = (value << 6) | (next & 0x3F);
    }
    if (value < least || value > 0x10FFFF)
        return false;
    c = value;
    at += length;
    return true;
}

void AppendUnit(std::string& out, char32_t unit)
{
    out += static_cast<char>(unit & 0xFF);
    out += static_cast<char>((unit >> 8) & 0xFF);
}

std::string Utf16LeToText(std::string_view units)
{
    std::string text;
    text.reserve(units.size());
    const std::size_t count = units.size() / 2;
    auto unitAt = [units](std::size_t index) -> char32_t {
        return static_cast<unsigned char>(units[2 * index]) | (static_cast<unsigned char>(units[2 * index + 1]) << 8);
    };
    for (std::size_t index = 0; index < count; ++index) {
        const char32_t unit = unitAt(index);
        if (unit >= 0xD800 && unit <= 0xDBFF && index + 1 < count) {
            const char32_t low = unitAt(index + 1);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                AppendUtf8(text, 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00));
                ++index;
                continue;
            }
        }
        AppendUtf8(text, unit);
    }
    return text;
}

std::string TextToUtf16Le(std::string_view text)
{
    std::string units;
    units.reserve(text.size() * 2);
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = 0;
        if (!NextUtf8(text, at, c))
            c = CodePageChar(static_cast<unsigned char>(text[at++])); // not made here; kept as a character
        if (c >= 0x10000) {
            AppendUnit(units, 0xD800 + ((c - 0x10000) >> 10));
            AppendUnit(units, 0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            AppendUnit(units, c);
        }
    }
    return units;
}

} // namespace

IniText DecodeIniFile(std::string_view bytes)
{
    IniText decoded;
    if (bytes.substr(0, kUtf16LeMark.size()) == kUtf16LeMark) {
        bytes.remove_prefix(kUtf16LeMark.size());
        decoded.form.encoding = IniEncoding::Utf16Le;
        if (bytes.size() % 2 != 0) {
            decoded.form.oddByte = std::string(bytes.substr(bytes.size() - 1));
            bytes.remove_suffix(1);
        }
        decoded.text = Utf16LeToText(bytes);
    } else if (bytes.substr(0, kUtf8Mark.size()) == kUtf8Mark) {
        decoded.form.encoding = IniEncoding::Utf8;
        decoded.text = std::string(bytes.substr(kUtf8Mark.size()));
    } else {
        decoded.text = std::string(bytes);
    }
    return decoded;
}

std::string EncodeIniFile(const IniFileForm& form, std::string_view text)
{
    switch (form.encoding) {
    case IniEncoding::Utf16Le:
        return std::string(kUtf16LeMark) + TextToUtf16Le(text) + form.oddByte;
    case IniEncoding::Utf8:
        return std::string(kUtf8Mark) + std::string(text);
    case IniEncoding::CodePage:
        break;
    }
    return std::string(text);
}

std::string IniTextFromCodePage(IniEncoding encoding, std::string_view codePageText)
{
    if (encoding == IniEncoding::CodePage)
        return std::string(codePageText);
    std::string text;
    text.reserve(codePageText.size());
    for (const char byte : codePageText)
        AppendUtf8(text, CodePageChar(static_cast<unsigned char>(byte)));
    return text;
}

std::string IniTextToCodePage(IniEncoding encoding, std::string_view text)
{
    if (encoding == IniEncoding::CodePage)
        return std::string(text);
    std::string codePageText;
    codePageText.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        char32_t c = 0;
        char byte = kUnknown;
        if (!NextUtf8(text, at, c))
            ++at;
        else if (!CodePageByte(c, byte))
            byte = kUnknown;
        codePageText += byte;
    }
    return codePageText;
}
