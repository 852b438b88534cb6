#include "ui/window/toolbar.h"

#include <cstdio>

#include <X11/xpm.h>
#include <Xm/Xm.h>
#include <Xm/DrawnB.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "ui/widgets/auto_repeat.h"
#include "ui/widgets/lite_clue.h"
#include "ui/widgets/xpm_picture.h"
#include "ui/window/navigation_rules.h"
#include "ui/window/toolbar_pictures.h"

const ToolbarButton toolbarButtons[kToolbarButtonCount] = {
    {"ToolbarFileOpen", &xmPushButtonWidgetClass, "INPUT OPENFILE", 1, 0, "messageToolOpenFile"},
    {"ToolbarFileSave", &xmPushButtonWidgetClass, "INPUT SAVEFILE", 0, 0, "messageToolSaveFile"},
    {"ToolbarModeHrz", &xmDrawnButtonWidgetClass, "MODE HRZ;DRIVE", 7, 1, "messageToolModeHrz"},
    {"ToolbarModeEqt", &xmDrawnButtonWidgetClass, "MODE EQT;DRIVE", 0, 1, "messageToolModeEqt"},
    {"ToolbarModeAll1", &xmDrawnButtonWidgetClass, "MODE ALL1_EQT;DRIVE", 0, 1, "messageToolModeAll1"},
    {"ToolbarModeAll2", &xmDrawnButtonWidgetClass, "MODE ALL2_EQT;DRIVE", 0, 1, "messageToolModeAll2"},
    {"ToolbarModeSol", &xmDrawnButtonWidgetClass, "MODE SOL2;DRIVE", 0, 1, "messageToolModeSol"},
    {"ToolbarModePlns", &xmDrawnButtonWidgetClass, "MODE PLNS;DRIVE", 0, 1, "messageToolModePlns"},
    {"ToolbarSetDate", &xmPushButtonWidgetClass, "INPUT DATE", 7, 0, "messageToolSetDateTime"},
    {"ToolbarSetPlace", &xmPushButtonWidgetClass, "INPUT LOCATE", 0, 0, "messageToolSetSite"},
    {"ToolbarLookHrz", &xmPushButtonWidgetClass, "LOOK HRZ", 7, 0, "messageToolHorizon"},
    {"ToolbarDaylight", &xmDrawnButtonWidgetClass, "TOGGLE DAYLIGHT;DRIVE", 0, 1, "messageToolDaylight"},
    {"ToolbarZoomUp", &xmPushButtonWidgetClass, "ZOOM UP;DRIVE", 7, 0, "messageToolZoomUp"},
    {"ToolbarZoomDown", &xmPushButtonWidgetClass, "ZOOM DOWN;DRIVE", 0, 0, "messageToolZoomDown"},
    {"ToolbarConsline", &xmDrawnButtonWidgetClass, "TOGGLE CONS_LINE;DRIVE", 7, 1, "messageToolConstLine"},
    {"ToolbarConsname", &xmDrawnButtonWidgetClass, "TOGGLE CONS_NAME2;DRIVE", 0, 1, "messageToolConstName"},
    {"ToolbarPlanetname", &xmDrawnButtonWidgetClass, "TOGGLE PLANET_NAME;DRIVE", 0, 1,
     "messageToolPlanetName"},
    {"ToolbarNebula", &xmDrawnButtonWidgetClass, "TOGGLE NEBULA;DRIVE", 0, 1, "messageToolNebula"},
    {"ToolbarMilkyway", &xmDrawnButtonWidgetClass, "TOGGLE MILKYWAY;DRIVE", 0, 1, "messageToolMilkyway"},
    {"ToolbarPicMark", &xmDrawnButtonWidgetClass, "TOGGLE PICTUREMARK;DRIVE", 0, 1, "messageToolPicmark"},
    {"ToolbarGridHrz", &xmDrawnButtonWidgetClass, "TOGGLE HRZ_GRID;DRIVE", 0, 1, "messageToolHrzGrid"},
    {"ToolbarGridEqt", &xmDrawnButtonWidgetClass, "TOGGLE EQT_GRID_DATE;DRIVE", 0, 1, "messageToolEqtGrid"},
    {"ToolbarTrace", &xmDrawnButtonWidgetClass, "TOGGLE TRACE;DRIVE", 7, 1, "messageToolToggleTrace"},
    {"ToolbarSetStep", &xmPushButtonWidgetClass, "INPUT PERIOD", 0, 0, "messageToolSetTimeStep"},
    {"ToolbarReverse", &xmDrawnButtonWidgetClass, "REVERSE ,,,,", 7, 1, "messageToolTogglePlayRev"},
    {"ToolbarStopPlay", &xmDrawnButtonWidgetClass, "CONTINUE", 0, 1, "messageToolTogglePlayStop"},
    {"ToolbarContinue", &xmDrawnButtonWidgetClass, "CONTINUE ,,,,", 0, 1, "messageToolTogglePlayFwd"},
};

namespace {

constexpr int kToolbarHeight = 27;
constexpr int kTipTextSize = 256;

struct ButtonClient {
    ChartState *chart;
    int button;
};

struct ToolbarWidgets {
    Widget form;  // the form the buttons were made in
    Widget buttons[kToolbarButtonCount];
    Pixmap pixmaps[kToolbarButtonCount];
    Pixmap insensitivePixmaps[kToolbarButtonCount];
    ButtonClient clients[kToolbarButtonCount];
};
ToolbarWidgets toolbar;

bool toolbarShown()
{
    return appData->toolBar && toolbar.form == appData->toolBar && XtIsManaged(appData->toolBar);
}

// The pictures' transparent pixels take the form's background.
Pixmap createPicture(const char *const *data, Pixel background, const char *name)
{
    if (!data)
        return 0;
    Display *d = XtDisplay(appData->topLevel);
    XpmColorSymbol none{nullptr, const_cast<char *>("None"), background};
    XpmAttributes attributes{};
    attributes.valuemask = XpmColorSymbols | XpmCloseness;
    attributes.colorsymbols = &none;
    attributes.numsymbols = 1;
    attributes.closeness = 40000;
    if (appData->installColormap && appData->colormap) {
        attributes.valuemask |= XpmColormap;
        attributes.colormap = appData->colormap;
    }
    xpmColoursWithoutServer(d, &attributes);
    const Pixmap pixmap = xpmLabelPixmap(data, &attributes, name, background, false);
    XpmFreeAttributes(&attributes);
    return pixmap;
}

// The buttons go with their form; the pictures stay for freeToolbarPixmaps.
void forgetButtons(Widget, XtPointer, XtPointer)
{
    toolbar.form = nullptr;
    for (Widget &b : toolbar.buttons)
        b = nullptr;
}

bool isToggleOrHasInsensitivePicture(int button)
{
    return toolbarButtons[button].toggle || toolbarPictures[button].insensitive;
}

// A click zooms once by the ZOOM default step; held, the button zooms by
// 1.8 after 300 ms and then every 15 ms until released.
void runZoom(void *button)
{
    const ButtonClient *c = static_cast<ButtonClient *>(button);
    const char *command = toolbarZoomRepeat.fired
                              ? (c->button == kToolbarZoomUp ? "ZOOM UP 1.8; DRIVE" : "ZOOM DOWN 1.8; DRIVE")
                              : toolbarButtons[c->button].command;
    stkExecuteCall(c->chart, command);
}

unsigned long startZoomTimer(AutoRepeat *machine, int ms)
{
    return XtAppAddTimeOut(XtWidgetToApplicationContext(appData->topLevel), static_cast<unsigned long>(ms),
                           zoomRepeatTimerCb, machine);
}

void cancelZoomTimer(unsigned long id) { XtRemoveTimeOut(id); }

} // namespace

AutoRepeat toolbarZoomRepeat = {300, 15, startZoomTimer, cancelZoomTimer, runZoom, false, false, nullptr, 0};

Widget createToolbarForm(Widget parent, ChartState *)
{
    Arg args[2];
    XtSetArg(args[0], XmNborderWidth, 1);
    XtSetArg(args[1], XmNheight, kToolbarHeight);
    return XmCreateForm(parent, const_cast<char *>("Toolbar"), args, 2);
}

Widget toolbarButtonWidget(int button)
{
    return button >= 0 && button < kToolbarButtonCount ? toolbar.buttons[button] : nullptr;
}

void createToolbarButtons(ChartState *chart)
{
    Widget form = appData->toolBar;
    if (!form || toolbar.form == form)
        return;
    toolbar = ToolbarWidgets{};
    toolbar.form = form;
    XtAddCallback(form, XmNdestroyCallback, forgetButtons, nullptr);
    Pixel background = 0;
    XtVaGetValues(form, XmNbackground, &background, nullptr);
    Widget previous = nullptr;
    for (int i = 0; i < kToolbarButtonCount; i++) {
        const ToolbarButton &row = toolbarButtons[i];
        char name[40];
        std::snprintf(name, sizeof name, "tavikToolbar%d", i);
        toolbar.pixmaps[i] = createPicture(toolbarPictures[i].picture, background, name);
        std::snprintf(name, sizeof name, "tavikToolbarInsensitive%d", i);
        toolbar.insensitivePixmaps[i] = createPicture(toolbarPictures[i].insensitive, background, name);
        Arg args[14];
        Cardinal n = 0;
        XtSetArg(args[n], XmNtopAttachment, XmATTACH_FORM), n++;
        XtSetArg(args[n], XmNtopOffset, 1), n++;
        if (previous) {
            XtSetArg(args[n], XmNleftAttachment, XmATTACH_WIDGET), n++;
            XtSetArg(args[n], XmNleftWidget, previous), n++;
        } else {
            XtSetArg(args[n], XmNleftAttachment, XmATTACH_FORM), n++;
        }
        XtSetArg(args[n], XmNleftOffset, row.leftGap), n++;
        XtSetArg(args[n], XmNhighlightThickness, 1), n++;
        XtSetArg(args[n], XmNborderWidth, 0), n++;
        if (row.toggle) {
            XtSetArg(args[n], XmNshadowType, XmSHADOW_OUT), n++;
        }
        XtSetArg(args[n], XmNlabelType, XmPIXMAP), n++;
        if (toolbar.pixmaps[i]) {
            XtSetArg(args[n], XmNlabelPixmap, toolbar.pixmaps[i]), n++;
        }
        if (toolbar.insensitivePixmaps[i]) {
            XtSetArg(args[n], XmNlabelInsensitivePixmap, toolbar.insensitivePixmaps[i]), n++;
        }
        Widget b = XtCreateWidget(row.name, *row.widgetClass, form, args, n);
        toolbar.clients[i] = ButtonClient{chart, i};
        XtAddCallback(b, XmNactivateCallback, toolbarActivateCb, &toolbar.clients[i]);
        if (i == kToolbarZoomUp || i == kToolbarZoomDown) {
            XtAddCallback(b, XmNarmCallback, zoomArmCb, &toolbar.clients[i]);
            XtAddCallback(b, XmNdisarmCallback, zoomDisarmCb, &toolbar.clients[i]);
        }
        XtManageChild(b);
        toolbar.buttons[i] = b;
        previous = b;
    }
}

void toolbarSetButtonState(int button, ChartState *chart)
{
    Widget b = toolbarButtonWidget(button);
    if (!b)
        return;
    const ToolbarButtonState s = toolbarButtonState(button, chart);
    if (s.shadowIn >= 0)
        XtVaSetValues(b, XmNshadowType, s.shadowIn ? XmSHADOW_IN : XmSHADOW_OUT, nullptr);
    if (s.sensitive >= 0)
        XtSetSensitive(b, s.sensitive ? True : False);
}

void toolbarRefreshAll(ChartState *chart)
{
    if (!toolbarShown())
        return;
    for (int i = 0; i < kToolbarButtonCount; i++)
        toolbarSetButtonState(i, chart);
}

void toolbarRefreshChanged(ChartState *chart)
{
    if (!toolbarShown())
        return;
    for (int i = 0; i < kToolbarButtonCount; i++)
        if (isToggleOrHasInsensitivePicture(i))
            toolbarSetButtonState(i, chart);
}

void toolbarRefreshOne(ChartState *chart, int changed, int bit, int button)
{
    if (toolbarShown() && (changed & 0xff) == (bit & 0xff))
        toolbarSetButtonState(button, chart);
}

void toolbarActivateCb(Widget, XtPointer client, XtPointer)
{
    const ButtonClient *c = static_cast<ButtonClient *>(client);
    if (c->button == kToolbarZoomUp || c->button == kToolbarZoomDown)
        return; // the press and release run the zoom
    const int32_t mode = toolbarButtonMode(c->button);
    if (mode && c->chart->mode == mode)
        return;
    stkExecuteCall(c->chart, toolbarButtons[c->button].command);
}

void zoomArmCb(Widget, XtPointer client, XtPointer) { autoRepeatArm(&toolbarZoomRepeat, client); }

void zoomDisarmCb(Widget, XtPointer client, XtPointer) { autoRepeatDisarm(&toolbarZoomRepeat, client); }

void zoomRepeatTimerCb(XtPointer client, XtIntervalId *)
{
    autoRepeatTimer(static_cast<AutoRepeat *>(client));
}

void addToolbarTips(Widget tipShell)
{
    if (!tipShell)
        return;
    for (int i = 0; i < kToolbarButtonCount; i++) {
        if (!toolbar.buttons[i])
            continue;
        char text[kTipTextSize];
        getResourceString(toolbarButtons[i].tipResource, text, sizeof text);
        XcgLiteClueAddWidget(tipShell, toolbar.buttons[i], text, 0, 0);
    }
}

void removeToolbarTips()
{
    if (!appData->tipShell)
        return;
    for (Widget b : toolbar.buttons)
        if (b)
            XcgLiteClueDeleteWidget(appData->tipShell, b);
}

void freeToolbarPixmaps()
{
    removeToolbarTips();
    if (!appData->topLevel)
        return;
    // Motif's pixmap cache holds them: freed through it, never behind it.
    Screen *screen = XtScreen(appData->topLevel);
    for (int i = 0; i < kToolbarButtonCount; i++) {
        if (toolbar.pixmaps[i])
            XmDestroyPixmap(screen, toolbar.pixmaps[i]);
        if (toolbar.insensitivePixmaps[i])
            XmDestroyPixmap(screen, toolbar.insensitivePixmaps[i]);
        toolbar.pixmaps[i] = toolbar.insensitivePixmaps[i] = 0;
    }
}
