// The bright-star layer drawn into a real pixmap, counted pixel by pixel:
// each colour shows exactly as many pixels as its stars' symbols hold.
#include <cmath>
#include <map>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "render/layers/bright_stars.h"
#include "render/palette.h"
#include "render/x/x_canvas.h"
#include "resources/catalogs.h"
#include "tests/support/x_server.h"

namespace {

BrightStar starAt(double raDeg, double decDeg, int mag10, int colourClass) {
    const double k = M_PI / 180.0;
    return BrightStar{static_cast<int32_t>(std::cos(decDeg * k) * std::cos(raDeg * k) * 16384.0),
                      static_cast<int32_t>(std::cos(decDeg * k) * std::sin(raDeg * k) * 16384.0),
                      static_cast<int32_t>(std::sin(decDeg * k) * 16384.0),
                      static_cast<uint32_t>((mag10 + 20) << 8 | colourClass << 4)};
}

TEST(StarsX, PixelCountsPerColourMatchTheStarSymbols) {
    XServer server(800, 600, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    ASSERT_EQ(DefaultVisual(d, DefaultScreen(d))->c_class, TrueColor);

    appDataSetDefaults();
    // On TrueColor a pixel is its RGB: one distinct value per palette row.
    for (int i = 0; i < kPaletteSlots; i++) appData->pixels[i] = static_cast<Pixel>(0x010101 * (i + 1));
    static ChartState chart;
    chartStateSetDefaults(&chart);
    const DateTime date{2024, 3, 20, 22, 0, 0.0, 0.0};
    chartSetDate(&chart, &date);
    chart.mode = kModeEqt;
    chart.chartRect = ChartRect{0, 0, 200, 200};
    chart.fieldWidth = 60.0;
    chart.centerMode[0] = 0.0;
    chart.centerMode[1] = 0.0;
    updateViewScale(&chart);
    updateViewMatrix(&chart);
    chart.starLimit = 45;
    chart.starLabelFlags = 0;
    chart.faintStarColour = ColorDarkStar;

    // Brightest first, 5 degrees apart so no symbols touch.
    const BrightStar rows[] = {
        starAt(0.0, 0.0, -15, 0),  // class 7: 13 pixels of ColorStar0
        starAt(5.0, 0.0, -10, 0),  // class 6: 13 more
        starAt(10.0, 0.0, 20, 5),  // class 3: 4 pixels of ColorStar5
        starAt(-5.0, 0.0, 30, 9),  // class 2: 1 pixel of ColorStar9
        starAt(0.0, 5.0, 40, 3),   // class 1: 1 pixel of the faint-star colour
        starAt(0.0, -5.0, 10, 5),  // class 4: 5 pixels of ColorStar5
    };
    Pixmap pixmap = XCreatePixmap(d, DefaultRootWindow(d), 200, 200, 24);
    GC gc = XCreateGC(d, pixmap, 0, nullptr);
    XSetForeground(d, gc, 0);
    XFillRectangle(d, pixmap, gc, 0, 0, 200, 200);
    XCanvas canvas(d, pixmap, gc);
    drawBrightStarRows(&chart, &canvas, rows, 5, 0);

    XImage *image = XGetImage(d, pixmap, 0, 0, 200, 200, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    std::map<unsigned long, int> counts;
    for (int y = 0; y < 200; y++)
        for (int x = 0; x < 200; x++) counts[XGetPixel(image, x, y) & 0xFFFFFF]++;
    XDestroyImage(image);
    XFreeGC(d, gc);
    XFreePixmap(d, pixmap);

    EXPECT_EQ(counts[appData->pixels[ColorStar0]], 26);
    EXPECT_EQ(counts[appData->pixels[ColorStar5]], 9);
    EXPECT_EQ(counts[appData->pixels[ColorStar9]], 1);
    EXPECT_EQ(counts[appData->pixels[ColorDarkStar]], 1);
    EXPECT_EQ(counts[0], 200 * 200 - 37);
}

} // namespace
