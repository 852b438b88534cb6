// The status bar: a band across the top of the chart's pixmap with the date
// and day of the week, the site, the field width, glyphs for tracking, TRACE
// and a time lock, and the Moon's phase with its age at the left end.
//
// The texts are pure functions of the chart state and the message resources;
// the drawing goes through the canvas.
#pragma once

#include <cstdint>

#include "model/x_handles.h"
#include "render/status_band.h"

struct ChartState;
struct Canvas;
struct DateTime;

// Room for every status text: the formats are users' resources, so the
// results are formatted bounded into buffers of this size.
constexpr int kStatusTextSize = 256;

// Day of the week of the date (its calendar day at 12:00 UT): 0 Sunday .. 6.
int statusDayOfWeek(const DateTime *date);

// The date text by the chart's dateStyle (Japanese year/month/day, European
// day/month/year,
// else day name, month name, day, year), with two blanks after it.
char *statusDateText(const ChartState *chart, char *buf, int len);
// Longitude with E/W, latitude with N/S, the zone in hours and the site name.
char *statusSiteText(const ChartState *chart, char *buf, int len);
// The field width in degrees.
char *statusWidthText(const ChartState *chart, char *buf, int len);

// Draws the bar into r when it is shown.
void chartDrawStatusBar(ChartState *chart, Canvas *canvas, const ChartRect *r);
// Background, bottom line and the three texts from x0; returns the x after
// the last text and its gap.
int statusDrawField(ChartState *chart, Canvas *canvas, const ChartRect *r, int x0, const char *date,
                    const char *site, const char *width);
void statusDrawTracking(ChartState *chart, Canvas *canvas, const ChartRect *r, int x);
void statusDrawTrace(ChartState *chart, Canvas *canvas, const ChartRect *r, int x);
void statusDrawTimeLock(ChartState *chart, Canvas *canvas, const ChartRect *r, int x);
void statusDrawMoonAge(ChartState *chart, Canvas *canvas, const ChartRect *r);
