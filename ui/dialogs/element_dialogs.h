// The comet and minor-planet dialogs without X: the list of an element file
// (one entry a line), the display choice kept per entry, the toggles' state
// over a selection, the search, and OK, which refills the chart's table and
// sends each body's display commands.
//
// An entry's key is the first non-empty of its line's extension,
// designation, id and name, trimmed and upper-cased as the index stores
// keys: many lines share an extension (69 comets "73P/Schwassmann") or have
// none (3,290 minor planets), so the extension alone names no single line.
// The entry also keeps its line's offset, and OK uses the indexed record only
// when it is that very line.
#pragma once

#include <cstdint>

#include "astro/orbit_records.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/ephemeris.h"

struct ChartState;

enum ElementDialogKind { kCometDialog, kMinorPlanetDialog };

// Display-choice bits of an entry: the chart's display bits ("chosen" is
// the shown bit).
enum : uint8_t {
    kEntryChosen = kBodyShown,
    kEntryName = kBodyName,
    kEntryMag = kBodyMag,
    kEntryDate = kBodyDate,
    kEntryOrbit = kBodyOrbit,
    kEntryDustTail = kCometDustTail,
    kEntryIonTail = kCometIonTail,
};

// The toggles in their order (Show, Name, Date, Mag, Orbit, Ion Tail, Dust
// Tail); the minor-planet dialog has the first kMinorPlanetToggles.
constexpr int kCometToggles = 7;
constexpr int kMinorPlanetToggles = 5;
extern const uint8_t kElementToggleBits[kCometToggles];
int elementToggleCount(ElementDialogKind kind);

constexpr int kElementItemSize = 47;     // "%-15.15s %-30.30s" and its terminator
constexpr int kElementSearchSize = 256;

struct ElementListEntry {
    char key[kElementKeySize];
    char name[kElementNameSize];  // columns 20-49, trailing blanks removed
    int64_t offset;               // the line's byte offset in the element file
    uint8_t flags;
};

struct ElementList {
    ElementListEntry *entries;
    int count;
    char searchText[kElementSearchSize]; // the last search, empty at start
};

// The list item of a body: key and name, "%-15.15s %-30.30s", into
// out[kElementItemSize]. The centre-on-object dialogs show bodies the same way.
void formatElementItem(const char *key, const char *name, char *out);
void elementEntryItem(const ElementListEntry *entry, char *out);

// Results of elementListLoad besides a count.
enum { kElementListNoFile = -1, kElementListNoMemory = -2 };

// Reads every line of path into list (emptied first), in file order.
// Returns the count, kElementListNoFile or kElementListNoMemory (list then
// empty).
int elementListLoad(ElementList *list, const char *path);
void elementListFree(ElementList *list);

// Default display choice of an entry of a body the chart does not hold.
uint8_t elementDefaultFlags(ElementDialogKind kind);

// Every entry its default; then each body of the chart's table (from the
// last to the first) marks the first entry of its item chosen with its
// display byte.
void elementListResetFlags(ElementList *list, ElementDialogKind kind, const ChartState *chart);

// The toggles over a selection (0-based entry indices, in any order).
enum ElementToggleValue { kElementToggleOff, kElementToggleOn, kElementToggleMixed };
struct ElementToggleState {
    ElementToggleValue value[kCometToggles];
    bool sensitive[kCometToggles];
};
// false when nothing is selected (the toggles stay as they are).
bool elementSelectionToggles(const ElementList *list, ElementDialogKind kind, const int *selected, int n,
                             ElementToggleState *out);
// Toggle `toggle` set (on) or cleared in every selected entry.
void elementApplyToggle(ElementList *list, const int *selected, int n, int toggle, bool on);

// The search: text (cut to 255 bytes) becomes the list's last search; from
// the entry after the top visible one (topPosition: its 1-based position, 0
// for none) every entry is visited once, wrapping; an entry matches when its
// key or name contains the text, any case (ASCII). The index of the match,
// or -1.
int elementSearch(ElementList *list, const char *text, int topPosition);

// The gauge: opened when the divisor exceeds 100; percentage of body k
// (1-based) is 100 k / divisor.
int elementGaugeDivisor(ElementDialogKind kind, int chosen);
bool elementGaugeNeeded(ElementDialogKind kind, int chosen);
const char *elementGaugeTitle(ElementDialogKind kind);

// The display commands of body number n (1-based) with choice flags, into
// out[size]: "SHOW COMET1_NAME;HIDE COMET1_DATE;..." (comets also their
// tails). 0 when it does not fit.
int elementBodyCommands(ElementDialogKind kind, uint8_t flags, int n, char *out, int size);

// OK: the chosen entries' records are read (their own lines), gathered
// aside while the gauge runs (it may let other commands run), then the
// chart's table is emptied and refilled with them in list order, each body's
// commands are run, and "DRIVE" last. Only 'C' lines join the comet table
// and 'M' lines the minor-planet table. Returns the bodies added.
int elementDialogOk(ChartState *chart, ElementList *list, ElementDialogKind kind, const char *elementFile,
                    const char *indexFile);
