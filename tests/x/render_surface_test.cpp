// The chart's pixmap on a real X server: a resize makes a new, cleared pixmap;
// an expose without a redraw mark only copies.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/x/x_surface.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_server.h"

namespace {

int frames = 0;
void countFrame(ChartState *) { frames++; }

struct RenderSurfaceTest : ::testing::Test {
    Display *display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XSurface> surface;
    TestChart chart;

    // A server of the test's own, so the test runs without a display too.
    XServer server;

    void SetUp() override {
        ASSERT_TRUE(server.ok()) << server.why();
        display = XOpenDisplay(server.name().c_str());
        ASSERT_NE(display, nullptr) << server.name();
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, 300, 200, 0,
                                     BlackPixel(display, screen), WhitePixel(display, screen));
        gc = XCreateGC(display, window, 0, nullptr);
        surface.reset(new XSurface(display, window, gc, DefaultDepth(display, screen)));
        setPaletteStoreColour(nullptr); // no palette of an earlier test's display
        appData->initialising = 0;
        chart->statusBar = 0;
        chart->modeChanged = 0;
        chart->mode = kModeEqt;
        surface->pixmapField = &chart->backPixmap;
        chartFrameServices = kFrameServices;
        chartFrameServices.ephemUpdateAll = countFrame;
        frames = 0;
        chartSetSurface(surface.get());
    }
    void TearDown() override {
        chartSetSurface(nullptr);
        chartFrameServices = kFrameServices;
        if (display == nullptr) return;
        surface.reset();
        XFreeGC(display, gc);
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }
    void resize(int w, int h) {
        XResizeWindow(display, window, static_cast<unsigned>(w), static_cast<unsigned>(h));
        XSync(display, False);
        surface->windowResized(w, h); // what the configure event handler passes on
    }
    void pixmapSize(unsigned *w, unsigned *h) {
        Window root;
        int x, y;
        unsigned border, depth;
        ASSERT_TRUE(XGetGeometry(display, chart->backPixmap, &root, &x, &y, w, h, &border, &depth));
    }
};

TEST_F(RenderSurfaceTest, ResizeRecreatesThePixmapAtTheNewSize) {
    chartRefresh(chart.get());
    const Pixmap first = chart->backPixmap;
    ASSERT_NE(0u, first);
    unsigned w = 0, h = 0;
    pixmapSize(&w, &h);
    EXPECT_EQ(300u, w);
    EXPECT_EQ(200u, h);
    EXPECT_EQ(1, frames);

    resize(420, 260);
    chartRefresh(chart.get());
    pixmapSize(&w, &h);
    EXPECT_EQ(420u, w);
    EXPECT_EQ(260u, h);
    EXPECT_EQ(420, chart->chartRect.width);
    EXPECT_EQ(2, frames) << "a size change marks a redraw";
}

TEST_F(RenderSurfaceTest, ExposeWithoutARedrawMarkOnlyCopies) {
    chartRefresh(chart.get());
    const int copies = surface->copies;
    const Pixmap pixmap = chart->backPixmap;
    chartRefresh(chart.get()); // what an expose does
    EXPECT_EQ(1, frames);
    EXPECT_EQ(copies + 1, surface->copies);
    EXPECT_EQ(pixmap, chart->backPixmap);
}

TEST_F(RenderSurfaceTest, NewPixmapIsClearedAndNeverEmpty) {
    surface->recreate(0, 0);
    unsigned w = 0, h = 0;
    pixmapSize(&w, &h);
    EXPECT_EQ(1u, w) << "a zero-sized pixmap would be an X error that ends the process";
    EXPECT_EQ(1u, h);
    surface->recreate(64, 32);
    XImage *image = XGetImage(display, surface->pixmap, 0, 0, 64, 32, AllPlanes, ZPixmap);
    ASSERT_NE(nullptr, image);
    const unsigned long black = BlackPixel(display, DefaultScreen(display));
    int other = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 64; x++)
            if (XGetPixel(image, x, y) != black) other++;
    XDestroyImage(image);
    EXPECT_EQ(0, other);
}

TEST_F(RenderSurfaceTest, NothingReachesTheWindowWhileStartingUp) {
    appData->initialising = 1;
    chartRefresh(chart.get());
    EXPECT_EQ(1, frames);
    EXPECT_EQ(0, surface->copies);
}

} // namespace
