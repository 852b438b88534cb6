// Command lines per second over the TCP port on loopback. A client thread
// sends a line and waits for the prompt, 10,000 times a run; the server runs
// on the toolkit's event loop in the benchmark's thread, as in the program.
// Five runs; min, median and max of the time a run takes, and the rate.
//
// Only "MAG STARNAME 3" (no frame) is measured: the frame variant, "MODE
// EQT;DRIVE" on a display, waits for the MODE command, which is not built.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <arpa/inet.h>
#include <atomic>
#include <cstring>
#include <netinet/in.h>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <vector>

#include <X11/Intrinsic.h>

#include "command/socket_server.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "ui/socket_inputs.h"

namespace {

constexpr int kLinesPerRun = 10000;

sockaddr_in loopback(int port)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_port = htons(static_cast<uint16_t>(port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

int freePort()
{
    int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = loopback(0);
    socklen_t len = sizeof a;
    bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a);
    getsockname(s, reinterpret_cast<sockaddr *>(&a), &len);
    close(s);
    return ntohs(a.sin_port);
}

// Reads up to the next prompt; false when the connection ended first.
bool waitForPrompt(int fd)
{
    static const char kPrompt[] = "tavik> ";
    std::string got;
    char buf[512];
    while (got.size() < 7 || got.compare(got.size() - 7, 7, kPrompt) != 0) {
        ssize_t n = recv(fd, buf, sizeof buf, 0);
        if (n <= 0)
            return false;
        got.append(buf, static_cast<size_t>(n));
    }
    return true;
}

// One client's run: connect, then every line waits for its prompt.
void clientRun(int port, const std::string &line, std::atomic<bool> *done, std::atomic<bool> *failed)
{
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = loopback(port);
    bool ok = connect(fd, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0 && waitForPrompt(fd);
    for (int i = 0; ok && i < kLinesPerRun; i++)
        ok = send(fd, line.data(), line.size(), MSG_NOSIGNAL) == static_cast<ssize_t>(line.size()) &&
             waitForPrompt(fd);
    *failed = !ok;
    *done = true; // before the close, whose end of file wakes the event loop
    close(fd);
}

void commandLinesOverLoopback(benchmark::State &state, const char *line)
{
    appDataSetDefaults();
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    currentChart = chart;
    XtToolkitInitialize();
    XtAppContext app = XtCreateApplicationContext();
    socketInputsUse(app);
    appData->socketPort = freePort();
    if (!socketServerStart()) {
        state.SkipWithError("no server");
        return;
    }
    const std::string text = std::string(line) + "\n";
    for (auto _ : state) {
        std::atomic<bool> done{false}, failed{false};
        std::thread client(clientRun, appData->socketPort, text, &done, &failed);
        while (!done)
            XtAppProcessEvent(app, XtIMAlternateInput);
        client.join();
        socketClientClose();
        if (failed)
            state.SkipWithError("the client lost the connection");
    }
    state.counters["lines_per_second"] =
        benchmark::Counter(static_cast<double>(kLinesPerRun) * static_cast<double>(state.iterations()),
                           benchmark::Counter::kIsRate);
    socketServerStop();
    socketInputsReset();
    XtDestroyApplicationContext(app);
    currentChart = nullptr;
    delete chart;
}

double smallest(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double largest(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

BENCHMARK_CAPTURE(commandLinesOverLoopback, mag_starname_no_frame, "MAG STARNAME 3")
    ->Iterations(1)
    ->Repetitions(5)
    ->ComputeStatistics("min", smallest)
    ->ComputeStatistics("max", largest)
    ->ReportAggregatesOnly(true)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

} // namespace
