// The palette on a private X server at depth 24 (TrueColor, shared colours)
// and depth 8 (PseudoColor, writable cells).
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Shell.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "render/palette.h"
#include "render/sky_colours.h"
#include "render/x/palette_x.h"
#include "resources/fallback.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"

namespace {

struct Rgb8 {
    int r, g, b;
};

Rgb8 cellColour(Display *display, Colormap cmap, Pixel pixel) {
    XColor c{};
    c.pixel = pixel;
    XQueryColor(display, cmap, &c);
    return Rgb8{c.red >> 8, c.green >> 8, c.blue >> 8};
}

void expectRgb(const Rgb8 &got, uint32_t rgb, const char *what) {
    EXPECT_EQ(got.r, static_cast<int>(rgb >> 16 & 0xFF)) << what;
    EXPECT_EQ(got.g, static_cast<int>(rgb >> 8 & 0xFF)) << what;
    EXPECT_EQ(got.b, static_cast<int>(rgb & 0xFF)) << what;
}

// The toolkit on the test's server with the fallback resources and one
// resource of the user's (-xrm), as start-up has it when allocPalette runs.
struct Toolkit {
    XtAppContext app = nullptr;
    Widget shell = nullptr;
    Display *display = nullptr;

    Toolkit(const std::string &displayName, const char *userResource) {
        XtToolkitInitialize();
        app = XtCreateApplicationContext();
        XtAppSetFallbackResources(app, fallbackResources);
        char arg0[] = "tavik", arg1[] = "-xrm";
        std::string res = userResource;
        std::vector<char> arg2(res.begin(), res.end());
        arg2.push_back('\0');
        char *argv[] = {arg0, arg1, arg2.data(), nullptr};
        int argc = 3;
        display = XtOpenDisplay(app, displayName.c_str(), "tavik", "TAvik", nullptr, 0, &argc, argv);
        if (display != nullptr)
            shell = XtAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, display, nullptr, 0);
    }
    ~Toolkit() {
        if (app != nullptr) closeToolkit(app, shell);
    }
};

struct PaletteX : ::testing::Test {
    void SetUp() override {
        resetTestAppData();
        appData->installColormap = 0;
    }
    void TearDown() override {
        setPaletteStoreColour(nullptr);
        appData->installColormap = 0; // -install is no later test's start
    }

    // Allocates through the resources, with ColorSaturnRingA set to junk.
    void allocateThroughResources(Toolkit &tk) {
        ASSERT_NE(tk.shell, nullptr);
        appData->display = tk.display;
        appData->screen = DefaultScreen(tk.display);
        appData->topLevel = tk.shell;
        ASSERT_EQ(allocPalette(0, 1), 1);
    }
};

TEST_F(PaletteX, TrueColorAllocatesSharedColoursAndJunkFallsBackToBuiltIn) {
    XServer server(800, 600, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Toolkit tk(server.name(), "TAvik*ColorSaturnRingA: no-such-colour");
    allocateThroughResources(tk);
    Display *d = tk.display;
    EXPECT_EQ(isDynamicVisual(), 0);
    EXPECT_EQ(appData->colormap, DefaultColormap(d, appData->screen));
    expectRgb(cellColour(d, appData->colormap, appData->pixels[ColorSaturnRingA]), 0xFFE5B7, "junk ring A");
    expectRgb(cellColour(d, appData->colormap, appData->pixels[ColorSaturnRingB]), 0xDCD2BB, "ring B");
    expectRgb(cellColour(d, appData->colormap, appData->pixels[ColorSatelliteNameFont]), 0x00CC00,
              "fallback resource wins over the table default");
    expectRgb(cellColour(d, appData->colormap, appData->pixels[65]), 0xC0C0C0, "sky slot starts grey");

    // A static visual takes a new pixel for a new sky colour.
    OwnedChart owner;
    ChartState &chart = *owner;
    chart.mode = kModeEqt;
    chart.skyColourBase = kPaletteColourCount;
    chart.skyLevel = 0;
    setSkyColors(&chart);
    expectRgb(cellColour(d, appData->colormap, appData->pixels[65]), 0x000010, "night sky");
    expectRgb(cellColour(d, appData->colormap, appData->pixels[69]), 0x000030, "slot 4");
}

TEST_F(PaletteX, PseudoColorWritesCellsAndSkyCellKeepsItsPixel) {
    XServer server(800, 600, 8);
    ASSERT_TRUE(server.ok()) << server.why();
    Toolkit tk(server.name(), "TAvik*ColorSaturnRingA: #12");
    allocateThroughResources(tk);
    Display *d = tk.display;
    EXPECT_EQ(isDynamicVisual(), 1);
    expectRgb(cellColour(d, appData->colormap, appData->pixels[ColorSaturnRingA]), 0xFFE5B7, "junk ring A");
    expectRgb(cellColour(d, appData->colormap, appData->pixels[ColorStar5]), 0xF9F9CF, "star 5");
    expectRgb(cellColour(d, appData->colormap, appData->pixels[70]), 0xC0C0C0, "sky slot starts grey");

    OwnedChart owner;
    ChartState &chart = *owner;
    chart.mode = kModeHrz;
    chart.skyColourBase = kPaletteColourCount;
    chart.skyLevel = 60;
    const Pixel before = appData->pixels[65];
    setSkyColors(&chart);
    EXPECT_EQ(appData->pixels[65], before);
    expectRgb(cellColour(d, appData->colormap, before), 0x5080F0, "day sky");
    chart.skyLevel = 0;
    setSkyColors(&chart);
    EXPECT_EQ(appData->pixels[65], before);
    expectRgb(cellColour(d, appData->colormap, before), 0x000010, "night sky, same cell");
}

TEST_F(PaletteX, InstalledColormapIsAPrivateCopy) {
    XServer server(800, 600, 8);
    ASSERT_TRUE(server.ok()) << server.why();
    Toolkit tk(server.name(), "TAvik*ColorWhite: white");
    appData->installColormap = 1;
    allocateThroughResources(tk);
    EXPECT_NE(appData->colormap, DefaultColormap(tk.display, appData->screen));
    expectRgb(cellColour(tk.display, appData->colormap, appData->pixels[ColorWhite]), 0xFFFFFF, "named colour");
}

TEST_F(PaletteX, DynamicVisualWithoutFreeCellsFails) {
    XServer server(800, 600, 8);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    const int screen = DefaultScreen(d);
    const Colormap cmap = DefaultColormap(d, screen);
    std::vector<unsigned long> taken;
    unsigned long cell = 0;
    while (XAllocColorCells(d, cmap, False, nullptr, 0, &cell, 1)) taken.push_back(cell);
    ASSERT_GE(taken.size(), 73u);
    XFreeColors(d, cmap, taken.data(), 73, 0); // one cell short of the 74
    appData->display = d;
    appData->screen = screen;
    const char *colours[kPaletteColourCount] = {};
    EXPECT_EQ(allocPaletteFrom(d, screen, colours, 0), 0);
}

// A display that closes takes the palette's hold on it along: the sky-cell
// store kept writing to the closed display's freed record (a test's
// connection closing, then the next frame's sky colour), until a palette on
// another display took its place.
TEST_F(PaletteX, AClosedDisplayIsForgottenAndTheNextOneTakesTheStore) {
    // On TrueColor the store reads the closed display's visual, which the
    // sanitizer sees freed; on PseudoColor it writes cells of the closed
    // connection.
    for (int depth : {8, 24}) {
        XServer server(800, 600, depth);
        ASSERT_TRUE(server.ok()) << server.why();
        const char *colours[kPaletteColourCount] = {};
        Display *first = XOpenDisplay(server.name().c_str());
        ASSERT_NE(first, nullptr);
        appData->display = first;
        appData->screen = DefaultScreen(first);
        ASSERT_EQ(allocPaletteFrom(first, appData->screen, colours, 0), 1);
        XCloseDisplay(first);
        const Pixel before = appData->pixels[kPaletteColourCount];
        paletteStoreColour(kPaletteColourCount, 0x102030); // reaches nothing
        EXPECT_EQ(appData->pixels[kPaletteColourCount], before) << "depth " << depth;

        Display *second = server.display();
        appData->display = second;
        appData->screen = DefaultScreen(second);
        ASSERT_EQ(allocPaletteFrom(second, appData->screen, colours, 0), 1);
        paletteStoreColour(kPaletteColourCount, 0x102030);
        XSync(second, False);
        expectRgb(cellColour(second, DefaultColormap(second, appData->screen), appData->pixels[kPaletteColourCount]),
                  0x102030, "the first sky cell on the display that stayed");
        setPaletteStoreColour(nullptr);
    }
}

} // namespace
