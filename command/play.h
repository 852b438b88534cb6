// Playing: the chart's date stepped by its period or following the clock,
// redrawn each time, from the event loop's idle work procedure or a timer.
#pragma once

struct ChartState;

/*
 * playStartStop: the body of CONTINUE and REVERSE (playReverse already set).
 * Stops when playing; else starts: to the end date p1..p6, following the
 * clock (p1 "REALTIME1" or "REALTIME2", then an end date p2..p7), or as
 * realTimeMode says when p1..p5 are all omitted. A p1 that is no date and no
 * clock kind records stkErrorIllegalParam with it and leaves playing off.
 */
void playStartStop(ChartState *chart, char **params);

/*
 * playStep: one step of the work procedure. Returns 1 when playing ended (the
 * work procedure is to be removed), 0 to run again.
 * Notes:    The step that reaches the end date draws that date, clamped to
 *           it, before playing stops.
 */
int playStep(ChartState *chart);

// The timer of the clock kinds: steps, draws and re-arms (realTimeInterval
// seconds) until the end date or a stop.
void playTimer(ChartState *chart);
