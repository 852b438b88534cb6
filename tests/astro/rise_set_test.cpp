// Rise, transit and set: the Sun, the Moon and planets at three sites against
// stored python3-ephem times (tools/rise_set_refs.py), and the polar cases.
#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "astro/calendar.h"
#include "astro/coords.h"
#include "astro/orbits.h"
#include "astro/vecmat.h"
#include "astro/rise_set.h"
#include "astro/sun_moon.h"
#include "orbit_fixtures.h"
#include "rise_reference_data.h"
#include "rise_tromso_data.h"

namespace {

constexpr double kMinute = 1.0 / 1440.0;

SkyContext noonOf(int year, int month, int day, double zone, const RiseSetSite &site)
{
    SkyContext sky;
    std::memset(&sky, 0, sizeof sky);
    sky.date = {year, month, day, 12, 0, 0.0, zone};
    DateTime d = sky.date;
    riseSetContextAt(dateToJd(&d), zone, &site, &sky);
    return sky;
}

const char *eventName(int event)
{
    return event == 1 ? "rise" : event == 2 ? "transit" : "set";
}

TEST(RiseSet, SunMoonAndPlanetsMatchAnIndependentLibraryAtThreeSites)
{
    for (const RiseReferenceEvent &ref : kRiseReferenceEvents) {
        const RiseReferenceSite &s = kRiseReferenceSites[ref.site];
        RiseSetSite site = {s.latitudeDeg, s.longitudeDeg, s.heightM};
        SkyContext sky = noonOf(ref.year, ref.month, ref.day, s.zoneHours, site);
        const RiseSetDay day = riseSetPrepare(&sky, &site);
        double jd = 0;
        int found = riseSetTime(&day, ref.kind, nullptr, ref.event, ref.altitude, &jd);
        ::testing::Message where;
        where << s.name << " " << ref.year << "-" << ref.month << "-" << ref.day << " kind "
              << ref.kind << " " << eventName(ref.event) << " at " << ref.altitude;
        ASSERT_EQ(found, ref.found) << where << " (reference " << ref.jd << ", got " << jd << ")";
        if (!found)
            continue;
        double tolerance = (ref.kind == -1 ? 5 : 2) * kMinute;
        EXPECT_NEAR(jd, ref.jd, tolerance) << where << ": " << (jd - ref.jd) * 1440 << " min";
    }
}

// At Tromso the Moon's declination passes +-20 degrees every month of 2024, so
// on some days it rises (or sets) though it is up all the time around local
// noon, or down then; the midnight sun and the polar night begin and end. A
// day judged by the noon declination alone lost those events.
TEST(RiseSet, TromsoThroughTwentyTwentyFourMatchesAnIndependentAltitudeScan)
{
    const RiseSetSite site = {kTromsoLatitudeDeg, kTromsoLongitudeDeg, 0.0};
    for (const TromsoEvent &ref : kTromsoEvents) {
        SkyContext sky = noonOf(2024, ref.month, ref.day, kTromsoZoneHours, site);
        const RiseSetDay day = riseSetPrepare(&sky, &site);
        double jd = 0;
        int found = riseSetTime(&day, ref.kind, nullptr, ref.event, 0.0, &jd);
        ::testing::Message where;
        where << "2024-" << ref.month << "-" << ref.day << (ref.kind == -1 ? " Moon " : " Sun ")
              << eventName(ref.event);
        EXPECT_EQ(found, ref.found) << where << " (reference " << ref.jd << ", got " << jd << ")";
        if (found && ref.found) {
            const double nearest = std::fabs(jd - ref.second) < std::fabs(jd - ref.jd) ? ref.second : ref.jd;
            EXPECT_NEAR(jd, nearest, 5 * kMinute) << where << ": " << (jd - nearest) * 1440 << " min";
        }
    }
}

struct SunCase {
    const char *what;
    double latitude;
    int month;
    int event;
    int altitude;
    int found;
};

// The Sun's centre altitude at jd for the site (degrees).
double sunAltitude(double jd, const RiseSetSite &site)
{
    SkyContext ctx;
    riseSetContextAt(jd, 0, &site, &ctx);
    SunRecord sun;
    ephemSun(&ctx, &sun);
    double radec[2] = {sun.raDateDeg, sun.decDateDeg}, azAlt[2];
    convertCoords(&ctx, COORD_EQT_DATE, radec, COORD_HRZ, azAlt);
    return azAlt[1];
}

TEST(RiseSet, PolarDaysAndNightsAreJudgedAgainstTheAskedAltitude)
{
    const SunCase cases[] = {
        {"60 N midsummer: the Sun sets", 60, 6, 3, 0, 1},
        {"60 N midsummer: it rises", 60, 6, 1, 0, 1},
        {"70 N midsummer: always above", 70, 6, 3, 0, 0},
        {"70 S December: always above", -70, 12, 3, 0, 0},
        {"70 S June: never rises", -70, 6, 1, 0, 0},
        {"60 N midsummer: never down to -18", 60, 6, 1, -18, 0},
        {"70 N midsummer: never down to -18", 70, 6, 3, -18, 0},
        // Judged against the horizon these were lost: the Sun never rises in
        // polar night but still climbs through -18, and in the midnight sun
        // it still sinks through +10.
        {"70 N polar night: dawn at -18", 70, 12, 1, -18, 1},
        {"70 N polar night: dusk at -18", 70, 12, 3, -18, 1},
        {"70 N midnight sun: down through +10", 70, 6, 3, 10, 1},
        {"70 N midnight sun: up through +10", 70, 6, 1, 10, 1},
        {"70 S polar night: dawn at -18", -70, 6, 1, -18, 1},
    };
    for (const SunCase &c : cases) {
        RiseSetSite site = {c.latitude, 20.0, 0.0};
        SkyContext sky = noonOf(2026, c.month, 21, 1.0, site);
        double jd = 0;
        int found = c.event == 1 ? (c.altitude == 0 ? sunriseTime(&sky, &site, &jd)
                                                    : sunriseAtAltitude(&sky, &site, &jd, c.altitude))
                                 : (c.altitude == 0 ? sunsetTime(&sky, &site, &jd)
                                                    : sunsetAtAltitude(&sky, &site, &jd, c.altitude));
        ASSERT_EQ(found, c.found) << c.what;
        if (found && c.altitude != 0) {
            EXPECT_NEAR(sunAltitude(jd, site), c.altitude, 0.05) << c.what;
        }
        if (found) {
            const RiseSetDay day = riseSetPrepare(&sky, &site);
            EXPECT_GE(jd, day.noonJd - 0.5) << c.what;
            EXPECT_LT(jd, day.noonJd + 0.5) << c.what;
        }
    }
}

TEST(RiseSet, CircumpolarStarTransitsButNeitherRisesNorSets)
{
    RiseSetSite site = {50.0, 10.0, 0.0};
    SkyContext sky = noonOf(2026, 3, 1, 1.0, site);
    const RiseSetDay day = riseSetPrepare(&sky, &site);
    const double star[2] = {120.0, 80.0};
    double jd = 0;
    EXPECT_EQ(riseSetTime(&day, kRiseSetFixed, star, kRiseEvent, 0, &jd), 0);
    EXPECT_EQ(riseSetTime(&day, kRiseSetFixed, star, kSetEvent, 0, &jd), 0);
    ASSERT_EQ(riseSetTime(&day, kRiseSetFixed, star, kTransitEvent, 0, &jd), 1);
    // At the upper transit the local sidereal time is the star's RA of date.
    SkyContext at;
    riseSetContextAt(jd, 1.0, &site, &at);
    double radec[2], dated[2];
    radec[0] = star[0];
    radec[1] = star[1];
    convertCoords(&at, COORD_EQT, radec, COORD_EQT_DATE, dated);
    EXPECT_NEAR(std::remainder(at.siderealDeg - dated[0], 360.0), 0.0, 0.05);
    // A star that rises and sets spends equal times before and after its
    // transit above the horizon (the set may be the previous night's).
    const double sirius[2] = {101.287, -16.716};
    double rise, transit, set;
    ASSERT_EQ(riseSetTime(&day, kRiseSetFixed, sirius, kRiseEvent, 0, &rise), 1);
    ASSERT_EQ(riseSetTime(&day, kRiseSetFixed, sirius, kTransitEvent, 0, &transit), 1);
    ASSERT_EQ(riseSetTime(&day, kRiseSetFixed, sirius, kSetEvent, 0, &set), 1);
    const double siderealDay = 0.9972695663298751;
    auto arc = [&](double d) { return std::fmod(d + 2 * siderealDay, siderealDay); };
    EXPECT_NEAR(arc(transit - rise), arc(set - transit), 5 * kMinute);
}

// Altitude (degrees) and hour angle of a small body at jd, computed here from
// a fresh Sun for the Earth (not the day's interpolation).
void smallBodyAltitude(const OrbitalElements &el, double jd, const RiseSetSite &site, double *alt,
                       double *hourAngle)
{
    SkyContext ctx;
    riseSetContextAt(jd, 0, &site, &ctx);
    SunRecord sun;
    ephemSun(&ctx, &sun);
    Mat3 toDate;
    precessionMatrix(2451545.0, jd, &toDate);
    Vec3 earth;
    mat3MulVec(&sun.earthHelio, &toDate, &earth);
    BodyPosition pos;
    ASSERT_EQ(smallBodyPosition(jd, &el, &earth, vecLength(&earth), jd, &pos), 1);
    double radec[2] = {pos.raJ2000, pos.decJ2000}, azAlt[2];
    convertCoords(&ctx, COORD_EQT_DATE, radec, COORD_HRZ, azAlt);
    *alt = azAlt[1];
    *hourAngle = std::remainder(ctx.siderealDeg - pos.raJ2000, 360.0);
}

TEST(RiseSet, CometsAndMinorPlanetsAreFollowedThroughTheDay)
{
    OrbitalElements el = orbitElements('M', 2.5568, 0.0758, 2461200.5, 73.6, 80.3, 10.6, 3.3, 5);
    RiseSetSite site = {48.2, 16.4, 190.0};
    SkyContext sky = noonOf(2026, 3, 20, 1.0, site);
    const RiseSetDay day = riseSetPrepare(&sky, &site);
    double rise, transit, set, alt, hourAngle;
    ASSERT_EQ(riseSetTime(&day, kObjectMinorPlanetBase + 3, &el, kRiseEvent, 0, &rise), 1);
    ASSERT_EQ(riseSetTime(&day, kObjectMinorPlanetBase + 3, &el, kTransitEvent, 0, &transit), 1);
    ASSERT_EQ(riseSetTime(&day, kObjectMinorPlanetBase + 3, &el, kSetEvent, 0, &set), 1);
    double horizon = -(0.5855555 + horizonDipDeg(190.0));
    smallBodyAltitude(el, rise, site, &alt, &hourAngle);
    EXPECT_NEAR(alt, horizon, 0.05);
    EXPECT_LT(hourAngle, 0.0);
    smallBodyAltitude(el, set, site, &alt, &hourAngle);
    EXPECT_NEAR(alt, horizon, 0.05);
    EXPECT_GT(hourAngle, 0.0);
    smallBodyAltitude(el, transit, site, &alt, &hourAngle);
    EXPECT_NEAR(hourAngle, 0.0, 0.05);
    // A comet whose orbit cannot be solved has no events at all.
    el.type = 'C';
    el.perihelionDistance = 0;
    for (int event : {kRiseEvent, kTransitEvent, kSetEvent})
        EXPECT_EQ(riseSetTime(&day, kObjectCometBase, &el, event, 0, &rise), 0);
}

TEST(RiseSet, EventsLateAndEarlyInTheDayLieOnTheHorizon)
{
    // Stars around the whole sky, so that some events are found by moving the
    // first estimate by more than one day: each found rise or set must put
    // the star on the horizon (a step of a solar day instead of a sidereal
    // one leaves it four minutes, about a degree, off).
    RiseSetSite site = {48.2, 16.4, 0.0};
    SkyContext sky = noonOf(2026, 7, 15, 1.0, site);
    const RiseSetDay day = riseSetPrepare(&sky, &site);
    for (int ra = 0; ra < 360; ra += 10) {
        const double star[2] = {static_cast<double>(ra), 5.0};
        for (int event : {kRiseEvent, kSetEvent}) {
            double jd;
            ASSERT_EQ(riseSetTime(&day, kRiseSetFixed, star, event, 0, &jd), 1) << ra;
            SkyContext at;
            riseSetContextAt(jd, 1.0, &site, &at);
            double dated[2], azAlt[2];
            convertCoords(&at, COORD_EQT, star, COORD_EQT_DATE, dated);
            convertCoords(&at, COORD_EQT_DATE, dated, COORD_HRZ, azAlt);
            EXPECT_NEAR(azAlt[1], -0.5855555, 0.02) << "RA " << ra << " " << eventName(event);
        }
    }
}

TEST(RiseSet, NothingRisesOrSetsAtThePole)
{
    RiseSetSite site = {90.0, 0.0, 0.0};
    SkyContext sky = noonOf(2026, 3, 20, 0.0, site);
    const RiseSetDay day = riseSetPrepare(&sky, &site);
    const double equatorial[2] = {10.0, 0.0};
    double jd;
    for (int event : {kRiseEvent, kSetEvent}) {
        EXPECT_EQ(riseSetTime(&day, -2, nullptr, event, 0, &jd), 0);
        EXPECT_EQ(riseSetTime(&day, kRiseSetFixed, equatorial, event, 0, &jd), 0);
        EXPECT_EQ(riseSetTime(&day, -1, nullptr, event, 0, &jd), 0);
    }
}

TEST(RiseSet, BelowSeaLevelTheHorizonRisesInsteadOfDipping)
{
    EXPECT_EQ(horizonDipDeg(0.0), 0.0);
    EXPECT_NEAR(horizonDipDeg(400.0), 0.6418, 1e-3);
    EXPECT_EQ(horizonDipDeg(-400.0), -horizonDipDeg(400.0));
    // The same day at sea level and 400 m below it: a later sunrise and an
    // earlier sunset down in the depression.
    RiseSetSite low = {31.5, 35.5, -400.0}, sea = {31.5, 35.5, 0.0};
    SkyContext sky = noonOf(2026, 4, 10, 2.0, sea);
    double riseLow, riseSea, setLow, setSea;
    ASSERT_EQ(sunriseTime(&sky, &low, &riseLow), 1);
    ASSERT_EQ(sunsetTime(&sky, &low, &setLow), 1);
    ASSERT_EQ(sunriseTime(&sky, &sea, &riseSea), 1);
    ASSERT_EQ(sunsetTime(&sky, &sea, &setSea), 1);
    EXPECT_GT(riseLow - riseSea, 2 * kMinute);
    EXPECT_GT(setSea - setLow, 2 * kMinute);
}

TEST(RiseSet, UnknownKindsAndUnusableDirectionsAreNoEvent)
{
    RiseSetSite site = {48.0, 16.0, 200.0};
    SkyContext sky = noonOf(2026, 5, 5, 2.0, site);
    const RiseSetDay day = riseSetPrepare(&sky, &site);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const double bad[][2] = {{nan, 10}, {10, nan}, {inf, 10}, {10, -inf}};
    double jd;
    for (const auto &dir : bad)
        for (int event : {kRiseEvent, kTransitEvent, kSetEvent})
            EXPECT_EQ(riseSetTime(&day, kRiseSetFixed, dir, event, 0, &jd), 0);
    const int kinds[] = {8, 11, -3, -5, 9999, 30000};
    for (int kind : kinds)
        EXPECT_EQ(riseSetTime(&day, kind, nullptr, kRiseEvent, 0, &jd), 0) << kind;
    EXPECT_EQ(riseSetTime(&day, kObjectCometBase + 1, nullptr, kRiseEvent, 0, &jd), 0);
    EXPECT_EQ(riseSetTime(&day, -2, nullptr, 4, 0, &jd), 0);
    EXPECT_EQ(riseSetTime(&day, -2, nullptr, kRiseEvent, nan, &jd), 0);
}

} // namespace
