// Sky contexts from dates and Julian dates, the injectable clock and date
// stepping with carries.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string>

#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/clock.h"
#include "model/sky_context.h"
#include "tests/support/test_chart.h"

namespace {

const double greenwich[3] = {51.4769, 0.0, 46.0};

DateTime date(int y, int mo, int d, int h, int mi, double s, double zone)
{
    DateTime t{};
    t.year = y;
    t.month = mo;
    t.day = d;
    t.hour = h;
    t.minute = mi;
    t.second = s;
    t.zone = zone;
    return t;
}

TEST(SkyContext, J2000AtGreenwichHasTheKnownQuantities)
{
    DateTime d = date(2000, 1, 1, 12, 0, 0.0, 0.0);
    SkyContext s{};
    skyContextFromDate(&d, greenwich, &s);
    EXPECT_DOUBLE_EQ(s.jd, 2451545.0);
    EXPECT_NEAR(s.centuriesJ2000, 0.0, 1e-12);
    EXPECT_NEAR(s.obliquityDeg, 23.43929111, 1e-6);
    EXPECT_NEAR(s.sinObliquity, std::sin(23.43929111 * M_PI / 180.0), 1e-4);
    EXPECT_NEAR(s.cosObliquity, std::cos(23.43929111 * M_PI / 180.0), 1e-4);
    EXPECT_NEAR(s.siderealDeg, 280.46, 0.01); // GMST at J2000.0
    EXPECT_DOUBLE_EQ(s.latitudeDeg, greenwich[0]);
    EXPECT_DOUBLE_EQ(s.altitudeM, greenwich[2]);
    for (int i = 0; i < 9; ++i)
        EXPECT_NEAR(s.precessionToJ2000.m[i], (i % 4 == 0) ? 1.0 : 0.0, 1e-9) << i;
}

TEST(SkyContext, ZoneAndLongitudeEnterWhereTheyBelong)
{
    // 21:00 at zone +9 is 12:00 UT; 135 degrees east adds 9 hours of sidereal time.
    const double tokyo[3] = {35.68, 135.0, 40.0};
    DateTime d = date(2000, 1, 1, 21, 0, 0.0, 9.0);
    SkyContext s{};
    skyContextFromDate(&d, tokyo, &s);
    EXPECT_NEAR(s.jd, 2451545.0, 1e-9);
    EXPECT_NEAR(s.siderealDeg, std::fmod(280.46 + 135.0, 360.0), 0.01);

    SkyContext fromJd{};
    skyContextFromJd(2451545.0, 9.0, tokyo, &fromJd);
    EXPECT_EQ(fromJd.date.year, 2000);
    EXPECT_EQ(fromJd.date.day, 1);
    EXPECT_EQ(fromJd.date.hour, 21);
    EXPECT_DOUBLE_EQ(fromJd.date.zone, 9.0);
    EXPECT_NEAR(fromJd.jd, 2451545.0, 1e-6);
}

TEST(SkyContext, PrecessionCarriesTheEquinoxOfTheDateToJ2000)
{
    DateTime d = date(2050, 1, 1, 12, 0, 0.0, 0.0);
    SkyContext s{};
    skyContextFromDate(&d, greenwich, &s);
    EXPECT_NEAR(s.centuriesJ2000, 0.5, 1e-4);
    // The pole of the date lies about 0.28 degrees from the J2000 pole.
    Vec3 pole = {0, 0, 1}, out;
    mat3MulVec(&pole, &s.precessionToJ2000, &out);
    double tilt = std::acos(out.z) * 180.0 / M_PI;
    EXPECT_NEAR(tilt, 0.278, 0.005);
    // Updating after a change of the date recomputes every derived field.
    s.date.year = 2000;
    skyContextUpdate(&s);
    EXPECT_NEAR(s.centuriesJ2000, 0.0, 1e-9);
}

std::time_t fixedNoon() { return 946728000; } // 2000-01-01 12:00:00 UTC

class Clock : public ::testing::Test {
protected:
    void SetUp() override
    {
        resetTestAppData();
        const char *tz = std::getenv("TZ");
        savedTz = tz ? tz : "";
        hadTz = tz != nullptr;
        setenv("TZ", "UTC", 1);
        tzset();
    }
    void TearDown() override
    {
        setClockSource(nullptr);
        if (hadTz)
            setenv("TZ", savedTz.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    std::string savedTz;
    bool hadTz = false;
};

TEST_F(Clock, TimeNowReadsTheInjectedClockWithTheSiteZone)
{
    setClockSource(fixedNoon);
    appData->siteZoneHours = 9.0;
    DateTime d{};
    timeNow(&d);
    EXPECT_EQ(d.year, 2000);
    EXPECT_EQ(d.month, 1);
    EXPECT_EQ(d.day, 1);
    EXPECT_EQ(d.hour, 12);
    EXPECT_EQ(d.minute, 0);
    EXPECT_DOUBLE_EQ(d.second, 0.0);
    EXPECT_DOUBLE_EQ(d.zone, 9.0);
    setClockSource(nullptr);
    timeNow(&d);
    EXPECT_GE(d.year, 2020); // the system clock again
}

TEST_F(Clock, EnvironmentClockTakesOnlyAPlainCountOfSecondsInRange)
{
    struct Case {
        const char *text;
        int ok;
        long long seconds;
    } cases[] = {
        {"1706220000", 1, 1706220000LL}, // 2024-01-25 22:00 UTC
        {"0", 1, 0},
        {"-86400", 1, -86400},
        {"253402300799", 1, 253402300799LL},  // 9999-12-31 23:59:59, the last
        {"253402300800", 0, 0},               // year 10000
        {"-62135596801", 0, 0},               // before year 1
        {"", 0, 0},
        {"17062x", 0, 0},
        {"1706220000 ", 0, 0},
        {"99999999999999999999999", 0, 0},    // overflows, and too long
        {"1e9", 0, 0},
    };
    for (const Case &c : cases) {
        std::time_t t = 42;
        EXPECT_EQ(c.ok, clockFromEnvironment(c.text, &t)) << c.text;
        EXPECT_EQ(c.ok ? c.seconds : 42, static_cast<long long>(t)) << c.text;
    }
    EXPECT_EQ(0, clockFromEnvironment(nullptr, nullptr));

    // The real program's clock with nothing injected reads the variable.
    setenv("TAVIK_CLOCK", "1706220000", 1);
    appData->siteZoneHours = 0.0;
    DateTime d{};
    timeNow(&d);
    unsetenv("TAVIK_CLOCK");
    EXPECT_EQ(2024, d.year);
    EXPECT_EQ(1, d.month);
    EXPECT_EQ(25, d.day);
    EXPECT_EQ(22, d.hour);
    EXPECT_EQ(0, d.minute);
}

TEST_F(Clock, TimeAddCarriesAndRefusesYearsOutOfRange)
{
    struct Case {
        DateTime from;
        TimeStep step;
        int subtract, ok;
        int year, month, day, hour, minute;
    } cases[] = {
        {date(2000, 1, 31, 0, 0, 0, 0), {0, 1, 0, 0, 0, 0}, 0, 1, 2000, 3, 2, 0, 0},
        {date(2000, 12, 31, 23, 59, 0, 0), {0, 0, 0, 0, 1, 0}, 0, 1, 2001, 1, 1, 0, 0},
        {date(2000, 3, 1, 0, 0, 0, 0), {0, 0, 1, 0, 0, 0}, 1, 1, 2000, 2, 29, 0, 0},
        {date(30000, 12, 31, 12, 0, 0, 0), {0, 0, 1, 0, 0, 0}, 0, 0, 30000, 12, 31, 12, 0},
        {date(-29999, 1, 1, 0, 0, 0, 0), {1, 0, 0, 0, 0, 0}, 1, 0, -29999, 1, 1, 0, 0},
    };
    for (const Case &c : cases) {
        DateTime d = c.from;
        EXPECT_EQ(timeAdd(&d, &c.step, c.subtract), c.ok) << c.from.year;
        EXPECT_EQ(d.year, c.year);
        EXPECT_EQ(d.month, c.month);
        EXPECT_EQ(d.day, c.day);
        EXPECT_EQ(d.hour, c.hour);
        EXPECT_EQ(d.minute, c.minute);
    }
}

TEST_F(Clock, ShiftToZoneMovesTheClockFieldsByHalfHoursToo)
{
    struct Case {
        double from, to;
        int day, hour, minute;
    } cases[] = {
        {0.0, 5.5, 1, 6, 0}, {0.0, -1.0, 31, 23, 30}, {9.0, 9.0, 1, 0, 30}, {1.0, -4.75, 31, 18, 45},
    };
    for (const Case &c : cases) {
        DateTime d = date(2000, 1, 1, 0, 30, 0, c.from);
        EXPECT_EQ(timeShiftToZone(&d, c.to), 1);
        EXPECT_EQ(d.day, c.day) << c.to;
        EXPECT_EQ(d.hour, c.hour) << c.to;
        EXPECT_EQ(d.minute, c.minute) << c.to;
        EXPECT_DOUBLE_EQ(d.zone, c.from) << "the caller stores the new zone";
    }
    DateTime odd = date(2000, 1, 1, 10, 75, 0, 2.0);
    EXPECT_EQ(timeNormalize(&odd), 1);
    EXPECT_EQ(odd.hour, 11);
    EXPECT_EQ(odd.minute, 15);
}

} // namespace
