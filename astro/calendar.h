// Calendar and time: Julian dates and back (Julian calendar before
// 1582-10-15), stepping a date by a period, date validation, sidereal time and
// the time arguments of the body theories.
#pragma once

#include "astro/constants.h"
#include "astro/types.h"


const int DATE_YEAR_MIN = -29999; // years the date commands accept
const int DATE_YEAR_MAX = 30000;

/*
 * calendarToJd: Julian date of a calendar date.
 * Given:    year   double  astronomical year (year 0 exists)
 *           month  double  1..12 (0 and 13 read as December / January across the year)
 *           dayWithFraction double  day of the month plus the fraction of the day
 * Returned: double Julian date (same time scale as the input)
 * Notes:    Julian calendar up to 1582-10-04, Gregorian from 1582-10-15
 *           (1582-10-05 reads as the Julian day, equal to 1582-10-15). The
 *           calendar is chosen from the whole day, so a fraction of one day or
 *           more past 1582-10-04 does not jump ten days.
 *           calendarToJd(2000, 1, 1.5) = 2451545.0.
 */
double calendarToJd(double year, double month, double dayWithFraction);

/*
 * dateToJd: Julian date (UT) of a clock time.
 * Given:    d      DateTime  local clock time with its zone (hours ahead of UT)
 * Returned: double Julian date, UT
 * Notes:    The calendar is chosen from year, month and day before the time
 *           of day and the zone are added: 1582-10-04 hour 30 is
 *           1582-10-15 06:00 (Gregorian), not ten days earlier.
 */
double dateToJd(const DateTime *d);

/*
 * jdToCalendar: calendar date of a Julian date.
 * Given:    jd     double
 * Returned: year   int     astronomical year (saturated to the int range)
 *           month  int     1..12
 *           dayWithFraction double  day of the month plus the fraction of day
 * Notes:    Julian calendar before JD 2299160.5, Gregorian from then on.
 */
void jdToCalendar(double jd, int *year, int *month, double *dayWithFraction);

/*
 * jdToDate: clock fields of a Julian date.
 * Given:    jd    double  (add the zone / 24 beforehand for clock time)
 * Returned: out   DateTime year, month, day, hour, minute, second; out->zone
 *                 is left as it was
 * Notes:    Each field is truncated toward zero from the rest of the day.
 */
void jdToDate(double jd, DateTime *out);

/*
 * dateAddPeriod: step a date forward or back by a period, in place.
 * Given:    date      DateTime  clock time to change
 *           period    TimeStep  years, months, days, hours, minutes, seconds
 *           subtract  int       0 adds, non-zero subtracts
 * Returned: date      DateTime  zone unchanged
 * Notes:    The time of day carries into whole days, the days pass through
 *           the Julian date (month ends, leap days, the 1582 gap), then months
 *           and years are added; a day past the month's end rolls over
 *           (2001-01-31 plus one month is 2001-03-03). A result landing on
 *           midnight is 00:00 of the new day, never 24:00 of the day before.
 *           A non-finite time of day leaves the date unchanged. The caller
 *           checks the year range (DATE_YEAR_MIN..DATE_YEAR_MAX).
 */
void dateAddPeriod(DateTime *date, const TimeStep *period, int subtract);

/*
 * isValidDate: whether a typed date may be accepted.
 * Given:    d      DateTime
 * Returned: int    1 when valid, else 0
 * Notes:    Year DATE_YEAR_MIN..DATE_YEAR_MAX; month 1..12; day within the
 *           month (Julian leap rule up to 1582, Gregorian from 1583), not
 *           1582-10-05..14; hour 0..36; minute 0..60; second finite in
 *           [0, 61); zone finite in [-24, 24] hours.
 */
int isValidDate(const DateTime *d);

/*
 * localSiderealDeg: local mean sidereal time.
 * Given:    jd             double  Julian date, UT
 *           eastLongitude  double  degrees, east positive
 * Returned: double degrees in [0, 360)
 * Notes:    Agrees with the IAU 1982 GMST to about 0.001 degree for 1900-2100.
 */
double localSiderealDeg(double jd, double eastLongitude);

/*
 * yearsFrom1975: time argument of the Sun series.
 * Given:    jd     double  Julian date
 * Returned: double (jd - 2442412.5) / 365.25 plus a small quadratic correction
 */
double yearsFrom1975(double jd);

/*
 * centuriesJ2000: Julian centuries from J2000.0, (jd - 2451545) / 36525.
 */
double centuriesJ2000(double jd);

/*
 * meanObliquity: mean obliquity of the ecliptic, IAU 1976.
 * Given:    jd     double  Julian date
 * Returned: double degrees; 23.43929111 at J2000.0
 * Notes:    The time argument is clamped to +/-30 centuries from J2000.0.
 */
double meanObliquity(double jd);
