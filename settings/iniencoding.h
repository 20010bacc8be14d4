#pragma once

#include <string>
#include <string_view>

// The text forms a settings file may take. The program itself writes single
// bytes in the Windows-1252 code page; a file that an editor saved as
// UTF-16 LE ("Unicode") or as UTF-8, each with its byte-order mark, is read
// as the same sections and keys and written back in its own form.
enum class IniEncoding {
    CodePage, // single bytes, no mark: anything that is not one of the two below
    Utf8,     // the mark EF BB BF, then UTF-8
    Utf16Le,  // the mark FF FE, then 16-bit little-endian units
};

// A file's form, kept with its text so that a save writes it back alike.
struct IniFileForm {
    IniEncoding encoding = IniEncoding::CodePage;
    // UTF-16 LE only: a last byte that completes no unit. It stays the
    // file's last byte.
    std::string oddByte;
};

// A file's bytes as text that the INI module can split and edit: CR, LF,
// "[", "]" and "=" are single ASCII bytes in every form.
//  - CodePage: the bytes as they are.
//  - Utf8: the bytes after the mark, as they are (even where they are not
//    valid UTF-8).
//  - Utf16Le: the units after the mark as UTF-8. A unit that is half of a
//    surrogate pair without its other half becomes the three bytes UTF-8
//    would give its value, so that every sequence of units comes back
//    unchanged.
struct IniText {
    IniFileForm form;
    std::string text;
};

IniText DecodeIniFile(std::string_view bytes);

// The bytes of a file of this form holding text made by DecodeIniFile (or
// edited with text from IniTextFromCodePage): the mark, the text in the
// form's encoding, and the odd byte. DecodeIniFile then EncodeIniFile gives
// back the same bytes.
std::string EncodeIniFile(const IniFileForm& form, std::string_view text);

// Names and values as the program spells them (Windows-1252 bytes, as in
// "Hypoth\xE9nuse") in the text of a file of this encoding, and back. A
// character that the code page lacks comes back as "?"; so does a byte of a
// UTF-8 file that is not valid UTF-8.
std::string IniTextFromCodePage(IniEncoding encoding, std::string_view codePageText);
std::string IniTextToCodePage(IniEncoding encoding, std::string_view text);
