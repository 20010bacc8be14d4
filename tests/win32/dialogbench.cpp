// Times the Win32 main dialog in the process, under wine: building and
// initialising the window (template, controls, lists, first computation),
// and one Compute with its preview. The reference, in the same run: the
// system making the same template's controls with a dialog procedure that
// does nothing, which is what the window costs before the program fills it.
// Prints the median of several runs.
#include "resources/dialogtemplate.h"
#include "settings/settings.h"
#include "win32/dialogtemplatewriter.h"
#include "win32/maindialogview.h"

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {
double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double MillisecondsSince(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

INT_PTR CALLBACK IdleDialogProc(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }
} // namespace

int main()
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&classes);
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    LocateSettingsFile(std::string(folder) + "decagon-bench.exe");

    constexpr int kRuns = 9;
    const std::vector<std::uint8_t> bare = WriteDialogTemplate(MainDialogTemplate);
    std::vector<double> opening;
    std::vector<double> computing;
    std::vector<double> controlsAlone;
    for (int run = 0; run < kRuns; ++run) {
        auto bareStart = std::chrono::steady_clock::now();
        HWND idle = CreateDialogIndirectParamA(
            GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(bare.data()), nullptr, IdleDialogProc, 0);
        controlsAlone.push_back(MillisecondsSince(bareStart));
        if (idle == nullptr)
            return 1;
        DestroyWindow(idle);

        DecagonRecord record = {};
        MainDialogView view(nullptr);
        auto start = std::chrono::steady_clock::now();
        HWND dialog = view.CreateModeless(GetModuleHandleA(nullptr), &record, nullptr);
        opening.push_back(MillisecondsSince(start));
        if (dialog == nullptr)
            return 1;
        SetDlgItemTextA(dialog, kHeightFieldId, "254.884");
        start = std::chrono::steady_clock::now();
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kComputeId, BN_CLICKED), 0);
        computing.push_back(MillisecondsSince(start));
        DestroyWindow(dialog);
    }
    DeleteFileA(SettingsFilePath.c_str());
    std::printf("open the main dialog, first time in the process: %.2f ms\n", opening.front());
    std::printf("open the main dialog (hidden, first Compute included): %.2f ms\n", Median(opening));
    std::printf("reference, the template's controls made, nothing filled in: %.2f ms\n", Median(controlsAlone));
    std::printf("one Compute (values, settings file, preview): %.2f ms\n", Median(computing));
    return 0;
}
