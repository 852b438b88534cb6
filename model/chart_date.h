// Giving the chart a date and a site. These are the only writers of the
// chart's sky context and of its precession matrix: a date, site or zone
// change anywhere (start-up, the frame, the time lock, the date and site
// commands, playing, INIT) goes through them, so the two can never disagree.
#pragma once

#include "astro/types.h"

struct ChartState;

// The chart's clock shows `date` (local time with its zone) at the chart's site.
void chartSetDate(ChartState *chart, const DateTime *date);

// The chart's moment is the Julian date jd (UT), shown in zone zoneHours.
void chartSetJd(ChartState *chart, double jd, double zoneHours);

// The site moves (latitude north, east longitude, degrees; altitude, metres);
// the clock keeps its local time and zone.
void chartSetSite(ChartState *chart, double latitudeDeg, double longitudeDeg, double altitudeM);
