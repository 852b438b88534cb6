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

void closeToolkit(XtAppContext app, Widget shell)
{
    if (shell) {
        Display *display = XtDisplay(shell);
        XtDestroyWidget(shell);
        XtDestroyWidget(XmGetXmDisplay(display));
    }
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
