// The wall clock behind "now", and date arithmetic with carries on the
// shared DateTime. The clock is a seam so that tests can fix the time.
#pragma once

#include <ctime>

#include "astro/types.h"

// Seconds since the epoch, as time() gives them.
using ClockSource = std::time_t (*)();

// Replaces the clock; null restores the system clock.
void setClockSource(ClockSource source);

// The system clock can be stopped from outside: TAVIK_CLOCK holding seconds
// since the epoch (a plain decimal integer, years 1 to 9999) fixes "now", so
// the demo picture shows a chosen moment from the program's first frame.
// Parses such a text into *out; 0 (and *out untouched) for anything else.
int clockFromEnvironment(const char *text, std::time_t *out);

// The current local time (whole seconds) with the zone set to the default
// site's zone (AppData.siteZoneHours).
void timeNow(DateTime *d);

// Adds (subtract 0) or subtracts the step with carries. When the resulting
// year leaves -29999..30000 the date is left unchanged and 0 is returned.
int timeAdd(DateTime *d, const TimeStep *step, int subtract);

// Moves the clock fields by (zoneHours - d->zone) hours; the caller stores
// the new zone. Returns timeAdd's result.
int timeShiftToZone(DateTime *d, double zoneHours);

// Brings out-of-range fields (minute 75, hour 30) back into their ranges.
int timeNormalize(DateTime *d);
