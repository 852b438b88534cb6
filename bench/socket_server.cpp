// Command lines per second over the TCP port on loopback. A client thread
// sends a line and waits for the prompt, 10,000 times a run; the server runs
// on the toolkit's event loop in the benchmark's thread, as in the program.
// Five runs; min, median and max of the time a run takes, and the rate.
// "MAG STARNAME 3" draws no frame; "MODE EQT;DRIVE" draws one into the
// off-screen pixmap on the X server named by DISPLAY (skipped without one).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include <X11/Intrinsic.h>

#include "bench/x_frame_bench.h"
#include "command/socket_server.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/tcp_client.h"
#include "ui/app/socket_inputs.h"

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

// Serves kLinesPerRun lines of `line` per iteration on `chart`.
void serveLines(benchmark::State &state, ChartState *chart, const char *line)
{
    currentChart = chart;
    XtToolkitInitialize();
    XtAppContext app = XtCreateApplicationContext();
    socketInputsUse(app);
    appData->socketPort = tcpFreePort();
    if (!socketServerStart()) {
        state.SkipWithError("no server");
        XtDestroyApplicationContext(app);
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
}

void magStarnameNoFrame(benchmark::State &state)
{
    appDataSetDefaults();
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    serveLines(state, chart, "MAG STARNAME 3");
    currentChart = nullptr;
    delete chart;
}

void modeEqtDriveFrame(benchmark::State &state)
{
    FrameBench *bench = frameBenchSetUp();
    if (!bench) {
        state.SkipWithError("no X display");
        return;
    }
    uiHooks.chartRefresh = chartRefresh;
    serveLines(state, bench->chart, "MODE EQT;DRIVE");
    XSync(bench->display, False);
    uiHooksReset();
}

double smallest(const std::vector<double> &v) { return *std::min_element(v.begin(), v.end()); }
double largest(const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); }

void fiveRunsOf10000(benchmark::internal::Benchmark *bm)
{
    bm->Iterations(1)
        ->Repetitions(5)
        ->ComputeStatistics("min", smallest)
        ->ComputeStatistics("max", largest)
        ->ReportAggregatesOnly(true)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
}

BENCHMARK(magStarnameNoFrame)->Apply(fiveRunsOf10000);
BENCHMARK(modeEqtDriveFrame)->Apply(fiveRunsOf10000);

} // namespace
