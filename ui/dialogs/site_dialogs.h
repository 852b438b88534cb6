// The site dialogs, pure halves: the list of sites as the dialog shows it
// (each site with its line in the site file), the search through it, the
// edit fields to and from a site line and the edit checks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "model/site_list.h"
#include "ui/dialogs/dialog_kit.h"

// One listed site: the sites the site-list reader accepts, in file order,
// each with the 1-based number of its line, which Edit and Remove hand to
// siteFileRewrite (lines it skips stay in the file and shift nothing).
struct SiteListEntry {
    char name[kSiteListNameSize]; // trailing blanks dropped
    int32_t lineNumber;
};

struct SiteListState {
    SiteListEntry *entries; // malloc'd
    int count, capacity;
};

// Reads path into list (emptied first). 1 when read; 0 when it cannot be
// opened, -1 when the list cannot grow (the sites read so far stay).
int siteListRead(const char *path, SiteListState *list);
void siteListFree(SiteListState *list);

// The list after a successful rewrite of the file: a new site first (every
// other line moves down one), an edited one renamed, a removed one gone (the
// lines after it move up one). 0 when the list cannot grow.
int siteListInsertFirst(SiteListState *list, const char *name);
void siteListRename(SiteListState *list, int index, const char *name);
void siteListRemove(SiteListState *list, int index);

// The index (0-based) of the site named name, -1 when none.
int siteListFind(const SiteListState *list, const char *name);

// Searches for text (any case) in the names, from index start on, wrapping
// once through all of them; the index found or -1.
int siteListSearch(const SiteListState *list, const char *text, int start);

// "SiteDialog": the list, its buttons and "Make it default site". The
// record holds the listed sites; fill reads them from the site file at
// every opening.
struct SiteDialogValues {
    DialogItems names;        // SiteList: the listed sites' names, the selected one
    ToggleValue makeDefault;  // ToggleMakeDefault
    int32_t writable;         // the site file may be written
    SiteListState sites;      // the same sites with their lines, in list order
    // Kept from one opening to the next, zeroed when the dialog is built:
    char lastSearch[kSiteListNameSize * 2]; // the search dialog's last text
    int32_t editIndex;                      // the edited site's index, -1 for a new one
    char editOriginal[kSiteLineLength + 2]; // its line as it was, line end included
};
extern const DialogSpec kSiteDialog;

// What the site dialog shows for chart of the sites in v->sites: its site
// selected, the toggle off, Edit, New and Remove usable only when writable.
void siteDialogFill(const ChartState *chart, int writable, SiteDialogValues *v);

// The list shows v->sites again, with position (1-based, 0 none) selected:
// after an edit changed them.
void siteDialogShowSites(SiteDialogValues *v, int position);

// The text that moves the chart to site: LOCATE ...;DRIVE.
void siteLocateCommands(const Site *site, DialogResult *out);

// The default site from now on, in this run and in the options file.
void siteMakeDefault(const char *name);

// "SiteEditDialog": one site line in fields.
constexpr int kSiteEditDegSize = 4, kSiteEditMinSize = 3, kSiteEditAltSize = 5, kSiteEditZoneSize = 6;
struct SiteEditValues {
    char name[kSiteListNameSize];        // NameText
    char longDeg[kSiteEditDegSize];      // LongDeg
    char longMin[kSiteEditMinSize];      // LongMin
    ToggleValue east, west;              // LongE, LongW
    char latiDeg[kSiteEditDegSize];
    char latiMin[kSiteEditMinSize];
    ToggleValue north, south;            // LatiN, LatiS
    char alti[kSiteEditAltSize];         // AltiText: metres
    ToggleValue zonePlus, zoneMinus;     // TZPlus, TZMinus
    char zoneHours[kSiteEditZoneSize];   // TZHour: 0 to 14, the sign is the radio box's
};
extern const DialogSpec kSiteEditDialog;

// The line a new site starts from: no name, 0 E, 0 N, altitude 0, zone +00.00.
extern const char kSiteNewTemplate[];

// The fields of a site line (without its line end); 0 when it is no site line.
int siteEditFromLine(const char *line, size_t length, SiteEditValues *v);

// The edit checks in order, for the site at index `edited` of list (-1 for a
// new one). 1 with the composed 71-byte line (newline included) in line (at
// least kSiteLineLength + 1 bytes); else 0 with the refusal in out.
int siteEditCompose(const SiteEditValues *v, const SiteListState *list, int edited, char *line, DialogResult *out);

// Message resources of the site dialogs.
extern const char kMessageSelectSiteToEdit[], kMessageSelectSiteToDel[], kMessageConfirmDeleteSite[];
extern const char kMessageNoPlaceFileFound[], kMessageCannotOpenFile[], kMessageCannotWriteFile[];
