#include "ui/dialogs/star_dialogs.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/lexing.h"
#include "render/layers/gsc_stars.h"
#include "render/layers/sao_stars.h"

const char kNebulaLimitMinMax[] = "messageNebulaLimitMinMax";
const char kNebulaLimitRange[] = "messageNebulaLimitRange";

namespace {

#define SV(field) offsetof(StarDialogValues, field)
#define NV(field) offsetof(NebulaDialogValues, field)
constexpr DialogFixedResource kHorizontal = {"orientation", "horizontal"};
constexpr DialogFixedResource kNone = {nullptr, nullptr};
constexpr DialogFixedResource kUp = {"arrowDirection", "arrow_up"};
constexpr DialogFixedResource kDown = {"arrowDirection", "arrow_down"};
constexpr DialogFixedResource kFourColumns = {"columns", "4"};

// Rows named by the callbacks below.
enum StarRow {
    kRowFormStar, kRowToggleStar, kRowLabelMagLimit, kRowEditMagLimit, kRowMagUp, kRowMagDown,
    kRowSeparator1, kRowFormStarName, kRowToggleStarName, kRowToggleStarMag, kRowToggleStarBayer,
    kRowToggleStarFlamsteed, kRowLabelNameMagLimit, kRowEditNameMagLimit, kRowNameUp, kRowNameDown,
    kRowSeparator2, kRowRadioCatalog, kRowLabelCatalog, kRowRadioButtons, kRowCatalogStd, kRowCatalogSao,
    kRowCatalogGsc, kRowGscPath, kRowLabelGscPath, kRowTextGscPath, kStarRowCount
};

const DialogControl kStarControls[] = {
    {"FormStar", kControlRowColumn, kDialogMainParent, {kHorizontal, kNone}, kFieldNone, 0, 0, nullptr},
    {"ToggleStar", kControlToggle, kRowFormStar, {}, kFieldToggle, SV(star), 0, nullptr},
    {"LabelMagLimit", kControlLabel, kRowFormStar, {}, kFieldNone, 0, 0, nullptr},
    {"EditMagLimit", kControlTextField, kRowFormStar, {kFourColumns, kNone}, kFieldText, SV(magLimit),
     kStarDlgLimitSize, nullptr},
    {"ArrowMagLimitUp", kControlArrowButton, kRowFormStar, {kUp, kNone}, kFieldNone, 0, 0, nullptr},
    {"ArrowMagLimitDown", kControlArrowButton, kRowFormStar, {kDown, kNone}, kFieldNone, 0, 0, nullptr},
    {"Separator1", kControlSeparator, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"FormStarName", kControlRowColumn, kDialogMainParent, {kHorizontal, kNone}, kFieldNone, 0, 0, nullptr},
    {"ToggleStarName", kControlToggle, kRowFormStarName, {}, kFieldToggle, SV(starName), 0, nullptr},
    {"ToggleStarMag", kControlToggle, kRowFormStarName, {}, kFieldToggle, SV(starMag), 0, nullptr},
    {"ToggleStarBayer", kControlToggle, kRowFormStarName, {}, kFieldToggle, SV(bayer), 0, nullptr},
    {"ToggleStarFlamsteed", kControlToggle, kRowFormStarName, {}, kFieldToggle, SV(flamsteed), 0, nullptr},
    {"LabelNameMagLimit", kControlLabel, kRowFormStarName, {}, kFieldNone, 0, 0, nullptr},
    {"EditNameMagLimit", kControlTextField, kRowFormStarName, {kFourColumns, kNone}, kFieldText, SV(nameMagLimit),
     kStarDlgLimitSize, nullptr},
    {"ArrowNameMagLimitUp", kControlArrowButton, kRowFormStarName, {kUp, kNone}, kFieldNone, 0, 0, nullptr},
    {"ArrowNameMagLimitDown", kControlArrowButton, kRowFormStarName, {kDown, kNone}, kFieldNone, 0, 0, nullptr},
    {"Separator2", kControlSeparator, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    {"RadioCatalog", kControlRowColumn, kDialogMainParent, {kHorizontal, kNone}, kFieldNone, 0, 0, nullptr},
    {"LabelCatalog", kControlLabel, kRowRadioCatalog, {}, kFieldNone, 0, 0, nullptr},
    {"RadioCatalogButtons", kControlRowColumn, kRowRadioCatalog, {kHorizontal, {"radioBehavior", "True"}},
     kFieldNone, 0, 0, nullptr},
    {"CatalogStd", kControlToggle, kRowRadioButtons, {{"indicatorType", "one_of_many"}, kNone}, kFieldToggle,
     SV(catalogStd), 0, nullptr},
    {"CatalogSao", kControlToggle, kRowRadioButtons, {{"indicatorType", "one_of_many"}, kNone}, kFieldToggle,
     SV(catalogSao), 0, nullptr},
    {"CatalogGsc", kControlToggle, kRowRadioButtons, {{"indicatorType", "one_of_many"}, kNone}, kFieldToggle,
     SV(catalogGsc), 0, nullptr},
    {"RCGscPath", kControlRowColumn, kDialogMainParent, {kHorizontal, kNone}, kFieldNone, 0, 0, nullptr},
    {"LabelGscPath", kControlLabel, kRowGscPath, {}, kFieldNone, 0, 0, nullptr},
    {"TextGscPath", kControlTextField, kRowGscPath, {{"columns", "30"}, kNone}, kFieldText, SV(gscPath),
     kStarDlgPathSize, nullptr},
};
static_assert(sizeof kStarControls / sizeof kStarControls[0] == kStarRowCount, "one row per StarRow");

ToggleValue on(int bits) { return bits ? kToggleOn : kToggleOff; }

void writeLimit(char *field, double value, double lowest, double highest)
{
    if (value < lowest)
        value = lowest;
    if (value > highest)
        value = highest;
    std::snprintf(field, kStarDlgLimitSize, "%.1f", value);
}

// An arrow steps from what the field holds; a field that is no number steps from 0.
void stepField(char *field, int up, double lowest, double highest)
{
    writeLimit(field, std::strtod(field, nullptr) + (up ? 0.1 : -0.1), lowest, highest);
}

void starFill(const ChartState *chart, const AppData *app, void *values)
{
    starDlgFill(chart, app, saoFileExists(), gscAvailable(), static_cast<StarDialogValues *>(values));
}

void starSensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const StarDialogValues *>(values);
    const int star = v->star == kToggleOn;
    const int named = v->starName == kToggleOn || v->starMag == kToggleOn || v->bayer == kToggleOn ||
                      v->flamsteed == kToggleOn;
    for (int row : {kRowLabelMagLimit, kRowEditMagLimit, kRowMagUp, kRowMagDown, kRowToggleStarName,
                    kRowToggleStarMag, kRowToggleStarBayer, kRowToggleStarFlamsteed})
        sensitive[row] = static_cast<uint8_t>(star);
    for (int row : {kRowLabelNameMagLimit, kRowEditNameMagLimit, kRowNameUp, kRowNameDown})
        sensitive[row] = static_cast<uint8_t>(star && named);
    sensitive[kRowCatalogSao] = static_cast<uint8_t>(v->saoExists != 0);
    sensitive[kRowCatalogGsc] = static_cast<uint8_t>(v->gscUsable != 0);
}

void starOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const StarDialogValues *>(values);
    double limit = 0.0, nameLimit = 0.0;
    if (!dialogReadNumber(out, v->magLimit, &limit) || !dialogReadNumber(out, v->nameMagLimit, &nameLimit))
        return;
    // The catalogue goes first: it sets the upper end of the star limit.
    double highest = 6.5;
    if (v->catalogSao == kToggleOn) {
        dialogAddCommand(out, "STARDATA SAO");
        highest = 9.5;
    } else if (v->catalogGsc == kToggleOn) {
        dialogAddCommand(out, "STARDATA GSC");
        highest = 17.0;
    } else {
        dialogAddCommand(out, "STARDATA STD");
    }
    dialogAddToggleCommand(out, v->star, "STAR");
    dialogAddToggleCommand(out, v->starName, "STARNAME");
    dialogAddToggleCommand(out, v->starMag, "STAR_MAG");
    dialogAddToggleCommand(out, v->bayer, "BAYER");
    dialogAddToggleCommand(out, v->flamsteed, "FLAMSTEED");
    // Limits beyond the catalogue are clamped, not refused.
    char text[kStarDlgLimitSize + 8];
    writeLimit(text, limit, -2.0, highest);
    dialogAddCommand(out, "MAG STAR %s", text);
    writeLimit(text, nameLimit, -2.0, 10.0);
    dialogAddCommand(out, "MAG STARNAME %s", text);
    dialogAddCommand(out, "DRIVE");
}

enum NebulaRow {
    kRowFormNebula, kRowToggleNebula, kRowToggleNebulaLabel, kRowToggleNebulaMag, kRowNebulaSeparator1,
    kRowMessier, kRowNgc, kRowIc, kRowNebulaSeparator2, kRowGlobular, kRowPlanetary, kRowOpenCluster,
    kRowDiffuse, kRowGalaxy, kRowCompound, kRowNebulaSeparator3, kRowToggleLimit, kRowLabelMin, kRowLabelMax,
    kRowEditMin, kRowEditMax, kRowMinUp, kRowMinDown, kRowMaxUp, kRowMaxDown, kNebulaRowCount
};

#define NEBULA_TOGGLE(name, field) \
    {name, kControlToggle, kRowFormNebula, {}, kFieldToggle, NV(field), 0, nullptr}
#define NEBULA_PLAIN(name, cls, fixed) {name, cls, kRowFormNebula, {fixed, kNone}, kFieldNone, 0, 0, nullptr}

const DialogControl kNebulaControls[] = {
    // A form: each child stands where the fallback resources put it, the
    // limit fields with their arrows beside them.
    {"FormNebula", kControlForm, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    NEBULA_TOGGLE("ToggleNebula", nebula),
    NEBULA_TOGGLE("ToggleNebulaLabel", label),
    NEBULA_TOGGLE("ToggleNebulaMag", mag),
    NEBULA_PLAIN("Separator1", kControlSeparator, kNone),
    NEBULA_TOGGLE("ToggleNebulaMessier", messier),
    NEBULA_TOGGLE("ToggleNebulaNGC", ngc),
    NEBULA_TOGGLE("ToggleNebulaIC", ic),
    NEBULA_PLAIN("Separator2", kControlSeparator, kNone),
    NEBULA_TOGGLE("ToggleNebulaGlobular", globular),
    NEBULA_TOGGLE("ToggleNebulaPlanetary", planetary),
    NEBULA_TOGGLE("ToggleNebulaOpenCluster", openCluster),
    NEBULA_TOGGLE("ToggleNebulaDiffuse", diffuse),
    NEBULA_TOGGLE("ToggleNebulaGalaxy", galaxy),
    NEBULA_TOGGLE("ToggleNebulaCompound", compound),
    NEBULA_PLAIN("Separator3", kControlSeparator, kNone),
    NEBULA_TOGGLE("ToggleNebulaLimit", limit),
    NEBULA_PLAIN("LabelMagMinLimit", kControlLabel, kNone),
    NEBULA_PLAIN("LabelMagMaxLimit", kControlLabel, kNone),
    {"EditMagMinLimit", kControlTextField, kRowFormNebula, {kFourColumns, kNone}, kFieldText, NV(minLimit),
     kStarDlgLimitSize, nullptr},
    {"EditMagMaxLimit", kControlTextField, kRowFormNebula, {kFourColumns, kNone}, kFieldText, NV(maxLimit),
     kStarDlgLimitSize, nullptr},
    NEBULA_PLAIN("ArrowMagMinLimitUp", kControlArrowButton, kUp),
    NEBULA_PLAIN("ArrowMagMinLimitDown", kControlArrowButton, kDown),
    NEBULA_PLAIN("ArrowMagMaxLimitUp", kControlArrowButton, kUp),
    NEBULA_PLAIN("ArrowMagMaxLimitDown", kControlArrowButton, kDown),
};
static_assert(sizeof kNebulaControls / sizeof kNebulaControls[0] == kNebulaRowCount, "one row per NebulaRow");

void nebulaFill(const ChartState *chart, const AppData *, void *values)
{
    auto *v = static_cast<NebulaDialogValues *>(values);
    v->nebula = on(chart->nebulaFlags & kNebulaShown);
    v->label = on(chart->nebulaFlags & kNebulaName);
    v->mag = on(chart->nebulaFlags & kNebulaMag);
    v->messier = on(chart->nebulaCatalogFlags & kNebulaMessier);
    v->ngc = on(chart->nebulaCatalogFlags & kNebulaNgc);
    v->ic = on(chart->nebulaCatalogFlags & kNebulaIc);
    v->globular = on(chart->nebulaTypeFlags & kNebulaGlobular);
    v->planetary = on(chart->nebulaTypeFlags & kNebulaPlanetary);
    v->openCluster = on(chart->nebulaTypeFlags & kNebulaOpen);
    v->diffuse = on(chart->nebulaTypeFlags & kNebulaDiffuse);
    v->galaxy = on(chart->nebulaTypeFlags & kNebulaGalaxy);
    v->compound = on(chart->nebulaTypeFlags & kNebulaCompound);
    v->limit = on(chart->nebulaLimitOn);
    std::snprintf(v->minLimit, sizeof v->minLimit, "%.1f", chart->nebulaMin / 10.0);
    std::snprintf(v->maxLimit, sizeof v->maxLimit, "%.1f", chart->nebulaMax / 10.0);
}

void nebulaSensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const NebulaDialogValues *>(values);
    const int shown = v->nebula == kToggleOn;
    for (int row = kRowToggleNebulaLabel; row < kNebulaRowCount; row++)
        sensitive[row] = static_cast<uint8_t>(shown && (row <= kRowToggleLimit || v->limit == kToggleOn));
}

void nebulaOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const auto *v = static_cast<const NebulaDialogValues *>(values);
    double faint = 0.0, bright = 0.0;
    if (v->limit == kToggleOn) {
        if (!dialogReadNumber(out, v->minLimit, &faint) || !dialogReadNumber(out, v->maxLimit, &bright))
            return;
        // "Max." is the bright end: its magnitude may not be the larger one.
        if (bright > faint) {
            dialogRefuse(out, kNebulaLimitMinMax, "");
            return;
        }
        if (faint < kNebulaLimitLowest || faint > kNebulaLimitHighest || bright < kNebulaLimitLowest ||
            bright > kNebulaLimitHighest) {
            dialogRefuse(out, kNebulaLimitRange, "");
            return;
        }
    }
    const struct {
        ToggleValue value;
        const char *keyword;
    } toggles[] = {
        {v->messier, "MESSIER"}, {v->ngc, "NGC"},           {v->ic, "IC"},          {v->globular, "GLOBE"},
        {v->planetary, "PLANETARY"}, {v->openCluster, "OPEN"}, {v->diffuse, "DIFFUSE"}, {v->galaxy, "GALAXY"},
        {v->compound, "COMPOUND"}, {v->mag, "NEBULA_MAG"},  {v->label, "NEBULA_NAME"}, {v->nebula, "NEBULA"},
    };
    // NEBULA goes last: showing a catalogue or a type shows the deep-sky
    // objects too, and the dialog's own toggle must have the last word.
    for (const auto &t : toggles)
        dialogAddToggleCommand(out, t.value, t.keyword);
    if (v->limit == kToggleOn) {
        dialogAddCommand(out, "MAG NEBULAMIN %.1f", faint);
        dialogAddCommand(out, "MAG NEBULAMAX %.1f", bright);
        dialogAddCommand(out, "MAG NEBULALIMIT 1");
    } else {
        dialogAddCommand(out, "MAG NEBULALIMIT 0");
    }
    dialogAddCommand(out, "DRIVE");
}

} // namespace

void starDlgFill(const ChartState *chart, const AppData *app, int saoExists, int gscUsable, StarDialogValues *v)
{
    v->star = on(chart->starFlags & kStarShown);
    std::snprintf(v->magLimit, sizeof v->magLimit, "%.1f", chart->starLimit / 10.0);
    v->starName = on(chart->starLabelFlags & kStarLabelName);
    std::snprintf(v->nameMagLimit, sizeof v->nameMagLimit, "%.1f", chart->starNameLimit / 10.0);
    v->starMag = on(chart->starLabelFlags & kStarLabelMag);
    v->bayer = on(chart->starLabelFlags & kStarLabelBayer);
    v->flamsteed = on(chart->starLabelFlags & kStarLabelFlamsteed);
    v->saoExists = saoExists != 0;
    v->gscUsable = gscUsable != 0;
    // A catalogue chosen but missing shows the built-in one, which is what
    // the chart draws then.
    v->catalogStd = v->catalogSao = v->catalogGsc = kToggleOff;
    if (chart->starFlags & kStarsFromCatalogFile)
        (saoExists ? v->catalogSao : v->catalogStd) = kToggleOn;
    else if ((chart->starFlags & kStarsFromGsc) && gscUsable)
        v->catalogGsc = kToggleOn;
    else
        v->catalogStd = kToggleOn;
    strCopyBounded(v->gscPath, sizeof v->gscPath, app->gscPath);
}

void starDlgSpin(void *values, int control)
{
    auto *v = static_cast<StarDialogValues *>(values);
    if (control == kRowMagUp || control == kRowMagDown)
        stepField(v->magLimit, control == kRowMagUp, -2.0, 10.0);
    else if (control == kRowNameUp || control == kRowNameDown)
        stepField(v->nameMagLimit, control == kRowNameUp, -2.0, 10.0);
}

void nebulaDlgArrow(void *values, int control)
{
    auto *v = static_cast<NebulaDialogValues *>(values);
    if (control == kRowMinUp || control == kRowMinDown)
        stepField(v->minLimit, control == kRowMinUp, -2.0, 15.0);
    else if (control == kRowMaxUp || control == kRowMaxDown)
        stepField(v->maxLimit, control == kRowMaxUp, -2.0, 15.0);
}

const DialogSpec kStarDialog = {
    "StarDialog", kStarControls, kStarRowCount, sizeof(StarDialogValues), starFill, starSensitivity, starOk,
    nullptr,      nullptr,       0,             "StarRowColumn",          "StarButtons",
};

// The button row keeps the name it shares with the planet dialogs, so one
// layout line serves them all.
const DialogSpec kNebulaDialog = {
    "NebulaDialog", kNebulaControls,   kNebulaRowCount, sizeof(NebulaDialogValues),
    nebulaFill,     nebulaSensitivity, nebulaOk,        nullptr,
    nullptr,        0,                 "NebulaRowColumn", "PlanetButtons",
};
