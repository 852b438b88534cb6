// Scales, centre, cut-off and solar-system projection of the view geometry.
#include <gtest/gtest.h>

#include <cmath>

#include "astro/angles.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "tests/render/chart_fixture.h"

namespace {

// Raw Q14 cut-off cosine of a square sky chart of field F: the cut-off angle is
// half the diagonal, F / sqrt 2.
int32_t rawCullQ14(double fieldWidth) { return toInt32Trunc(cosDeg(fieldWidth / std::sqrt(2.0)) * 16384.0); }

// A field width whose raw value is the one asked for (searched on a fine grid).
double fieldWithRawCull(int32_t raw) {
    for (double f = 240.0; f < 255.0; f += 0.0001)
        if (rawCullQ14(f) == raw) return f;
    return 0.0;
}

TEST(ViewGeometry, CullCosineClampKeepsMinus16344AndLiftsWhatLiesBelow) {
    struct {
        const char *name;
        int32_t raw, expected;
    } cases[] = {
        {"-16344 itself stays", -16339, -16344},
        {"-16345 is replaced by -16343", -16340, -16343},
        {"the antipode is replaced by -16343", -16384, -16343},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        const double field = fieldWithRawCull(k.raw);
        ASSERT_NE(0.0, field);
        ChartFixture f;
        f.view(kModeEqt, 600, 600, field);
        EXPECT_EQ(k.expected, f.chart->cullCosQ14);
    }
}

TEST(ViewGeometry, SolarSystemPointsAreCutOffBeyond20000Pixels) {
    ChartFixture f;
    ChartState *c = f.chart.get();
    // At the J2000.0 epoch, centred on 0, 0, the equatorial view frame is
    // J2000 itself; a chart 1200 AU across shows one pixel per AU.
    const DateTime epoch{2000, 1, 1, 12, 0, 0.0, 0.0};
    chartSetDate(c, &epoch);
    c->solScale = 1200.0;
    f.view(kModeSol1, 1200, 800);
    ASSERT_EQ(1.0, c->viewMatrix.m[0]);
    ASSERT_EQ(1.0, c->viewMatrix.m[4]);
    ASSERT_EQ(0.0, c->viewMatrix.m[1]);
    ASSERT_EQ(1.0, c->projScale[0]);
    ASSERT_EQ(1.0, c->projScale[1]);
    struct {
        const char *name;
        Vec3 helio;
        int visible;
    } cases[] = {
        {"20000 px across is drawn", {0, 20000, 0}, 1},
        {"20001 px across is cut off", {0, 20001, 0}, 0},
        {"20000 px down is drawn", {0, 0, -20000}, 1},
        {"20001 px down is cut off", {0, 0, -20001}, 0},
        {"exactly 10 solScale behind the origin plane is drawn", {-12000, 5, 5}, 1},
        {"farther behind is cut off", {-12000.001, 5, 5}, 0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        ProjectedPoint p{7, 7, 7, 7};
        EXPECT_EQ(k.visible, projectSolarSystemPoint(c, &k.helio, &p));
        if (k.visible) {
            EXPECT_EQ(c->centerX - static_cast<int>(k.helio.y), p.x);
            EXPECT_EQ(c->centerY - static_cast<int>(k.helio.z), p.y);
            EXPECT_EQ(0, p.depth);
            EXPECT_EQ(0, p.cosCentre);
        }
    }
    // The origin follows SOL_OFFSET.
    c->solOffset[1] = 100.0;
    const Vec3 atOffset{0, 100, 0};
    ProjectedPoint p{0, 0, 0, 0};
    ASSERT_EQ(1, projectSolarSystemPoint(c, &atOffset, &p));
    EXPECT_EQ(c->centerX, p.x);
}

TEST(ViewGeometry, WholeSkyMapScalesAndPixelAspect) {
    ChartFixture f;
    appData->pixelAspect = 1.5;
    f.view(kModeAll1Eqt, 720, 400);
    EXPECT_DOUBLE_EQ(720 / (2 * M_PI), f.chart->pixelsPerRadianX);
    EXPECT_DOUBLE_EQ(720 / (2 * M_PI) * 1.5, f.chart->pixelsPerRadianY) << "ALL1 applies the aspect";
    f.view(kModeAll2Eqt, 720, 400);
    EXPECT_DOUBLE_EQ(720 / M_PI, f.chart->pixelsPerRadianX);
    EXPECT_DOUBLE_EQ(720 / (2 * M_PI), f.chart->pixelsPerRadianY) << "ALL2 ignores the aspect";
    EXPECT_EQ(static_cast<int>(720 / M_PI), f.chart->scaleX);
}

TEST(ViewGeometry, CentreAndRadiusByMode) {
    ChartFixture f;
    f.view(kModeHrz, 800, 600, 60.0, 0, 20);
    EXPECT_EQ(400, f.chart->centerX);
    EXPECT_EQ(20 + 600 - 12, f.chart->centerY) << "one line of direction labels below the centre";
    f.view(kModeEqt, 801, 601, 60.0, 0, 20);
    EXPECT_EQ(400, f.chart->centerX);
    EXPECT_EQ(20 + 300, f.chart->centerY);
    f.view(kModePlns, 800, 600);
    EXPECT_EQ(300 - (12 * 12) / 10, f.chart->radius);
    EXPECT_DOUBLE_EQ((600 - 24) / M_PI, f.chart->pixelsPerRadianX);
    EXPECT_DOUBLE_EQ(f.chart->pixelsPerRadianX / 180.0 * M_PI, f.chart->projScale[3]);
}

TEST(ViewGeometry, EmptyChartRectangleGivesFiniteScales) {
    for (int mode : {kModeHrz, kModeEqt, kModeSol1, kModeAll1Eqt, kModeAll2Gal, kModePlns}) {
        SCOPED_TRACE(mode);
        ChartFixture f;
        f.view(mode, 0, 0);
        EXPECT_TRUE(std::isfinite(f.chart->fieldHeight));
        EXPECT_TRUE(std::isfinite(f.chart->pixelsPerRadianX));
        EXPECT_TRUE(std::isfinite(f.chart->cullCos));
        for (double s : f.chart->projScale) EXPECT_TRUE(std::isfinite(s));
    }
}

TEST(ViewGeometry, HorizontalViewCentreAltitudeShowsInTheMiddleOfTheWindow) {
    ChartFixture f;
    f.chart->centerHrz[0] = 0.0;
    f.chart->centerHrz[1] = 30.0;
    f.view(kModeHrz, 800, 600, 90.0);
    // The projection centre's altitude is the view altitude less the rows
    // between the middle and centerY.
    const double rows = 300 - 12;
    const double b = 30.0 - rows * f.chart->fieldHeight / 600;
    const Vec3 atCentre = directionInSystem(f.chart.get(), kModeSystemHrz, 0.0, b);
    Vec3 v;
    mat3MulVec(&atCentre, &f.chart->viewMatrix, &v);
    EXPECT_NEAR(1.0, v.x, 1e-6);
}

TEST(ViewGeometry, WholeSkyMapsCentreOnTheirEquator) {
    for (int mode : {kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal, kModeAll2Eqt, kModeAll2Ecl, kModeAll2Gal}) {
        SCOPED_TRACE(mode);
        ChartFixture f;
        f.chart->centerMode[0] = 120.0;
        f.chart->centerMode[1] = 45.0;
        f.view(mode, 720, 360);
        const Vec3 eq = directionInSystem(f.chart.get(), chartModeSystem(mode), 120.0, 0.0);
        Vec3 v;
        mat3MulVec(&eq, &f.chart->viewMatrix, &v);
        EXPECT_NEAR(1.0, v.x, 1e-3);
    }
}

} // namespace
