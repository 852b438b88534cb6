// The star layer of the catalogue file: small fixture files with their own
// zone table, and the installed data/tavik.sao.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "astro/calendar.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "render/layers/bright_stars.h"
#include "render/layers/sao_stars.h"
#include "render/recording_canvas.h"
#include "render/star_symbols.h"
#include "tests/render/chart_fixture.h"
#include "tests/render/sao_file_counts.h"
#include "tests/support/temp_dir.h"

namespace {

struct Star {
    double ra, dec;
    int mag10, colour;
};

void putRecord(std::string *out, const Star &s, int number) {
    const double k = M_PI / 180.0;
    const int16_t v[3] = {static_cast<int16_t>(std::cos(s.dec * k) * std::cos(s.ra * k) * 16384.0),
                          static_cast<int16_t>(std::cos(s.dec * k) * std::sin(s.ra * k) * 16384.0),
                          static_cast<int16_t>(std::sin(s.dec * k) * 16384.0)};
    for (int16_t c : v) {
        out->push_back(static_cast<char>(c & 0xFF));
        out->push_back(static_cast<char>((c >> 8) & 0xFF));
    }
    const int packed = (s.mag10 + 20) << 8 | s.colour << 4;
    out->push_back(static_cast<char>(packed & 0xFF));
    out->push_back(static_cast<char>(packed >> 8));
    for (int b = 0; b < 4; b++) out->push_back(static_cast<char>((number >> (8 * b)) & 0xFF));
}

// A catalogue of two zones (0 at the north pole, 21 at R.A. 0 on the
// equator; the others empty) and the zone table that fits it.
struct Fixture {
    TempDir dir;
    SaoZone zones[saoZoneCount + 1];
    std::string bytes;

    Fixture(const std::vector<Star> &north, const std::vector<Star> &equator) {
        bytes = std::string(saoMagic, saoMagicSize);
        int number = 1;
        for (int z = 0; z <= saoZoneCount; z++) {
            zones[z] = saoZones[z]; // the real centres and radii
            zones[z].offset = static_cast<int32_t>(bytes.size());
            if (z == 0)
                for (const Star &s : north) putRecord(&bytes, s, number++);
            if (z == 21)
                for (const Star &s : equator) putRecord(&bytes, s, number++);
        }
        saoSetZoneTable(zones);
    }
    ~Fixture() { saoSetZoneTable(nullptr); }
    std::string write(const std::string &content) const { return dir.write("stars.sao", content); }
};

struct SaoChart : ChartFixture {
    explicit SaoChart(int mode = kModeAll2Eqt, int limit = 95) {
        chartSetJd(chart.get(), JD_J2000, 0.0);
        view(mode, 800, 400, 360.0);
        chart->starFlags = kStarShown | 0x20;
        chart->starLabelFlags = 0;
        chart->starLimit = limit;
    }
};

// Pixels of star symbols drawn: the bright-star layer sends a group of
// stars in one call, so calls no longer count stars.
int starPixels(const RecordingCanvas &c) {
    size_t n = c.callsOf(OpDrawPoint).size();
    for (const CanvasCall &call : c.callsOf(OpDrawPoints)) n += call.points.size();
    return static_cast<int>(n);
}

// The pixels the symbols of the first `count` fixture stars (north, then
// equator) hold, drawn through the bright-star table's walk: rows built from
// the same places, magnitudes and colours.
int fixturePixels(ChartState *chart, const std::vector<Star> &north, const std::vector<Star> &equator, int count) {
    std::vector<Star> all(north);
    all.insert(all.end(), equator.begin(), equator.end());
    all.resize(static_cast<size_t>(count));
    std::vector<BrightStar> rows;
    const double k = M_PI / 180.0;
    for (const Star &s : all)
        rows.push_back(BrightStar{static_cast<int32_t>(std::cos(s.dec * k) * std::cos(s.ra * k) * 16384.0),
                                  static_cast<int32_t>(std::cos(s.dec * k) * std::sin(s.ra * k) * 16384.0),
                                  static_cast<int32_t>(std::sin(s.dec * k) * 16384.0),
                                  static_cast<uint32_t>((s.mag10 + 20) << 8 | s.colour << 4)});
    RecordingCanvas canvas;
    drawBrightStarRows(chart, &canvas, rows.data(), count - 1, 0);
    return starPixels(canvas);
}

const std::vector<Star> kNorth = {{10, 85, 15, 2}, {200, 80, 35, 4}};
const std::vector<Star> kEquator = {{0, 0, 10, 1}, {10, 5, 20, 3}, {350, -5, 45, 5}, {5, 10, 46, 6}, {15, -10, 30, 7}};

TEST(SaoFile, UnusableFilesDrawTheBrightStarsInstead) {
    Fixture f(kNorth, kEquator);
    std::string lower = f.bytes;
    lower[0] = 't'; // "tAVIK ...": the magic's case counts
    std::string changed = f.bytes;
    changed[10] = '4'; // "... 40 SAO"
    struct Case {
        const char *name;
        std::string path;
        int usable;
    } cases[] = {
        {"the fitting file", f.write(f.bytes), 1},
        {"magic in lower case", f.dir.write("lower.sao", lower), 0},
        {"a changed magic byte", f.dir.write("changed.sao", changed), 0},
        {"one byte more than the zone table's end", f.dir.write("long.sao", f.bytes + "x"), 0},
        {"one record short: zones would be read misaligned", f.dir.write("short.sao", f.bytes.substr(0, f.bytes.size() - 12)), 0},
        {"only the magic", f.dir.write("magic.sao", std::string(saoMagic, saoMagicSize)), 0},
        {"missing", f.dir.file("none.sao"), 0},
    };
    for (const Case &c : cases) {
        SaoChart chart;
        std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", c.path.c_str());
        EXPECT_EQ(saoFileUsable(c.path.c_str()), c.usable) << c.name;
        EXPECT_EQ(saoFileExists(), c.usable) << c.name;
        RecordingCanvas layer, bright;
        drawCatalogFileStars(chart.chart.get(), &layer);
        drawBrightStars(chart.chart.get(), &bright);
        if (c.usable) {
            EXPECT_EQ(chart.chart->frame.sao.starsDrawn, 7) << c.name;
            EXPECT_EQ(starPixels(layer), fixturePixels(chart.chart.get(), kNorth, kEquator, 7)) << c.name;
        } else {
            EXPECT_EQ(chartDrawSaoStars(chart.chart.get(), &layer), 0) << c.name;
            EXPECT_GT(starPixels(bright), 1000) << c.name;
            EXPECT_EQ(starPixels(layer), starPixels(bright)) << c.name << ": the bright stars in its place";
        }
    }
}

TEST(SaoFile, ZoneReadingStopsAtTheFirstRecordFainterThanTheLimit) {
    Fixture f(kNorth, kEquator);
    SaoChart chart(kModeAll2Eqt, 45);
    std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", f.write(f.bytes).c_str());
    chart.chart->starLabelFlags = kStarLabelMag;
    chart.chart->starNameLimit = 25;
    RecordingCanvas c;
    ASSERT_EQ(chartDrawSaoStars(chart.chart.get(), &c), 1);
    const SaoFrameStats s = chart.chart->frame.sao;
    EXPECT_EQ(s.zonesRead, 54); // whole-sky map: every zone, the empty ones too
    // North: both records; equator: 1.0, 2.0, 4.5 drawn, 4.6 read and
    // stops the zone, so the 3.0 after it is never read.
    EXPECT_EQ(s.recordsRead, 2 + 4);
    EXPECT_EQ(s.starsDrawn, 2 + 3);
    // The symbols of the five drawn (the limit at 4.5), and no other.
    EXPECT_EQ(starPixels(c), fixturePixels(chart.chart.get(), kNorth, kEquator, 5));
    std::vector<std::string> labels;
    for (const CanvasCall &call : c.callsOf(OpDrawString)) labels.push_back(call.text);
    ASSERT_EQ(labels.size(), 3u); // magnitudes to 2.5
    EXPECT_EQ(labels[0], "15");
    EXPECT_EQ(labels[1], "10");
    EXPECT_EQ(labels[2], "20");

    chart.chart->starFlags = 0x20; // STAR off: nothing, and nothing wrong
    c.clear();
    EXPECT_EQ(chartDrawSaoStars(chart.chart.get(), &c), 1);
    EXPECT_TRUE(c.calls.empty());
}

// Catalogue stars carry only magnitudes: names and Bayer letters come from
// the bright table, the same ones the bright-star layer writes.
TEST(SaoFile, NamesAndDesignationsComeFromTheBrightTable) {
    Fixture f(kNorth, kEquator);
    SaoChart chart(kModeAll2Eqt, 65);
    std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", f.write(f.bytes).c_str());
    chart.chart->starLabelFlags = kStarLabelName | kStarLabelBayer;
    chart.chart->starNameLimit = 25;
    RecordingCanvas layer, bright;
    ASSERT_EQ(chartDrawSaoStars(chart.chart.get(), &layer), 1);
    drawBrightStars(chart.chart.get(), &bright);
    std::vector<std::string> fromLayer, fromBright;
    for (const CanvasCall &c : layer.calls)
        if (c.op == OpDrawString || c.op == OpDrawSymbolString) fromLayer.push_back(c.text);
    for (const CanvasCall &c : bright.calls)
        if (c.op == OpDrawString || c.op == OpDrawSymbolString) fromBright.push_back(c.text);
    EXPECT_GT(fromBright.size(), 20u);
    EXPECT_EQ(fromLayer, fromBright);
    // The symbols are the fixture's seven stars alone, not the bright table's.
    EXPECT_EQ(starPixels(layer), fixturePixels(chart.chart.get(), kNorth, kEquator, 7));
}

TEST(SaoFile, AShortReadInsideAZoneEndsIt) {
    Fixture f({}, kEquator);
    SaoChart chart(kModeAll2Eqt, 95);
    // Three whole records of the equator zone, then half of the fourth.
    const std::string cut = f.bytes.substr(0, saoMagicSize + 3 * saoRecordSize + 6);
    const std::string path = f.write(cut);
    FILE *file = std::fopen(path.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(std::fseek(file, saoMagicSize, SEEK_SET), 0);
    RecordingCanvas c;
    StarSymbolBatch batch;
    batch.clear();
    saoDrawZone(chart.chart.get(), &batch, file, 5);
    std::fclose(file);
    batch.flush(chart.chart.get(), &c);
    EXPECT_EQ(starPixels(c), fixturePixels(chart.chart.get(), {}, kEquator, 3));
}

// Expected zones worked out from the zone centres in Python (spherical law
// of cosines), apart from the layer's own separation routine.
TEST(SaoFile, ZonesAFieldReaches) {
    struct Case {
        const char *name;
        double ra, dec, radius;
        std::vector<int> zones;
    } cases[] = {
        {"north pole, 10-degree field (corner 7.07)", 0, 90, 7.07, {0}},
        {"R.A. 45, Dec. +60, radius 10", 45, 60, 10, {1, 2, 10}},
        {"R.A. 100, Dec. -30, radius 30", 100, -30, 30, {23, 24, 25, 34, 35, 36, 37, 46, 47, 48}},
    };
    for (const Case &c : cases) {
        const double centre[2] = {c.ra, c.dec};
        uint64_t expected = 0;
        for (int z : c.zones) expected |= uint64_t{1} << z;
        EXPECT_EQ(saoZonesInField(saoZones, centre, c.radius), expected) << c.name;
    }
    const double origin[2] = {0, 0};
    EXPECT_EQ(saoZonesInField(saoZones, origin, 180.0), (uint64_t{1} << 54) - 1);
}

// A sky chart on the north celestial pole, 10 degrees wide: the field
// reaches 7.1 degrees from the pole, zone 0 (radius 16) and no +58 zone
// (centres 32 degrees away, radius 22).
TEST(SaoFile, ANarrowChartOnThePoleReadsOnlyItsZone) {
    const std::string path = std::string(TAVIK_SOURCE_DIR) + "/data/tavik.sao";
    SaoChart chart(kModeEqt, 95);
    chart.chart->centerMode[0] = 0.0;
    chart.chart->centerMode[1] = 90.0;
    chart.view(kModeEqt, 400, 400, 10.0);
    std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", path.c_str());
    RecordingCanvas canvas;
    ASSERT_EQ(chartDrawSaoStars(chart.chart.get(), &canvas), 1);
    EXPECT_EQ(chart.chart->frame.sao.zoneMask, uint64_t{1});
    EXPECT_EQ(chart.chart->frame.sao.zonesRead, 1);
}

TEST(SaoFile, TheInstalledCatalogueDrawsEveryStarToItsLimit) {
    const std::string path = std::string(TAVIK_SOURCE_DIR) + "/data/tavik.sao";
    struct Case {
        int mode, limit, drawn;
    } cases[] = {
        {kModeAll2Eqt, 95, kSaoFileStarsTo95},
        {kModeAll2Eqt, 65, kSaoFileStarsTo65},
        {kModeSol1, 45, -1}, // solar-system view: every zone read
    };
    for (const Case &c : cases) {
        SaoChart chart(c.mode, c.limit);
        std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", path.c_str());
        ASSERT_EQ(saoFileExists(), 1);
        RecordingCanvas canvas;
        ASSERT_EQ(chartDrawSaoStars(chart.chart.get(), &canvas), 1);
        const SaoFrameStats s = chart.chart->frame.sao;
        EXPECT_EQ(s.zonesRead, 54) << c.mode;
        if (c.drawn >= 0) {
            EXPECT_EQ(s.starsDrawn, c.drawn) << c.limit;
        }
    }
    EXPECT_EQ(kSaoFileStarsTo95, 125982);
}

} // namespace
