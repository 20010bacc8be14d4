#pragma once

// Windows only. Text is UTF-8 everywhere inside the program; the system's
// wide calls take and give UTF-16. Every name that crosses to the system (a
// path, a message that quotes one, a link) goes through these two, so that a
// name in any script arrives whole.
//
// Both directions are strict: text that is not valid in its encoding (a
// broken UTF-8 sequence, a lone surrogate) gives an empty result, as an
// empty input does, and callers take an empty name as one they cannot use.
// A damaged name is never passed on as another name that happens to exist.

#include <string>
#include <string_view>

std::wstring WideOfUtf8(std::string_view text);
std::string Utf8OfWide(std::wstring_view text);
