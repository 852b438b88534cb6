// The Guide Star Catalog layer over small catalogue trees built here in the
// catalogue's own format: a region table of 9,537 56-byte records and
// region files of 8,640 header bytes and 45-character rows.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "astro/calendar.h"
#include "astro/q14.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/env.h"
#include "render/layers/bright_stars.h"
#include "render/layers/gsc_stars.h"
#include "render/projection.h"
#include "render/recording_canvas.h"
#include "render/star_symbols.h"
#include "tests/render/chart_fixture.h"
#include "tests/render/gsc_tree.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace gsctree;

struct GscChart : ChartFixture {
    GscChart(double ra, double dec, double field = 2.0, int mirror = 0, int width = 800, int height = 600) {
        chartSetJd(chart.get(), JD_J2000, 0.0);
        chart->centerMode[0] = ra;
        chart->centerMode[1] = dec;
        view(kModeEqt, width, height, field, mirror);
        chart->starFlags = kStarShown | 0x40;
        chart->starLabelFlags = 0;
        chart->starLimit = 170;
    }
};

// Pixels of star symbols: the bright-star layer draws a group in one call.
int pointPixels(const RecordingCanvas &c) {
    size_t n = c.callsOf(OpDrawPoint).size();
    for (const CanvasCall &call : c.callsOf(OpDrawPoints)) n += call.points.size();
    return static_cast<int>(n);
}

// One region file gathered and drawn as the layer draws its regions.
void drawRegionFile(ChartState *chart, Canvas *canvas, const std::string &path) {
    StarSymbolBatch batch;
    batch.clear();
    gscDrawRegionFile(chart, &batch, path.c_str());
    batch.flush(chart, canvas);
}

bool regionVisibleBit(const ChartState *chart, int number) {
    for (int l = 0; l < kGscLargeRegionCount; l++) {
        const GscLargeRegion &L = gscLargeRegions[l];
        if (number >= L.firstSmall && number < L.firstSmall + L.side * L.side)
            return (chart->frame.gsc.masks[l] >> (number - L.firstSmall)) & 1;
    }
    return false;
}

TEST(GscRows, ColumnsReadAsTheCatalogueWritesThem) {
    struct Case {
        const char *name;
        std::string row;
        int ok;
        double ra, dec;
        int mag10;
    } cases[] = {
        {"blank, 9, point, 8", row(1, {56.75, 24.1, 9.8}), 1, 56.75, 24.1, 98},
        {"minus, 1, point, 4", row(2, {0.001, -89.99, -1.4}), 1, 0.001, -89.99, -14},
        {"two digits", row(3, {359.99999, 89.5, 15.27}), 1, 359.99999, 89.5, 152},
        {"first character blank", " " + row(4, {1, 1, 9.8}).substr(1), 0, 0, 0, 0},
        {"blank row", std::string(45, ' '), 0, 0, 0, 0},
        {"right ascension not a number", row(5, {1, 1, 9.8}).replace(5, 9, "  12x.000"), 0, 0, 0, 0},
        {"declination out of range", row(6, {1, 1, 9.8}).replace(14, 9, " 95.00000"), 0, 0, 0, 0},
        {"right ascension nan", row(7, {1, 1, 9.8}).replace(5, 9, "      nan"), 0, 0, 0, 0},
        {"magnitude without its point", row(8, {1, 1, 9.8}).replace(28, 4, " 988"), 0, 0, 0, 0},
        {"magnitude letters", row(9, {1, 1, 9.8}).replace(28, 4, "ab.c"), 0, 0, 0, 0},
        {"a NUL inside the declination", row(10, {1, 1, 9.8}).replace(16, 1, std::string(1, '\0')), 0, 0, 0, 0},
    };
    for (const Case &c : cases) {
        double ra = -1, dec = -1;
        int mag = -1000;
        ASSERT_EQ(c.row.size(), 45u) << c.name;
        EXPECT_EQ(gscParseRow(c.row.data(), &ra, &dec, &mag), c.ok) << c.name;
        if (c.ok) {
            EXPECT_NEAR(ra, c.ra, 1e-9) << c.name;
            EXPECT_NEAR(dec, c.dec, 1e-9) << c.name;
            EXPECT_EQ(mag, c.mag10) << c.name;
        }
    }
}

TEST(GscRegionFile, RowsDrawnWithTheirMagnitudeLabels) {
    TempDir dir;
    const std::vector<std::string> rows = {row(1, {56.0, 24.0, -0.5}), row(2, {56.1, 24.0, 0.5}),
                                           std::string(45, ' '), row(3, {56.2, 24.0, -1.4}),
                                           row(4, {56.3, 24.0, 10.5}), row(5, {56.4, 24.0, 12.0}),
                                           "garbage row that is not a star at all, no....."};
    const std::string good = dir.write("0001.GSC", regionFile(rows));
    GscChart chart(56.2, 24.0, 4.0);
    // Catalogue rows carry magnitudes only: names and letters asked for too
    // come from the bright table, never for a row.
    chart.chart->starLabelFlags = kStarLabelMag | kStarLabelName | kStarLabelBayer | kStarLabelFlamsteed;
    chart.chart->starNameLimit = 110;
    RecordingCanvas c;
    drawRegionFile(chart.chart.get(), &c, good);
    std::vector<std::string> labels;
    for (const CanvasCall &call : c.calls)
        if (call.op == OpDrawString || call.op == OpDrawSymbolString) labels.push_back(call.text);
    EXPECT_EQ(labels, (std::vector<std::string>{"-05", "05", "-14", "105"})) << "12.0 is past the label limit";

    // Each cut file draws what a whole file of its whole rows draws.
    struct Short {
        const char *name;
        std::string bytes;
        size_t wholeRows;
    } files[] = {
        {"shorter than the headers", regionFile(rows).substr(0, 8639), 0},
        {"headers only", std::string(8640, ' '), 0},
        {"the last row cut short", regionFile(rows).substr(0, 8640 + 45 * 4 + 20), 4},
    };
    for (const Short &f : files) {
        RecordingCanvas s, whole;
        drawRegionFile(chart.chart.get(), &s, dir.write("short.GSC", f.bytes));
        drawRegionFile(chart.chart.get(), &whole,
                       dir.write("whole.GSC", regionFile(std::vector<std::string>(rows.begin(), rows.begin() + f.wholeRows))));
        EXPECT_EQ(pointPixels(s), pointPixels(whole)) << f.name;
        EXPECT_EQ(pointPixels(s) > 0, f.wholeRows > 0) << f.name;
    }
}

std::string testHome;
int homeLookup(const char *user, char *dst, int len) {
    return !user && std::snprintf(dst, static_cast<size_t>(len), "%s", testHome.c_str()) < len;
}

TEST(GscAvailable, RootsTablesAndTheCaseOfTheTree) {
    Tree tree;
    const std::string d = tree.dir.path();
    tree.build(d + "/low/gsc", true, {});
    tree.build(d + "/Sky/GSC", false, {});
    tree.build(d + "/home/gsc", true, {});
    std::string deep = d + "/deep";
    while (deep.size() < 250) deep += "/abcdefghij";
    deep.resize(250);
    if (deep.back() == '/') deep.back() = 'x';
    tree.build(deep, false, {});
    std::string table = regionTable();
    std::string sideFive = table;
    sideFive[52] = 5;
    std::string outOfOrder = table;
    outOfOrder[48 + 16 * 56] = 7; // the second large region numbered 7
    std::string corner = table;
    corner[3] = 0x40; // a corner component beyond 1.0
    testHome = d + "/home";
    envSetHomeLookup(homeLookup);
    struct Case {
        const char *name;
        std::string root, table;
        int ok;
        std::string missing;
    } cases[] = {
        {"lower-case root over a lower tree", d + "/low/gsc", "", 1, ""},
        {"root with capitals over an upper tree", d + "/Sky/GSC/", "", 1, ""},
        {"~/gsc", "~/gsc", "", 1, ""},
        {"no REGIONS.TBL", d, "", 0, d + "/TABLES/REGIONS.TBL"},
        {"empty root", "", "", 0, ""},
        {"a 250-character root", deep, "", 1, ""},
        {"short table", d + "/low/gsc", tree.dir.write("short.gsc", table.substr(0, table.size() - 1)), 0, ""},
        {"long table", d + "/low/gsc", tree.dir.write("long.gsc", table + "x"), 0, ""},
        {"a side of 5", d + "/low/gsc", tree.dir.write("five.gsc", sideFive), 0, ""},
        {"large regions out of order", d + "/low/gsc", tree.dir.write("order.gsc", outOfOrder), 0, ""},
        {"a corner off the sphere", d + "/low/gsc", tree.dir.write("corner.gsc", corner), 0, ""},
        {"no table", d + "/low/gsc", d + "/none.gsc", 0, d + "/none.gsc"},
    };
    for (const Case &c : cases) {
        tree.use(c.root, c.table);
        char missing[1024] = "";
        EXPECT_EQ(gscAvailable(missing, sizeof missing), c.ok) << c.name;
        if (!c.missing.empty()) {
            EXPECT_EQ(std::string(missing), c.missing) << c.name;
        }
        if (c.ok) {
            EXPECT_STREQ(appData->gscPath, c.root.c_str()) << c.name << ": kept as typed";
        }
    }
    envSetHomeLookup(nullptr);
    gscFreeRegionTable();
}

// Stars on a grid of tangent-plane offsets round (ra, dec), 0.05 degree
// apart over a square 2 x half wide.
std::vector<Star> starsAround(double ra, double dec, double half) {
    std::vector<Star> out;
    const Vec3 c = unitVector(ra, dec);
    const Vec3 east = unitVector(ra + 90.0, 0.0);
    const Vec3 north{-std::sin(dec * kDegToRad) * std::cos(ra * kDegToRad),
                     -std::sin(dec * kDegToRad) * std::sin(ra * kDegToRad), std::cos(dec * kDegToRad)};
    for (double u = -half; u <= half + 1e-9; u += 0.05)
        for (double v = -half; v <= half + 1e-9; v += 0.05) {
            const double a = std::tan(u * kDegToRad), b = std::tan(v * kDegToRad);
            Vec3 p{c.x + a * east.x + b * north.x, c.y + a * east.y + b * north.y, c.z + a * east.z + b * north.z};
            const double len = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
            double sra = std::atan2(p.y, p.x) / kDegToRad;
            if (sra < 0) sra += 360.0;
            const double sdec = std::asin(p.z / len) / kDegToRad;
            // Rows hold five decimals: keep the star where its row puts it.
            sra = std::round(sra * 1e5) / 1e5;
            if (sra >= 360.0) sra -= 360.0;
            out.push_back(Star{sra, std::round(sdec * 1e5) / 1e5, 12.0});
        }
    return out;
}

TEST(GscLayer, EveryStarOnTheChartIsDrawnAndNoRegionWhollyOffItIsOpened) {
    // Horizontal rows give azimuth and altitude in place of ra and dec.
    struct Field {
        const char *name;
        double ra, dec;
        int mirror;
        int mode = kModeEqt;
    } fields[] = {
        {"the Pleiades", 56.75, 24.12, 0},
        {"across 0h", 0.02, 10.0, 0},
        {"+84, where a large region's far corner is its southern one", 30.0, 84.0, 0},
        {"-84", 200.0, -84.0, 0},
        {"the north pole", 0.0, 89.9, 0},
        {"just below +82.5: a 30-degree-wide region's southern edge bows into the chart between its corners", 45.0, 81.81, 0},
        {"the Pleiades mirrored", 56.75, 24.12, 2},
        {"-84 turned", 200.0, -84.0, 1},
        {"horizontal, south at altitude 40", 0.0, 40.0, 0, kModeHrz},
        {"horizontal, near the zenith: regions turned every way", 150.0, 88.5, 0, kModeHrz},
        {"horizontal, low in the north-east, mirrored", 225.0, 12.0, 2, kModeHrz},
    };
    for (const Field &f : fields) {
        Tree tree;
        GscChart chart(f.ra, f.dec, 2.0, f.mirror);
        double centre[2] = {f.ra, f.dec};
        if (f.mode == kModeHrz) {
            chart.chart->centerHrz[0] = f.ra;
            chart.chart->centerHrz[1] = f.dec;
            chart.view(kModeHrz, 800, 600, 2.0, f.mirror);
            const Vec3 v = directionInSystem(chart.chart.get(), kModeSystemHrz, f.ra, f.dec);
            centre[0] = std::atan2(v.y, v.x) / kDegToRad;
            if (centre[0] < 0) centre[0] += 360.0;
            centre[1] = std::asin(v.z) / kDegToRad;
        }
        const std::vector<Star> stars = starsAround(centre[0], centre[1], 3.0);
        // Half the trees lower case: nothing but the frame probes the case.
        const bool lowerTree = (&f - fields) % 2 == 1;
        tree.build(tree.dir.path() + "/gsc", lowerTree, stars);
        tree.use(tree.dir.path() + "/gsc");
        ChartState *c = chart.chart.get();
        RecordingCanvas canvas;
        ASSERT_EQ(chartDrawGscStars(c, &canvas), 1) << f.name;
        const ChartRect r = c->chartRect;
        int inside = 0, missed = 0;
        for (const Star &s : stars) {
            const double radec[2] = {s.ra, s.dec};
            const Vec3 v = unitVector(radec[0], radec[1]);
            const Vec3Q14 q = toQ14(v);
            ProjectedPoint p{0, 0, 0, 0};
            if (!projectPoint(c, &q, &p) || p.x < r.x || p.x >= r.x + r.width || p.y < r.y || p.y >= r.y + r.height)
                continue;
            inside++;
            if (!regionVisibleBit(c, regionOf(s.ra, s.dec).number)) missed++;
        }
        EXPECT_GT(inside, 1000) << f.name;
        EXPECT_EQ(missed, 0) << f.name << ": stars on the chart in regions left out";
        EXPECT_GE(pointPixels(canvas), inside) << f.name;
        // Every region read has some point of its area on the enlarged chart
        // (a sample 1/40 of its sides apart; 2 pixels' slack for the sampling).
        const int ex = r.width / 20 + 2, ey = r.height / 20 + 2;
        int opened = 0;
        for (const Region &g : regions()) {
            if (!regionVisibleBit(c, g.number)) continue;
            opened++;
            bool seen = false;
            for (int i = 0; i <= 40 && !seen; i++)
                for (int j = 0; j <= 40 && !seen; j++) {
                    const Vec3Q14 q = toQ14(unitVector(g.ra0 + (g.ra1 - g.ra0) * i / 40, g.dec0 + (g.dec1 - g.dec0) * j / 40));
                    ProjectedPoint p{0, 0, 0, 0};
                    if (!projectPoint(c, &q, &p)) continue;
                    seen = p.x >= r.x - ex && p.x < r.x + r.width + ex && p.y >= r.y - ey && p.y < r.y + r.height + ey;
                }
            EXPECT_TRUE(seen) << f.name << ": region " << g.number << " is off the chart but was opened";
        }
        EXPECT_EQ(opened, c->frame.gsc.count) << f.name;
        EXPECT_EQ(opened, c->frame.gsc.filesOpened) << f.name;
        RecordingCanvas again;
        ASSERT_EQ(chartDrawGscStars(c, &again), 1) << f.name;
        EXPECT_EQ(opened, c->frame.gsc.filesOpened) << f.name << ": the next frame counts its own files";
    }
    gscFreeRegionTable();
}

TEST(GscLayer, VisibleSetKeptForTinyPansAndRebuiltOtherwise) {
    Tree tree;
    tree.build(tree.dir.path() + "/gsc", false, starsAround(56.75, 24.12, 1.0));
    tree.use(tree.dir.path() + "/gsc");
    const double px = 2.0 / 800; // degrees per pixel across the chart
    struct Step {
        const char *name;
        double ra, dec, field;
        int mirror, width;
        int reused;
    } steps[] = {
        {"first frame", 56.75, 24.12, 2.0, 0, 800, 0},
        {"the same view", 56.75, 24.12, 2.0, 0, 800, 1},
        {"half a pixel in declination", 56.75, 24.12 + 0.5 * px, 2.0, 0, 800, 1},
        {"a pixel in declination", 56.75, 24.12 + 1.5 * px, 2.0, 0, 800, 0},
        {"zoomed in", 56.75, 24.12 + 1.5 * px, 1.5, 0, 800, 1},
        {"zoomed out", 56.75, 24.12 + 1.5 * px, 2.0, 0, 800, 0},
        {"mirrored", 56.75, 24.12 + 1.5 * px, 2.0, 2, 800, 0},
        {"resized", 56.75, 24.12 + 1.5 * px, 2.0, 2, 700, 0},
        {"resized again, same field", 56.75, 24.12 + 1.5 * px, 2.0, 2, 700, 1},
    };
    GscChart chart(56.75, 24.12);
    for (const Step &s : steps) {
        chart.chart->centerMode[0] = s.ra;
        chart.chart->centerMode[1] = s.dec;
        chart.view(kModeEqt, s.width, 600, s.field, s.mirror);
        RecordingCanvas canvas;
        ASSERT_EQ(chartDrawGscStars(chart.chart.get(), &canvas), 1) << s.name;
        EXPECT_EQ(chart.chart->frame.gsc.reused, s.reused) << s.name;
        EXPECT_GT(chart.chart->frame.gsc.filesOpened, 0) << s.name;
    }
    // The set belongs to its chart: another chart on the same view builds its own.
    GscChart other(56.75, 24.12);
    other.chart->centerMode[0] = chart.chart->centerMode[0];
    other.chart->centerMode[1] = chart.chart->centerMode[1];
    other.view(kModeEqt, 700, 600, 2.0, 2);
    RecordingCanvas canvas;
    ASSERT_EQ(chartDrawGscStars(other.chart.get(), &canvas), 1);
    EXPECT_EQ(other.chart->frame.gsc.reused, 0);
    EXPECT_EQ(other.chart->frame.gsc.count, chart.chart->frame.gsc.count);
    gscFreeRegionTable();
}

TEST(GscLayer, WithoutTheCatalogueTheBrightStarsAreDrawn) {
    Tree tree;
    tree.use(tree.dir.path() + "/nowhere");
    ChartFixture chart;
    chartSetJd(chart.chart.get(), JD_J2000, 0.0);
    chart.view(kModeAll2Eqt, 800, 400, 360.0);
    chart.chart->starFlags = kStarShown | 0x40;
    chart.chart->starLimit = 65;
    RecordingCanvas layer, bright;
    EXPECT_EQ(chartDrawGscStars(chart.chart.get(), &layer), 0);
    drawGscStars(chart.chart.get(), &layer);
    drawBrightStars(chart.chart.get(), &bright);
    EXPECT_GT(pointPixels(bright), 1000);
    EXPECT_EQ(pointPixels(layer), pointPixels(bright));
    gscFreeRegionTable();
}

} // namespace

namespace {

// The shipped region table (data/tavik.gsc) and the committed region files
// of the test fields (tests/data/gsc), both from tools/gen_gsc.py: the table
// loads, each file lies in its band's directory, and every row's star lies
// inside the region the table gives for the file's number.
TEST(GscShippedData, TheTableDescribesTheRegionsOfTheCommittedFiles) {
    namespace fs = std::filesystem;
    const std::string table = std::string(TAVIK_SOURCE_DIR) + "/data/tavik.gsc";
    FILE *f = std::fopen(table.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    std::vector<unsigned char> bytes(static_cast<size_t>(kGscTableSize) + 1);
    const size_t got = std::fread(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    ASSERT_EQ(got, static_cast<size_t>(kGscTableSize));
    std::unique_ptr<GscRegionTable> regions(new GscRegionTable);
    ASSERT_EQ(gscParseRegionTable(bytes.data(), got, regions.get()), 1);

    int files = 0, rows = 0;
    for (const fs::directory_entry &e : fs::recursive_directory_iterator(std::string(TAVIK_SOURCE_DIR) + "/tests/data/gsc/GSC")) {
        if (!e.is_regular_file()) continue;
        const int number = std::atoi(e.path().stem().string().c_str());
        ASSERT_GE(number, 1);
        ASSERT_LE(number, kGscSmallRegionCount);
        files++;
        // The band directory: its declination range holds the region's corners.
        const std::string dir = e.path().parent_path().filename().string();
        const double bandLow = (dir[0] == 'N' ? 1 : -1) * (std::atoi(dir.substr(1, 2).c_str()) + std::atoi(dir.substr(3, 2).c_str()) / 60.0);
        double c[4][2];
        for (int k = 0; k < 4; k++) vecQ14ToSph(&regions->corners[number - 1][k], c[k]);
        const double decLow = std::fmin(c[0][1], c[2][1]), decHigh = std::fmax(c[0][1], c[2][1]);
        const double bandMin = dir[0] == 'N' ? bandLow : bandLow - 7.5, bandMax = bandMin + 7.5;
        EXPECT_GE(decLow, bandMin - 0.01) << e.path();
        EXPECT_LE(decHigh, bandMax + 0.01) << e.path();
        const double ra0 = c[0][0], span = std::fmod(c[1][0] - c[0][0] + 720.0, 360.0);
        std::ifstream in(e.path(), std::ios::binary);
        std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        ASSERT_GE(text.size(), 8640u);
        EXPECT_EQ(text.size() % 2880, 0u) << e.path();
        for (size_t at = 8640; at + 45 <= text.size(); at += 45) {
            if (text[at] == ' ') continue;
            const double ra = std::atof(text.substr(at + 5, 9).c_str()), dec = std::atof(text.substr(at + 14, 9).c_str());
            rows++;
            // Corners are Q14 directions: about 0.004 degree of slack.
            EXPECT_GE(dec, decLow - 0.01) << e.path() << " row " << (at - 8640) / 45;
            EXPECT_LE(dec, decHigh + 0.01) << e.path() << " row " << (at - 8640) / 45;
            if (std::fabs(dec) < 89.9) {
                EXPECT_LE(std::fmod(ra - ra0 + 720.0 + 0.01, 360.0), span + 0.02) << e.path() << " row " << (at - 8640) / 45;
            }
        }
    }
    EXPECT_GT(files, 50);
    EXPECT_GT(rows, 500);
}

} // namespace
