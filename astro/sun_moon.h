// Places of the Sun and the Moon: trigonometric series in years from 1975.0
// inside JD 2433282.5 to 2473459.5 (1950-01-01 to 2060-01-01, both ends
// excluded), older and simpler theories outside.
#pragma once

#include "astro/body_records.h"
#include "astro/types.h"

// The open Julian-date range of the series theories of the Sun, Moon and planets.
const double kSeriesFirstJd = 2433282.5;
const double kSeriesLastJd = 2473459.5;

/*
 * bodySeriesInRange: whether a date uses the series theories.
 * Given:    jd  double  Julian date (UT)
 * Returned: 1 when 2433282.5 < jd < 2473459.5, else 0
 */
int bodySeriesInRange(double jd);

// One row of a trigonometric series: amplitude and two angle constants whose
// meaning (phase and rate, or rate and phase) the series names.
struct SeriesTerm {
    double a, b, c;
};

/*
 * seriesSinSum, seriesCosSum: sum over the first n rows of a sin(b + c t) or
 * a cos(b + c t) (rows {amplitude, phase deg, rate deg per unit of t}).
 * seriesCosSumRateFirst: sum of a cos(b t + c) (rows {amplitude, rate, phase}).
 */
double seriesSinSum(const SeriesTerm *rows, int n, double t);
double seriesCosSum(const SeriesTerm *rows, int n, double t);
double seriesCosSumRateFirst(const SeriesTerm *rows, int n, double t);

/*
 * ephemSun: the Sun for the context's date.
 * Given:    ctx  SkyContext  Julian date, time arguments, obliquity, precession
 * Returned: out  SunRecord   every field but azimuth and altitude; the eclipse
 *                            magnitude is -1.0, the eclipse position angle is kept
 * Notes:    Series (about 0.01 degree) inside the series range, the
 *           low-precision theory outside. The longitude is the series' own
 *           (it carries nutation and the aberration constant). The Earth's
 *           heliocentric vector is minus the Sun's direction times its distance.
 */
void ephemSun(const SkyContext *ctx, SunRecord *out);

/*
 * ephemMoon: the Moon's geocentric and topocentric place, distances, sizes,
 * libration and axis.
 * Given:    ctx    SkyContext
 *           level  int         1 (or any value but 2 and 3): all series terms;
 *                              2: 19 longitude, 14 latitude; 3: 4 and 3
 * Returned: out    MoonRecord  fields up to the librations; the phase, limb
 *                              angle, unit vectors, horizontal place, site and
 *                              level are left as they were
 * Notes:    Axis angle and librations are 0 outside JD 1538798 to 3364651.
 *           The parallax is set only by the series theory.
 */
void ephemMoon(const SkyContext *ctx, MoonRecord *out, int level);

/*
 * ephemMoonWithPhase: ephemMoon, then phase and bright limb (against the given
 * Sun), the unit vectors of the topocentric J2000.0 place, azimuth and altitude
 * (from the south through the west), the site and the level.
 * Given:    ctx, sun (a current SunRecord), level
 * Returned: out  MoonRecord (all but ageDays)
 */
void ephemMoonWithPhase(const SkyContext *ctx, MoonRecord *out, const SunRecord *sun, int level);

/*
 * meanNewMoon: Julian date of the mean new moon of lunation k (k = 0 near
 * 1900 January 0.75), with the leading periodic corrections.
 */
double meanNewMoon(double k);

/*
 * moonAge: days since the last new moon.
 * Given:    jd    double      Julian date
 *           sun   SunRecord   (its ecliptic longitude, outside the lunation range)
 *           moon  MoonRecord  (its ecliptic longitude, outside the lunation range)
 * Returned: days, in [0, 29.9)
 * Notes:    Inside 1356173 <= jd <= 3547272 from the mean new moons, outside
 *           from the elongation at 12.1907 degrees per day.
 */
double moonAge(double jd, const SunRecord *sun, const MoonRecord *moon);

// The series and theories behind the records, exposed for tests and the
// rise-and-set searches.

/*
 * sunSeries: the Sun's ecliptic longitude of date (degrees, [0, 360)), latitude
 * (0) and distance (AU) at t years from 1975.0.
 */
void sunSeries(double t, double lonLat[2], double *distance);

/*
 * sunLowPrecision: the same from the older theory at a Julian date (any date).
 */
void sunLowPrecision(double jd, double lonLat[2], double *distance);

/*
 * solarPhysEphem: the Sun's physical ephemeris.
 * Given:    ctx (Julian date, obliquity), sunLongitude (degrees, of date)
 * Returned: P (position angle of the axis), B0 (heliographic latitude of the
 *           disc centre), eta (auxiliary), L0 (Carrington longitude, [0, 360)),
 *           all degrees
 */
void solarPhysEphem(const SkyContext *ctx, double sunLongitude, double *P, double *B0,
                    double *eta, double *L0);

/*
 * moonLongitude, moonLatitude: the Moon's ecliptic longitude (unreduced) and
 * latitude of date (degrees) at t years from 1975.0 and a detail level.
 */
double moonLongitude(double t, int level);
double moonLatitude(double t, int level);

/*
 * moonModern: series longitude ([0, 360)), latitude, parallax and geocentric
 * distance (km) into out's eclLonDeg, eclLatDeg, parallaxDeg, geoDistanceKm.
 */
void moonModern(double t, MoonRecord *out, int level);

/*
 * moonClassic: the older theory (centuries from 1800 January 0.5) into out's
 * eclLonDeg, eclLatDeg and geoDistanceKm; parallaxDeg is left untouched.
 */
void moonClassic(double jd, MoonRecord *out);

/*
 * moonLibration: librations in longitude and latitude and the axis position
 * angle ([0, 360)) from out's geocentric ecliptic place.
 * Given:    ctx, rightAscensionOfDate (geocentric, degrees)
 */
void moonLibration(const SkyContext *ctx, MoonRecord *out, double rightAscensionOfDate);
