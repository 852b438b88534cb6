// BLINK's cross on a real window of a private X server: it is drawn on the
// window only, flashes (BlinkTime + 1) / 2 times, and leaves the window as it
// was, also where another window covered the chart while it blinked.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "model/view_geometry.h"
#include "render/blink.h"
#include "render/frame.h"
#include "render/surface.h"
#include "render/x/x_surface.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_server.h"

namespace {

constexpr int kWidth = 200, kHeight = 150;
constexpr int kX = 60, kY = 70; // the blinked point

struct Probe {
    Display *display = nullptr;
    Window window = 0, cover = 0;
    Pixmap pixmap = 0;
    int waits = 0;
    uint32_t rayDuringFirstWait = 0, pixmapRayDuringFirstWait = 0;
};
Probe probe;

uint32_t pixelOf(Drawable d, int x, int y)
{
    XImage *img = XGetImage(probe.display, d, x, y, 1, 1, AllPlanes, ZPixmap);
    if (!img)
        return 0xffffffffu;
    const uint32_t p = static_cast<uint32_t>(XGetPixel(img, 0, 0)) & 0xffffffu;
    XDestroyImage(img);
    return p;
}

std::vector<uint32_t> square(Drawable d)
{
    std::vector<uint32_t> v;
    for (int y = kY - 9; y <= kY + 9; y++)
        for (int x = kX - 9; x <= kX + 9; x++)
            v.push_back(pixelOf(d, x, y));
    return v;
}

// Instead of sleeping: looks at the window during the first flash and lets
// the covering window go away, as a user might move it meanwhile.
void watchWait(int)
{
    if (probe.waits++ == 0) {
        XSync(probe.display, False);
        probe.rayDuringFirstWait = pixelOf(probe.window, kX + 7, kY);
        probe.pixmapRayDuringFirstWait = pixelOf(probe.pixmap, kX + 7, kY);
        if (probe.cover) {
            XUnmapWindow(probe.display, probe.cover);
            XSync(probe.display, False);
        }
    }
}

class BlinkX : public ::testing::Test {
protected:
    XServer server{400, 300, 24};
    std::unique_ptr<XSurface> surface;
    TestChart chart;
    GC gc = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        Display *d = server.display();
        probe = Probe{};
        probe.display = d;
        const int screen = DefaultScreen(d);
        probe.window = XCreateSimpleWindow(d, RootWindow(d, screen), 0, 0, kWidth, kHeight, 0,
                                           BlackPixel(d, screen), WhitePixel(d, screen));
        gc = XCreateGC(d, probe.window, 0, nullptr);
        surface.reset(new XSurface(d, probe.window, gc, DefaultDepth(d, screen)));
        surface->pixmapField = &chart->backPixmap;
        surface->recreate(kWidth, kHeight);
        probe.pixmap = chart->backPixmap;
        // A chart of stripes, so that any pixel put back wrong shows.
        Canvas *c = surface->canvas();
        for (int x = 0; x < kWidth; x += 4) {
            c->setForeground(0x102030u + static_cast<uint32_t>(x) * 0x010203u);
            c->fillRectangle(x, 0, 4, kHeight);
        }
        XMapWindow(d, probe.window);
        XSync(d, False);
        surface->copyToWindow(kWidth, kHeight);
        XSync(d, False);
        chartSetSurface(surface.get());
        blinkWait = watchWait;
    }
    void TearDown() override
    {
        chartSetSurface(nullptr);
        blinkWait = kRealBlinkWait;
        if (!server.ok())
            return;
        surface.reset();
        XFreeGC(server.display(), gc);
    }
    void (*const kRealBlinkWait)(int) = blinkWait;
};

TEST_F(BlinkX, TheCrossIsOnTheWindowOnlyAndTheWindowIsTheSameAfterwards)
{
    const std::vector<uint32_t> before = square(probe.window);
    ASSERT_EQ(before, square(probe.pixmap)) << "the window shows the chart";
    appData->blinkTime = 10;
    blinkAt(chart.get(), kX, kY);
    XSync(server.display(), False);
    EXPECT_EQ(probe.waits, 10) << "five rounds of white and black";
    EXPECT_EQ(probe.rayDuringFirstWait, 0xffffffu) << "the ray right of the point, in white";
    EXPECT_EQ(probe.pixmapRayDuringFirstWait, before[9 * 19 + 9 + 7]) << "the off-screen chart is untouched";
    EXPECT_EQ(square(probe.window), before);
}

TEST_F(BlinkX, ACoveringWindowThatGoesAwayLeavesNoHoleInTheSquare)
{
    const std::vector<uint32_t> chartSquare = square(probe.pixmap);
    Display *d = server.display();
    const int screen = DefaultScreen(d);
    // Over the left half of the square, gone during the first flash.
    probe.cover = XCreateSimpleWindow(d, RootWindow(d, screen), kX - 30, kY - 30, 30, 60, 0,
                                      BlackPixel(d, screen), BlackPixel(d, screen));
    XMapRaised(d, probe.cover);
    XSync(d, False);
    appData->blinkTime = 5;
    blinkAt(chart.get(), kX, kY);
    XSync(d, False);
    EXPECT_EQ(probe.waits, 6) << "(5 + 1) / 2 rounds";
    EXPECT_EQ(square(probe.window), chartSquare);
    XDestroyWindow(d, probe.cover);
}

TEST_F(BlinkX, CrossRaysAreWhereTheyBelong)
{
    // During the first flash every ray end is white and the centre is not.
    struct End {
        int dx, dy;
    } ends[] = {{0, -9}, {7, -7}, {9, 0}, {7, 7}, {0, 9}, {-7, 7}, {-9, 0}, {-7, -7},
                {0, -5}, {4, -4}, {5, 0}, {4, 4}, {0, 5}, {-4, 4}, {-5, 0}, {-4, -4}};
    blinkCross(chart.get(), kX, kY, 0xffffffu);
    XSync(server.display(), False);
    for (const End &e : ends)
        EXPECT_EQ(pixelOf(probe.window, kX + e.dx, kY + e.dy), 0xffffffu) << e.dx << "," << e.dy;
    EXPECT_NE(pixelOf(probe.window, kX, kY), 0xffffffu);
    EXPECT_NE(pixelOf(probe.window, kX + 3, kY), 0xffffffu) << "the rays start 5 pixels out";
}

TEST_F(BlinkX, BlinkCommandFlashesItsTargetAndNothingElse)
{
    const std::vector<uint32_t> before = square(probe.window);
    appData->blinkTime = 4;
    appData->commandFromSocket = 1; // errors are kept, no box
    stkExecute(chart.get(), "BLINK SCREEN 60,70");
    XSync(server.display(), False);
    EXPECT_STREQ(appData->errorId, "");
    EXPECT_EQ(probe.waits, 4) << "(4 + 1) / 2 rounds";
    EXPECT_EQ(probe.rayDuringFirstWait, 0xffffffu);
    EXPECT_EQ(square(probe.window), before);

    // A chart looking at right ascension 0 on the equator: the point
    // opposite is not on it, and a word that is no position is refused.
    chart->chartRect = ChartRect{0, 0, kWidth, kHeight};
    stkExecute(chart.get(), "DATE 2024,1,25,22,0,0,0;LOCATE 0E,51.5N,0,0;MODE EQT;LOOK EQT 0,0;ZOOM UP 80");
    ASSERT_STREQ(appData->errorId, "");
    updateViewScale(chart.get());
    chartApplyTracking(chart.get()); // the frame's recentring on the LOOK target
    updateViewMatrix(chart.get());
    probe.waits = 0;
    stkExecute(chart.get(), "BLINK EQT 12,0");
    EXPECT_STREQ(appData->errorId, "");
    EXPECT_EQ(probe.waits, 0) << "nothing to blink";
    stkExecute(chart.get(), "BLINK XYZ");
    EXPECT_STREQ(appData->errorId, "stkErrorIllegalParam");
    EXPECT_STREQ(appData->errorArg, "XYZ");
    EXPECT_EQ(probe.waits, 0);
    stkExecute(chart.get(), "BLINK EQT 0,0");
    EXPECT_EQ(probe.waits, 4) << "the centre is on the chart";

    // A sky mark at the centre has no screen position of its own.
    UserObject marks[2] = {};
    marks[0].type = kUserObjectMark;
    marks[0].kind = kPosEqt;
    std::snprintf(marks[0].name, sizeof marks[0].name, "Centre");
    marks[1].type = kUserObjectTableEnd;
    UserObjectFileEntry file = {1, "marks.adf", marks};
    appData->skyMarkFiles = &file;
    appData->skyMarkFileCount = 1;
    probe.waits = 0;
    stkExecute(chart.get(), "BLINK SKYMARK Centre");
    EXPECT_STREQ(appData->errorId, "");
    EXPECT_EQ(probe.waits, 0) << "a sky mark blinks nothing";
    appData->skyMarkFiles = nullptr;
    appData->skyMarkFileCount = 0;
    appData->commandFromSocket = 0;
}

} // namespace
