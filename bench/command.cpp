// Command interpreter: splitting, tokenizing and dispatching command text as
// the tool bar, the step box and a TCP client send it.
#include <benchmark/benchmark.h>

#include <cstring>

#include "command/interpreter.h"
#include "model/lexing.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"

namespace {

void tokenizeStatement(benchmark::State &state)
{
    static const char kText[] = "LOCATE 139.7E, 35.7N, 9, 40, \"Tokyo (Japan)\"";
    char buffer[sizeof kText];
    for (auto _ : state) {
        std::memcpy(buffer, kText, sizeof kText);
        StkTokenizer tokens;
        int n = 0;
        for (char *t = stkNextTokenIn(&tokens, buffer, 0); t; t = stkNextTokenIn(&tokens, nullptr, 1))
            n++;
        benchmark::DoNotOptimize(n);
    }
}
BENCHMARK(tokenizeStatement);

void executeStepBoxText(benchmark::State &state)
{
    appDataSetDefaults();
    appData->initialising = 1;
    uiHooksRecordMessages();
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    // Built commands only, so no error box is formatted on the way.
    for (auto _ : state)
        stkExecute(chart, "PERIOD  0, 0,  1, 0,  0, 0.0;MAG STAR 5.5;STARDATA SAO;DRIVE");
    uiHooksReset();
    delete chart;
}
BENCHMARK(executeStepBoxText);

void executeFailingText(benchmark::State &state)
{
    appDataSetDefaults();
    appData->commandFromSocket = 1; // the TCP path: message formatted, no box
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    for (auto _ : state)
        stkExecute(chart, "foo; bar; MIRROR 7");
    appData->commandFromSocket = 0;
    delete chart;
}
BENCHMARK(executeFailingText);

} // namespace
