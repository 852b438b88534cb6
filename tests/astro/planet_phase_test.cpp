// Phase and bright limb of a lit disc, and the fixed-point form of positions.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "astro/phase.h"

namespace {

TEST(PhaseAndLimbAngle, PhaseFollowsTheSunBodyGeometry) {
    // NAN: the bright limb has no direction there.
    struct Case {
        const char *name;
        double sun[2], sunDistance, body[2], bodyDistance, phase, limbAngle;
    } cases[] = {
        {"full beyond the Sun's opposite", {0, 0}, 1.0, {180, 0}, 0.5, 1.0, NAN},
        {"new between Earth and Sun", {10, 5}, 1.0, {10, 5}, 0.0026, 0.0, NAN},
        {"outer planet behind the Sun is full", {10, 5}, 1.0, {10, 5}, 6.0, 1.0, NAN},
        {"quarter Moon, Sun to the west", {0, 0}, 1.0, {90, 0}, 0.00257, 0.5013, -90.0},
        {"Sun due north", {0, 10}, 1.0, {0, 0}, 0.00257, 0.0076, 0.0},
        {"Sun to the east", {30, 0}, 1.0, {0, 0}, 0.00257, 0.067, 90.0},
    };
    for (const Case &c : cases) {
        double phase = -1.0, limb = -1000.0;
        phaseAndLimbAngle(c.sun, c.sunDistance, c.body, c.bodyDistance, &phase, &limb);
        EXPECT_TRUE(std::isfinite(phase) && std::isfinite(limb)) << c.name;
        EXPECT_NEAR(phase, c.phase, 1e-3) << c.name;
        if (!std::isnan(c.limbAngle)) {
            EXPECT_NEAR(limb, c.limbAngle, 1e-3) << c.name;
        }
    }
}

TEST(PhaseAndLimbAngle, CoincidentPlacesNeverGiveNaN) {
    // Rounding in the cosine of the elongation may exceed 1 here.
    for (double ra : {0.0, 33.3333, 123.4567, 359.9999}) {
        const double place[2] = {ra, 23.4};
        double phase, limb;
        phaseAndLimbAngle(place, 1.0, place, 0.0025, &phase, &limb);
        EXPECT_TRUE(std::isfinite(phase)) << ra;
        EXPECT_NEAR(phase, 0.0, 1e-6) << ra;
    }
}

TEST(PackPositionFixed, PacksTwentyFiveAuToTwoToTheThirtyAndSaturatesBeyondFifty) {
    struct Case {
        double au;
        int32_t packed;
    } cases[] = {
        {25.0, 1073741824},       {-25.0, -1073741824},     {0.0, 0},
        {1.0e-9, 0},              {-1.0e-9, 0},             {1.0, 42949672},
        {-1.0, -42949672},        {49.9, 2143188680},       {60.0, INT32_MAX},
        {-60.0, INT32_MIN},       {NAN, 0},
    };
    for (const Case &c : cases) {
        const Vec3 v = {c.au, -c.au, 0.5};
        int32_t out[3];
        packPositionFixed(&v, out);
        EXPECT_EQ(out[0], c.packed) << c.au;
        if (!std::isnan(c.au) && c.packed != INT32_MAX && c.packed != INT32_MIN) {
            EXPECT_EQ(out[1], -c.packed) << c.au;
        }
        EXPECT_EQ(out[2], 21474836);
    }
}

} // namespace
