// Picking on charts built through the program's own routines: the bright-star
// and deep-sky tables, bodies computed by the ephemeris update and comets
// loaded from element lines.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "astro/coords.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/click_data.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "model/position.h"
#include "render/hit_test.h"
#include "render/layers/status_bar.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/surface.h"
#include "resources/catalogs.h"
#include "tests/render/chart_fixture.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/temp_dir.h"

namespace {

// The shipped element line of Hale-Bopp (data/comet.elm).
const char kHaleBopp[] =
    "C        C/1995 O1  Hale-Bopp                      1997 330.937848 0.99496070  0.91741434 130.662021 "
    "282.948754  89.217090 2000.0   4.00                                                    C/1995 O1       ";

// A window of a fixed size, for the status bar's band.
struct FixedWindow : ChartSurface {
    int w, h;
    FixedWindow(int width, int height) : w(width), h(height) {}
    bool windowSize(int *width, int *height) override
    {
        *width = w;
        *height = h;
        return true;
    }
    void recreate(int, int) override {}
    Canvas *canvas() override { return nullptr; }
    void copyToWindow(int, int) override {}
};

class Picking : public ::testing::Test, public ChartFixture {
protected:
    void SetUp() override
    {
        chartSetSurface(nullptr);
        chart->statusBar = 0;
        chart->starLimit = 60;
        const DateTime date{1997, 4, 1, 20, 0, 0.0, 9.0};
        chartSetSite(chart.get(), 35.0, 139.0, 0.0);
        chartSetDate(chart.get(), &date);
    }
    void TearDown() override { chartSetSurface(nullptr); }

    void compute()
    {
        chart->lastEphemerisJd = kNeverJd;
        ephemUpdateAll(chart.get());
    }
    void loadComet(const char *line)
    {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, line), 1);
        ASSERT_EQ(addComet(chart.get(), &el), 1);
    }
    // A 60-degree equatorial chart of 600 x 600 pixels (10 pixels a degree)
    // centred on a J2000 direction.
    void viewOn(const Vec3Q14 &v)
    {
        const double x = v.x / 16384.0, y = v.y / 16384.0, z = v.z / 16384.0;
        // The chart's centre is of the date; J2000 is near enough for a centre.
        chart->centerMode[0] = std::atan2(y, x) * 180.0 / M_PI;
        if (chart->centerMode[0] < 0)
            chart->centerMode[0] += 360.0;
        chart->centerMode[1] = std::asin(z) * 180.0 / M_PI;
        view(kModeEqt, 600, 600, 60.0);
    }
    ProjectedPoint screenOf(const Vec3Q14 &v)
    {
        ProjectedPoint p{};
        EXPECT_EQ(projectPoint(chart.get(), &v, &p), 1);
        return p;
    }
    // A click on the pixel an object is drawn at: the hot spot is one left
    // and one up of the click.
    int clickAt(int32_t x, int32_t y) { return hitTest(chart.get(), screenPointPack(x + 1, y + 1)); }
    void pickNothing()
    {
        chart->hitKind = kHitKindNone;
        chart->hitIndex = 0;
    }
};

Vec3Q14 starVector(int32_t row)
{
    return Vec3Q14{brightStars[row].x, brightStars[row].y, brightStars[row].z};
}

TEST_F(Picking, TwoStarsWithinThreePixelsCycleBrighterFirstThenTheOtherThenBack)
{
    compute();
    chart->starLimit = 40; // Mizar 2.2, Alcor 4.0 and none fainter
    const int32_t mizar = starNamed("Mizar"), alcor = starNamed("Alcor");
    ASSERT_GE(mizar, 0);
    ASSERT_GT(alcor, mizar);
    viewOn(starVector(mizar));
    const ProjectedPoint a = screenOf(starVector(mizar)), b = screenOf(starVector(alcor));
    ASSERT_LE(std::abs(a.x - b.x) + std::abs(a.y - b.y), 3) << "the pair lies within three pixels";
    // The table lists Mizar's companion (magnitude 4.0) on the same spot,
    // between the two by brightness: the walk takes all three in table order.
    const int32_t companion = 490;
    ASSERT_EQ(brightStarMag10(brightStars[companion]), 40);
    ASSERT_LE(std::abs(a.x - screenOf(starVector(companion)).x), 3);
    pickNothing();
    const int32_t expected[] = {mizar, companion, alcor, mizar, companion};
    for (int32_t row : expected) {
        ASSERT_EQ(clickAt(a.x, a.y), 1);
        EXPECT_EQ(chart->hitKind, kPosStar);
        EXPECT_EQ(chart->hitIndex, row);
    }
}

TEST_F(Picking, TwoCometsOnOneSpotCycleFromTheCometClass)
{
    loadComet(kHaleBopp);
    loadComet(kHaleBopp);
    compute();
    chart->starFlags = 0;
    chart->nebulaFlags = 0;
    ProjectedPoint p{};
    const BodyPosition &c = chart->cometPositions[0];
    viewOn(toQ14(unitVector(c.raJ2000, c.decJ2000)));
    ASSERT_EQ(objectScreenPosition(chart.get(), kObjectCometBase, &p), 1);
    pickNothing();
    const int32_t expected[] = {kObjectCometBase, kObjectCometBase + 1, kObjectCometBase, kObjectCometBase + 1};
    for (int32_t id : expected) {
        ASSERT_EQ(clickAt(p.x, p.y), 1);
        EXPECT_EQ(chart->hitKind, kPosBody);
        EXPECT_EQ(chart->hitIndex, id);
    }
}

TEST_F(Picking, APickOutlivingItsCometStartsAFreshSearch)
{
    for (int i = 0; i < 5; ++i)
        loadComet(kHaleBopp);
    compute();
    chart->starFlags = 0;
    chart->nebulaFlags = 0;
    const BodyPosition &c = chart->cometPositions[0];
    viewOn(toQ14(unitVector(c.raJ2000, c.decJ2000)));
    ProjectedPoint p{};
    ASSERT_EQ(objectScreenPosition(chart.get(), kObjectCometBase, &p), 1);
    chart->hitKind = kPosBody;
    chart->hitIndex = kObjectCometBase + 4;
    ASSERT_EQ(hitPickIsValid(chart.get()), 1);
    chartStateFreeTables(chart.get());
    loadComet(kHaleBopp);
    loadComet(kHaleBopp);
    compute();
    EXPECT_EQ(hitPickIsValid(chart.get()), 0);
    ASSERT_EQ(clickAt(p.x, p.y), 1);
    EXPECT_EQ(chart->hitIndex, kObjectCometBase);
}

TEST_F(Picking, JupitersDiscPicksItUntilItIsHidden)
{
    compute();
    chart->starFlags = 0;
    chart->nebulaFlags = 0;
    viewOn(chart->planets[kObjectJupiter].unitQ14);
    ProjectedPoint p{};
    ASSERT_EQ(objectScreenPosition(chart.get(), kObjectJupiter, &p), 1);
    pickNothing();
    ASSERT_EQ(clickAt(p.x, p.y), 1);
    EXPECT_EQ(chart->hitKind, kPosBody);
    EXPECT_EQ(chart->hitIndex, kObjectJupiter);
    chart->planetFlags[kObjectJupiter] &= static_cast<uint8_t>(~kBodyShown);
    pickNothing();
    EXPECT_EQ(clickAt(p.x, p.y), 0);
    EXPECT_EQ(chart->hitKind, -1) << "a miss leaves the pick as it was";
}

TEST_F(Picking, StatusBarAndTheGroundBelowTheHorizonPickNothing)
{
    compute();
    chart->centerHrz[0] = 0.0; // looking south, the horizon across the middle
    chart->centerHrz[1] = 0.0;
    view(kModeHrz, 600, 600, 90.0);
    // A bright star under the ground: look 20 degrees below the horizon at
    // its azimuth and take the pixel whose direction is nearest to it.
    int32_t below = -1;
    double hrz[2] = {0, 0};
    for (int32_t i = 0; i < 50 && below < 0; ++i) {
        const Vec3Q14 q = starVector(i);
        const double in[2] = {std::atan2(q.y, q.x) * 180.0 / M_PI, std::asin(q.z / 16384.0) * 180.0 / M_PI};
        convertCoords(&chart->sky, COORD_EQT, in, COORD_HRZ, hrz);
        if (hrz[1] < -25.0 && hrz[1] > -60.0)
            below = i;
    }
    ASSERT_GE(below, 0);
    chart->centerHrz[0] = hrz[0];
    chart->centerHrz[1] = hrz[1] + 20.0;
    view(kModeHrz, 600, 600, 90.0);
    ProjectedPoint p{};
    double best = 1e9;
    for (int y = 0; y < 600; y += 1)
        for (int x = 200; x < 400; x += 1) {
            Vec3 v;
            if (!testScreenToSky(chart.get(), x, y, &v))
                continue;
            const Vec3Q14 q = starVector(below);
            const double d = std::fabs(v.x - q.x / 16384.0) + std::fabs(v.y - q.y / 16384.0) +
                             std::fabs(v.z - q.z / 16384.0);
            if (d < best) {
                best = d;
                p.x = x;
                p.y = y;
            }
        }
    ASSERT_LT(best, 0.01);
    pickNothing();
    EXPECT_EQ(clickAt(p.x, p.y), 0) << "star " << below << " lies under the horizon";

    chart->centerHrz[0] = 0.0; // looking south, the horizon across the middle
    chart->centerHrz[1] = 0.0;
    view(kModeHrz, 600, 600, 90.0);
    // The same kind of star above the horizon is picked, but not under the bar.
    int32_t above = -1;
    for (int32_t i = 0; i < 300 && above < 0; ++i) {
        const Vec3Q14 v = starVector(i);
        if (projectPoint(chart.get(), &v, &p) && p.depth > 500 && p.x > 20 && p.x < 580 && p.y > 20 &&
            p.y < 280)
            above = i;
    }
    ASSERT_GE(above, 0);
    ASSERT_EQ(clickAt(p.x, p.y), 1);
    EXPECT_EQ(chart->hitIndex, above);
    FixedWindow window(600, 600);
    chartSetSurface(&window);
    chart->statusBar = kStatusBarShown;
    appData->fontSetExtents[StatusFontset].maxLogicalExtent = ChartRect{0, -300, 9, 300};
    ASSERT_EQ(statusBarContains(chart.get(), screenPointPack(p.x, p.y)), 1);
    pickNothing();
    EXPECT_EQ(clickAt(p.x, p.y), 0);
}

TEST_F(Picking, M31WithNebulaeHiddenNeedsTheStarLimitAtFour)
{
    compute();
    chart->starFlags = 0;
    chart->nebulaFlags = 0;
    const int32_t m31 = messierRow(31), m13 = messierRow(13);
    ASSERT_GE(m31, 0);
    struct Case {
        int32_t row;
        int32_t starLimit;
        int picked;
    } cases[] = {{m31, 39, 0}, {m31, 40, 1}, {m13, 40, 0}};
    for (const Case &c : cases) {
        viewOn(nebulaPositions[c.row]);
        const ProjectedPoint p = screenOf(nebulaPositions[c.row]);
        chart->starLimit = c.starLimit;
        pickNothing();
        EXPECT_EQ(clickAt(p.x, p.y), c.picked) << "row " << c.row << " limit " << c.starLimit;
        if (c.picked) {
            EXPECT_EQ(chart->hitKind, kPosNebula);
            EXPECT_EQ(chart->hitIndex, c.row);
        }
    }
    // Shown with the deep-sky objects, M13 is picked at any star limit.
    chart->nebulaFlags = kNebulaShown;
    chart->starLimit = 20;
    viewOn(nebulaPositions[m13]);
    const ProjectedPoint p = screenOf(nebulaPositions[m13]);
    pickNothing();
    ASSERT_EQ(clickAt(p.x, p.y), 1);
    EXPECT_EQ(chart->hitIndex, m13);
}

TEST_F(Picking, TheMiddleColumnAndRowCountAsRightAndLower)
{
    view(kModeEqt, 400, 300, 60.0);
    struct Case {
        int32_t x, y;
        int quarter;
    } cases[] = {{0, 0, 1}, {199, 149, 1}, {200, 149, 2}, {199, 150, 3}, {200, 150, 4}, {399, 299, 4}};
    for (const Case &c : cases)
        EXPECT_EQ(hitQuarter(chart.get(), c.x, c.y), c.quarter) << c.x << "," << c.y;
}

TEST_F(Picking, SelectingTakesTheClickDataAndAMissClearsIt)
{
    TempDir dir;
    const std::string cdf =
        dir.write("t.cdf", ":STAR alphaOri\n@IMAGE betelgeuse.jpg \"Betelgeuse\"\n@TEXT \"A red supergiant.\"\n"
                           ":STAR Rigel\n@IMAGE rigel.jpg\n");
    std::snprintf(appData->clickDataFile, sizeof appData->clickDataFile, "%s", cdf.c_str());
    ASSERT_EQ(loadClickData(chart.get(), cdf.c_str()), 1);
    struct Unload {
        ChartState *c;
        ~Unload() { freeClickData(c); }
    } unload{chart.get()};
    compute();
    const int32_t betelgeuse = starNamed("Betelgeuse");
    viewOn(starVector(betelgeuse));
    const ProjectedPoint p = screenOf(starVector(betelgeuse));
    pickNothing();
    chart->clickFlags = 0;
    ASSERT_EQ(clickDataSelect(chart.get(), screenPointPack(p.x + 1, p.y + 1)), 1);
    EXPECT_EQ(chart->hitIndex, betelgeuse);
    EXPECT_EQ(chart->clickFlags, hitQuarter(chart.get(), p.x + 1, p.y + 1) | kClickHasText | kClickHasImage);
    EXPECT_STREQ(chart->clickText, "A red supergiant.");
    EXPECT_EQ(chart->clickPointX, p.x + 1);

    // Button 2 collects the pictures of what is there, the pick unchanged.
    chart->hitKind = kPosNebula;
    chart->hitIndex = 7;
    ImageList *list = imageListNew();
    EXPECT_EQ(chartCountObjectsAtPoint(chart.get(), screenPointPack(p.x + 1, p.y + 1), list), 1);
    EXPECT_EQ(list->count, 1);
    if (list->count == 1) {
        EXPECT_STREQ(list->items[0].file, "betelgeuse.jpg");
    }
    imageListFree(list);
    EXPECT_EQ(chart->hitKind, kPosNebula);
    EXPECT_EQ(chart->hitIndex, 7);

    // Off every object: the selection goes.
    ASSERT_EQ(clickDataSelect(chart.get(), screenPointPack(5, 5)), 0);
    EXPECT_EQ(chart->clickFlags, 0);
    EXPECT_STREQ(chart->clickText, "");
    EXPECT_EQ(chart->clickPointX, -1);
    EXPECT_EQ(chart->clickPointY, -1);
}

TEST_F(Picking, PopUpButtonsOnePerKindOfObjectThere)
{
    loadComet(kHaleBopp);
    loadComet(kHaleBopp);
    compute();
    chart->starFlags = 0;
    const BodyPosition &c = chart->cometPositions[0];
    viewOn(toQ14(unitVector(c.raJ2000, c.decJ2000)));
    ProjectedPoint p{};
    ASSERT_EQ(objectScreenPosition(chart.get(), kObjectCometBase, &p), 1);
    int buttons[kPopupButtonKinds];
    ASSERT_EQ(popupObjectButtonsAt(chart.get(), screenPointPack(p.x + 1, p.y + 1), buttons, kPopupButtonKinds), 1);
    EXPECT_EQ(buttons[0], kPopupComet);
    struct Case {
        int32_t kind, index;
        int button;
    } cases[] = {{kPosStar, 0, kPopupStar},        {kPosBody, kObjectSun, kPopupSun},
                 {kPosBody, kObjectMoon, kPopupMoon}, {kPosBody, kObjectPluto, kPopupPlanet},
                 {kPosBody, kObjectEarth, -1},    {kPosBody, kObjectMinorPlanetBase + 3, kPopupMinorPlanet},
                 {kPosJupiterMoon, 2, kPopupJupiterMoon}, {kPosUserObject, 0, -1}, {kPosNamedPoint, 0, -1}};
    for (const Case &k : cases)
        EXPECT_EQ(popupButtonOfPick(k.kind, k.index), k.button) << k.kind << " " << k.index;
}

} // namespace
