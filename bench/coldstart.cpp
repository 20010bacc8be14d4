// Times a program's cold start on an X server: from just before the process
// is started to the moment its window with the given title is mapped. Each
// run then closes the window as a window manager does and waits for the end.
// Usage: coldstart_timer RUNS TITLE PROGRAM [ARGS...]; prints one line:
//   <title>: runs N, min X ms, median Y ms, max Z ms
#include "tests/e2e/closewindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {
bool HasTitle(Display* display, Window window, const char* title)
{
    char* name = nullptr;
    if (XFetchName(display, window, &name) == 0 || name == nullptr)
        return false;
    const bool same = std::strcmp(name, title) == 0;
    XFree(name);
    return same;
}

// One run: the milliseconds to the window, or a negative value on failure.
double RunOnce(Display* display, const char* title, char** command)
{
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, True);
    const auto start = std::chrono::steady_clock::now();
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(command[0], command);
        std::_Exit(127);
    }
    if (child < 0)
        return -1;
    double elapsed = -1;
    Window shown = 0;
    const auto deadline = start + std::chrono::seconds(20);
    while (shown == 0 && std::chrono::steady_clock::now() < deadline) {
        if (XPending(display) == 0) {
            ::usleep(200);
            continue;
        }
        XEvent event;
        XNextEvent(display, &event);
        if (event.type == MapNotify && HasTitle(display, event.xmap.window, title)) {
            elapsed = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
            shown = event.xmap.window;
        }
    }
    if (shown != 0)
        RequestWindowClose(display, shown);
    else
        ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    return elapsed;
}
} // namespace

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s RUNS TITLE PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    const char* title = argv[2];
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "cannot open the display\n");
        return 1;
    }
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        const double ms = RunOnce(display, title, argv + 3);
        if (ms < 0) {
            std::fprintf(stderr, "run %d: no window titled \"%s\"\n", run, title);
            return 1;
        }
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: runs %d, min %.1f ms, median %.1f ms, max %.1f ms\n", title, runs, times.front(),
                times[times.size() / 2], times.back());
    XCloseDisplay(display);
    return 0;
}
