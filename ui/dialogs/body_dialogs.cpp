#include "ui/dialogs/body_dialogs.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>

#include "model/app_data.h"
#include "model/body_names.h"
#include "model/chart_state.h"

const int32_t kPlanetDialogIds[kPlanetDialogRows] = {
    kObjectMercury, kObjectVenus, kObjectEarth,   kObjectMars,  kObjectJupiter,
    kObjectSaturn,  kObjectUranus, kObjectNeptune, kObjectPluto,
};

namespace {

const char *showHide(ToggleValue v) { return v == kToggleOff ? "HIDE" : "SHOW"; }
ToggleValue toggleOf(bool on) { return on ? kToggleOn : kToggleOff; }
ToggleValue toggleOfBit(uint8_t byte, uint8_t bit) { return toggleOf((byte & bit) != 0); }

// ---- Planet ---------------------------------------------------------------------

// The display bit of each column of the flag table.
const uint8_t kPlanetColumnBits[kPlanetDialogColumns] = {kBodyShown, kBodyName, kBodyDate,
                                                         kBodyMag,   kBodyOrbit, kBodyDisk};

// The Earth is never drawn as a disc and has no magnitude label.
bool earthLacks(int column) { return column == kPlanetColMag || column == kPlanetColDisk; }

enum {
    kPlanetRowList,
    kPlanetRowCtrl,
    kPlanetRowFirstToggle, // then one row per column
    kPlanetRowDiskMagCtrl = kPlanetRowFirstToggle + kPlanetDialogColumns,
    kPlanetRowDiskMagLabel,
    kPlanetRowDiskMag,
};

#define PLANET_TOGGLE(name, column)                                                                        \
    {name,          kControlToggle, kPlanetRowCtrl, {}, kFieldToggle,                                      \
     offsetof(PlanetDialogValues, toggles) + (column) * sizeof(ToggleValue), 0, nullptr}

const DialogControl kPlanetControls[] = {
    {"PlanetList", kControlList, kDialogMainParent, {{"selectionPolicy", "extended_select"}, {"visibleItemCount", "9"}},
     kFieldListSelection, offsetof(PlanetDialogValues, selected), 0, nullptr},
    {"RCPlanetCtrl", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    PLANET_TOGGLE("ToggleShow", kPlanetColShown),
    PLANET_TOGGLE("ToggleName", kPlanetColName),
    PLANET_TOGGLE("ToggleDate", kPlanetColDate),
    PLANET_TOGGLE("ToggleMag", kPlanetColMag),
    PLANET_TOGGLE("ToggleOrbit", kPlanetColOrbit),
    PLANET_TOGGLE("ToggleDisk", kPlanetColDisk),
    {"RCDiskMagCtrl", kControlRowColumn, kDialogMainParent, {{"orientation", "horizontal"}, {nullptr, nullptr}},
     kFieldNone, 0, 0, nullptr},
    {"LabelDiskMag", kControlLabel, kPlanetRowDiskMagCtrl, {}, kFieldNone, 0, 0, nullptr},
    {"EditDiskMag", kControlTextField, kPlanetRowDiskMagCtrl, {{"width", "36"}, {nullptr, nullptr}}, kFieldText,
     offsetof(PlanetDialogValues, diskMag), sizeof(PlanetDialogValues::diskMag), nullptr},
};
#undef PLANET_TOGGLE

int selectedRows(const PlanetDialogValues *v, int rows[kPlanetDialogRows])
{
    int n = 0;
    for (int r = 0; r < kPlanetDialogRows; r++)
        if (v->selected & 1u << r)
            rows[n++] = r;
    return n;
}

void planetDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<PlanetDialogValues *>(out);
    for (int r = 0; r < kPlanetDialogRows; r++) {
        const bool earth = r == kPlanetDialogEarthRow;
        const uint8_t byte = earth ? chart->earthFlags : chart->planetFlags[kPlanetDialogIds[r]];
        for (int c = 0; c < kPlanetDialogColumns; c++)
            v->rows[r][c] = earth && earthLacks(c) ? 0 : (byte & kPlanetColumnBits[c]) != 0;
    }
    std::snprintf(v->diskMag, sizeof v->diskMag, "%d", static_cast<int>(chart->diskMag));
    v->selected = 1u; // Mercury
    for (uint8_t &s : v->sensitive)
        s = 1;
    planetDlgSelectionChanged(v);
}

void planetDlgSensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const PlanetDialogValues *>(values);
    for (int c = 0; c < kPlanetDialogColumns; c++)
        sensitive[kPlanetRowFirstToggle + c] = v->sensitive[c];
}

int planetDlgChanged(void *values, int control)
{
    auto *v = static_cast<PlanetDialogValues *>(values);
    if (control == kPlanetRowList) {
        planetDlgSelectionChanged(v);
        return 1;
    }
    if (control >= kPlanetRowFirstToggle && control < kPlanetRowFirstToggle + kPlanetDialogColumns) {
        planetDlgToggleChanged(v, control - kPlanetRowFirstToggle);
        return 1;
    }
    return 0;
}

void planetDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const PlanetDialogValues *>(values);
    for (int r = 0; r < kPlanetDialogRows; r++) {
        const int8_t *row = v->rows[r];
        const char *name = bodyCommandName(kPlanetDialogIds[r]);
        char text[kStkTextSize];
        int n = std::snprintf(text, sizeof text, "%s %s;%s %s_NAME;%s %s_DATE;%s %s_OBT;",
                              row[kPlanetColShown] ? "SHOW" : "HIDE", name, row[kPlanetColName] ? "SHOW" : "HIDE",
                              name, row[kPlanetColDate] ? "SHOW" : "HIDE", name,
                              row[kPlanetColOrbit] ? "SHOW" : "HIDE", name);
        if (r != kPlanetDialogEarthRow && n > 0 && static_cast<size_t>(n) < sizeof text)
            std::snprintf(text + n, sizeof text - static_cast<size_t>(n), "%s %s_MAG;%s %s;",
                          row[kPlanetColMag] ? "SHOW" : "HIDE", name, row[kPlanetColDisk] ? "DISK" : "REAL", name);
        dialogAddStatements(out, "%s", text);
    }
    // The command checks the range; a field that is no number sends 0 and
    // gets the command's own error.
    dialogAddStatements(out, "DISK_MAG %d;", static_cast<int>(std::strtol(v->diskMag, nullptr, 10)));
    dialogAddCommand(out, "DRIVE");
}

const char *const *planetListItems(const ChartState *, const AppData *app, int, int *count)
{
    static const char *items[kPlanetDialogRows];
    for (int r = 0; r < kPlanetDialogRows; r++)
        items[r] = planetDialogItem(app, r);
    *count = kPlanetDialogRows;
    return items;
}

// ---- Jovian satellites ----------------------------------------------------------

const DialogControl kJoviSatControls[] = {
    {"RCJoviSat", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"ToggleShow", kControlToggle, 0, {}, kFieldToggle, offsetof(JoviSatDialogValues, show), 0, nullptr},
    {"ToggleName", kControlToggle, 0, {}, kFieldToggle, offsetof(JoviSatDialogValues, name), 0, nullptr},
    {"ToggleNumber", kControlToggle, 0, {}, kFieldToggle, offsetof(JoviSatDialogValues, number), 0, nullptr},
};

void joviSatDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<JoviSatDialogValues *>(out);
    v->show = toggleOfBit(chart->jupiterMoonFlags, kJmoonShown);
    v->name = toggleOfBit(chart->jupiterMoonFlags, kJmoonName);
    v->number = toggleOfBit(chart->jupiterMoonFlags, kJmoonNo);
}

void joviSatDlgShowToggled(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const JoviSatDialogValues *>(values);
    sensitive[2] = sensitive[3] = v->show == kToggleOn;
}

void joviSatDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const JoviSatDialogValues *>(values);
    dialogAddToggleCommand(out, v->show, "JMOON");
    dialogAddToggleCommand(out, v->name, "JMOON_NAME");
    dialogAddToggleCommand(out, v->number, "JMOON_NO");
    dialogAddCommand(out, "DRIVE");
}

// ---- Constellations -------------------------------------------------------------

const DialogControl kConstControls[] = {
    {"ConstCtrls", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"ToggleConstLine", kControlToggle, 0, {}, kFieldToggle, offsetof(ConstDialogValues, line), 0, nullptr},
    {"ToggleConstAbbr", kControlToggle, 0, {}, kFieldToggle, offsetof(ConstDialogValues, abbreviation), 0, nullptr},
    {"ToggleConstName", kControlToggle, 0, {}, kFieldToggle, offsetof(ConstDialogValues, name), 0, nullptr},
    {"ToggleConstBoundary", kControlToggle, 0, {}, kFieldToggle, offsetof(ConstDialogValues, boundary), 0, nullptr},
};

void constDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<ConstDialogValues *>(out);
    v->line = toggleOfBit(chart->constellationFlags, kConsLine);
    v->abbreviation = toggleOfBit(chart->constellationFlags, kConsName1);
    v->name = toggleOfBit(chart->constellationFlags, kConsName2);
    v->boundary = toggleOfBit(chart->constellationFlags, kConsLimit);
}

void constDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const ConstDialogValues *>(values);
    dialogAddToggleCommand(out, v->line, "CONS_LINE");
    dialogAddToggleCommand(out, v->abbreviation, "CONS_NAME1");
    dialogAddToggleCommand(out, v->name, "CONS_NAME2");
    dialogAddToggleCommand(out, v->boundary, "CONS_LIMIT");
    dialogAddCommand(out, "DRIVE");
}

// ---- Sun and Moon ---------------------------------------------------------------

#define SUN_MOON_CONTROLS(prefix)                                                                          \
    {                                                                                                      \
        {"RC" prefix, kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},                \
        {"Toggle" prefix, kControlToggle, 0, {}, kFieldToggle, offsetof(SunMoonDialogValues, show), 0, nullptr}, \
        {"Toggle" prefix "Name", kControlToggle, 0, {}, kFieldToggle, offsetof(SunMoonDialogValues, name), 0,   \
         nullptr},                                                                                         \
        {"Toggle" prefix "Date", kControlToggle, 0, {}, kFieldToggle, offsetof(SunMoonDialogValues, date), 0,   \
         nullptr},                                                                                         \
        {"Toggle" prefix "Outline", kControlToggle, 0, {}, kFieldToggle, offsetof(SunMoonDialogValues, outline), \
         0, nullptr},                                                                                      \
    }
const DialogControl kSunControls[] = SUN_MOON_CONTROLS("Sun");
const DialogControl kMoonControls[] = SUN_MOON_CONTROLS("Moon");
#undef SUN_MOON_CONTROLS

void sunMoonFill(uint8_t flags, const ChartState *chart, void *out)
{
    auto *v = static_cast<SunMoonDialogValues *>(out);
    v->show = toggleOfBit(flags, kBodyShown);
    v->name = toggleOfBit(flags, kBodyName);
    v->date = toggleOfBit(flags, kBodyDate);
    v->outline = toggleOfBit(flags, kBodyDisk);
    v->solarView = isSolarMode(chart->mode);
}

void sunMoonSensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const SunMoonDialogValues *>(values);
    const bool shown = v->show == kToggleOn;
    sensitive[2] = sensitive[3] = shown;
    sensitive[4] = shown && !v->solarView;
}

// One text of three statements, then OUTLINE or REAL even when the toggle
// cannot be used in this view.
void sunMoonOk(const char *word, const void *values, DialogResult *out)
{
    const auto *v = static_cast<const SunMoonDialogValues *>(values);
    dialogAddStatements(out, "%s %s;%s %s_NAME;%s %s_DATE", showHide(v->show), word, showHide(v->name), word,
                        showHide(v->date), word);
    dialogAddCommand(out, "%s %s", v->outline == kToggleOn ? "OUTLINE" : "REAL", word);
    dialogAddCommand(out, "DRIVE");
}

void sunDlgFill(const ChartState *chart, const AppData *, void *out) { sunMoonFill(chart->sunFlags, chart, out); }
void moonDlgFill(const ChartState *chart, const AppData *, void *out) { sunMoonFill(chart->moonFlags, chart, out); }
void sunDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    sunMoonOk("SUN", values, out);
}
void moonDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    sunMoonOk("MOON", values, out);
}

template <size_t N> constexpr int countOf(const DialogControl (&)[N]) { return static_cast<int>(N); }

DialogSpec makePlanetSpec()
{
    DialogSpec s = {"PlanetDialog", kPlanetControls, countOf(kPlanetControls), sizeof(PlanetDialogValues),
                    planetDlgFill, planetDlgSensitivity, planetDlgOk};
    s.changed = planetDlgChanged;
    s.listItems = planetListItems;
    s.rowColumnName = "PlanetRowColumn";
    s.buttonsName = "PlanetButtons";
    return s;
}

DialogSpec makeSpec(const char *name, const DialogControl *controls, int count, size_t size,
                    void (*fill)(const ChartState *, const AppData *, void *), void (*sensitivity)(const void *, uint8_t *),
                    void (*ok)(void *, const ChartState *, const AppData *, DialogResult *), const char *rowColumn,
                    const char *buttons)
{
    DialogSpec s = {name, controls, count, size, fill, sensitivity, ok};
    s.rowColumnName = rowColumn;
    s.buttonsName = buttons;
    return s;
}

} // namespace

const char *planetDialogItem(const AppData *app, int row)
{
    const char *local = app ? app->bodyNames[row] : nullptr;
    return local ? local : bodyCommandName(kPlanetDialogIds[row]);
}

void planetDlgSelectionChanged(PlanetDialogValues *v)
{
    int rows[kPlanetDialogRows];
    const int n = selectedRows(v, rows);
    if (n == 0)
        return;
    const int reference = rows[0] == kPlanetDialogEarthRow && n > 1 ? rows[1] : rows[0];
    const bool earthAlone = n == 1 && rows[0] == kPlanetDialogEarthRow;
    bool allShown = true;
    for (int k = 0; k < n; k++)
        allShown = allShown && v->rows[rows[k]][kPlanetColShown];
    for (int c = 0; c < kPlanetDialogColumns; c++) {
        bool same = true;
        for (int k = 0; k < n; k++) {
            if (rows[k] == kPlanetDialogEarthRow && earthLacks(c))
                continue;
            same = same && v->rows[rows[k]][c] == v->rows[reference][c];
        }
        v->toggles[c] = same ? toggleOf(v->rows[reference][c] != 0) : kToggleMixed;
        v->sensitive[c] = c == kPlanetColShown || allShown;
        if (earthAlone && earthLacks(c)) {
            v->toggles[c] = kToggleOff;
            v->sensitive[c] = 0;
        }
    }
}

void planetDlgToggleChanged(PlanetDialogValues *v, int column)
{
    if (column < 0 || column >= kPlanetDialogColumns)
        return;
    const int8_t on = v->toggles[column] != kToggleOff;
    for (int r = 0; r < kPlanetDialogRows; r++)
        if (v->selected & 1u << r)
            v->rows[r][column] = r == kPlanetDialogEarthRow && earthLacks(column) ? 0 : on;
    planetDlgSelectionChanged(v);
}

const DialogSpec kPlanetDialog = makePlanetSpec();
const DialogSpec kJoviSatDialog =
    makeSpec("JoviSatDialog", kJoviSatControls, countOf(kJoviSatControls), sizeof(JoviSatDialogValues),
             joviSatDlgFill, joviSatDlgShowToggled, joviSatDlgOk, "JoviSatRowColumn", "JoviSatButtons");
const DialogSpec kConstDialog = makeSpec("ConstDialog", kConstControls, countOf(kConstControls),
                                         sizeof(ConstDialogValues), constDlgFill, nullptr, constDlgOk,
                                         "ConstRowColumn", "ConstButtons");
const DialogSpec kSunDialog = makeSpec("SunDialog", kSunControls, countOf(kSunControls), sizeof(SunMoonDialogValues),
                                       sunDlgFill, sunMoonSensitivity, sunDlgOk, "SunRowColumn", "SunButtons");
const DialogSpec kMoonDialog = makeSpec("MoonDialog", kMoonControls, countOf(kMoonControls),
                                        sizeof(SunMoonDialogValues), moonDlgFill, sunMoonSensitivity, moonDlgOk,
                                        "MoonRowColumn", "MoonButtons");
