// The moment the STIME lock puts on the chart: sunrise or sunset of the
// chart's local day moved by whole minutes, or the Sun rising or setting
// through a whole-degree altitude.
#pragma once

struct ChartState;

// 1 with the locked Julian date (UT) for the chart's date and site; 0 when
// the chart has no lock or the Sun does not rise (set) that day there.
int timeLockMoment(const ChartState *chart, double *jd);

// 1 for the locks on sunrise (timeLockKind kTimeLockSunrise*), 0 otherwise.
int timeLockIsSunrise(int kind);

// The frame's time-lock service: the locked moment, or 0 when there is none.
double timeLockJd(ChartState *chart);
