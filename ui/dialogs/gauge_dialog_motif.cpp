#include "ui/dialogs/gauge_dialog_motif.h"

#include <cstdio>

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Scale.h>

#include "model/app_data.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/today_dialog_motif.h"

namespace {

constexpr int kTitleSize = 65; // a title of at most 64 bytes

struct Gauge {
    Widget form = nullptr, title = nullptr, percentage = nullptr, scale = nullptr, cancel = nullptr;
    int last = -1;
    int cancelled = 0;
};
Gauge g;

// The shell went: the gauge is built again at the next opening.
void forgetGauge(void *record) { *static_cast<Gauge *>(record) = Gauge{}; }

void cancelCallback(Widget, XtPointer, XtPointer) { g.cancelled = 1; }

void build()
{
    Arg a[2];
    XtSetArg(a[0], XmNautoUnmanage, False);
    XtSetArg(a[1], XmNdialogStyle, XmDIALOG_FULL_APPLICATION_MODAL);
    g.form = XmCreateFormDialog(appData->topLevel, const_cast<char *>("GaugeDialog"), a, 2);
    dialogForgetOnDestroy(g.form, forgetGauge, &g);
    Widget rc = XmCreateRowColumn(g.form, const_cast<char *>("GaugeRowColumn"), nullptr, 0);
    XtVaSetValues(rc, XmNorientation, XmVERTICAL, XmNpacking, XmPACK_TIGHT, XmNisAligned, True,
                  XmNentryAlignment, XmALIGNMENT_CENTER, XmNadjustLast, False, XmNtopAttachment, XmATTACH_FORM,
                  XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM, XmNbottomAttachment,
                  XmATTACH_FORM, nullptr);
    XtManageChild(rc);
    g.title = XmCreateLabel(rc, const_cast<char *>("GaugeLabelTitle"), nullptr, 0);
    g.percentage = XmCreateLabel(rc, const_cast<char *>("GaugeLabelPercentage"), nullptr, 0);
    g.scale = XmCreateScale(rc, const_cast<char *>("GaugeScale"), nullptr, 0);
    XtVaSetValues(g.scale, XmNorientation, XmHORIZONTAL, XmNminimum, 0, XmNmaximum, 100, XmNprocessingDirection,
                  XmMAX_ON_RIGHT, XmNwidth, 300, nullptr);
    g.cancel = XmCreatePushButton(rc, const_cast<char *>("GaugeCancelButton"), nullptr, 0);
    XtAddCallback(g.cancel, XmNactivateCallback, cancelCallback, nullptr);
    Widget children[] = {g.title, g.percentage, g.scale, g.cancel};
    XtManageChildren(children, 4);
}

} // namespace

void openGaugeDialog(const char *titleResource)
{
    if (!g.form)
        build();
    char title[kTitleSize];
    getResourceString(titleResource ? titleResource : "", title, sizeof title);
    setLabelText(g.title, title);
    g.last = -1;
    gaugeDlgSetPercent(0);
    g.cancelled = 0;
    XtManageChild(g.form);
}

void gaugeDlgSetPercent(int percent)
{
    if (!g.form)
        return;
    // Only X events: a timer, a TCP client or a play step run here would act
    // on the tables the caller is filling.
    XtAppContext app = XtWidgetToApplicationContext(g.form);
    while (XtAppPending(app) & XtIMXEvent)
        XtAppProcessEvent(app, XtIMXEvent);
    if (percent == g.last)
        return;
    const int shown = percent < 0 ? 0 : percent > 100 ? 100 : percent;
    XmScaleSetValue(g.scale, shown);
    char text[16];
    std::snprintf(text, sizeof text, "%d%%", percent);
    setLabelText(g.percentage, text);
    XmUpdateDisplay(g.form);
    g.last = percent;
}

int gaugeDlgCancelled() { return g.cancelled; }

void closeGaugeDialog()
{
    if (g.form)
        XtUnmanageChild(g.form);
}

void registerGaugeHooks()
{
    uiHooks.openGaugeDialog = openGaugeDialog;
    uiHooks.gaugeDlgSetPercent = gaugeDlgSetPercent;
    uiHooks.gaugeDlgCancelled = gaugeDlgCancelled;
    uiHooks.closeGaugeDialog = closeGaugeDialog;
}
