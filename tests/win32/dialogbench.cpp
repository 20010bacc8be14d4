// Times the Win32 main dialog in the process, under wine: building and
// initialising the window (template, controls, lists, first computation),
// and one Compute with its preview. Prints the median of several runs.
#include "resources/dialogtemplate.h"
#include "settings/settings.h"
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
} // namespace

int main()
{
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_LINK_CLASS};
    InitCommonControlsEx(&classes);
    char folder[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, folder);
    LocateSettingsFile(std::string(folder) + "decagon-bench.exe");

    constexpr int kRuns = 9;
    std::vector<double> opening;
    std::vector<double> computing;
    for (int run = 0; run < kRuns; ++run) {
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
    std::printf("one Compute (values, settings file, preview): %.2f ms\n", Median(computing));
    return 0;
}
