// The clock that playing follows, and moving its base when the date is set.
#pragma once

struct ChartState;

// The Julian date of the clock now as playing reads it: the local time of
// timeNow with its zone replaced by the chart date's zone. Readings taken
// the same way differ by the elapsed time.
double playClockJd(const ChartState *chart);

// While playing by the clock from a base (playKind 2), bases the play on
// the chart's current date and the clock now, so that playing continues
// from a date just set instead of jumping back.
void playRebaseClock(ChartState *chart);
