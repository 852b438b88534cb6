// The bright-star layer drawn into a real pixmap, counted pixel by pixel:
// each colour shows exactly as many pixels as its stars' symbols hold.
#include <cmath>
#include <cstdio>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "render/layers/bright_stars.h"
#include "render/layers/sao_stars.h"
#include "command/interpreter.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/x/x_canvas.h"
#include "render/x/x_surface.h"
#include "resources/catalogs.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_night_chart.h"
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

    TestChart owner;
    ChartState &chart = *owner;
    // On TrueColor a pixel is its RGB: one distinct value per palette row.
    for (int i = 0; i < kPaletteSlots; i++) appData->pixels[i] = static_cast<Pixel>(0x010101 * (i + 1));
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

// One star layer of a whole night sky (HRZ, 1024 x 768, a January night in
// Tokyo, then the commands given) against a stored drawing of the same layer
// made star by star, one colour change and one request per star, before the
// symbols were sent in groups: the same pixels lit, in the same colours.
// The stored file lists "x y row" for every pixel that is not the sky (row:
// the palette row of its colour). A colour may differ only where two
// symbols of different colour share a pixel (the group drawn later wins
// there, not the brighter star): at most maxRecoloured such pixels.
void expectLayerMatchesStoredDrawing(ChartLayerDraw draw, const char *commands, const char *storedName,
                                     int maxRecoloured) {
    constexpr int kWidth = 1024, kHeight = 768;
    XServer server(kWidth, kHeight, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    TestChart chart;
    appData->display = d;
    appData->screen = DefaultScreen(d);
    appData->initialising = 1;
    appData->dirFontHeight = 0; // no font sets loaded, so no row for direction names
    std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", TAVIK_SOURCE_DIR "/data/tavik.sao");
    for (int i = 0; i < kPaletteSlots; i++) appData->pixels[i] = static_cast<Pixel>(0x010101 * (i + 1));
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, kWidth, kHeight, 0, 0, 0);
    const GC gc = XCreateGC(d, window, 0, nullptr);
    std::unique_ptr<XSurface> surface(new XSurface(d, window, gc, 24));
    setUpNightChart(chart.get(), surface.get(), false);
    stkExecute(chart.get(), commands);
    const ChartLayer layerOnly[] = {{'d', "layer", draw, nullptr}};
    chartDrawFrameWithLayers(chart.get(), surface->canvas(), layerOnly, 1);

    XImage *image = XGetImage(d, surface->pixmap, 0, 0, kWidth, kHeight, AllPlanes, ZPixmap);
    ASSERT_NE(image, nullptr);
    const unsigned long sky = appData->pixels[chart->skyColourBase];
    std::ostringstream drawn;
    for (int y = 0; y < kHeight; y++)
        for (int x = 0; x < kWidth; x++) {
            const unsigned long p = XGetPixel(image, x, y) & 0xFFFFFF;
            if (p != sky) drawn << x << ' ' << y << ' ' << (p / 0x010101 - 1) << '\n';
        }
    XDestroyImage(image);
    chartSetSurface(nullptr);
    surface.reset();
    XFreeGC(d, gc);

    const std::string storedPath = std::string(TAVIK_SOURCE_DIR "/tests/x/data/") + storedName;
    std::ifstream in(storedPath);
    std::map<std::pair<int, int>, int> stored, now;
    std::string line;
    while (std::getline(in, line)) {
        int x = 0, y = 0, row = 0;
        if (line.empty() || line[0] == '#' || std::sscanf(line.c_str(), "%d %d %d", &x, &y, &row) != 3) continue;
        stored[{x, y}] = row;
    }
    std::istringstream drawnLines(drawn.str());
    while (std::getline(drawnLines, line)) {
        int x = 0, y = 0, row = 0;
        if (std::sscanf(line.c_str(), "%d %d %d", &x, &y, &row) == 3) now[{x, y}] = row;
    }
    int litDifferently = 0, recoloured = 0;
    for (const auto &p : stored) {
        auto it = now.find(p.first);
        if (it == now.end()) litDifferently++;
        else if (it->second != p.second) recoloured++;
    }
    for (const auto &p : now)
        if (stored.count(p.first) == 0) litDifferently++;
    EXPECT_GT(stored.size(), 1000u) << "a whole sky of stars in " << storedPath;
    EXPECT_EQ(litDifferently, 0);
    EXPECT_LE(recoloured, maxRecoloured);
    if (stored.size() <= 1000u || litDifferently != 0 || recoloured > maxRecoloured) {
        const std::string out = std::string(TAVIK_BINARY_DIR "/") + storedName + ".actual";
        std::ofstream(out) << drawn.str();
        ADD_FAILURE() << "this drawing: " << out;
    }
}

// The bright-star table at MAG STAR 6.5: four pairs of one-pixel stars of
// different colour share a pixel in this sky.
TEST(StarsX, NightSkyLayerMatchesTheStarByStarDrawing) {
    expectLayerMatchesStoredDrawing(drawBrightStars, "MAG STAR 6.5", "night_sky_bright_stars.txt", 4);
}

// The catalogue file (data/tavik.sao) at MAG STAR 7.0, through the frame's
// own row for it.
TEST(StarsX, NightSkyCatalogueFileLayerMatchesTheStarByStarDrawing) {
    expectLayerMatchesStoredDrawing(drawCatalogFileStars, "STARDATA SAO; MAG STAR 7.0",
                                    "night_sky_catalogue_stars.txt", 40);
}

} // namespace
