// The X canvas draws through GCs of its own, one for each colour and use;
// what it draws must be what the same calls give one after another on a
// single GC. The oracle is a canvas that sends each call straight to Xlib
// on one GC (symbols stippled, text through the font set's own drawing),
// on private Xvfbs of depth 24 and 16: each chart mode's frame with every
// display keyword shown, and call sequences that meet what the GCs must
// get right (colours alternating between lines, text and fills; dash lists
// and line styles changed between lines; more colours than the canvas
// keeps GCs; a kept picture painted in the colour it was drawn in; a
// canvas made on a GC whose values were set).
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "render/frame.h"
#include "render/x/font_sets.h"
#include "render/x/x_canvas.h"
#include "render/x/x_surface.h"
#include "tests/support/show_everything.h"
#include "tests/support/x_night_chart.h"
#include "tests/support/x_xpm.h"

namespace {

// Every call on one GC, as a canvas drew before it had GCs of its own.
struct OneGcCanvas : Canvas {
    Display *d;
    Drawable to;
    GC gc;
    OneGcCanvas(Display *display, Drawable target, GC g) : d(display), to(target), gc(g) {}

    void setForeground(uint32_t p) override { XSetForeground(d, gc, p); }
    void setLineAttributes(int w, CanvasLineStyle s, CanvasCapStyle c, CanvasJoinStyle j) override
    {
        XSetLineAttributes(d, gc, w < 0 ? 0u : static_cast<unsigned>(w), s, c, j);
    }
    CanvasLineAttributes lineAttributes() override
    {
        XGCValues v;
        XGetGCValues(d, gc, GCLineWidth | GCLineStyle | GCCapStyle | GCJoinStyle, &v);
        return {v.line_width, static_cast<CanvasLineStyle>(v.line_style), static_cast<CanvasCapStyle>(v.cap_style),
                static_cast<CanvasJoinStyle>(v.join_style)};
    }
    void setDashes(int offset, const uint8_t *dashes, int n) override
    {
        std::vector<char> list;
        for (int i = 0; i < n && i < 16; i++)
            list.push_back(static_cast<char>(dashes[i] == 0 ? 1 : dashes[i]));
        XSetDashes(d, gc, offset, list.data(), static_cast<int>(list.size()));
    }
    static XPoint *xp(const CanvasPoint *p) { return reinterpret_cast<XPoint *>(const_cast<CanvasPoint *>(p)); }
    void drawPoint(int x, int y) override { XDrawPoint(d, to, gc, x, y); }
    void drawPoints(const CanvasPoint *p, int n) override { XDrawPoints(d, to, gc, xp(p), n, CoordModeOrigin); }
    void drawLine(int a, int b, int c, int e) override { XDrawLine(d, to, gc, a, b, c, e); }
    void drawLines(const CanvasPoint *p, int n) override { XDrawLines(d, to, gc, xp(p), n, CoordModeOrigin); }
    void drawRectangle(int x, int y, int w, int h) override
    {
        XDrawRectangle(d, to, gc, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    }
    void fillRectangle(int x, int y, int w, int h) override
    {
        if (w > 0 && h > 0)
            XFillRectangle(d, to, gc, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
    }
    void fillPolygon(const CanvasPoint *p, int n, CanvasPolygonShape s) override
    {
        XFillPolygon(d, to, gc, xp(p), n, s, CoordModeOrigin);
    }
    void drawArc(int x, int y, int w, int h, int a, int b) override
    {
        XDrawArc(d, to, gc, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), a, b);
    }
    void fillArc(int x, int y, int w, int h, int a, int b) override
    {
        XFillArc(d, to, gc, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h), a, b);
    }
    void drawBitmap(int x, int y, const uint16_t *rows, int w, int h) override
    {
        // XBM rows of (w + 7) / 8 bytes, the leftmost pixel in the low bit.
        const int bytes = (w + 7) / 8;
        char data[32];
        for (int r = 0; r < h; ++r) {
            data[bytes * r] = static_cast<char>(rows[r] & 0xFF);
            if (bytes == 2)
                data[bytes * r + 1] = static_cast<char>(rows[r] >> 8);
        }
        const Pixmap bits = XCreateBitmapFromData(d, to, data, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XSetStipple(d, gc, bits);
        XSetTSOrigin(d, gc, x, y);
        XSetFillStyle(d, gc, FillStippled);
        XFillRectangle(d, to, gc, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XSetFillStyle(d, gc, FillSolid);
        XFreePixmap(d, bits);
    }
    void drawString(int f, int x, int y, const char *t, int n) override
    {
        if (f >= 0 && f < kFontSetCount && appData->fontSets[f] != nullptr)
            XmbDrawString(d, to, appData->fontSets[f], gc, x, y, t, n);
    }
    void drawSymbolString(int x, int y, const char *t, int n) override
    {
        if (appData->bayerFont.fid == 0)
            return;
        XSetFont(d, gc, appData->bayerFont.fid);
        XDrawString(d, to, gc, x, y, t, n);
    }
    CanvasTextExtent textExtent(int f, const char *t, int n) override
    {
        XRectangle ink, logical{0, 0, 0, 0};
        if (f >= 0 && f < kFontSetCount && appData->fontSets[f] != nullptr)
            XmbTextExtents(appData->fontSets[f], t, n, &ink, &logical);
        return {logical.x, logical.y, logical.width, logical.height};
    }
    CanvasTextExtent fontSetMaxExtent(int f) override
    {
        if (f < 0 || f >= kFontSetCount || appData->fontSets[f] == nullptr)
            return {0, 0, 0, 0};
        const XRectangle &r = XExtentsOfFontSet(appData->fontSets[f])->max_logical_extent;
        return {r.x, r.y, r.width, r.height};
    }
};

class CanvasGcs : public ::testing::TestWithParam<int> {};

TEST_P(CanvasGcs, EveryModesFrameWithEverythingShownIsTheFrameOnOneGc)
{
    NightChartWindow sky(GetParam(), true);
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    ChartState *c = sky.chart.get();
    appData->commandFromSocket = 1; // a refused command shows no box
    for (const std::string &show : showEverythingStatements())
        stkExecute(c, show.c_str());
    stkClearError();
    const ChartRect &r = c->chartRect;
    const int width = r.x + r.width, height = r.y + r.height;
    GC one = XCreateGC(sky.d, sky.surface->pixmap, 0, nullptr);
    for (const char *mode : {"HRZ", "EQT", "GAL", "SOL1", "ALL1_EQT", "ALL2_GAL", "PLNS"}) {
        SCOPED_TRACE(mode);
        stkExecute(c, (std::string("MODE ") + mode).c_str());
        chartDrawFrame(c, sky.surface->canvas());
        const std::vector<unsigned long> own = drawablePixels(sky.d, sky.surface->pixmap, width, height);
        OneGcCanvas reference(sky.d, sky.surface->pixmap, one);
        chartDrawFrame(c, &reference);
        const std::vector<unsigned long> straight = drawablePixels(sky.d, sky.surface->pixmap, width, height);
        ASSERT_FALSE(own.empty());
        EXPECT_EQ(differingPixels(own, straight), 0);
    }
    XFreeGC(sky.d, one);
    appData->commandFromSocket = 0;
}

constexpr int kSide = 240;

// Calls made to meet each thing the canvas's GCs must keep: the same calls
// go to the X canvas and to the one-GC canvas, on pixmaps of their own.
struct Sequence {
    const char *name;
    void (*draw)(Canvas *canvas);
};

// Symbols that are not their own mirror image, of one and of two bytes a row.
const uint16_t kNarrowSymbol[7] = {0x7F, 0x40, 0x20, 0x10, 0x08, 0x04, 0x03};
const uint16_t kWideSymbol[5] = {0xFFF, 0x001, 0x003, 0x007, 0x80F};

uint32_t colour(int i) { return static_cast<uint32_t>((i * 2654435761u) & 0xFFFF) | 0x0101; }

const Sequence kSequences[] = {
    {"colours alternating between lines, text, points, fills and symbols",
     [](Canvas *k) {
         for (int i = 0; i < 60; i++) {
             const int x = (i * 37) % 200, y = (i * 53) % 220;
             k->setForeground(colour(i % 3));
             k->drawLine(x, y, x + 30, y + 9);
             k->setForeground(colour(i % 3 + 1));
             k->drawString(i % kFontSetCount, x, y + 12, "M31 12h", 7);
             k->drawPoint(x + 3, y + 3);
             k->setForeground(colour(i % 3));
             k->fillRectangle(x + 5, y + 14, 4, 3);
             k->drawBitmap(x + 12, y + 2, kNarrowSymbol, 7, 7);
             k->drawBitmap(x - 4, y + 18, kWideSymbol, 12, 5);
             k->drawSymbolString(x + 20, y + 20, "abg", 3);
             k->drawLine(x + 1, y + 1, x + 31, y + 10);
         }
     }},
    {"dash lists and line styles changed between lines",
     [](Canvas *k) {
         const uint8_t shortDash[] = {4, 2}, longDash[] = {1, 5, 2}, zero[] = {0, 3};
         k->setForeground(colour(7));
         k->setLineAttributes(0, LineStyleOnOffDash, CapStyleButt, JoinStyleMiter);
         k->drawLine(0, 10, 230, 10); // the default dash list
         k->setDashes(0, shortDash, 2);
         k->drawLine(0, 20, 230, 20);
         k->setDashes(3, longDash, 3);
         k->drawLine(0, 30, 230, 30);
         k->setLineAttributes(0, LineStyleSolid, CapStyleButt, JoinStyleMiter);
         k->drawLine(0, 40, 230, 40);
         k->setLineAttributes(2, LineStyleOnOffDash, CapStyleButt, JoinStyleMiter);
         k->drawLine(0, 50, 230, 50); // the last list, wide
         k->setForeground(colour(8));
         k->drawLine(0, 60, 230, 60);
         k->setDashes(0, shortDash, 2);
         k->setForeground(colour(7));
         k->drawLine(0, 70, 230, 70);
         k->setDashes(1, zero, 2); // a zero length is drawn as one
         k->drawLine(0, 80, 230, 80);
         const CanvasPoint path[] = {{10, 90}, {120, 140}, {220, 95}, {30, 200}};
         k->drawLines(path, 4);
         k->setLineAttributes(3, LineStyleDoubleDash, CapStyleRound, JoinStyleRound);
         k->drawRectangle(20, 150, 60, 40);
         k->drawArc(100, 150, 80, 60, 0, 270 * 64);
     }},
    {"line widths, caps and joins back and forth over rectangles, arcs and polylines",
     [](Canvas *k) {
         const CanvasPoint path[] = {{10, 10}, {60, 40}, {20, 80}};
         for (int i = 0; i < 12; i++) {
             k->setForeground(colour(i % 2));
             k->setLineAttributes(i % 4, LineStyleSolid, i % 3 == 0 ? CapStyleProjecting : CapStyleButt,
                                  i % 2 ? JoinStyleRound : JoinStyleMiter);
             const int o = i * 18;
             k->drawRectangle(o, o / 2, 15, 25);
             k->drawArc(o, 120, 16, 30, 0, 360 * 64);
             k->fillArc(o + 2, 160, 10, 10, 0, 180 * 64);
             const CanvasPoint moved[] = {{static_cast<int16_t>(path[0].x + o), path[0].y},
                                          {static_cast<int16_t>(path[1].x + o), path[1].y},
                                          {static_cast<int16_t>(path[2].x + o), path[2].y}};
             k->drawLines(moved, 3);
             k->fillPolygon(moved, 3, PolygonConvex);
         }
     }},
    {"more colours than the canvas keeps GCs, and the first ones again",
     [](Canvas *k) {
         for (int round = 0; round < 2; round++)
             for (int i = 0; i < 150; i++) {
                 const int x = (i * 7) % 220, y = (i * 11 + round * 3) % 230;
                 k->setForeground(colour(100 + i));
                 k->setLineAttributes(i % 2, i % 5 == 0 ? LineStyleOnOffDash : LineStyleSolid, CapStyleButt,
                                      JoinStyleMiter);
                 k->drawLine(x, y, x + 15, y + 6);
                 k->drawString(0, x, y + 9, "Vega", 4);
                 k->drawPoint(x, y + 2);
             }
     }},
    {"a kept picture is painted in the colour its lines were drawn in",
     [](Canvas *k) {
         const CanvasPoint orbit[] = {{20, 20}, {200, 40}, {180, 200}, {30, 170}, {20, 20}};
         for (int frame = 0; frame < 2; frame++) {
             k->setForeground(colour(40));
             k->drawLine(0, 5 + frame, 230, 5 + frame);
             k->setForeground(colour(41));
             k->setLineAttributes(1, LineStyleSolid, CapStyleButt, JoinStyleMiter);
             if (!k->keptPictureShow(0, 77)) {
                 k->keptPictureBegin(0, 77);
                 k->drawLines(orbit, 5);
                 k->drawLine(50, 50, 150, 150);
                 k->keptPictureEnd(0);
             }
             k->setForeground(colour(42));
             k->drawString(1, 60, 100, "Ceres", 5);
         }
     }},
};

TEST_P(CanvasGcs, CallSequencesDrawWhatTheyDrawOnOneGc)
{
    NightChartWindow sky(GetParam(), false);
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    Display *d = sky.d;
    const int depth = DefaultDepth(d, DefaultScreen(d));
    for (const Sequence &s : kSequences) {
        SCOPED_TRACE(s.name);
        Pixmap pictures[2];
        GC gcs[2];
        for (int i = 0; i < 2; i++) {
            pictures[i] = XCreatePixmap(d, sky.window, kSide, kSide, static_cast<unsigned>(depth));
            gcs[i] = XCreateGC(d, pictures[i], 0, nullptr);
            XFillRectangle(d, pictures[i], gcs[i], 0, 0, kSide, kSide);
        }
        {
            XCanvas own(d, pictures[0], gcs[0]);
            own.fontSets = appData->fontSets;
            own.symbolFont = &appData->bayerFont.fid;
            own.setDrawableSize(kSide, kSide);
            s.draw(&own);
            OneGcCanvas reference(d, pictures[1], gcs[1]);
            s.draw(&reference);
            const std::vector<unsigned long> a = drawablePixels(d, pictures[0], kSide, kSide),
                                             b = drawablePixels(d, pictures[1], kSide, kSide);
            EXPECT_EQ(differingPixels(a, b), 0);
            long drawn = 0;
            for (unsigned long p : b)
                drawn += p != 0 ? 1 : 0;
            EXPECT_GT(drawn, 300) << "the sequence drew";
        }
        for (int i = 0; i < 2; i++) {
            XFreeGC(d, gcs[i]);
            XFreePixmap(d, pictures[i]);
        }
    }
}

// A canvas takes up the state of the GC it is made on: the info box of the
// click-data dialog draws through a canvas made on the dialog's GC after
// setting its colour there.
TEST_P(CanvasGcs, ACanvasStartsInTheStateOfTheGcItIsMadeOn)
{
    NightChartWindow sky(GetParam(), false);
    ASSERT_TRUE(sky.server.ok()) << sky.server.why();
    Display *d = sky.d;
    const int depth = DefaultDepth(d, DefaultScreen(d));
    std::vector<unsigned long> pictures[2];
    for (int i = 0; i < 2; i++) {
        const Pixmap p = XCreatePixmap(d, sky.window, kSide, kSide, static_cast<unsigned>(depth));
        GC gc = XCreateGC(d, p, 0, nullptr);
        XFillRectangle(d, p, gc, 0, 0, kSide, kSide);
        XSetForeground(d, gc, colour(5));
        XSetLineAttributes(d, gc, 3, LineOnOffDash, CapRound, JoinRound);
        XCanvas own(d, p, gc);
        OneGcCanvas reference(d, p, gc);
        Canvas *k = i == 0 ? static_cast<Canvas *>(&own) : &reference;
        const CanvasLineAttributes line = k->lineAttributes();
        EXPECT_EQ(line.width, 3);
        EXPECT_EQ(line.style, LineStyleOnOffDash);
        k->drawLine(10, 10, 200, 150);
        k->fillRectangle(30, 100, 40, 40);
        pictures[i] = drawablePixels(d, p, kSide, kSide);
        XFreeGC(d, gc);
        XFreePixmap(d, p);
    }
    EXPECT_EQ(differingPixels(pictures[0], pictures[1]), 0);
}

INSTANTIATE_TEST_SUITE_P(Depths, CanvasGcs, ::testing::Values(24, 16));

} // namespace
