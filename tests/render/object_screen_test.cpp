// Screen positions of the bodies: which bodies have one in which chart kind.
#include <gtest/gtest.h>

#include <cstdlib>

#include "model/chart_date.h"
#include "model/chart_state.h"
#include "render/object_screen.h"
#include "tests/render/chart_fixture.h"

namespace {

struct BodiesInView : ChartFixture {
    BodyPosition comet{};
    uint8_t cometFlag = 0x02;
    BodiesInView() {
        // At the J2000.0 epoch the precession is the identity, so a view
        // centred on R.A. 0 on the equator has the J2000 frame itself.
        const DateTime epoch{2000, 1, 1, 12, 0, 0.0, 0.0};
        chartSetDate(chart.get(), &epoch);
        chart->centerMode[0] = 0.0;
        chart->centerMode[1] = 0.0;
        const Vec3 nearCentre = unitVector(3.0, 2.0);
        const Vec3Q14 q = toQ14(nearCentre);
        const Vec3 helio{0.5, 0.3, 0.1};
        chart->sun.unit = nearCentre;
        chart->sun.unitQ14 = q;
        chart->sun.earthHelio = Vec3{-1.0, 0.2, 0.0};
        chart->moon.unit = nearCentre;
        chart->moon.unitQ14 = q;
        for (SolarBodyRecord &p : chart->planets) {
            p.unit = nearCentre;
            p.unitQ14 = q;
            p.helio = helio;
        }
        comet.geoUnit = nearCentre;
        comet.geoUnitQ14 = q;
        comet.helio = helio;
        chart->cometPositions = &comet;
        chart->cometFlags = &cometFlag;
        chart->cometCount = 1;
    }
    ~BodiesInView() {
        // The table is the test's own, not malloc'd.
        chart->cometPositions = nullptr;
        chart->cometFlags = nullptr;
        chart->cometCount = 0;
    }
};

TEST(ObjectScreenPosition, EachBodyHasAPlaceOnlyWhereItBelongs) {
    struct {
        const char *name;
        int mode, id, visible;
    } cases[] = {
        {"the Moon in a sky chart", kModeEqt, -1, 1},
        {"no Moon in the solar-system view", kModeSol1, -1, 0},
        {"no Earth in a sky chart", kModeEqt, -3, 0},
        {"the Earth in the solar-system view", kModeSol2, -3, 1},
        {"the Sun in the whole-sky map", kModeAll1Eqt, -2, 1},
        {"the Sun at the origin of the solar-system view", kModeSol1, -2, 1},
        {"Mars in the Aitoff map", kModeAll2Eqt, 2, 1},
        {"Pluto in a sky chart", kModeEqt, 7, 1},
        {"comet 0", kModeEqt, 10000, 1},
        {"a comet past the table's end", kModeEqt, 10001, 0},
        {"no minor planets loaded", kModeEqt, 20000, 0},
        {"a Galilean moon is not a body of this kind", kModeEqt, 8, 0},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        BodiesInView f;
        f.view(k.mode, 600, 600, 60.0);
        ProjectedPoint p{0, 0, 0, 0};
        EXPECT_EQ(k.visible, objectScreenPosition(f.chart.get(), k.id, &p));
    }
}

TEST(ObjectScreenPosition, HiddenBodiesHaveNoPlace) {
    BodiesInView f;
    f.view(kModeEqt, 600, 600);
    ProjectedPoint p{0, 0, 0, 0};
    f.chart->planetFlags[3] = 0x20; // drawn bit clear
    EXPECT_EQ(0, objectScreenPosition(f.chart.get(), 3, &p));
    f.cometFlag = 0;
    EXPECT_EQ(0, objectScreenPosition(f.chart.get(), 10000, &p));
    f.chart->sunFlags = 0;
    EXPECT_EQ(0, objectScreenPosition(f.chart.get(), -2, &p));
}

TEST(ObjectScreenPosition, SolarSystemViewUsesTheHeliocentricPlace) {
    BodiesInView f;
    f.view(kModeSol1, 600, 600);
    ProjectedPoint sun{0, 0, 0, 0};
    ASSERT_EQ(1, objectScreenPosition(f.chart.get(), -2, &sun));
    EXPECT_EQ(f.chart->centerX, sun.x) << "the Sun sits at the origin";
    EXPECT_EQ(f.chart->centerY, sun.y);
    ProjectedPoint earth{0, 0, 0, 0};
    ASSERT_EQ(1, objectScreenPosition(f.chart.get(), -3, &earth));
    EXPECT_EQ(f.chart->centerX - static_cast<int>(f.chart->projScale[0] * 0.2), earth.x);
    EXPECT_EQ(f.chart->centerY, earth.y);
}

} // namespace
