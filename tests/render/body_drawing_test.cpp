// The Sun, Moon and planet drawers over a recording canvas: which shapes in
// which colours, the lunar-eclipse branches, the disc size limits and labels.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "astro/vecmat.h"
#include "model/app_data.h"
#include "render/body_shapes.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "render/layers/solar_bodies.h"
#include "tests/render/chart_fixture.h"

namespace {

constexpr uint32_t pixel(int32_t index) { return 1000u + static_cast<uint32_t>(index); }

class BodyDrawing : public ::testing::Test, public ChartFixture {
protected:
    RecordingCanvas canvas;

    void SetUp() override
    {
        solarBodyServices = kDefaultSolarBodyServices;
        appData->minDiskRadius = 3;
        appData->lineWidth = 1;
        chart->centerMode[0] = 100.0;
        chart->centerMode[1] = 10.0;
        view(kModeEqt, 600, 600, 10.0);
        // Sun far from the Moon: no solar eclipse, no shadow on the Moon.
        placeSun(10.0, 5.0);
        chart->sunFlags = kBodyShown;
    }
    void TearDown() override { solarBodyServices = kDefaultSolarBodyServices; }

    void placeSun(double ra, double dec)
    {
        double p[2] = {ra, dec};
        chart->sun.raJ2000Deg = ra;
        chart->sun.decJ2000Deg = dec;
        chart->sun.semidiameterDeg = 0.267;
        chart->sun.eclipseMagnitude = -1.0;
        sphToVec(p, &chart->sun.unit);
    }
    void placeMoon(double ra, double dec, double phase)
    {
        MoonRecord &m = chart->moon;
        double p[2] = {ra, dec};
        m.raJ2000Deg = m.raGeoJ2000Deg = ra;
        m.decJ2000Deg = m.decGeoJ2000Deg = dec;
        m.semidiameterDeg = m.geoSemidiameterDeg = 0.259;
        m.distanceKm = m.geoDistanceKm = 384400.0;
        m.phase = phase;
        m.limbAngleDeg = 90.0;
        sphToVec(p, &m.unit);
        chart->moonFlags = kBodyShown;
    }
    void placePlanet(int id, double ra, double dec, double diameter, double phase)
    {
        SolarBodyRecord &b = chart->planets[id];
        double p[2] = {ra, dec};
        b.raDeg = ra;
        b.decDeg = dec;
        b.diameterArcsec = diameter;
        b.phase = phase;
        sphToVec(p, &b.unit);
        chart->planetFlags[id] = kBodyShown | kBodyDisk;
    }
    std::vector<CanvasCall> fills() const { return canvas.callsOf(OpFillPolygon); }
};

TEST_F(BodyDrawing, FullMoonIsOneDiscWithoutPhasePolygon)
{
    placeMoon(100.0, 10.0, 1.0);
    chartDrawMoon(chart.get(), &canvas, 0);
    auto f = fills();
    ASSERT_EQ(f.size(), 1u);
    EXPECT_EQ(f[0].pixel, pixel(ColorStar3));
    EXPECT_EQ(f[0].points.size(), static_cast<size_t>(kCircleVertices));
    EXPECT_EQ(chart->moon.lunarEclipseMagnitude, -1.0);
}

TEST_F(BodyDrawing, HalfMoonGetsItsDarkPartInTheSkyColour)
{
    placeMoon(100.0, 10.0, 0.5);
    chartDrawMoon(chart.get(), &canvas, 2);
    auto f = fills();
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[1].pixel, pixel(65 + 2)) << "shadow colour = skyColourBase + shadowOffset";
}

TEST_F(BodyDrawing, LunarEclipseBranches)
{
    struct Case {
        const char *name;
        double offsetDeg; // Moon's distance from the shadow centre
        bool outline;
        size_t fillCount;
        uint32_t lastFill;
        bool partial;
    } cases[] = {
        {"total: the whole disc in the eclipse colour", 0.0, false, 1, pixel(ColorMoonEclipse), false},
        {"partial: disc, then the shadow lens", 0.75, false, 2, pixel(ColorMoonEclipse), true},
        {"total in outline: a circle only", 0.0, true, 0, 0, false},
        {"clear of the shadow: an ordinary full Moon", 3.0, false, 1, pixel(ColorStar3), false},
    };
    for (const Case &c : cases) {
        canvas.clear();
        // Sun opposite: the shadow centre is at (100, 10).
        placeSun(280.0, -10.0);
        placeMoon(100.0, 10.0 + c.offsetDeg, 1.0);
        if (c.outline)
            chart->moonFlags |= kBodyDisk;
        chartDrawMoon(chart.get(), &canvas, 0);
        auto f = fills();
        ASSERT_EQ(f.size(), c.fillCount) << c.name;
        if (c.fillCount) {
            EXPECT_EQ(f.back().pixel, c.lastFill) << c.name;
        }
        if (c.partial) {
            EXPECT_LT(f.back().points.size(), 155u);
        }
        double m = chart->moon.lunarEclipseMagnitude;
        if (c.offsetDeg == 0.0) {
            EXPECT_GT(m, 1.0) << c.name;
        } else if (c.partial) {
            EXPECT_TRUE(m > 0.0 && m < 1.0) << c.name << " " << m;
        } else {
            EXPECT_EQ(m, -1.0) << c.name;
        }
    }
}

TEST_F(BodyDrawing, ShadowNearZeroHoursDoesNotJumpAcrossTheSky)
{
    // Sun at 180 h: the shadow centre sits at right ascension 0; the
    // topocentric Moon just across 0h from its geocentric place.
    view(kModeEqt, 600, 600, 10.0);
    chart->centerMode[0] = 0.0;
    chart->centerMode[1] = 0.0;
    view(kModeEqt, 600, 600, 10.0);
    placeSun(180.0, 0.0);
    placeMoon(359.9, 0.5, 1.0);
    chart->moon.raGeoJ2000Deg = 0.1; // parallax shift of -0.2 degree across 0h
    ProjectedPoint moonP, shadowP;
    ASSERT_TRUE(solarBodyServices.objectScreenPosition(chart.get(), -1, &moonP));
    int shadowR = 0;
    double m = 0.0;
    ASSERT_TRUE(moonShadowGeometry(chart.get(), &moonP, 20, 0.0, &shadowP, &shadowR, &m));
    EXPECT_LT(std::abs(shadowP.x - moonP.x), 60) << "shadow beside the Moon, not 360 degrees away";
}

TEST_F(BodyDrawing, PlanetDiscSizesColoursAndPhases)
{
    struct Case {
        const char *name;
        int id;
        double diameter, phase;
        size_t fills;
        uint32_t firstPixel;
        size_t firstVertices;
    } cases[] = {
        {"tiny disc keeps radius 1", 1, 0.001, 1.0, 1, pixel(ColorPlanet), kCircleVertices},
        {"k <= 0.01: one disc in the sky colour", 1, 60.0, 0.005, 1, pixel(65), kCircleVertices},
        {"Mars gibbous: disc and dark part", 2, 60.0, 0.6, 2, pixel(ColorMarsDisk), kCircleVertices},
        {"Jupiter: flattened disc, no phase", 3, 60.0, 0.99, 1, pixel(ColorJupiterDisk), kCircleVertices},
        {"Saturn: two ring halves round the disc", 4, 60.0, 1.0, 5, pixel(ColorSaturnRingB), kRingHalfVertices},
    };
    for (const Case &c : cases) {
        canvas.clear();
        for (int i = 0; i < kPlanetCount; ++i)
            chart->planetFlags[i] = 0;
        placePlanet(c.id, 100.0, 10.0, c.diameter, c.phase);
        chart->planets[4].poleTiltDeg = 70.0;
        chartDrawPlanet(chart.get(), &canvas, 7, 0, 65);
        auto f = fills();
        ASSERT_EQ(f.size(), c.fills) << c.name;
        EXPECT_EQ(f[0].pixel, c.firstPixel) << c.name;
        EXPECT_EQ(f[0].points.size(), c.firstVertices) << c.name;
        if (c.diameter < 1.0) {
            int xmin = 1 << 30, xmax = -(1 << 30);
            for (const CanvasPoint &p : f[0].points) {
                xmin = std::min<int>(xmin, p.x);
                xmax = std::max<int>(xmax, p.x);
            }
            EXPECT_EQ(xmax - xmin, 2) << c.name;
        }
    }
}

TEST_F(BodyDrawing, FlippedChartMirrorsThePhase)
{
    placePlanet(1, 100.0, 10.0, 60.0, 0.5);
    chart->planets[1].limbAngleDeg = 60.0;
    auto darkCentroid = [&](int mirror, double *cx, double *cy) {
        view(kModeEqt, 600, 600, 10.0, mirror);
        canvas.clear();
        chartDrawPlanet(chart.get(), &canvas, 1, 1, 65);
        auto f = fills();
        ASSERT_EQ(f.size(), 2u);
        ProjectedPoint centre;
        ASSERT_TRUE(solarBodyServices.objectScreenPosition(chart.get(), 1, &centre));
        double sx = 0, sy = 0;
        for (const CanvasPoint &p : f[1].points) {
            sx += p.x - centre.x;
            sy += p.y - centre.y;
        }
        *cx = sx / f[1].points.size();
        *cy = sy / f[1].points.size();
    };
    double nx, ny, mx, my;
    darkCentroid(0, &nx, &ny);
    darkCentroid(2, &mx, &my);
    EXPECT_GT(std::fabs(nx), 2.0);
    EXPECT_NEAR(mx, -nx, 1.5) << "left and right swap";
    EXPECT_NEAR(my, ny, 1.5);
}

TEST_F(BodyDrawing, LabelsPlaceNameAndMagnitude)
{
    placePlanet(1, 100.0, 10.0, 60.0, 1.0);
    chart->planetFlags[1] = kBodyShown | kBodyName | kBodyMag; // symbol, no disc
    chart->planets[1].magnitude10 = -45;
    chartDrawPlanet(chart.get(), &canvas, 1, 1, 65);
    auto texts = canvas.callsOf(OpDrawString);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "-45");
    EXPECT_EQ(texts[0].pixel, pixel(ColorSolarMagFont));
    EXPECT_EQ(texts[1].pixel, pixel(ColorSolarNameFont));

    // A solar-system view shows no magnitude; the name stands at P.x + q or P.x + 3.
    canvas.clear();
    chart->mode = kModeSol1;
    solarBodyServices.objectScreenPosition = [](ChartState *, int, ProjectedPoint *out) {
        *out = ProjectedPoint{200, 100, 0, 0};
        return 1;
    };
    solarBodyServices.drawPointSymbol = [](ChartState *, Canvas *, int, const ProjectedPoint *) {
        return 2;
    };
    chartDrawPlanet(chart.get(), &canvas, 1, 1, 65);
    texts = canvas.callsOf(OpDrawString);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].pixel, pixel(ColorSolarNameFont));
    EXPECT_EQ(texts[0].a[1], 203) << "size 2: P.x + 3";
    EXPECT_EQ(texts[0].a[2], 100);
}

} // namespace
