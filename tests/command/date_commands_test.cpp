// DATE, INCTIME, DECTIME, STIME, TIMESYS, LOCATE and MODE through the
// interpreter, on a fixed clock; the time lock in the frame; the clock base
// of playing when the date is set.
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "../astro/rise_reference_data.h"
#include "command/commands.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/command_error.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "model/view_geometry.h"
#include "render/frame.h"

namespace {

// 2000-01-01 00:00:00 UTC.
constexpr std::time_t kFixedClock = 946684800;
constexpr double kUnixEpochJd = 2440587.5;
constexpr double kMinute = 1.0 / 1440.0;

std::time_t fixedClock() { return kFixedClock; }

struct Clock {
    int year, month, day, hour, minute;
    double second, zone;
};

class DateCommands : public ::testing::Test {
protected:
    void SetUp() override
    {
        const char *tz = std::getenv("TZ");
        savedTz = tz ? tz : "";
        hadTz = tz != nullptr;
        setTz("UTC0");
        appDataSetDefaults();
        chart = new ChartState();
        chartStateSetDefaults(chart);
        uiHooksRecordMessages();
        setClockSource(fixedClock);
        chartFrameServices = kFrameServices;
        // The starting moment and site are set by the commands under test.
        run("DATE 2000,1,1,0,0,0,0");
        run("LOCATE 0E,0N,0,0,\"Origin\"");
    }
    void TearDown() override
    {
        setClockSource(nullptr);
        uiHooksReset();
        chartStateFreeTables(chart);
        delete chart;
        if (hadTz)
            setTz(savedTz.c_str());
        else {
            unsetenv("TZ");
            tzset();
        }
    }
    static void setTz(const char *tz)
    {
        setenv("TZ", tz, 1);
        tzset();
    }
    // Runs text and returns the error id it left ("" when none).
    std::string run(const char *text)
    {
        stkExecute(chart, text);
        return appData->errorId;
    }
    Clock clock() const
    {
        const DateTime &d = chart->sky.date;
        return {d.year, d.month, d.day, d.hour, d.minute, d.second, d.zone};
    }
    ChartState *chart = nullptr;
    std::string savedTz;
    bool hadTz = false;
};

void expectClock(const Clock &got, const Clock &want, const std::string &what)
{
    EXPECT_EQ(got.year, want.year) << what;
    EXPECT_EQ(got.month, want.month) << what;
    EXPECT_EQ(got.day, want.day) << what;
    EXPECT_EQ(got.hour, want.hour) << what;
    EXPECT_EQ(got.minute, want.minute) << what;
    EXPECT_NEAR(got.second, want.second, 1e-6) << what;
    EXPECT_DOUBLE_EQ(got.zone, want.zone) << what;
}

struct DateCase {
    const char *what;
    const char *setup;   // run first, must succeed
    const char *command;
    const char *error;   // "" when the command must succeed
    Clock after;
};

const DateCase kDateCases[] = {
    {"a full date with its zone", "", "DATE 1999,12,31,23,59,45,9", "", {1999, 12, 31, 23, 59, 45, 9}},
    {"an omitted hour, minute, second and zone are kept", "DATE 2010,5,6,7,8,9,2", "DATE 2000,1,1", "",
     {2000, 1, 1, 7, 8, 9, 2}},
    {"DATE ,,,12 changes only the hour", "DATE 2010,5,6,7,8,9,2", "DATE ,,,12", "", {2010, 5, 6, 12, 8, 9, 2}},
    {"29 February of a common year is refused, the date kept", "DATE 2001,2,28,10,0,0,0", "DATE 2001,2,29",
     "stkErrorIllegalParam", {2001, 2, 28, 10, 0, 0, 0}},
    {"an hour past midnight is carried into the next day", "", "DATE 2000,1,1,30", "", {2000, 1, 2, 6, 0, 0, 0}},
    {"in UT the zone parameter is ignored", "TIMESYS UT", "DATE 2000,3,1,12,0,0,9", "", {2000, 3, 1, 12, 0, 0, 0}},
    {"DATE NOW in UT: the local clock with the default site's zone", "TIMESYS UT", "DATE NOW", "",
     {2000, 1, 1, 9, 0, 0, 5.5}},
    {"year 99999999999 is refused", "", "DATE 99999999999", "stkErrorIllegalParam", {2000, 1, 1, 0, 0, 0, 0}},
    {"1e308 seconds are refused", "", "DATE ,,,,,1e308", "stkErrorIllegalParam", {2000, 1, 1, 0, 0, 0, 0}},
    {"a zone of 25 hours is refused", "", "DATE ,,,,,,25", "stkErrorIllegalParam", {2000, 1, 1, 0, 0, 0, 0}},
    {"a normalisation past year 30000 is refused", "DATE 30000,12,31,23,0,0,0", "DATE ,,,36",
     "stkErrorIllegalParam", {30000, 12, 31, 23, 0, 0, 0}},
    {"INCTIME 30 s carries into minutes, hours, days, months and years", "DATE 1999,12,31,23,59,45,0",
     "INCTIME 0,0,0,0,0,30", "", {2000, 1, 1, 0, 0, 15, 0}},
    {"DECTIME goes back a month and a day", "DATE 2000,3,15,12,0,0,0", "DECTIME 0,1,1", "",
     {2000, 2, 14, 12, 0, 0, 0}},
    {"year 30000 plus one year stays, without an error", "DATE 30000,6,1,0,0,0,0", "INCTIME 1", "",
     {30000, 6, 1, 0, 0, 0, 0}},
    {"INCTIME 2147483647 years stays, without an error", "", "INCTIME 2147483647", "", {2000, 1, 1, 0, 0, 0, 0}},
    {"INCTIME 1e300 seconds stays, without an error", "", "INCTIME 0,0,0,0,0,1e300", "", {2000, 1, 1, 0, 0, 0, 0}},
    {"DECTIME -1e300 seconds stays, without an error", "", "DECTIME 0,0,0,0,0,-1e300", "",
     {2000, 1, 1, 0, 0, 0, 0}},
    {"TIMESYS UT then LST gives the same reading", "DATE 2000,6,15,12,30,0,9", "TIMESYS UT;TIMESYS LST", "",
     {2000, 6, 15, 12, 30, 0, 9}},
    {"TIMESYS UT reads the instant at zone 0", "DATE 2000,6,15,12,30,0,9", "TIMESYS UT", "",
     {2000, 6, 15, 3, 30, 0, 0}},
    {"LMT at longitude 135 is zone 9", "LOCATE 135E", "TIMESYS LMT", "", {2000, 1, 1, 9, 0, 0, 9}},
    {"LOCATE in LMT moves the clock with the longitude", "TIMESYS LMT", "LOCATE 90W", "",
     {1999, 12, 31, 18, 0, 0, -6}},
    {"LOCATE's zone moves the clock in LST", "", "LOCATE ,,-5", "", {1999, 12, 31, 19, 0, 0, -5}},
    {"LOCATE's zone is ignored in UT", "TIMESYS UT", "LOCATE ,,-5", "", {2000, 1, 1, 0, 0, 0, 0}},
    {"a clock that would leave year 30000 in the new zone is refused, not relabelled",
     "DATE 30000,12,31,23,0,0,-5", "TIMESYS UT", "stkErrorIllegalParam", {30000, 12, 31, 23, 0, 0, -5}},
    {"TIMESYS with an unknown word is refused", "", "TIMESYS GMT", "stkErrorIllegalParam",
     {2000, 1, 1, 0, 0, 0, 0}},
};

TEST_F(DateCommands, DateAndTimeTableOnAFixedClock)
{
    setTz("JST-9");
    appData->siteZoneHours = 5.5;
    for (const DateCase &c : kDateCases) {
        run("TIMESYS LST;DATE 2000,1,1,0,0,0,0;LOCATE 0E,0N,0,0");
        ASSERT_EQ(run(c.setup), "") << c.what;
        EXPECT_EQ(run(c.command), c.error) << c.what;
        expectClock(clock(), c.after, c.what);
    }
}

TEST_F(DateCommands, DateSetsTheDerivedMomentAndInLstTheSiteZone)
{
    run("DATE 2000,1,1,21,0,0,9");
    EXPECT_NEAR(chart->sky.jd, 2451545.0, 1e-9) << "J2000.0 read in zone 9";
    EXPECT_DOUBLE_EQ(chart->zoneHours, 9.0);
    run("DATE 2000,1,1,0,0,0,3.5");
    EXPECT_DOUBLE_EQ(chart->zoneHours, 3.5);
    run("TIMESYS UT;DATE 2000,1,1,0,0,0,7");
    EXPECT_DOUBLE_EQ(chart->zoneHours, 3.5) << "UT keeps the site's zone";
}

struct LocateCase {
    const char *what;
    const char *command;
    const char *error;
    double longitude, latitude, altitude, zoneHours;
    const char *name;
};

// From the site 139.7E 35.7N 40 m, zone 9, "Tokyo".
const LocateCase kLocateCases[] = {
    {"an absolute site", "LOCATE 139.7E,35.7N,9,40,\"Tokyo\"", "", 139.7, 35.7, 40, 9, "Tokyo"},
    {"+1 moves one degree east", "LOCATE +1", "", 140.7, 35.7, 40, 9, "Tokyo"},
    {"-1.5 moves west, -2 south", "LOCATE -1.5,-2", "", 138.2, 33.7, 40, 9, "Tokyo"},
    {"W and S negate", "LOCATE 77.0W,12.5S", "", -77.0, -12.5, 40, 9, "Tokyo"},
    {"190 wraps to -170", "LOCATE 190", "", -170, 35.7, 40, 9, "Tokyo"},
    {"1000 wraps fully, to -80", "LOCATE 1000", "", -80, 35.7, 40, 9, "Tokyo"},
    {"-180 is 180", "LOCATE 180W", "", 180, 35.7, 40, 9, "Tokyo"},
    {"latitude 91 is clamped to 90", "LOCATE ,91", "", 139.7, 90, 40, 9, "Tokyo"},
    {"a relative step past the pole is clamped", "LOCATE ,+100", "", 139.7, 90, 40, 9, "Tokyo"},
    {"zone 25 is refused, nothing changes", "LOCATE 10E,10N,25,5,\"X\"", "stkErrorIllegalParam", 139.7, 35.7, 40,
     9, "Tokyo"},
    {"LOCATE ,,25 is refused", "LOCATE ,,25", "stkErrorIllegalParam", 139.7, 35.7, 40, 9, "Tokyo"},
    {"an altitude of 1e9 m is refused", "LOCATE 10E,,,1e9", "stkErrorIllegalParam", 139.7, 35.7, 40, 9, "Tokyo"},
    {"an altitude of -1001 m is refused", "LOCATE ,,,-1001", "stkErrorIllegalParam", 139.7, 35.7, 40, 9,
     "Tokyo"},
    // Cut, not refused: the rest of the statement was good.
    {"a name of 64 characters is cut to 63, the rest is taken",
     "LOCATE 1E,,,,\"0123456789012345678901234567890123456789012345678901234567890123\"", "", 1, 35.7, 40, 9,
     "012345678901234567890123456789012345678901234567890123456789012"},
    {"a name of 63 characters is taken",
     "LOCATE ,,,,\"012345678901234567890123456789012345678901234567890123456789012\"", "", 139.7, 35.7, 40, 9,
     "012345678901234567890123456789012345678901234567890123456789012"},
};

TEST_F(DateCommands, LocateTable)
{
    for (const LocateCase &c : kLocateCases) {
        run("LOCATE 139.7E,35.7N,9,40,\"Tokyo\"");
        EXPECT_EQ(run(c.command), c.error) << c.what;
        EXPECT_NEAR(chart->sky.longitudeDeg, c.longitude, 1e-9) << c.what;
        EXPECT_NEAR(chart->sky.latitudeDeg, c.latitude, 1e-9) << c.what;
        EXPECT_DOUBLE_EQ(chart->sky.altitudeM, c.altitude) << c.what;
        EXPECT_DOUBLE_EQ(chart->zoneHours, c.zoneHours) << c.what;
        EXPECT_DOUBLE_EQ(chart->sky.date.zone, c.zoneHours) << c.what;
        EXPECT_STREQ(chart->siteName, c.name) << c.what;
    }
}

TEST_F(DateCommands, LocateMovesTheSiderealTimeWithTheLongitude)
{
    run("LOCATE 0E");
    const double greenwich = chart->sky.siderealDeg;
    run("LOCATE 90E");
    EXPECT_NEAR(std::remainder(chart->sky.siderealDeg - greenwich - 90.0, 360.0), 0.0, 1e-9);
    EXPECT_DOUBLE_EQ(chart->sky.jd, 2451544.5) << "the zone stays, so the instant does";
}

TEST_F(DateCommands, HostileLocateValuesAreRefusedOrHarmless)
{
    EXPECT_EQ(run("LOCATE 1e308"), "");
    EXPECT_TRUE(chart->sky.longitudeDeg > -180.0 && chart->sky.longitudeDeg <= 180.0);
    EXPECT_TRUE(std::isfinite(chart->sky.siderealDeg));
    EXPECT_EQ(run("LOCATE ,-1e308"), "");
    EXPECT_EQ(chart->sky.latitudeDeg, -90.0);
    EXPECT_EQ(run("LOCATE ,,1e9"), "stkErrorIllegalParam");
    EXPECT_EQ(chart->zoneHours, 0.0);
    EXPECT_EQ(run("LOCATE ,,,1e9"), "stkErrorIllegalParam");
    EXPECT_EQ(chart->sky.altitudeM, 0.0);
}

// A long name is cut at 63 bytes, but never inside a character of the
// locale's encoding: a half character would show as garbage.
TEST_F(DateCommands, ALongSiteNameIsCutBetweenCharacters)
{
    const std::string ascii62(62, 'a');
    const struct {
        const char *locale;
        std::string name, kept;
    } cases[] = {
        {"C.UTF-8", ascii62 + "\xc3\xa9" + "x", ascii62},          // e acute: 2 bytes past byte 63
        {"C.UTF-8", ascii62 + "e\xc3\xa9", ascii62 + "e"},
        {"C.UTF-8", std::string(30, 'b') + "\xe3\x81\x82" + std::string(40, 'c'),
         std::string(30, 'b') + "\xe3\x81\x82" + std::string(30, 'c')},
        {"C.UTF-8", std::string(61, 'a') + "\xe3\x81\x82", std::string(61, 'a')}, // a 3-byte character at 62
        {"C", ascii62 + "\xc3\xa9", ascii62 + "\xc3"},          // no multibyte encoding: bytes
    };
    const std::string saved = std::setlocale(LC_CTYPE, nullptr);
    for (const auto &c : cases) {
        if (!std::setlocale(LC_CTYPE, c.locale)) {
            std::setlocale(LC_CTYPE, saved.c_str());
            GTEST_SKIP() << "no locale " << c.locale;
        }
        run(("LOCATE ,,,,\"" + c.name + "\"").c_str());
        EXPECT_STREQ(appData->errorId, "") << c.locale << " " << c.name;
        EXPECT_EQ(std::string(chart->siteName), c.kept) << c.locale << " " << c.name;
    }
    std::setlocale(LC_CTYPE, saved.c_str());
}

TEST_F(DateCommands, ASceneStatementNameThatWouldBreakCommandTextIsRefusedWhole)
{
    // A scene hands each line to stkDispatch unsplit, so ";" and quotes
    // arrive inside the name; written back between quotes they would end
    // the name or the statement.
    const char *names[] = {"A;B", "a\"b", "a\rb", "a\nb"};
    for (const char *n : names) {
        run("LOCATE 139.7E,35.7N,9,40,\"Tokyo\"");
        std::string name = n;
        char p0[] = "1", p1[] = "2", p2[] = "0", p3[] = "0";
        char *params[kStkMaxParams] = {p0, p1, p2, p3, &name[0]};
        stkClearError();
        stkDispatch(chart, "LOCATE", params);
        EXPECT_STREQ(appData->errorId, "stkErrorIllegalParam") << n;
        EXPECT_STREQ(appData->errorArg, n);
        EXPECT_NEAR(chart->sky.longitudeDeg, 139.7, 1e-12) << n;
        EXPECT_NEAR(chart->sky.latitudeDeg, 35.7, 1e-12) << n;
        EXPECT_EQ(chart->zoneHours, 9.0) << n;
        EXPECT_EQ(chart->sky.date.hour, 9) << n;
        EXPECT_STREQ(chart->siteName, "Tokyo") << n;
    }
}

struct StimeCase {
    const char *what;
    const char *command;
    const char *error;
    int kind, value;
};

// From a lock of sunset + 30 minutes.
const StimeCase kStimeCases[] = {
    {"sunset at -6 degrees", "STIME SUNSET -6DEG", "", 4, -6},
    {"sunrise at 10 degrees, any case", "stime sunrise 10deg", "", 3, 10},
    {"sunrise 10 minutes before", "STIME SUNRISE -10MIN", "", 1, -10},
    {"sunrise alone", "STIME SUNRISE", "", 1, 0},
    {"a number without unit is refused and clears the lock", "STIME SUNRISE 20", "stkErrorIllegalParam", 0, 0},
    {"NONE clears the lock", "STIME NONE", "", 0, 0},
    {"an unknown kind is refused, the lock kept", "STIME NOON", "stkErrorIllegalParam", 2, 30},
    {"a missing kind is refused, the lock kept", "STIME", "stkErrorIllegalParam", 2, 30},
};

TEST_F(DateCommands, StimeTable)
{
    for (const StimeCase &c : kStimeCases) {
        run("STIME SUNSET 30MIN");
        ASSERT_EQ(chart->timeLockKind, 2);
        EXPECT_EQ(run(c.command), c.error) << c.what;
        EXPECT_EQ(chart->timeLockKind, c.kind) << c.what;
        EXPECT_EQ(chart->timeLockValue, c.value) << c.what;
    }
}

TEST_F(DateCommands, StimeLooksAtSixtyThreeCharactersOfTheOffset)
{
    // A 250-character offset, as a scene line could bring it: the unit lies
    // beyond what is examined, so it is refused and the lock cleared.
    std::string offset(247, '1');
    offset += "MIN";
    char kind[] = "SUNRISE";
    char *params[kStkMaxParams] = {kind, &offset[0]};
    run("STIME SUNSET 30MIN");
    stkClearError();
    stkDispatch(chart, "STIME", params);
    EXPECT_STREQ(appData->errorId, "stkErrorIllegalParam");
    EXPECT_EQ(chart->timeLockKind, 0);
    EXPECT_EQ(chart->timeLockValue, 0);
}

TEST_F(DateCommands, FrameLocksTheMomentToSunsetPlusThirtyMinutes)
{
    // The first reference site on its first day; the sunset comes from an
    // independent library (tools/rise_set_refs.py).
    const RiseReferenceSite &s = kRiseReferenceSites[0];
    const RiseReferenceEvent *sunset = nullptr;
    for (const RiseReferenceEvent &e : kRiseReferenceEvents)
        if (e.site == 0 && e.kind == -2 && e.event == 3 && e.altitude == 0.0 && e.found) {
            sunset = &e;
            break;
        }
    ASSERT_NE(sunset, nullptr);
    char text[200];
    std::snprintf(text, sizeof text, "DATE %d,%d,%d,10,0,0,%g;LOCATE %.4fE,%.4fN,%g,%g;STIME SUNSET 30MIN",
                  sunset->year, sunset->month, sunset->day, s.zoneHours, s.longitudeDeg, s.latitudeDeg,
                  s.zoneHours, s.heightM);
    ASSERT_EQ(run(text), "");
    chartApplyTimeLock(chart);
    EXPECT_NEAR(chart->sky.jd, sunset->jd + 30 * kMinute, 2 * kMinute);
    EXPECT_EQ(chart->sky.date.zone, s.zoneHours) << "the clock stays in the chart's zone";

    run("STIME SUNRISE -6DEG");
    chartApplyTimeLock(chart);
    EXPECT_LT(chart->sky.jd, sunset->jd - 0.25) << "dawn, not dusk";

    // Altitudes the Sun never reaches lock nothing: the chart keeps its moment.
    const double before = chart->sky.jd;
    run("STIME SUNRISE 99999999999DEG");
    EXPECT_EQ(chart->timeLockValue, 2147483647);
    chartApplyTimeLock(chart);
    EXPECT_EQ(chart->sky.jd, before);
    run("STIME SUNSET -99999999999DEG;LOCATE +1");
    EXPECT_EQ(chart->timeLockKind, 0) << "no such sunset at the new site either";
}

TEST_F(DateCommands, LocateAtTheMidnightSunDropsASunsetLockWithOneWarning)
{
    run("DATE 2026,6,21,12,0,0,1;LOCATE 15E,60N,1,0;STIME SUNSET");
    ASSERT_EQ(uiHooksRecordedMessageCount(), 0) << "the Sun sets at 60 N";
    ASSERT_EQ(chart->timeLockKind, 2);
    EXPECT_EQ(run("LOCATE ,78"), "") << "the site change stays: no error";
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "The sun will not set here, time lock unset.");
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_EQ(chart->timeLockKind, 0);
    EXPECT_EQ(chart->sky.latitudeDeg, 78.0);

    run("STIME SUNRISE 10MIN;LOCATE ,70S");
    ASSERT_EQ(uiHooksRecordedMessageCount(), 2) << "polar night";
    EXPECT_STREQ(uiHooksRecordedMessageText(1), "The sun will not rise here, time lock unset.");
    EXPECT_EQ(chart->timeLockKind, 0);
}

void layOut(ChartState *chart)
{
    chart->chartRect = ChartRect{0, 0, 400, 300};
    updateViewScale(chart);
    updateViewMatrix(chart);
}

// The J2000 direction at the centre of an equatorial, ecliptic or galactic
// view: the view matrix's first row.
Vec3 viewCentre(ChartState *chart)
{
    layOut(chart);
    const Mat3 &m = chart->viewMatrix;
    return Vec3{m.m[0], m.m[1], m.m[2]};
}

// The J2000 direction of a horizontal azimuth (from the south through the
// west) and altitude: the horizon frame has x south, y east, z up.
Vec3 horizontalDirection(ChartState *chart, double azDeg, double altDeg)
{
    layOut(chart);
    const double d = std::acos(-1.0) / 180.0;
    const double h[3] = {std::cos(altDeg * d) * std::cos(azDeg * d), -std::cos(altDeg * d) * std::sin(azDeg * d),
                         std::sin(altDeg * d)};
    const Mat3 &m = chart->horizonMatrix;
    return Vec3{m.m[0] * h[0] + m.m[3] * h[1] + m.m[6] * h[2], m.m[1] * h[0] + m.m[4] * h[1] + m.m[7] * h[2],
                m.m[2] * h[0] + m.m[5] * h[1] + m.m[8] * h[2]};
}

// The trigonometry of the conversions reads its sines at 0.0001 degree
// steps, about 1.7e-6 in a unit vector; a centre that moved would be off by
// far more.
constexpr double kDirectionTolerance = 5e-6;

TEST_F(DateCommands, ModeKeepsTheSkyPointAtTheCentre)
{
    run("DATE 2000,6,15,22,0,0,9;LOCATE 139.7E,35.7N,9");
    chart->centerHrz[0] = 200.0; // north-east, 50 degrees up
    chart->centerHrz[1] = 50.0;
    const Vec3 before = horizontalDirection(chart, 200.0, 50.0);
    const char *modes[] = {"MODE EQT", "MODE ECL", "MODE GAL", "MODE SOL1", "MODE EQT"};
    for (const char *m : modes) {
        ASSERT_EQ(run(m), "") << m;
        EXPECT_EQ(chart->modeChanged, 1);
        if (chartModeKind(chart->mode) != kKindSky)
            continue;
        const Vec3 after = viewCentre(chart);
        EXPECT_NEAR(after.x, before.x, kDirectionTolerance) << m;
        EXPECT_NEAR(after.y, before.y, kDirectionTolerance) << m;
        EXPECT_NEAR(after.z, before.z, kDirectionTolerance) << m;
    }
    chart->centerHrz[0] = chart->centerHrz[1] = 0.0;
    ASSERT_EQ(run("MODE HRZ"), "");
    EXPECT_NEAR(chart->centerHrz[0], 200.0, 5e-4) << "after five conversions";
    EXPECT_NEAR(chart->centerHrz[1], 50.0, 5e-4);
}

TEST_F(DateCommands, ModeHrzWithTheCentreBelowTheHorizonCentresAtAltitudeZero)
{
    run("LOCATE 139.7E,35.7N,9;MODE EQT");
    chart->centerMode[0] = 0.0; // the south celestial pole, never up at 35.7 N
    chart->centerMode[1] = -90.0;
    ASSERT_EQ(run("MODE HRZ"), "");
    EXPECT_EQ(chart->centerHrz[1], 0.0);
    EXPECT_NEAR(std::remainder(chart->centerHrz[0], 360.0), 0.0, 1e-6) << "due south";
}

struct TargetCase {
    const char *what;
    int32_t trackIndex;
    int32_t lockBit;
    const char *mode;
    int stateAfter;
};

const TargetCase kTargetCases[] = {
    {"SOL2 drops the Moon", -1, 0, "MODE SOL2", 0},
    {"SOL2 drops the Moon also with the lock bit", -1, kTrackKindLockBit, "MODE SOL2", 0},
    {"EQT keeps the Moon", -1, 0, "MODE EQT", 1},
    {"HRZ drops the Earth, also with the lock bit", -3, kTrackKindLockBit, "MODE HRZ", 0},
    {"SOL1 keeps the Earth", -3, 0, "MODE SOL1", 1},
    {"SOL3 keeps Mars", 3, 0, "MODE SOL3", 1},
};

TEST_F(DateCommands, ModeDropsATargetTheNewViewCannotShow)
{
    for (const TargetCase &c : kTargetCases) {
        run("MODE HRZ");
        chart->trackState = kTrackLook;
        chart->trackKind = kPosBody | c.lockBit;
        chart->trackIndex = c.trackIndex;
        run(c.mode);
        EXPECT_EQ(chart->trackState, c.stateAfter) << c.what;
    }
}

TEST_F(DateCommands, ModeRefusesAnUnknownWord)
{
    EXPECT_EQ(run("MODE XYZ"), "stkErrorIllegalParam");
    EXPECT_STREQ(appData->errorArg, "XYZ");
    EXPECT_EQ(run("MODE"), "stkErrorIllegalParam");
    EXPECT_EQ(chart->mode, kModeHrz);
}

TEST_F(DateCommands, SettingTheDateRebasesAClockPlayFromABase)
{
    // "CONTINUE REALTIME2" plays from a base whatever REALTIME chose.
    chart->playing = 1;
    chart->playKind = kPlayClockFromBase;
    chart->realTimeMode = kPlayByPeriod;
    // The clock reads the local time (here UTC) as if it were in the chart's zone.
    const double utcClockJd = kUnixEpochJd + kFixedClock / 86400.0;
    const char *commands[] = {"DATE 2001,2,3,4,5,6", "INCTIME 0,0,1", "DECTIME 1", "DATE NOW"};
    for (const char *c : commands) {
        chart->playBaseJd = 0.0;
        ASSERT_EQ(run(c), "") << c;
        EXPECT_NEAR(chart->playBaseJd, utcClockJd - chart->sky.date.zone / 24.0, 1e-9) << c;
        expectClock({chart->playBaseDate.year, chart->playBaseDate.month, chart->playBaseDate.day,
                     chart->playBaseDate.hour, chart->playBaseDate.minute, chart->playBaseDate.second,
                     chart->playBaseDate.zone},
                    clock(), c);
    }
    chart->playKind = kPlayClock;
    chart->realTimeMode = kPlayClockFromBase;
    chart->playBaseJd = 0.0;
    run("DATE 2001,2,3");
    EXPECT_EQ(chart->playBaseJd, 0.0) << "following the clock itself has no base";
}

} // namespace
