#include "ui/dialogs/center_dialogs.h"

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "model/app_data.h"
#include "model/body_names.h"
#include "model/chart_state.h"
#include "model/deep_sky_names.h"
#include "model/lexing.h"
#include "model/position.h"
#include "model/star_names.h"
#include "model/user_objects.h"
#include "render/layers/user_objects.h"
#include "resources/catalogs.h"
#include "ui/dialogs/body_dialogs.h"
#include "ui/dialogs/center_element_items.h"

namespace {

const char kStarFormat[] = "LOOK STAR \"%s\"; BLINK \"%s\"";
const char kConstFormat[] = "LOOK CONS \"%s\"";
const char kUserObjectFormat[] = "LOOK AD \"%s\"";
const char kSkyMarkFormat[] = "LOOK SKYMARK \"%s\"";
const char kBodyFormat[] = "LOOK %s; BLINK %s";

const char kMessageCenterEarth[] = "messageCenterEarthOnNonSol";
const char kMessageNoSuchNebula[] = "messageNoSuchANebula";

// The Galilean moons' command names; CALLISTO, not the scene files' CALLIST.
const char *const kMoonCommandNames[kGalileanMoonCount] = {"IO", "EUROPA", "GANYMEDE", "CALLISTO"};
constexpr int kFirstMoonBodyName = 9; // in AppData.bodyNames, after the nine planets

// A list's items as the kit takes them: texts kept by the list.
struct CenterList {
    std::vector<std::string> texts;
    std::vector<const char *> items;

    const char *const *publish(int *count)
    {
        items.clear();
        for (const std::string &t : texts)
            items.push_back(t.c_str());
        *count = static_cast<int>(items.size());
        return items.data();
    }
    const char *at(int32_t position) const
    {
        return position >= 1 && position <= static_cast<int32_t>(texts.size()) ? texts[position - 1].c_str()
                                                                               : nullptr;
    }
    int32_t count() const { return static_cast<int32_t>(texts.size()); }
};

// The position kept by the last OK (0 before any: the first item).
int32_t positionWithin(const void *values, int32_t count)
{
    const int32_t position = static_cast<const CenterListValues *>(values)->keptPosition;
    if (count <= 0)
        return 0;
    return position >= 1 && position <= count ? position : 1;
}

void fillPosition(void *out, int32_t position) { static_cast<CenterListValues *>(out)->position = position; }

void keepPosition(void *values, int32_t position) { static_cast<CenterListValues *>(values)->keptPosition = position; }

// The item chosen at OK, or null: then the dialog stays as it is.
const char *chosenItem(const CenterList &list, const void *values, DialogResult *out)
{
    const char *item = list.at(static_cast<const CenterListValues *>(values)->position);
    if (!item)
        out->stayOpen = 1;
    return item;
}

int32_t chosenPosition(const void *values, int32_t count, DialogResult *out)
{
    const int32_t p = static_cast<const CenterListValues *>(values)->position;
    if (p < 1 || p > count) {
        out->stayOpen = 1;
        return 0;
    }
    return p;
}

// ---- the lists ------------------------------------------------------------------

// A default chart for resolving names while a list is built; freed with it.
std::unique_ptr<ChartState> newScratchChart()
{
    std::unique_ptr<ChartState> chart(new ChartState{});
    chartStateSetDefaults(chart.get());
    return chart;
}

// 1 when name, given to the interpreter after `keyword` (LOOK STAR "name") and
// alone (BLINK "name"), names object `row` of that kind both times. Some
// names stand for something else first: the star Men (alpha Lupi) is also
// the abbreviation of Mensa, which a bare name finds before any star. Asked
// of a scratch chart of the list's own, since resolving a name may switch a
// display on.
int nameReachesRow(ChartState *scratch, const char *keyword, int32_t wantKind, const char *name, int32_t row,
                   bool alone)
{
    char word[16], text[kStkTextSize];
    strCopyBounded(word, sizeof word, keyword);
    strCopyBounded(text, sizeof text, name);
    int32_t kind = 0, index = -1, used = 0;
    double values[2] = {0.0, 0.0};
    if (!parsePositionSpec(scratch, word, text, nullptr, &kind, &index, values, &used) || kind != wantKind ||
        index != row)
        return 0;
    if (!alone)
        return 1;
    strCopyBounded(text, sizeof text, name);
    return parsePositionSpecAny(scratch, text, nullptr, nullptr, &kind, &index, values, &used) && kind == wantKind &&
           index == row;
}

// Built once: the name file is read at start-up and never again.
CenterList &starList()
{
    static CenterList list;
    static bool built = false;
    if (!built) {
        built = true;
        std::vector<const char *> names;
        const std::unique_ptr<ChartState> scratch = newScratchChart();
        for (int32_t i = 0; i < starNameCount; i++) {
            const char *name = starNameText(starNames[i]);
            if (centerNameSendable(kStarFormat, name) &&
                nameReachesRow(scratch.get(), "STAR", kPosStar, name, starNames[i].index, true))
                names.push_back(name);
        }
        std::qsort(names.data(), names.size(), sizeof names[0], compareStarNames);
        list.texts.assign(names.begin(), names.end());
    }
    return list;
}

CenterList &constList()
{
    static CenterList list;
    static bool built = false;
    if (!built) {
        built = true;
        std::vector<const char *> names;
        const std::unique_ptr<ChartState> scratch = newScratchChart();
        for (int32_t i = 0; i < constellationSearchCount; i++) {
            const ConstellationEntry &c = constellations[i];
            const char *name = c.localName ? c.localName : c.latinName;
            if (centerNameSendable(kConstFormat, name) && nameReachesRow(scratch.get(), "CONS", kPosCons, name, i, false))
                names.push_back(name);
        }
        std::qsort(names.data(), names.size(), sizeof names[0], compareConstNames);
        list.texts.assign(names.begin(), names.end());
    }
    return list;
}

CenterList &planetList(const AppData *app)
{
    static CenterList list;
    list.texts.clear();
    for (int r = 0; r < kPlanetDialogRows; r++)
        list.texts.emplace_back(planetDialogItem(app, r));
    return list;
}

// The localized names of the application record; a name not read gives the
// command name.
CenterList &moonList(const AppData *app)
{
    static CenterList list;
    list.texts.clear();
    for (int i = 0; i < kGalileanMoonCount; i++) {
        const char *local = app ? app->bodyNames[kFirstMoonBodyName + i] : nullptr;
        list.texts.emplace_back(local ? local : kMoonCommandNames[i]);
    }
    return list;
}

CenterList &cometList(const ChartState *chart)
{
    static CenterList list;
    list.texts.clear();
    centerElementItems(chart->cometElements, chart->cometCount, &list.texts);
    return list;
}

CenterList &minorPlanetList(const ChartState *chart)
{
    static CenterList list;
    list.texts.clear();
    centerElementItems(chart->minorPlanetElements, chart->minorPlanetCount, &list.texts);
    return list;
}

// User objects are listed only while they are drawn.
CenterList &userObjectList(const ChartState *chart)
{
    static CenterList list;
    list.texts.clear();
    if (chart->userObjectFlags & kUserObjectShownBit)
        userObjectListFill(chart->userObjectFiles, chart->userObjectFileCount, kUserObjectFormat, &list.texts);
    return list;
}

CenterList &skyMarkList(const AppData *app)
{
    static CenterList list;
    list.texts.clear();
    if (app)
        userObjectListFill(app->skyMarkFiles, app->skyMarkFileCount, kSkyMarkFormat, &list.texts);
    return list;
}

// ---- star -----------------------------------------------------------------------

const char *const *starItems(const ChartState *, const AppData *, int, int *count) { return starList().publish(count); }
void starFill(const ChartState *, const AppData *, void *out)
{
    fillPosition(out, positionWithin(out, starList().count()));
}
void starOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const char *name = chosenItem(starList(), values, out);
    if (!name)
        return;
    keepPosition(values, static_cast<const CenterListValues *>(values)->position);
    dialogAddStatements(out, kStarFormat, name, name);
}

// ---- planet ---------------------------------------------------------------------

const char *const *planetItems(const ChartState *, const AppData *app, int, int *count)
{
    return planetList(app).publish(count);
}
void planetFill(const ChartState *, const AppData *, void *out)
{
    fillPosition(out, positionWithin(out, kPlanetDialogRows));
}
void planetOk(void *values, const ChartState *chart, const AppData *, DialogResult *out)
{
    const int32_t p = chosenPosition(values, kPlanetDialogRows, out);
    if (!p)
        return;
    keepPosition(values, p);
    // The Earth has a place on the chart only in the solar-system view.
    if (p - 1 == kPlanetDialogEarthRow && !isSolarMode(chart->mode)) {
        dialogRefuse(out, kMessageCenterEarth, "");
        return;
    }
    const char *name = bodyCommandName(kPlanetDialogIds[p - 1]);
    dialogAddStatements(out, kBodyFormat, name, name);
}

// ---- comet and minor planet -----------------------------------------------------

// The remembered body is found again by its text, wherever the table now
// holds it.
void elementFill(const CenterList &list, void *out)
{
    const char *kept = static_cast<const CenterListValues *>(out)->keptItem;
    int32_t position = list.count() > 0 ? 1 : 0;
    for (int32_t i = 0; i < list.count(); i++)
        if (kept[0] && list.texts[static_cast<size_t>(i)] == kept) {
            position = i + 1;
            break;
        }
    fillPosition(out, position);
}

void elementOk(const CenterList &list, const char *word, void *values, DialogResult *out)
{
    const char *item = chosenItem(list, values, out);
    if (!item)
        return;
    auto *v = static_cast<CenterListValues *>(values);
    strCopyBounded(v->keptItem, sizeof v->keptItem, item);
    const int32_t p = static_cast<const CenterListValues *>(values)->position;
    dialogAddStatements(out, "LOOK %s%d; BLINK %s%d", word, static_cast<int>(p), word, static_cast<int>(p));
}

const char *const *cometItems(const ChartState *chart, const AppData *, int, int *count)
{
    return cometList(chart).publish(count);
}
void cometFill(const ChartState *chart, const AppData *, void *out)
{
    elementFill(cometList(chart), out);
}
void cometOk(void *values, const ChartState *chart, const AppData *, DialogResult *out)
{
    elementOk(cometList(chart), "COMET", values, out);
}

const char *const *minorPlanetItems(const ChartState *chart, const AppData *, int, int *count)
{
    return minorPlanetList(chart).publish(count);
}
void minorPlanetFill(const ChartState *chart, const AppData *, void *out)
{
    elementFill(minorPlanetList(chart), out);
}
void minorPlanetOk(void *values, const ChartState *chart, const AppData *, DialogResult *out)
{
    elementOk(minorPlanetList(chart), "MINORPLANET", values, out);
}

// ---- Galilean moon --------------------------------------------------------------

const char *const *moonItems(const ChartState *, const AppData *app, int, int *count)
{
    return moonList(app).publish(count);
}
void moonFill(const ChartState *, const AppData *, void *out)
{
    fillPosition(out, positionWithin(out, kGalileanMoonCount));
}
void moonOk(void *values, const ChartState *chart, const AppData *, DialogResult *out)
{
    // The solar-system view has no place for Jupiter's moons.
    if (isSolarMode(chart->mode)) {
        out->stayOpen = 1;
        return;
    }
    const int32_t p = chosenPosition(values, kGalileanMoonCount, out);
    if (!p)
        return;
    keepPosition(values, p);
    dialogAddStatements(out, kBodyFormat, kMoonCommandNames[p - 1], kMoonCommandNames[p - 1]);
}

// ---- constellation --------------------------------------------------------------

const char *const *constItems(const ChartState *, const AppData *, int, int *count)
{
    return constList().publish(count);
}
void constFill(const ChartState *, const AppData *, void *out)
{
    fillPosition(out, positionWithin(out, constList().count()));
}
void constOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    const char *name = chosenItem(constList(), values, out);
    if (!name)
        return;
    keepPosition(values, static_cast<const CenterListValues *>(values)->position);
    dialogAddStatements(out, kConstFormat, name);
}

// ---- user object and sky mark ---------------------------------------------------

const char *const *userObjectItems(const ChartState *chart, const AppData *, int, int *count)
{
    return userObjectList(chart).publish(count);
}
void userObjectFill(const ChartState *chart, const AppData *, void *out)
{
    fillPosition(out, userObjectList(chart).count() > 0 ? 1 : 0);
}
void userObjectOk(void *values, const ChartState *chart, const AppData *, DialogResult *out)
{
    if (const char *name = chosenItem(userObjectList(chart), values, out))
        dialogAddStatements(out, kUserObjectFormat, name);
}

const char *const *skyMarkItems(const ChartState *, const AppData *app, int, int *count)
{
    return skyMarkList(app).publish(count);
}
void skyMarkFill(const ChartState *, const AppData *app, void *out)
{
    fillPosition(out, skyMarkList(app).count() > 0 ? 1 : 0);
}
void skyMarkOk(void *values, const ChartState *, const AppData *app, DialogResult *out)
{
    if (const char *name = chosenItem(skyMarkList(app), values, out))
        dialogAddStatements(out, kSkyMarkFormat, name);
}

// ---- deep-sky object ------------------------------------------------------------

const char kCatalogLetters[kCenterNebulaCatalogs] = {'M', 'N', 'I'};

enum { kNebulaRowRadio, kNebulaRowFirstCatalog, kNebulaRowNumberCtrl = kNebulaRowFirstCatalog + kCenterNebulaCatalogs,
       kNebulaRowNumberLabel, kNebulaRowNumber };

#define CATALOG_TOGGLE(name, n)                                                                            \
    {name, kControlToggle, kNebulaRowRadio, {{"indicatorType", "one_of_many"}, {nullptr, nullptr}}, kFieldToggle, \
     offsetof(CenterNebulaValues, catalog) + (n) * sizeof(ToggleValue), 0, nullptr}
const DialogControl kNebulaControls[] = {
    {"RadioType", kControlRowColumn, kDialogMainParent, {{"orientation", "horizontal"}, {nullptr, nullptr}},
     kFieldNone, 0, 0, nullptr},
    CATALOG_TOGGLE("ToggleTypeM", 0),
    CATALOG_TOGGLE("ToggleTypeNGC", 1),
    CATALOG_TOGGLE("ToggleTypeIC", 2),
    {"RCNumberCtrl", kControlRowColumn, kDialogMainParent, {{"orientation", "horizontal"}, {nullptr, nullptr}},
     kFieldNone, 0, 0, nullptr},
    {"LabelNumber", kControlLabel, kNebulaRowNumberCtrl, {}, kFieldNone, 0, 0, nullptr},
    {"EditNumber", kControlTextField, kNebulaRowNumberCtrl, {{"width", "50"}, {nullptr, nullptr}}, kFieldText,
     offsetof(CenterNebulaValues, number), sizeof(CenterNebulaValues::number), nullptr},
};
#undef CATALOG_TOGGLE

void selectCatalog(CenterNebulaValues *v, int n)
{
    for (int k = 0; k < kCenterNebulaCatalogs; k++)
        v->catalog[k] = k == n ? kToggleOn : kToggleOff;
}

void centerNebulaDlgFill(const ChartState *, const AppData *, void *out)
{
    auto *v = static_cast<CenterNebulaValues *>(out);
    selectCatalog(v, v->keptCatalog);
    std::snprintf(v->number, sizeof v->number, "%d", v->keptNumber > 0 && v->keptNumber < 100000 ? static_cast<int>(v->keptNumber) : 1);
}

int nebulaChanged(void *values, int control)
{
    if (control < kNebulaRowFirstCatalog || control >= kNebulaRowFirstCatalog + kCenterNebulaCatalogs)
        return 0;
    selectCatalog(static_cast<CenterNebulaValues *>(values), control - kNebulaRowFirstCatalog);
    return 1;
}

void nebulaOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    auto *v = static_cast<CenterNebulaValues *>(values);
    int catalog = 0;
    while (catalog < kCenterNebulaCatalogs && v->catalog[catalog] != kToggleOn)
        catalog++;
    if (catalog == kCenterNebulaCatalogs) {
        out->stayOpen = 1;
        return;
    }
    const long number = std::strtol(v->number, nullptr, 10);
    char designation[32];
    std::snprintf(designation, sizeof designation, "%c%ld", kCatalogLetters[catalog], number);
    int32_t index = 0;
    if (!parseNebulaName(designation, &index)) {
        dialogRefuse(out, kMessageNoSuchNebula, designation);
        return;
    }
    v->keptCatalog = catalog;
    v->keptNumber = static_cast<int32_t>(number);
    dialogAddStatements(out, "LOOK NEBULA %s; BLINK NEBULA %s", designation, designation);
}

// ---- the specs ------------------------------------------------------------------

#define CENTER_LIST(name, visible)                                                                         \
    {                                                                                                      \
        {name, kControlList, kDialogMainParent, {{"selectionPolicy", "browse_select"}, {"visibleItemCount", visible}}, \
         kFieldListPosition, offsetof(CenterListValues, position), 0, nullptr},                            \
    }
const DialogControl kStarListControls[] = CENTER_LIST("StarList", "12");
const DialogControl kPlanetListControls[] = CENTER_LIST("PlanetList", "9");
const DialogControl kCometListControls[] = CENTER_LIST("CometList", "12");
const DialogControl kMPlanetListControls[] = CENTER_LIST("MPlanetList", "12");
const DialogControl kJoviSatListControls[] = CENTER_LIST("JoviSatList", "4");
const DialogControl kConstListControls[] = CENTER_LIST("ConstList", "12");
const DialogControl kObjectListControls[] = CENTER_LIST("ObjectList", "12");
#undef CENTER_LIST

using FillFn = void (*)(const ChartState *, const AppData *, void *);
using OkFn = void (*)(void *, const ChartState *, const AppData *, DialogResult *);
using ItemsFn = const char *const *(*)(const ChartState *, const AppData *, int, int *);

DialogSpec listSpec(const char *name, const DialogControl *list, FillFn fill, OkFn ok, ItemsFn items,
                    const char *rowColumn, const char *buttons)
{
    DialogSpec s = {name, list, 1, sizeof(CenterListValues), fill, nullptr, ok};
    s.keptOffset = offsetof(CenterListValues, keptPosition);
    s.listItems = items;
    s.listDoubleClickIsOk = 1;
    s.rowColumnName = rowColumn;
    s.buttonsName = buttons;
    return s;
}

DialogSpec nebulaSpec()
{
    DialogSpec s = {"CenterNebulaDialog", kNebulaControls, sizeof kNebulaControls / sizeof kNebulaControls[0],
                    sizeof(CenterNebulaValues), centerNebulaDlgFill, nullptr, nebulaOk};
    s.changed = nebulaChanged;
    s.keptOffset = offsetof(CenterNebulaValues, keptCatalog);
    s.rowColumnName = "NebulaRowColumn";
    s.buttonsName = "NebulaButtons";
    return s;
}

int compareNames(const void *a, const void *b)
{
    return std::strcmp(*static_cast<const char *const *>(a), *static_cast<const char *const *>(b));
}

} // namespace

int compareStarNames(const void *a, const void *b) { return compareNames(a, b); }
int compareConstNames(const void *a, const void *b) { return compareNames(a, b); }

int centerNameSendable(const char *format, const char *name)
{
    if (!name || !name[0] || !isSendableName(name, kStkTextSize))
        return 0;
    const int n = std::snprintf(nullptr, 0, format, name, name);
    return n >= 0 && n < kStkTextSize;
}

int userObjectListFill(const UserObjectFileEntry *files, int count, const char *format,
                       std::vector<std::string> *items)
{
    int added = 0;
    for (int f = 0; files && f < count; f++) {
        const UserObject *table = files[f].table;
        for (int32_t k = 0; table && k < files[f].count && table[k].type != kUserObjectTableEnd; k++) {
            if (!centerNameSendable(format, table[k].name))
                continue;
            items->emplace_back(table[k].name);
            added++;
        }
    }
    return added;
}

const DialogSpec kCenterStarDialog =
    listSpec("CenterStarDialog", kStarListControls, starFill, starOk, starItems, "StarRowColumn", "StarButtons");
const DialogSpec kCenterNebulaDialog = nebulaSpec();
const DialogSpec kCenterPlanetDialog = listSpec("CenterPlanetDialog", kPlanetListControls, planetFill, planetOk,
                                                planetItems, "PlanetRowColumn", "PlanetButtons");
const DialogSpec kCenterCometDialog = listSpec("CenterCometDialog", kCometListControls, cometFill, cometOk,
                                               cometItems, "CometRowColumn", "CometButtons");
const DialogSpec kCenterMPlanetDialog =
    listSpec("CenterMPlanetDialog", kMPlanetListControls, minorPlanetFill, minorPlanetOk, minorPlanetItems,
             "MPlanetRowColumn", "MPlanetButtons");
const DialogSpec kCenterJoviSatDialog = listSpec("CenterJoviSatDialog", kJoviSatListControls, moonFill, moonOk,
                                                 moonItems, "JoviSatRowColumn", "JoviSatButtons");
const DialogSpec kCenterConstDialog = listSpec("CenterConstDialog", kConstListControls, constFill, constOk,
                                               constItems, "ConstRowColumn", "ConstButtons");
const DialogSpec kCenterUserObjectDialog =
    listSpec("CenterUserObjectDialog", kObjectListControls, userObjectFill, userObjectOk, userObjectItems,
             "UserObjectRowColumn", "UserObjectButtons");
const DialogSpec kCenterSkyMarkDialog = listSpec("CenterSkyMarkDialog", kObjectListControls, skyMarkFill, skyMarkOk,
                                                 skyMarkItems, "SkyMarkRowColumn", "SkyMarkButtons");
