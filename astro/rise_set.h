// Rising, upper transit and setting within one local calendar day, and the
// moments the Sun passes a chosen altitude (twilight, the altitude locks).
// riseSetPrepare fixes the day once; riseSetTime then iterates the classic
// hour-angle solution for one object and event, moving the object as it goes.
#pragma once

#include "astro/body_records.h"
#include "astro/types.h"

// Object kinds besides the ObjectId numbers (0..7 planets, -2 Sun, -1 Moon,
// 10000 + n comet n, 20000 + n minor planet n).
enum {
    kRiseSetFixed = -10,         // object: const double[2], RA and Dec J2000 (degrees)
    kRiseSetCometBase = 10000,   // object: const OrbitalElements*
    kRiseSetMinorBase = 20000,   // object: const OrbitalElements*
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

// The prepared day, shared by every riseSetTime call until the next prepare.
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
 * riseSetPrepare: fixes the local calendar day of sky->date for the site.
 * Given:    sky   const SkyContext*   its date (local clock time and zone)
 *           site  const RiseSetSite*
 * Notes:    Computes the Sun at the day's two midnights; must precede every
 *           riseSetTime call for that day.
 */
void riseSetPrepare(const SkyContext *sky, const RiseSetSite *site);

/*
 * riseSetDay: the day the last riseSetPrepare fixed.
 */
const RiseSetDay *riseSetDay();

/*
 * riseSetTime: one event of one object in the prepared day.
 * Given:    zoneHours double        the day's time zone
 *           kind      int           ObjectId of a body, or kRiseSetFixed
 *           object    const void*   OrbitalElements* for comets and minor planets,
 *                                   double[2] (RA, Dec J2000) for kRiseSetFixed, else unused
 *           event     int           kRiseEvent, kTransitEvent, kSetEvent
 *           site      const RiseSetSite*
 *           altitude  double        0: the ordinary rise/set (Sun's upper limb,
 *                                   other bodies' centre, on the apparent horizon of
 *                                   the site's height); otherwise the moment the
 *                                   centre passes that geometric altitude (degrees)
 * Returned: jd        double*       Julian date (UT) of the event
 *           int       1 when the event happens in the prepared local day, else 0
 *                     (*jd may have been written for a transit)
 * Notes:    zoneHours and site must be those given to riseSetPrepare: the
 *           prepared day's are used. For an altitude other than 0 the object's
 *           daily path is judged against that altitude, so dawn at -18 in polar
 *           night and a +10 crossing in the midnight sun are found. The
 *           ordinary rise and set are solved for the centre at -(0.5855555 +
 *           dip + the Sun's semidiameter) and must miss it by at most 3 degrees.
 *           Kinds other than those listed, a missing object and non-finite
 *           directions give 0.
 */
int riseSetTime(double zoneHours, int kind, const void *object, int event,
                const RiseSetSite *site, double altitude, double *jd);

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
