#include "tests/support/x_dialog_shell.h"

#include <X11/Shell.h>
#include <X11/StringDefs.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>

#include "model/app_data.h"
#include "resources/fallback.h"

Display *openDialogShell(const std::string &displayName, XtAppContext *app)
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
    appData = &theAppData;
    appDataSetDefaults();
    appData->topLevel = XtVaAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, display, XtNwidth, 200,
                                           XtNheight, 100, nullptr);
    XtRealizeWidget(appData->topLevel);
    return display;
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
