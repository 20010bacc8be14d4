#include "model/numtext.h"

#include <charconv>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <system_error>

#if defined(__APPLE__)
#include <xlocale.h>
#endif

void AppendFixed(std::string& out, double value, int decimals)
{
    // The longest fixed form of a double has 309 integer digits, a sign and
    // the point; 400 bytes leave room for up to 80 decimals.
    char buffer[400];
#if defined(__EMSCRIPTEN__)
    // The browser build's C++ library has no to_chars with a precision; its C
    // library's printf gives the same exact digits and knows only the "C"
    // locale.
    const int length = std::snprintf(buffer, sizeof buffer, "%.*f", decimals, value);
    if (length > 0 && static_cast<std::size_t>(length) < sizeof buffer)
        out.append(buffer, static_cast<std::size_t>(length));
#else
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, decimals);
    if (result.ec == std::errc())
        out.append(buffer, result.ptr);
#endif
}

std::string FormatFixed(double value, int decimals)
{
    std::string text;
    AppendFixed(text, value, decimals);
    return text;
}

// Windows' own strtod reads neither "inf", "nan" nor hexadecimal numbers:
// its ParseNumber is in numtext_win32.cpp.
#if !defined(_WIN32)
double ParseNumber(const char* text)
{
    if (text == nullptr)
        return 0.0;
#if defined(__EMSCRIPTEN__)
    // The browser's C library knows only the "C" locale.
    return std::strtod(text, nullptr);
#else
    static const locale_t classic = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    return strtod_l(text, nullptr, classic);
#endif
}
#endif
