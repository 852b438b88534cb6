#include "ui/app/startup.h"

#include <cstdio>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

#include <X11/Xutil.h>
#include <Xm/Protocols.h>
#include <Xm/Xm.h>
#include <Xm/XmAll.h>

#include "command/interpreter.h"
#include "command/socket_server.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/click_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/file_input.h"
#include "model/geometry_option.h"
#include "model/lexing.h"
#include "model/options.h"
#include "model/settings.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/frame.h"
#include "model/name_files.h"
#include "render/layers/gsc_stars.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"
#include "resources/fallback.h"
#include "ui/app/actions.h"
#include "ui/app/env_resources.h"
#include "ui/app/icon.h"
#include "ui/app/keyboard_mapping.h"
#include "ui/app/play_loop.h"
#include "ui/window/drawing_area.h"
#include "ui/window/main_window.h"
#include "ui/widgets/message_box.h"
#include "ui/dialogs/click_data_dialog_motif.h"
#include "ui/dialogs/gauge_dialog_motif.h"
#include "ui/dialogs/input_dialogs.h"
#include "ui/dialogs/today_dialog_motif.h"
#include "ui/widgets/command_dialog.h"
#include "ui/widgets/step_box.h"
#include "ui/window/navigation.h"
#include "ui/window/toolbar.h"
#include "ui/widgets/lite_clue.h"
#include "ui/app/socket_inputs.h"

char startFilePath[kStartFilePathSize];

namespace {

const char kProgram[] = "tavik";
const char kVersion[] = "3.3.1";

XtAppContext appContext;
Atom wmProtocolsAtom;
Atom wmDeleteWindowAtom;

// Toolkit options that take the next argument as their value, and the ones
// that take none: an argument that is a unique prefix of one of these is
// read by the toolkit as that option.
struct ToolkitOption {
    const char *name;
    int takesValue;
};
const ToolkitOption kToolkitOptions[] = {
    {"-background", 1}, {"-bd", 1},         {"-bg", 1},
    {"-bordercolor", 1}, {"-borderwidth", 1}, {"-bw", 1},
    {"-display", 1},    {"-fg", 1},         {"-fn", 1},
    {"-font", 1},       {"-foreground", 1}, {"-geometry", 1},
    {"-iconic", 0},     {"-name", 1},       {"-reverse", 0},
    {"-rv", 0},         {"+rv", 0},         {"-selectionTimeout", 1},
    {"-synchronous", 0}, {"+synchronous", 0}, {"-title", 1},
    {"-xnllanguage", 1}, {"-xrm", 1},       {"-xtsessionID", 1},
    {nullptr, 0},
};

// 1 when the toolkit reads `arg` as an option with a value of its own.
int toolkitOptionTakesValue(const char *arg)
{
    size_t n = std::strlen(arg);
    const ToolkitOption *match = nullptr;
    int matches = 0;
    for (const ToolkitOption *o = kToolkitOptions; o->name; o++) {
        if (std::strncmp(o->name, arg, n) != 0)
            continue;
        if (std::strlen(o->name) == n)
            return o->takesValue;
        match = o;
        matches++;
    }
    return matches == 1 && match->takesValue;
}

} // namespace

void setTipHelp(int on)
{
    if (on && !appData->tipShell) {
        appData->tipShell = createTipShell(appData->topLevel);
        if (appData->tipShell) {
            addToolbarTips(appData->tipShell);
            addClickDataTips(appData->tipShell);
        }
    } else if (!on && appData->tipShell) {
        // Destroying the shell takes its tips with it.
        XtDestroyWidget(appData->tipShell);
        appData->tipShell = nullptr;
    }
}

namespace {

void quitFromHook(int status)
{
    appQuit(status);
}

// The upward calls of the lower layers: every uiHooks field the program
// fills is filled here.
void registerUiHooks()
{
    uiHooks.openMessageBox = openMessageBox;
    uiHooks.openMessageBoxOnce = openMessageBoxOnce;
    uiHooks.askQuestion = askQuestion;
    uiHooks.appQuit = quitFromHook;
    uiHooks.chartRefresh = chartRefresh;
    uiHooks.toolbarRefreshAll = toolbarRefreshAll;
    uiHooks.toolbarRefreshChanged = toolbarRefreshChanged;
    uiHooks.toolbarRefreshOne = toolbarRefreshOne;
    uiHooks.viewUpdateScrollBars = viewUpdateScrollBars;
    uiHooks.toolbarManaged = envToolbarManaged;
    uiHooks.setPlayWorkProc = setPlayWorkProc;
    uiHooks.setPlayTimer = setPlayTimer;
    uiHooks.openInputDialog = openInputDialog;
    uiHooks.refreshTodayDialog = refreshTodayDialog;
    uiHooks.setTipHelp = setTipHelp;
    registerClickDataHooks();
    registerGaugeHooks();
}

void installWmDeleteHandler(Widget topLevel)
{
    Display *d = XtDisplay(topLevel);
    // Both atoms in one round trip.
    char *names[2] = {const_cast<char *>("WM_PROTOCOLS"), const_cast<char *>("WM_DELETE_WINDOW")};
    Atom atoms[2] = {None, None};
    XInternAtoms(d, names, 2, False, atoms);
    wmProtocolsAtom = atoms[0];
    wmDeleteWindowAtom = atoms[1];
    XmAddProtocols(topLevel, wmProtocolsAtom, &wmDeleteWindowAtom, 1);
    XmActivateProtocol(topLevel, wmProtocolsAtom, wmDeleteWindowAtom);
    XtAddEventHandler(topLevel, NoEventMask, True, appWmProtocolHandler, nullptr);
}

[[noreturn]] void eventLoop()
{
    for (;;) {
        XEvent event;
        XtAppNextEvent(appContext, &event);
        if (appData->tipShell)
            XcgLiteClueDispatchEvent(appData->tipShell, &event);
        XtDispatchEvent(&event);
    }
}

} // namespace

int appTakeInstallColormap(int *argc, char **argv)
{
    int found = 0;
    int out = 1;
    bool afterFile = false;
    for (int i = 1; i < *argc; i++) {
        const char *a = argv[i];
        const bool isShort = std::strcmp(a, "-i") == 0;
        if (isShort || std::strcmp(a, "--install-colormap") == 0) {
            // Only the ones before the scene file are taken: one after it
            // stays, so that the file is not the last argument and the
            // command line is refused; in its long form, which the toolkit
            // cannot take for "-iconic" and remove.
            if (!afterFile) {
                found = 1;
                continue;
            }
            static char longForm[] = "--install-colormap";
            argv[out++] = longForm;
            continue;
        }
        if (a[0] != '-' && a[0] != '+')
            afterFile = true;
        argv[out++] = argv[i];
        if ((a[0] == '-' || a[0] == '+') && a[1] && toolkitOptionTakesValue(a) && i + 1 < *argc)
            argv[out++] = argv[++i];
    }
    argv[out] = nullptr;
    *argc = out;
    return found;
}

int appStartupCommand(const char *path, char *cmd, int cmdSize)
{
    if (std::strpbrk(path, ";\"'\r\n"))
        return 0;
    int n = std::snprintf(cmd, static_cast<size_t>(cmdSize), "STL \"%s\"", path);
    if (n < 0 || n >= cmdSize || n > kStkTextSize - 1) {
        cmd[0] = '\0';
        return 0;
    }
    return 1;
}

void appUsage()
{
    std::fprintf(stderr,
                 "Usage: %s [toolkit options] [-i] [--install-colormap]\n"
                 "             [-q] [--clean-start] [--lang=<locale>] [-l=<locale>]\n"
                 "             [<filename>]\n",
                 kProgram);
    std::fprintf(stderr, "       %s --version\n", kProgram);
}

int appParseArgs(int argc, char **argv)
{
    for (int i = 1; i < argc; i++) {
        const char *a = argv[i];
        if (a[0] != '-') {
            if (i != argc - 1) {
                appUsage();
                return 0;
            }
            char cmd[kStkTextSize];
            // A path the start-up command cannot carry is refused like an
            // unreadable one (or one that is no regular file: a FIFO would
            // hold the start for ever), before anything is shown.
            if (std::strlen(a) >= sizeof startFilePath || !regularFileReadable(a) ||
                !appStartupCommand(a, cmd, sizeof cmd)) {
                std::fprintf(stderr, "%s: can't open file %s\n", kProgram, a);
                return 0;
            }
            std::snprintf(startFilePath, sizeof startFilePath, "%s", a);
            return 1;
        }
        if (std::strcmp(a, "-V") == 0 || std::strcmp(a, "--version") == 0) {
            std::printf("Tavik Version %s\n", kVersion);
            return 0;
        }
        if (std::strcmp(a, "--install-colormap") == 0 || std::strcmp(a, "-i") == 0) {
            appData->installColormap = 1;
        } else if (std::strcmp(a, "-q") == 0 || std::strcmp(a, "--clean-start") == 0) {
            appData->runStartupScript = 0;
        } else if (std::strncmp(a, "--lang=", 7) == 0 || std::strncmp(a, "-l=", 3) == 0) {
            // the locale step has read it
        } else {
            appUsage();
            return 0;
        }
    }
    return 1;
}

int appGeometryUsable(const char *text)
{
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    const int given = XParseGeometry(text, &x, &y, &width, &height);
    return given != NoValue &&
           geometrySidesInBounds((given & WidthValue) != 0, width, (given & HeightValue) != 0, height);
}

void appRunStartupScript()
{
    char path[kStartFilePathSize];
    char cmd[kStkTextSize];
    const char *file = nullptr;
    if (startFilePath[0])
        file = startFilePath;
    else if (appData->runStartupScript && appData->rcPath[0] && regularFileReadable(appData->rcPath))
        file = appData->rcPath;
    if (!file)
        return;
    if (!envExpandTilde(file, path, sizeof path) || !appStartupCommand(path, cmd, sizeof cmd)) {
        std::fprintf(stderr, "%s: can't open file %s\n", kProgram, file);
        return;
    }
    stkExecuteCall(currentChart, cmd);
}

int appQuit(int status)
{
    // A second quit while the question is open (a key, the window manager)
    // must not reuse the one question dialog underneath the first.
    static int asking = 0;
    if (asking)
        return 0;
    if (appData->confirmQuit) {
        char text[1024];
        getResourceString("messageConfirmQuit", text, sizeof text);
        asking = 1;
        int yes = askQuestion(appData->topLevel, text);
        asking = 0;
        if (!yes)
            return 0;
    }
    if (appData->userDir[0]) {
        historySave();
        optionsWriteAll();
    }
    destroyClickDataDialog();
    freeToolbarPixmaps();
    freeFontSets();
    chartStateFreeTables(currentChart);
    freeStarNames();
    freeConstNames();
    gscFreeRegionTable();
    socketServerStop();
    envFreeBodyNames();
    std::exit(status);
}

void appWmProtocolHandler(Widget, XtPointer, XEvent *event, Boolean *goOn)
{
    *goOn = True;
    if (event->type == ClientMessage && event->xclient.message_type == wmProtocolsAtom &&
        static_cast<Atom>(event->xclient.data.l[0]) == wmDeleteWindowAtom)
        appQuit(0);
}

void appMain(int argc, char **argv)
{
    // Under a file size limit (ulimit -f) a write past it would end the
    // program mid-save; ignored, it fails as on a full disk, and every writer
    // then keeps the old file and says so.
    std::signal(SIGXFSZ, SIG_IGN);

    // 1. The two records.
    currentChart = &theChartState;
    appData = &theAppData;
    appDataSetDefaults();
    registerUiHooks();
    ChartState *chart = currentChart;

    // 2-6. Per-user directory, confirmations, locale, TZ and geometry.
    envMakeUserDir(appData->userDir, sizeof appData->userDir, appData->rcPath,
                   sizeof appData->rcPath);
    appData->confirmQuit = optionGetBool("ConfirmQuit", 1);
    appData->confirmInit = optionGetBool("ConfirmInit", 1);
    envSetLocale(argc, argv);
    if (optionGetString("TZ", appData->tzOption, sizeof appData->tzOption))
        setenv("TZ", appData->tzOption, 1);
    Arg args[2];
    Cardinal nargs = 0;
    if (optionGetString("Geometry", appData->geometryOption, sizeof appData->geometryOption)) {
        // A stored size the toolkit or the server cannot take would end every
        // start: such a one is not passed on, and the window gets its default.
        if (appGeometryUsable(appData->geometryOption)) {
            XtSetArg(args[nargs], XtNgeometry, appData->geometryOption);
            nargs++;
        } else {
            char text[256];
            getResourceString("messageInvalidGeometry", text, sizeof text);
            std::fprintf(stderr, "%s: %s (Geometry = %s)\n", kProgram, text, appData->geometryOption);
        }
    }
    // The quit path decides about the window manager's delete message, so
    // that a refused quit leaves the window where it is.
    XtSetArg(args[nargs], XmNdeleteResponse, XmDO_NOTHING);
    nargs++;

    // 7-8. The toolkit and the command line.
    int installColormap = appTakeInstallColormap(&argc, argv);
    keyboardMappingCopyBegin();
    appData->topLevel = XtAppInitialize(&appContext, "TAvik", nullptr, 0, &argc, argv,
                                        fallbackResources, args, nargs);
    envUseToolkitResources();
    startFilePath[0] = '\0';
    appData->installColormap = installColormap;
    appData->runStartupScript = 1;
    if (!appParseArgs(argc, argv))
        std::exit(1);

    // 9. The main window and the chart's defaults.
    appData->display = XtDisplay(appData->topLevel);
    appData->screen = DefaultScreen(appData->display);
    appAddActions(appContext);
    createMainWindow(chart);
    appData->initialising = 1;
    chartStateSetDefaults(chart);
    viewUpdateScrollBars(chart);
    XtRealizeWidget(appData->topLevel);

    // 10. Delete message and exposes.
    installWmDeleteHandler(appData->topLevel);
    XtAddCallback(chart->drawingArea, XmNexposeCallback, chartExposeCallback, chart);

    // 11-13. Palette, names, resources, font sets. A stale element index is
    // built aside while start-up goes on to the first chart.
    envLoadBodyNames();
    chartCreateGC(chart);
    catalogIndexBuilder = catalogIndexBuildAside;
    envLoadResources(chart);
    loadStarNames();
    loadConstNames();
    if (!envCreateFontSets()) {
        std::printf("tavik: can't create font.\n");
        std::exit(1);
    }
    appData->dirFontHeight = dirFontHeight();
    appData->minDiskRadius = 7;
    appData->dynamicVisual = isDynamicVisual();
    chart->chartRect = ChartRect{0, 0, 0, 0};
    chart->centerX = 0;
    chart->centerY = 0;
    appData->pixelAspect = 1.0;

    // 14-17. Window-manager hints, step box, click-data dialog, tool bar, tips.
    setMinWindowSize(appData->topLevel);
    installIcon(chart);
    stepBoxCreate(chart);
    stepBoxShow(chart, 0);
    createClickDataDialog(chart);
    createToolbarButtons(chart);
    mainWindowFitToolbar(chart);
    toolbarRefreshAll(chart);
    appData->tipShell = nullptr;
    setTipHelp(optionGetBool("TipHelp", 1));

    // 18-20. Sky marks, click data, TCP server.
    if (!loadSkyMarks(chart))
        chart->skyMarkFlags = 0;
    // A missing click-data file leaves no index; it is no command's error.
    if (!loadClickData(chart, appData->clickDataFile))
        stkClearError();
    appData->socketPort = optionGetInt("SocketPort", 0);
    optionGetString("SocketAddress", appData->socketAddress, sizeof appData->socketAddress);
    socketInputsUse(appContext);
    if (appData->socketPort != 0)
        socketServerStart();

    // 21-22. The start-up scene file, then the first chart on the window.
    appRunStartupScript();
    XmProcessTraversal(chart->drawingArea, XmTRAVERSE_CURRENT);
    appData->initialising = 0;
    stkExecuteCall(chart, "DRIVE");
    keyboardMappingCopyEnd();

    // 23.
    eventLoop();
}
