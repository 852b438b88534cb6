// The clock that playing follows, moving its base when the date is set, and
// the end date of playing.
#pragma once

#include "astro/types.h"

struct ChartState;

// The Julian date of the clock now as playing reads it: the local time of
// timeNow with its zone replaced by the chart date's zone. Readings taken
// the same way differ by the elapsed time.
double playClockJd(const ChartState *chart);

// While playing by the clock from a base (kPlayClockFromBase), bases the play on
// the chart's current date and the clock now, so that playing continues
// from a date just set instead of jumping back.
void playRebaseClock(ChartState *chart);

// After the chart date's zone moved from oldZone (TIMESYS, LOCATE) while
// playing by the clock from a base: the base is read in the new zone as the
// clock now is, so the instant goes on without a jump and without losing the
// time since the last frame.
void playRebaseClockZone(ChartState *chart, double oldZone);

// The end date of playing (playEndDate, its fields as given) read in the
// chart date's zone; its own fields when the zone is the one it was given in.
DateTime playEndDateInChartZone(const ChartState *chart);
