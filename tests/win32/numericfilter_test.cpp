// The keystroke filter on real windows under wine: which characters reach
// the window behind it, and that it leaves with the window.
#include "dialog/numericfilter.h"
#include "win32/numericfilter.h"

#include <windows.h>

#include <commctrl.h>

#include <gtest/gtest.h>

#include <string>

namespace {
// The subclassing service's query, which the import library does not name:
// the common controls export it by number only.
bool HasSubclass(HWND window, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR* data)
{
    using Query = BOOL(WINAPI*)(HWND, SUBCLASSPROC, UINT_PTR, DWORD_PTR*);
    static const auto query = reinterpret_cast<Query>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("comctl32.dll"), MAKEINTRESOURCEA(411))));
    return query != nullptr && query(window, procedure, id, data) != FALSE;
}

// Sits behind the filter and records what it lets through.
struct Recorder {
    std::string passed;
    bool filterSeenAtEnd = true;
};

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR subclassId,
                               DWORD_PTR reference)
{
    auto* recorder = reinterpret_cast<Recorder*>(reference);
    if (message == WM_CHAR)
        recorder->passed.push_back(static_cast<char>(wParam & 0xFF));
    if (message == WM_NCDESTROY) {
        DWORD_PTR data = 0;
        recorder->filterSeenAtEnd = HasSubclass(window, NumericFilterProc, 0, &data);
        RemoveWindowSubclass(window, RecordingProc, subclassId);
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

class FilteredWindow : public ::testing::Test {
protected:
    // An edit field (answers EM_GETSEL) or a plain static (does not).
    void Make(const char* windowClass)
    {
        window_ = CreateWindowExA(0, windowClass, "", WS_POPUP, 0, 0, 200, 20, nullptr, nullptr,
                                  GetModuleHandleA(nullptr), nullptr);
        ASSERT_NE(window_, nullptr);
        SetWindowSubclass(window_, RecordingProc, 7, reinterpret_cast<DWORD_PTR>(&recorder_));
        ASSERT_TRUE(InstallNumericFilter(window_));
    }
    void TearDown() override
    {
        if (window_ != nullptr)
            DestroyWindow(window_);
    }
    LRESULT Type(unsigned code) { return SendMessageA(window_, WM_CHAR, code, 1); }
    std::string Text() const
    {
        char text[64] = {};
        GetWindowTextA(window_, text, sizeof text);
        return text;
    }

    HWND window_ = nullptr;
    Recorder recorder_;
};

// A selection that starts at 0, or not.
auto StartsAtZero(bool atZero)
{
    return [atZero] { return atZero; };
}
} // namespace

TEST(NumericCharacter, PassesDigitsControlCodesAndHighCodesAndASignOnlyAtTheStart)
{
    for (char digit = '0'; digit <= '9'; ++digit)
        EXPECT_TRUE(NumericCharacterPasses(digit, StartsAtZero(false))) << digit;
    for (int code : {0, 8, 9, 13, 22, 27, 31})
        EXPECT_TRUE(NumericCharacterPasses(static_cast<signed char>(code), StartsAtZero(false))) << code;
    for (int code : {128, 0xE9, 255})
        EXPECT_TRUE(NumericCharacterPasses(static_cast<signed char>(code), StartsAtZero(false))) << code;
    for (char sign : {'-', '.'}) {
        EXPECT_TRUE(NumericCharacterPasses(sign, StartsAtZero(true))) << sign;
        EXPECT_FALSE(NumericCharacterPasses(sign, StartsAtZero(false))) << sign;
    }
    for (char other : {' ', 'a', 'e', 'E', '+', ',', '/', ':', '~', '\x7f'})
        EXPECT_FALSE(NumericCharacterPasses(other, StartsAtZero(true))) << other;
}

TEST_F(FilteredWindow, LetsAnEditFieldTakeOnlyANumberWithItsSignAtTheStart)
{
    ASSERT_NO_FATAL_FAILURE(Make("Edit"));
    Type('-');
    Type('1');
    EXPECT_EQ(Type('a'), 0);
    Type(' ');
    Type('2');
    Type('.'); // after a digit: dropped
    Type('-');
    Type('5');
    EXPECT_EQ(Text(), "-125");
    EXPECT_EQ(recorder_.passed, "-125");

    // A selection that starts at 0 takes a sign or a point again.
    SendMessageA(window_, EM_SETSEL, 0, -1);
    Type('.');
    EXPECT_EQ(Text(), ".");
    Type(8); // Backspace
    Type(9);
    Type(22);
    Type(0xE9);
    EXPECT_EQ(recorder_.passed, std::string("-125.\b\t\x16\xE9"));
}

TEST_F(FilteredWindow, LetsSignsThroughOnAWindowWithoutASelection)
{
    ASSERT_NO_FATAL_FAILURE(Make("Static"));
    Type('-');
    Type('.');
    Type('.');
    Type('x');
    EXPECT_EQ(recorder_.passed, "-..");
}

TEST_F(FilteredWindow, LeavesWithTheWindowAndPassesItsLastMessageOn)
{
    ASSERT_NO_FATAL_FAILURE(Make("Edit"));
    DWORD_PTR data = 1;
    ASSERT_TRUE(HasSubclass(window_, NumericFilterProc, 0, &data));
    EXPECT_EQ(data, 0u);
    recorder_.filterSeenAtEnd = true;
    DestroyWindow(window_);
    window_ = nullptr;
    EXPECT_FALSE(recorder_.filterSeenAtEnd);
}
