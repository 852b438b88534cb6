// Projection of sky directions to chart pixels in every chart mode.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "astro/constants.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "render/frame.h"
#include "render/projection.h"
#include "tests/render/aitoff_reference_data.h"
#include "tests/render/chart_fixture.h"

namespace {

constexpr int kW = 800, kH = 600;

struct ModeCase {
    int mode;
    const char *name;
};

const ModeCase kAllModes[] = {
    {kModeHrz, "HRZ"},         {kModeEqt, "EQT"},           {kModeEcl, "ECL"},           {kModeGal, "GAL"},
    {kModeSol1, "SOL1"},       {kModeSol2, "SOL2"},         {kModeSol3, "SOL3"},         {kModeAll1Eqt, "ALL1_EQT"},
    {kModeAll1Ecl, "ALL1_ECL"}, {kModeAll1Gal, "ALL1_GAL"}, {kModeAll2Eqt, "ALL2_EQT"}, {kModeAll2Ecl, "ALL2_ECL"},
    {kModeAll2Gal, "ALL2_GAL"}, {kModePlns, "PLNS"},
};

bool isMapMode(int mode) { return isCylindricalMode(mode) || isAitoffMode(mode); }

// The system the view centre is given in, and the centre itself.
int centreSystem(int mode) { return mode == kModeHrz || mode == kModePlns ? kModeSystemHrz : chartModeSystem(mode); }

struct Centre {
    double lon, lat;
};

// Sets the view centre of the mode and returns it in the mode's system.
Centre setCentre(ChartFixture &f, int mode) {
    if (mode == kModeHrz) {
        f.chart->centerHrz[0] = 30.0;
        f.chart->centerHrz[1] = 25.0;
        return {30.0, 25.0};
    }
    if (mode == kModePlns) {
        f.chart->centerHrz[0] = 30.0;
        f.chart->centerHrz[1] = 40.0; // ignored: the zenith is the centre
        return {30.0, 90.0};
    }
    f.chart->centerMode[0] = 40.0;
    f.chart->centerMode[1] = 20.0;
    return {40.0, isMapMode(mode) ? 0.0 : 20.0};
}

ProjectedPoint project(ChartState *chart, const Vec3 &v) {
    ProjectedPoint p{-99999, -99999, 0, 0};
    const Vec3Q14 q = toQ14(v);
    EXPECT_EQ(1, projectPoint(chart, &q, &p));
    return p;
}

// In the horizontal chart east of south is the smaller azimuth.
Vec3 eastOfCentre(const ChartState *chart, int mode, const Centre &c, double degrees) {
    if (mode == kModeHrz) return directionInSystem(chart, kModeSystemHrz, c.lon - degrees, c.lat);
    if (mode == kModePlns) return directionInSystem(chart, kModeSystemHrz, 270.0, 90.0 - degrees);
    return directionInSystem(chart, centreSystem(mode), c.lon + degrees, c.lat);
}

TEST(Projection, ViewCentreLandsOnChartMiddleInEveryMode) {
    for (const ModeCase &m : kAllModes) {
        SCOPED_TRACE(m.name);
        ChartFixture f;
        const Centre c = setCentre(f, m.mode);
        f.view(m.mode, kW, kH);
        const ProjectedPoint p = project(f.chart.get(), directionInSystem(f.chart.get(), centreSystem(m.mode), c.lon, c.lat));
        EXPECT_NEAR(kW / 2, p.x, 1);
        EXPECT_NEAR(kH / 2, p.y, 1);
    }
}

TEST(Projection, EastLandsOnTheSideTheOrientationPutsIt) {
    for (const ModeCase &m : kAllModes) {
        for (int mirror = 0; mirror <= 2; mirror++) {
            SCOPED_TRACE(std::string(m.name) + " mirror " + std::to_string(mirror));
            ChartFixture f;
            const Centre c = setCentre(f, m.mode);
            f.view(m.mode, kW, kH, 60.0, mirror);
            const ProjectedPoint p = project(f.chart.get(), eastOfCentre(f.chart.get(), m.mode, c, 10.0));
            // Only the sky charts and the horizontal chart turn or flip.
            const bool turns = chartModeKind(m.mode) == kKindSky;
            const bool eastOnRight = turns && mirror != 0;
            if (eastOnRight)
                EXPECT_GT(p.x, kW / 2 + 20);
            else
                EXPECT_LT(p.x, kW / 2 - 20);
        }
    }
}

// A field of a fraction of an arc second puts a point half a degree off the
// centre billions of pixels away: its place once overflowed int32 (undefined
// behaviour, wrapped coordinates). It must land far off the chart, on the
// side its orientation puts it, in every orientation.
TEST(Projection, ATinyFieldPlacesNearbyPointsFarOffTheChartOnTheirSide) {
    const ModeCase modes[] = {{kModeHrz, "HRZ"}, {kModeEqt, "EQT"}, {kModeEcl, "ECL"}, {kModeGal, "GAL"},
                              {kModeSol1, "SOL1"}};
    for (const ModeCase &m : modes) {
        for (int mirror = 0; mirror <= 2; mirror++) {
            for (const double field : {1e-7, 1e-12}) {
                SCOPED_TRACE(std::string(m.name) + " mirror " + std::to_string(mirror) + " field " +
                             std::to_string(field));
                ChartFixture f;
                const Centre c = setCentre(f, m.mode);
                f.view(m.mode, kW, kH, field, mirror);
                const ProjectedPoint p = project(f.chart.get(), eastOfCentre(f.chart.get(), m.mode, c, 0.5));
                const bool eastOnRight = chartModeKind(m.mode) == kKindSky && mirror != 0;
                if (eastOnRight)
                    EXPECT_GT(p.x, 1000000);
                else
                    EXPECT_LT(p.x, -1000000);
                EXPECT_LE(std::abs(p.x), kFarOffChart);
                EXPECT_LE(std::abs(p.y), kFarOffChart);
            }
        }
    }
}

// The cut-off stops at 180 degrees: beyond a field of some 217 degrees it
// once passed 180 and its cosine wrapped round, so that a 350-degree chart
// culled most of the sky. A field whose half diagonal reaches 180 degrees
// draws every direction (in the horizontal chart every one above the
// horizon) but those within 5 degrees of the centre's antipode: the cut-off
// has a floor (Q14 -16343, 175.9 degrees).
TEST(Projection, AFieldWiderThanTheSkyDrawsTheWholeSky) {
    const ModeCase modes[] = {{kModeHrz, "HRZ"}, {kModeEqt, "EQT"}, {kModeGal, "GAL"}, {kModeSol2, "SOL2"}};
    for (const ModeCase &m : modes) {
        for (const double field : {300.0, 350.0, 720.0, 1e300}) {
            SCOPED_TRACE(std::string(m.name) + " field " + std::to_string(field));
            ChartFixture f;
            setCentre(f, m.mode);
            f.view(m.mode, kW, kH, field);
            const int system = m.mode == kModeHrz ? kModeSystemHrz : centreSystem(m.mode);
            int culled = 0, tried = 0;
            for (double lat = m.mode == kModeHrz ? 5.0 : -85.0; lat <= 85.0; lat += 5.0)
                for (double lon = 0.0; lon < 360.0; lon += 5.0) {
                    const Vec3 v = directionInSystem(f.chart.get(), system, lon, lat);
                    const Mat3 &view = f.chart->viewMatrix;
                    if (view.m[0] * v.x + view.m[1] * v.y + view.m[2] * v.z < std::cos(175.0 * M_PI / 180.0))
                        continue;
                    const Vec3Q14 q = toQ14(v);
                    ProjectedPoint p{0, 0, 0, 0};
                    culled += projectPoint(f.chart.get(), &q, &p) == 0;
                    tried++;
                }
            EXPECT_EQ(culled, 0) << "of " << tried;
        }
    }
}

TEST(Projection, RoundTripThroughTheInverseReturnsTheSamePixel) {
    const double offsets[][2] = {{8, 5}, {-12, -6}, {3, -15}, {-20, 10}};
    for (const ModeCase &m : kAllModes) {
        for (int mirror = 0; mirror <= 2; mirror++) {
            for (double fieldWidth : {60.0, 5.0}) { // fixed point and, at 160 px/deg, doubles
                SCOPED_TRACE(std::string(m.name) + " mirror " + std::to_string(mirror) + " field " +
                             std::to_string(fieldWidth));
                ChartFixture f;
                const Centre c = setCentre(f, m.mode);
                f.view(m.mode, kW, kH, fieldWidth, mirror);
                const double k = isMapMode(m.mode) ? 1.0 : fieldWidth / 60.0;
                for (const auto &o : offsets) {
                    const double lat = m.mode == kModePlns ? 60.0 + o[1] : c.lat + o[1] * k;
                    const Vec3 v = directionInSystem(f.chart.get(), centreSystem(m.mode), c.lon + o[0] * k, lat);
                    const ProjectedPoint p1 = project(f.chart.get(), v);
                    Vec3 back;
                    ASSERT_TRUE(testScreenToSky(f.chart.get(), p1.x, p1.y, &back));
                    const ProjectedPoint p2 = project(f.chart.get(), back);
                    EXPECT_NEAR(p1.x, p2.x, 1);
                    EXPECT_NEAR(p1.y, p2.y, 1);
                }
            }
        }
    }
}

TEST(Projection, HorizontalChartAtAzimuthZeroPutsSouthOnTheCentreColumn) {
    ChartFixture f;
    f.chart->centerHrz[0] = 0.0;
    f.chart->centerHrz[1] = 20.0;
    f.view(kModeHrz, kW, kH);
    CullBandSave band;
    chartPushCullBand(0, -8192, f.chart.get(), &band); // the horizon itself is inside the band
    const Vec3 south = directionInSystem(f.chart.get(), kModeSystemHrz, 0.0, 0.0);
    ProjectedPoint p{0, 0, 0, 0};
    ASSERT_EQ(1, projectPointPrecise(f.chart.get(), &south, &p));
    EXPECT_EQ(f.chart->centerX, p.x);
    // The projection centre is one direction-label line above the bottom.
    EXPECT_EQ(kH - appData->dirFontHeight, f.chart->centerY);
    const ProjectedPoint q = project(f.chart.get(), south);
    EXPECT_NEAR(f.chart->centerX, q.x, 1);
}

TEST(Projection, PlanisphereZenithIsTheCentreWhateverTheViewAltitude) {
    for (double alt : {-30.0, 0.0, 45.0, 89.0}) {
        ChartFixture f;
        f.chart->centerHrz[0] = 75.0;
        f.chart->centerHrz[1] = alt;
        f.view(kModePlns, kW, kH);
        const Vec3 zenith = directionInSystem(f.chart.get(), kModeSystemHrz, 0.0, 90.0);
        ProjectedPoint p{0, 0, 0, 0};
        ASSERT_EQ(1, projectPointPrecise(f.chart.get(), &zenith, &p));
        EXPECT_NEAR(f.chart->centerX, p.x, 0);
        EXPECT_NEAR(f.chart->centerY, p.y, 0);
    }
}

// A chart at the J2000.0 epoch (2000-01-01 12:00 UT, where the precession
// is the identity) centred on longitude 0, latitude 0 of its mode: in the
// equatorial charts and maps the view frame is then J2000 itself. fromView
// gives the J2000 direction of a view-frame direction in any mode.
struct EpochView : ChartFixture {
    explicit EpochView(int mode, int mirror = 0) {
        ChartState *c = chart.get();
        chartSetSite(c, 0.0, 0.0, 0.0);
        const DateTime epoch{2000, 1, 1, 12, 0, 0.0, 0.0};
        chartSetDate(c, &epoch);
        c->centerHrz[0] = c->centerHrz[1] = 0.0;
        c->centerMode[0] = c->centerMode[1] = 0.0;
        view(mode, kW, kH, 60.0, mirror);
        openBand(c->cullCosQ14, -16384); // no horizon cut
    }
    // Sets the cut-offs as a cull band does (the cosine no lower than -16344).
    void openBand(int32_t cullCosQ14, int32_t depthQ14) {
        CullBandSave save;
        chartPushCullBand(chart->cullCosQ14 - cullCosQ14, depthQ14, chart.get(), &save);
    }
    Vec3Q14 fromView(double lonDeg, double latDeg) const {
        Mat3 inverse;
        mat3Inverse(&chart->viewMatrix, &inverse);
        const Vec3 v = unitVector(lonDeg, latDeg);
        Vec3 out;
        mat3MulVec(&v, &inverse, &out);
        return toQ14(out);
    }
};

TEST(Projection, EpochViewOfTheEquatorialModesIsJ2000Itself) {
    for (int mode : {kModeEqt, kModeSol1, kModeAll1Eqt, kModeAll2Eqt}) {
        EpochView v(mode);
        for (int i = 0; i < 9; i++) {
            EXPECT_EQ(i % 4 == 0 ? 1.0 : 0.0, v.chart->viewMatrix.m[i]) << mode << " " << i;
            EXPECT_EQ(i % 4 == 0 ? 16384 : 0, v.chart->viewMatrixQ14.m[i]) << mode << " " << i;
        }
    }
}

TEST(Projection, ExactCentreIsOffByTheFixedPointBiasOnly) {
    EpochView v(kModeEqt);
    const Vec3Q14 centre{16384, 0, 0};
    ProjectedPoint p{0, 0, 0, 0};
    ASSERT_EQ(1, projectAzimuthalSky(v.chart.get(), &centre, &p));
    EXPECT_EQ(v.chart->centerX - 1, p.x);
    EXPECT_EQ(v.chart->centerY - 1, p.y);
    EXPECT_EQ(16384, p.cosCentre);
    ASSERT_EQ(1, projectAzimuthalSkyD(v.chart.get(), &centre, &p));
    EXPECT_EQ(v.chart->centerX, p.x);
    EXPECT_EQ(v.chart->centerY, p.y);
}

TEST(Projection, CullLimitsAreInclusive) {
    EpochView v(kModeHrz);
    ChartState *c = v.chart.get();
    const Vec3Q14 pt = v.fromView(40.0, 25.0);
    ProjectedPoint p{0, 0, 0, 0};
    projectAzimuthalHrz(c, &pt, &p);
    const int32_t cosCentre = p.cosCentre, depth = p.depth;
    struct {
        const char *name;
        int32_t cullCos, cullDepth;
        int visible;
    } cases[] = {
        {"cosine equal to the limit is visible", cosCentre, -16384, 1},
        {"cosine one below the limit is culled", cosCentre + 1, -16384, 0},
        {"depth equal to the limit is visible", -16384, depth, 1},
        {"depth one below the limit is culled", -16384, depth + 1, 0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        v.openBand(k.cullCos, k.cullDepth);
        EXPECT_EQ(k.visible, projectAzimuthalHrz(c, &pt, &p));
    }
}

TEST(Projection, RadialFactorDivisorKeepsThePointInsideNearTheAntipode) {
    struct {
        int cosQ14, divisor;
    } cases[] = {{16384, 1}, {16129, 1}, {16128, 1}, {-4239, 1}, {-4240, 10}, {-15394, 10}, {-15395, 100}, {-16000, 100}};
    for (const auto &k : cases) {
        int factor = 0, divisor = 0;
        radialFactorQ14(k.cosQ14, &factor, &divisor);
        EXPECT_EQ(k.divisor, divisor) << k.cosQ14;
        const double t = std::acos(k.cosQ14 / 16384.0);
        const double expected = t == 0.0 ? 1.0 : t / std::sin(t);
        EXPECT_NEAR(expected, factor * divisor / 16384.0, 0.02 * expected + 0.01) << k.cosQ14;
    }
    EXPECT_EQ(85, thetaOverSineTable[0]);
    EXPECT_EQ(0, thetaOverSineTable[255]);

    // A point at cosine -16000 from the centre still lands within the scaled radius.
    EpochView v(kModeEqt);
    v.openBand(-16344, -16384);
    const double t = std::acos(-16000 / 16384.0);
    const Vec3Q14 far{-16000, static_cast<int32_t>(std::sin(t) * 16384), 0};
    ProjectedPoint p{0, 0, 0, 0};
    ASSERT_EQ(1, projectAzimuthalSky(v.chart.get(), &far, &p));
    const double expectedDx = t * v.chart->scaleX;
    EXPECT_NEAR(v.chart->centerX - expectedDx, p.x, 0.02 * expectedDx);
}

TEST(Projection, CylindricalMapCutsOffNearThePolesAndWrapsAtTheBack) {
    EpochView v(kModeAll1Eqt);
    ChartState *c = v.chart.get();
    ProjectedPoint p{0, 0, 0, 0};
    const int32_t side = sqrtQ14(16384 - mulQ14(16128, 16128));
    const Vec3Q14 atLimit{side, 0, 16128}, beyond{side, 0, 16129};
    EXPECT_EQ(1, projectCylindrical(c, &atLimit, &p));
    EXPECT_EQ(0, projectCylindrical(c, &beyond, &p));
    const Vec3Q14 back{-16384, 0, 0};
    ASSERT_EQ(1, projectCylindrical(c, &back, &p));
    EXPECT_EQ(c->chartRect.x, p.x);
    EXPECT_EQ(0, p.depth);
}

// Behind the centre the map runs on to its edges: longitude +180 from the
// centre at the left edge, -180 at the right, W / 360 pixels a degree. Both
// back quadrants are checked against those columns and, pixel by pixel,
// against the test's own inverse.
TEST(Projection, CylindricalBackQuadrantsLandBetweenTheCentreAndTheirEdge) {
    constexpr int kMapW = 720, kMapH = 400;
    const double offsets[] = {95.0, 120.0, 150.0, 178.0, -95.0, -120.0, -150.0, -178.0};
    for (int mode : {kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal}) {
        ChartFixture f;
        ChartState *c = f.chart.get();
        c->centerMode[0] = 40.0;
        c->centerMode[1] = 0.0;
        f.view(mode, kMapW, kMapH);
        for (double off : offsets) {
            for (double lat : {-55.0, 0.0, 35.0}) {
                SCOPED_TRACE("mode " + std::to_string(mode) + " longitude " + std::to_string(off) + " latitude " +
                             std::to_string(lat));
                const Vec3 v = directionInSystem(c, chartModeSystem(mode), 40.0 + off, lat);
                const ProjectedPoint p = project(c, v);
                const double expectedX = kMapW / 2.0 - off * kMapW / 360.0;
                EXPECT_NEAR(expectedX, p.x, 1.5);
                EXPECT_NEAR(kMapH / 2.0 - lat * kMapW / 360.0, p.y, 1.5);
                if (off > 0) {
                    EXPECT_GE(p.x, c->chartRect.x);
                    EXPECT_LT(p.x, c->centerX);
                } else {
                    EXPECT_GT(p.x, c->centerX);
                    EXPECT_LE(p.x, c->chartRect.x + c->chartRect.width);
                }
                Vec3 back;
                ASSERT_TRUE(testScreenToSky(c, p.x, p.y, &back));
                const double cosAngle = back.x * v.x + back.y * v.y + back.z * v.z;
                EXPECT_LT(std::acos(std::min(1.0, cosAngle)) * 180.0 / M_PI, 0.75) << "one pixel is 0.5 degrees";
            }
        }
    }
}

TEST(Projection, AitoffMapPutsBothPolesOnTheCentreColumnAndCullsNothing) {
    EpochView v(kModeAll2Eqt);
    ChartState *c = v.chart.get();
    ProjectedPoint p{0, 0, 0, 0};
    for (int z : {16384, -16384}) {
        const Vec3Q14 pole{0, 0, z};
        ASSERT_EQ(1, projectAitoff(c, &pole, &p));
        EXPECT_EQ(c->centerX, p.x);
        EXPECT_EQ(1 << 30, p.cosCentre);
    }
    for (int lon = 0; lon < 360; lon += 15)
        for (int lat = -85; lat <= 85; lat += 17) {
            const Vec3Q14 q = toQ14(unitVector(lon, lat));
            EXPECT_EQ(1, projectAitoff(c, &q, &p));
        }
    EXPECT_EQ(c->scaleX, 2 * c->scaleY + (c->scaleX & 1)) << "the map is twice as wide as high";
}

// Near the central meridian the Q14 x component of a direction moves by one
// unit for about 0.6 degree of longitude; the half-longitude taken from it
// folded the points within a degree of the centre onto the centre columns (a
// seam down ALL2 maps of the catalogue stars).
TEST(Projection, AitoffNearTheCentralMeridianFollowsTheExactProjection) {
    ChartFixture f;
    ChartState *c = f.chart.get();
    chartSetSite(c, 0.0, 0.0, 0.0);
    const DateTime epoch{2000, 1, 1, 12, 0, 0.0, 0.0};
    chartSetDate(c, &epoch);
    c->centerMode[0] = c->centerMode[1] = 0.0;
    f.view(kModeAll2Eqt, 1600, 800);
    ProjectedPoint p{0, 0, 0, 0};
    for (const AitoffReferencePoint &ref : kAitoffReference) {
        const Vec3Q14 q = toQ14(unitVector(ref.lonDeg, ref.latDeg));
        ASSERT_EQ(1, projectAitoff(c, &q, &p));
        // East of the centre lies to the left; the map's x scale is half
        // scaleX. A pixel for the truncation to the pixel grid, a tenth for
        // the Q14 rounding of the direction.
        EXPECT_NEAR(p.x, c->centerX - ref.x * c->scaleX / 2.0, 1.1) << ref.lonDeg << " " << ref.latDeg;
        EXPECT_NEAR(p.y, c->centerY - ref.y * c->scaleY, 1.1) << ref.lonDeg << " " << ref.latDeg;
    }
    for (double lat : {0.0, 30.0, 60.0}) {
        int previous = 1 << 30;
        for (double lon = -15.0; lon <= 15.0; lon += 0.05) {
            const Vec3Q14 q = toQ14(unitVector(lon, lat));
            projectAitoff(c, &q, &p);
            EXPECT_LE(p.x, previous) << "x turns back at " << lon << " " << lat;
            previous = p.x;
        }
    }
}

TEST(Projection, OrientationOfEachRoutineFamily) {
    // (X, Y) > 0 is a point up and to the left in the normal orientation.
    struct {
        const char *name;
        int mode, mirror;
        int right, down; // expected side: 1 right/down of the centre, 0 left/up
    } cases[] = {
        {"sky chart normal", kModeEqt, 0, 0, 0},
        {"sky chart turned about the centre point", kModeEqt, 1, 1, 1},
        {"sky chart flipped", kModeEqt, 2, 1, 0},
        {"solar-system view is never turned", kModeSol1, 1, 0, 0},
        {"horizontal chart turned about the middle of the rectangle", kModeHrz, 1, 1, 0},
        {"horizontal chart flipped", kModeHrz, 2, 1, 0},
        {"planisphere is never turned", kModePlns, 1, 0, 0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        EpochView v(k.mode, k.mirror);
        ChartState *c = v.chart.get();
        const Vec3Q14 upLeft = v.fromView(10.0, 10.0);
        ProjectedPoint p{0, 0, 0, 0};
        ASSERT_EQ(1, projectPoint(c, &upLeft, &p));
        EXPECT_EQ(k.right, p.x > c->centerX);
        const int middle = c->chartRect.y + c->chartRect.height / 2;
        if (k.mode == kModeHrz && k.mirror == kMirrorTurned) {
            // Rows mirrored about the middle of the chart, not about centerY.
            ProjectedPoint n{0, 0, 0, 0};
            c->mirror = kMirrorNormal;
            projectPoint(c, &upLeft, &n);
            EXPECT_EQ(2 * middle, n.y + p.y);
        } else {
            EXPECT_EQ(k.down, p.y > c->centerY);
        }
    }
}

TEST(Projection, PreciseEntryHasNoProjectionInTheWholeSkyMaps) {
    for (int mode : {kModeAll1Eqt, kModeAll1Gal, kModeAll2Eqt, kModeAll2Ecl}) {
        EpochView v(mode);
        const Vec3 centre{1, 0, 0};
        ProjectedPoint p{0, 0, 0, 0};
        EXPECT_EQ(0, projectPointPrecise(v.chart.get(), &centre, &p)) << mode;
    }
}

TEST(Projection, UnknownModeProjectsNothing) {
    EpochView v(kModeEqt);
    v.chart->mode = 300;
    const Vec3Q14 centre{16384, 0, 0};
    ProjectedPoint p{0, 0, 0, 0};
    EXPECT_EQ(0, projectPoint(v.chart.get(), &centre, &p));
}

TEST(Projection, AxesProjectionTurnsInEveryMode) {
    EpochView v(kModePlns, 2);
    Mat3Q14 axes = v.chart->viewMatrixQ14;
    const Vec3Q14 upLeft = v.fromView(10.0, 10.0);
    ProjectedPoint p{0, 0, 0, 0};
    ASSERT_EQ(1, projectPointAxes(&axes, v.chart.get(), &upLeft, &p));
    EXPECT_GT(p.x, v.chart->centerX) << "flipped although the planisphere's own routines never turn";
}

} // namespace

namespace {

// The coarse cull never drops a direction the projection would draw: every
// direction over the sphere that projectPoint accepts has its z inside the
// band, in every mode, for narrow and wide views; and a narrow view's band
// does leave most of the sky out.
TEST(Projection, DeclinationBandHoldsEveryDirectionTheProjectionAccepts) {
    for (const ModeCase &m : kAllModes) {
        for (double field : {20.0, 120.0, 300.0}) {
            ChartFixture f;
            setCentre(f, m.mode);
            f.view(m.mode, kW, kH, field);
            ChartState *chart = f.chart.get();
            int32_t low = 0, high = 0;
            projectionZBand(chart, &low, &high);
            int accepted = 0;
            unsigned seed = 7;
            for (int i = 0; i < 40000; i++) {
                // Even in z (uniform over the sphere), random in longitude.
                seed = seed * 1103515245u + 12345u;
                const double z = -1.0 + 2.0 * ((seed >> 8) % 100000) / 99999.0;
                seed = seed * 1103515245u + 12345u;
                const double lon = 2.0 * M_PI * ((seed >> 8) % 100000) / 100000.0;
                const double r = std::sqrt(1.0 - z * z);
                const Vec3Q14 v = toQ14(Vec3{r * std::cos(lon), r * std::sin(lon), z});
                ProjectedPoint p{0, 0, 0, 0};
                if (!projectPoint(chart, &v, &p)) continue;
                accepted++;
                ASSERT_TRUE(v.z >= low && v.z <= high)
                    << m.name << " field " << field << ": z " << v.z << " outside [" << low << ", " << high << "]";
            }
            EXPECT_GT(accepted, 0) << m.name << " field " << field;
        }
    }
    ChartFixture f;
    setCentre(f, kModeEqt); // centred on declination 20
    f.view(kModeEqt, kW, kH, 20.0);
    int32_t low = 0, high = 0;
    projectionZBand(f.chart.get(), &low, &high);
    EXPECT_GT(low, static_cast<int32_t>(std::sin(0.0) * 16384));
    EXPECT_LT(high, static_cast<int32_t>(std::sin(40.0 * M_PI / 180.0) * 16384));
}

} // namespace

// The span of a neighbourhood holds the pixel of every direction in it that
// the precise projection draws, in both sky-chart routines, each turn of the
// chart and far from the centre where the map stretches; and it stays as
// narrow as the pixels need: a radius of a tenth of a pixel spans at most two.
TEST(ProjectSpanPrecise, HoldsEveryPixelTheNeighbourhoodProjectsTo)
{
    const struct {
        int mode, mirror;
        double field;
        double offDeg, towardDeg; // the neighbourhood's centre: this far from the chart's, in this direction
    } cases[] = {
        {kModeHrz, 0, 120.0, 50.0, 80.0}, {kModeHrz, 1, 120.0, 30.0, 200.0}, {kModeHrz, 2, 30.0, 12.0, 60.0},
        {kModeEqt, 0, 60.0, 25.0, 10.0},  {kModeEqt, 2, 10.0, 0.0, 0.0},     {kModeEqt, 1, 120.0, 58.0, 300.0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << k.mode << " mirror " << k.mirror << " off " << k.offDeg);
        ChartFixture f;
        f.view(k.mode, 900, 700, k.field, k.mirror);
        CullBandSave band{};
        chartPushCullBand(2048, -16384, f.chart.get(), &band); // the tails' band, no horizon cut
        // The view matrix's rows: the chart's centre and its two screen axes.
        const double *m = f.chart->viewMatrix.m;
        const double ca = std::cos(k.offDeg * kDegToRad), sa = std::sin(k.offDeg * kDegToRad);
        const double cb = std::cos(k.towardDeg * kDegToRad), sb = std::sin(k.towardDeg * kDegToRad);
        const Vec3 centre{ca * m[0] + sa * (cb * m[3] + sb * m[6]), ca * m[1] + sa * (cb * m[4] + sb * m[7]),
                          ca * m[2] + sa * (cb * m[5] + sb * m[8])};
        for (double radiusPx : {0.1, 0.7, 3.0}) {
            const double radius = radiusPx / f.chart->pixelsPerRadianX;
            ScreenSpan span{};
            ASSERT_TRUE(projectSpanPrecise(f.chart.get(), &centre, radius, &span));
            if (radiusPx < 0.2) {
                EXPECT_LE(span.x1 - span.x0, 1);
                EXPECT_LE(span.y1 - span.y0, 1);
            }
            // Directions on rings inside the radius and on its edge.
            int drawn = 0;
            for (double part : {0.5, 1.0})
                for (int a = 0; a < 72; a++) {
                    const double t = a * 5.0 * kDegToRad;
                    Vec3 e1{-centre.y, centre.x, 0.0};
                    const double n1 = std::sqrt(e1.x * e1.x + e1.y * e1.y);
                    e1 = Vec3{e1.x / n1, e1.y / n1, 0.0};
                    const Vec3 e2{centre.y * e1.z - centre.z * e1.y, centre.z * e1.x - centre.x * e1.z,
                                  centre.x * e1.y - centre.y * e1.x};
                    const double r = part * radius, c = std::cos(r), s = std::sin(r);
                    const Vec3 u{c * centre.x + s * (std::cos(t) * e1.x + std::sin(t) * e2.x),
                                 c * centre.y + s * (std::cos(t) * e1.y + std::sin(t) * e2.y),
                                 c * centre.z + s * (std::cos(t) * e1.z + std::sin(t) * e2.z)};
                    ProjectedPoint p{};
                    if (!projectPointPrecise(f.chart.get(), &u, &p))
                        continue;
                    drawn++;
                    EXPECT_GE(p.x, span.x0);
                    EXPECT_LE(p.x, span.x1);
                    EXPECT_GE(p.y, span.y0);
                    EXPECT_LE(p.y, span.y1);
                }
            EXPECT_GT(drawn, 100);
        }
    }
    // No span in a whole-sky map.
    ChartFixture f;
    f.view(kModeAll2Eqt, 900, 450, 360.0);
    const Vec3 v = unitVector(10.0, 10.0);
    ScreenSpan span{};
    EXPECT_FALSE(projectSpanPrecise(f.chart.get(), &v, 1e-4, &span));
}
