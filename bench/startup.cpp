// Start-up time, size and round trips: the real program started on a
// private Xvfb of this benchmark, with the shipped data files as the
// installed ones, from exec to its first chart copied to the window, and
// its resident size then. A key bound to EXIT is sent once the main window
// is mapped; the program only reads it in its event loop, which it enters
// after copying the first frame, so the run ends just after that frame (the
// exit itself is in the time). The resident size is the peak the kernel
// reports for the ended process (wait4). Each run is one iteration; the
// repetitions give the median.
//
// BM_Startup starts with the element indexes already built (a warm start),
// BM_StartupColdIndex with a new home each time, so both gdbm indexes are
// built. BM_StartupRoundTrips runs the warm start through a proxy between
// the program and the server that reads both directions of the X protocol:
// a round trip is a reply or error to the last request the program has sent
// (it waits for it), counted from exec to the program's first copy of a
// chart-sized area (the first frame) and to its end; BM_StartupBusyServer
// is the same with each round trip held back 1 ms, as a busy server would.
// What the program prints goes to /dev/null.
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include "bench/x_frame_bench.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
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

// ---- the counting proxy ------------------------------------------------------

std::string socketPath(const std::string &display) { return "/tmp/.X11-unix/X" + display.substr(1); }

// One connection's two streams, parsed as they pass.
struct XStreams {
    bool little = true;
    // Client to server.
    std::vector<uint8_t> out;
    bool setupSent = false;
    unsigned long requests = 0;
    // Server to client.
    std::vector<uint8_t> in;
    bool setupAnswered = false;
    unsigned long roundTrips = 0, roundTripsToFrame = 0;
    bool framed = false;

    uint32_t word(const std::vector<uint8_t> &b, size_t at, int bytes) const {
        uint32_t v = 0;
        for (int k = 0; k < bytes; k++) {
            const int shift = little ? 8 * k : 8 * (bytes - 1 - k);
            v |= static_cast<uint32_t>(b[at + static_cast<size_t>(k)]) << shift;
        }
        return v;
    }

    void fromClient(const uint8_t *data, size_t n) {
        out.insert(out.end(), data, data + n);
        size_t at = 0;
        for (;;) {
            if (!setupSent) {
                if (out.size() - at < 12) break;
                little = out[at] == 'l';
                const size_t len = 12 + ((word(out, at + 6, 2) + 3) & ~3u) + ((word(out, at + 8, 2) + 3) & ~3u);
                if (out.size() - at < len) break;
                at += len;
                setupSent = true;
                continue;
            }
            if (out.size() - at < 4) break;
            size_t len = 4 * static_cast<size_t>(word(out, at + 2, 2));
            if (len == 0) { // BIG-REQUESTS: the length follows
                if (out.size() - at < 8) break;
                len = 4 * static_cast<size_t>(word(out, at + 4, 4));
            }
            if (len < 4 || out.size() - at < len) break;
            requests++;
            // CopyArea of a chart-sized area: the first frame on the window.
            if (out[at] == 62 && len >= 28 && word(out, at + 24, 2) >= 200 && word(out, at + 26, 2) >= 200 && !framed) {
                framed = true;
                roundTripsToFrame = roundTrips;
            }
            at += len;
        }
        out.erase(out.begin(), out.begin() + static_cast<long>(at));
    }

    // Returns whether the data holds a round trip.
    bool fromServer(const uint8_t *data, size_t n) {
        in.insert(in.end(), data, data + n);
        size_t at = 0;
        bool waited = false;
        for (;;) {
            if (!setupAnswered) {
                if (in.size() - at < 8) break;
                const size_t len = 8 + 4 * static_cast<size_t>(word(in, at + 6, 2));
                if (in.size() - at < len) break;
                at += len;
                setupAnswered = true;
                continue;
            }
            if (in.size() - at < 32) break;
            const uint8_t type = in[at] & 0x7F;
            size_t len = 32;
            if (type == 1 || type == 35) len += 4 * static_cast<size_t>(word(in, at + 4, 4));
            if (in.size() - at < len) break;
            if ((type == 0 || type == 1) && word(in, at + 2, 2) == (requests & 0xFFFF)) {
                roundTrips++;
                waited = true;
            }
            at += len;
        }
        in.erase(in.begin(), in.begin() + static_cast<long>(at));
        return waited;
    }
};

// Listens as display `name` and hands every connection on to `server`,
// counting as it goes; latencyUs holds back each round trip.
class CountingProxy {
public:
    CountingProxy(const std::string &server, int latencyUs) : server_(server), latencyUs_(latencyUs) {
        for (int n = 300; n < 400 && listener_ < 0; n++) {
            const std::string path = "/tmp/.X11-unix/X" + std::to_string(n);
            if (access(path.c_str(), F_OK) == 0) continue;
            const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un a{};
            a.sun_family = AF_UNIX;
            std::snprintf(a.sun_path, sizeof a.sun_path, "%s", path.c_str());
            if (bind(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 && listen(fd, 4) == 0) {
                listener_ = fd;
                path_ = path;
                name_ = ":" + std::to_string(n);
            } else {
                close(fd);
            }
        }
        if (listener_ >= 0) thread_ = std::thread([this] { run(); });
    }
    ~CountingProxy() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        if (listener_ >= 0) close(listener_);
        if (!path_.empty()) unlink(path_.c_str());
    }
    bool ok() const { return listener_ >= 0; }
    const std::string &name() const { return name_; }
    // The counts of the connections since the last reset, once they closed.
    void reset() {
        roundTrips_ = roundTripsToFrame_ = requests_ = 0;
    }
    unsigned long roundTrips() const { return roundTrips_; }
    unsigned long roundTripsToFrame() const { return roundTripsToFrame_; }
    unsigned long requests() const { return requests_; }

private:
    void run() {
        while (!stop_) {
            pollfd p{listener_, POLLIN, 0};
            if (poll(&p, 1, 50) <= 0) continue;
            const int client = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (client < 0) continue;
            const int upstream = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_un a{};
            a.sun_family = AF_UNIX;
            std::snprintf(a.sun_path, sizeof a.sun_path, "%s", socketPath(server_).c_str());
            if (connect(upstream, reinterpret_cast<sockaddr *>(&a), sizeof a) != 0) {
                close(client);
                close(upstream);
                continue;
            }
            pump(client, upstream); // one connection at a time: the program has one
            close(client);
            close(upstream);
        }
    }
    void pump(int client, int upstream) {
        XStreams s;
        uint8_t buf[65536];
        for (;;) {
            pollfd p[2] = {{client, POLLIN, 0}, {upstream, POLLIN, 0}};
            if (poll(p, 2, 100) < 0) break;
            if (stop_) break;
            bool closed = false;
            for (int k = 0; k < 2 && !closed; k++) {
                if (!(p[k].revents & (POLLIN | POLLHUP | POLLERR))) continue;
                const ssize_t n = read(p[k].fd, buf, sizeof buf);
                if (n <= 0) {
                    closed = true;
                    break;
                }
                if (k == 0) {
                    s.fromClient(buf, static_cast<size_t>(n));
                } else if (s.fromServer(buf, static_cast<size_t>(n)) && latencyUs_ > 0) {
                    usleep(static_cast<useconds_t>(latencyUs_));
                }
                for (ssize_t done = 0; done < n;) {
                    const ssize_t w = write(p[1 - k].fd, buf + done, static_cast<size_t>(n - done));
                    if (w <= 0) {
                        closed = true;
                        break;
                    }
                    done += w;
                }
            }
            if (closed) break;
        }
        roundTrips_ += s.roundTrips;
        roundTripsToFrame_ += s.framed ? s.roundTripsToFrame : s.roundTrips;
        requests_ += s.requests;
    }

    std::string server_, name_, path_;
    int latencyUs_;
    int listener_ = -1;
    std::atomic<bool> stop_{false};
    std::atomic<unsigned long> roundTrips_{0}, roundTripsToFrame_{0}, requests_{0};
    std::thread thread_;
};

// ---- the runs ---------------------------------------------------------------

// One start of the program on `display` (its own name for the program),
// watched on `d`; the time from exec to its end, or a negative time when it
// did not start or did not end.
double startOnce(Display *d, const std::string &display, const std::string &home, long *rssKb) {
    std::vector<std::string> args = {TAVIK_EXECUTABLE, "-q"};
    for (const std::string &a : benchDataResources()) args.push_back(a);
    for (const std::string &a : xrmBindStkDoit("F5", "EXIT")) args.push_back(a);
    XSelectInput(d, DefaultRootWindow(d), SubstructureNotifyMask);
    XSync(d, True);
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setenv("DISPLAY", display.c_str(), 1);
        setenv("HOME", home.c_str(), 1);
        setenv("TAVIK_HOME", home.c_str(), 1);
        setenv("LC_ALL", kTestLocale, 1);
        setenv("LANG", kTestLocale, 1);
        setenv("TAVIK_LOCALE", kTestLocale, 1);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, 1);
            dup2(null, 2);
        }
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
    XSelectInput(d, DefaultRootWindow(d), NoEventMask);
    if (done == 0) {
        kill(pid, SIGKILL);
        wait4(pid, &status, 0, &usage);
        return -1.0;
    }
    *rssKb = usage.ru_maxrss;
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Until the program's index builds (in children of their own, which go on
// after it quits) have put both indexes in place, at most 30 s.
void waitForIndexes(const std::string &home) {
    for (int i = 0; i < 3000; i++) {
        bool done = true;
        for (const char *name : {"comet.dbm", "mp.dbm"}) {
            const std::string path = home + "/.tavik/" + name;
            done = done && access(path.c_str(), F_OK) == 0 && access((path + ".$NEW$").c_str(), F_OK) != 0;
        }
        if (done) return;
        usleep(10000);
    }
}

// A key sent just as the program quits finds its window gone.
int ignoreXError(Display *, XErrorEvent *) { return 0; }

XServer &server() {
    static XServer s(1280, 1024, 24);
    XSetErrorHandler(ignoreXError);
    return s;
}

enum Run { kWarm, kColdIndex, kCounted, kBusy };

void startups(benchmark::State &state, Run run) {
    XServer &x = server();
    if (!x.ok()) {
        state.SkipWithError(x.why().c_str());
        return;
    }
    std::unique_ptr<CountingProxy> proxy;
    if (run == kCounted || run == kBusy) {
        proxy.reset(new CountingProxy(x.name(), run == kBusy ? 1000 : 0));
        if (!proxy->ok()) {
            state.SkipWithError("no display number for the proxy");
            return;
        }
    }
    const std::string display = proxy ? proxy->name() : x.name();
    std::unique_ptr<TempDir> home(new TempDir());
    writeOptionsFile(home->path(), {"ConfirmQuit = False", "TipHelp = False"});
    long rssKb = 0;
    if (run != kColdIndex) { // the indexes
        startOnce(x.display(), x.name(), home->path(), &rssKb);
        waitForIndexes(home->path());
    }
    unsigned long roundTrips = 0, toFrame = 0, requests = 0;
    for (auto _ : state) {
        if (run == kColdIndex) {
            state.PauseTiming();
            home.reset(new TempDir());
            writeOptionsFile(home->path(), {"ConfirmQuit = False", "TipHelp = False"});
            state.ResumeTiming();
        }
        if (proxy) proxy->reset();
        const double seconds = startOnce(x.display(), display, home->path(), &rssKb);
        if (seconds < 0) {
            state.SkipWithError("the program did not start or did not end");
            break;
        }
        state.SetIterationTime(seconds);
        if (run == kColdIndex) waitForIndexes(home->path()); // not into the next start
        if (proxy) {
            usleep(20000); // the proxy sees the connection close
            roundTrips += proxy->roundTrips();
            toFrame += proxy->roundTripsToFrame();
            requests += proxy->requests();
        }
    }
    state.counters["rss_kB"] = static_cast<double>(rssKb);
    {
        // Every run has every counter (0 where there is no proxy): the CSV
        // report takes its columns from the first run.
        using C = benchmark::Counter;
        state.counters["round_trips"] = C(static_cast<double>(roundTrips), C::kAvgIterations);
        state.counters["round_trips_to_frame"] = C(static_cast<double>(toFrame), C::kAvgIterations);
        state.counters["requests"] = C(static_cast<double>(requests), C::kAvgIterations);
    }
}

void BM_Startup(benchmark::State &state) { startups(state, kWarm); }
void BM_StartupColdIndex(benchmark::State &state) { startups(state, kColdIndex); }
void BM_StartupRoundTrips(benchmark::State &state) { startups(state, kCounted); }
void BM_StartupBusyServer(benchmark::State &state) { startups(state, kBusy); }

void configure(benchmark::internal::Benchmark *bm) {
    bm->UseManualTime()->Iterations(1)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(benchmark::kMillisecond);
}

} // namespace

BENCHMARK(BM_Startup)->Apply(configure);
BENCHMARK(BM_StartupColdIndex)->Apply(configure);
BENCHMARK(BM_StartupRoundTrips)->Apply(configure);
BENCHMARK(BM_StartupBusyServer)->Apply(configure);
