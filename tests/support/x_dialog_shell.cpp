#include "tests/support/x_dialog_shell.h"

#include <cstdlib>
#include <cstring>
#include <vector>

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <Xm/Display.h>

#include "model/app_data.h"
#include "render/palette.h"
#include "resources/fallback.h"
#include "tests/support/test_chart.h"

namespace {
std::vector<Screen *> kept; // the Screen records of closed connections, never freed

XtAppContext openApp = nullptr; // the context openDialogShell made last

// Motif keeps pixmaps and GCs in caches keyed by the address of a Screen
// record (the stipple of its toggles, the GC it draws images with), which
// neither the widgets' end nor the display object's empties. A later
// connection whose Screen records landed on a closed one's address would be
// handed the old server's ids: BadPixmap, BadGC. So the records of a closing
// connection stay allocated for the run, and the display frees a copy.
void keepScreenRecords(Display *display)
{
    auto *d = reinterpret_cast<_XPrivDisplay>(display);
    const size_t size = static_cast<size_t>(d->nscreens) * sizeof(Screen);
    void *copy = size ? std::malloc(size) : nullptr;
    if (!copy)
        return;
    std::memcpy(copy, d->screens, size);
    kept.push_back(d->screens);
    d->screens = static_cast<Screen *>(copy);
}
}

Widget openToolkitShell(const std::string &displayName, XtAppContext *app, ArgList args, Cardinal count)
{
    XtToolkitInitialize();
    *app = XtCreateApplicationContext();
    XtAppSetFallbackResources(*app, fallbackResources);
    int argc = 1;
    char name[] = "tavik";
    char *argv[] = {name, nullptr};
    Display *display = XtOpenDisplay(*app, displayName.c_str(), "tavik", "TAvik", nullptr, 0, &argc, argv);
    if (!display)
        return nullptr;
    appData->topLevel = XtAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, display, args, count);
    return appData->topLevel;
}

Display *openDialogShell(const std::string &displayName, XtAppContext *app)
{
    Arg size[2];
    XtSetArg(size[0], XtNwidth, 200);
    XtSetArg(size[1], XtNheight, 100);
    resetTestAppData();
    Widget shell = openToolkitShell(displayName, app, size, 2);
    openApp = *app;
    if (!shell)
        return nullptr;
    XtRealizeWidget(shell);
    return XtDisplay(shell);
}

void closeToolkit(XtAppContext app, Widget shell)
{
    if (shell) {
        Display *display = XtDisplay(shell);
        XtDestroyWidget(shell);
        XtDestroyWidget(XmGetXmDisplay(display));
    }
    Display **displays = nullptr;
    Cardinal count = 0;
    XtGetDisplays(app, &displays, &count);
    for (Cardinal i = 0; i < count; i++)
        keepScreenRecords(displays[i]);
    XtFree(reinterpret_cast<char *>(displays));
    XtDestroyApplicationContext(app);
}

void closeDialogShell()
{
    if (!openApp)
        return;
    setPaletteStoreColour(nullptr);
    closeToolkit(openApp, appData->topLevel);
    // The main window's parts went with the shell.
    appData->toolBar = appData->stepBox = appData->todayDialog = appData->commandDialog = appData->tipShell = nullptr;
    openApp = nullptr;
    appData->topLevel = nullptr;
    appData->display = nullptr;
}
