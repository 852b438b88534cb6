#include "tests/ui/example_dialog.h"

#include <cstddef>
#include <cstdio>

#include "model/chart_state.h"

namespace {

const char *const kGridItems[] = {"NORMAL", "MODE1", "MODE2", "MODE3", nullptr};

const DialogControl kControls[] = {
    {"ExampleLimitRow", kControlRowColumn, kDialogMainParent, {{"orientation", "horizontal"}, {nullptr, nullptr}},
     kFieldNone, 0, 0, nullptr},
    {"ToggleFixedLimit", kControlToggle, 0, {}, kFieldToggle, offsetof(ExampleDialogValues, fixedLimit), 0, nullptr},
    {"TextStarLimit", kControlTextField, 0, {{"columns", "6"}, {nullptr, nullptr}}, kFieldText,
     offsetof(ExampleDialogValues, starLimit), sizeof(ExampleDialogValues::starLimit), nullptr},
    {"ToggleStatusBar", kControlToggle, kDialogMainParent, {}, kFieldToggle, offsetof(ExampleDialogValues, statusBar),
     0, nullptr},
    {"TogglePlanetNames", kControlToggle, kDialogMainParent, {}, kFieldToggle,
     offsetof(ExampleDialogValues, planetNames), 0, nullptr},
    {"LabelGrid", kControlLabel, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"ListGrid", kControlList, kDialogMainParent, {}, kFieldListPosition, offsetof(ExampleDialogValues, gridMode), 0,
     kGridItems},
};

void fill(const ChartState *chart, const AppData *, void *out)
{
    auto *v = static_cast<ExampleDialogValues *>(out);
    v->fixedLimit = chart->starLimitSet != 0 ? kToggleOn : kToggleOff;
    std::snprintf(v->starLimit, sizeof v->starLimit, "%.1f", chart->starLimit / 10.0);
    v->statusBar = chart->statusBar & kStatusBarShown ? kToggleOn : kToggleOff;
    v->planetNames = toggleValueOfBits(chart->planetFlags, kPlanetCount, kBodyName);
    v->gridMode = (chart->gridNumberFlags & kGridSubdivisionMask) + 1;
}

void sensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const ExampleDialogValues *>(values);
    sensitive[2] = v->fixedLimit == kToggleOn; // TextStarLimit
}

void ok(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const ExampleDialogValues *>(values);
    if (v->fixedLimit == kToggleOn) {
        double limit = 0.0;
        if (!dialogReadNumber(out, v->starLimit, &limit))
            return;
        dialogAddCommand(out, "MAG STAR %g", limit);
    }
    dialogAddToggleCommand(out, v->statusBar, "STATUSBAR");
    dialogAddToggleCommand(out, v->planetNames, "PLANET_NAME");
    if (v->gridMode >= 1 && v->gridMode <= 4)
        dialogAddCommand(out, "GRID %s", kGridItems[v->gridMode - 1]);
    dialogAddCommand(out, "DRIVE");
}

} // namespace

const DialogSpec kExampleDialog = {
    "ExampleDialog", kControls, sizeof kControls / sizeof kControls[0], sizeof(ExampleDialogValues),
    fill,            sensitivity, ok,
};
