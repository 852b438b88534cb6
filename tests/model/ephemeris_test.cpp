// The ephemeris update over counting stand-ins for the theories: what is
// recomputed, what is skipped, and how failing comets and minor planets are
// hidden and reported.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "astro/eclipse.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "model/position.h"
#include "model/sky_context.h"

namespace {

struct Counts {
    int sun, moon, moonAge, planet[kPlanetCount], phase, galilean, smallBody, ionTail, dustTail;
    bool failSmallBody, failIon, failDust;
};
Counts counts;

void countingSun(const SkyContext *, SunRecord *out)
{
    ++counts.sun;
    out->raJ2000Deg = 100.0;
    out->decJ2000Deg = 20.0;
    out->distanceAu = 1.0;
    out->semidiameterDeg = 0.27;
    out->eclipseMagnitude = -1.0;
}
void countingMoon(const SkyContext *sky, MoonRecord *out, const SunRecord *, int level)
{
    ++counts.moon;
    out->raJ2000Deg = 200.0;
    out->decJ2000Deg = -10.0;
    out->semidiameterDeg = 0.25;
    out->siteLatitudeDeg = sky->latitudeDeg;
    out->siteLongitudeDeg = sky->longitudeDeg;
    out->siteAltitudeM = sky->altitudeM;
    out->level = level;
}
double countingMoonAge(double, const SunRecord *, const MoonRecord *)
{
    ++counts.moonAge;
    return 14.5;
}
void countingPlanet(int planet, const SkyContext *, const SunRecord *, SolarBodyRecord *out, int)
{
    ++counts.planet[planet];
    out->raDeg = 10.0 * (planet + 1);
    out->deltaAu = 2.0;
}
void countingPhase(const double *, double, const double *, double, double *phase, double *limb)
{
    ++counts.phase;
    *phase = 0.75;
    *limb = 33.0;
}
void countingGalilean(const SkyContext *sky, const SolarBodyRecord *, GalileanMoonRow out[4])
{
    ++counts.galilean;
    out[0].jd = sky->jd;
}
int countingSmallBody(const SkyContext *sky, const SunRecord *, const OrbitalElements *, BodyPosition *out)
{
    ++counts.smallBody;
    if (counts.failSmallBody)
        return 0;
    out->jd = sky->jd;
    return 1;
}
int countingIonTail(const SkyContext *sky, const SunRecord *, const OrbitalElements *, CometTail *out)
{
    ++counts.ionTail;
    if (counts.failIon)
        return 0;
    out->ionJd = sky->jd;
    return 1;
}
int countingDustTail(const SkyContext *sky, const SunRecord *, const OrbitalElements *, CometTail *out)
{
    ++counts.dustTail;
    if (counts.failDust)
        return 0;
    out->dustJd = sky->jd;
    return 1;
}

constexpr int kComets = 2, kMinorPlanets = 2;

class EphemerisUpdate : public ::testing::Test {
protected:
    std::unique_ptr<ChartState> chart{new ChartState()};
    BodyPosition cometPos[kComets]{}, mpPos[kMinorPlanets]{};
    OrbitalElements cometEl[kComets]{}, mpEl[kMinorPlanets]{};
    CometTail tails[kComets]{};
    uint8_t cometFlags[kComets]{}, mpFlags[kMinorPlanets]{};

    void SetUp() override
    {
        appDataSetDefaults();
        counts = Counts{};
        ephemerisTheories = {countingSun,    countingMoon,     countingMoonAge,
                             countingPlanet, countingPhase,    countingGalilean,
                             countingSmallBody, countingIonTail, countingDustTail,
                             kEphemerisTheoriesDefault.recordError};
        chart.reset(new ChartState());
        for (int k = 0; k < kComets; ++k) {
            cometPos[k] = BodyPosition{};
            cometEl[k] = OrbitalElements{};
            tails[k] = CometTail{};
            cometFlags[k] = 0;
        }
        for (int j = 0; j < kMinorPlanets; ++j) {
            mpPos[j] = BodyPosition{};
            mpEl[j] = OrbitalElements{};
            mpFlags[j] = 0;
        }
        ChartState *c = chart.get();
        c->mode = kModeEqt;
        chartSetSite(c, 35.0, 139.0, 0.0);
        chartSetJd(c, 2460000.5, 9.0);
        c->lastEphemerisJd = kNeverJd;
        c->moon.level = 99;
        for (int i = 0; i < kPlanetCount; ++i) {
            c->planets[i].jd = 0.0;
            c->planets[i].level = 99;
        }
        for (int k = 0; k < kComets; ++k) {
            cometPos[k].type = 'C';
            std::snprintf(cometEl[k].name, sizeof cometEl[k].name, "%-30s", k ? "Halley" : "Encke");
        }
        for (int j = 0; j < kMinorPlanets; ++j) {
            mpPos[j].type = 'M';
            std::snprintf(mpEl[j].name, sizeof mpEl[j].name, "%-30s", j ? "Vesta" : "Ceres");
        }
        c->cometCount = kComets;
        c->cometPositions = cometPos;
        c->cometElements = cometEl;
        c->cometTails = tails;
        c->cometFlags = cometFlags;
        c->minorPlanetCount = kMinorPlanets;
        c->minorPlanetPositions = mpPos;
        c->minorPlanetElements = mpEl;
        c->minorPlanetFlags = mpFlags;
    }
    void TearDown() override
    {
        ephemerisTheories = kEphemerisTheoriesDefault;
        // The tables are this fixture's arrays, not malloc'd ones.
        chart->cometCount = chart->minorPlanetCount = 0;
    }

    // One frame: the update, then the frame drawer's stamp.
    void frame()
    {
        ephemUpdateAll(chart.get());
        chart->lastEphemerisJd = chart->sky.jd;
    }
    int planetCalls() const
    {
        int n = 0;
        for (int c : counts.planet)
            n += c;
        return n;
    }
};

TEST_F(EphemerisUpdate, SameDateTwiceRecomputesNoBodyButTheSunsHorizontalPlaceAndPhases)
{
    for (int i = 0; i < kPlanetCount; ++i)
        chart->planetFlags[i] = kBodyShown | kBodyDisk;
    chart->jupiterMoonFlags = kJmoonShown;
    cometFlags[0] = kBodyShown | kCometIonTail | kCometDustTail;
    mpFlags[0] = kBodyShown;
    frame();
    EXPECT_EQ(counts.sun, 1);
    EXPECT_EQ(counts.moon, 1);
    EXPECT_EQ(planetCalls(), kPlanetCount);
    EXPECT_EQ(counts.phase, kPlanetCount);
    EXPECT_EQ(counts.galilean, 1);
    EXPECT_EQ(counts.smallBody, 2);
    EXPECT_EQ(counts.ionTail, 1);
    EXPECT_EQ(counts.dustTail, 1);
    double altitude = chart->sun.altitudeDeg;

    // Same date at a site 60 degrees further east: the sidereal time moves on.
    chart->sun.azimuthDeg = chart->sun.altitudeDeg = -999.0;
    chartSetSite(chart.get(), 35.0, 199.0, 0.0);
    chart->planets[2].phase = 0.0;
    frame();
    EXPECT_EQ(counts.sun, 1);
    EXPECT_EQ(counts.moon, 2) << "the Moon is seen from the site: a new site recomputes it";
    EXPECT_EQ(planetCalls(), kPlanetCount);
    EXPECT_EQ(counts.galilean, 1);
    EXPECT_EQ(counts.smallBody, 2);
    EXPECT_EQ(counts.ionTail, 1);
    EXPECT_EQ(counts.dustTail, 1);
    EXPECT_EQ(counts.phase, 2 * kPlanetCount) << "disc phases are redone on every frame";
    EXPECT_DOUBLE_EQ(chart->planets[2].phase, 0.75);
    EXPECT_NE(chart->sun.altitudeDeg, -999.0) << "the Sun's horizontal place is redone";
    EXPECT_NE(chart->sun.altitudeDeg, altitude);

    // A new date recomputes everything shown.
    chartSetJd(chart.get(), chart->sky.jd + 1.0, 9.0);
    frame();
    EXPECT_EQ(counts.sun, 2);
    EXPECT_EQ(counts.moon, 3);
    EXPECT_EQ(planetCalls(), 2 * kPlanetCount);
    EXPECT_EQ(counts.smallBody, 4);
    EXPECT_EQ(counts.ionTail, 2);
}

TEST_F(EphemerisUpdate, HiddenBodiesAreSkippedButASelectedHiddenBodyIsComputed)
{
    struct Case {
        const char *name;
        int32_t hitKind, hitIndex;
        int sun, moon, planet3, galilean, smallBody;
    } cases[] = {
        {"nothing selected, everything hidden", 0, 0, 1, 1, 0, 0, 0},
        {"hidden Jupiter selected", kPosBody, 3, 1, 1, 1, 0, 0},
        {"a Galilean moon selected", kPosJupiterMoon, 2, 1, 1, 0, 1, 0},
        {"hidden comet 1 selected", kPosBody, kObjectCometBase + 1, 1, 1, 0, 0, 1},
        {"hidden minor planet 0 selected", kPosBody, kObjectMinorPlanetBase, 1, 1, 0, 0, 1},
    };
    for (const Case &c : cases) {
        SetUp();
        chart->clickFlags = c.hitKind ? 1 : 0;
        chart->hitKind = c.hitKind;
        chart->hitIndex = c.hitIndex;
        frame();
        EXPECT_EQ(counts.sun, c.sun) << c.name;
        EXPECT_EQ(counts.moon, c.moon) << c.name;
        EXPECT_EQ(counts.planet[3], c.planet3) << c.name;
        EXPECT_EQ(planetCalls(), c.planet3) << c.name;
        EXPECT_EQ(counts.galilean, c.galilean) << c.name;
        EXPECT_EQ(counts.smallBody, c.smallBody) << c.name;
        EXPECT_EQ(counts.phase, 0) << c.name << ": no disc bit, no phase";
    }
}

TEST_F(EphemerisUpdate, MoonIsSkippedInSolarSystemViewsUnlessSelected)
{
    chart->mode = kModeSol1;
    chart->sun.altitudeDeg = -999.0;
    frame();
    EXPECT_EQ(counts.moon, 0);
    EXPECT_EQ(chart->sun.altitudeDeg, -999.0) << "no horizontal place in a solar-system view";
    chartSetJd(chart.get(), chart->sky.jd + 1.0, 9.0);
    frame();
    EXPECT_EQ(counts.moon, 0);
    chart->clickFlags = 1;
    chart->hitKind = kPosBody;
    chart->hitIndex = -1;
    frame();
    EXPECT_EQ(counts.moon, 1);
    EXPECT_EQ(counts.moonAge, 1);
    EXPECT_DOUBLE_EQ(chart->moon.ageDays, 14.5);
}

TEST_F(EphemerisUpdate, MoonIsRecomputedWhenSiteOrLevelChanges)
{
    frame();
    ASSERT_EQ(counts.moon, 1);
    frame();
    EXPECT_EQ(counts.moon, 1) << "same date, site and level";
    chartSetSite(chart.get(), 35.0, 139.0, 500.0);
    frame();
    EXPECT_EQ(counts.moon, 2) << "new site altitude";
    chart->moon.level = 3;
    frame();
    EXPECT_EQ(counts.moon, 3) << "stored at a coarser level";
}

// Each coordinate of the site moves the Moon's topocentric place by itself:
// the date stays, so only the site can ask for the Moon again.
TEST_F(EphemerisUpdate, MoonIsRecomputedWhenAnyOneSiteCoordinateChanges)
{
    const struct {
        const char *name;
        double latitudeDeg, longitudeDeg, altitudeM;
    } moves[] = {
        {"latitude", 36.0, 139.0, 40.0},
        {"longitude", 36.0, 138.5, 40.0},
        {"altitude", 36.0, 138.5, 900.0},
        {"back to the start", 35.0, 139.0, 40.0},
    };
    ChartState *c = chart.get();
    const DateTime date{2024, 5, 10, 21, 0, 0.0, 9.0};
    chartSetSite(c, 35.0, 139.0, 40.0);
    chartSetDate(c, &date);
    const double jd = c->sky.jd;
    frame();
    ASSERT_EQ(counts.moon, 1);
    int expected = 1;
    for (const auto &m : moves) {
        SCOPED_TRACE(m.name);
        chartSetSite(c, m.latitudeDeg, m.longitudeDeg, m.altitudeM);
        ASSERT_EQ(c->sky.jd, jd) << "a site change keeps the moment";
        frame();
        EXPECT_EQ(counts.moon, ++expected);
        EXPECT_EQ(c->moon.siteLatitudeDeg, m.latitudeDeg);
        EXPECT_EQ(c->moon.siteLongitudeDeg, m.longitudeDeg);
        EXPECT_EQ(c->moon.siteAltitudeM, m.altitudeM);
        frame();
        EXPECT_EQ(counts.moon, expected) << "the same site twice";
    }
}

TEST_F(EphemerisUpdate, TailsAreComputedOnlyWithTheirBitAndTheShownBit)
{
    cometFlags[0] = kCometIonTail | kCometDustTail; // tails wanted, comet hidden
    cometFlags[1] = kBodyShown | kCometDustTail;
    frame();
    EXPECT_EQ(counts.ionTail, 0);
    EXPECT_EQ(counts.dustTail, 1);
    EXPECT_EQ(tails[1].dustJd, chart->sky.jd);
}

// The frame's update leaves the tails to the tail layer: ephemUpdateBodies
// computes every position and no tail; ephemUpdateCometTails then computes
// one comet's tails as the whole update would, once per date, and a failing
// tail loses its bit there.
TEST_F(EphemerisUpdate, TheFramesUpdateLeavesEachCometsTailsToCometTails)
{
    cometFlags[0] = kBodyShown | kCometIonTail | kCometDustTail;
    cometFlags[1] = kBodyShown | kCometDustTail;
    ephemUpdateBodies(chart.get());
    chart->lastEphemerisJd = chart->sky.jd;
    EXPECT_EQ(counts.smallBody, 2);
    EXPECT_EQ(counts.ionTail + counts.dustTail, 0);
    struct Step {
        int32_t comet;
        int ion, dust; // calls so far
    } steps[] = {{1, 0, 1}, {1, 0, 1}, {0, 1, 2}, {0, 1, 2}, {2, 1, 2}, {-1, 1, 2}};
    for (const Step &s : steps) {
        ephemUpdateCometTails(chart.get(), s.comet);
        EXPECT_EQ(counts.ionTail, s.ion) << "after comet " << s.comet;
        EXPECT_EQ(counts.dustTail, s.dust) << "after comet " << s.comet;
    }
    EXPECT_EQ(tails[0].ionJd, chart->sky.jd);
    EXPECT_EQ(tails[1].dustJd, chart->sky.jd);

    chartSetJd(chart.get(), chart->sky.jd + 1.0, 9.0);
    counts.failDust = true;
    ephemUpdateCometTails(chart.get(), 1);
    EXPECT_EQ(counts.dustTail, 3);
    EXPECT_EQ(cometFlags[1], kBodyShown) << "the failing dust tail's bit goes";
    EXPECT_STREQ(appData->errorId, "stkErrorCalcCometTail");
    EXPECT_STREQ(appData->errorArg, "Halley");
}

TEST_F(EphemerisUpdate, FailingBodyClearsItsBitAndTheLastErrorWins)
{
    cometFlags[0] = kBodyShown | kCometIonTail;
    cometFlags[1] = kBodyShown;
    mpFlags[0] = kBodyShown;
    mpFlags[1] = kBodyShown;
    counts.failSmallBody = true;
    frame();
    EXPECT_EQ(cometFlags[0], kCometIonTail) << "the shown bit goes, the tail is not tried";
    EXPECT_EQ(cometFlags[1], 0);
    EXPECT_EQ(mpFlags[0], 0);
    EXPECT_EQ(mpFlags[1], 0);
    EXPECT_EQ(counts.ionTail, 0);
    EXPECT_STREQ(appData->errorId, "stkErrorCalcMpPos");
    EXPECT_STREQ(appData->errorArg, "Vesta") << "name without trailing blanks, the last failure";

    // Hidden by the failure, it stays hidden: the next frame does not retry.
    chartSetJd(chart.get(), chart->sky.jd + 1.0, 9.0);
    frame();
    EXPECT_EQ(counts.smallBody, 4);
}

TEST_F(EphemerisUpdate, FailingTailClearsOnlyItsTailBit)
{
    struct Case {
        const char *name;
        bool failIon, failDust;
        uint8_t flagsAfter;
    } cases[] = {
        {"ion tail fails", true, false, kBodyShown | kCometDustTail},
        {"dust tail fails", false, true, kBodyShown | kCometIonTail},
    };
    for (const Case &c : cases) {
        SetUp();
        cometFlags[1] = kBodyShown | kCometIonTail | kCometDustTail;
        counts.failIon = c.failIon;
        counts.failDust = c.failDust;
        frame();
        EXPECT_EQ(cometFlags[1], c.flagsAfter) << c.name;
        EXPECT_STREQ(appData->errorId, "stkErrorCalcCometTail") << c.name;
        EXPECT_STREQ(appData->errorArg, "Halley") << c.name;
    }
}

TEST_F(EphemerisUpdate, RowsOfTheWrongTypeAreNeverComputed)
{
    cometPos[0].type = 'N';
    mpPos[1].type = 'C';
    cometFlags[0] = cometFlags[1] = kBodyShown;
    mpFlags[0] = mpFlags[1] = kBodyShown;
    frame();
    EXPECT_EQ(counts.smallBody, 2);
}

TEST_F(EphemerisUpdate, NullTheoriesLeaveTheirRowsAlone)
{
    ephemerisTheories = EphemerisTheories{};
    for (int i = 0; i < kPlanetCount; ++i)
        chart->planetFlags[i] = kBodyShown | kBodyDisk;
    cometFlags[0] = kBodyShown;
    chart->planets[1].raDeg = 42.0;
    frame();
    EXPECT_DOUBLE_EQ(chart->planets[1].raDeg, 42.0);
    EXPECT_EQ(chart->planets[1].jd, 0.0) << "no stamp without a computation";
    EXPECT_EQ(cometFlags[0], kBodyShown);
}

// --- discs and the solar-eclipse test ---

TEST(DiscsOverlap, BoxSeparationAndWrapAtZeroHours)
{
    struct Case {
        const char *name;
        double a[2], b[2], radiusSum;
        int result;
        bool written;
        double separation;
    } cases[] = {
        {"same centre", {100, 10}, {100, 10}, 0.5, 1, true, 0.0},
        {"touching in declination", {100, 10}, {100, 10.4}, 0.5, 1, true, 0.4},
        {"inside the box but apart", {100, 10}, {100, 10.52}, 0.5, 0, true, 0.52},
        {"outside the box", {100, 10}, {100, 11}, 0.5, 0, false, 0.0},
        {"across 0h, wrapped", {359.9, 0}, {0.1, 0}, 0.5, 1, true, 0.2},
        {"across 0h the other way", {0.1, 0}, {359.9, 0}, 0.5, 1, true, 0.2},
        {"right-ascension degrees shrink at high declination", {10, 28}, {10.62, 28}, 0.56, 1, true,
         0.547},
    };
    for (const Case &c : cases) {
        double pa = -1.0, sep = -1.0;
        EXPECT_EQ(discsOverlap(c.a, c.b, c.radiusSum, &pa, &sep), c.result) << c.name;
        if (c.written)
            EXPECT_NEAR(sep, c.separation, 2e-3) << c.name;
        else
            EXPECT_EQ(sep, -1.0) << c.name << ": nothing written outside the box";
    }
}

TEST(EclipseMagnitude, OverlapGivesMagnitudeAndMissGivesMinusOne)
{
    SunRecord sun{};
    MoonRecord moon{};
    sun.raJ2000Deg = 20.0;
    sun.decJ2000Deg = 5.0;
    sun.semidiameterDeg = 0.25;
    moon.semidiameterDeg = 0.26;
    moon.raJ2000Deg = 20.0;
    moon.decJ2000Deg = 5.0;
    EXPECT_EQ(eclipseMagnitude(&moon, &sun), 1);
    EXPECT_NEAR(sun.eclipseMagnitude, 0.51 / 0.5, 1e-9) << "central: above 1";

    moon.decJ2000Deg = 5.3;
    EXPECT_EQ(eclipseMagnitude(&moon, &sun), 1);
    EXPECT_NEAR(sun.eclipseMagnitude, (0.51 - 0.3) / 0.5, 1e-6);
    EXPECT_NEAR(sun.eclipsePositionAngleDeg, 360.0, 1e-6) << "Moon due north of the Sun";

    // Just missed, inside the box: the position angle follows the algorithm
    // (it is written) while the magnitude says no eclipse.
    moon.raJ2000Deg = 20.0;
    moon.decJ2000Deg = 4.45;
    sun.eclipsePositionAngleDeg = 7.0;
    EXPECT_EQ(eclipseMagnitude(&moon, &sun), 0);
    EXPECT_EQ(sun.eclipseMagnitude, -1.0);
    EXPECT_NEAR(sun.eclipsePositionAngleDeg, 180.0, 1e-6);

    // Far apart: the angle is left as it was.
    moon.decJ2000Deg = -30.0;
    sun.eclipsePositionAngleDeg = 7.0;
    EXPECT_EQ(eclipseMagnitude(&moon, &sun), 0);
    EXPECT_EQ(sun.eclipseMagnitude, -1.0);
    EXPECT_EQ(sun.eclipsePositionAngleDeg, 7.0);
}

} // namespace

namespace {

// An element line that asks for a dust tail of length 0: the tail fails, is
// hidden and reported with the comet's name, and the ion tail is drawn.
TEST(EphemerisRealTheories, ZeroLengthTailIsHiddenAndReported)
{
    appDataSetDefaults();
    ephemerisTheories = kEphemerisTheoriesDefault;
    std::unique_ptr<ChartState> chart(new ChartState());
    chartStateSetDefaults(chart.get());
    DateTime date{1986, 3, 15, 0, 0, 0.0, 0.0};
    double site[3] = {35.0, 139.0, 0.0};
    skyContextFromDate(&date, site, &chart->sky);
    chart->lastEphemerisJd = kNeverJd;
    std::string line = "C 1P                Halley                         1986 2 5.895317 0.96714291  0.58597811 "
                       "111.332485  58.420081 162.262691 2000.0   5.50";
    line.resize(188, ' ');
    line.replace(143, 4, "0.00");
    line.replace(148, 4, "0.10");
    line += "\n";
    OrbitalElements el;
    ASSERT_EQ(parseElementLine(&el, line.c_str()), 1);
    ASSERT_EQ(el.dustTailLength, 0.0);
    ASSERT_EQ(addComet(chart.get(), &el), 1);
    ephemUpdateAll(chart.get());
    EXPECT_EQ(chart->cometFlags[0] & kCometDustTail, 0) << "the failed tail is hidden";
    EXPECT_NE(chart->cometFlags[0] & kCometIonTail, 0);
    EXPECT_EQ(chart->cometTails[0].ionCount, 10);
    EXPECT_STREQ(appData->errorId, "stkErrorCalcCometTail");
    EXPECT_STREQ(appData->errorArg, "Halley");
    clearComets(chart.get());
}

TEST(EphemerisRealTheories, ShownCometAndItsTailsAreComputedAndStamped)
{
    appDataSetDefaults();
    ephemerisTheories = kEphemerisTheoriesDefault;
    std::unique_ptr<ChartState> chart(new ChartState());
    chartStateSetDefaults(chart.get());
    DateTime date{1986, 2, 9, 0, 0, 0.0, 0.0};
    double site[3] = {35.0, 139.0, 0.0};
    skyContextFromDate(&date, site, &chart->sky);
    chart->lastEphemerisJd = kNeverJd;

    BodyPosition pos{};
    OrbitalElements el{};
    CometTail tail{};
    uint8_t flags = kBodyShown | kCometIonTail | kCometDustTail;
    pos.type = el.type = 'C';
    std::snprintf(el.name, sizeof el.name, "%-30s", "Halley");
    el.perihelionJd = 2446470.5; // 1986 Feb 9
    el.eccentricity = 0.967;
    el.perihelionDistance = 0.587;
    el.argPerihelion = 111.8;
    el.ascendingNode = 58.1;
    el.inclination = 162.2;
    el.equinox = 2000.0;
    el.absMagnitude = 5.5;
    el.slope = 8.0;
    el.dustTailLength = el.ionTailLength = 0.1;
    el.dustParameter = 1.0;
    chart->cometCount = 1;
    chart->cometPositions = &pos;
    chart->cometElements = &el;
    chart->cometTails = &tail;
    chart->cometFlags = &flags;
    ephemUpdateAll(chart.get());
    EXPECT_EQ(pos.jd, chart->sky.jd);
    EXPECT_EQ(flags, kBodyShown | kCometIonTail | kCometDustTail) << appData->errorId;
    EXPECT_EQ(tail.ionJd, chart->sky.jd);
    EXPECT_EQ(tail.dustJd, chart->sky.jd);
    EXPECT_NEAR(chart->sun.distanceAu, 0.987, 0.01);
    chart->cometCount = 0;
    chart->cometPositions = nullptr;
    chart->cometElements = nullptr;
    chart->cometTails = nullptr;
    chart->cometFlags = nullptr;
}

} // namespace
