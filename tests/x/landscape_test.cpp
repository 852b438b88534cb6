// The ground of the horizontal chart drawn into a real pixmap: below the
// horizon the landscape colour, above it the sky left as it was.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "astro/calendar.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "render/layers/grids.h"
#include "render/layers/landscape.h"
#include "render/palette.h"
#include "render/x/x_canvas.h"
#include "tests/support/x_server.h"

namespace {

constexpr unsigned long kSky = 0x102040;
constexpr int kW = 400, kH = 300;

struct Drawn {
    unsigned long middle, bottom, top;
    int skyPixels;
};

// Draws the landscape for a view centre at altitude alt and field widthDeg
// and reads back the pixmap.
Drawn drawLandscape(Display *d, double alt, double widthDeg) {
    appDataSetDefaults();
    appData->pixelAspect = 1.0;
    for (int i = 0; i < kPaletteSlots; i++) appData->pixels[i] = static_cast<Pixel>(0x010101 * (i + 1));
    static ChartState chart;
    chartStateSetDefaults(&chart);
    chartSetSite(&chart, 50.0, 10.0, 0.0);
    chartSetJd(&chart, JD_J2000, 0.0);
    chart.mode = kModeHrz;
    chart.chartRect = ChartRect{0, 0, kW, kH};
    chart.fieldWidth = widthDeg;
    chart.centerHrz[0] = 0.0;
    chart.centerHrz[1] = alt;
    chart.skyFlags |= kHorizonShown;
    chart.horizonGridFlags = 0; // no direction labels
    updateViewScale(&chart);
    updateViewMatrix(&chart);

    Pixmap pixmap = XCreatePixmap(d, DefaultRootWindow(d), kW, kH, 24);
    GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XSetForeground(d, gc, kSky);
    XFillRectangle(d, pixmap, gc, 0, 0, kW, kH);
    XCanvas canvas(d, pixmap, gc);
    chartDrawLandscape(&chart, &canvas);
    XImage *image = XGetImage(d, pixmap, 0, 0, kW, kH, AllPlanes, ZPixmap);
    Drawn out{0, 0, 0, 0};
    if (image != nullptr) {
        out.middle = XGetPixel(image, kW / 2, kH / 2) & 0xFFFFFF;
        out.bottom = XGetPixel(image, kW / 2, kH - 3) & 0xFFFFFF;
        out.top = XGetPixel(image, kW / 2, 2) & 0xFFFFFF;
        for (int y = 0; y < kH; y++)
            for (int x = 0; x < kW; x++) out.skyPixels += (XGetPixel(image, x, y) & 0xFFFFFF) == kSky;
        XDestroyImage(image);
    }
    XFreeGC(d, gc);
    XFreePixmap(d, pixmap);
    return out;
}

TEST(LandscapeX, GroundBelowTheHorizonSkyAboveAndNoGroundAtTheZenith) {
    XServer server(kW, kH, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    ASSERT_EQ(DefaultVisual(d, DefaultScreen(d))->c_class, TrueColor);

    // Altitude 10 in the middle, a 60 x 45 degree field: the bottom edge
    // looks 12.5 degrees below the horizon, the middle 10 above it.
    const Drawn low = drawLandscape(d, 10.0, 60.0);
    EXPECT_EQ(low.bottom, appData->pixels[ColorLandscape]);
    EXPECT_EQ(low.middle, kSky);
    EXPECT_EQ(low.top, kSky);
    EXPECT_LT(low.skyPixels, kW * kH);

    // Looking at the zenith with a 20-degree field: no ground at all.
    const Drawn zenith = drawLandscape(d, 90.0, 20.0);
    EXPECT_EQ(zenith.skyPixels, kW * kH);
}

} // namespace
