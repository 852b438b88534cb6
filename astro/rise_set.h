// Rising, upper transit and setting within one local calendar day, and the
// moments the Sun passes a chosen altitude (twilight, the altitude locks).
// riseSetPrepare fixes the day once and hands it back; riseSetTime then
// iterates the classic hour-angle solution for one object and event in that
// day, moving the object as it goes.
#pragma once

#include "astro/body_records.h"
#include "astro/types.h"

// Object kinds: the ObjectId numbers (astro/body_records.h: the planets, the
// Sun, the Moon; kObjectCometBase + n comet n and kObjectMinorPlanetBase + n
// minor planet n, object a const OrbitalElements*) and a fixed direction.
enum {
    kRiseSetFixed = -10,         // object: const double[2], RA and Dec J2000 (degrees)
    kRiseSetBodyRange = 10000,   // numbers per comet or minor-planet block
};

// Events.
enum { kRiseEvent = 1, kTransitEvent = 2, kSetEvent = 3 };

// The observing site.
struct RiseSetSite {
    double latitudeDeg;  // north positive
    double longitudeDeg; // east positive
    double heightM;      // above sea level; negative below it
};

// A prepared day: what every riseSetTime call in that day shares.
struct RiseSetDay {
    double zoneDays;       // time zone (hours to add to UT) / 24
    double jd0;            // 0 h UT of the local calendar date
    double noonJd;         // local noon; the day runs from noonJd - 0.5 to noonJd + 0.5
    double lst[3];         // local sidereal time (degrees) at jd0 - 1, jd0, jd0 + 1, unwrapped
    double sinLat, cosLat;
    SunRecord sunStart;    // at the local midnight starting the day
    SunRecord sunEnd;      // 24 h later; their RAs of date unwrapped against each other
    Vec3 earthStart;       // the Earth, heliocentric, AU, equatorial of the equinox noonJd
    Vec3 earthEnd;
    RiseSetSite site;
};

// Refraction at the horizon (degrees) and the Earth's radius for the dip (m).
constexpr double kHorizonRefractionDeg = 0.5855555;
constexpr double kEarthRadiusM = 6371012.0;
constexpr double kEarthDiameterM = 12742024.0;

/*
 * horizonDipDeg: dip of the sea horizon for an observer's height.
 * Given:    heightM double  metres above sea level (negative below)
 * Returned: double  sign(h) atan(sqrt(|h| (|h| + D)) / R), degrees
 * Notes:    Below sea level the horizon stands above the astronomical one:
 *           the dip is negative and events at altitude 0 come later (rise)
 *           or earlier (set), not the other way round.
 */
double horizonDipDeg(double heightM);

/*
 * riseSetPrepare: the local calendar day of sky->date for the site.
 * Given:    sky   const SkyContext*   its date (local clock time and zone)
 *           site  const RiseSetSite*
 * Returned: RiseSetDay  the day, with the Sun at its two midnights; every
 *                       riseSetTime call for that day takes it
 */
RiseSetDay riseSetPrepare(const SkyContext *sky, const RiseSetSite *site);

/*
 * riseSetTime: one event of one object in a prepared day.
 * Given:    day       const RiseSetDay*  from riseSetPrepare (its zone and site are used)
 *           kind      int           ObjectId of a body, or kRiseSetFixed
 *           object    const void*   OrbitalElements* for comets and minor planets,
 *                                   double[2] (RA, Dec J2000) for kRiseSetFixed, else unused
 *           event     int           kRiseEvent, kTransitEvent, kSetEvent
 *           altitude  double        0: the ordinary rise/set (Sun's upper limb,
 *                                   other bodies' centre, on the apparent horizon of
 *                                   the site's height); otherwise the moment the
 *                                   centre passes that geometric altitude (degrees)
 * Returned: jd        double*       Julian date (UT) of the event
 *           int       1 when the event happens in the prepared local day, else 0
 *                     (*jd may have been written for a transit)
 * Notes:    For an altitude other than 0 the object's
 *           daily path is judged against that altitude, so dawn at -18 in polar
 *           night and a +10 crossing in the midnight sun are found. The
 *           ordinary rise and set are solved for the centre at -(0.5855555 +
 *           dip + the Sun's semidiameter) and must miss it by at most 3 degrees.
 *           The day is judged at local noon and, before the answer is
 *           "no event", at its two midnights (the Moon at high latitude
 *           crosses the circumpolar limit within a day); a grazing path
 *           where the iteration does not settle is found by sampling the day.
 *           Kinds other than those listed, a missing object and non-finite
 *           directions give 0.
 */
int riseSetTime(const RiseSetDay *day, int kind, const void *object, int event, double altitude,
                double *jd);

/*
 * sunriseTime, sunsetTime: riseSetPrepare for sky's day, then the Sun's rise
 * (set) at altitude 0. Return as riseSetTime.
 */
int sunriseTime(const SkyContext *sky, const RiseSetSite *site, double *jd);
int sunsetTime(const SkyContext *sky, const RiseSetSite *site, double *jd);

/*
 * sunriseAtAltitude, sunsetAtAltitude: the same for the Sun's centre at a
 * whole-degree altitude (-18 astronomical twilight, the altitude locks).
 */
int sunriseAtAltitude(const SkyContext *sky, const RiseSetSite *site, double *jd,
                      int altitudeDegrees);
int sunsetAtAltitude(const SkyContext *sky, const RiseSetSite *site, double *jd,
                     int altitudeDegrees);

/*
 * riseSetContextAt: a SkyContext for a Julian date at the site, every
 * derived field filled (as the rise/set search moves through the day).
 * Given:    jd, zoneHours, site
 * Returned: out  SkyContext*
 */
void riseSetContextAt(double jd, double zoneHours, const RiseSetSite *site, SkyContext *out);
