// SHOW, HIDE and TOGGLE: display keywords and object names switch the bits
// of the chart's display bytes.
#include <cstddef>

#include "command/commands.h"
#include "command/display_words.h"
#include "command/interpreter.h"
#include "command/keywords.h"
#include "model/chart_state.h"
#include "model/object_names.h"
#include "model/ui_hooks.h"
#include "model/body_names.h"
#include "render/layers/status_bar.h"

namespace {

// Keyword groups (code >> 8) with steps of their own.
enum : int32_t {
    kGroupNebula = 0x0C,
    kGroupNebulaType = 0x0D,
    kGroupNebulaCatalog = 0x0E,
    kGroupSky = 0x0F,
    kGroupStatusBar = 0x18,
};

// The six types; 0x04 is set by default but names no type, so it does not
// count as a type left.
constexpr uint8_t kNebulaTypeBits = 0x01 | 0x02 | 0x08 | 0x10 | 0x20 | 0x40;
constexpr uint8_t kMeteorWordBits = 0x08;                 // METEOR's code: both kinds below
constexpr uint8_t kMeteorKinds[] = {0x10, 0x20};          // shower, sporadic

// The display byte each keyword group sets. Groups not listed (MENUBAR,
// VIEW_CIRCLE and their kin) are accepted and change nothing.
struct DisplayGroup {
    int32_t group;
    uint8_t ChartState::*byte;
};

const DisplayGroup kDisplayGroups[] = {
    {0x05, &ChartState::jupiterMoonFlags},    {0x0A, &ChartState::starFlags},
    {0x0B, &ChartState::constellationFlags},  {kGroupNebula, &ChartState::nebulaFlags},
    {kGroupNebulaType, &ChartState::nebulaTypeFlags},
    {kGroupNebulaCatalog, &ChartState::nebulaCatalogFlags},
    {kGroupSky, &ChartState::skyFlags},       {0x10, &ChartState::gridNumberFlags},
    {0x11, &ChartState::horizonGridFlags},    {0x12, &ChartState::equatorialGridFlags},
    {0x13, &ChartState::otherGridFlags},      {0x14, &ChartState::lineNumberFlags},
    {0x16, &ChartState::traceFlags},          {0x17, &ChartState::userObjectFlags},
    {kGroupStatusBar, &ChartState::statusBar}, {0x19, &ChartState::starLabelFlags},
    {0x1A, &ChartState::milkyWayFlags},       {0x1C, &ChartState::skyMarkFlags},
    {0x1D, &ChartState::pictureMarkFlags},
};

// The tool-bar buttons that show a bit of a group.
struct GroupButton {
    int32_t group;
    uint8_t bit;
    int button;
};

const GroupButton kGroupButtons[] = {
    {0x0B, 0x02, kToolbarConsname}, {0x0B, 0x08, kToolbarConsline}, {kGroupNebula, 0x01, kToolbarNebula},
    {kGroupSky, 0x01, kToolbarDaylight}, {0x11, 0x01, kToolbarGridHrz}, {0x12, 0x04, kToolbarGridEqt},
    {0x16, 0x01, kToolbarTrace},       {0x1A, 0x04, kToolbarMilkyway}, {0x1D, 0x01, kToolbarPicMark},
};

const DisplayGroup *findGroup(int32_t group)
{
    for (const DisplayGroup &g : kDisplayGroups)
        if (g.group == group)
            return &g;
    return nullptr;
}

void refreshGroupButtons(ChartState *chart, int32_t group, uint8_t bits)
{
    for (const GroupButton &b : kGroupButtons)
        if (b.group == group)
            uiHooks.toolbarRefreshOne(chart, bits, b.bit, b.button);
}

// Deep-sky objects are shown by a SHOW of a type or catalogue, and hidden
// when no type or no catalogue is left: either empty set shows nothing.
void nebulaFollowsTypesAndCatalogues(ChartState *chart, int op)
{
    if (op == kFlagShow) {
        chart->nebulaFlags |= kNebulaShown;
        uiHooks.toolbarRefreshOne(chart, kNebulaShown, kNebulaShown, kToolbarNebula);
    }
    if ((chart->nebulaTypeFlags & kNebulaTypeBits) == 0 || (chart->nebulaCatalogFlags & kNebulaAllCatalogs) == 0) {
        chart->nebulaFlags &= static_cast<uint8_t>(~kNebulaShown);
        uiHooks.toolbarRefreshOne(chart, kNebulaShown, kNebulaShown, kToolbarNebula);
    }
}

void applyKeyword(ChartState *chart, int32_t code, int op)
{
    const int32_t group = code >> 8;
    const uint8_t bits = static_cast<uint8_t>(code & 0xFF);
    const DisplayGroup *g = findGroup(group);
    if (!g)
        return;
    uint8_t &byte = chart->*(g->byte);
    if (group == kGroupSky && bits == kMeteorWordBits) {
        // Each kind on its own: a toggle swaps shower and sporadic meteors.
        for (uint8_t kind : kMeteorKinds)
            byte = flagCombine(byte, kind, op);
        return;
    }
    byte = flagCombine(byte, bits, op);
    refreshGroupButtons(chart, group, bits);
    if (group == kGroupNebulaType || group == kGroupNebulaCatalog)
        nebulaFollowsTypesAndCatalogues(chart, op);
    else if (group == kGroupStatusBar)
        chart->chartRect.y = static_cast<int16_t>((byte & kStatusBarShown) ? statusBarHeight() : 0);
}

void applyToBytes(uint8_t *bytes, int32_t count, uint8_t bits, int op)
{
    for (int32_t i = 0; bytes && i < count; i++)
        bytes[i] = flagCombine(bytes[i], bits, op);
}

void applyObject(ChartState *chart, int32_t id, uint8_t bits, int op)
{
    if (id >= kObjectCometBase && id < kObjectCometBase + chart->cometCount) {
        applyToBytes(&chart->cometFlags[id - kObjectCometBase], 1, bits, op);
    } else if (id >= kObjectMinorPlanetBase && id < kObjectMinorPlanetBase + chart->minorPlanetCount) {
        applyToBytes(&chart->minorPlanetFlags[id - kObjectMinorPlanetBase], 1, bits, op);
    } else if (id == kObjectGroupComets) {
        applyToBytes(chart->cometFlags, chart->cometCount, bits, op);
    } else if (id == kObjectGroupMinorPlanets) {
        applyToBytes(chart->minorPlanetFlags, chart->minorPlanetCount, bits, op);
    } else if (id == kObjectSun) {
        chart->sunFlags = flagCombine(chart->sunFlags, bits, op);
    } else if (id == kObjectMoon) {
        chart->moonFlags = flagCombine(chart->moonFlags, bits, op);
    } else if ((id >= kObjectMercury && id <= kObjectPluto) || id == kObjectEarth || id == kObjectGroupPlanets) {
        if (id == kObjectGroupPlanets)
            applyToBytes(chart->planetFlags, kPlanetCount, bits, op);
        if (id == kObjectGroupPlanets || id == kObjectEarth)
            chart->earthFlags = flagCombine(chart->earthFlags, bits, op);
        else
            applyToBytes(&chart->planetFlags[id], 1, bits, op);
        uiHooks.toolbarRefreshOne(chart, bits, kBodyName, kToolbarPlanetname);
    }
}

void switchWords(ChartState *chart, char **params, int op)
{
    if (!params[0]) {
        stkSetError("stkErrorIllegalParam", nullptr);
        return;
    }
    // The first word that fails stops; the words before it stay applied.
    for (int i = 0; i < kStkMaxParams; i++)
        if (params[i] && !applyDisplayWord(chart, params[i], op))
            return;
}

} // namespace

int applyDisplayWord(ChartState *chart, char *word, int op)
{
    int32_t code;
    if (stkLookupKeyword(word, displayItemKeywords, &code)) {
        applyKeyword(chart, code, op);
        return 1;
    }
    int32_t id;
    uint8_t bits;
    if (!parseObjectName(chart, word, &id, &bits)) {
        stkSetError("stkErrorIllegalParam", word);
        return 0;
    }
    applyObject(chart, id, bits, op);
    return 1;
}

void stkCmdShow(ChartState *chart, char **params) { switchWords(chart, params, kFlagShow); }

void stkCmdHide(ChartState *chart, char **params) { switchWords(chart, params, kFlagHide); }

void stkCmdToggle(ChartState *chart, char **params) { switchWords(chart, params, kFlagToggle); }
