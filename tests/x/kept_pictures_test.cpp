// What the frame keeps or leaves out gives the picture it gave before, in
// pixels on a private Xvfb at depths 24 (Render paints the kept orbits) and
// 16 (a clipped fill does): the solar-system view with hundreds of comet and
// minor-planet orbits, drawn as kept pictures (the frame that makes them and
// the frame that paints them again), against the same frame through a
// canvas that keeps nothing, also after an orbit is hidden, after the table
// is refilled with other bodies and with wide lines; and the sky charts with
// the comets' tails computed only where they can reach the chart, against
// the same frame with every tail computed and drawn.
#include <clocale>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/command_error.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "render/frame.h"
#include "render/layers/small_bodies.h"
#include "render/palette.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "render/x/x_surface.h"
#include "tests/support/x_night_chart.h"
#include "tests/support/x_server.h"
#include "tests/support/x_xpm.h"

namespace {

// Every step-th body line of a shipped element file, from line first.
std::vector<OrbitalElements> bodies(const char *file, size_t first, size_t step, size_t count,
                                    bool longTails = false)
{
    std::ifstream in(std::string(TAVIK_SOURCE_DIR) + "/data/" + file);
    std::vector<OrbitalElements> out;
    std::string line;
    for (size_t n = 0; out.size() < count && std::getline(in, line); ++n) {
        if (n < first || (n - first) % step != 0 || line.size() < 160)
            continue;
        if (longTails) {
            line.replace(143, 4, "0.30");
            line.replace(148, 4, "0.50");
        }
        line += "\n";
        OrbitalElements el;
        parseElementLine(&el, line.c_str());
        out.push_back(el);
    }
    return out;
}

// A canvas that hands every call on and keeps no picture.
struct StraightCanvas : Canvas {
    Canvas *to;
    explicit StraightCanvas(Canvas *c) : to(c) {}
    void setForeground(uint32_t p) override { to->setForeground(p); }
    void setLineAttributes(int w, CanvasLineStyle s, CanvasCapStyle c, CanvasJoinStyle j) override {
        to->setLineAttributes(w, s, c, j);
    }
    CanvasLineAttributes lineAttributes() override { return to->lineAttributes(); }
    void setDashes(int o, const uint8_t *d, int n) override { to->setDashes(o, d, n); }
    void drawPoint(int x, int y) override { to->drawPoint(x, y); }
    void drawPoints(const CanvasPoint *p, int n) override { to->drawPoints(p, n); }
    void drawLine(int a, int b, int c, int d) override { to->drawLine(a, b, c, d); }
    void drawLines(const CanvasPoint *p, int n) override { to->drawLines(p, n); }
    void drawRectangle(int x, int y, int w, int h) override { to->drawRectangle(x, y, w, h); }
    void fillRectangle(int x, int y, int w, int h) override { to->fillRectangle(x, y, w, h); }
    void fillPolygon(const CanvasPoint *p, int n, CanvasPolygonShape s) override { to->fillPolygon(p, n, s); }
    void drawArc(int x, int y, int w, int h, int a, int b) override { to->drawArc(x, y, w, h, a, b); }
    void fillArc(int x, int y, int w, int h, int a, int b) override { to->fillArc(x, y, w, h, a, b); }
    void drawBitmap(int x, int y, const uint16_t *r, int w, int h) override { to->drawBitmap(x, y, r, w, h); }
    void drawString(int f, int x, int y, const char *t, int n) override { to->drawString(f, x, y, t, n); }
    void drawSymbolString(int x, int y, const char *t, int n) override { to->drawSymbolString(x, y, t, n); }
    CanvasTextExtent textExtent(int f, const char *t, int n) override { return to->textExtent(f, t, n); }
    CanvasTextExtent fontSetMaxExtent(int f) override { return to->fontSetMaxExtent(f); }
};

struct NightSky : NightChartWindow {
    explicit NightSky(int depth) : NightChartWindow(depth, false)
    {
        appData->commandFromSocket = 1; // a refused command shows no box
    }
    ~NightSky() { appData->lineWidth = 0; }

    std::vector<unsigned long> pixels()
    {
        const ChartRect &r = chart->chartRect;
        return drawablePixels(d, surface->pixmap, r.x + r.width, r.y + r.height);
    }
    // A frame through the chart's own canvas.
    std::vector<unsigned long> frame()
    {
        chartDrawFrame(chart.get(), surface->canvas());
        return pixels();
    }
    // The same frame through a canvas that keeps nothing.
    std::vector<unsigned long> straightFrame()
    {
        StraightCanvas straight(surface->canvas());
        chartDrawFrame(chart.get(), &straight);
        return pixels();
    }
    void fill(const std::vector<OrbitalElements> &comets, const std::vector<OrbitalElements> &minorPlanets)
    {
        clearComets(chart.get());
        clearMinorPlanets(chart.get());
        for (const OrbitalElements &el : comets)
            addComet(chart.get(), &el);
        for (const OrbitalElements &el : minorPlanets)
            addMinorPlanet(chart.get(), &el);
    }
};

class KeptPictures : public ::testing::TestWithParam<int> {};

TEST_P(KeptPictures, OrbitsPaintedFromTheKeptPictureAreTheOrbitsDrawn)
{
    NightSky sky(GetParam());
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    ChartState *c = sky.chart.get();
    sky.fill(bodies("comet.elm", 0, 37, 100), bodies("mp.elm", 0, 17, 400));
    c->mode = kModeSol1; // a setting, as MODE writes it
    const std::vector<unsigned long> none = [&] {
        ChartState *chart = sky.chart.get();
        stkExecute(chart, "HIDE COMET;HIDE MINORPLANET");
        std::vector<unsigned long> p = sky.straightFrame();
        stkExecute(chart, "SHOW COMET;SHOW MINORPLANET");
        return p;
    }();
    struct Step {
        const char *name;
        void (*change)(NightSky *sky);
    } steps[] = {
        {"first", [](NightSky *) {}},
        // Other bodies as many, each shown: the same rows, flags and counts.
        {"other bodies, as many", [](NightSky *s) { s->fill(bodies("comet.elm", 5, 37, 100), bodies("mp.elm", 3, 17, 400)); }},
        {"an orbit hidden", [](NightSky *s) { stkExecute(s->chart.get(), "HIDE MINORPLANET3_OBT;HIDE COMET5_OBT"); }},
        {"wide lines", [](NightSky *) { appData->lineWidth = 2; }},
        {"a larger scale", [](NightSky *s) { s->chart->solScale = 3.0; }},
    };
    std::vector<unsigned long> before;
    for (const Step &step : steps) {
        SCOPED_TRACE(step.name);
        step.change(&sky);
        const std::vector<unsigned long> straight = sky.straightFrame();
        const std::vector<unsigned long> made = sky.frame(), painted = sky.frame();
        ASSERT_FALSE(straight.empty());
        EXPECT_EQ(differingPixels(made, straight), 0);
        EXPECT_EQ(differingPixels(painted, straight), 0);
        EXPECT_GT(differingPixels(straight, none), 1000) << "the orbits drew";
        if (!before.empty()) {
            EXPECT_GT(differingPixels(straight, before), 0) << "the change shows";
        }
        before = straight;
    }
}

// The frame's tail row with every comet's tails computed and drawn.
void everyTail(ChartState *chart, Canvas *canvas)
{
    for (int32_t i = 0; i < chart->cometCount; ++i) {
        ephemUpdateCometTails(chart, i);
        if (chart->cometPositions[i].type == 'C' && (chart->cometFlags[i] & kBodyShown))
            drawCometTails(chart, canvas, i);
    }
}

// The frame's layers with everyTail for the tail row.
std::vector<ChartLayer> everyTailLayers()
{
    std::vector<ChartLayer> layers(chartLayers, chartLayers + chartLayerCount);
    for (ChartLayer &row : layers)
        if (std::string(row.name) == "chartDrawComets")
            row.draw = everyTail;
    return layers;
}

TEST_P(KeptPictures, TailsComputedWhereTheyReachAreTheTailsOfEveryComet)
{
    NightSky sky(GetParam());
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    ChartState *c = sky.chart.get();
    const std::vector<ChartLayer> reference = everyTailLayers();
    struct Case {
        const char *name;
        const char *view;
        bool longTails;
    } cases[] = {
        {"equatorial 60 degrees", "MODE EQT;VIEW ANGLE 60;LOOK EQT 2.0,10.0", false},
        {"equatorial 60 degrees, long tails", "MODE EQT;VIEW ANGLE 60;LOOK EQT 0.0,0.0", true},
        {"horizontal chart, long tails", "MODE HRZ;VIEW ANGLE 90;LOOK HRZ 180,30", true},
    };
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        sky.fill(bodies("comet.elm", 0, 9, 420, k.longTails), {});
        stkExecute(c, k.view);
        stkClearError();
        const std::vector<unsigned long> reaching = sky.frame();
        int stale = 0, computed = 0;
        for (int32_t i = 0; i < c->cometCount; ++i)
            (c->cometTails[i].dustJd == c->sky.jd ? computed : stale)++;
        EXPECT_GT(stale, 50) << "tails were left out";
        EXPECT_GT(computed, 5) << "tails were computed";
        chartDrawFrameWithLayers(c, sky.surface->canvas(), reference.data(), static_cast<int>(reference.size()));
        const std::vector<unsigned long> every = sky.pixels();
        ASSERT_FALSE(every.empty());
        EXPECT_EQ(differingPixels(reaching, every), 0);
        stkExecute(c, "HIDE IONTAIL;HIDE DUSTTAIL");
        EXPECT_GT(differingPixels(sky.frame(), every), 0) << "the tails drew";
        stkExecute(c, "SHOW IONTAIL;SHOW DUSTTAIL");
    }
}

// Every shipped comet, most of them faint heads of one pixel with tails of
// a thousandth of an AU: the tails left out because they cannot leave their
// head's symbol change no pixel of the frame against every tail computed,
// over dates a week apart, in both sky-chart projections, turned and
// flipped, with thin and wide lines.
TEST_P(KeptPictures, TailsLeftUnderTheirHeadsChangeNoPixel)
{
    NightSky sky(GetParam());
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    ChartState *c = sky.chart.get();
    const std::vector<ChartLayer> reference = everyTailLayers();
    sky.fill(bodies("comet.elm", 0, 1, 4000, false), {});
    struct Case {
        const char *name;
        const char *view;
        int lineWidth;
        bool someUnderHeads; // wide lines and large scales reach past a faint head
    } cases[] = {
        {"horizontal chart of start-up", "MODE HRZ;VIEW ANGLE 120;LOOK HRZ 180,0;MIRROR 0", 0, true},
        {"equatorial 30 degrees, wide lines", "MODE EQT;VIEW ANGLE 30;LOOK EQT 7.8,21.3;MIRROR 0", 2, false},
        {"horizontal chart turned", "MODE HRZ;VIEW ANGLE 90;LOOK HRZ 90,20;MIRROR 1", 0, true},
        {"equatorial 60 degrees flipped", "MODE EQT;VIEW ANGLE 60;LOOK EQT 12.0,0.0;MIRROR 2", 0, true},
        {"equatorial 10 degrees, lines of one pixel", "MODE EQT;VIEW ANGLE 10;LOOK EQT 18.0,-20.0;MIRROR 0", 1, false},
    };
    const double jd0 = c->sky.jd;
    for (const Case &k : cases) {
        SCOPED_TRACE(k.name);
        stkExecute(c, k.view);
        stkClearError();
        appData->lineWidth = k.lineWidth;
        int underHeads = 0;
        for (int week = 0; week < 4; week++) {
            SCOPED_TRACE(week);
            chartSetJd(c, jd0 + 7.0 * week, 0.0);
            const std::vector<unsigned long> left = sky.frame();
            for (int32_t i = 0; i < c->cometCount; ++i)
                underHeads += c->cometTails[i].dustJd != c->sky.jd && cometTailsUnderHead(c, i);
            chartDrawFrameWithLayers(c, sky.surface->canvas(), reference.data(), static_cast<int>(reference.size()));
            const std::vector<unsigned long> every = sky.pixels();
            ASSERT_FALSE(every.empty());
            EXPECT_EQ(differingPixels(left, every), 0);
        }
        if (k.someUnderHeads) {
            EXPECT_GT(underHeads, 20) << "tails were left under their heads";
        }
    }
    appData->lineWidth = 0;
    chartSetJd(c, jd0, 0.0);
}

// The minor planets' symbols sent in runs of one colour against each body's
// own drawing (drawMinorPlanet), on the pixmap: faint bodies in the faint
// colour among brighter ones, some with labels.
TEST_P(KeptPictures, MinorPlanetSymbolsInRunsAreTheSymbolsBodyByBody)
{
    NightSky sky(GetParam());
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    ChartState *c = sky.chart.get();
    sky.fill({}, bodies("mp.elm", 0, 3, 2000));
    stkExecute(c, "MODE EQT;VIEW ANGLE 90;LOOK EQT 8.0,20.0;SHOW MINORPLANET7_NAME;SHOW MINORPLANET9_MAG");
    stkClearError();
    for (const char *limit : {"MAG STAR 9", "MAG STAR 13"}) {
        SCOPED_TRACE(limit);
        stkExecute(c, limit);
        sky.frame(); // the positions, the view and the limit of this frame
        Canvas *canvas = sky.surface->canvas();
        auto clear = [&] {
            canvas->setForeground(0);
            canvas->fillRectangle(0, 0, 2000, 2000);
        };
        clear();
        chartDrawMinorPlanets(c, canvas);
        const std::vector<unsigned long> runs = sky.pixels();
        clear();
        for (int32_t j = 0; j < c->minorPlanetCount; ++j)
            if (c->minorPlanetFlags[j] & kBodyShown)
                drawMinorPlanet(c, canvas, j);
        const std::vector<unsigned long> one = sky.pixels();
        clear();
        EXPECT_EQ(differingPixels(runs, one), 0);
        EXPECT_GT(differingPixels(one, sky.pixels()), 100) << "the bodies drew";
    }
}

INSTANTIATE_TEST_SUITE_P(Depths, KeptPictures, ::testing::Values(24, 16));

} // namespace
