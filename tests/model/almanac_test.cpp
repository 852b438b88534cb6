// The almanac panel's values against independent rise, transit and set
// times (tests/astro/rise_reference_data.h, from python3-ephem) and worked
// dates.
#include "model/almanac.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "astro/rise_set.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "tests/astro/rise_reference_data.h"
#include "tests/model/moon_age_reference_data.h"
#include "tests/support/element_rows.h"
#include "tests/support/test_chart.h"

namespace {

struct AlmanacChart {
    TestChart chart;
    void at(double lat, double lon, double height, int y, int m, int d, int hour, double zone)
    {
        chartSetSite(chart.get(), lat, lon, height);
        const DateTime date{y, m, d, hour, 0, 0.0, zone};
        chartSetDate(chart.get(), &date);
        ephemUpdateAll(chart.get());
    }
};

TEST(Almanac, DatesByStyleWithTheEra)
{
    AlmanacChart a;
    struct Case {
        int year, style;
        const char *text;
    } cases[] = {
        {2026, 0, "Jan 15, 2026 (AD)"}, {2026, 1, "AD  2026/ 1/15"}, {2026, 2, "15/ 1/ 2026 AD"},
        {0, 1, "BC     1/ 1/15"},       {-99, 2, "15/ 1/  100 BC"},  {-99, 0, "Jan 15, 100 (BC)"},
    };
    for (const Case &c : cases) {
        const DateTime date{c.year, 1, 15, 12, 0, 0.0, 0.0};
        chartSetDate(a.chart.get(), &date);
        a.chart->dateStyle = c.style;
        char text[kAlmanacTextSize];
        almanacDateText(a.chart.get(), text, sizeof text);
        EXPECT_STREQ(text, c.text) << c.year << " style " << c.style;
    }
}

TEST(Almanac, JulianDatesAreOfTheCalendarDateAndSiteHasItsHemispheres)
{
    AlmanacChart a;
    a.at(-33.87, -70.65, 0.0, 2000, 1, 1, 23, -4.0);
    AlmanacValues v;
    almanacFill(a.chart.get(), &v);
    EXPECT_STREQ(v.jd, "2451544.5");  // 2000-01-01 0h UT, whatever the hour and zone
    EXPECT_STREQ(v.mjd, "  51544.0");
    EXPECT_STREQ(v.site, " 70.65W 33.87S");
}

TEST(Almanac, EventMinutesRoundByTheSecondsAndCarryIntoTheHour)
{
    // 2000-01-01 0h UT is JD 2451544.5; zone +1. A Julian date holds time to
    // some 20 microseconds, so the cases keep half a second from the edge.
    struct Case {
        double seconds; // after 22:00 UT
        int hour, minute;
    } cases[] = {{59 * 60 + 30.5, 24, 0}, {59 * 60 + 29.5, 23, 59}, {10 * 60 + 30.5, 23, 11},
                 {10 * 60 + 29.5, 23, 10}, {0.5, 23, 0}};
    for (const Case &c : cases) {
        int h, m;
        eventClockTime(2451544.5 + (22 * 3600 + c.seconds) / 86400.0, 1.0, &h, &m);
        EXPECT_EQ(h, c.hour) << c.seconds;
        EXPECT_EQ(m, c.minute) << c.seconds;
    }
}

TEST(Almanac, MidsummerAt65NorthHasNoDawnNorDuskButSunriseAndSunset)
{
    AlmanacChart a;
    a.at(65.0, 25.47, 15.0, 2026, 6, 21, 12, 3.0);
    AlmanacValues v;
    almanacFill(a.chart.get(), &v);
    EXPECT_STREQ(v.dawn, "--:--");
    EXPECT_STREQ(v.dusk, "--:--");
    EXPECT_STRNE(v.sun.rise, "--:--");
    EXPECT_STRNE(v.sun.set, "--:--");
}

// The Moon's age is that of 12:00 on the chart's own day in its zone: at
// zone +9 that noon is 03:00 UT, 0.375 day before 12:00 UT. The ages are
// from python3-ephem's true new moons (tests/model/moon_age_reference_data.h);
// the lunation series behind the panel keeps within about 0.07 day of them,
// and the text has one decimal.
TEST(Almanac, MoonAgeIsOfNoonOnTheChartsDayInItsZone)
{
    AlmanacChart a;
    for (const MoonAgeReference &r : kMoonAgeReferences) {
        // Late in the local day: the chart's own moment is not the noon.
        a.at(35.68, 139.77, 10.0, r.year, r.month, r.day, 23, kMoonAgeReferenceZone);
        AlmanacValues v;
        almanacFill(a.chart.get(), &v);
        double age = -1.0;
        ASSERT_EQ(std::sscanf(v.moonAge, "%lf", &age), 1) << v.moonAge;
        EXPECT_NEAR(age, r.ageDays, 0.15) << r.year << "-" << r.month << "-" << r.day << ": " << v.moonAge;
    }
}

TEST(Almanac, SmallBodyRowsAreBlankWithoutBodiesThenCometsThenMinorPlanets)
{
    AlmanacChart a;
    a.at(35.0, 139.0, 0.0, 1997, 4, 1, 12, 9.0);
    AlmanacValues v;
    almanacFill(a.chart.get(), &v);
    for (int row = 0; row < kAlmanacSmallBodyRows; ++row) {
        EXPECT_STREQ(v.smallBodyNames[row], "            ");
        EXPECT_STREQ(v.smallBodies[row].rise, "--:--");
        EXPECT_STREQ(v.smallBodies[row].meridian, "--:--");
        EXPECT_STREQ(v.smallBodies[row].set, "--:--");
    }
    for (int i = 0; i < 5; ++i) {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, kHaleBoppElements), 1);
        std::snprintf(el.name, sizeof el.name, "Comet number %d", i);
        ASSERT_EQ(addComet(a.chart.get(), &el), 1);
        el.type = 'M';
        std::snprintf(el.name, sizeof el.name, "Minor %d", i);
        ASSERT_EQ(addMinorPlanet(a.chart.get(), &el), 1);
    }
    ephemUpdateAll(a.chart.get());
    almanacFill(a.chart.get(), &v);
    const char *names[] = {"Comet number", "Comet number", "Comet number", "Comet number",
                           "Comet number", "Minor 0     ", "Minor 1     ", "Minor 2     "};
    for (int row = 0; row < kAlmanacSmallBodyRows; ++row)
        EXPECT_STREQ(v.smallBodyNames[row], names[row]) << row;
    // Hale-Bopp near perihelion, circumpolar-free at 35 N: it transits.
    EXPECT_STRNE(v.smallBodies[0].meridian, "--:--");
    EXPECT_STREQ(v.smallBodies[0].meridian, v.smallBodies[5].meridian);
}

// The minutes of the local day a cell shows; -1 for "--:--".
int cellMinutes(const char *cell)
{
    int h, m;
    if (std::sscanf(cell, "%d:%d", &h, &m) != 2)
        return -1;
    return h * 60 + m;
}

const char *cellOf(const AlmanacValues &v, int kind, int event, double altitude)
{
    if (kind == kObjectSun && altitude != 0.0)
        return event == kRiseEvent ? v.dawn : v.dusk;
    const AlmanacEvents &e = kind == kObjectSun ? v.sun : kind == kObjectMoon ? v.moon : v.planets[kind];
    return event == kRiseEvent ? e.rise : event == kTransitEvent ? e.meridian : e.set;
}

TEST(Almanac, EveryCellAgreesWithTheReferenceTimes)
{
    int compared = 0;
    for (const RiseReferenceEvent &r : kRiseReferenceEvents) {
        if (r.kind < kObjectSun || r.kind >= kPlanetCount)
            continue;
        if (r.altitude != 0.0 && !(r.kind == kObjectSun && r.altitude == -18.0))
            continue;
        const RiseReferenceSite &s = kRiseReferenceSites[r.site];
        AlmanacChart a;
        a.at(s.latitudeDeg, s.longitudeDeg, s.heightM, r.year, r.month, r.day, 12, s.zoneHours);
        AlmanacValues v;
        almanacFill(a.chart.get(), &v);
        const char *cell = cellOf(v, r.kind, r.event, r.altitude);
        const std::string where = std::string(s.name) + " " + std::to_string(r.year) + "-" +
                                  std::to_string(r.month) + "-" + std::to_string(r.day) + " kind " +
                                  std::to_string(r.kind) + " event " + std::to_string(r.event);
        if (!r.found) {
            EXPECT_STREQ(cell, "--:--") << where;
            continue;
        }
        double local = r.jd + s.zoneHours / 24.0 + 0.5;
        local -= static_cast<long long>(local);
        const double expected = local * 1440.0;
        const int got = cellMinutes(cell);
        ASSERT_GE(got, 0) << where;
        EXPECT_NEAR(got, expected, r.kind == kObjectMoon ? 5.0 : 2.0) << where << " cell " << cell;
        ++compared;
    }
    EXPECT_GT(compared, 100) << "the reference table reached the cells";
}

} // namespace
