#include "tests/support/x_dialog_shell.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <Xm/Display.h>

#include "model/app_data.h"
#include "render/palette.h"
#include "resources/fallback.h"

namespace {
XtAppContext openApp = nullptr; // the context openDialogShell made last
}

Display *openDialogShell(const std::string &displayName, XtAppContext *app)
{
    XtToolkitInitialize();
    *app = XtCreateApplicationContext();
    openApp = *app;
    XtAppSetFallbackResources(*app, fallbackResources);
    int argc = 1;
    char name[] = "tavik";
    char *argv[] = {name, nullptr};
    Display *display = XtOpenDisplay(*app, displayName.c_str(), "tavik", "TAvik", nullptr, 0, &argc, argv);
    if (!display)
        return nullptr;
    appData = &theAppData;
    appDataSetDefaults();
    appData->topLevel = XtVaAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, display, XtNwidth, 200,
                                           XtNheight, 100, nullptr);
    XtRealizeWidget(appData->topLevel);
    return display;
}

void closeDialogShell()
{
    if (!openApp)
        return;
    setPaletteStoreColour(nullptr);
    // The shell first, while its display is open: every dialog goes with it
    // and each dialog record forgets its widgets. Then Motif's own display
    // object, which empties Motif's pixmap and GC cache of that screen: left
    // in the cache, they were freed later on another test's connection that
    // happened to get the closed one's address.
    if (appData->topLevel) {
        Display *display = XtDisplay(appData->topLevel);
        XtDestroyWidget(appData->topLevel);
        XtDestroyWidget(XmGetXmDisplay(display));
    }
    XtDestroyApplicationContext(openApp);
    openApp = nullptr;
    appData->topLevel = nullptr;
    appData->display = nullptr;
}
