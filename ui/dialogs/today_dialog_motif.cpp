#include "ui/dialogs/today_dialog_motif.h"

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

#include <Xm/MwmUtil.h>

#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>

#include "model/almanac.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"

namespace {

// A two-column table: caption and value label names, the value's field.
struct PairRow {
    const char *caption, *value;
    size_t offset; // of the text in AlmanacValues
};
#define FIELD(f) offsetof(AlmanacValues, f)
const PairRow kTimeObs[] = {{"LabelDate", "LabelDateX", FIELD(date)},
                            {"LabelJD", "LabelJDX", FIELD(jd)},
                            {"LabelMJD", "LabelMJDX", FIELD(mjd)},
                            {"LabelObs", "LabelObsX", FIELD(site)}};
const PairRow kSun[] = {{"LabelTwS", "LabelTwSX", FIELD(dawn)},
                        {"LabelSR", "LabelSRX", FIELD(sun.rise)},
                        {"LabelSM", "LabelSMX", FIELD(sun.meridian)},
                        {"LabelSS", "LabelSSX", FIELD(sun.set)},
                        {"LabelTwE", "LabelTwEX", FIELD(dusk)}};
const PairRow kMoon[] = {{"LabelMAge", "LabelMAgeX", FIELD(moonAge)},
                         {"LabelMR", "LabelMRX", FIELD(moon.rise)},
                         {"LabelMM", "LabelMMX", FIELD(moon.meridian)},
                         {"LabelMS", "LabelMSX", FIELD(moon.set)}};
#undef FIELD
const char *const kPlanetNames[kPlanetCount] = {"Mercury", "Venus",  "Mars",    "Jupiter",
                                                "Saturn",  "Uranus", "Neptune", "Pluto"};

struct TodayDialog {
    Widget form = nullptr;
    ChartState *chart = nullptr;
    // Value labels of the pair tables, in table order.
    Widget pairValues[4 + 5 + 4] = {};
    Widget planetCells[kPlanetCount][3] = {};
    Widget smallNames[kAlmanacSmallBodyRows] = {};
    Widget smallCells[kAlmanacSmallBodyRows][3] = {};
};
TodayDialog dlg;

// The shell went: the panel is built again at the next opening.
void forgetToday(void *record)
{
    *static_cast<TodayDialog *>(record) = TodayDialog{};
    appData->todayDialog = nullptr;
}

Widget label(Widget parent, const char *name)
{
    Arg a[6];
    Cardinal n = 0;
    XtSetArg(a[n], XmNmarginLeft, 0), n++;
    XtSetArg(a[n], XmNmarginRight, 0), n++;
    XtSetArg(a[n], XmNmarginTop, 0), n++;
    XtSetArg(a[n], XmNmarginBottom, 0), n++;
    XtSetArg(a[n], XmNmarginWidth, 0), n++;
    XtSetArg(a[n], XmNmarginHeight, 0), n++;
    Widget w = XmCreateLabel(parent, const_cast<char *>(name), a, n);
    XtManageChild(w);
    return w;
}

Widget rowColumn(Widget parent, const char *name, unsigned char orientation)
{
    Arg a[3];
    Cardinal n = 0;
    XtSetArg(a[n], XmNorientation, orientation), n++;
    XtSetArg(a[n], XmNpacking, XmPACK_TIGHT), n++;
    XtSetArg(a[n], XmNadjustLast, False), n++;
    Widget w = XmCreateRowColumn(parent, const_cast<char *>(name), a, n);
    XtManageChild(w);
    return w;
}

Widget array(Widget parent, int columns, unsigned char alignment)
{
    Arg a[6];
    Cardinal n = 0;
    XtSetArg(a[n], XmNpacking, XmPACK_COLUMN), n++;
    XtSetArg(a[n], XmNnumColumns, columns), n++;
    XtSetArg(a[n], XmNorientation, XmVERTICAL), n++;
    XtSetArg(a[n], XmNadjustLast, True), n++;
    XtSetArg(a[n], XmNspacing, 4), n++;
    XtSetArg(a[n], XmNentryAlignment, alignment), n++;
    Widget w = XmCreateRowColumn(parent, const_cast<char *>("RCArray"), a, n);
    XtManageChild(w);
    return w;
}

void pairTable(Widget parent, const char *name, const PairRow *rows, int count, Widget *values)
{
    Widget table = rowColumn(parent, name, XmHORIZONTAL);
    Widget captions = array(table, 1, XmALIGNMENT_BEGINNING);
    Widget valueColumn = array(table, 1, XmALIGNMENT_END);
    for (int i = 0; i < count; ++i) {
        label(captions, rows[i].caption);
        values[i] = label(valueColumn, rows[i].value);
    }
}

// Names in one column, then rise, meridian and set filled column by column.
void eventTable(Widget parent, const char *name, const char *corner, const char *const headers[3],
                const char *const *rowNames, int rows, Widget *nameCells, Widget (*cells)[3])
{
    Widget table = rowColumn(parent, name, XmHORIZONTAL);
    Widget names = array(table, 1, XmALIGNMENT_BEGINNING);
    Widget times = array(table, 3, XmALIGNMENT_END);
    label(names, corner);
    char buf[64];
    for (int r = 0; r < rows; ++r) {
        std::snprintf(buf, sizeof buf, "Label%sName", rowNames[r]);
        Widget w = label(names, buf);
        if (nameCells)
            nameCells[r] = w;
    }
    static const char *const kEvents[3] = {"Rise", "Meri", "Set"};
    for (int c = 0; c < 3; ++c) {
        label(times, headers[c]);
        for (int r = 0; r < rows; ++r) {
            std::snprintf(buf, sizeof buf, "Label%s%s", rowNames[r], kEvents[c]);
            cells[r][c] = label(times, buf);
        }
    }
}

void closeCallback(Widget, XtPointer, XtPointer)
{
    if (dlg.form)
        XtUnmanageChild(dlg.form);
}

void build()
{
    Arg a[6];
    Cardinal n = 0;
    XtSetArg(a[n], XmNautoUnmanage, False), n++;
    XtSetArg(a[n], XmNresizePolicy, XmRESIZE_ANY), n++;
    XtSetArg(a[n], XmNdialogStyle, XmDIALOG_MODELESS), n++;
    dlg.form = XmCreateFormDialog(appData->topLevel, const_cast<char *>("TodayDialog"), a, n);
    appData->todayDialog = dlg.form;
    dialogForgetOnDestroy(dlg.form, forgetToday, &dlg);
    n = 0;
    XtSetArg(a[n], XmNtopAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNleftAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNrightAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNpacking, XmPACK_TIGHT), n++;
    XtSetArg(a[n], XmNadjustLast, False), n++;
    Widget top = XmCreateRowColumn(dlg.form, const_cast<char *>("RowColumn"), a, n);
    XtManageChild(top);
    Widget today = rowColumn(top, "RCToday", XmHORIZONTAL);
    Widget today1 = rowColumn(today, "RCToday1", XmVERTICAL);
    pairTable(today1, "RCTimeObs", kTimeObs, 4, dlg.pairValues);
    pairTable(today1, "RCSun", kSun, 5, dlg.pairValues + 4);
    pairTable(today1, "RCMoon", kMoon, 4, dlg.pairValues + 9);
    Widget today2 = rowColumn(today, "RCToday2", XmVERTICAL);
    static const char *const kPlanetHeaders[3] = {"LabelRisePlanet", "LabelMeriPlanet", "LabelSetPlanet"};
    eventTable(today2, "RCPlanet", "LabelCornerPlanet", kPlanetHeaders, kPlanetNames, kPlanetCount, nullptr,
               dlg.planetCells);
    static const char *const kSmallHeaders[3] = {"LabelRiseCometMp", "LabelMeriCometMp", "LabelSetCometMp"};
    static const char *const kSmallRows[kAlmanacSmallBodyRows] = {"CometMp1", "CometMp2", "CometMp3", "CometMp4",
                                                                  "CometMp5", "CometMp6", "CometMp7", "CometMp8"};
    eventTable(today2, "RCCometMp", "LabelCornerCometMp", kSmallHeaders, kSmallRows, kAlmanacSmallBodyRows,
               dlg.smallNames, dlg.smallCells);
    n = 0;
    XtSetArg(a[n], XmNtopAttachment, XmATTACH_WIDGET), n++;
    XtSetArg(a[n], XmNtopWidget, top), n++;
    XtSetArg(a[n], XmNleftAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNrightAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNbottomAttachment, XmATTACH_FORM), n++;
    Widget buttons = XmCreateRowColumn(dlg.form, const_cast<char *>("TodayButtons"), a, n);
    XtVaSetValues(buttons, XmNpacking, XmPACK_TIGHT, XmNspacing, 0, XmNisAligned, True, XmNentryAlignment,
                  XmALIGNMENT_CENTER, nullptr);
    XtManageChild(buttons);
    Widget close = XmCreatePushButton(buttons, const_cast<char *>("ButtonClose"), nullptr, 0);
    XtVaSetValues(close, XmNshowAsDefault, 1, nullptr);
    XtAddCallback(close, XmNactivateCallback, closeCallback, nullptr);
    XtManageChild(close);
    XtVaSetValues(dlg.form, XmNdefaultButton, close, XmNcancelButton, close, nullptr);
    XtVaSetValues(dlg.form, XmNnoResize, True, nullptr);
}

} // namespace

void setLabelText(Widget w, const char *text)
{
    XmString s = XmStringCreateLocalized(const_cast<char *>(text));
    XtVaSetValues(w, XmNlabelString, s, nullptr);
    XmStringFree(s);
}

void todayDlgFill(ChartState *chart)
{
    if (!dlg.form)
        return;
    AlmanacValues values;
    almanacFill(chart, &values);
    const char *base = reinterpret_cast<const char *>(&values);
    const PairRow *tables[] = {kTimeObs, kSun, kMoon};
    const int counts[] = {4, 5, 4};
    int k = 0;
    for (int t = 0; t < 3; ++t)
        for (int i = 0; i < counts[t]; ++i, ++k)
            setLabelText(dlg.pairValues[k], base + tables[t][i].offset);
    for (int p = 0; p < kPlanetCount; ++p) {
        setLabelText(dlg.planetCells[p][0], values.planets[p].rise);
        setLabelText(dlg.planetCells[p][1], values.planets[p].meridian);
        setLabelText(dlg.planetCells[p][2], values.planets[p].set);
    }
    for (int r = 0; r < kAlmanacSmallBodyRows; ++r) {
        setLabelText(dlg.smallNames[r], values.smallBodyNames[r]);
        setLabelText(dlg.smallCells[r][0], values.smallBodies[r].rise);
        setLabelText(dlg.smallCells[r][1], values.smallBodies[r].meridian);
        setLabelText(dlg.smallCells[r][2], values.smallBodies[r].set);
    }
}

void openTodayDialog(ChartState *chart)
{
    dlg.chart = chart;
    if (!dlg.form)
        build();
    todayDlgFill(chart);
    XtManageChild(dlg.form);
}

void refreshTodayDialog(ChartState *chart)
{
    if (dlg.form && XtIsManaged(dlg.form))
        todayDlgFill(chart);
}

int todayDialogShown() { return dlg.form && XtIsManaged(dlg.form) ? 1 : 0; }

Widget todayDialogWidget(const char *name)
{
    if (!dlg.form || !name)
        return nullptr;
    if (std::strcmp(name, "TodayDialog") == 0)
        return dlg.form;
    return XtNameToWidget(dlg.form, (std::string("*") + name).c_str());
}
