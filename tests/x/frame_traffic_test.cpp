// What a frame asks of the X server: once a chart's sky colours are stored,
// a frame waits for no reply in any chart mode, on TrueColor screens and on
// one of writable cells; the sky colours cost a request only when they change;
// on TrueColor the pixel comes from the visual's masks. Replies are counted
// by the traffic meter, itself checked against calls known to wait.
#include <clocale>
#include <memory>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/sky_colours.h"
#include "render/layers/status_bar.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "render/x/x_surface.h"
#include "render/x/x_traffic.h"
#include "tests/support/x_night_chart.h"
#include "tests/support/x_server.h"

namespace {

const int kModes[] = {kModeHrz, kModeEqt, kModeEcl, kModeGal, 516, 517, 518, 772, 773, 774, 1028, 1029, 1030,
                      kModePlns};

TEST(XTrafficMeter, CountsRequestsAndOnlyTheRepliesWaitedFor) {
    XServer server(320, 200, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    const Window root = DefaultRootWindow(d);
    const Pixmap pixmap = XCreatePixmap(d, root, 16, 16, 24);
    const GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XSync(d, False);
    XTrafficMeter meter(d);

    struct Case {
        const char *what;
        void (*run)(Display *, Drawable, GC);
        unsigned long requests, replies;
    };
    const Case cases[] = {
        {"two points, joined into one request",
         [](Display *dd, Drawable p, GC g) { XDrawPoint(dd, p, g, 1, 1), XDrawPoint(dd, p, g, 2, 2); }, 1, 0},
        {"a colour change and a point",
         [](Display *dd, Drawable p, GC g) { XSetForeground(dd, g, 0x123456), XDrawPoint(dd, p, g, 1, 1); }, 2, 0},
        {"a geometry query",
         [](Display *dd, Drawable p, GC) {
             Window r;
             int x, y;
             unsigned w, h, b, dep;
             XGetGeometry(dd, p, &r, &x, &y, &w, &h, &b, &dep);
         },
         1, 1},
        {"two colour allocations",
         [](Display *dd, Drawable, GC) {
             XColor c{};
             c.red = 0x4000;
             XAllocColor(dd, DefaultColormap(dd, DefaultScreen(dd)), &c);
             c.green = 0x8000;
             XAllocColor(dd, DefaultColormap(dd, DefaultScreen(dd)), &c);
         },
         2, 2},
        {"a point after a sync", [](Display *dd, Drawable p, GC g) { XSync(dd, False), XDrawPoint(dd, p, g, 3, 3); },
         2, 0},
    };
    for (const Case &c : cases) {
        XSync(d, False);
        meter.start();
        c.run(d, pixmap, gc);
        const XTraffic t = meter.read();
        EXPECT_EQ(t.requests, c.requests) << c.what;
        EXPECT_EQ(t.replies, c.replies) << c.what;
    }
    XFreeGC(d, gc);
    XFreePixmap(d, pixmap);
}

TEST(TrueColourPixel, IsThePixelTheServerAllocates) {
    std::vector<uint32_t> colours = {0x000000, 0xFFFFFF, 0x000010, 0x5080F0, 0x7F7F7F, 0x808080, 0xE59188,
                                     0x010203, 0xFEFDFC, 0x0F1F2F, 0xC0C0C0, 0x123456};
    for (uint32_t v = 0; v < 256; v += 3) colours.push_back(v << 16 | (255 - v) << 8 | (v * 7 & 0xFF));
    for (int depth : {24, 16}) {
        XServer server(320, 200, depth);
        ASSERT_TRUE(server.ok()) << server.why();
        Display *d = server.display();
        const int screen = DefaultScreen(d);
        Visual *visual = DefaultVisual(d, screen);
        ASSERT_EQ(visual->c_class, TrueColor) << depth;
        for (uint32_t rgb : colours) {
            XColor c{};
            c.red = static_cast<unsigned short>((rgb >> 16 & 0xFF) * 256);
            c.green = static_cast<unsigned short>((rgb >> 8 & 0xFF) * 256);
            c.blue = static_cast<unsigned short>((rgb & 0xFF) * 256);
            c.flags = DoRed | DoGreen | DoBlue;
            ASSERT_TRUE(XAllocColor(d, DefaultColormap(d, screen), &c));
            unsigned long pixel = 0;
            // At depth 16 the components are narrower than the visual's 8
            // bits per component: the server is asked instead.
            EXPECT_EQ(trueColourPixel(visual, rgb, &pixel), depth == 24 ? 1 : 0) << depth;
            if (depth == 24) {
                EXPECT_EQ(pixel, c.pixel) << std::hex << rgb;
            }
        }
    }
}

// The chart set up as start-up sets it: palette and font sets on the server,
// the status bar shown, a night date and site, MAG STAR 6.5.
struct FrameTraffic : NightChartWindow {
    std::unique_ptr<XTrafficMeter> meter;

    explicit FrameTraffic(int depth) : NightChartWindow(depth, true) {
        if (!server.ok()) return;
        XSync(d, False);
        meter.reset(new XTrafficMeter(d));
    }
    ~FrameTraffic() { meter.reset(); }

    // One frame as the refresh draws it, copied to the window or not.
    XTraffic frame(bool copied) {
        XSync(d, False);
        meter->start();
        appData->initialising = copied ? 0 : 1;
        chart->redrawNeeded = 1;
        chartRedraw(chart.get());
        const XTraffic t = meter->read();
        XSync(d, False);
        return t;
    }
};

TEST(FrameTraffic, SteadyFrameWaitsForNoReplyInAnyMode) {
    for (int depth : {24, 16, 8}) {
        FrameTraffic f(depth);
        ASSERT_TRUE(f.server.ok()) << f.server.why();
        ASSERT_GT(statusBarHeight(), 0) << "the status bar is drawn";
        for (int mode : kModes) {
            f.chart->mode = mode;
            f.frame(false); // a mode's first frame may store its sky colours
            for (bool copied : {false, true}) {
                const XTraffic t = f.frame(copied);
                EXPECT_EQ(t.replies, 0u) << "mode " << mode << " depth " << depth << (copied ? " copied" : "");
                EXPECT_GT(t.requests, 3u) << "mode " << mode << ": the frame was drawn";
            }
        }
        // The date moving on a minute a frame keeps the night sky: still none.
        f.chart->mode = kModeHrz;
        for (int i = 0; i < 3; i++) {
            chartSetJd(f.chart.get(), f.chart->sky.jd + 1.0 / 1440.0, f.chart->sky.date.zone);
            EXPECT_EQ(f.frame(false).replies, 0u) << "advancing frame " << i << " depth " << depth;
        }
    }
}

TEST(FrameTraffic, SkyColoursCostRequestsOnlyWhenTheyChange) {
    for (int depth : {24, 8}) {
        FrameTraffic f(depth);
        ASSERT_TRUE(f.server.ok()) << f.server.why();
        ChartState *chart = f.chart.get();
        chart->mode = kModeHrz;
        struct Step {
            int32_t level;
            bool changes;
        };
        const Step steps[] = {{40, true}, {40, false}, {0, true}, {0, false}, {72, true}};
        for (const Step &s : steps) {
            chart->skyLevel = s.level;
            XSync(f.d, False);
            f.meter->start();
            setSkyColors(chart);
            const XTraffic t = f.meter->read();
            EXPECT_EQ(t.replies, 0u) << "level " << s.level << " depth " << depth;
            // Writable cells are rewritten in place (requests); TrueColor pixels need none.
            const bool expectRequests = s.changes && depth == 8;
            EXPECT_EQ(t.requests > 0, expectRequests) << "level " << s.level << " depth " << depth;
            uint32_t rgb[kSkySlotCount];
            skyColoursForLevel(s.level, paletteRows[sunColorForChart(chart)].builtinRgb, rgb);
            XColor c{};
            c.pixel = appData->pixels[chart->skyColourBase];
            XQueryColor(f.d, appData->colormap, &c);
            EXPECT_EQ(c.red >> 8, static_cast<int>(rgb[0] >> 16)) << "level " << s.level << " depth " << depth;
            EXPECT_EQ(c.blue >> 8, static_cast<int>(rgb[0] & 0xFF)) << "level " << s.level << " depth " << depth;
        }
    }
}

} // namespace
