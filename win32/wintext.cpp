#include "win32/wintext.h"

#include <windows.h>

std::string Utf8OfWide(const wchar_t* text)
{
    if (text == nullptr || *text == L'\0')
        return {};
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1)
        return {};
    std::string converted(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, converted.data(), size, nullptr, nullptr);
    converted.resize(static_cast<std::size_t>(size) - 1); // the terminating zero
    return converted;
}

namespace {
std::wstring WideOf(const std::string& text, UINT codePage)
{
    if (text.empty())
        return {};
    const int size = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (size <= 0)
        return {};
    std::wstring converted(static_cast<std::size_t>(size), L'\0');
    MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), converted.data(), size);
    return converted;
}
} // namespace

std::wstring WideOfUtf8(const std::string& text) { return WideOf(text, CP_UTF8); }

std::wstring WideOfAnsi(const std::string& text) { return WideOf(text, CP_ACP); }
