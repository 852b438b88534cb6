#include "tests/support/x_toolkit.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>

#include "model/app_data.h"
#include "resources/fallback.h"
#include "tests/support/x_server.h"

Widget xtTestTopLevel(const XServer &server, int width, int height)
{
    XtToolkitInitialize();
    XtAppContext app = XtCreateApplicationContext();
    XtAppSetFallbackResources(app, fallbackResources);
    int argc = 1;
    char name[] = "tavik";
    char *argv[] = {name, nullptr};
    Display *display = XtOpenDisplay(app, server.name().c_str(), "tavik", "TAvik", nullptr, 0, &argc, argv);
    if (!display)
        return nullptr;
    appData = &theAppData;
    appDataSetDefaults();
    appData->display = display;
    appData->topLevel = XtVaAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, display, XtNwidth, width,
                                           XtNheight, height, nullptr);
    return appData->topLevel;
}

void xtPress(Widget button)
{
    XmPushButtonCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.click_count = 1;
    XtCallCallbacks(button, XmNactivateCallback, &cbs);
}

std::string xtFieldText(Widget field)
{
    char *s = XmTextFieldGetString(field);
    std::string text = s ? s : "";
    XtFree(s);
    return text;
}
