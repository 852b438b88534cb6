#include "ui/widgets/step_box.h"

#include <cstdio>

#include <X11/xpm.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "ui/widgets/auto_repeat.h"
#include "ui/widgets/xpm_picture.h"

namespace {

#include "resources/step_minus.xpm"
#include "resources/step_plus.xpm"

// The amounts keep the blanks that line them up in columns.
} // namespace

const StepRow kStepRows[kStepRowCount] = {
    {"1Min", "DECTIME  0, 0,  0, 0,  1, 0.0;DRIVE", "INCTIME  0, 0,  0, 0,  1, 0.0;DRIVE"},
    {"5Min", "DECTIME  0, 0,  0, 0,  5, 0.0;DRIVE", "INCTIME  0, 0,  0, 0,  5, 0.0;DRIVE"},
    {"10Min", "DECTIME  0, 0,  0, 0, 10, 0.0;DRIVE", "INCTIME  0, 0,  0, 0, 10, 0.0;DRIVE"},
    {"30Min", "DECTIME  0, 0,  0, 0, 30, 0.0;DRIVE", "INCTIME  0, 0,  0, 0, 30, 0.0;DRIVE"},
    {"1Hour", "DECTIME  0, 0,  0, 1,  0, 0.0;DRIVE", "INCTIME  0, 0,  0, 1,  0, 0.0;DRIVE"},
    {"3Hour", "DECTIME  0, 0,  0, 3,  0, 0.0;DRIVE", "INCTIME  0, 0,  0, 3,  0, 0.0;DRIVE"},
    {"1Day", "DECTIME  0, 0,  1, 0,  0, 0.0;DRIVE", "INCTIME  0, 0,  1, 0,  0, 0.0;DRIVE"},
    {"10Day", "DECTIME  0, 0, 10, 0,  0, 0.0;DRIVE", "INCTIME  0, 0, 10, 0,  0, 0.0;DRIVE"},
    {"1Mon", "DECTIME  0, 1,  0, 0,  0, 0.0;DRIVE", "INCTIME  0, 1,  0, 0,  0, 0.0;DRIVE"},
    {"1Year", "DECTIME  1, 0,  0, 0,  0, 0.0;DRIVE", "INCTIME  1, 0,  0, 0,  0, 0.0;DRIVE"},
};

namespace {

StepButton stepButtons[2 * kStepRowCount];

void runStep(void *button)
{
    auto *b = static_cast<StepButton *>(button);
    stkExecuteCall(b->chart, b->command);
}

unsigned long startStepTimer(AutoRepeat *machine, int ms)
{
    return XtAppAddTimeOut(XtWidgetToApplicationContext(appData->topLevel), static_cast<unsigned long>(ms),
                           stepBoxRepeatTimer, machine);
}

void cancelStepTimer(unsigned long id) { XtRemoveTimeOut(id); }

// A press repeats after 300 ms, then every 40 ms, for all twenty buttons.
AutoRepeat stepRepeat = {300, 40, startStepTimer, cancelStepTimer, runStep, false, false, nullptr, 0};

Pixmap makePixmap(const char *const *xpm, const char *name)
{
    XpmAttributes attributes{};
    if (appData->installColormap && appData->colormap) {
        attributes.colormap = appData->colormap;
        attributes.valuemask = XpmColormap;
    }
    xpmColoursWithoutServer(XtDisplay(appData->topLevel), &attributes);
    const Pixmap pixmap = xpmLabelPixmap(xpm, &attributes, name, 0, true);
    XpmFreeAttributes(&attributes);
    return pixmap;
}

Widget makeButton(Widget form, const char *name, Pixmap picture, const char *side, StepButton *client)
{
    Arg args[12];
    Cardinal n = 0;
    XtSetArg(args[n], XmNtopAttachment, XmATTACH_FORM), n++;
    XtSetArg(args[n], XmNbottomAttachment, XmATTACH_FORM), n++;
    XtSetArg(args[n], const_cast<char *>(side), XmATTACH_FORM), n++;
    XtSetArg(args[n], XmNmarginHeight, 0), n++;
    XtSetArg(args[n], XmNmarginWidth, 0), n++;
    XtSetArg(args[n], XmNhighlightThickness, 1), n++;
    XtSetArg(args[n], XmNborderWidth, 0), n++;
    if (picture) {
        XtSetArg(args[n], XmNlabelType, XmPIXMAP), n++;
        XtSetArg(args[n], XmNlabelPixmap, picture), n++;
    }
    Widget button = XmCreatePushButton(form, const_cast<char *>(name), args, n);
    XtAddCallback(button, XmNarmCallback, stepBoxArmCallback, client);
    XtAddCallback(button, XmNdisarmCallback, stepBoxDisarmCallback, client);
    XtManageChild(button);
    return button;
}

} // namespace

void stepBoxArmCallback(Widget, XtPointer client, XtPointer) { autoRepeatArm(&stepRepeat, client); }

void stepBoxDisarmCallback(Widget, XtPointer client, XtPointer) { autoRepeatDisarm(&stepRepeat, client); }

void stepBoxRepeatTimer(XtPointer client, XtIntervalId *) { autoRepeatTimer(static_cast<AutoRepeat *>(client)); }

void stepBoxCreate(ChartState *chart)
{
    const Pixmap minus = makePixmap(stepMinusXpm, "tavikStepMinus");
    const Pixmap plus = makePixmap(stepPlusXpm, "tavikStepPlus");
    Widget box = XmCreateFormDialog(appData->topLevel, const_cast<char *>("StepBox"), nullptr, 0);
    appData->stepBox = box;
    Widget above = nullptr;
    for (int i = 0; i < kStepRowCount; i++) {
        const StepRow &row = kStepRows[i];
        char name[32];
        std::snprintf(name, sizeof name, "StepForm%d", i);
        Arg args[8];
        Cardinal n = 0;
        if (above) {
            XtSetArg(args[n], XmNtopAttachment, XmATTACH_WIDGET), n++;
            XtSetArg(args[n], XmNtopWidget, above), n++;
        } else {
            XtSetArg(args[n], XmNtopAttachment, XmATTACH_FORM), n++;
        }
        XtSetArg(args[n], XmNtopOffset, 0), n++;
        XtSetArg(args[n], XmNleftAttachment, XmATTACH_FORM), n++;
        XtSetArg(args[n], XmNrightAttachment, XmATTACH_FORM), n++;
        XtSetArg(args[n], XmNtraversalOn, False), n++;
        Widget form = XmCreateForm(box, name, args, n);

        stepButtons[2 * i] = StepButton{row.minusCommand, chart};
        stepButtons[2 * i + 1] = StepButton{row.plusCommand, chart};
        std::snprintf(name, sizeof name, "ButtonMinus%s", row.suffix);
        Widget minusButton = makeButton(form, name, minus, XmNleftAttachment, &stepButtons[2 * i]);
        std::snprintf(name, sizeof name, "ButtonPlus%s", row.suffix);
        Widget plusButton = makeButton(form, name, plus, XmNrightAttachment, &stepButtons[2 * i + 1]);

        std::snprintf(name, sizeof name, "Label%s", row.suffix);
        n = 0;
        XtSetArg(args[n], XmNtopAttachment, XmATTACH_FORM), n++;
        XtSetArg(args[n], XmNbottomAttachment, XmATTACH_FORM), n++;
        XtSetArg(args[n], XmNleftAttachment, XmATTACH_WIDGET), n++;
        XtSetArg(args[n], XmNleftWidget, minusButton), n++;
        XtSetArg(args[n], XmNrightAttachment, XmATTACH_WIDGET), n++;
        XtSetArg(args[n], XmNrightWidget, plusButton), n++;
        XtSetArg(args[n], XmNmarginWidth, 2), n++;
        XtSetArg(args[n], XmNmarginHeight, 0), n++;
        XtManageChild(XmCreateLabel(form, name, args, n));
        XtManageChild(form);
        above = form;
    }
}

void stepBoxShow(ChartState *, int show)
{
    if (!appData->stepBox)
        return;
    if (show)
        XtManageChild(appData->stepBox);
    else
        XtUnmanageChild(appData->stepBox);
}
