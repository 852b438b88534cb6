#include "ui/dialogs/date_dialog.h"

#include <cstddef>
#include <cstdio>
#include <cstring>

#include "astro/calendar.h"
#include "command/parameters.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/lexing.h"
#include "model/time_lock.h"

namespace {

#define DD_TEXT(f) kFieldText, offsetof(DateDialogValues, f), sizeof(DateDialogValues::f)
#define DD_TOGGLE(f) kFieldToggle, offsetof(DateDialogValues, f), 0

constexpr int kRowFormDateTime = 1;

// One date field at table row `row`: its form in FormDateTime (placed by the
// layout), then the label, the text and the up and down arrows.
#define DD_FIELD(row, form, x, y, label, edit, up, down, columns, f)                                                 \
    {form, kControlForm, kRowFormDateTime, {{"x", x}, {"y", y}}, kFieldNone, 0, 0, nullptr},                         \
        {label, kControlLabel, row, {}, kFieldNone, 0, 0, nullptr},                                                  \
        {edit, kControlTextField, row, {{"columns", columns}, {nullptr, nullptr}}, DD_TEXT(f), nullptr},             \
        {up, kControlArrowButton, row, {{"arrowDirection", "arrow_up"}, {nullptr, nullptr}}, kFieldNone, 0, 0, nullptr},   \
        {down, kControlArrowButton, row, {{"arrowDirection", "arrow_down"}, {nullptr, nullptr}}, kFieldNone, 0, 0, nullptr}

#define DD_YEAR(row, form, x, y)                                                                                     \
    DD_FIELD(row, form, x, y, "LabelYear", "EditYear", "ArrowYearUp", "ArrowYearDown", "5", year)
#define DD_MONTH(row, form, x, y)                                                                                    \
    DD_FIELD(row, form, x, y, "LabelMonth", "EditMonth", "ArrowMonthUp", "ArrowMonthDown", "3", month)
#define DD_DAY(row, form, x, y) DD_FIELD(row, form, x, y, "LabelDay", "EditDay", "ArrowDayUp", "ArrowDayDown", "3", day)
#define DD_HOUR(row, form, x, y)                                                                                     \
    DD_FIELD(row, form, x, y, "LabelHour", "EditHour", "ArrowHourUp", "ArrowHourDown", "3", hour)
#define DD_MINUTE(row, form, x, y)                                                                                   \
    DD_FIELD(row, form, x, y, "LabelMin", "EditMin", "ArrowMinUp", "ArrowMinDown", "3", minute)

#define DD_HEAD                                                                                                      \
    {"RCDateTime", kControlRowColumn, kDialogMainParent, {{"spacing", "8"}, {nullptr, nullptr}}, kFieldNone, 0, 0,    \
     nullptr},                                                                                                       \
        {"FormDateTime", kControlForm, 0, {}, kFieldNone, 0, 0, nullptr}

// The time lock and Now, after a layout's head of h rows.
#define DD_TAIL(h)                                                                                                   \
    {"Separator", kControlSeparator, 0, {}, kFieldNone, 0, 0, nullptr},                                              \
        {"StimeRC", kControlRowColumn, 0, {}, kFieldNone, 0, 0, nullptr},                                            \
        {"ToggleStime", kControlToggle, (h) + 1, {}, DD_TOGGLE(stime), nullptr},                                     \
        {"FormStime", kControlForm, (h) + 1, {}, kFieldNone, 0, 0, nullptr},                                         \
        {"FormStimeEdit", kControlForm, (h) + 3, {{"x", "10"}, {"y", "10"}}, kFieldNone, 0, 0, nullptr},             \
        {"EditStimeMin", kControlTextField, (h) + 4, {{"columns", "3"}, {nullptr, nullptr}}, DD_TEXT(stimeMin),      \
         nullptr},                                                                                                   \
        {"LabelStimeMin", kControlLabel, (h) + 4, {}, kFieldNone, 0, 0, nullptr},                                    \
        {"RadioBoxPM", kControlRowColumn, (h) + 3, {{"radioBehavior", "true"}, {nullptr, nullptr}}, kFieldNone, 0, 0, \
         nullptr},                                                                                                   \
        {"ToggleBefore", kControlToggle, (h) + 7, {{"marginHeight", "0"}, {nullptr, nullptr}}, DD_TOGGLE(before),    \
         nullptr},                                                                                                   \
        {"ToggleAfter", kControlToggle, (h) + 7, {{"marginHeight", "0"}, {nullptr, nullptr}}, DD_TOGGLE(after),      \
         nullptr},                                                                                                   \
        {"RadioBoxRS", kControlRowColumn, (h) + 3, {{"radioBehavior", "true"}, {nullptr, nullptr}}, kFieldNone, 0, 0, \
         nullptr},                                                                                                   \
        {"ToggleRise", kControlToggle, (h) + 10, {{"marginHeight", "0"}, {nullptr, nullptr}}, DD_TOGGLE(rise),       \
         nullptr},                                                                                                   \
        {"ToggleSet", kControlToggle, (h) + 10, {{"marginHeight", "0"}, {nullptr, nullptr}}, DD_TOGGLE(set), nullptr}, \
        {"ButtonNow", kControlPushButton, kDialogButtonsParent, {}, kFieldNone, 0, 0, nullptr}

// Rows of the tail after its head.
enum : int { kTailStime = 2, kTailEditMin = 5, kTailToggleSet = 12, kTailRows = 14 };
// The six lock widgets whose sensitivity follows ToggleStime: EditStimeMin,
// LabelStimeMin, ToggleBefore, ToggleAfter, ToggleRise, ToggleSet.
const int kLockTailRows[] = {kTailEditMin, kTailEditMin + 1, 8, 9, 11, kTailToggleSet};

// Second row: Japanese and European hour under the month, minute under the
// third field; English hour under the day (right of the month menu).
constexpr int kNumberHead = 2 + 5 * 5;
const DialogControl kJapaneseControls[] = {
    DD_HEAD,
    DD_YEAR(2, "DateForm0", "0", "0"),
    DD_MONTH(7, "DateForm1", "90", "0"),
    DD_DAY(12, "DateForm2", "160", "0"),
    DD_HOUR(17, "DateForm3", "90", "64"),
    DD_MINUTE(22, "DateForm4", "160", "64"),
    DD_TAIL(kNumberHead),
};
const DialogControl kEuropeanControls[] = {
    DD_HEAD,
    DD_DAY(2, "DateForm0", "0", "0"),
    DD_MONTH(7, "DateForm1", "70", "0"),
    DD_YEAR(12, "DateForm2", "140", "0"),
    DD_HOUR(17, "DateForm3", "70", "64"),
    DD_MINUTE(22, "DateForm4", "140", "64"),
    DD_TAIL(kNumberHead),
};
const char *const kMonthButtons[] = {"Month01", "Month02", "Month03", "Month04", "Month05", "Month06", "Month07",
                                     "Month08", "Month09", "Month10", "Month11", "Month12", nullptr};
constexpr int kEnglishHead = 2 + 3 + 4 * 5;
const DialogControl kEnglishControls[] = {
    DD_HEAD,
    {"FormMonth", kControlForm, kRowFormDateTime, {{"x", "0"}, {"y", "0"}}, kFieldNone, 0, 0, nullptr},
    {"LabelMonth", kControlLabel, 2, {}, kFieldNone, 0, 0, nullptr},
    {"MonthMenu", kControlOptionMenu, 2, {}, kFieldListPosition, offsetof(DateDialogValues, monthChoice), 0,
     kMonthButtons},
    DD_DAY(5, "DateForm0", "100", "0"),
    DD_YEAR(10, "DateForm1", "170", "0"),
    DD_HOUR(15, "DateForm2", "100", "64"),
    DD_MINUTE(20, "DateForm3", "170", "64"),
    DD_TAIL(kEnglishHead),
};
static_assert(sizeof kJapaneseControls / sizeof kJapaneseControls[0] == kNumberHead + kTailRows, "rows as numbered");
static_assert(sizeof kEnglishControls / sizeof kEnglishControls[0] == kEnglishHead + kTailRows, "rows as numbered");

// The arrows' fields and bounds; no carry, and the day is not compared with
// the month's length.
struct SpinField {
    const char *arrowStem; // "ArrowYear": "ArrowYearUp" and "ArrowYearDown"
    size_t offset, size;
    int lo, hi;
};
const SpinField kSpinFields[] = {
    {"ArrowYear", offsetof(DateDialogValues, year), sizeof(DateDialogValues::year), -999, 9999},
    {"ArrowMonth", offsetof(DateDialogValues, month), sizeof(DateDialogValues::month), 1, 12},
    {"ArrowDay", offsetof(DateDialogValues, day), sizeof(DateDialogValues::day), 1, 31},
    {"ArrowHour", offsetof(DateDialogValues, hour), sizeof(DateDialogValues::hour), 0, 23},
    {"ArrowMin", offsetof(DateDialogValues, minute), sizeof(DateDialogValues::minute), 0, 59},
};

int clampInt(int v, int lo, int hi) { return v < lo ? lo : v > hi ? hi : v; }

void fillDate(DateDialogValues *v, const DateTime &d)
{
    std::snprintf(v->year, sizeof v->year, "%d", d.year);
    std::snprintf(v->month, sizeof v->month, "%d", clampInt(d.month, 1, 12));
    v->monthChoice = clampInt(d.month, 1, 12);
    std::snprintf(v->day, sizeof v->day, "%d", d.day);
    std::snprintf(v->hour, sizeof v->hour, "%d", d.hour);
    std::snprintf(v->minute, sizeof v->minute, "%d", d.minute);
}

void timeLockFill(DateDialogValues *v, const ChartState *chart)
{
    const int kind = chart->timeLockKind;
    const bool sunLock = kind == kTimeLockSunriseMinutes || kind == kTimeLockSunsetMinutes;
    v->stime = sunLock ? kToggleOn : kToggleOff;
    v->rise = kind == kTimeLockSunriseMinutes ? kToggleOn : kToggleOff;
    v->set = v->rise == kToggleOn ? kToggleOff : kToggleOn;
    // The field holds two digits: the lock commands keep minutes within 0..90.
    const long long minutes = chart->timeLockValue;
    const long long shown = minutes < 0 ? -minutes : minutes;
    std::snprintf(v->stimeMin, sizeof v->stimeMin, "%lld", shown > 99 ? 99 : shown);
    v->before = minutes < 0 ? kToggleOn : kToggleOff;
    v->after = minutes < 0 ? kToggleOff : kToggleOn;
}

void dateDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<DateDialogValues *>(out);
    fillDate(v, chart->sky.date);
    timeLockFill(v, chart);
    v->zoneHours = chart->sky.date.zone;
}

void lockSensitivity(const void *values, uint8_t *sensitive, int head)
{
    const bool on = static_cast<const DateDialogValues *>(values)->stime == kToggleOn;
    for (int row : kLockTailRows)
        sensitive[head + row] = on;
}
void sensitivityNumbers(const void *values, uint8_t *sensitive) { lockSensitivity(values, sensitive, kNumberHead); }
void sensitivityEnglish(const void *values, uint8_t *sensitive) { lockSensitivity(values, sensitive, kEnglishHead); }

// An arrow steps its field; Now fills the date fields (not the lock) with
// the clock's reading moved into the chart's zone, the zone OK sends.
int dateDlgChanged(const DialogSpec *spec, void *values, int control)
{
    auto *v = static_cast<DateDialogValues *>(values);
    const char *name = spec->controls[control].name;
    if (std::strcmp(name, "ButtonNow") == 0) {
        DateTime now{};
        timeNow(&now);
        timeShiftToZone(&now, v->zoneHours);
        now.zone = v->zoneHours;
        fillDate(v, now);
        return 1;
    }
    for (const SpinField &f : kSpinFields) {
        const size_t n = std::strlen(f.arrowStem);
        if (std::strncmp(name, f.arrowStem, n) != 0)
            continue;
        const int step = std::strcmp(name + n, "Up") == 0 ? 1 : std::strcmp(name + n, "Down") == 0 ? -1 : 0;
        if (step != 0) {
            dialogSpinField(reinterpret_cast<char *>(v) + f.offset, f.size, step, f.lo, f.hi);
            return 1;
        }
    }
    return 0;
}
int changedJapanese(void *v, int c) { return dateDlgChanged(&kDateDialogJapanese, v, c); }
int changedEuropean(void *v, int c) { return dateDlgChanged(&kDateDialogEuropean, v, c); }
int changedEnglish(void *v, int c) { return dateDlgChanged(&kDateDialogEnglish, v, c); }

// The date is read first: a bad date hides a bad lock.
void dateDlgOk(const DateDialogValues *v, int english, const ChartState *chart, DialogResult *out)
{
    if (dateDlgRead(v, english, chart, out) && timeLockCommand(v, chart, out))
        dialogAddCommand(out, "DRIVE");
}
void okNumbers(void *v, const ChartState *chart, const AppData *, DialogResult *out)
{
    dateDlgOk(static_cast<const DateDialogValues *>(v), 0, chart, out);
}
void okEnglish(void *v, const ChartState *chart, const AppData *, DialogResult *out)
{
    dateDlgOk(static_cast<const DateDialogValues *>(v), 1, chart, out);
}

} // namespace

int dateDlgRead(const DateDialogValues *v, int englishLayout, const ChartState *chart, DialogResult *out)
{
    DateTime d{};
    d.year = stkParamInt(v->year);
    d.month = englishLayout ? clampInt(v->monthChoice, 1, 12) : stkParamInt(v->month);
    d.day = stkParamInt(v->day);
    d.hour = stkParamInt(v->hour);
    d.minute = stkParamInt(v->minute);
    d.second = 0.0;
    d.zone = chart->sky.date.zone;
    if (!isValidDate(&d)) {
        dialogRefuse(out, "messageInputValidDate", "");
        return 0;
    }
    return dialogAddCommand(out, "DATE %d,%d,%d,%d,%d,%f,%f", d.year, d.month, d.day, d.hour, d.minute, d.second,
                            d.zone);
}

int timeLockCommand(const DateDialogValues *v, const ChartState *, DialogResult *out)
{
    // An altitude lock shows as off and goes with it: the user cannot see
    // it here, and kept it would move the clock away from the typed time.
    if (v->stime != kToggleOn)
        return dialogAddCommand(out, "STIME NONE");
    const int minutes = strIsBlank(v->stimeMin) ? -1 : stkParamInt(v->stimeMin);
    if (minutes < 0 || minutes > 90) {
        dialogRefuse(out, "messageLockTimeMinimum", "");
        return 0;
    }
    return dialogAddCommand(out, "STIME %s %c%dMIN", v->rise == kToggleOn ? "SUNRISE" : "SUNSET",
                            v->before == kToggleOn ? '-' : '+', minutes);
}

const DialogSpec kDateDialogJapanese = {
    "DateDialog", kJapaneseControls, kNumberHead + kTailRows, sizeof(DateDialogValues), dateDlgFill,
    sensitivityNumbers, okNumbers, changedJapanese, nullptr, 0, "DateRowColumn", "DateButtons", nullptr,
};
const DialogSpec kDateDialogEuropean = {
    "DateDialog", kEuropeanControls, kNumberHead + kTailRows, sizeof(DateDialogValues), dateDlgFill,
    sensitivityNumbers, okNumbers, changedEuropean, nullptr, 0, "DateRowColumn", "DateButtons", nullptr,
};
const DialogSpec kDateDialogEnglish = {
    "DateDialog", kEnglishControls, kEnglishHead + kTailRows, sizeof(DateDialogValues), dateDlgFill,
    sensitivityEnglish, okEnglish, changedEnglish, nullptr, 0, "DateRowColumn", "DateButtons", nullptr,
};

const DialogSpec *dateDialogLayout(int dateStyle)
{
    return dateStyle == kDateStyleJapanese ? &kDateDialogJapanese : dateStyle == kDateStyleEuropean ? &kDateDialogEuropean : &kDateDialogEnglish;
}
