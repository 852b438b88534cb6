// The chart frame: layer order and cull bands, the background rule, the
// refresh's size handling and the start-up copy rule.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "render/frame.h"
#include "render/masks.h"
#include "render/recording_canvas.h"
#include "render/surface.h"
#include "tests/render/chart_fixture.h"

namespace {

// A surface without X: a window of a chosen size and a recording canvas.
struct FakeSurface : ChartSurface {
    int width = 640, height = 480;
    std::vector<std::pair<int, int>> recreated, copied;
    RecordingCanvas canvasRecord;
    bool windowSize(int *w, int *h) override {
        *w = width;
        *h = height;
        return true;
    }
    void recreate(int w, int h) override { recreated.emplace_back(w, h); }
    Canvas *canvas() override { return recreated.empty() ? nullptr : &canvasRecord; }
    void copyToWindow(int w, int h) override { copied.emplace_back(w, h); }
    int image(int, int, ChartImage *) override { return 0; }
};

int statusBar20() { return 20; }

int ephemerisCalls = 0;
void countEphemeris(ChartState *) { ephemerisCalls++; }

std::vector<std::string> serviceOrder;
void noteSkyColours(ChartState *) { serviceOrder.push_back("setSkyColors"); }

struct FrameTest : ::testing::Test {
    ChartFixture f;
    FakeSurface surface;
    void SetUp() override {
        chartFrameServices = kFrameServices;
        chartFrameServices.statusBarHeight = statusBar20;
        chartFrameServices.ephemUpdateAll = countEphemeris;
        ephemerisCalls = 0;
        uiHooksReset();
        chartSetSurface(&surface);
        appData->initialising = 0;
        f.chart->modeChanged = 0;
    }
    void TearDown() override {
        chartSetSurface(nullptr);
        chartFrameServices = kFrameServices;
    }
};

// Each recorder row notes its layer's name with the cull values at entry.
std::vector<ChartLayer> recorderTable;

template <size_t I> void recordLayer(ChartState *chart, Canvas *canvas) {
    static_cast<RecordingCanvas *>(canvas)->note(std::string(recorderTable[I].name) + " " +
                                                 std::to_string(chart->cullCosQ14) + " " +
                                                 std::to_string(chart->cullDepthQ14));
}

template <size_t... I> void fillRecorders(std::index_sequence<I...>) {
    ChartLayerDraw fns[] = {recordLayer<I>...};
    for (size_t i = 0; i < recorderTable.size() && i < sizeof...(I); i++) recorderTable[i].draw = fns[i];
}

void buildRecorderTable() {
    recorderTable.assign(chartLayers, chartLayers + chartLayerCount);
    ASSERT_LE(recorderTable.size(), 40u);
    fillRecorders(std::make_index_sequence<40>());
}

std::vector<std::string> notes(const RecordingCanvas &c) {
    std::vector<std::string> out;
    for (const CanvasCall &call : c.calls)
        if (call.op == OpNote) out.push_back(call.text);
    return out;
}

TEST_F(FrameTest, LayersRunInTheFixedOrderEachInsideItsCullBand) {
    buildRecorderTable();
    struct {
        const char *name;
        int mode;
        uint8_t starFlags;
        std::vector<std::string> layers; // name and the band's widening/depth as (w, d); "-" no band
    } cases[] = {
        {"horizontal chart with bright stars", kModeHrz, 0x01,
         {"chartDrawMilkyWay 2048 -8192", "chartDrawComets 2048 -8192", "chartDrawGrids 2048 -8192",
          "chartDrawConstBorders 2048 -8192", "chartDrawConstLines 2048 -8192", "chartDrawSkyMarkLines 4096 -16384",
          "chartDrawUserObjectLines 4096 -16384", "drawBrightStars -", "chartDrawConstNames -", "chartDrawNebulae -",
          "chartDrawSolarSystem 2048 -8192", "chartDrawSkyMarkLabels 4096 -16384",
          "chartDrawUserObjectLabels 4096 -16384", "chartDrawLandscape 1024 -8192",
          "chartDrawSkyMarkHrzLabels 4096 -16384", "chartDrawUserObjectHrzLabels 4096 -16384",
          "chartDrawPictureMarks -", "chartDrawStatusBar -"}},
        {"Aitoff map masks after the comets; both star bits draw the catalogue file only", kModeAll2Eqt, 0x61,
         {"chartDrawMilkyWay 2048 -8192", "chartDrawComets 2048 -8192", "chartMaskAitoff 2048 -8192",
          "chartDrawGrids 2048 -8192", "chartDrawConstBorders 2048 -8192", "chartDrawConstLines 2048 -8192",
          "chartDrawSkyMarkLines 4096 -16384", "chartDrawUserObjectLines 4096 -16384", "chartDrawSaoStars -",
          "chartDrawConstNames -", "chartDrawNebulae -", "chartDrawSolarSystem 2048 -8192",
          "chartDrawSkyMarkLabels 4096 -16384", "chartDrawUserObjectLabels 4096 -16384",
          "chartDrawSkyMarkHrzLabels 4096 -16384", "chartDrawUserObjectHrzLabels 4096 -16384",
          "chartDrawPictureMarks -", "chartDrawStatusBar -"}},
        {"planisphere masks then labels its directions; Guide Star Catalog stars", kModePlns, 0x41,
         {"chartDrawMilkyWay 2048 -8192", "chartDrawComets 2048 -8192", "chartDrawGrids 2048 -8192",
          "chartDrawConstBorders 2048 -8192", "chartDrawConstLines 2048 -8192", "chartDrawSkyMarkLines 4096 -16384",
          "chartDrawUserObjectLines 4096 -16384", "drawGscStars -", "chartDrawConstNames -", "chartDrawNebulae -",
          "chartDrawSolarSystem 2048 -8192", "chartDrawSkyMarkLabels 4096 -16384",
          "chartDrawUserObjectLabels 4096 -16384", "chartMaskPlanisphere 1024 -8192",
          "chartDrawPlanisphereDirections 1024 -8192", "chartDrawSkyMarkHrzLabels 4096 -16384",
          "chartDrawUserObjectHrzLabels 4096 -16384", "chartDrawPictureMarks -", "chartDrawStatusBar -"}},
        {"cylindrical map masks in band g", kModeAll1Ecl, 0x01,
         {"chartDrawMilkyWay 2048 -8192", "chartDrawComets 2048 -8192", "chartDrawGrids 2048 -8192",
          "chartDrawConstBorders 2048 -8192", "chartDrawConstLines 2048 -8192", "chartDrawSkyMarkLines 4096 -16384",
          "chartDrawUserObjectLines 4096 -16384", "drawBrightStars -", "chartDrawConstNames -", "chartDrawNebulae -",
          "chartDrawSolarSystem 2048 -8192", "chartDrawSkyMarkLabels 4096 -16384",
          "chartDrawUserObjectLabels 4096 -16384", "chartMaskCylindrical 1024 -8192",
          "chartDrawSkyMarkHrzLabels 4096 -16384", "chartDrawUserObjectHrzLabels 4096 -16384",
          "chartDrawPictureMarks -", "chartDrawStatusBar -"}},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        ChartState *c = f.chart.get();
        c->mode = k.mode;
        c->starFlags = k.starFlags;
        c->chartRect = ChartRect{0, 20, 640, 460};
        RecordingCanvas canvas;
        chartDrawFrameWithLayers(c, &canvas, recorderTable.data(), static_cast<int>(recorderTable.size()));
        const int32_t frameCull = c->cullCosQ14;
        std::vector<std::string> expected;
        for (const std::string &e : k.layers) {
            const size_t sp = e.find(' ');
            const std::string name = e.substr(0, sp), band = e.substr(sp + 1);
            if (band == "-") {
                expected.push_back(name + " " + std::to_string(frameCull) + " 0");
            } else {
                const int widen = std::stoi(band.substr(0, band.find(' ')));
                const int depth = std::stoi(band.substr(band.find(' ') + 1));
                int32_t cull = frameCull - widen;
                if (cull < -16344) cull = -16344;
                expected.push_back(name + " " + std::to_string(cull) + " " + std::to_string(depth));
            }
        }
        EXPECT_EQ(expected, notes(canvas));
        EXPECT_EQ(0, c->cullDepthQ14) << "the bands are closed again";
    }
}

TEST_F(FrameTest, CullBandNeverOpensBelowTheFloorAndReplacesTheDepthLimit) {
    ChartState *c = f.chart.get();
    struct {
        const char *name;
        int32_t before, widen, after;
    } cases[] = {
        {"ordinary widening", 10000, 2048, 7952},
        {"landing on -16344 stays", -12248, 4096, -16344},
        {"-16345 is lifted to -16344", -12249, 4096, -16344},
        {"far below is lifted", -16343, 4096, -16344},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        // An outer band sets the values the inner one starts from.
        CullBandSave outer, save;
        chartPushCullBand(c->cullCosQ14 - k.before, -100, c, &outer);
        ASSERT_EQ(k.before, c->cullCosQ14);
        chartPushCullBand(k.widen, -8192, c, &save);
        EXPECT_EQ(k.after, c->cullCosQ14);
        EXPECT_DOUBLE_EQ(k.after / 16384.0, c->cullCos);
        EXPECT_EQ(-8192, c->cullDepthQ14) << "replaced, not lowered from -100";
        EXPECT_DOUBLE_EQ(-0.5, c->cullDepth);
        chartPopCullBand(c, &save);
        EXPECT_EQ(k.before, c->cullCosQ14);
        EXPECT_DOUBLE_EQ(k.before / 16384.0, c->cullCos);
        EXPECT_EQ(-100, c->cullDepthQ14);
        EXPECT_DOUBLE_EQ(-100 / 16384.0, c->cullDepth);
        chartPopCullBand(c, &outer);
    }
}

// Whether the frame painted a background before the first layer.
bool paintsBackground(ChartState *c) {
    RecordingCanvas canvas;
    chartDrawFrameWithLayers(c, &canvas, nullptr, 0);
    return !canvas.callsOf(OpFillRectangle).empty() || !canvas.callsOf(OpFillArc).empty();
}

TEST_F(FrameTest, TraceKeepsTheBackgroundUnlessTheSizeChangedButNeverInAitoffMaps) {
    struct {
        const char *name;
        int mode;
        uint8_t trace;
        int sizeChanged;
        bool painted;
    } cases[] = {
        {"no trace paints", kModeEqt, 0, 0, true},
        {"trace without a size change keeps the frame", kModeEqt, 1, 0, false},
        {"trace after a size change paints", kModeEqt, 1, 1, true},
        {"planisphere after a size change paints", kModePlns, 1, 1, true},
        {"Aitoff map with trace never paints, even after a resize", kModeAll2Gal, 1, 1, false},
        {"Aitoff map without trace paints", kModeAll2Gal, 0, 0, true},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        ChartState *c = f.chart.get();
        c->mode = k.mode;
        c->traceFlags = k.trace;
        c->sizeChanged = k.sizeChanged;
        c->chartRect = ChartRect{0, 0, 400, 300};
        EXPECT_EQ(k.painted, paintsBackground(c));
    }
}

TEST_F(FrameTest, SkyColoursBeforeTheBackgroundOnStaticVisualsAfterTheStatusBarOnWritableOnes) {
    chartFrameServices.setSkyColors = noteSkyColours;
    for (int dynamicVisual : {0, 1}) {
        SCOPED_TRACE(dynamicVisual);
        appData->dynamicVisual = dynamicVisual;
        serviceOrder.clear();
        ChartState *c = f.chart.get();
        c->mode = kModeEqt;
        c->chartRect = ChartRect{0, 0, 400, 300};
        struct Probe : RecordingCanvas {
            void fillRectangle(int x, int y, int w, int h) override {
                serviceOrder.push_back("background");
                RecordingCanvas::fillRectangle(x, y, w, h);
            }
        };
        chartFrameServices.drawStatusBar = [](ChartState *, Canvas *, const ChartRect *) {
            serviceOrder.push_back("status bar");
        };
        Probe probe;
        chartDrawFrame(c, &probe);
        const std::vector<std::string> expected =
            dynamicVisual ? std::vector<std::string>{"background", "status bar", "setSkyColors"}
                          : std::vector<std::string>{"setSkyColors", "background", "status bar"};
        EXPECT_EQ(expected, serviceOrder);
    }
}

TEST_F(FrameTest, FaintStarColourFollowsTheSkyLevel) {
    ChartState *c = f.chart.get();
    c->chartRect = ChartRect{0, 0, 400, 300};
    static int level;
    chartFrameServices.updateSkyLevel = [](ChartState *chart) { chart->skyLevel = level; };
    for (auto [skyLevel, colour] : {std::pair<int, int>{20, 12}, {21, 65}}) {
        level = skyLevel;
        RecordingCanvas canvas;
        chartDrawFrame(c, &canvas);
        EXPECT_EQ(colour, c->faintStarColour) << skyLevel;
    }
}

TEST_F(FrameTest, NothingIsCopiedWhileStartingUpThoughTheFrameIsDrawn) {
    appData->initialising = 1;
    f.chart->redrawNeeded = 1;
    chartRefresh(f.chart.get());
    EXPECT_EQ(1, ephemerisCalls);
    EXPECT_EQ(0, f.chart->redrawNeeded);
    EXPECT_TRUE(surface.copied.empty());
    appData->initialising = 0;
    chartRefresh(f.chart.get());
    EXPECT_EQ(1, ephemerisCalls) << "no mark, no frame";
    ASSERT_EQ(1u, surface.copied.size());
    EXPECT_EQ(std::make_pair(640, 480), surface.copied[0]) << "chart plus the status bar's band";
}

TEST_F(FrameTest, RefreshFollowsTheWindowAndTheStatusBar) {
    ChartState *c = f.chart.get();
    c->statusBar = 1;
    chartRefresh(c);
    ASSERT_EQ(1u, surface.recreated.size());
    EXPECT_EQ(std::make_pair(640, 480), surface.recreated[0]);
    EXPECT_EQ(20, c->chartRect.y);
    EXPECT_EQ(460, c->chartRect.height);
    EXPECT_EQ(1, c->sizeChanged);
    EXPECT_EQ(1, ephemerisCalls);

    chartRefresh(c);
    EXPECT_EQ(1u, surface.recreated.size()) << "same size: no new pixmap";
    EXPECT_EQ(0, c->sizeChanged);
    EXPECT_EQ(1, ephemerisCalls) << "an expose without a redraw mark only copies";
    EXPECT_EQ(2u, surface.copied.size());

    c->statusBar = 0; // hiding the bar moves the chart up: a new pixmap and a frame
    chartRefresh(c);
    ASSERT_EQ(2u, surface.recreated.size());
    EXPECT_EQ(0, c->chartRect.y);
    EXPECT_EQ(480, c->chartRect.height);
    EXPECT_EQ(std::make_pair(640, 500), surface.recreated[1]) << "the bar's band stays in the pixmap";
    EXPECT_EQ(2, ephemerisCalls);
}

TEST_F(FrameTest, DrawingAreaShorterThanTheStatusBarKeepsOnePixelRows) {
    ChartState *c = f.chart.get();
    c->statusBar = 1;
    for (auto [w, h] : {std::pair<int, int>{640, 10}, {0, 0}, {0, 20}}) {
        SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
        surface.width = w;
        surface.height = h;
        surface.recreated.clear();
        c->chartRect = ChartRect{0, 0, 0, 0};
        chartRefresh(c);
        ASSERT_EQ(1u, surface.recreated.size());
        EXPECT_EQ(1, c->chartRect.height >= 1);
        EXPECT_GE(c->chartRect.width, 1);
        EXPECT_GE(surface.recreated[0].first, 1);
        EXPECT_EQ(c->chartRect.height + 20, surface.recreated[0].second);
    }
}

// A window of 60000 x 60000 once asked the server for a pixmap it could not
// give (BadAlloc ends the program): the chart is drawn at a capped size, and
// that is said once.
TEST_F(FrameTest, HugeWindowGetsACappedPixmapAndOneMessage) {
    ChartState *c = f.chart.get();
    c->statusBar = 1;
    struct Case {
        int width, height;
        std::pair<int, int> pixmap;
    } cases[] = {
        {60000, 60000, {8192, 8192}},
        {99999, 600, {8192, 600}},
        {640, 65535, {640, 8192}},
        {8192, 8192, {8192, 8192}}, // the largest drawn whole
        {1280, 1024, {1280, 1024}},
    };
    testing::internal::CaptureStderr();
    for (const Case &k : cases) {
        SCOPED_TRACE(std::to_string(k.width) + "x" + std::to_string(k.height));
        surface.width = k.width;
        surface.height = k.height;
        surface.recreated.clear();
        c->chartRect = ChartRect{0, 0, 0, 0};
        chartRefresh(c);
        ASSERT_EQ(1u, surface.recreated.size());
        EXPECT_EQ(k.pixmap, surface.recreated[0]);
        EXPECT_EQ(c->chartRect.height + 20, surface.recreated[0].second);
        EXPECT_EQ(c->chartRect.width, surface.recreated[0].first);
    }
    EXPECT_EQ(testing::internal::GetCapturedStderr(),
              "tavik: The window is larger than a chart can be; the chart is drawn at 8192x8172.\n");
}

int toolbarCalls = 0;
TEST_F(FrameTest, ModeChangeRefreshesToolBarAndScrollBarsFirst) {
    toolbarCalls = 0;
    uiHooks.toolbarRefreshChanged = [](ChartState *) { toolbarCalls++; };
    uiHooks.viewUpdateScrollBars = [](ChartState *c) { c->modeChanged = 0; };
    f.chart->modeChanged = 1;
    chartRefresh(f.chart.get());
    EXPECT_EQ(1, toolbarCalls);
    EXPECT_EQ(0, f.chart->modeChanged);
}

TEST_F(FrameTest, TrackingRecentresOnceOrEveryFrame) {
    ChartState *c = f.chart.get();
    static int recentred;
    recentred = 0;
    chartFrameServices.updateViewCenterFromTarget = [](ChartState *) { recentred++; };
    c->mode = kModeEqt;
    c->viewLocked = 0;
    c->trackKind = 0x8001;
    c->trackState = kTrackLook;
    chartApplyTracking(c);
    chartApplyTracking(c);
    EXPECT_EQ(1, recentred) << "LOOK recentres once";
    EXPECT_EQ(0x0001, c->trackKind) << "the horizon lock belongs to the horizontal chart";
    c->trackState = kTrackTarget;
    chartApplyTracking(c);
    chartApplyTracking(c);
    EXPECT_EQ(3, recentred);
    c->mode = kModeHrz;
    c->viewLocked = 1;
    c->trackState = kTrackNone;
    c->trackKind = 0x8001;
    chartApplyTracking(c);
    EXPECT_EQ(4, recentred) << "a locked horizontal view recentres every frame";
    EXPECT_EQ(0x8001, c->trackKind);
}

} // namespace

namespace {

std::vector<std::string> lockCalls;
double lockedJd = 0.0;

TEST_F(FrameTest, TimeLockMovesTheSkyOnlyToAnEventThatExists) {
    chartFrameServices.skyContextFromChart = [](ChartState *) { lockCalls.push_back("date"); };
    chartFrameServices.timeLockJd = [](ChartState *) {
        lockCalls.push_back("event");
        return lockedJd;
    };
    chartFrameServices.skyContextFromJd = [](ChartState *, double jd) {
        lockCalls.push_back("jd " + std::to_string(static_cast<long>(jd)));
    };
    struct {
        const char *name;
        int kind;
        double jd;
        std::vector<std::string> calls;
    } cases[] = {
        {"no lock: the date only", 0, 2460000.0, {"date"}},
        {"sunrise that happens", 1, 2460000.0, {"date", "event", "jd 2460000"}},
        {"sunset that does not happen keeps the date", 4, 0.0, {"date", "event"}},
    };
    for (const auto &k : cases) {
        SCOPED_TRACE(k.name);
        lockCalls.clear();
        lockedJd = k.jd;
        f.chart->timeLockKind = k.kind;
        chartApplyTimeLock(f.chart.get());
        EXPECT_EQ(k.calls, lockCalls);
    }
}

} // namespace
