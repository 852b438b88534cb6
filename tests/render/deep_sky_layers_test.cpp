// The deep-sky, user-object and sky-mark layers on a recording canvas.
#include <gtest/gtest.h>

#include <cmath>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "model/view_geometry.h"
#include "render/layers/deep_sky.h"
#include "render/layers/user_objects.h"
#include "render/lines.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "render/shown_objects.h"
#include "resources/catalogs.h"
#include "tests/render/chart_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

// M31 (NGC 224) and M42 (NGC 1976), J2000, from the NGC/IC source catalogue.
constexpr double kM31Ra = 10.68458, kM31Dec = 41.26917;
constexpr double kM42Ra = 83.82208, kM42Dec = -5.39111;

struct Layers : ChartFixture, ::testing::Test {
    RecordingCanvas canvas;

    Layers() {
        ChartState *c = chart.get();
        chartSetSite(c, 50.0, 10.0, 0.0);
        chartSetJd(c, 2451545.0, 0.0);
    }
    ~Layers() override { unloadUserObjects(chart.get()); }

    void lookAt(double raDeg, double decDeg, double field = 20.0) {
        chart->centerMode[0] = raDeg;
        chart->centerMode[1] = decDeg;
        view(kModeEqt, 400, 400, field);
        chartSetWrapMode(chart.get());
    }

    // Where the chart puts a J2000 direction, found through the position
    // routines rather than the deep-sky tables.
    ProjectedPoint placeOf(double raDeg, double decDeg) {
        const double values[2] = {raDeg, decDeg};
        ProjectedPoint p{};
        EXPECT_EQ(targetScreenPosition(chart.get(), kPosEqt, 0, values, &p), 1);
        return p;
    }

    std::vector<CanvasCall> strings(const std::string &text) const {
        std::vector<CanvasCall> out;
        for (const CanvasCall &c : canvas.callsOf(OpDrawString))
            if (c.text == text) out.push_back(c);
        return out;
    }

    void loadFile(const std::string &text) {
        TempDir dir;
        std::string path = dir.write("test.adf", text);
        ASSERT_EQ(loadUserObjectFile(chart.get(), path.c_str(), &chart->userObjectFiles, &chart->userObjectFileCount,
                                     kUserObjectReportCommand),
                  1);
    }
};

NebulaRecord record(int type, int mag10, int32_t catalogueBits) {
    return NebulaRecord{static_cast<uint32_t>(mag10) << 8 | static_cast<uint32_t>(type), catalogueBits | 1, 100};
}

TEST_F(Layers, NebulaFilterByLimitTypeAndCatalogue) {
    struct Case {
        const char *what;
        uint8_t types, catalogues;
        int32_t limitOn, faint, bright;
        NebulaRecord rec;
        int shown;
    } cases[] = {
        {"no type bit: a planetary", 0x00, 7, 0, 0, 0, record(0, 90, nebulaFlagNgc), 1},
        {"no type bit: a galaxy", 0x80, 7, 0, 0, 0, record(4, 90, nebulaFlagNgc), 1},
        {"GALAXY only: a galaxy", 0x20, 7, 0, 0, 0, record(4, 90, nebulaFlagNgc), 1},
        {"GALAXY only: an open cluster", 0x20, 7, 0, 0, 0, record(2, 90, nebulaFlagNgc), 0},
        {"GALAXY only: a globular", 0x20, 7, 0, 0, 0, record(3, 90, nebulaFlagNgc), 0},
        {"GLOBE only: a globular", 0x08, 7, 0, 0, 0, record(3, 90, nebulaFlagNgc), 1},
        {"OPEN only: an open cluster", 0x10, 7, 0, 0, 0, record(2, 90, nebulaFlagNgc), 1},
        {"COMPOUND only: type 5", 0x40, 7, 0, 0, 0, record(5, 90, nebulaFlagNgc), 1},
        {"too faint", 0x7F, 7, 1, 110, 0, record(4, 111, nebulaFlagNgc), 0},
        {"at the faint limit", 0x7F, 7, 1, 110, 0, record(4, 110, nebulaFlagNgc), 1},
        {"too bright", 0x7F, 7, 1, 110, 50, record(4, 49, nebulaFlagNgc), 0},
        {"limit off", 0x7F, 7, 0, 110, 50, record(4, 200, nebulaFlagNgc), 1},
        {"IC off", 0x7F, 3, 0, 0, 0, record(4, 90, nebulaFlagIc), 0},
        {"Messier only, an NGC Messier object", 0x7F, 1, 0, 0, 0, record(4, 90, nebulaFlagNgc | nebulaFlagMessier), 1},
        {"NGC only, a Messier-only record", 0x7F, 2, 0, 0, 0, record(4, 90, nebulaFlagMessier), 0},
    };
    for (const Case &c : cases) {
        chart->nebulaTypeFlags = c.types;
        chart->nebulaCatalogFlags = c.catalogues;
        chart->nebulaLimitOn = c.limitOn;
        chart->nebulaMin = c.faint;
        chart->nebulaMax = c.bright;
        EXPECT_EQ(nebulaIsShown(chart.get(), &c.rec), c.shown) << c.what;
    }
}

TEST_F(Layers, AnObjectOfTwoCataloguesHasTwoLabels) {
    lookAt(kM31Ra, kM31Dec);
    chart->nebulaFlags = kNebulaShown | kNebulaName;
    chart->nebulaCatalogFlags = 0x03; // MESSIER and NGC
    chart->nebulaLimitOn = 0;
    chartDrawNebulae(chart.get(), &canvas);
    const ProjectedPoint m31 = placeOf(kM31Ra, kM31Dec);
    std::vector<CanvasCall> symbolsAtM31;
    for (const CanvasCall &c : canvas.callsOf(OpDrawBitmap))
        if (std::abs(c.a[0] + 5 - m31.x) <= 2 && std::abs(c.a[1] + 5 - m31.y) <= 2) symbolsAtM31.push_back(c);
    ASSERT_EQ(symbolsAtM31.size(), 2u) << "drawn once from each catalogue";
    EXPECT_EQ(symbolsAtM31[0].pixel, appData->pixels[ColorNebulaMark]);
    const auto m = strings("M31"), n = strings("N224");
    ASSERT_EQ(m.size(), 1u);
    ASSERT_EQ(n.size(), 1u);
    EXPECT_EQ(m[0].a[1], n[0].a[1]) << "one label column";
    // Recording font: ascent 10, descent 3 (o = 13, t = -10). Above: baseline
    // y - 3; below: y + 10.
    EXPECT_EQ(m[0].a[2], symbolsAtM31[0].a[1] + 5 - 3);
    EXPECT_EQ(n[0].a[2], symbolsAtM31[0].a[1] + 5 + 10);
    EXPECT_EQ(m[0].pixel, appData->pixels[ColorNabulaNameFont]);

    // Messier alone: one label, centred on the point's row (y - 6 + 10).
    canvas.clear();
    chart->nebulaCatalogFlags = 0x01;
    chartDrawNebulae(chart.get(), &canvas);
    ASSERT_EQ(strings("M31").size(), 1u);
    EXPECT_EQ(strings("M31")[0].a[2], symbolsAtM31[0].a[1] + 5 + 4);
    EXPECT_TRUE(strings("N224").empty());

    // M42 lands where the chart puts its catalogue place.
    canvas.clear();
    lookAt(kM42Ra, kM42Dec);
    chartDrawNebulae(chart.get(), &canvas);
    const ProjectedPoint m42 = placeOf(kM42Ra, kM42Dec);
    const auto label = strings("M42");
    ASSERT_EQ(label.size(), 1u);
    bool found = false;
    for (const CanvasCall &c : canvas.callsOf(OpDrawBitmap))
        found = found || (std::abs(c.a[0] + 5 - m42.x) <= 2 && std::abs(c.a[1] + 5 - m42.y) <= 2);
    EXPECT_TRUE(found);
}

TEST_F(Layers, TheFaintLimitStopsEachCatalogue) {
    lookAt(0, 0);
    view(kModeAll1Eqt, 800, 400, 360.0);
    chart->nebulaFlags = kNebulaShown | kNebulaMag | kNebulaName;
    chart->nebulaCatalogFlags = 0x07;
    chart->nebulaLimitOn = 1;
    chart->nebulaMin = 110;
    chart->nebulaMax = -100;
    chartDrawNebulae(chart.get(), &canvas);
    int names[3] = {0, 0, 0}, within[3] = {0, 0, 0};
    for (const CanvasCall &c : canvas.callsOf(OpDrawString)) {
        if (c.a[0] == NebulaMagFontset) {
            EXPECT_LE(std::atof(c.text.c_str()), 11.0) << c.text;
        }
        if (c.a[0] == NebulaNameFontset) names[std::string("MNI").find(c.text[0])]++;
    }
    for (int cat = 0; cat < 3; ++cat)
        for (int32_t i = nebulaFirst[cat]; i < nebulaFirst[cat] + nebulaCounts[cat]; ++i)
            within[cat] += nebulaMag10(nebulaRecords[i]) <= 110;
    for (int cat = 0; cat < 3; ++cat) {
        EXPECT_GT(names[cat], 0) << cat;
        EXPECT_LE(names[cat], within[cat]) << cat;
    }
    EXPECT_GT(names[0], 90) << "most Messier objects are brighter than 11.0";
}

TEST_F(Layers, UnknownMagnitudeGetsTheSmallestSymbolAndNoMagnitude) {
    int32_t row = -1;
    for (int32_t i = nebulaFirst[1]; i < nebulaFirst[1] + nebulaCounts[1] && row < 0; ++i)
        if (nebulaMag10(nebulaRecords[i]) == nebulaMagUnknown) row = i;
    ASSERT_GE(row, 0);
    const Vec3Q14 &v = nebulaPositions[row];
    const double ra = std::atan2(v.y, v.x) * 180.0 / M_PI, dec = std::asin(v.z / 16384.0) * 180.0 / M_PI;
    lookAt(ra < 0 ? ra + 360 : ra, dec, 2.0);
    chart->nebulaFlags = kNebulaShown | kNebulaMag | kNebulaName;
    chart->nebulaCatalogFlags = 0x02;
    chart->nebulaLimitOn = 0;
    chartDrawNebulae(chart.get(), &canvas);
    const std::string name = "N" + std::to_string(nebulaRecords[row].number & nebulaNumberMask);
    const auto label = strings(name);
    ASSERT_EQ(label.size(), 1u);
    const ProjectedPoint p = placeOf(ra < 0 ? ra + 360 : ra, dec);
    const uint16_t *small = nebulaSymbol(nebulaType(nebulaRecords[row]), 2);
    bool found = false;
    for (const CanvasCall &c : canvas.callsOf(OpDrawBitmap)) {
        if (std::abs(c.a[0] + 5 - p.x) > 2 || std::abs(c.a[1] + 5 - p.y) > 2) continue;
        std::vector<CanvasPoint> expected;
        for (int r = 0; r < 9; ++r)
            for (int col = 0; col < 9; ++col)
                if (small[r] & (1u << col)) expected.push_back({int16_t(c.a[0] + col), int16_t(c.a[1] + r)});
        found = found || c.points.size() == expected.size();
    }
    EXPECT_TRUE(found) << "smallest symbol at the object";
    for (const CanvasCall &c : canvas.callsOf(OpDrawString))
        if (c.a[0] == NebulaMagFontset) {
            EXPECT_NE(c.text, "25.5");
            EXPECT_FALSE(std::abs(c.a[1] + 6 * static_cast<int>(c.text.size()) / 2 - p.x) <= 1 &&
                         std::abs(c.a[2] - (p.y - 2 + 6 + 10)) <= 1)
                << "a magnitude label for an unknown magnitude: " << c.text;
        }
    // Its name column is x - 2 + 6.
    EXPECT_NEAR(label[0].a[1], p.x + 4, 1);
}

TEST_F(Layers, SymbolsAreDistinctShapes) {
    for (int t = 0; t < 6; ++t)
        for (int h = 0; h < 3; ++h) {
            const uint16_t *s = nebulaSymbol(t, h);
            ASSERT_NE(s, nullptr);
            int pixels = 0;
            for (int r = 0; r < 9; ++r) {
                EXPECT_EQ(s[r] >> 9, 0) << "nine columns";
                pixels += __builtin_popcount(s[r]);
            }
            EXPECT_GT(pixels, 4) << t << "," << h;
            for (int u = 0; u < t; ++u) EXPECT_NE(std::vector<uint16_t>(s, s + 9), std::vector<uint16_t>(nebulaSymbol(u, h), nebulaSymbol(u, h) + 9));
        }
    // Types past the record types borrow the shape of type mod 6.
    for (int t = 6; t < 18; ++t)
        for (int h = 0; h < 3; ++h)
            EXPECT_EQ(std::vector<uint16_t>(nebulaSymbol(t, h), nebulaSymbol(t, h) + 9),
                      std::vector<uint16_t>(nebulaSymbol(t % 6, h), nebulaSymbol(t % 6, h) + 9))
                << t << "," << h;
    EXPECT_EQ(nebulaSymbol(18, 0), nullptr);
    EXPECT_EQ(nebulaSymbol(-1, 0), nullptr);
    EXPECT_EQ(nebulaSymbol(0, 3), nullptr);
}

TEST_F(Layers, LineDashesAndBreaks) {
    lookAt(15.0, 0.0, 60.0);
    // 0h..2h at declination 0 (15 degrees each); the fourth vertex is behind
    // the viewer, so the line breaks before and after it.
    loadFile("LINE 3 1234\nEQT 0 0\nEQT 1 0\nEND\n"
             "LINE 4 F0F0\nEQT 0 10\nEQT 2 10\nEQT 12 0\nEQT 0 -10\nEQT 2 -10\nEND\n"
             "EQT 5 5\n");
    chart->userObjectFlags = kUserObjectShownBit;
    chartDrawUserObjectLines(chart.get(), &canvas);
    std::vector<int> styles;
    std::vector<std::vector<int>> dashes;
    int segments = 0;
    for (const CanvasCall &c : canvas.calls) {
        if (c.op == OpSetLineAttributes) styles.push_back(c.a[1]);
        if (c.op == OpSetDashes) {
            std::vector<int> d;
            for (const CanvasPoint &p : c.points) d.push_back(p.x);
            dashes.push_back(d);
        }
        if (c.op == OpDrawLine) ++segments;
        if (c.op == OpDrawLines) segments += static_cast<int>(c.points.size()) - 1;
    }
    ASSERT_GE(styles.size(), 2u);
    EXPECT_EQ(styles[0], LineStyleSolid) << "0x1234 draws solid";
    EXPECT_EQ(styles[1], LineStyleOnOffDash);
    ASSERT_EQ(dashes.size(), 1u);
    EXPECT_EQ(dashes[0], (std::vector<int>{4, 2}));
    EXPECT_EQ(styles.back(), LineStyleSolid) << "solid again after the layer";
    EXPECT_EQ(segments, 3) << "one of the first line, two of the second";
    const auto colours = canvas.callsOf(OpDrawLine);
    ASSERT_FALSE(colours.empty());
    EXPECT_EQ(colours[0].pixel, appData->pixels[ColorStar6]) << "colour number 3";

    // The layer draws with the width, cap and join it finds and leaves the
    // line as it found it.
    canvas.clear();
    canvas.setLineAttributes(2, LineStyleDoubleDash, CapStyleRound, JoinStyleBevel);
    chartDrawUserObjectLines(chart.get(), &canvas);
    std::vector<CanvasCall> set;
    for (const CanvasCall &c : canvas.calls)
        if (c.op == OpSetLineAttributes) set.push_back(c);
    ASSERT_EQ(set.size(), 4u) << "the caller's, two LINE rows, the restoring one";
    for (size_t i = 1; i < set.size(); ++i) {
        EXPECT_EQ(set[i].a[0], 2) << i;
        EXPECT_EQ(set[i].a[2], CapStyleRound) << i;
        EXPECT_EQ(set[i].a[3], JoinStyleBevel) << i;
    }
    EXPECT_EQ(set[1].a[1], LineStyleSolid);
    EXPECT_EQ(set[2].a[1], LineStyleOnOffDash);
    EXPECT_EQ(set[3].a[1], LineStyleDoubleDash) << "the style found is put back";

    canvas.clear();
    chart->userObjectFlags = 0;
    chartDrawUserObjectLines(chart.get(), &canvas);
    EXPECT_TRUE(canvas.calls.empty()) << "AD off draws nothing";
}

TEST_F(Layers, LabelsStandBesideOrOnThePoint) {
    lookAt(15.0, 0.0, 60.0);
    loadFile("EQT 1 0 MARK 0 Centre 8\n"
             "EQT 1 5 MARK 1 Beside\n"
             "EQT 1 -5 Point\n"
             "EQT 0.5 0 NEBULA 3 Neb 21\n"
             "HRZ 0 30 Ground\n");
    chart->userObjectFlags = kUserObjectShownBit | kUserObjectNameBit;
    chartDrawUserObjectLabels(chart.get(), &canvas);
    struct Case {
        const char *name;
        double ra, dec;
        int dx;
        int colour;
    } cases[] = {
        {"Centre", 15, 0, -18, ColorConstLine}, // 6 characters of 6 pixels, centred
        {"Beside", 15, 5, 6, ColorConstLine},
        {"Point", 15, -5, 0, ColorConstLine},
        {"Neb", 7.5, 0, 6, ColorWhite},
    };
    for (const Case &c : cases) {
        const auto label = strings(c.name);
        ASSERT_EQ(label.size(), 1u) << c.name;
        const ProjectedPoint p = placeOf(c.ra, c.dec);
        EXPECT_EQ(label[0].a[1], p.x + c.dx) << c.name;
        EXPECT_EQ(label[0].a[2], p.y + 10) << c.name << ": text below the point";
        EXPECT_EQ(label[0].pixel, appData->pixels[c.colour]) << c.name;
    }
    EXPECT_TRUE(strings("Ground").empty()) << "horizontal rows wait for their own pass";
    canvas.clear();
    chart->userObjectFlags = kUserObjectShownBit;
    chartDrawUserObjectLabels(chart.get(), &canvas);
    EXPECT_TRUE(canvas.callsOf(OpDrawString).empty()) << "AD_NAME off: no names";
}

} // namespace

// The magnitude labels are made without printf: the same texts as "%.1f" of
// the tenths, the signs of the faint fractions below zero and the extremes.
TEST(NebulaMagText, IsWhatPrintfMakesOfTheTenths) {
    const struct {
        int32_t tenths;
        const char *text;
    } cases[] = {{123, "12.3"}, {0, "0.0"}, {-5, "-0.5"}, {-15, "-1.5"}, {99, "9.9"}, {100, "10.0"},
                 {INT32_MAX, "214748364.7"}, {INT32_MIN, "-214748364.8"}};
    for (const auto &c : cases) {
        char out[16];
        EXPECT_EQ(nebulaMagText(c.tenths, out), static_cast<int>(std::strlen(c.text))) << c.tenths;
        EXPECT_STREQ(out, c.text) << c.tenths;
    }
    for (int32_t t = -300; t <= 300; t++) {
        char out[16], expected[32];
        std::snprintf(expected, sizeof expected, "%.1f", t / 10.0);
        nebulaMagText(t, out);
        ASSERT_STREQ(out, expected) << t;
    }
}
