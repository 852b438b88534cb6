// Start-up time and size: the real program started on the X server named by
// DISPLAY, from exec to its first chart copied to the window, and its
// resident size then. A key bound to EXIT is sent once the main window is
// mapped; the program only reads it in its event loop, which it enters after
// copying the first frame, so the run ends just after that frame (the exit
// itself is in the time). The resident size is the peak the kernel reports
// for the ended process (wait4), reached by then. Each run is one iteration;
// the repetitions give the median.
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "tests/support/temp_dir.h"
#include "tests/support/x_tavik.h"

namespace {

using Clock = std::chrono::steady_clock;

// The next top-level window of class TAvik mapped, from the root's
// structure events; 0 after timeoutMs.
Window waitForMainWindow(Display *d, int timeoutMs) {
    const auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (Clock::now() < end) {
        while (XPending(d)) {
            XEvent e;
            XNextEvent(d, &e);
            if (e.type != MapNotify) continue;
            XClassHint hint{nullptr, nullptr};
            bool ours = false;
            if (XGetClassHint(d, e.xmap.window, &hint)) {
                ours = hint.res_class != nullptr && std::string(hint.res_class) == "TAvik";
                if (hint.res_name) XFree(hint.res_name);
                if (hint.res_class) XFree(hint.res_class);
            }
            if (ours) return e.xmap.window;
        }
        usleep(200);
    }
    return 0;
}

void BM_Startup(benchmark::State &state) {
    const char *display = std::getenv("DISPLAY");
    Display *d = display != nullptr ? XOpenDisplay(nullptr) : nullptr;
    if (d == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    TempDir home;
    writeOptionsFile(home.path(), {"ConfirmQuit = False", "TipHelp = False"});
    std::vector<std::string> args = {TAVIK_EXECUTABLE, "-q"};
    for (const std::string &a : xrmBindStkDoit("F5", "EXIT")) args.push_back(a);
    long rssKb = 0;
    for (auto _ : state) {
        XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
        XSync(d, True);
        const auto start = Clock::now();
        const pid_t pid = fork();
        if (pid == 0) {
            setenv("HOME", home.path().c_str(), 1);
            setenv("TAVIK_HOME", home.path().c_str(), 1);
            setenv("LC_ALL", kTestLocale, 1);
            setenv("LANG", kTestLocale, 1);
            setenv("TAVIK_LOCALE", kTestLocale, 1);
            std::vector<char *> argv;
            for (std::string &a : args) argv.push_back(&a[0]);
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
        const Window main = waitForMainWindow(d, 20000);
        int status = 0;
        struct rusage usage {};
        pid_t done = 0;
        // The key again every 50 ms, in case one came before the toolkit took it.
        for (int tries = 0; main != 0 && tries < 400 && done == 0; tries++) {
            xSendKey(d, main, "F5");
            for (int i = 0; i < 50 && done == 0; i++) {
                done = wait4(pid, &status, WNOHANG, &usage);
                if (done == 0) usleep(1000);
            }
        }
        if (done == 0) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
            state.SkipWithError("the program did not start or did not end");
            break;
        }
        state.SetIterationTime(std::chrono::duration<double>(Clock::now() - start).count());
        rssKb = usage.ru_maxrss;
        XSelectInput(d, DefaultRootWindow(d), NoEventMask);
    }
    state.counters["rss_kB"] = static_cast<double>(rssKb);
    XCloseDisplay(d);
}

} // namespace

BENCHMARK(BM_Startup)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond);
