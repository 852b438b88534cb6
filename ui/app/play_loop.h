// Playing in the Xt event loop: the work procedure and the timer behind the
// setPlayWorkProc and setPlayTimer hooks.
#pragma once

struct ChartState;

void setPlayWorkProc(ChartState *chart, int on);
void setPlayTimer(ChartState *chart, long long ms);
