// Which way the Moon's and planets' drawings face, measured on what is drawn
// for real dates: the lit side against the Sun's direction on the chart,
// Jupiter's axis ratio and tilt from the pixels of its disc, and the Earth's
// shadow on the Moon. Expected values come from ERFA through
// tools/body_drawing_refs.py (tests/render/body_drawing_refs.h), not from
// the drawing code.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/view_geometry.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/recording_canvas.h"
#include "render/layers/solar_bodies.h"
#include "tests/render/body_drawing_refs.h"
#include "tests/support/test_chart.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kMoonId = -1, kVenusId = 1, kJupiterId = 3;

struct ScreenVector {
    double x, y;
};

double angleBetweenDeg(ScreenVector a, ScreenVector b)
{
    const double c = (a.x * b.x + a.y * b.y) / (std::hypot(a.x, a.y) * std::hypot(b.x, b.y));
    return std::acos(std::max(-1.0, std::min(1.0, c))) * 180.0 / kPi;
}

Vec3 unitOf(double raDeg, double decDeg)
{
    const double p[2] = {raDeg, decDeg};
    Vec3 v;
    sphToVec(p, &v);
    return v;
}

class BodyOrientation : public ::testing::Test {
protected:
    void SetUp() override
    {
        appData->minDiskRadius = 3;
        appData->lineWidth = 1;
        solarBodyServices = kDefaultSolarBodyServices;
    }

    // The chart's moment and site, and the bodies computed for them.
    void at(int year, int month, int day, int hour, int minute, double latDeg, double lonDeg)
    {
        chartSetSite(chart.get(), latDeg, lonDeg, 0.0);
        const DateTime date{year, month, day, hour, minute, 0.0, 0.0};
        chartSetDate(chart.get(), &date);
        chart->sunFlags = kBodyShown;
        chart->moonFlags = kBodyShown;
        for (int i = 0; i < kPlanetCount; i++)
            chart->planetFlags[i] = kBodyShown | kBodyDisk;
        ephemUpdateAll(chart.get());
    }
    // An equatorial chart of 600 x 600 pixels centred on a J2000 place.
    void lookAt(double raDeg, double decDeg, double fieldDeg, int mirror)
    {
        Mat3 toDate;
        mat3Inverse(&chart->precessionMatrix, &toDate);
        Vec3 v = unitOf(raDeg, decDeg);
        mat3MulVec(&v, &toDate, &v);
        vecToSph(&v, chart->centerMode);
        chart->mode = kModeEqt;
        chart->mirror = mirror;
        chart->chartRect = ChartRect{0, 0, 600, 600};
        chart->fieldWidth = fieldDeg;
        updateViewScale(chart.get());
        updateViewMatrix(chart.get());
    }
    ScreenVector project(const Vec3 &v)
    {
        ProjectedPoint p;
        EXPECT_TRUE(projectPointPrecise(chart.get(), &v, &p));
        return ScreenVector{static_cast<double>(p.x), static_cast<double>(p.y)};
    }
    // The chart direction from place `from` toward place `to`, both J2000:
    // a step of a tenth of a degree along the great circle, projected.
    ScreenVector directionOnChart(const Vec3 &from, const Vec3 &to)
    {
        const double along = from.x * to.x + from.y * to.y + from.z * to.z;
        Vec3 t{to.x - along * from.x, to.y - along * from.y, to.z - along * from.z};
        const double n = vecLength(&t);
        const double step = 0.1 * kPi / 180.0;
        const Vec3 q{from.x * std::cos(step) + t.x / n * std::sin(step),
                     from.y * std::cos(step) + t.y / n * std::sin(step),
                     from.z * std::cos(step) + t.z / n * std::sin(step)};
        const ScreenVector a = project(from), b = project(q);
        return ScreenVector{b.x - a.x, b.y - a.y};
    }
    // The mean offset of a filled polygon's vertices from the body's centre.
    ScreenVector offsetFromCentre(const CanvasCall &fill, int id)
    {
        ProjectedPoint c;
        EXPECT_TRUE(objectScreenPosition(chart.get(), id, &c));
        double sx = 0, sy = 0;
        for (const CanvasPoint &p : fill.points) {
            sx += p.x - c.x;
            sy += p.y - c.y;
        }
        return ScreenVector{sx / fill.points.size(), sy / fill.points.size()};
    }

    // What was drawn is a disc, then its dark part, and the dark part lies
    // opposite the direction of the Sun on the chart.
    void expectDarkSideAwayFromTheSun(int id, double raDeg, double decDeg, double sunRaDeg,
                                      double sunDecDeg, const std::string &name)
    {
        const auto fills = canvas.callsOf(OpFillPolygon);
        ASSERT_EQ(fills.size(), 2u) << name << ": a disc and its dark part";
        const ScreenVector dark = offsetFromCentre(fills[1], id);
        const ScreenVector toSun = directionOnChart(unitOf(raDeg, decDeg), unitOf(sunRaDeg, sunDecDeg));
        EXPECT_GT(angleBetweenDeg(dark, toSun), 160.0) << name << ": dark part not opposite the Sun";
    }

    TestChart chart;
    RecordingCanvas canvas;
};

// The dark part of the disc lies away from the Sun, waxing or waning, in the
// normal and in the flipped chart.
TEST_F(BodyOrientation, MoonIsLitOnTheSideFacingTheSun)
{
    for (const MoonLimbRef &r : kMoonLimbRefs) {
        for (int mirror : {0, 2}) {
            const std::string name = std::string(r.name) + (mirror ? " (flipped chart)" : "");
            at(r.year, r.month, r.day, r.hour, r.minute, r.latitudeDeg, r.longitudeDeg);
            lookAt(r.moonRaDeg, r.moonDecDeg, 2.0, mirror);
            canvas.clear();
            chartDrawMoon(chart.get(), &canvas, 0);
            expectDarkSideAwayFromTheSun(kMoonId, r.moonRaDeg, r.moonDecDeg, r.sunRaDeg, r.sunDecDeg, name);
        }
    }
}

TEST_F(BodyOrientation, PlanetPhaseIsLitOnTheSideFacingTheSun)
{
    for (const PlanetPhaseRef &r : kVenusPhaseRefs) {
        for (int mirror : {0, 2}) {
            const std::string name = std::string(r.name) + (mirror ? " (flipped chart)" : "");
            at(r.year, r.month, r.day, r.hour, r.minute, 51.5, 0.0);
            EXPECT_NEAR(chart->planets[kVenusId].phase, r.phase, 0.02) << name;
            lookAt(r.planetRaDeg, r.planetDecDeg, 4.0, mirror);
            canvas.clear();
            chartDrawPlanet(chart.get(), &canvas, kVenusId, kVenusId, 65);
            expectDarkSideAwayFromTheSun(kVenusId, r.planetRaDeg, r.planetDecDeg, r.sunRaDeg, r.sunDecDeg,
                                         name);
        }
    }
}

// The pixels inside a polygon (even-odd rule, pixel centres).
std::vector<ScreenVector> pixelsInside(const std::vector<CanvasPoint> &poly)
{
    int x0 = 1 << 30, x1 = -(1 << 30), y0 = 1 << 30, y1 = -(1 << 30);
    for (const CanvasPoint &p : poly) {
        x0 = std::min<int>(x0, p.x);
        x1 = std::max<int>(x1, p.x);
        y0 = std::min<int>(y0, p.y);
        y1 = std::max<int>(y1, p.y);
    }
    std::vector<ScreenVector> inside;
    for (int y = y0; y <= y1; y++) {
        for (int x = x0; x <= x1; x++) {
            bool in = false;
            for (size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
                const double yi = poly[i].y, yj = poly[j].y, xi = poly[i].x, xj = poly[j].x;
                if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi))
                    in = !in;
            }
            if (in)
                inside.push_back(ScreenVector{static_cast<double>(x), static_cast<double>(y)});
        }
    }
    return inside;
}

// Jupiter's disc is flattened along its axis, and the axis points at its
// pole on the chart: measured from the second moments of the drawn pixels.
TEST_F(BodyOrientation, JupiterIsFlattenedAlongItsTiltedAxis)
{
    for (const JupiterPoleRef &r : kJupiterPoleRefs) {
        for (int mirror : {0, 2}) {
            const std::string name = std::to_string(r.year) + "-" + std::to_string(r.month) +
                                     (mirror ? " (flipped chart)" : "");
            at(r.year, r.month, r.day, r.hour, r.minute, 51.5, 0.0);
            lookAt(r.raDeg, r.decDeg, 4.0, mirror);
            canvas.clear();
            chartDrawPlanet(chart.get(), &canvas, kJupiterId, kJupiterId, 65);
            const auto fills = canvas.callsOf(OpFillPolygon);
            ASSERT_EQ(fills.size(), 1u) << name;
            const std::vector<ScreenVector> px = pixelsInside(fills[0].points);
            ASSERT_GT(px.size(), 5000u) << name << ": disc too small to measure";
            double mx = 0, my = 0;
            for (const ScreenVector &p : px) {
                mx += p.x;
                my += p.y;
            }
            mx /= px.size();
            my /= px.size();
            double sxx = 0, syy = 0, sxy = 0;
            for (const ScreenVector &p : px) {
                sxx += (p.x - mx) * (p.x - mx);
                syy += (p.y - my) * (p.y - my);
                sxy += (p.x - mx) * (p.y - my);
            }
            const double mean = (sxx + syy) / 2, diff = std::hypot((sxx - syy) / 2, sxy);
            const double major = mean + diff, minor = mean - diff;
            // A uniform ellipse's second moments go as the squares of its semi-axes.
            EXPECT_NEAR(std::sqrt(minor / major), kJupiterAxisRatio, 0.01) << name << ": axis ratio";
            // The minor axis: the eigenvector of the smaller moment.
            const ScreenVector axis{sxy, minor - sxx};
            const ScreenVector toPole = directionOnChart(unitOf(r.raDeg, r.decDeg), unitOf(r.poleRaDeg, r.poleDecDeg));
            double off = angleBetweenDeg(axis, toPole);
            off = std::min(off, 180.0 - off); // an axis has no sense
            EXPECT_LT(off, 4.0) << name << ": axis tilted " << off << " degrees from the pole's direction";
        }
    }
}

// The shadow's centre (opposite the Sun, seen from the site) and radius
// during the partial lunar eclipse of 2023 October 28, from two sites whose
// parallaxes move it in different directions.
TEST_F(BodyOrientation, EarthShadowSitsWhereTheSiteSeesIt)
{
    for (const EarthShadowRef &r : kEarthShadowRefs) {
        const std::string name = "site " + std::to_string(r.latitudeDeg) + ", " + std::to_string(r.longitudeDeg);
        at(r.year, r.month, r.day, r.hour, r.minute, r.latitudeDeg, r.longitudeDeg);
        EXPECT_NEAR(chart->moon.geoDistanceKm, r.moonDistanceKm, 100.0) << name;
        lookAt(r.shadowRaDeg, r.shadowDecDeg, 4.0, 0);
        const double pxPerDeg = chart->pixelsPerRadianX * kPi / 180.0;
        ProjectedPoint moon;
        ASSERT_TRUE(objectScreenPosition(chart.get(), kMoonId, &moon)) << name;
        const int moonR = static_cast<int>(pxPerDeg * chart->moon.semidiameterDeg + 0.5);
        ASSERT_GE(moonR, appData->minDiskRadius) << name << ": the disc must not be the enlarged one";
        ProjectedPoint centre;
        int radius = 0;
        double magnitude = -1.0;
        ASSERT_TRUE(moonShadowGeometry(chart.get(), &moon, moonR, 0.0, &centre, &radius, &magnitude))
            << name << ": no eclipse";
        const ScreenVector expected = project(unitOf(r.shadowRaDeg, r.shadowDecDeg));
        // 4 pixels are 0.027 degrees here; the parallax alone moves the centre 0.8 degrees.
        EXPECT_NEAR(centre.x, expected.x, 4.0) << name << ": shadow centre";
        EXPECT_NEAR(centre.y, expected.y, 4.0) << name << ": shadow centre";
        EXPECT_NEAR(radius, r.shadowRadiusDeg * pxPerDeg, 1.5) << name << ": shadow radius";
    }
}

} // namespace
