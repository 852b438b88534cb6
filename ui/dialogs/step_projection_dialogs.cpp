#include "ui/dialogs/step_projection_dialogs.h"

#include <cstddef>
#include <cstdio>

#include "command/keywords.h"
#include "command/parameters.h"
#include "model/chart_state.h"

namespace {

// ---- Time Step --------------------------------------------------------------

#define TS_OFFSET(f) offsetof(TimeStepValues, f), sizeof(TimeStepValues::f)
#define TS_TOGGLE(f) offsetof(TimeStepValues, f), 0

// One number field: its form (placed in FormDateTime), label, text and the
// up and down arrows, rows form .. form + 4.
#define TS_FIELD(form, x, y, label, edit, up, down, columns, field)                                                  \
    {form, kControlForm, 6, {{"x", x}, {"y", y}}, kFieldNone, 0, 0, nullptr},                                        \
        {label, kControlLabel, kRow##field, {}, kFieldNone, 0, 0, nullptr},                                          \
        {edit, kControlTextField, kRow##field, {{"columns", columns}, {nullptr, nullptr}}, kFieldText, TS_OFFSET(field), \
         nullptr},                                                                                                   \
        {up, kControlArrowButton, kRow##field, {{"arrowDirection", "arrow_up"}, {nullptr, nullptr}}, kFieldNone, 0, 0, nullptr}, \
        {down, kControlArrowButton, kRow##field, {{"arrowDirection", "arrow_down"}, {nullptr, nullptr}}, kFieldNone, 0, 0,   \
         nullptr}

enum : int {
    kRowRealTime = 1,
    kRowRadio = 2,
    kRowSysTime = 3,
    kRowSetting = 4,
    kRowyear = 7, // each field's form; its label, text and arrows follow
    kRowmonth = 12,
    kRowday = 17,
    kRowhour = 22,
    kRowminute = 27,
    kTimeStepRows = 32,
};

const DialogControl kTimeStepControls[] = {
    {"RCTimeStepCtrl", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"ToggleRealTime", kControlToggle, 0, {}, kFieldToggle, TS_TOGGLE(realTime), nullptr},
    {"RealTimeRadioBox", kControlRowColumn, 0, {{"radioBehavior", "true"}, {nullptr, nullptr}}, kFieldNone, 0, 0,
     nullptr},
    {"ToggleRTSysTime", kControlToggle, kRowRadio, {}, kFieldToggle, TS_TOGGLE(sysTime), nullptr},
    {"ToggleRTSetting", kControlToggle, kRowRadio, {}, kFieldToggle, TS_TOGGLE(setting), nullptr},
    {"Separator", kControlSeparator, 0, {}, kFieldNone, 0, 0, nullptr},
    {"FormDateTime", kControlForm, 0, {}, kFieldNone, 0, 0, nullptr},
    TS_FIELD("DateForm0", "0", "0", "LabelYear", "EditYear", "ArrowYearUp", "ArrowYearDown", "5", year),
    TS_FIELD("DateForm1", "90", "0", "LabelMonth", "EditMonth", "ArrowMonthUp", "ArrowMonthDown", "3", month),
    TS_FIELD("DateForm2", "160", "0", "LabelDay", "EditDay", "ArrowDayUp", "ArrowDayDown", "3", day),
    TS_FIELD("DateForm3", "90", "64", "LabelHour", "EditHour", "ArrowHourUp", "ArrowHourDown", "3", hour),
    TS_FIELD("DateForm4", "160", "64", "LabelMin", "EditMin", "ArrowMinUp", "ArrowMinDown", "3", minute),
};
static_assert(sizeof kTimeStepControls / sizeof kTimeStepControls[0] == kTimeStepRows, "rows as numbered");

char *timeStepField(TimeStepValues *v, int i)
{
    char *const fields[kTimeStepFieldCount] = {v->year, v->month, v->day, v->hour, v->minute};
    return fields[i];
}
const char *timeStepField(const TimeStepValues *v, int i) { return timeStepField(const_cast<TimeStepValues *>(v), i); }
constexpr size_t kTimeStepFieldSize[kTimeStepFieldCount] = {sizeof(TimeStepValues::year), sizeof(TimeStepValues::month),
                                                            sizeof(TimeStepValues::day), sizeof(TimeStepValues::hour),
                                                            sizeof(TimeStepValues::minute)};

void timeStepDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<TimeStepValues *>(out);
    v->realTime = chart->realTimeMode != kPlayByPeriod ? kToggleOn : kToggleOff;
    // playKind falls back to 0 whenever playing stops, so it cannot say which
    // clock the user chose last; realTimeMode keeps that choice.
    v->setting = chart->realTimeMode == kPlayClockFromBase ? kToggleOn : kToggleOff;
    v->sysTime = v->setting == kToggleOn ? kToggleOff : kToggleOn;
    const int32_t counts[kTimeStepFieldCount] = {chart->period.year, chart->period.month, chart->period.day,
                                                 chart->period.hour, chart->period.minute};
    for (int i = 0; i < kTimeStepFieldCount; i++)
        std::snprintf(timeStepField(v, i), kTimeStepFieldSize[i], "%d", counts[i]);
}

void timeStepDlgSensitivity(const void *values, uint8_t *sensitive)
{
    const bool realTime = static_cast<const TimeStepValues *>(values)->realTime == kToggleOn;
    sensitive[kRowRadio] = sensitive[kRowSysTime] = sensitive[kRowSetting] = realTime;
    for (int row = kRowyear; row < kTimeStepRows; row++)
        sensitive[row] = !realTime;
}

// Arrows: the up arrow is the row after a field's text, the down arrow the
// row after that.
int timeStepDlgSpin(void *values, int control)
{
    auto *v = static_cast<TimeStepValues *>(values);
    const int fieldRows[kTimeStepFieldCount] = {kRowyear, kRowmonth, kRowday, kRowhour, kRowminute};
    for (int i = 0; i < kTimeStepFieldCount; i++) {
        const int up = fieldRows[i] + 3;
        if (control == up || control == up + 1) {
            dialogSpinField(timeStepField(v, i), kTimeStepFieldSize[i], control == up ? 1 : -1, 0,
                            i == 0 ? kTimeStepYearMax : kTimeStepFieldMax);
            return 1;
        }
    }
    return 0;
}

void timeStepDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const TimeStepValues *>(values);
    if (v->realTime == kToggleOn) {
        dialogAddCommand(out, "REALTIME %d,1,5", v->setting == kToggleOn ? 2 : 1);
        return;
    }
    int32_t n[kTimeStepFieldCount];
    bool any = false;
    for (int i = 0; i < kTimeStepFieldCount; i++) {
        n[i] = stkParamInt(timeStepField(v, i));
        any = any || n[i] != 0;
    }
    if (!any) {
        dialogRefuse(out, "messageInvalidTimeStep", "");
        return;
    }
    dialogAddCommand(out, "REALTIME 0");
    dialogAddCommand(out, "PERIOD %d,%d,%d,%d,%d,%f", n[0], n[1], n[2], n[3], n[4], 0.0);
}

// ---- Projection --------------------------------------------------------------

struct ProjModeRow {
    int32_t mode;
    int major, minor; // minor -1: the mode has no coordinates toggle
};
const ProjModeRow kProjModes[] = {
    {kModeHrz, 0, 0},     {kModeEqt, 0, 1},     {kModeEcl, 0, 2},     {kModeGal, 0, 3},     {kModeAll1Eqt, 1, 1},
    {kModeAll1Ecl, 1, 2}, {kModeAll1Gal, 1, 3}, {kModeAll2Eqt, 2, 1}, {kModeAll2Ecl, 2, 2}, {kModeAll2Gal, 2, 3},
    {kModeSol1, 3, 1},    {kModeSol2, 3, 2},    {kModeSol3, 3, 3},    {kModePlns, 4, 0},
};
constexpr int kMinorHrz = 0;
constexpr int kMinorEqt = 1;
constexpr int kMajorChart = 0;
constexpr int kMajorPlanisphere = 4;

#define PJ_TOGGLE(name, parent, f, i)                                                                                \
    {name, kControlToggle, parent, {}, kFieldToggle, offsetof(ProjectionValues, f) + (i) * sizeof(ToggleValue), 0,    \
     nullptr}

enum : int { kRowRadioMajor = 3, kRowMajor0 = 4, kRowRadioMinor = 12, kRowMinor0 = 13 };

const DialogControl kProjectionControls[] = {
    {"MajorRowColumn", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"MajorModeLabel", kControlLabel, 0, {}, kFieldNone, 0, 0, nullptr},
    {"FormMajorMode", kControlForm, 0, {}, kFieldNone, 0, 0, nullptr},
    {"RadioMajorMode", kControlRowColumn, 2, {{"radioBehavior", "true"}, {nullptr, nullptr}}, kFieldNone, 0, 0,
     nullptr},
    PJ_TOGGLE("ToggleMajorModeGeneral", kRowRadioMajor, major, 0),
    PJ_TOGGLE("ToggleMajorModeAll1", kRowRadioMajor, major, 1),
    PJ_TOGGLE("ToggleMajorModeAll2", kRowRadioMajor, major, 2),
    PJ_TOGGLE("ToggleMajorModeSol", kRowRadioMajor, major, 3),
    PJ_TOGGLE("ToggleMajorModePlns", kRowRadioMajor, major, 4),
    {"MinorRowColumn", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"MinorModeLabel", kControlLabel, 9, {}, kFieldNone, 0, 0, nullptr},
    {"FormMinorMode", kControlForm, 9, {}, kFieldNone, 0, 0, nullptr},
    {"RadioMinorMode", kControlRowColumn, 11, {{"radioBehavior", "true"}, {nullptr, nullptr}}, kFieldNone, 0, 0,
     nullptr},
    PJ_TOGGLE("ToggleMinorModeHrz", kRowRadioMinor, minor, 0),
    PJ_TOGGLE("ToggleMinorModeEqt", kRowRadioMinor, minor, 1),
    PJ_TOGGLE("ToggleMinorModeEcl", kRowRadioMinor, minor, 2),
    PJ_TOGGLE("ToggleMinorModeGal", kRowRadioMinor, minor, 3),
};

// The first set major toggle and the last set minor toggle; -1 for none.
int selectedMajor(const ProjectionValues *v)
{
    for (int i = 0; i < kProjMajorCount; i++)
        if (v->major[i] == kToggleOn)
            return i;
    return -1;
}
int selectedMinor(const ProjectionValues *v)
{
    int minor = -1;
    for (int i = 0; i < kProjMinorCount; i++)
        if (v->minor[i] == kToggleOn)
            minor = i;
    return minor;
}

void setOnlyMinor(ProjectionValues *v, int minor)
{
    for (int i = 0; i < kProjMinorCount; i++)
        v->minor[i] = i == minor ? kToggleOn : kToggleOff;
}

// The coordinates a chart kind cannot take are unset: the whole-sky maps
// and the solar system have no horizontal form, the planisphere has only it.
void projDlgMinorUnset(ProjectionValues *v, int major)
{
    for (int i = 0; i < kProjMinorCount; i++) {
        const bool usable = major == kMajorChart || (major == kMajorPlanisphere ? i == kMinorHrz : i != kMinorHrz);
        if (!usable)
            v->minor[i] = kToggleOff;
    }
}

void projDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<ProjectionValues *>(out);
    int major = -1, minor = -1;
    if (!projDlgModeToToggles(chart->mode, &major, &minor))
        return;
    v->major[major] = kToggleOn;
    if (minor >= 0)
        v->minor[minor] = kToggleOn;
    projDlgMinorUnset(v, major);
}

void projDlgSensitivity(const void *values, uint8_t *sensitive)
{
    const int major = selectedMajor(static_cast<const ProjectionValues *>(values));
    for (int i = 0; i < kProjMinorCount; i++)
        sensitive[kRowMinor0 + i] =
            major == kMajorChart || (major > kMajorChart && major < kMajorPlanisphere && i != kMinorHrz) ||
            (major == kMajorPlanisphere && i == kMinorHrz);
}

int projDlgMajorChanged(void *values, int control)
{
    if (control < kRowMajor0 || control >= kRowMajor0 + kProjMajorCount)
        return 0;
    auto *v = static_cast<ProjectionValues *>(values);
    const int major = selectedMajor(v);
    if (major < 0)
        return 0;
    const int minor = selectedMinor(v);
    if ((major == kMajorChart && minor < 0) || major == kMajorPlanisphere)
        setOnlyMinor(v, kMinorHrz);
    else if (major != kMajorChart && (minor == kMinorHrz || minor < 0))
        setOnlyMinor(v, kMinorEqt);
    projDlgMinorUnset(v, major);
    return 1;
}

void projDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const ProjectionValues *>(values);
    const int major = selectedMajor(v), minor = selectedMinor(v);
    for (const ProjModeRow &row : kProjModes)
        if (row.major == major && (major == kMajorPlanisphere || row.minor == minor)) {
            // One text of two statements: the keyword comes from the table,
            // never from a field.
            dialogAddStatements(out, "MODE %s; DRIVE", stkKeywordName(modeKeywords, row.mode));
            return;
        }
    out->stayOpen = 1; // no mode: nothing to send, nothing to say
}

} // namespace

int projDlgModeToToggles(int mode, int *major, int *minor)
{
    for (const ProjModeRow &row : kProjModes)
        if (row.mode == mode) {
            *major = row.major;
            *minor = row.minor;
            return 1;
        }
    return 0;
}

const DialogSpec kTimeStepDialog = {
    "TimeStepDialog",  kTimeStepControls, kTimeStepRows, sizeof(TimeStepValues), timeStepDlgFill,
    timeStepDlgSensitivity, timeStepDlgOk, timeStepDlgSpin, nullptr, 0, "TimeStepRowColumn", "TimeStepButtons",
    nullptr,
};

const DialogSpec kProjectionDialog = {
    "ProjectionDialog",
    kProjectionControls,
    sizeof kProjectionControls / sizeof kProjectionControls[0],
    sizeof(ProjectionValues),
    projDlgFill,
    projDlgSensitivity,
    projDlgOk,
    projDlgMajorChanged,
    nullptr,
    0,
    "ProjectionRowColumn",
    "ProjectionButtons",
    nullptr,
};
