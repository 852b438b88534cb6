#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/layers/bright_stars.h"
#include "render/palette.h"
#include "render/projection.h"
#include "render/recording_canvas.h"
#include "render/star_symbols.h"
#include "model/star_names.h"
#include "resources/catalogs.h"
#include "tests/render/chart_fixture.h"

namespace {

TEST(StarSymbol, ClassFromMagnitudeAndLimit) {
    const struct {
        int32_t limit, mag10, cls, pixels;
    } cases[] = {
        {45, 45, 1, 1},  // at the limit: the faint-star colour
        {45, 50, 1, 1},  // fainter still counts as class 1
        {45, 35, 2, 1},
        {45, 34, 2, 1},  // integer division
        {45, 25, 3, 4},
        {45, 15, 4, 5},
        {45, 5, 5, 9},
        {45, -5, 6, 13},
        {45, -15, 7, 13},
    };
    for (const auto &c : cases) {
        const int cls = starSymbolClass(c.limit, c.mag10);
        EXPECT_EQ(cls, c.cls) << c.mag10;
        int8_t offsets[13][2];
        EXPECT_EQ(starSymbolOffsets(cls, offsets), c.pixels) << c.mag10;
    }
}

TEST(StarSymbol, PixelSetsPerClass) {
    ChartFixture f;
    ChartState *chart = f.chart.get();
    chart->starLimit = 45;
    chart->faintStarColour = ColorDarkStar;
    const struct {
        int mag10;
        const char *pixels; // "dx,dy " sorted as drawn
        uint32_t pixel;
        int size;
    } cases[] = {
        {45, "0,0 ", 1000 + ColorDarkStar, 1},
        {35, "0,0 ", 1000 + ColorStar4, 2},
        {25, "0,0 1,0 0,1 1,1 ", 1000 + ColorStar4, 3},
        {15, "0,0 -1,0 1,0 0,-1 0,1 ", 1000 + ColorStar4, 3},
        {5, "-1,-1 0,-1 1,-1 -1,0 0,0 1,0 -1,1 0,1 1,1 ", 1000 + ColorStar4, 3},
        {-15, "-1,-1 0,-1 1,-1 -1,0 0,0 1,0 -1,1 0,1 1,1 -2,0 2,0 0,-2 0,2 ", 1000 + ColorStar4, 3},
    };
    for (const auto &c : cases) {
        RecordingCanvas canvas;
        const int size = starDrawSymbolColored(chart, &canvas, 100, 50, 0, 16384, c.mag10, 4);
        EXPECT_EQ(size, c.size) << c.mag10;
        std::string got;
        uint32_t pixel = 0;
        for (const CanvasCall &call : canvas.calls) {
            if (call.op == OpDrawPoint) {
                got += std::to_string(call.a[0] - 100) + "," + std::to_string(call.a[1] - 50) + " ";
                pixel = call.pixel;
            } else if (call.op == OpDrawPoints) {
                for (const CanvasPoint &p : call.points)
                    got += std::to_string(p.x - 100) + "," + std::to_string(p.y - 50) + " ";
                pixel = call.pixel;
            }
        }
        EXPECT_EQ(got, c.pixels) << c.mag10;
        EXPECT_EQ(pixel, c.pixel) << c.mag10;
    }
}

TEST(StarSymbol, ColourClassFromOutsideIsClamped) {
    ChartFixture f;
    ChartState *chart = f.chart.get();
    chart->starLimit = 45;
    RecordingCanvas canvas;
    starDrawSymbolColored(chart, &canvas, 10, 10, 0, 16384, 35, 15);
    starDrawSymbolColored(chart, &canvas, 10, 10, 0, 16384, 35, -4);
    const auto fg = canvas.callsOf(OpDrawPoint);
    ASSERT_EQ(fg.size(), 2u);
    EXPECT_EQ(fg[0].pixel, 1000u + ColorStar9);
    EXPECT_EQ(fg[1].pixel, 1000u + ColorStar0);
}

TEST(StarSymbol, HorizonExtinctionDimsAndReddens) {
    int mag = 44, cls = 3;
    starHorizonExtinction(0, &mag, &cls);
    EXPECT_EQ(mag, 64);
    EXPECT_EQ(cls, 9);
    mag = 10, cls = 0;
    starHorizonExtinction(1535, &mag, &cls); // 1535 / 77 = 19, 1535 / 256 = 5
    EXPECT_EQ(mag, 11);
    EXPECT_EQ(cls, 1);
}

TEST(StarLabels, MagnitudeTexts) {
    const struct {
        int mag10;
        const char *text;
    } cases[] = {{-5, "-05"}, {-15, "-15"}, {3, "03"}, {0, "00"}, {-1, "-01"}, {-9, "-09"}, {-10, "-10"}, {45, "45"}};
    for (const auto &c : cases) {
        char buf[16];
        EXPECT_STREQ(starMagnitudeText(c.mag10, buf, sizeof buf), c.text) << c.mag10;
    }
}

TEST(StarLabels, MagnitudeCentredUnderTheStarAndNothingBeyondTheNameLimit) {
    ChartFixture f;
    ChartState *chart = f.chart.get();
    chart->starLabelFlags = kStarLabelMag;
    chart->starNameLimit = 20;
    RecordingCanvas canvas; // 6 pixels a byte, ascent 10
    starDrawLabels(chart, &canvas, brightStarCount - 1, 100, 50, 0, 16384, -15, 3, 1);
    auto texts = canvas.callsOf(OpDrawString);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].text, "-15");
    EXPECT_EQ(texts[0].a[0], StarMagFontset);
    EXPECT_EQ(texts[0].a[1], 100 - 9);
    EXPECT_EQ(texts[0].a[2], 50 + 3 + 10);
    EXPECT_EQ(texts[0].pixel, 1000u + ColorStarMagFont);
    canvas.clear();
    starDrawLabels(chart, &canvas, brightStarCount - 1, 100, 50, 0, 16384, 21, 3, 1);
    EXPECT_TRUE(canvas.callsOf(OpDrawString).empty());
}

TEST(StarLabels, DesignationAboveAndNameBelowWhenBothAreShown) {
    ChartFixture f;
    ChartState *chart = f.chart.get();
    chart->starNameLimit = 60;
    // The first bright-table row with a Bayer letter and a proper name.
    int32_t star = -1, designation = 0, hasName = 0;
    uint8_t bayer = 0, number = 0, flamsteed = 0, constellation = 0;
    for (int32_t i = 0; i < brightStarCount && star < 0; i++) {
        if (!starDesignationIndex(i, &designation, &hasName) || !hasName) continue;
        starDesignationUnpack(designation, &bayer, &number, &flamsteed, &constellation);
        if (bayer >= 1 && bayer <= 24 && starCommonNameLookup(i) != nullptr) star = i;
    }
    ASSERT_GE(star, 0);
    chart->starLabelFlags = kStarLabelName | kStarLabelBayer;
    RecordingCanvas canvas;
    starDrawLabels(chart, &canvas, star, 100, 50, 0, 16384, 10, 3, 1);
    auto letters = canvas.callsOf(OpDrawSymbolString);
    ASSERT_EQ(letters.size(), 1u);
    EXPECT_EQ(letters[0].text, std::string(1, kBayerLetters[bayer - 1]));
    EXPECT_EQ(letters[0].a[1], 100 + 3 * 12 / 10);
    EXPECT_EQ(letters[0].pixel, 1000u + ColorStarBayerFont);
    auto texts = canvas.callsOf(OpDrawString);
    const CanvasCall *name = nullptr;
    for (const CanvasCall &c : texts)
        if (c.a[0] == StarNameFontset) name = &c;
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text, starCommonNameLookup(star));
    EXPECT_LT(letters[0].a[2], 50) << "designation line above the star's row";
    EXPECT_GT(name->a[2], 50) << "name line below it";

    // The name alone is centred on the row.
    chart->starLabelFlags = kStarLabelName;
    canvas.clear();
    starDrawLabels(chart, &canvas, star, 100, 50, 0, 16384, 10, 3, 1);
    texts = canvas.callsOf(OpDrawString);
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].a[2], 50 + (10 - 3) / 2);
}

// Synthetic rows: brightest first, all at the centre of an equatorial chart.
struct LayerFixture {
    ChartFixture f;
    BrightStar rows[3];
    LayerFixture(int mode) {
        f.view(mode, 200, 200, 60.0);
        ChartState *chart = f.chart.get();
        chart->starLimit = 45;
        chart->starLabelFlags = 0;
        chart->faintStarColour = ColorDarkStar;
        const Vec3Q14 v = toQ14(directionInSystem(chart, chartModeSystem(mode), chart->centerMode[0], chart->centerMode[1]));
        const int mags[3] = {-15, 20, 30};
        const int classes[3] = {0, 5, 9};
        for (int i = 0; i < 3; i++)
            rows[i] = BrightStar{v.x, v.y, v.z, static_cast<uint32_t>((mags[i] + 20) << 8 | classes[i] << 4)};
    }
};

TEST(BrightStarLayer, FaintestFirstSoTheBrightestIsDrawnLast) {
    LayerFixture l(kModeEqt);
    RecordingCanvas canvas;
    drawBrightStarRows(l.f.chart.get(), &canvas, l.rows, 2, 0);
    std::vector<uint32_t> order;
    for (const CanvasCall &c : canvas.calls)
        if (c.op == OpDrawPoint || c.op == OpDrawPoints) order.push_back(c.pixel);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], 1000u + ColorStar9);
    EXPECT_EQ(order[1], 1000u + ColorStar5);
    EXPECT_EQ(order[2], 1000u + ColorStar0);
}

// One request per group: stars of one colour and class share one point
// list; the labels come after every symbol, faintest star's first.
TEST(BrightStarLayer, SymbolsGoOutByGroupAndLabelsAfterThem) {
    LayerFixture l(kModeEqt);
    ChartState *chart = l.f.chart.get();
    BrightStar rows[4] = {l.rows[0], l.rows[1], l.rows[1], l.rows[2]}; // two alike in the middle
    chart->starLabelFlags = kStarLabelMag;
    chart->starNameLimit = 100;
    RecordingCanvas canvas;
    drawBrightStarRows(chart, &canvas, rows, 3, 1);
    size_t lastSymbol = 0, firstText = canvas.calls.size();
    std::vector<size_t> groupSizes;
    std::vector<std::string> texts;
    for (size_t i = 0; i < canvas.calls.size(); i++) {
        const CanvasCall &c = canvas.calls[i];
        if (c.op == OpDrawPoint || c.op == OpDrawPoints) {
            lastSymbol = i;
            groupSizes.push_back(c.op == OpDrawPoint ? 1u : c.points.size());
        } else if (c.op == OpDrawString) {
            if (firstText == canvas.calls.size()) firstText = i;
            texts.push_back(c.text);
        }
    }
    // Class 2 (one pixel), two class-3 squares in one list, class 7.
    EXPECT_EQ(groupSizes, (std::vector<size_t>{1, 8, 13}));
    EXPECT_LT(lastSymbol, firstText);
    EXPECT_EQ(texts, (std::vector<std::string>{"30", "20", "20", "-15"}));
}

TEST(BrightStarLayer, StarOnTheHorizonIsDimmedAwayOnlyInTheHorizontalChart) {
    for (int mode : {kModeHrz, kModeEqt}) {
        ChartFixture f;
        f.view(mode, 400, 400, 120.0);
        ChartState *chart = f.chart.get();
        chart->starLimit = 45;
        chart->starLabelFlags = 0;
        // Magnitude 4.4 one degree above the horizon at the centre's azimuth.
        // In the equatorial chart the same star at the centre: no extinction there.
        const Vec3Q14 v = mode == kModeHrz
                              ? toQ14(directionInSystem(chart, 1, chart->centerHrz[0], 1.0))
                              : toQ14(directionInSystem(chart, chartModeSystem(mode), chart->centerMode[0],
                                                       chart->centerMode[1]));
        const BrightStar row{v.x, v.y, v.z, static_cast<uint32_t>((44 + 20) << 8 | 3 << 4)};
        ProjectedPoint p{0, 0, 0, 0};
        ASSERT_EQ(projectPoint(chart, &v, &p), 1) << mode;
        RecordingCanvas canvas;
        drawBrightStarRows(chart, &canvas, &row, 0, 0);
        EXPECT_EQ(canvas.callsOf(OpDrawPoint).size(), mode == kModeHrz ? 0u : 1u) << mode;
    }
}

TEST(BrightStarLayer, NothingWhenStarsAreHidden) {
    ChartFixture f;
    f.view(kModeEqt, 200, 200, 60.0);
    f.chart->starFlags = 0;
    RecordingCanvas canvas;
    drawBrightStars(f.chart.get(), &canvas);
    EXPECT_TRUE(canvas.calls.empty());
}

} // namespace
