// screenToSky against the forward projection: in every chart mode and
// orientation, the direction under a pixel projects back onto that pixel.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astro/coords.h"
#include "astro/vecmat.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "render/object_screen.h"
#include "render/projection.h"
#include "resources/catalogs.h"
#include "tests/render/chart_fixture.h"

namespace {

constexpr double kNightJd = 2460325.375; // 2024-01-15 21:00 UTC

const int kModes[] = {kModeHrz,     kModeEqt,     kModeEcl,     kModeGal,     kModeSol1,
                      kModeSol2,    kModeSol3,    kModePlns,    kModeAll1Eqt, kModeAll1Ecl,
                      kModeAll1Gal, kModeAll2Eqt, kModeAll2Ecl, kModeAll2Gal};

// A chart at the night date over Greenwich, centred away from every
// system's origin, in a rectangle that does not start at row 0 (the turned
// horizontal chart mirrors about the rectangle's middle).
struct Chart {
    ChartFixture f;
    ChartState *c = f.chart.get();
    Chart(int mode, int mirror) {
        chartSetSite(c, 51.4769, 0.0, 0.0);
        chartSetJd(c, kNightJd, 0.0);
        c->centerHrz[0] = 150.0;
        c->centerHrz[1] = 35.0;
        c->centerMode[0] = 80.0;
        c->centerMode[1] = 20.0;
        f.view(mode, 640, 480, 70.0, mirror, 20);
    }
};

// The angle between two directions, exact for small angles.
double angleDeg(const Vec3 &a, const Vec3 &b) {
    const Vec3 cross{a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
    const double dot = a.x * b.x + a.y * b.y + a.z * b.z;
    return std::atan2(vecLength(&cross), dot) * 180.0 / M_PI;
}

// The whole-sky maps are drawn in Q14 with whole-pixel scales, and the
// drawing itself is off by more than a pixel: within two pixels of the
// Aitoff rim, above 75 degrees of latitude (the Q14 angle of a short
// horizontal vector is coarse) and, on the cylindrical map, within 5 degrees
// of a quarter turn from the centre, where it takes the longitude as an
// arcsine near 1. The edges have their own test below.
bool nearWholeSkyEdge(const ChartState *c, int px, int py) {
    const double X = c->centerX - px, Y = c->centerY - py;
    const int kind = chartModeKind(c->mode);
    if (kind == kKindAitoff) {
        const double q = c->chartRect.width / 4 - 2;
        return X * X / 4.0 + Y * Y > q * q || std::fabs(Y) > 75.0 / 90.0 * (q + 2);
    }
    if (kind == kKindCylindrical) {
        const double perDeg = c->pixelsPerRadianY * M_PI / 180.0;
        return std::fabs(Y) / perDeg > 75.0 || std::fabs(std::fabs(X) / perDeg - 90.0) < 5.0;
    }
    return false;
}

TEST(ScreenToSky, EveryPixelProjectsBack) {
    for (int mode : kModes) {
        for (int mirror = 0; mirror < 3; mirror++) {
            Chart chart(mode, mirror);
            ChartState *c = chart.c;
            const std::string where = "mode " + std::to_string(mode) + " orientation " + std::to_string(mirror);
            // The Aitoff map's Q14 arithmetic near the central meridian at high
            // latitude (a sine taken as the root of 1 - e^2 with e near 1) moves
            // its own points by up to two pixels.
            const int tolerance = chartModeKind(mode) == kKindAitoff ? 2 : 1;
            int checked = 0;
            for (int py = 24; py < 500; py += 19) {
                for (int px = 3; px < 640; px += 23) {
                    Vec3 v;
                    if (!screenToSky(c, screenPointPack(px, py), &v)) continue;
                    if (nearWholeSkyEdge(c, px, py)) continue;
                    ASSERT_NEAR(vecLength(&v), 1.0, 1e-9) << where;
                    const Vec3Q14 q = toQ14(v);
                    ProjectedPoint p{-9999, -9999, 0, 0};
                    if (!projectPoint(c, &q, &p)) continue; // culled: below the horizon, near a pole
                    EXPECT_NEAR(p.x, px, tolerance) << where << " pixel " << px << "," << py;
                    EXPECT_NEAR(p.y, py, tolerance) << where << " pixel " << px << "," << py;
                    checked++;
                }
            }
            EXPECT_GT(checked, 100) << where;
        }
    }
}

// The direction of the view centre, found without the view matrix.
Vec3 expectedCentre(const ChartState *c) {
    double pair[2];
    int system = chartModeSystem(c->mode);
    switch (chartModeKind(c->mode)) {
    case kKindPlanisphere: // the zenith
        pair[0] = 0.0;
        pair[1] = 90.0;
        break;
    case kKindSky:
    case kKindSolar:
        if (system == kModeSystemHrz) {
            // centerHrz is the place in the middle of the window; the
            // projection centre sits lower, as many degrees as an
            // equidistant projection's pixels along the central column.
            const int middleRow = c->chartRect.y + c->chartRect.height / 2;
            pair[0] = c->centerHrz[0];
            pair[1] = c->centerHrz[1] - (c->centerY - middleRow) / c->pixelsPerRadianY * 180.0 / M_PI;
        } else {
            pair[0] = c->centerMode[0];
            pair[1] = c->centerMode[1];
        }
        break;
    default: // the whole-sky maps are centred on their equator
        pair[0] = c->centerMode[0];
        pair[1] = 0.0;
        break;
    }
    double j2000[2];
    convertCoords(&c->sky, system, pair, COORD_EQT, j2000);
    return unitVector(j2000[0], j2000[1]);
}

TEST(ScreenToSky, TheCentrePixelIsTheCentre) {
    for (int mode : kModes) {
        for (int mirror = 0; mirror < 3; mirror++) {
            Chart chart(mode, mirror);
            ChartState *c = chart.c;
            int cy = c->centerY;
            // Turned through 180 degrees, the horizontal chart's centre row
            // is mirrored about the middle of the rectangle.
            if (mode == kModeHrz && mirror == 1) cy = 2 * c->chartRect.y + c->chartRect.height - c->centerY;
            Vec3 v;
            ASSERT_TRUE(screenToSky(c, screenPointPack(c->centerX, cy), &v)) << mode << "/" << mirror;
            EXPECT_LT(angleDeg(v, expectedCentre(c)), 0.01) << "mode " << mode << " orientation " << mirror;
        }
    }
}

TEST(ScreenToSky, EdgesOfTheWholeSkyMaps) {
    struct Case {
        const char *name;
        int mode;
        int dx, dy; // from the projection centre, pixels (right, down)
        int onMap;
    } cases[] = {
        {"Aitoff: the rim's east end is inside", kModeAll2Eqt, -160 * 2, 0, 1},
        {"Aitoff: one pixel beyond it is off", kModeAll2Eqt, -160 * 2 - 1, 0, 0},
        {"Aitoff: the rim's top is inside", kModeAll2Ecl, 0, -160, 1},
        {"Aitoff: one pixel above it is off", kModeAll2Ecl, 0, -161, 0},
        {"Aitoff: the rim's west end is inside", kModeAll2Gal, 320, 0, 1},
        {"Aitoff: one pixel beyond the west end", kModeAll2Gal, 321, 0, 0},
        {"Aitoff: the central meridian", kModeAll2Eqt, 0, 100, 1},
        {"cylindrical: latitude beyond 90 is off", kModeAll1Eqt, 0, -161, 0},
        {"cylindrical: a longitude offset beyond 180 is off", kModeAll1Gal, -321, 0, 0},
        {"cylindrical: inside", kModeAll1Ecl, -300, 150, 1},
    };
    for (const Case &k : cases) {
        Chart chart(k.mode, 0);
        ChartState *c = chart.c;
        ASSERT_EQ(c->chartRect.width / 4, 160);
        Vec3 v;
        EXPECT_EQ(screenToSky(c, screenPointPack(c->centerX + k.dx, c->centerY + k.dy), &v), k.onMap) << k.name;
    }
}

// The equatorial whole-sky maps are drawn in the equator of date: the map's
// centre lies on the equator of date, not on the J2000 equator, which in
// 2024 is about a third of a degree away at this longitude.
TEST(ScreenToSky, EquatorialMapsAreOfDate) {
    for (int mode : {kModeAll1Eqt, kModeAll2Eqt}) {
        Chart chart(mode, 0);
        ChartState *c = chart.c;
        c->centerMode[0] = 0.0; // where precession moves the equator most in declination
        chart.f.view(mode, 640, 480, 70.0, 0, 20);
        Vec3 v;
        ASSERT_TRUE(screenToSky(c, screenPointPack(c->centerX, c->centerY), &v));
        double j2000[2], ofDate[2];
        vecToSph(&v, j2000);
        convertCoords(&c->sky, COORD_EQT, j2000, COORD_EQT_DATE, ofDate);
        EXPECT_NEAR(ofDate[1], 0.0, 1e-3) << mode;
        EXPECT_GT(std::fabs(j2000[1]), 0.1) << mode << ": the J2000 declination differs (0.134 in 24 years)";
    }
}

} // namespace

namespace {

int32_t betelgeuseRow() {
    for (int32_t i = 0; i < starNameCount; ++i)
        if (std::string(starNames[i].builtinName) == "Betelgeuse") return starNames[i].index;
    return -1;
}

TEST(TargetScreenPosition, EachKindLandsWhereItsPlaceIs) {
    Chart chart(kModeEqt, 0);
    ChartState *c = chart.c;
    // Centre the chart near Betelgeuse (of date, close enough for a 70-degree field).
    c->centerMode[0] = 88.0;
    c->centerMode[1] = 7.0;
    chart.f.view(kModeEqt, 640, 480, 70.0, 0, 20);
    const int32_t star = betelgeuseRow();
    ASSERT_GE(star, 0);
    ProjectedPoint byStar{}, byPair{}, byRow{};
    ASSERT_EQ(targetScreenPosition(c, kPosStar, star, nullptr, &byStar), 1);
    // Betelgeuse, J2000: 5h 55m 10.31s, +7 24' 25.4".
    const double pair[2] = {88.79296, 7.40706};
    ASSERT_EQ(targetScreenPosition(c, kPosEqt, 0, pair, &byPair), 1);
    EXPECT_NEAR(byStar.x, byPair.x, 1);
    EXPECT_NEAR(byStar.y, byPair.y, 1);

    UserObject rows[2] = {};
    rows[0].kind = kPosStar;
    rows[0].index = star;
    rows[1].type = kUserObjectTableEnd;
    UserObjectFileEntry file = {1, "f", rows};
    c->userObjectFiles = &file;
    c->userObjectFileCount = 1;
    ASSERT_EQ(targetScreenPosition(c, kPosUserObject, 0, nullptr, &byRow), 1);
    EXPECT_EQ(byRow.x, byStar.x);
    EXPECT_EQ(byRow.y, byStar.y);
    EXPECT_EQ(targetScreenPosition(c, kPosUserObject, 1, nullptr, &byRow), 0) << "past the file";
    c->userObjectFiles = nullptr;
    c->userObjectFileCount = 0;

    struct Case {
        const char *name;
        int32_t kind;
        double values[2];
        int ok, x, y;
    } cases[] = {
        {"a screen point is the pixel", kPosScreen, {12.9, -3.2}, 1, 12, -3},
        {"VIEW_CENTER is the middle of the chart", kPosViewCenter, {0, 0}, 1, 320, 260},
        {"a sky mark has no screen position", kPosSkyMark, {0, 0}, 0, 0, 0},
        {"no kind 57", 57, {0, 0}, 0, 0, 0},
    };
    for (const Case &k : cases) {
        ProjectedPoint p{-1, -1, -1, -1};
        ASSERT_EQ(targetScreenPosition(c, k.kind, 0, k.values, &p), k.ok) << k.name;
        if (!k.ok) continue;
        EXPECT_EQ(p.x, k.x) << k.name;
        EXPECT_EQ(p.y, k.y) << k.name;
        EXPECT_EQ(p.depth, 0) << k.name;
        EXPECT_EQ(p.cosCentre, 0xc000) << k.name;
    }
}

} // namespace
