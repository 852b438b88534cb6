#include "ui/dialogs/element_dialogs.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <string>
#include <unordered_map>
#include <vector>

#include "command/interpreter.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/position.h"
#include "model/ui_hooks.h"

const uint8_t kElementToggleBits[kCometToggles] = {kEntryChosen, kEntryName,    kEntryDate,    kEntryMag,
                                                   kEntryOrbit,  kEntryIonTail, kEntryDustTail};

namespace {

// The gauge is shown from this divisor on (a load of many bodies).
constexpr int kGaugeFromDivisor = 101;
constexpr int kLineBufferSize = 1024;

// Order and bits of the commands sent per body.
struct BodyCommand {
    const char *format; // with the word's number
    uint8_t bit;
};
constexpr BodyCommand kCometCommands[] = {
    {"%s COMET%d_NAME;", kEntryName}, {"%s COMET%d_DATE;", kEntryDate}, {"%s COMET%d_MAG;", kEntryMag},
    {"%s COMET%d_OBT;", kEntryOrbit}, {"%s IONTAIL%d;", kEntryIonTail}, {"%s DUSTTAIL%d;", kEntryDustTail},
};
constexpr BodyCommand kMinorPlanetCommands[] = {
    {"%s MINORPLANET%d_NAME;", kEntryName},
    {"%s MINORPLANET%d_DATE;", kEntryDate},
    {"%s MINORPLANET%d_MAG;", kEntryMag},
    {"%s MINORPLANET%d_OBT;", kEntryOrbit},
};

bool containsUpper(const char *hay, const char *needle)
{
    const size_t n = std::strlen(needle);
    for (const char *h = hay; *h; ++h) {
        size_t k = 0;
        while (k < n && h[k] && stkUpperAscii(h[k]) == needle[k])
            ++k;
        if (k == n)
            return true;
    }
    return n == 0;
}

// An entry of an element line.
void fillEntry(ElementListEntry *e, const char *line, int64_t offset, uint8_t flags)
{
    static const ElementKeyField kOrder[] = {kKeyExtension, kKeyDesignation, kKeyId, kKeyName};
    char columns[kElementLineSize];
    elementLineColumns(line, columns);
    e->key[0] = '\0';
    for (ElementKeyField f : kOrder) {
        elementLineKey(columns, f, e->key);
        if (e->key[0])
            break;
    }
    std::memcpy(e->name, columns + 20, kElementNameSize - 1);
    int n = kElementNameSize - 1;
    while (n > 0 && e->name[n - 1] == ' ')
        --n;
    e->name[n] = '\0';
    e->offset = offset;
    e->flags = flags;
}

// The entry's own record: the indexed one when it is the entry's line, else
// the line at the entry's offset, which must still carry the entry's key.
bool entryRecord(const ElementListEntry *e, const char *elementFile, const char *indexFile, OrbitalElements *out)
{
    int64_t offset = -1;
    if (e->key[0] && readElementRecord(e->key, 0, out, elementFile, indexFile, &offset) && offset == e->offset)
        return true;
    if (!readElementRecordAt(elementFile, e->offset, out))
        return false;
    ElementListEntry check;
    fillEntry(&check, out->lineText, e->offset, 0);
    return std::strcmp(check.key, e->key) == 0;
}

// A LOOK/TRACK target or pick on a body of the table being rebuilt, held by
// the body's element line: its occurrence-th copy in the table is the body
// (the same line may be loaded twice).
struct BodyReference {
    bool held = false;
    char line[kElementLineSize];
    int occurrence = 0;
};

int32_t tableBase(ElementDialogKind kind) { return kind == kCometDialog ? kObjectCometBase : kObjectMinorPlanetBase; }
int32_t tableCount(const ChartState *chart, ElementDialogKind kind)
{
    return kind == kCometDialog ? chart->cometCount : chart->minorPlanetCount;
}
const OrbitalElements *tableRows(const ChartState *chart, ElementDialogKind kind)
{
    return kind == kCometDialog ? chart->cometElements : chart->minorPlanetElements;
}

BodyReference holdReference(const ChartState *chart, ElementDialogKind kind, bool isBody, int32_t id)
{
    BodyReference r;
    const int32_t row = id - tableBase(kind);
    if (!isBody || row < 0 || row >= tableCount(chart, kind))
        return r;
    const OrbitalElements *rows = tableRows(chart, kind);
    elementLineColumns(rows[row].lineText, r.line);
    char other[kElementLineSize];
    for (int32_t i = 0; i <= row; ++i) {
        elementLineColumns(rows[i].lineText, other);
        r.occurrence += std::strcmp(other, r.line) == 0;
    }
    r.held = true;
    return r;
}

// The held body's id in the rebuilt table; -1 when it is no longer there.
int32_t findReference(const ChartState *chart, ElementDialogKind kind, const BodyReference &r)
{
    const OrbitalElements *rows = tableRows(chart, kind);
    char other[kElementLineSize];
    for (int32_t i = 0, seen = 0; i < tableCount(chart, kind); ++i) {
        elementLineColumns(rows[i].lineText, other);
        if (std::strcmp(other, r.line) == 0 && ++seen == r.occurrence)
            return tableBase(kind) + i;
    }
    return -1;
}

// After the rebuild the target and the pick name their body again, or are
// dropped when it is gone: a number would name whatever body came to stand
// at it.
void followReferences(ChartState *chart, ElementDialogKind kind, const BodyReference &target,
                      const BodyReference &pick)
{
    if (target.held) {
        const int32_t id = findReference(chart, kind, target);
        if (id >= 0) {
            chart->trackIndex = id;
        } else {
            const bool wasTracking = chart->trackState == kTrackTarget;
            chart->trackState = kTrackNone;
            if (wasTracking) {
                uiHooks.toolbarRefreshOne(chart, 0, 0, kToolbarLookHrz);
                uiHooks.updateClickDataButtons(chart);
            }
        }
    }
    if (pick.held) {
        const int32_t id = findReference(chart, kind, pick);
        if (id >= 0)
            chart->hitIndex = id;
        else
            chart->hitKind = kHitKindNone;
    }
}

} // namespace

int elementToggleCount(ElementDialogKind kind) { return kind == kCometDialog ? kCometToggles : kMinorPlanetToggles; }

void formatElementItem(const char *key, const char *name, char *out)
{
    std::snprintf(out, kElementItemSize, "%-15.15s %-30.30s", key, name);
}

void elementEntryItem(const ElementListEntry *entry, char *out) { formatElementItem(entry->key, entry->name, out); }

void elementListFree(ElementList *list)
{
    std::free(list->entries);
    list->entries = nullptr;
    list->count = 0;
}

int elementListLoad(ElementList *list, const char *path)
{
    elementListFree(list);
    FILE *f = openRegularFile(path);
    if (!f)
        return kElementListNoFile;
    std::vector<ElementListEntry> entries;
    char text[kElementLineSize];
    int64_t offset = 0, bytes;
    try {
        while (readElementFileLine(f, text, &bytes)) {
            ElementListEntry e;
            fillEntry(&e, text, offset, 0);
            entries.push_back(e);
            offset += bytes;
        }
    } catch (const std::bad_alloc &) {
        std::fclose(f);
        return kElementListNoMemory;
    }
    std::fclose(f);
    if (entries.empty())
        return 0;
    list->entries = static_cast<ElementListEntry *>(std::malloc(sizeof(ElementListEntry) * entries.size()));
    if (!list->entries)
        return kElementListNoMemory;
    std::memcpy(list->entries, entries.data(), sizeof(ElementListEntry) * entries.size());
    list->count = static_cast<int>(entries.size());
    return list->count;
}

uint8_t elementDefaultFlags(ElementDialogKind kind)
{
    return kind == kCometDialog ? kEntryOrbit | kEntryIonTail | kEntryDustTail : kEntryOrbit;
}

void elementListResetFlags(ElementList *list, ElementDialogKind kind, const ChartState *chart)
{
    // The first entry of each item text: a table of thousands of bodies
    // against a list of thousands of lines is matched in one pass each.
    std::unordered_map<std::string, int> firstOfItem;
    char item[kElementItemSize];
    for (int i = list->count - 1; i >= 0; --i) {
        list->entries[i].flags = elementDefaultFlags(kind);
        elementEntryItem(&list->entries[i], item);
        firstOfItem[item] = i;
    }
    const int32_t n = tableCount(chart, kind);
    const OrbitalElements *els = tableRows(chart, kind);
    const uint8_t *flags = kind == kCometDialog ? chart->cometFlags : chart->minorPlanetFlags;
    for (int32_t b = n - 1; b >= 0; --b) {
        ElementListEntry body;
        fillEntry(&body, els[b].lineText, 0, 0);
        elementEntryItem(&body, item);
        const auto found = firstOfItem.find(item);
        if (found != firstOfItem.end())
            list->entries[found->second].flags = static_cast<uint8_t>(flags[b] | kEntryChosen);
    }
}

bool elementSelectionToggles(const ElementList *list, ElementDialogKind kind, const int *selected, int n,
                             ElementToggleState *out)
{
    if (n <= 0)
        return false;
    bool allChosen = true;
    for (int s = 0; s < n; ++s)
        allChosen = allChosen && (list->entries[selected[s]].flags & kEntryChosen);
    const uint8_t reference = list->entries[selected[0]].flags;
    for (int t = 0; t < kCometToggles; ++t) {
        if (t >= elementToggleCount(kind)) {
            out->value[t] = kElementToggleOff;
            out->sensitive[t] = false;
            continue;
        }
        const uint8_t bit = kElementToggleBits[t];
        bool same = true;
        for (int s = 1; s < n && same; ++s)
            same = ((list->entries[selected[s]].flags ^ reference) & bit) == 0;
        out->value[t] = !same ? kElementToggleMixed : (reference & bit) ? kElementToggleOn : kElementToggleOff;
        out->sensitive[t] = t == 0 || allChosen;
    }
    return true;
}

void elementApplyToggle(ElementList *list, const int *selected, int n, int toggle, bool on)
{
    if (toggle < 0 || toggle >= kCometToggles)
        return;
    const uint8_t bit = kElementToggleBits[toggle];
    for (int s = 0; s < n; ++s) {
        uint8_t &f = list->entries[selected[s]].flags;
        f = static_cast<uint8_t>(on ? f | bit : f & ~bit);
    }
}

int elementSearch(ElementList *list, const char *text, int topPosition)
{
    strCopyBounded(list->searchText, sizeof list->searchText, text);
    char upper[kElementSearchSize];
    size_t k = 0;
    for (; list->searchText[k]; ++k)
        upper[k] = stkUpperAscii(list->searchText[k]);
    upper[k] = '\0';
    if (list->count <= 0)
        return -1;
    int i = topPosition < 0 ? 0 : topPosition % list->count;
    for (int visited = 0; visited < list->count; ++visited, i = (i + 1) % list->count)
        if (containsUpper(list->entries[i].key, upper) || containsUpper(list->entries[i].name, upper))
            return i;
    return -1;
}

int elementGaugeDivisor(ElementDialogKind kind, int chosen) { return kind == kCometDialog ? chosen + 1 : chosen; }

bool elementGaugeNeeded(ElementDialogKind kind, int chosen)
{
    return elementGaugeDivisor(kind, chosen) >= kGaugeFromDivisor;
}

const char *elementGaugeTitle(ElementDialogKind kind)
{
    return kind == kCometDialog ? "messageReadingComets" : "messageReadingMinorPlanets";
}

int elementBodyCommands(ElementDialogKind kind, uint8_t flags, int n, char *out, int size)
{
    const BodyCommand *commands = kind == kCometDialog ? kCometCommands : kMinorPlanetCommands;
    const int count = kind == kCometDialog ? static_cast<int>(sizeof kCometCommands / sizeof kCometCommands[0])
                                           : static_cast<int>(sizeof kMinorPlanetCommands / sizeof kMinorPlanetCommands[0]);
    int used = 0;
    out[0] = '\0';
    for (int c = 0; c < count; ++c) {
        const int w = std::snprintf(out + used, static_cast<size_t>(size - used), commands[c].format,
                                    (flags & commands[c].bit) ? "SHOW" : "HIDE", n);
        if (w < 0 || w >= size - used)
            return 0;
        used += w;
    }
    return 1;
}

int elementDialogOk(ChartState *chart, ElementList *list, ElementDialogKind kind, const char *elementFile,
                    const char *indexFile)
{
    int chosen = 0;
    for (int i = 0; i < list->count; ++i)
        if (list->entries[i].flags & kEntryChosen)
            ++chosen;
    const bool gauge = elementGaugeNeeded(kind, chosen);
    const int divisor = elementGaugeDivisor(kind, chosen);
    if (gauge)
        uiHooks.openGaugeDialog(elementGaugeTitle(kind));
    // The rows are gathered aside: the gauge lets events run, and a command
    // run meanwhile may empty or refill the chart's tables.
    const char wanted = kind == kCometDialog ? 'C' : 'M';
    std::vector<OrbitalElements> records;
    std::vector<uint8_t> choices;
    for (int i = 0; i < list->count; ++i) {
        const ElementListEntry &e = list->entries[i];
        if (!(e.flags & kEntryChosen))
            continue;
        if (gauge) {
            uiHooks.gaugeDlgSetPercent(static_cast<int>(100LL * (static_cast<long long>(records.size()) + 1) / divisor));
            if (uiHooks.gaugeDlgCancelled())
                break;
        }
        OrbitalElements el;
        if (!entryRecord(&e, elementFile, indexFile, &el) || el.type != wanted)
            continue;
        records.push_back(el);
        choices.push_back(e.flags);
    }
    if (gauge)
        uiHooks.closeGaugeDialog();

    const BodyReference target =
        holdReference(chart, kind, chart->trackState != kTrackNone && (chart->trackKind & ~kTrackKindLockBit) == kPosBody,
                      chart->trackIndex);
    const BodyReference pick = holdReference(chart, kind, chart->hitKind == kPosBody, chart->hitIndex);
    if (kind == kCometDialog)
        clearComets(chart);
    else
        clearMinorPlanets(chart);
    int added = 0;
    for (const OrbitalElements &el : records) {
        if (!(kind == kCometDialog ? addComet(chart, &el) : addMinorPlanet(chart, &el)))
            break;
        ++added;
    }
    followReferences(chart, kind, target, pick);
    // Commands run after the table is whole: each may itself change it.
    for (int n = 1; n <= added; ++n) {
        char text[kLineBufferSize];
        if (elementBodyCommands(kind, choices[static_cast<size_t>(n - 1)], n, text, sizeof text))
            stkExecuteCall(chart, text);
    }
    stkExecuteCall(chart, "DRIVE");
    return added;
}
