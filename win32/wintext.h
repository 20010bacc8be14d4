#pragma once

#include <string>

// UTF-8 text, as the program's core keeps links, and the UTF-16 text of the
// system's wide calls. Invalid input converts as the system does (with
// replacement characters); an empty input gives an empty output.
std::string Utf8OfWide(const wchar_t* text);
std::wstring WideOfUtf8(const std::string& text);
// Text in the system's ANSI code page (file paths as the A calls take them)
// as UTF-16, by the same rules.
std::wstring WideOfAnsi(const std::string& text);
