#include "astro/rise_set.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/orbit_records.h"
#include "astro/orbits.h"
#include "astro/planets.h"
#include "astro/sun_moon.h"
#include "astro/vecmat.h"

namespace {

constexpr double kSiderealRate = 1.00273790935;
constexpr double kSiderealDayDays = 0.9972695663298751;
constexpr double kConvergedDays = 6.944444444444444e-05; // 6 s
constexpr double kAcceptBandDays = 0.75;
constexpr double kAltitudeCheckDeg = 3.0;
constexpr double kPolarGuard = 1e-10;
constexpr int kIterations = 10;
constexpr int kTransitPasses = 11;
// Whole days adjustToDay may move an estimate; more only comes from a time
// that is not finite or far outside the day.
constexpr int kAdjustDays = 4;
// Detail levels of the theories during the search. The Moon's shorter series
// stays well inside a minute of time; the planets' level 2 drops Mars's
// equation of the centre terms (0.7 degree), so they keep every term.
constexpr int kMoonSearchLevel = 2;
constexpr int kPlanetSearchLevel = 1;

double dayStart(const RiseSetDay &day)
{
    return day.noonJd - 0.5;
}

bool inLocalDay(const RiseSetDay &day, double t)
{
    return t >= dayStart(day) && t < dayStart(day) + 1.0;
}

double fractionOfDay(const RiseSetDay &day, double t)
{
    return t - day.noonJd + 0.5;
}

void sunRaDecAt(const RiseSetDay &day, double t, double *ra, double *dec)
{
    double f = fractionOfDay(day, t);
    *ra = wrap360(day.sunStart.raDateDeg + f * (day.sunEnd.raDateDeg - day.sunStart.raDateDeg));
    *dec = day.sunStart.decDateDeg + f * (day.sunEnd.decDateDeg - day.sunStart.decDateDeg);
}

void earthAt(const RiseSetDay &day, double t, Vec3 *out)
{
    double f = fractionOfDay(day, t);
    out->x = day.earthStart.x + f * (day.earthEnd.x - day.earthStart.x);
    out->y = day.earthStart.y + f * (day.earthEnd.y - day.earthStart.y);
    out->z = day.earthStart.z + f * (day.earthEnd.z - day.earthStart.z);
}

double applyEvent(double ra, double H, int event)
{
    if (event == kRiseEvent)
        return ra - H;
    if (event == kSetEvent)
        return ra + H;
    return ra;
}

double siderealToJd(const RiseSetDay &day, double theta)
{
    return day.jd0 + (theta - day.lst[1]) / kSiderealRate / 360.0;
}

// The estimate moved into the prepared day: to the same sidereal time a day
// later (earlier), then by further sidereal days. Stepping by whole solar days
// from there would land 3.9 minutes off for every extra day and still pass
// the convergence test. False for a time that cannot be brought there.
bool adjustToDay(const RiseSetDay &day, double t, double theta, double *out)
{
    if (!std::isfinite(t) || !std::isfinite(theta))
        return false;
    if (t < dayStart(day)) {
        t = day.jd0 + 1.0 + (theta - day.lst[2]) / kSiderealRate / 360.0;
        for (int e = 1; e < kAdjustDays && t < dayStart(day); ++e)
            t += kSiderealDayDays;
    } else if (t > dayStart(day) + 1.0) {
        t = day.jd0 - 1.0 + (theta - day.lst[0]) / kSiderealRate / 360.0;
        for (int e = 1; e < kAdjustDays && t > dayStart(day) + 1.0; ++e)
            t -= kSiderealDayDays;
    }
    *out = t;
    return t >= dayStart(day) - 1.0 && t <= dayStart(day) + 2.0;
}

void unitToRaDec(const Vec3 *v, double *ra, double *dec)
{
    double len = vecLength(v);
    *ra = wrap360(std::atan2(v->y, v->x) * kRadToDeg);
    *dec = std::asin(std::fmax(-1.0, std::fmin(1.0, v->z / len))) * kRadToDeg;
}

bool planetRaDecAt(const RiseSetDay &day, int planet, double t, double *ra, double *dec)
{
    SkyContext ctx;
    riseSetContextAt(t, day.zoneDays * 24.0, &day.site, &ctx);
    double lonLat[2], r = 0.0;
    ephemPlanetHelio(planet, &ctx, lonLat, &r, kPlanetSearchLevel);
    Vec3 ecl, eq, earth, geo;
    sphToVec(lonLat, &ecl);
    vecScale(&ecl, r, &ecl);
    eq.x = ecl.x;
    eq.y = ecl.y * ctx.cosObliquity - ecl.z * ctx.sinObliquity;
    eq.z = ecl.y * ctx.sinObliquity + ecl.z * ctx.cosObliquity;
    earthAt(day, t, &earth);
    vecSub(&eq, &earth, &geo);
    if (!(vecLength(&geo) > 0.0))
        return false;
    unitToRaDec(&geo, ra, dec);
    return true;
}

bool smallBodyRaDecAt(const RiseSetDay &day, const OrbitalElements *el, double t, double *ra, double *dec)
{
    Vec3 earth;
    earthAt(day, t, &earth);
    BodyPosition pos;
    pos.outline = nullptr;
    pos.outlineCount = 0;
    pos.jd = 0.0;
    if (!smallBodyPosition(t, el, &earth, vecLength(&earth), t, &pos))
        return false;
    *ra = pos.raJ2000; // referred to the equinox t here
    *dec = pos.decJ2000;
    return true;
}

bool isPlanet(int kind)
{
    return kind >= kObjectMercury && kind <= kObjectPluto;
}

bool isSmallBody(int kind)
{
    return (kind >= kObjectCometBase && kind < kObjectCometBase + kRiseSetBodyRange) ||
           (kind >= kObjectMinorPlanetBase && kind < kObjectMinorPlanetBase + kRiseSetBodyRange);
}

bool kindKnown(int kind, const void *object)
{
    if (kind == kObjectSun || kind == kObjectMoon || isPlanet(kind))
        return true;
    if (kind == kRiseSetFixed) {
        const double *radec = static_cast<const double *>(object);
        return radec && std::isfinite(radec[0]) && std::isfinite(radec[1]);
    }
    return isSmallBody(kind) && object != nullptr;
}

// Equatorial place of date (degrees) of the object at t.
bool positionAt(const RiseSetDay &day, int kind, const void *object, double t, double *ra, double *dec)
{
    if (kind == kObjectSun) {
        sunRaDecAt(day, t, ra, dec);
        return true;
    }
    if (isPlanet(kind))
        return planetRaDecAt(day, kind, t, ra, dec);
    SkyContext ctx;
    riseSetContextAt(t, day.zoneDays * 24.0, &day.site, &ctx);
    if (kind == kObjectMoon) {
        MoonRecord moon;
        ephemMoon(&ctx, &moon, kMoonSearchLevel);
        *ra = moon.raDateDeg;
        *dec = moon.decDateDeg;
        return std::isfinite(*ra) && std::isfinite(*dec);
    }
    if (kind == kRiseSetFixed) {
        double out[2];
        convertCoords(&ctx, COORD_EQT, static_cast<const double *>(object), COORD_EQT_DATE, out);
        *ra = out[0];
        *dec = out[1];
        return true;
    }
    return smallBodyRaDecAt(day, static_cast<const OrbitalElements *>(object), t, ra, dec);
}

// Allowance below the astronomical horizon of an ordinary rise or set:
// dip, refraction and, for the Sun, its radius.
double horizonAllowance(const RiseSetDay &day, int kind)
{
    double h0 = horizonDipDeg(day.site.heightM) + kHorizonRefractionDeg;
    if (kind == kObjectSun)
        h0 += day.sunStart.semidiameterDeg;
    return h0;
}

enum HorizonClass { kAlwaysAbove = 0, kNeverRises = 1, kRisesAndSets = 2, kNoPosition = 3 };

// The object's path at t against the horizon of the event: the apparent
// horizon for altitude 0, else the asked altitude itself.
HorizonClass horizonClass(const RiseSetDay &day, int kind, const void *object, double altitude, double t)
{
    double ra, dec;
    if (!positionAt(day, kind, object, t, &ra, &dec))
        return kNoPosition;
    double h0 = altitude == 0.0 ? horizonAllowance(day, kind) : -altitude;
    double phi = day.site.latitudeDeg;
    if (phi >= 0.0) {
        if (dec >= 90.0 - phi - h0)
            return kAlwaysAbove;
        if (dec <= phi - 90.0 - h0)
            return kNeverRises;
    } else {
        if (dec <= -90.0 - phi + h0)
            return kAlwaysAbove;
        if (dec >= 90.0 + phi + h0)
            return kNeverRises;
    }
    return kRisesAndSets;
}

// The object's true altitude at t, in degrees.
bool altitudeAt(const RiseSetDay &day, int kind, const void *object, double t, double *altitude)
{
    double radec[2];
    if (!positionAt(day, kind, object, t, &radec[0], &radec[1]))
        return false;
    SkyContext ctx;
    riseSetContextAt(t, day.zoneDays * 24.0, &day.site, &ctx);
    double azAlt[2];
    convertCoords(&ctx, COORD_EQT_DATE, radec, COORD_HRZ, azAlt);
    *altitude = azAlt[1];
    return true;
}

// The object's altitude plus the horizon allowance at t: 0 on the event.
bool eventAltitudeError(const RiseSetDay &day, int kind, const void *object, double t, double *error)
{
    if (!altitudeAt(day, kind, object, t, error))
        return false;
    *error += horizonAllowance(day, kind);
    return true;
}

// The object's altitude above the horizon of the event at t: the apparent
// horizon for altitude 0, else the asked altitude.
bool heightAboveEventHorizon(const RiseSetDay &day, int kind, const void *object, double altitude, double t,
                             double *height)
{
    if (altitude == 0.0)
        return eventAltitudeError(day, kind, object, t, height);
    if (!altitudeAt(day, kind, object, t, height))
        return false;
    *height -= altitude;
    return true;
}

// Where the path only grazes the horizon the hour-angle iteration does not
// settle (the event moves faster with the declination than the estimate
// does, so each step overshoots into hours where the object no longer
// reaches the horizon). Last resort: the day sampled every quarter hour for
// the crossing, which is then halved down to the convergence step.
bool scanDayForCrossing(const RiseSetDay &day, int kind, const void *object, int event, double altitude, double *jd)
{
    constexpr int kSamples = 96;
    double t0 = dayStart(day), f0;
    if (!heightAboveEventHorizon(day, kind, object, altitude, t0, &f0))
        return false;
    for (int k = 1; k <= kSamples; ++k) {
        double t1 = dayStart(day) + static_cast<double>(k) / kSamples, f1;
        if (!heightAboveEventHorizon(day, kind, object, altitude, t1, &f1))
            return false;
        bool crosses = event == kRiseEvent ? (f0 < 0.0 && f1 >= 0.0) : (f0 >= 0.0 && f1 < 0.0);
        if (crosses) {
            double a = t0, b = t1, fa = f0;
            while (b - a > kConvergedDays) {
                double m = 0.5 * (a + b), fm;
                if (!heightAboveEventHorizon(day, kind, object, altitude, m, &fm))
                    return false;
                if ((fm < 0.0) == (fa < 0.0)) {
                    a = m;
                    fa = fm;
                } else {
                    b = m;
                }
            }
            double t = 0.5 * (a + b);
            if (inLocalDay(day, t)) {
                *jd = t;
                return true;
            }
        }
        t0 = t1;
        f0 = f1;
    }
    return false;
}

enum IterateResult { kFound, kNoEvent, kNotConverged };

struct Estimates {
    double prev, t;
};

// Mode 0 starts at start and moves each estimate into the day; mode 1 keeps
// the estimates within 0.75 day of start.
IterateResult riseSetIterate(const RiseSetDay &day, int kind, const void *object, int event, double altitude, int mode,
                             double start, Estimates *est)
{
    bool ordinary = altitude == 0.0 && event != kTransitEvent;
    // The ordinary rise and set are solved for the centre at -(refraction +
    // dip + the Sun's radius) directly: correcting the hour angle of altitude 0
    // to first order, and the dip by a height formula, loses minutes at high
    // latitudes, where the path meets the horizon at a shallow angle.
    double sinAlt = sinDeg(ordinary ? -horizonAllowance(day, kind) : altitude);
    double t = start;
    for (int i = 0;; ++i) {
        double prev = t;
        est->prev = prev;
        est->t = t;
        double ra, dec;
        if (!positionAt(day, kind, object, t, &ra, &dec))
            return kNoEvent;
        if (std::fabs(day.cosLat) < kPolarGuard)
            return kNoEvent;
        double c = (sinAlt - day.sinLat * sinDeg(dec)) / (day.cosLat * cosDeg(dec));
        if (!(c >= -1.0 && c <= 1.0)) {
            // The object does not reach the altitude at this estimate: on the
            // first one there is no event; later it is no converged answer.
            return i == 0 ? kNoEvent : kNotConverged;
        }
        double H = std::acos(c) * kRadToDeg;
        double theta = applyEvent(ra, H, event);
        t = siderealToJd(day, theta);
        if (mode == 0 && !adjustToDay(day, t, theta, &t))
            return kNotConverged;
        if (!std::isfinite(t))
            return kNotConverged;
        if (mode == 1 && std::fabs(start - t) > kAcceptBandDays)
            t += t > start ? -kSiderealDayDays : kSiderealDayDays;
        est->t = t;
        if (std::fabs(prev - t) <= kConvergedDays && inLocalDay(day, t)) {
            if (i > kIterations)
                return kNotConverged;
            if (ordinary) {
                double error;
                if (eventAltitudeError(day, kind, object, t, &error) && std::fabs(error) > kAltitudeCheckDeg)
                    return kNoEvent;
            }
            return kFound;
        }
        if (i >= kIterations)
            return kNotConverged;
    }
}

bool transitIterate(const RiseSetDay &day, int kind, const void *object, double *jd)
{
    double t = day.noonJd;
    for (int pass = 0; pass < kTransitPasses; ++pass) {
        double prev = t, ra, dec;
        if (!positionAt(day, kind, object, t, &ra, &dec))
            return false;
        t = day.jd0 + (ra - day.lst[1]) / kSiderealRate / 360.0;
        if (t < dayStart(day))
            t = day.jd0 + 1.0 + (ra - day.lst[2]) / kSiderealRate / 360.0;
        else if (t > dayStart(day) + 1.0)
            t = day.jd0 - 1.0 + (ra - day.lst[0]) / kSiderealRate / 360.0;
        *jd = t;
        if (std::fabs(prev - t) <= kConvergedDays && inLocalDay(day, t))
            return true;
    }
    return false;
}

bool inClosedDay(const RiseSetDay &day, double t)
{
    return t >= dayStart(day) && t <= dayStart(day) + 1.0;
}

// One search from start: the iteration that moves its estimates into the
// day, and when that does not settle, two that stay near its last estimates.
bool searchFrom(const RiseSetDay &day, int kind, const void *object, int event, double altitude, double start,
                double *jd)
{
    Estimates est;
    IterateResult r = riseSetIterate(day, kind, object, event, altitude, 0, start, &est);
    if (r == kFound) {
        if (!inLocalDay(day, est.t))
            return false;
        *jd = est.t;
        return true;
    }
    if (r != kNotConverged)
        return false;
    const double retryStarts[2] = {est.prev, est.t};
    for (double from : retryStarts) {
        Estimates retry;
        if (riseSetIterate(day, kind, object, event, altitude, 1, from, &retry) == kFound && inClosedDay(day, retry.t)) {
            *jd = retry.t;
            return true;
        }
    }
    return false;
}

SkyContext contextForDay(const RiseSetDay &day, double jd)
{
    SkyContext ctx;
    riseSetContextAt(jd, day.zoneDays * 24.0, &day.site, &ctx);
    return ctx;
}

} // namespace

double horizonDipDeg(double heightM)
{
    double h = std::fabs(heightM);
    double dip = std::atan(std::sqrt(h * (h + kEarthDiameterM)) / kEarthRadiusM) * kRadToDeg;
    return heightM < 0.0 ? -dip : dip;
}

void riseSetContextAt(double jd, double zoneHours, const RiseSetSite *site, SkyContext *out)
{
    jdToDate(jd + zoneHours / 24.0, &out->date);
    out->date.zone = zoneHours;
    out->latitudeDeg = site->latitudeDeg;
    out->longitudeDeg = site->longitudeDeg;
    out->altitudeM = site->heightM;
    out->jd = jd;
    skyContextDerive(out);
}

RiseSetDay riseSetPrepare(const SkyContext *sky, const RiseSetSite *site)
{
    RiseSetDay day;
    day.site = *site;
    day.zoneDays = sky->date.zone / 24.0;
    day.jd0 = calendarToJd(sky->date.year, sky->date.month, sky->date.day);
    day.noonJd = day.jd0 - day.zoneDays + 0.5;
    for (int k = 0; k < 3; ++k) {
        day.lst[k] = localSiderealDeg(day.jd0 - 1.0 + k, site->longitudeDeg);
        if (k > 0 && day.lst[k] < day.lst[k - 1])
            day.lst[k] += 360.0;
    }
    day.sinLat = sinDeg(site->latitudeDeg);
    day.cosLat = cosDeg(site->latitudeDeg);

    SkyContext start = contextForDay(day, dayStart(day)), end = contextForDay(day, dayStart(day) + 1.0);
    ephemSun(&start, &day.sunStart);
    ephemSun(&end, &day.sunEnd);
    double &a = day.sunStart.raDateDeg, &b = day.sunEnd.raDateDeg;
    if (std::fabs(a - b) > 180.0)
        (a < b ? a : b) += 360.0;
    Mat3 toDate;
    precessionMatrix(JD_J2000, day.noonJd, &toDate);
    mat3MulVec(&day.sunStart.earthHelio, &toDate, &day.earthStart);
    mat3MulVec(&day.sunEnd.earthHelio, &toDate, &day.earthEnd);
    return day;
}

int riseSetTime(const RiseSetDay *prepared, int kind, const void *object, int event, double altitude,
                double *jd)
{
    const RiseSetDay &day = *prepared;
    if (!kindKnown(kind, object) || event < kRiseEvent || event > kSetEvent ||
        !std::isfinite(altitude))
        return 0;
    // The day is judged at local noon and, before the answer is "no event",
    // at its two midnights: at high latitudes the Moon's declination crosses
    // the circumpolar limit within a day (the Sun's does on the first and last
    // days of the midnight sun), so it can rise or set though it stays up (or
    // down) around noon, or the search from noon settles on the end of the
    // day where it no longer does. Each moment where the path crosses the
    // horizon of the event starts a search.
    const double starts[3] = {day.noonJd, dayStart(day), dayStart(day) + 1.0};
    bool crossing = false;
    for (double start : starts) {
        HorizonClass cls = horizonClass(day, kind, object, altitude, start);
        if (cls == kNoPosition)
            break;
        if (cls != kRisesAndSets)
            continue;
        crossing = true;
        if (searchFrom(day, kind, object, event, altitude, start, jd))
            return 1;
    }
    if (crossing && event != kTransitEvent && scanDayForCrossing(day, kind, object, event, altitude, jd))
        return 1;
    if (event == kTransitEvent)
        return transitIterate(day, kind, object, jd) ? 1 : 0;
    return 0;
}

int sunriseTime(const SkyContext *sky, const RiseSetSite *site, double *jd)
{
    const RiseSetDay day = riseSetPrepare(sky, site);
    return riseSetTime(&day, kObjectSun, nullptr, kRiseEvent, 0.0, jd);
}

int sunsetTime(const SkyContext *sky, const RiseSetSite *site, double *jd)
{
    const RiseSetDay day = riseSetPrepare(sky, site);
    return riseSetTime(&day, kObjectSun, nullptr, kSetEvent, 0.0, jd);
}

int sunriseAtAltitude(const SkyContext *sky, const RiseSetSite *site, double *jd,
                      int altitudeDegrees)
{
    const RiseSetDay day = riseSetPrepare(sky, site);
    return riseSetTime(&day, kObjectSun, nullptr, kRiseEvent, altitudeDegrees, jd);
}

int sunsetAtAltitude(const SkyContext *sky, const RiseSetSite *site, double *jd,
                     int altitudeDegrees)
{
    const RiseSetDay day = riseSetPrepare(sky, site);
    return riseSetTime(&day, kObjectSun, nullptr, kSetEvent, altitudeDegrees, jd);
}
