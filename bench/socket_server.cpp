// Command lines per second over the TCP port on loopback. A client thread
// sends a line and waits for the prompt, 10,000 times a run; the server runs
// on the toolkit's event loop in the benchmark's thread, as in the program.
// Five runs; min, median and max of the time a run takes, and the rate.
//
// Only "MAG STARNAME 3" (no frame) is measured: the frame variant, "MODE
// EQT;DRIVE" on a display, waits for the MODE command, which is not built.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <X11/Intrinsic.h>

#include "command/socket_server.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "tests/support/tcp_client.h"
#include "ui/socket_inputs.h"

namespace {

constexpr int kLinesPerRun = 10000;
const char kPrompt[] = "tavik> ";

// One client's run: connect, then every line waits for its prompt.
void clientRun(int port, const std::string &line, std::atomic<bool> *done, std::atomic<bool> *failed)
{
    int fd = tcpConnectLoopback(port);
    bool ok = fd >= 0 && tcpReadReply(fd) == kPrompt;
    for (int i = 0; ok && i < kLinesPerRun; i++)
        ok = tcpSend(fd, line) && tcpReadReply(fd) == kPrompt;
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
    appData->socketPort = tcpFreePort();
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
