// LOOK through the interpreter and a real frame into a pixmap of a private X
// server: after "LOOK STAR alphaOri" the middle of the chart shows
// Betelgeuse, in the horizontal and in the equatorial chart.
#include <gtest/gtest.h>

#include <ctime>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/ephemeris.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/x/x_canvas.h"
#include "resources/catalogs.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_server.h"

namespace {

constexpr int kWidth = 400, kHeight = 300;

std::time_t nightClock() { return 1705352400; } // 2024-01-15 21:00 UTC

uint32_t pixelFor(int32_t row) { return 0x010101u * 2u + static_cast<uint32_t>(row) * 0x030507u; }

int32_t betelgeuse()
{
    for (int32_t i = 0; i < starNameCount; ++i)
        if (std::string(starNames[i].builtinName) == "Betelgeuse")
            return starNames[i].index;
    return -1;
}

TEST(LookX, TheMiddleOfTheChartIsBetelgeuse)
{
    XServer server(kWidth, kHeight, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    const int32_t star = betelgeuse();
    ASSERT_GE(star, 0);
    // An M supergiant: one of the two reddest colour classes.
    const int cls = brightStarColourClass(brightStars[star]);
    EXPECT_GE(cls, 8);

    for (int mode : {kModeHrz, kModeEqt}) {
        TestChart owner;
        ChartState *chart = owner.get();
        appData->siteZoneHours = 0.0;
        appData->commandFromSocket = 1;
        for (int i = 0; i < kPaletteSlots; ++i)
            appData->pixels[i] = pixelFor(i);
        ephemerisTheories = kEphemerisTheoriesDefault;
        setClockSource(nightClock);
        DateTime now;
        timeNow(&now);
        chartSetSite(chart, 51.4769, -0.0005, 0.0); // Greenwich
        chartSetDate(chart, &now);
        chart->mode = mode; // MODE is another command's
        chart->chartRect = ChartRect{0, 0, kWidth, kHeight};
        chart->fieldWidth = 30.0;
        chart->starLabelFlags = 0; // no names drawn over the middle
        chart->statusBar = 0;

        stkExecute(chart, "LOOK STAR alphaOri");
        ASSERT_STREQ(appData->errorId, "") << appData->errorMessage;

        Pixmap pixmap = XCreatePixmap(d, DefaultRootWindow(d), kWidth, kHeight, 24);
        GC gc = XCreateGC(d, pixmap, 0, nullptr);
        XCanvas canvas(d, pixmap, gc);
        chartDrawFrame(chart, &canvas);
        XImage *image = XGetImage(d, pixmap, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
        ASSERT_NE(image, nullptr);
        const unsigned long middle = XGetPixel(image, kWidth / 2, kHeight / 2) & 0xFFFFFF;
        XDestroyImage(image);
        XFreeGC(d, gc);
        XFreePixmap(d, pixmap);
        setClockSource(nullptr);
        EXPECT_EQ(middle, pixelFor(ColorStar0 + cls)) << "mode " << mode;
        appData->commandFromSocket = 0;
    }
}

} // namespace
