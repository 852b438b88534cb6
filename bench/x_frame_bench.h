// The set-up the X benchmarks share: the program's own start-up steps that a
// frame depends on, in start-up's order, on the X server named by DISPLAY.
// A temporary home (HOME and TAVIK_HOME, never the real one) with its
// per-user directory, the ISO 8859-1 locale, the toolkit with the fallback
// resources and the shipped data files given as the installed ones
// (-xrm), the palette, the chart's GC and surface, the application
// resources with the element indexes built, the star and constellation
// names, the font sets, the sky marks and the click data; a drawing area
// holding a 1024 x 768 chart below the status bar's band, mapped; a winter
// night in Tokyo given through the chart's own setters, MAG STAR 6.5 through
// the command interpreter, and the first refresh. What start-up prints (the
// index notice, the site warning) goes to standard error, so standard output
// holds the results alone. Each bench/*.cpp is its own program, so this
// header is included once per program.
#pragma once

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <Xm/DrawingA.h>
#include <Xm/Xm.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <unistd.h>
#include <vector>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/name_files.h"
#include "model/resource_text.h"
#include "model/user_objects.h"
#include "render/frame.h"
#include "render/surface.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "resources/fallback.h"
#include "ui/app/env_resources.h"

constexpr int kBenchChartWidth = 1024;
constexpr int kBenchChartHeight = 768;

// A winter night in Tokyo: the Sun 50 degrees below the horizon.
constexpr DateTime kBenchNight{2025, 1, 15, 22, 0, 0.0, 9.0};
constexpr double kBenchLatitude = 35.68, kBenchLongitude = 139.77, kBenchAltitude = 40.0;

inline std::string benchDataFile(const std::string &name) { return std::string(TAVIK_SOURCE_DIR "/data/") + name; }

struct FrameBench {
    XtAppContext context = nullptr;
    Display *display = nullptr;
    ChartState *chart = nullptr;
    std::string home;
    // The canvas of the chart's pixmap.
    Canvas *canvas() const { return chartSurface()->canvas(); }
};

// The display, waiting up to five seconds for a server that is still
// coming up: one repetition skipped for want of it would end the run.
inline Display *benchOpenDisplayWaiting() {
    for (int i = 0; i < 100; i++) {
        if (Display *d = XOpenDisplay(nullptr)) return d;
        usleep(50000);
    }
    return nullptr;
}

// The -xrm arguments naming the shipped data files as the installed ones.
inline std::vector<std::string> benchDataResources() {
    const std::pair<const char *, const char *> files[] = {
        {"CometFile", "comet.elm"},       {"MPlanetFile", "mp.elm"},       {"ConstDataFile", "consname.dat"},
        {"StarNameDataFile", "starname.dat"}, {"SiteFile", "tavik.obs"}, {"SaoFile", "tavik.sao"},
        {"GscIndexFile", "tavik.gsc"},    {"SkyMarkFile", "skymark.adf"}, {"ClickDataFile", "tavik.cdf"},
        {"ClickImagePath", "image/"},     {"UserObjectFilePath", "adf"},
    };
    std::vector<std::string> args;
    for (const auto &f : files) {
        args.push_back("-xrm");
        args.push_back(std::string("TAvik*") + f.first + ": " + benchDataFile(f.second));
    }
    return args;
}

// A temporary home for the run, removed at exit.
inline std::string benchTemporaryHome() {
    static std::string home;
    if (!home.empty()) return home;
    char pattern[] = "/tmp/tavik-bench-home-XXXXXX";
    if (mkdtemp(pattern) == nullptr) return "";
    home = pattern;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(home, ignored);
    });
    setenv("HOME", home.c_str(), 1);
    setenv("TAVIK_HOME", home.c_str(), 1);
    return home;
}

// The bench, made on the first call; null when there is no display or the
// font sets are missing (then the frame would draw no text).
inline FrameBench *frameBenchSetUp() {
    static FrameBench *bench = nullptr;
    if (bench != nullptr) return bench->display != nullptr ? bench : nullptr;
    bench = new FrameBench();
    if (std::getenv("DISPLAY") == nullptr) return nullptr;
    Display *probe = benchOpenDisplayWaiting();
    if (probe == nullptr) return nullptr;
    XCloseDisplay(probe);
    bench->home = benchTemporaryHome();
    if (bench->home.empty()) return nullptr;

    // Start-up's notices go to standard error while it runs.
    std::fflush(stdout);
    const int savedOut = dup(1);
    dup2(2, 1);

    currentChart = &theChartState;
    appData = &theAppData;
    appDataSetDefaults();
    ChartState *chart = currentChart;
    envMakeUserDir(appData->userDir, sizeof appData->userDir, appData->rcPath, sizeof appData->rcPath);
    // The font sets need a locale with ISO 8859-1 text.
    setenv("LANG", "en_US.ISO-8859-1", 1);
    setenv("LC_ALL", "en_US.ISO-8859-1", 1);
    std::vector<std::string> words = {"tavik"};
    for (const std::string &a : benchDataResources()) words.push_back(a);
    static std::vector<std::string> kept;
    kept = words;
    static std::vector<char *> argv;
    for (std::string &w : kept) argv.push_back(&w[0]);
    argv.push_back(nullptr);
    int argc = static_cast<int>(kept.size());
    envSetLocale(argc, argv.data());
    appData->topLevel = XtAppInitialize(&bench->context, "TAvik", nullptr, 0, &argc, argv.data(),
                                        fallbackResources, nullptr, 0);
    envUseToolkitResources();
    appData->display = XtDisplay(appData->topLevel);
    appData->screen = DefaultScreen(appData->display);
    appData->initialising = 1;
    chartStateSetDefaults(chart);

    // The drawing area holds the status bar's band above the chart; its
    // height is known once the font sets are, so it is sized after them.
    chart->drawingArea = XmCreateDrawingArea(appData->topLevel, const_cast<char *>("DrawingArea"), nullptr, 0);
    XtManageChild(chart->drawingArea);
    XtRealizeWidget(appData->topLevel);

    envLoadBodyNames(); // the palette
    chartCreateGC(chart);
    envLoadResources(chart);
    loadStarNames();
    loadConstNames();
    const bool fonts = loadFontSets() != 0;
    appData->dirFontHeight = dirFontHeight();
    appData->minDiskRadius = 7;
    appData->dynamicVisual = isDynamicVisual();
    appData->pixelAspect = 1.0;
    if (!loadSkyMarks(chart)) chart->skyMarkFlags = 0;
    if (!loadClickData(chart, appData->clickDataFile)) stkClearError();

    const Dimension bar =
        static_cast<Dimension>(appData->fontSetExtents[StatusFontset].maxLogicalExtent.height * 12 / 10);
    XtVaSetValues(chart->drawingArea, XmNwidth, kBenchChartWidth, XmNheight, kBenchChartHeight + bar, nullptr);

    chartSetSite(chart, kBenchLatitude, kBenchLongitude, kBenchAltitude);
    chartSetDate(chart, &kBenchNight);
    stkExecute(chart, "MAG STAR 6.5");
    chart->statusBar = 1;

    // Wait until the window is on the screen at its size, so the copies reach it.
    XSync(appData->display, False);
    XEvent event;
    while (XtAppPending(bench->context)) {
        XtAppNextEvent(bench->context, &event);
        XtDispatchEvent(&event);
    }
    chartSurface()->windowResized(kBenchChartWidth, kBenchChartHeight + bar);
    chart->modeChanged = 0;
    chartRefresh(chart); // the pixmap; first frame
    XSync(appData->display, False);

    std::fflush(stdout);
    dup2(savedOut, 1);
    close(savedOut);
    if (!fonts) {
        std::fprintf(stderr, "bench: font sets missing; the frame would draw no text\n");
        return nullptr;
    }
    bench->display = appData->display;
    bench->chart = chart;
    return bench;
}
