// The almanac panel's values ("What's Today"): the date, Julian dates, site,
// the Sun's and Moon's events, and rise, meridian and set of the planets and
// the first loaded comets and minor planets, each a text and a pure function
// of the chart.
#pragma once

#include <cstdint>

#include "astro/body_records.h"

struct ChartState;
struct RiseSetDay;

// The clock time of an event: jd + zone / 24 with the minutes rounded by the
// seconds, a minute count of 60 carried into the hour (so 23:59:30 is 24:00).
void eventClockTime(double jd, double zoneHours, int *hour, int *minute);

constexpr int kAlmanacTextSize = 64;
constexpr int kAlmanacSmallBodyRows = 8;
constexpr int kAlmanacNameWidth = 12;
// The text of an event that does not happen in the day.
extern const char kAlmanacNoTime[]; // "--:--"

// One event row: rise, meridian passage, set.
struct AlmanacEvents {
    char rise[kAlmanacTextSize], meridian[kAlmanacTextSize], set[kAlmanacTextSize];
};

struct AlmanacValues {
    char date[kAlmanacTextSize];
    char jd[kAlmanacTextSize], mjd[kAlmanacTextSize];
    char site[kAlmanacTextSize];
    char dawn[kAlmanacTextSize], dusk[kAlmanacTextSize]; // the Sun at -18 degrees
    AlmanacEvents sun;
    char moonAge[kAlmanacTextSize];
    AlmanacEvents moon;
    AlmanacEvents planets[kPlanetCount];               // Mercury .. Pluto
    char smallBodyNames[kAlmanacSmallBodyRows][kAlmanacTextSize];
    AlmanacEvents smallBodies[kAlmanacSmallBodyRows];  // comets, then minor planets
};

// The date by the chart's dateStyle (English, Japanese or European)
// with the era: year 0 is 1 BC.
void almanacDateText(const ChartState *chart, char *out, int size);

/*
 * todayEventTime: the text of one event of one object in a prepared day.
 * Given:    kind      ObjectId (comets and minor planets with their elements)
 *           event     kRiseEvent, kTransitEvent, kSetEvent
 *           altitude  degrees; 0 the ordinary rise and set
 * Returned: out  " h:mm" clock time, or "--:--" when it does not happen
 */
void todayEventTime(char *out, int size, const ChartState *chart, const RiseSetDay *day, int kind,
                    int event, double altitude);

// Every value of the panel.
void almanacFill(const ChartState *chart, AlmanacValues *out);
