// The info box's lines and their drawing, on charts set up through the
// program's own routines; expected places and times come from the star
// catalogue and from python3-ephem (tests/astro/rise_reference_data.h).
#include "render/info_box.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/rise_set.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "model/position.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "tests/astro/rise_reference_data.h"
#include "tests/astro/rise_tromso_data.h"
#include "tests/render/chart_fixture.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/element_rows.h"

namespace {

constexpr uint32_t pixel(int32_t index) { return 1000u + static_cast<uint32_t>(index); }

class InfoBox : public ::testing::Test, public ChartFixture {
protected:
    void at(double lat, double lon, double height, int y, int m, int d, int hour, double zone)
    {
        chartSetSite(chart.get(), lat, lon, height);
        const DateTime date{y, m, d, hour, 0, 0.0, zone};
        chartSetDate(chart.get(), &date);
        ephemUpdateAll(chart.get());
    }
    void pick(int32_t kind, int32_t index)
    {
        chart->hitKind = kind;
        chart->hitIndex = index;
    }
    InfoBoxText text()
    {
        InfoBoxText t;
        infoBoxText(chart.get(), &t);
        return t;
    }
};

struct CoreTexts {
    std::vector<std::string> texts;
    static void draw(void *self, int, int, const char *text, int len)
    {
        static_cast<CoreTexts *>(self)->texts.emplace_back(text, static_cast<size_t>(len));
    }
};

TEST_F(InfoBox, EquatorialLinesRoundWrapAndSignAsWorkedOut)
{
    pick(kPosStar, 0);
    struct Case {
        double ra, dec, mag, size;
        const char *line;
    } cases[] = {
        // 23h59m58s: the 3 s of rounding wrap the hour.
        {(23 + 59 / 60.0 + 58 / 3600.0) * 15, 10.0, kInfoNoValue, kInfoNoValue, "R.A.  0h 0.0m  Decl +10\260 0'"},
        // -0.2 degrees: the sign is the value's, not the rounded degrees'.
        {90.0, -0.2, kInfoNoValue, kInfoNoValue, "R.A.  6h 0.0m  Decl - 0\26012'"},
        {10.0, 41.27, 3.4, 8.5, "R.A.  0h40.0m  Decl +41\26016' Mag 3.4 Size 8.5'"},
        {10.0, 41.27, kInfoNoValue, 12.0, "R.A.  0h40.0m  Decl +41\26016' Size 12'"},
    };
    for (const Case &c : cases) {
        char out[kInfoLineSize];
        EXPECT_EQ(formatEquatorialLine(chart.get(), c.ra, c.dec, c.mag, c.size, out, sizeof out), 1);
        EXPECT_STREQ(out, c.line);
    }
    char out[kInfoLineSize];
    EXPECT_EQ(formatEquatorialLine(chart.get(), kInfoNoPosition, 3.0, 1.0, 1.0, out, sizeof out), 0);
    EXPECT_STREQ(out, "R.A. --h--.-m  Decl --\260--'");
    pick(kPosBody, kObjectEarth);
    EXPECT_EQ(formatEquatorialLine(chart.get(), 0.0, 0.0, kInfoNoValue, kInfoNoValue, out, sizeof out), 0);
    EXPECT_STREQ(out, "--.-- --.--");
}

TEST_F(InfoBox, EventClockShowsHalfAMinuteBeforeMidnightAs2400)
{
    char out[16];
    // 2026-01-15 22:59:30.5 UT, zone +1.
    formatEventClock(2461055.5 + (22 * 3600 + 59 * 60 + 30.5) / 86400.0, 1.0, out, sizeof out);
    EXPECT_STREQ(out, "24:00");
    char line[kInfoLineSize];
    formatRiseSetLine(line, sizeof line, 0.0, 1, 2461055.5 + 6.5 / 24, 0, 0.0);
    EXPECT_STREQ(line, "Rise 06:30  Set --:--");
}

TEST_F(InfoBox, BetelgeuseNamesOrionAndStandsAtItsCataloguePlace)
{
    at(51.4779, 0.0, 0.0, 2026, 1, 15, 22, 0.0);
    const int32_t star = starNamed("Betelgeuse");
    pick(kPosStar, star);
    const InfoBoxText t = text();
    const std::string name = t.name;
    EXPECT_NE(name.find("Ori"), std::string::npos) << name;
    EXPECT_NE(name.find("Betelgeuse"), std::string::npos) << name;
    // Hipparcos: 05h55m10.31s +07d24'25.4" (J2000).
    int h, deg, arcmin;
    double minutes;
    char sign;
    ASSERT_EQ(std::sscanf(t.equatorial, "R.A. %dh%lfm  Decl %c%d\260%d'", &h, &minutes, &sign, &deg, &arcmin), 5)
        << t.equatorial;
    EXPECT_EQ(h, 5);
    EXPECT_NEAR(minutes, 55.17, 0.2);
    EXPECT_EQ(sign, '+');
    EXPECT_EQ(deg, 7);
    EXPECT_NEAR(arcmin, 24.4, 2.0);
    EXPECT_EQ(t.equatorialKnown, 1);
    EXPECT_EQ(t.line4Placeholder, 0);
    EXPECT_EQ(std::string(t.line4).rfind("Azm ", 0), 0u);
}

// The bright-table row nearest to a J2000 place (degrees), found by its
// vector, not by name.
int32_t starNearest(double raDeg, double decDeg)
{
    const Vec3 want = unitVector(raDeg, decDeg);
    int32_t best = -1;
    double bestDot = -2.0;
    for (int32_t i = 0; i < brightStarCount; ++i) {
        const BrightStar &s = brightStars[i];
        const double dot = (want.x * s.x + want.y * s.y + want.z * s.z) / 16384.0;
        if (dot > bestDot) {
            bestDot = dot;
            best = i;
        }
    }
    return best;
}

// The four letters the symbol font once had wrong, each named in full; the
// places and designations are the Bright Star Catalogue's.
TEST_F(InfoBox, StarNamesSpellZetaXiPsiAndOmega)
{
    at(51.4779, 0.0, 0.0, 2026, 1, 15, 22, 0.0);
    const struct {
        double raH, raM, raS, decSign, decD, decM, decS;
        const char *name;
    } cases[] = {
        {5, 40, 45.5, -1, 1, 56, 34, "50zeta Ori ("},  // Alnitak
        {3, 58, 57.9, +1, 35, 47, 28, "46xi Per ("},   // Menkib
        {11, 9, 39.8, +1, 44, 29, 55, "52psi UMa ("},
        {20, 51, 49.3, -1, 26, 55, 9, "18omega Cap ("},
    };
    for (const auto &c : cases) {
        const double ra = (c.raH + c.raM / 60 + c.raS / 3600) * 15;
        const double dec = c.decSign * (c.decD + c.decM / 60 + c.decS / 3600);
        pick(kPosStar, starNearest(ra, dec));
        const std::string name = text().name;
        EXPECT_EQ(name.rfind(c.name, 0), 0u) << name;
    }
}

// The reference clock time of one event, "hh:mm" minutes of the local day.
double referenceMinutes(const RiseReferenceEvent &r, double zone)
{
    double local = r.jd + zone / 24.0 + 0.5;
    local -= std::floor(local);
    return local * 1440.0;
}

// At Tromso on 2024-02-03 the Moon is down at local noon but up before dawn
// (an independent scan of its altitude, tools/rise_set_refs.py --tromso).
TEST_F(InfoBox, TheMoonAtTromsoShowsTheRiseAndSetOfADayItIsDownAtNoon)
{
    at(kTromsoLatitudeDeg, kTromsoLongitudeDeg, 0.0, 2024, 2, 3, 12, kTromsoZoneHours);
    pick(kPosBody, kObjectMoon);
    const InfoBoxText t = text();
    int riseH, riseM, setH, setM;
    ASSERT_EQ(std::sscanf(t.riseSet, "Rise %d:%d  Set %d:%d", &riseH, &riseM, &setH, &setM), 4) << t.riseSet;
    for (const TromsoEvent &ref : kTromsoEvents) {
        if (ref.month != 2 || ref.day != 3 || ref.kind != -1)
            continue;
        double local = ref.jd + kTromsoZoneHours / 24.0 + 0.5;
        local = (local - std::floor(local)) * 1440.0;
        EXPECT_NEAR(ref.event == 1 ? riseH * 60 + riseM : setH * 60 + setM, local, 3.0) << t.riseSet;
    }
}

TEST_F(InfoBox, JupiterAndItsMoonsShowJupitersRiseAndSet)
{
    const RiseReferenceSite &s = kRiseReferenceSites[0];
    at(s.latitudeDeg, s.longitudeDeg, s.heightM, 2026, 3, 20, 12, s.zoneHours);
    pick(kPosBody, kObjectJupiter);
    const InfoBoxText jupiter = text();
    EXPECT_EQ(std::string(jupiter.name).rfind("Jupiter D.M.", 0), 0u) << jupiter.name;
    int riseH, riseM, setH, setM;
    ASSERT_EQ(std::sscanf(jupiter.riseSet, "Rise %d:%d  Set %d:%d", &riseH, &riseM, &setH, &setM), 4)
        << jupiter.riseSet;
    for (const RiseReferenceEvent &r : kRiseReferenceEvents) {
        if (r.site != 0 || r.year != 2026 || r.month != 3 || r.day != 20 || r.kind != kObjectJupiter ||
            r.altitude != 0.0)
            continue;
        if (r.event == kRiseEvent) {
            EXPECT_NEAR(riseH * 60 + riseM, referenceMinutes(r, s.zoneHours), 2.0);
        }
        if (r.event == kSetEvent) {
            EXPECT_NEAR(setH * 60 + setM, referenceMinutes(r, s.zoneHours), 2.0);
        }
    }
    pick(kPosJupiterMoon, 2);
    const InfoBoxText ganymede = text();
    EXPECT_STREQ(ganymede.riseSet, jupiter.riseSet);
    EXPECT_NE(std::string(ganymede.name).find("(III)"), std::string::npos) << ganymede.name;
}

TEST_F(InfoBox, SolarSystemViewDrawsTheSunsAndTheEarthsMissingDistanceInGray)
{
    at(35.0, 139.0, 0.0, 2026, 1, 15, 12, 9.0);
    chart->mode = kModeSol1;
    struct Case {
        int32_t id;
        uint32_t delta, r;
    } cases[] = {{kObjectSun, pixel(ColorBlack), pixel(ColorGrayText)},
                 {kObjectEarth, pixel(ColorGrayText), pixel(ColorBlack)},
                 {kObjectMars, pixel(ColorBlack), pixel(ColorBlack)}};
    for (const Case &c : cases) {
        pick(kPosBody, c.id);
        RecordingCanvas canvas;
        CoreTexts core;
        drawInfoBox(chart.get(), &canvas, CoreTexts::draw, &core);
        auto strings = canvas.callsOf(OpDrawString);
        const CanvasCall *delta = nullptr, *r = nullptr;
        for (const CanvasCall &s : strings) {
            if (s.text.rfind("Delta", 0) == 0)
                delta = &s;
            if (s.text.rfind("r ", 0) == 0)
                r = &s;
        }
        ASSERT_TRUE(delta && r) << c.id;
        EXPECT_EQ(delta->pixel, c.delta) << c.id;
        EXPECT_EQ(r->pixel, c.r) << c.id;
        EXPECT_GT(r->a[1], delta->a[1]);
        EXPECT_TRUE(core.texts.empty());
    }
    // The Moon has no distances here: the placeholder in the GC's font.
    pick(kPosBody, kObjectMoon);
    RecordingCanvas canvas;
    CoreTexts core;
    drawInfoBox(chart.get(), &canvas, CoreTexts::draw, &core);
    ASSERT_EQ(core.texts.size(), 1u);
    EXPECT_EQ(core.texts[0], "Delta  -.---AU  r  -.---AU");
}

TEST_F(InfoBox, APickOfACometNoLongerLoadedShowsPlaceholders)
{
    at(35.0, 139.0, 0.0, 1997, 4, 1, 20, 9.0);
    for (int i = 0; i < 5; ++i) {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, kHaleBoppElements), 1);
        ASSERT_EQ(addComet(chart.get(), &el), 1);
    }
    pick(kPosBody, kObjectCometBase + 4);
    EXPECT_EQ(std::string(text().name), "C/1995 O1 Hale-Bopp");
    chartStateFreeTables(chart.get());
    for (int i = 0; i < 2; ++i) {
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, kHaleBoppElements), 1);
        ASSERT_EQ(addComet(chart.get(), &el), 1);
    }
    ephemUpdateAll(chart.get());
    RecordingCanvas canvas;
    CoreTexts core;
    EXPECT_EQ(drawInfoBox(chart.get(), &canvas, CoreTexts::draw, &core), 0);
    const InfoBoxText t = text();
    EXPECT_STREQ(t.name, "");
    EXPECT_STREQ(t.equatorial, "R.A. --h--.-m  Decl --\260--'");
    EXPECT_STREQ(t.riseSet, "Rise --:--  Set --:--");
    ASSERT_EQ(core.texts.size(), 1u);
    EXPECT_EQ(core.texts[0], "Azm ---.--\260  Alt ---.--\260");
}

TEST_F(InfoBox, DeepSkyNamesCarryTheirSecondCatalogueAndSize)
{
    at(35.0, 139.0, 0.0, 2026, 1, 15, 22, 9.0);
    pick(kPosNebula, messierRow(31));
    const InfoBoxText t = text();
    EXPECT_EQ(std::string(t.name).rfind("M31 (NGC224)  ", 0), 0u) << t.name;
    EXPECT_NE(std::string(t.equatorial).find("Size"), std::string::npos) << t.equatorial;
}

TEST_F(InfoBox, SmallBodyLabelTakesTheFirstFilledFieldAndTrimsTheName)
{
    OrbitalElements el{};
    std::snprintf(el.id, sizeof el.id, "      ");
    std::snprintf(el.designation, sizeof el.designation, "1P");
    std::snprintf(el.name, sizeof el.name, "Halley    ");
    std::snprintf(el.extension, sizeof el.extension, "               ");
    char out[64];
    smallBodyLabel(&el, out, sizeof out);
    EXPECT_STREQ(out, "1P Halley");
    char tiny[6];
    smallBodyLabel(&el, tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "1P Ha");
}

} // namespace
