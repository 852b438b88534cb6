// Frame time per chart mode on the X server named by DISPLAY: the program's
// own frame with the program's own set-up (bench/x_frame_bench.h: toolkit
// resources, palette, font sets, name files, sky marks, click data, the
// status bar shown, MAG STAR 6.5, a fixed night date and site), the
// ephemeris updated in every frame. Variants: a steady frame into the
// pixmap, the date advancing a minute a frame (through two hours of the
// night, again and again), the frame copied to the mapped window, and the
// steady frame with every display keyword shown (the sample user objects
// loaded). Besides time, each reports the X requests and the replies waited
// for per frame (render/x/x_traffic.h), counted over the frame alone, in
// frames drawn after the timed ones so that the meter costs them nothing: the
// XSync after each frame, in the time, is the benchmark's own round trip.
//
// The floor of a frame is the frame's own primitives, recorded from one
// frame as it goes to the server, sent again batched by colour: one
// foreground a colour, the points of a colour (bitmaps as their set pixels)
// in one request, lines and polyline pieces as segments in one, rectangles,
// arcs and fills likewise, polygons one a request, texts one string a
// request in the font set's own core font. BM_Floor and BM_FloorEverything
// run in the same process on the same server beside the frames they come
// from, so the ratio frame/floor is measured side by side;
// BM_EverythingBesideFloor times the everything-shown frame and its floor
// in pairs. bench/frames.sh runs it all on one Xvfb and prints the table.
#include <benchmark/benchmark.h>

#include <X11/Xlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <tuple>
#include <vector>

#include "bench/x_frame_bench.h"
#include "command/keywords.h"
#include "render/recording_canvas.h"
#include "render/x/x_surface.h"
#include "render/x/x_traffic.h"
#include "tests/support/show_everything.h"

namespace {

struct Bench {
    FrameBench *frame = nullptr;
};

// The display bytes as start-up leaves them, put back before each case.
struct DisplayBytes {
    uint8_t star, starLabel, constellation, milkyWay, nebula, nebulaType, nebulaCatalog, sky;
    uint8_t gridNumber, horizonGrid, equatorialGrid, otherGrid, lineNumber, userObject, skyMark, pictureMark;
    uint8_t trace, sun, moon, earth, planets[kPlanetCount], jupiterMoon, statusBar;
};

DisplayBytes displayBytesOf(const ChartState *c) {
    DisplayBytes d{c->starFlags,         c->starLabelFlags,     c->constellationFlags,  c->milkyWayFlags,
                   c->nebulaFlags,       c->nebulaTypeFlags,    c->nebulaCatalogFlags,  c->skyFlags,
                   c->gridNumberFlags,   c->horizonGridFlags,   c->equatorialGridFlags, c->otherGridFlags,
                   c->lineNumberFlags,   c->userObjectFlags,    c->skyMarkFlags,        c->pictureMarkFlags,
                   c->traceFlags,        c->sunFlags,           c->moonFlags,           c->earthFlags,
                   {},                   c->jupiterMoonFlags,   c->statusBar};
    for (int i = 0; i < kPlanetCount; i++) d.planets[i] = c->planetFlags[i];
    return d;
}

void restoreDisplayBytes(ChartState *c, const DisplayBytes &d) {
    c->starFlags = d.star, c->starLabelFlags = d.starLabel, c->constellationFlags = d.constellation;
    c->milkyWayFlags = d.milkyWay, c->nebulaFlags = d.nebula, c->nebulaTypeFlags = d.nebulaType;
    c->nebulaCatalogFlags = d.nebulaCatalog, c->skyFlags = d.sky, c->gridNumberFlags = d.gridNumber;
    c->horizonGridFlags = d.horizonGrid, c->equatorialGridFlags = d.equatorialGrid, c->otherGridFlags = d.otherGrid;
    c->lineNumberFlags = d.lineNumber, c->userObjectFlags = d.userObject, c->skyMarkFlags = d.skyMark;
    c->pictureMarkFlags = d.pictureMark, c->traceFlags = d.trace, c->sunFlags = d.sun, c->moonFlags = d.moon;
    c->earthFlags = d.earth, c->jupiterMoonFlags = d.jupiterMoon, c->statusBar = d.statusBar;
    for (int i = 0; i < kPlanetCount; i++) c->planetFlags[i] = d.planets[i];
}

DisplayBytes startingDisplay;

Bench *setUp() {
    static Bench *bench = nullptr;
    if (bench != nullptr) return bench->frame != nullptr ? bench : nullptr;
    bench = new Bench();
    bench->frame = frameBenchSetUp();
    if (bench->frame == nullptr) return nullptr;
    ChartState *c = bench->frame->chart;
    appData->commandFromSocket = 1; // a refused command formats its message, shows no box
    stkExecute(c, ("LOAD AD \"" + benchDataFile("adf/sample.adf") + "\"").c_str());
    startingDisplay = displayBytesOf(c);
    return bench;
}

// Everything on the chart (tests/support/show_everything.h).
void showEverything(ChartState *c) {
    for (const std::string &statement : showEverythingStatements()) stkExecute(c, statement.c_str());
    stkClearError();
}

enum Variant { kSteady, kAdvancing, kCopied, kEverything };

// The advancing variant keeps to the two hours from the night's start: a
// minute a frame for thousands of frames would reach the day.
constexpr int kAdvancingFrames = 120;

void frame(Bench *b, Variant variant, int n) {
    ChartState *c = b->frame->chart;
    if (variant == kAdvancing) {
        if (n % kAdvancingFrames == 0)
            chartSetDate(c, &kBenchNight);
        else
            chartSetJd(c, c->sky.jd + 1.0 / 1440.0, c->sky.date.zone);
    }
    if (variant == kCopied) {
        c->redrawNeeded = 1;
        chartRedraw(c);
    } else {
        chartDrawFrame(c, b->frame->canvas());
    }
}

// The case's chart: its mode, the starting display (or everything shown), the night.
ChartState *prepare(Bench *b, int32_t mode, bool everything) {
    ChartState *c = b->frame->chart;
    restoreDisplayBytes(c, startingDisplay);
    if (everything) showEverything(c);
    c->mode = mode; // a setting, as MODE writes it
    chartSetDate(c, &kBenchNight);
    return c;
}

// The requests and replies of a frame, counted over frames of their own
// after the timed ones: the meter's after function runs at the end of every
// Xlib routine, a cost of its own the timed frames do not carry.
constexpr int kCountedFrames = 20;

template <class Draw> void counters(benchmark::State &state, Display *d, const Draw &draw) {
    unsigned long requests = 0, replies = 0;
    {
        XTrafficMeter meter(d);
        for (int i = 0; i < kCountedFrames; i++) {
            meter.start();
            draw();
            const XTraffic t = meter.read();
            requests += t.requests;
            replies += t.replies;
            XSync(d, False);
        }
    }
    state.counters["requests"] = static_cast<double>(requests) / kCountedFrames;
    state.counters["replies"] = static_cast<double>(replies) / kCountedFrames;
}

void runFrames(benchmark::State &state, Variant variant) {
    Bench *b = setUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    Display *d = b->frame->display;
    prepare(b, static_cast<int32_t>(state.range(0)), variant == kEverything);
    appData->initialising = variant == kCopied ? 0 : 1;
    frame(b, variant, 0); // a mode's first frame stores its sky colours
    XSync(d, False);
    int n = 1;
    for (auto _ : state) {
        frame(b, variant, n++);
        XSync(d, False);
    }
    counters(state, d, [&] { frame(b, variant, n++); });
    appData->initialising = 1;
}

void BM_Frame(benchmark::State &state) { runFrames(state, kSteady); }
void BM_FrameAdvancing(benchmark::State &state) { runFrames(state, kAdvancing); }
void BM_FrameCopied(benchmark::State &state) { runFrames(state, kCopied); }
void BM_FrameEverything(benchmark::State &state) { runFrames(state, kEverything); }

// A canvas that draws through the chart's own canvas and keeps every call.
struct TeeCanvas : RecordingCanvas {
    Canvas *target;
    explicit TeeCanvas(Canvas *t) : target(t) {}
    void setForeground(uint32_t p) override { RecordingCanvas::setForeground(p), target->setForeground(p); }
    void setLineAttributes(int w, CanvasLineStyle s, CanvasCapStyle c, CanvasJoinStyle j) override {
        RecordingCanvas::setLineAttributes(w, s, c, j);
        target->setLineAttributes(w, s, c, j);
    }
    CanvasLineAttributes lineAttributes() override { return target->lineAttributes(); }
    void setDashes(int o, const uint8_t *d, int n) override { RecordingCanvas::setDashes(o, d, n), target->setDashes(o, d, n); }
    void drawPoint(int x, int y) override { RecordingCanvas::drawPoint(x, y), target->drawPoint(x, y); }
    void drawPoints(const CanvasPoint *p, int n) override { RecordingCanvas::drawPoints(p, n), target->drawPoints(p, n); }
    void drawLine(int a, int b, int c, int d) override { RecordingCanvas::drawLine(a, b, c, d), target->drawLine(a, b, c, d); }
    void drawLines(const CanvasPoint *p, int n) override { RecordingCanvas::drawLines(p, n), target->drawLines(p, n); }
    void drawRectangle(int x, int y, int w, int h) override {
        RecordingCanvas::drawRectangle(x, y, w, h), target->drawRectangle(x, y, w, h);
    }
    void fillRectangle(int x, int y, int w, int h) override {
        RecordingCanvas::fillRectangle(x, y, w, h), target->fillRectangle(x, y, w, h);
    }
    void fillPolygon(const CanvasPoint *p, int n, CanvasPolygonShape s) override {
        RecordingCanvas::fillPolygon(p, n, s), target->fillPolygon(p, n, s);
    }
    void drawArc(int x, int y, int w, int h, int a1, int a2) override {
        RecordingCanvas::drawArc(x, y, w, h, a1, a2), target->drawArc(x, y, w, h, a1, a2);
    }
    void fillArc(int x, int y, int w, int h, int a1, int a2) override {
        RecordingCanvas::fillArc(x, y, w, h, a1, a2), target->fillArc(x, y, w, h, a1, a2);
    }
    void drawString(int f, int x, int y, const char *t, int n) override {
        RecordingCanvas::drawString(f, x, y, t, n), target->drawString(f, x, y, t, n);
    }
    void drawSymbolString(int x, int y, const char *t, int n) override {
        RecordingCanvas::drawSymbolString(x, y, t, n), target->drawSymbolString(x, y, t, n);
    }
    void drawBitmap(int x, int y, const uint16_t *rows, int w, int h) override {
        RecordingCanvas::drawBitmap(x, y, rows, w, h), target->drawBitmap(x, y, rows, w, h);
    }
    CanvasTextExtent textExtent(int f, const char *t, int n) override { return target->textExtent(f, t, n); }
    CanvasTextExtent fontSetMaxExtent(int f) override { return target->fontSetMaxExtent(f); }
};

// One colour's primitives (lines also by width and dash style).
struct FloorGroup {
    std::vector<XPoint> points;
    std::vector<XSegment> segments;
    std::vector<XRectangle> rectangles, fills;
    std::vector<XArc> arcs, filledArcs;
    std::vector<std::vector<XPoint>> polygons;
    std::vector<std::tuple<int, int, std::string>> texts; // x, y, text
};
using FloorKey = std::tuple<uint32_t, int, int, int>; // pixel, line width, line style, font (-1 none, -2 symbol)

struct Floor {
    std::map<FloorKey, FloorGroup> groups;
    long points = 0, segments = 0, texts = 0, shapes = 0;
    std::vector<char> dashes; // the frame's last dash list
    int dashOffset = 0;
};

XSegment segmentOf(int x1, int y1, int x2, int y2) {
    return XSegment{static_cast<short>(x1), static_cast<short>(y1), static_cast<short>(x2), static_cast<short>(y2)};
}

Floor floorOf(const RecordingCanvas &rec) {
    Floor f;
    int width = 0, style = 0;
    for (const CanvasCall &call : rec.calls) {
        const int *a = call.a;
        auto plain = [&]() -> FloorGroup & { return f.groups[FloorKey{call.pixel, 0, 0, -1}]; };
        switch (call.op) {
        case OpSetLineAttributes:
            width = a[0], style = a[1];
            break;
        case OpSetDashes:
            f.dashes.clear();
            for (const CanvasPoint &p : call.points) f.dashes.push_back(static_cast<char>(p.x));
            f.dashOffset = a[0];
            break;
        case OpDrawPoint:
            plain().points.push_back(XPoint{static_cast<short>(a[0]), static_cast<short>(a[1])}), f.points++;
            break;
        case OpDrawPoints:
        case OpDrawBitmap:
            for (const CanvasPoint &p : call.points) plain().points.push_back(XPoint{p.x, p.y}), f.points++;
            break;
        case OpDrawLine:
        case OpDrawLines: {
            FloorGroup &g = f.groups[FloorKey{call.pixel, width, style, -1}];
            if (call.op == OpDrawLine) {
                g.segments.push_back(segmentOf(a[0], a[1], a[2], a[3])), f.segments++;
            } else {
                for (size_t k = 1; k < call.points.size(); k++)
                    g.segments.push_back(segmentOf(call.points[k - 1].x, call.points[k - 1].y, call.points[k].x,
                                                   call.points[k].y)),
                        f.segments++;
            }
            break;
        }
        case OpDrawRectangle:
            plain().rectangles.push_back(XRectangle{static_cast<short>(a[0]), static_cast<short>(a[1]),
                                                  static_cast<unsigned short>(a[2]), static_cast<unsigned short>(a[3])});
            f.shapes++;
            break;
        case OpFillRectangle:
            plain().fills.push_back(XRectangle{static_cast<short>(a[0]), static_cast<short>(a[1]),
                                             static_cast<unsigned short>(a[2]), static_cast<unsigned short>(a[3])});
            f.shapes++;
            break;
        case OpDrawArc:
        case OpFillArc:
            (call.op == OpDrawArc ? plain().arcs : plain().filledArcs)
                .push_back(XArc{static_cast<short>(a[0]), static_cast<short>(a[1]), static_cast<unsigned short>(a[2]),
                                static_cast<unsigned short>(a[3]), static_cast<short>(a[4]), static_cast<short>(a[5])});
            f.shapes++;
            break;
        case OpFillPolygon: {
            std::vector<XPoint> poly;
            for (const CanvasPoint &p : call.points) poly.push_back(XPoint{p.x, p.y});
            plain().polygons.push_back(poly);
            f.shapes++;
            break;
        }
        case OpDrawString:
            f.groups[FloorKey{call.pixel, 0, 0, a[0]}].texts.emplace_back(a[1], a[2], call.text), f.texts++;
            break;
        case OpDrawSymbolString:
            f.groups[FloorKey{call.pixel, 0, 0, -2}].texts.emplace_back(a[0], a[1], call.text), f.texts++;
            break;
        default:
            break;
        }
    }
    return f;
}

// The core font a font set draws its text in: the first of its fonts.
Font fontOfSet(int fontSet) {
    if (fontSet == -2) return appData->bayerFont.fid;
    if (fontSet < 0 || fontSet >= kFontSetCount || appData->fontSets[fontSet] == nullptr) return 0;
    XFontStruct **fonts = nullptr;
    char **names = nullptr;
    if (XFontsOfFontSet(appData->fontSets[fontSet], &fonts, &names) < 1) return 0;
    return fonts[0]->fid;
}

void sendFloor(Display *d, Drawable target, GC gc, const Floor &f) {
    if (!f.dashes.empty())
        XSetDashes(d, gc, f.dashOffset, f.dashes.data(), static_cast<int>(f.dashes.size()));
    for (const auto &entry : f.groups) {
        const FloorGroup &g = entry.second;
        XSetForeground(d, gc, std::get<0>(entry.first));
        if (!g.segments.empty())
            XSetLineAttributes(d, gc, static_cast<unsigned>(std::get<1>(entry.first)), std::get<2>(entry.first),
                               CapButt, JoinMiter);
        if (!g.fills.empty()) XFillRectangles(d, target, gc, const_cast<XRectangle *>(g.fills.data()), static_cast<int>(g.fills.size()));
        for (const std::vector<XPoint> &p : g.polygons)
            XFillPolygon(d, target, gc, const_cast<XPoint *>(p.data()), static_cast<int>(p.size()), Complex, CoordModeOrigin);
        if (!g.filledArcs.empty()) XFillArcs(d, target, gc, const_cast<XArc *>(g.filledArcs.data()), static_cast<int>(g.filledArcs.size()));
        if (!g.arcs.empty()) XDrawArcs(d, target, gc, const_cast<XArc *>(g.arcs.data()), static_cast<int>(g.arcs.size()));
        if (!g.rectangles.empty())
            XDrawRectangles(d, target, gc, const_cast<XRectangle *>(g.rectangles.data()), static_cast<int>(g.rectangles.size()));
        if (!g.segments.empty()) XDrawSegments(d, target, gc, const_cast<XSegment *>(g.segments.data()), static_cast<int>(g.segments.size()));
        if (!g.points.empty())
            XDrawPoints(d, target, gc, const_cast<XPoint *>(g.points.data()), static_cast<int>(g.points.size()), CoordModeOrigin);
        if (!g.texts.empty()) {
            const Font font = fontOfSet(std::get<3>(entry.first));
            if (font == 0) continue;
            XSetFont(d, gc, font);
            for (const auto &t : g.texts)
                XDrawString(d, target, gc, std::get<0>(t), std::get<1>(t), std::get<2>(t).data(),
                            static_cast<int>(std::get<2>(t).size()));
        }
    }
}

// The case's chart, as prepare leaves it, and its floor recorded from a frame.
ChartState *prepareFloor(Bench *b, int32_t mode, bool everything, Floor *f) {
    ChartState *c = prepare(b, mode, everything);
    chartDrawFrame(c, b->frame->canvas()); // the mode's sky colours
    TeeCanvas tee(b->frame->canvas());
    chartDrawFrame(c, &tee);
    *f = floorOf(tee);
    return c;
}

void runFloor(benchmark::State &state, bool everything) {
    Bench *b = setUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    Display *d = b->frame->display;
    Floor f;
    prepareFloor(b, static_cast<int32_t>(state.range(0)), everything, &f);
    const Pixmap pixmap = static_cast<XSurface *>(chartSurface())->pixmap;
    const GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XSync(d, False);
    for (auto _ : state) {
        sendFloor(d, pixmap, gc, f);
        XSync(d, False);
    }
    counters(state, d, [&] { sendFloor(d, pixmap, gc, f); });
    state.counters["points"] = static_cast<double>(f.points);
    state.counters["segments"] = static_cast<double>(f.segments);
    state.counters["texts"] = static_cast<double>(f.texts);
    state.counters["shapes"] = static_cast<double>(f.shapes);
    XFreeGC(d, gc);
}

void BM_Floor(benchmark::State &state) { runFloor(state, false); }
void BM_FloorEverything(benchmark::State &state) { runFloor(state, true); }

double medianOf(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The everything-shown frame and its floor in pairs, one after the other
// (which goes first alternates): on a shared machine and server the two
// separate benchmarks above meet different moments of load, the pairs meet
// the same. The label gives the medians of the frame, the floor and the
// ratio of each pair.
void BM_EverythingBesideFloor(benchmark::State &state) {
    Bench *b = setUp();
    if (b == nullptr) {
        state.SkipWithError("no X display");
        return;
    }
    Display *d = b->frame->display;
    appData->initialising = 1;
    Floor f;
    ChartState *c = prepareFloor(b, static_cast<int32_t>(state.range(0)), true, &f);
    const Pixmap pixmap = static_cast<XSurface *>(chartSurface())->pixmap;
    const GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XSync(d, False);
    using Clock = std::chrono::steady_clock;
    auto timed = [&](auto draw) {
        const Clock::time_point start = Clock::now();
        draw();
        XSync(d, False);
        return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
    };
    std::vector<double> frames, floors, ratios;
    bool frameFirst = true;
    for (auto _ : state) {
        double frameUs, floorUs;
        if (frameFirst) {
            frameUs = timed([&] { chartDrawFrame(c, b->frame->canvas()); });
            floorUs = timed([&] { sendFloor(d, pixmap, gc, f); });
        } else {
            floorUs = timed([&] { sendFloor(d, pixmap, gc, f); });
            frameUs = timed([&] { chartDrawFrame(c, b->frame->canvas()); });
        }
        frameFirst = !frameFirst;
        frames.push_back(frameUs), floors.push_back(floorUs), ratios.push_back(frameUs / floorUs);
    }
    XFreeGC(d, gc);
    char label[128];
    std::snprintf(label, sizeof label, "frame %.0f us floor %.0f us frame/floor %.2f", medianOf(frames),
                  medianOf(floors), medianOf(ratios));
    state.SetLabel(label);
}

const int kModes[] = {kModeHrz,     kModeEqt,     kModeEcl,     kModeGal,     kModeSol1,
                      kModeSol2,    kModeSol3,    kModeAll1Eqt, kModeAll1Ecl, kModeAll1Gal,
                      kModeAll2Eqt, kModeAll2Ecl, kModeAll2Gal, kModePlns};

void registerModes(benchmark::internal::Benchmark *bm) {
    for (int mode : kModes) bm->Arg(mode);
}

} // namespace

// Fixed iteration counts: every repetition runs the same number of frames,
// so the medians compare like with like on a busy machine.
#define FRAME_BENCH(fn, frames)                                                                                     \
    BENCHMARK(fn)->Apply(registerModes)->Iterations(frames)->Repetitions(9)->ReportAggregatesOnly(true)->Unit(        \
        benchmark::kMicrosecond)
FRAME_BENCH(BM_Floor, 400);
FRAME_BENCH(BM_Frame, 400);
FRAME_BENCH(BM_FrameAdvancing, 400);
FRAME_BENCH(BM_FrameCopied, 400);
FRAME_BENCH(BM_FloorEverything, 100);
FRAME_BENCH(BM_FrameEverything, 100);
BENCHMARK(BM_EverythingBesideFloor)->Apply(registerModes)->Iterations(900)->Unit(benchmark::kMicrosecond);
