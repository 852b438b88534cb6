// SHOW, HIDE and TOGGLE: display keywords and object names switch the bits
// of the chart's display bytes.
#include <cstddef>

#include "command/commands.h"
#include "command/display_words.h"
#include "command/interpreter.h"
#include "command/keywords.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/object_names.h"
#include "model/ui_hooks.h"
#include "model/body_names.h"
#include "render/layers/status_bar.h"

namespace {

constexpr uint8_t kMeteorKinds[] = {kSkyShowerMeteors, kSkySporadicMeteors};

// The display byte each keyword group sets. Groups not listed (MENUBAR,
// VIEW_CIRCLE and their kin) are accepted and change nothing.
struct DisplayGroup {
    int32_t group;
    uint8_t ChartState::*byte;
};

const DisplayGroup kDisplayGroups[] = {
    {kGroupJupiterMoons, &ChartState::jupiterMoonFlags},
    {kGroupStars, &ChartState::starFlags},
    {kGroupConstellations, &ChartState::constellationFlags},
    {kGroupNebulae, &ChartState::nebulaFlags},
    {kGroupNebulaTypes, &ChartState::nebulaTypeFlags},
    {kGroupNebulaCatalogs, &ChartState::nebulaCatalogFlags},
    {kGroupSky, &ChartState::skyFlags},
    {kGroupGridNumbers, &ChartState::gridNumberFlags},
    {kGroupHorizonGrid, &ChartState::horizonGridFlags},
    {kGroupEquatorialGrid, &ChartState::equatorialGridFlags},
    {kGroupOtherGrids, &ChartState::otherGridFlags},
    {kGroupLineNumbers, &ChartState::lineNumberFlags},
    {kGroupTrace, &ChartState::traceFlags},
    {kGroupUserObjects, &ChartState::userObjectFlags},
    {kGroupStatusBar, &ChartState::statusBar},
    {kGroupStarLabels, &ChartState::starLabelFlags},
    {kGroupMilkyWay, &ChartState::milkyWayFlags},
    {kGroupSkyMarks, &ChartState::skyMarkFlags},
    {kGroupPictureMarks, &ChartState::pictureMarkFlags},
};

// The tool-bar buttons that show a bit of a group.
struct GroupButton {
    int32_t group;
    uint8_t bit;
    int button;
};

const GroupButton kGroupButtons[] = {
    {kGroupConstellations, kConsName2, kToolbarConsname},
    {kGroupConstellations, kConsLine, kToolbarConsline},
    {kGroupNebulae, kNebulaShown, kToolbarNebula},
    {kGroupSky, kSkyDaylight, kToolbarDaylight},
    {kGroupHorizonGrid, kHrzGrid, kToolbarGridHrz},
    {kGroupEquatorialGrid, kEqtGridDate, kToolbarGridEqt},
    {kGroupTrace, kTraceOn, kToolbarTrace},
    {kGroupMilkyWay, kMilkyWayShown, kToolbarMilkyway},
    {kGroupPictureMarks, kPictureMarkShown, kToolbarPicMark},
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
    if ((chart->nebulaTypeFlags & kNebulaAllTypes) == 0 || (chart->nebulaCatalogFlags & kNebulaAllCatalogs) == 0) {
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
    if (group == kGroupSky && bits == kSkyMeteors) {
        // Each kind on its own: a toggle swaps shower and sporadic meteors.
        for (uint8_t kind : kMeteorKinds)
            byte = flagCombine(byte, kind, op);
        return;
    }
    byte = flagCombine(byte, bits, op);
    refreshGroupButtons(chart, group, bits);
    if (group == kGroupNebulaTypes || group == kGroupNebulaCatalogs)
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
