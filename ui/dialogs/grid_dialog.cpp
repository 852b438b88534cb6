#include "ui/dialogs/grid_dialog.h"

#include <cstddef>

#include "model/chart_state.h"

namespace {

// One row of the table: for the Line, Grid and Scale toggles the keyword
// sent and the chart byte and bit that fill it.
struct GridToggle {
    const char *keyword;
    uint8_t ChartState::*byte;
    uint8_t bit;
};
struct GridRow {
    GridToggle line, grid, scale;
};

// The horizontal row's Line toggle stands for the meridian: the horizon
// itself belongs to the landscape.
const GridRow kGridRows[kGridDialogRows] = {
    {{"EQT_2000", &ChartState::equatorialGridFlags, kEqt2000},
     {"EQT_GRID_2000", &ChartState::equatorialGridFlags, kEqtGrid2000},
     {"EQT_GRID_2000_NUM", &ChartState::gridNumberFlags, kEqtGrid2000Num}},
    {{"EQT_1950", &ChartState::equatorialGridFlags, kEqt1950},
     {"EQT_GRID_1950", &ChartState::equatorialGridFlags, kEqtGrid1950},
     {"EQT_GRID_1950_NUM", &ChartState::gridNumberFlags, kEqtGrid1950Num}},
    {{"EQT_DATE", &ChartState::equatorialGridFlags, kEqtDate},
     {"EQT_GRID_DATE", &ChartState::equatorialGridFlags, kEqtGridDate},
     {"EQT_GRID_DATE_NUM", &ChartState::gridNumberFlags, kEqtGridDateNum}},
    {{"ECL", &ChartState::otherGridFlags, kEcl},
     {"ECL_GRID", &ChartState::otherGridFlags, kEclGrid},
     {"ECL_GRID_NUM", &ChartState::gridNumberFlags, kEclGridNum}},
    {{"GAL", &ChartState::otherGridFlags, kGal},
     {"GAL_GRID", &ChartState::otherGridFlags, kGalGrid},
     {"GAL_GRID_NUM", &ChartState::gridNumberFlags, kGalGridNum}},
    {{"MERIDIAN", &ChartState::horizonGridFlags, kMeridian},
     {"HRZ_GRID", &ChartState::horizonGridFlags, kHrzGrid},
     {"HRZ_GRID_NUM", &ChartState::gridNumberFlags, kHrzGridNum}},
};

// The words after "GRID " of the four radio toggles, in their order.
const char *const kGridModeWords[kGridDialogModes] = {"NORMAL", "MODE1", "MODE2", "MODE3"};

enum {
    kRowCtrl,
    kRowLine,
    kRowFirstGridChild, // 6 rows of a label and three toggles
    kRowSeparator1 = kRowFirstGridChild + 4 * kGridDialogRows,
    kRowModeCtrl,
    kRowModeLabel,
    kRowModeRadio,
    kRowFirstMode,
    kRowSeparator2 = kRowFirstMode + kGridDialogModes,
    kRowSolGrid,
    kGridControlCount
};

constexpr int gridChildRow(int row, int column) { return kRowFirstGridChild + 4 * row + column; }

#define GRID_TOGGLE(name, field, row)                                                                  \
    {name, kControlToggle, kRowLine, {}, kFieldToggle,                                                 \
     offsetof(GridDialogValues, field) + (row) * sizeof(ToggleValue), 0, nullptr}
#define GRID_ROW(r, label, line_, grid_, scale_)                                                       \
    {label, kControlLabel, kRowLine, {}, kFieldNone, 0, 0, nullptr}, GRID_TOGGLE(line_, line, r),          \
        GRID_TOGGLE(grid_, grid, r), GRID_TOGGLE(scale_, scale, r)
#define MODE_TOGGLE(name, n)                                                                           \
    {name, kControlToggle, kRowModeRadio, {{"indicatorType", "one_of_many"}, {nullptr, nullptr}}, kFieldToggle, \
     offsetof(GridDialogValues, mode) + (n) * sizeof(ToggleValue), 0, nullptr}

const DialogControl kGridControls[kGridControlCount] = {
    {"RCGridCtrl", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"RCGridLine", kControlRowColumn, kRowCtrl, {{"packing", "pack_column"}, {"numColumns", "6"}}, kFieldNone, 0,
     0, nullptr},
    GRID_ROW(0, "LabelEqt2000", "ToggleEqt2000", "ToggleEqt2000Grid", "ToggleEqt2000GridNum"),
    GRID_ROW(1, "LabelEqt1950", "ToggleEqt1950", "ToggleEqt1950Grid", "ToggleEqt1950GridNum"),
    GRID_ROW(2, "LabelEqtDate", "ToggleEqtDate", "ToggleEqtDateGrid", "ToggleEqtDateGridNum"),
    GRID_ROW(3, "LabelEcl", "ToggleEcl", "ToggleEclGrid", "ToggleEclGridNum"),
    GRID_ROW(4, "LabelGal", "ToggleGal", "ToggleGalGrid", "ToggleGalGridNum"),
    GRID_ROW(5, "LabelHrz", "ToggleHrz", "ToggleHrzGrid", "ToggleHrzGridNum"),
    {"Separator1", kControlSeparator, kRowCtrl, {}, kFieldNone, 0, 0, nullptr},
    {"RCGridMode", kControlRowColumn, kRowCtrl, {{"orientation", "horizontal"}, {nullptr, nullptr}}, kFieldNone, 0,
     0, nullptr},
    {"GridModeLabel", kControlLabel, kRowModeCtrl, {}, kFieldNone, 0, 0, nullptr},
    {"GridModeRadio", kControlRowColumn, kRowModeCtrl, {{"orientation", "horizontal"}, {nullptr, nullptr}},
     kFieldNone, 0, 0, nullptr},
    MODE_TOGGLE("RadioMode10", 0), MODE_TOGGLE("RadioMode05", 1), MODE_TOGGLE("RadioMode02", 2),
    MODE_TOGGLE("RadioMode01", 3),
    {"Separator2", kControlSeparator, kRowCtrl, {}, kFieldNone, 0, 0, nullptr},
    {"ToggleSolGrid", kControlToggle, kRowCtrl, {}, kFieldToggle, offsetof(GridDialogValues, solGrid), 0, nullptr},
};
#undef GRID_ROW
#undef GRID_TOGGLE
#undef MODE_TOGGLE

ToggleValue toggleOfBit(const ChartState *chart, const GridToggle &t)
{
    return chart->*t.byte & t.bit ? kToggleOn : kToggleOff;
}

void gridDlgFill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<GridDialogValues *>(out);
    for (int r = 0; r < kGridDialogRows; r++) {
        v->line[r] = toggleOfBit(chart, kGridRows[r].line);
        v->grid[r] = toggleOfBit(chart, kGridRows[r].grid);
        v->scale[r] = toggleOfBit(chart, kGridRows[r].scale);
    }
    gridDlgModeChanged(v, chart->gridNumberFlags & kGridSubdivisionMask);
    v->solGrid = chart->otherGridFlags & kSolGrid ? kToggleOn : kToggleOff;
    v->solarView = isSolarMode(chart->mode);
}

// A row's scale can be switched only while its grid is drawn.
void gridDlgSensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const GridDialogValues *>(values);
    for (int r = 0; r < kGridDialogRows; r++)
        sensitive[gridChildRow(r, 3)] = v->grid[r] == kToggleOn;
    sensitive[kRowSolGrid] = v->solarView != 0;
}

int gridDlgChanged(void *values, int control)
{
    if (control < kRowFirstMode || control >= kRowFirstMode + kGridDialogModes)
        return 0;
    gridDlgModeChanged(static_cast<GridDialogValues *>(values), control - kRowFirstMode);
    return 1;
}

// Every toggle is sent, whether it can be used in this view or not.
void gridDlgOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const GridDialogValues *>(values);
    for (int r = 0; r < kGridDialogRows; r++) {
        dialogAddToggleCommand(out, v->line[r], kGridRows[r].line.keyword);
        dialogAddToggleCommand(out, v->grid[r], kGridRows[r].grid.keyword);
        dialogAddToggleCommand(out, v->scale[r], kGridRows[r].scale.keyword);
    }
    const int mode = gridDlgSelectedMode(v);
    if (mode >= 0)
        dialogAddCommand(out, "GRID %s", kGridModeWords[mode]);
    dialogAddToggleCommand(out, v->solGrid, "SOL_GRID");
    dialogAddCommand(out, "DRIVE");
}

DialogSpec makeSpec()
{
    DialogSpec s = {"GridDialog", kGridControls, kGridControlCount, sizeof(GridDialogValues),
                    gridDlgFill, gridDlgSensitivity, gridDlgOk};
    s.changed = gridDlgChanged;
    s.rowColumnName = "GridRowColumn";
    // The time-step dialog's button row's name: resources for
    // *TimeStepButtons reach both.
    s.buttonsName = "TimeStepButtons";
    return s;
}

} // namespace

int gridDlgSelectedMode(const GridDialogValues *v)
{
    for (int n = 0; n < kGridDialogModes; n++)
        if (v->mode[n] == kToggleOn)
            return n;
    return -1;
}

void gridDlgModeChanged(GridDialogValues *v, int n)
{
    for (int k = 0; k < kGridDialogModes; k++)
        v->mode[k] = k == n ? kToggleOn : kToggleOff;
}

const DialogSpec kGridDialog = makeSpec();
