// Vertex lists of circles, ellipses, phases, Saturn's rings and the Earth's
// shadow; magnitude label texts; the Sun's colour by altitude.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

#include "render/body_shapes.h"
#include "render/palette.h"

namespace {

double distance(const CanvasPoint &p, int cx, int cy)
{
    return std::hypot(p.x - cx, p.y - cy);
}

TEST(BodyShapes, CircleHas73VerticesOnTheRadiusAndIsSymmetric)
{
    for (int r : {1, 7, 50, 300}) {
        CanvasPoint v[kCircleVertices];
        ASSERT_EQ(circleVertices(100, 200, r, 1.0, v), kCircleVertices);
        EXPECT_EQ(v[0].x, v[72].x) << "closed, r " << r;
        EXPECT_EQ(v[0].y, v[72].y) << "closed, r " << r;
        EXPECT_EQ(v[0].x, 100 + r);
        EXPECT_EQ(v[18].y, 200 - r) << "90 degrees is up on the screen";
        for (int i = 0; i < kCircleVertices; ++i) {
            EXPECT_NEAR(distance(v[i], 100, 200), r, 0.75) << "r " << r << " vertex " << i;
            // Mirror pairs about the horizontal axis: t and 360 - t.
            EXPECT_EQ(v[i].x, v[72 - i].x) << "r " << r << " vertex " << i;
            EXPECT_EQ(v[i].y - 200, 200 - v[72 - i].y) << "r " << r << " vertex " << i;
        }
    }
}

TEST(BodyShapes, CircleCoordinatesSaturateInsteadOfWrapping)
{
    CanvasPoint v[kCircleVertices];
    circleVertices(30000, 0, 20000, 1.0, v);
    EXPECT_EQ(v[0].x, INT16_MAX);
    EXPECT_EQ(v[36].x, 10000);
}

TEST(BodyShapes, EllipseAxesFollowTheAngle)
{
    struct Case {
        const char *name;
        double angle;
        int longDx, longDy; // vertex 0 offset: the long axis
    } cases[] = {
        {"unturned", 0.0, 40, 0},
        {"quarter turn", 90.0, 0, -40},
        {"half turn", 180.0, -40, 0},
    };
    for (const Case &c : cases) {
        CanvasPoint v[kCircleVertices];
        ASSERT_EQ(ellipseVertices(0, 0, 40, 0.5, c.angle, 1.0, v), kCircleVertices);
        EXPECT_EQ(v[0].x, c.longDx) << c.name;
        EXPECT_EQ(v[0].y, c.longDy) << c.name;
        EXPECT_NEAR(distance(v[18], 0, 0), 20.0, 0.75) << c.name << ": short axis r x flattening";
    }
}

TEST(BodyShapes, PhaseSkipsFullDiscsAndClampsThinCrescents)
{
    CanvasPoint v[kPhaseVertices];
    EXPECT_EQ(phaseVertices(0, 0, 30, 1.0, 0.0, 1.0, v), 0) << "k = 1 draws no phase polygon";
    EXPECT_EQ(phaseVertices(0, 0, 30, 0.994, 0.0, 1.0, v), 0) << "dark part under 0.4 pixel";
    EXPECT_EQ(phaseVertices(0, 0, 30, 0.99, 0.0, 1.0, v), kPhaseVertices);

    // A crescent thinner than a pixel is drawn as k = 1/(r + 1); a new Moon
    // (k <= 0.01) is not clamped.
    CanvasPoint thin[kPhaseVertices], clamped[kPhaseVertices], dark[kPhaseVertices];
    int r = 30;
    phaseVertices(0, 0, r, 0.02, 0.0, 1.0, thin);
    phaseVertices(0, 0, r, 1.0 / (r + 1), 0.0, 1.0, clamped);
    phaseVertices(0, 0, r, 0.0, 0.0, 1.0, dark);
    for (int i = 0; i < kPhaseVertices; ++i) {
        EXPECT_EQ(thin[i].x, clamped[i].x) << i;
        EXPECT_EQ(thin[i].y, clamped[i].y) << i;
    }
    EXPECT_NE(thin[18].y, dark[18].y) << "k 0 keeps the full-width terminator";
}

TEST(BodyShapes, HalfPhaseTerminatorIsStraightAndTheLimbOppositeTheBrightSide)
{
    // Limb angle 0: the bright limb points up (A = 90), the dark half is below.
    CanvasPoint v[kPhaseVertices];
    ASSERT_EQ(phaseVertices(0, 0, 20, 0.5, 0.0, 1.0, v), kPhaseVertices);
    for (int i = 0; i < 37; ++i)
        EXPECT_EQ(v[i].y, 0) << "terminator of a half disc is a diameter, vertex " << i;
    for (int i = 37; i < kPhaseVertices; ++i) {
        EXPECT_GE(v[i].y, 0) << "limb vertex " << i << " lies on the dark (lower) side";
        EXPECT_NEAR(distance(v[i], 0, 0), 20.0, 0.75);
    }
    EXPECT_EQ(v[37 + 17].y, 20) << "the limb passes through the bottom point";
}

TEST(BodyShapes, PhaseOutlineIs19TerminatorVertices)
{
    CanvasPoint v[kPhaseOutlineVertices];
    ASSERT_EQ(phaseOutlineVertices(0, 0, 20, 0.0, 0.0, 1.0, v), kPhaseOutlineVertices);
    // k = 0: the terminator is the dark half's limb itself, from left through
    // the bottom to the right.
    EXPECT_EQ(v[0].x, 20);
    EXPECT_EQ(v[9].y, -20) << "bulges to the bright side: the whole disc is dark";
    EXPECT_EQ(v[18].x, -20);
}

TEST(BodyShapes, SaturnFlatteningEdgeOnAndPoleOn)
{
    EXPECT_NEAR(saturnFlattening(90.0), 0.8923, 1e-9) << "edge-on";
    EXPECT_NEAR(saturnFlattening(0.0), 1.0, 1e-6) << "pole-on";
    EXPECT_GT(saturnFlattening(60.0), 0.8923);
    EXPECT_LT(saturnFlattening(60.0), 1.0);
}

TEST(BodyShapes, RingHalvesCoverTheirSidesAndCollapseEdgeOn)
{
    for (int half : {0, 1}) {
        CanvasPoint v[kRingHalfVertices];
        ASSERT_EQ(ringHalfVertices(0, 0, 15.0, 22.6, half, 0.5, 0.0, 1.0, 1.0, v), kRingHalfVertices);
        EXPECT_EQ(v[0].x, half == 0 ? -15 : 15) << "inner ring starts at t = " << (half ? 0 : 180);
        EXPECT_EQ(v[36].x, half == 0 ? 15 : -15);
        EXPECT_EQ(v[37].x, half == 0 ? 23 : -23) << "outer ring runs back";
        EXPECT_EQ(v[73].x, half == 0 ? -23 : 23);
        for (int i = 0; i < kRingHalfVertices; ++i) {
            if (half == 0)
                EXPECT_GE(v[i].y, 0) << "half 0 below the centre, vertex " << i;
            else
                EXPECT_LE(v[i].y, 0) << "half 1 above the centre, vertex " << i;
        }
        // Symmetric about the ring's minor axis.
        for (int i = 0; i < 37; ++i)
            EXPECT_EQ(v[i].x, -v[36 - i].x) << "half " << half << " vertex " << i;
    }
    CanvasPoint edge[kRingHalfVertices];
    ringHalfVertices(0, 0, 15.0, 22.6, 1, 0.0, 0.0, 1.0, 1.0, edge);
    for (const CanvasPoint &p : edge)
        EXPECT_EQ(p.y, 0) << "e = 0: the rings are a line";
}

TEST(BodyShapes, EclipseShadowLensAndFailures)
{
    CanvasPoint v[kEclipseShadowVertices];
    struct Case {
        const char *name;
        int mx, sx, r, rs, filled;
        bool drawn;
    } cases[] = {
        {"partial, filled", 0, 40, 20, 30, 1, true},
        {"partial, outline", 0, 40, 20, 30, 0, true},
        {"same centre", 0, 0, 20, 30, 1, false},
        {"too far apart", 0, 60, 20, 30, 1, false},
        {"Moon inside the shadow", 0, 5, 10, 40, 1, false},
        {"no Moon radius", 0, 20, 0, 30, 1, false},
    };
    for (const Case &c : cases) {
        int n = eclipseShadowVertices(c.mx, 0, c.r, c.sx, 0, c.rs, c.filled, 1.0, v);
        EXPECT_EQ(n > 0, c.drawn) << c.name;
        EXPECT_LE(n, kEclipseShadowVertices) << c.name;
        if (n == 0)
            continue;
        for (int i = 0; i < n; ++i) {
            // Every vertex lies inside (or on) both discs.
            EXPECT_LE(distance(v[i], c.mx, 0), c.r + 1.0) << c.name << " vertex " << i;
            EXPECT_LE(distance(v[i], c.sx, 0), c.rs + 1.0) << c.name << " vertex " << i;
            bool mirrored = false;
            for (int j = 0; j < n; ++j)
                mirrored = mirrored || (v[j].x == v[i].x && v[j].y == -v[i].y);
            EXPECT_TRUE(mirrored) << c.name << ": symmetric about the centre line, vertex " << i;
        }
    }
    // The widest crossing stays within the fixed array.
    int n = eclipseShadowVertices(0, 0, 1000, 1, 0, 1000, 1, 1.0, v);
    EXPECT_GT(n, 0);
    EXPECT_LE(n, kEclipseShadowVertices);
}

TEST(BodyShapes, MagnitudeLabelTexts)
{
    struct Case {
        int32_t m10;
        const char *text;
    } cases[] = {
        {-5, "-05"}, {45, "45"}, {123, "123"}, {-127, "-127"}, {0, "00"}, {99, "99"}, {-99, "-99"},
        {100, "100"}, {-100, "-100"}, {7, "07"},
    };
    for (const Case &c : cases) {
        char buf[16];
        int n = formatBodyMagnitude(c.m10, buf, sizeof buf);
        EXPECT_STREQ(buf, c.text) << c.m10;
        EXPECT_EQ(n, static_cast<int>(std::string(c.text).size()));
    }
    char tiny[3];
    formatBodyMagnitude(-127, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "-1") << "cut to the buffer";
}

TEST(BodyShapes, SunColourByAltitude)
{
    struct Case {
        double altitude;
        int32_t colour;
    } cases[] = {
        {45.0, ColorStar3}, {15.0, ColorStar3}, {14.9, ColorStar4}, {12.4, ColorStar5},
        {9.0, ColorStar6},  {7.0, ColorStar7},  {4.0, ColorStar8},  {2.0, ColorStar9},
        {-10.0, ColorStar9},
    };
    for (const Case &c : cases) {
        int32_t colour = ColorStar3;
        sunColorByAltitude(c.altitude, &colour);
        EXPECT_EQ(colour, c.colour) << c.altitude;
    }
    int32_t kept = ColorMoonEclipse;
    sunColorByAltitude(30.0, &kept);
    EXPECT_EQ(kept, ColorMoonEclipse) << "high up the index passed in is kept";
}

} // namespace
