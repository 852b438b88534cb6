#include "ui/dialogs/site_dialogs.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <initializer_list>

#include <unistd.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/options.h"

const char kMessageSelectSiteToEdit[] = "messageSelectSiteToEdit";
const char kMessageSelectSiteToDel[] = "messageSelectSiteToDel";
const char kMessageConfirmDeleteSite[] = "messageConfirmDeleteSite";
const char kMessageNoPlaceFileFound[] = "messageNoPlaceFileFound";
const char kMessageCannotOpenFile[] = "messageCannotOpenFile";
const char kMessageCannotWriteFile[] = "messageCannotWriteFile";

// 43 blanks (the name, its gap and the longitude's first digits), then the rest.
const char kSiteNewTemplate[] = "                                           0.000E  0.000N    0 +00.00 ";

namespace {

// ---- the list --------------------------------------------------------------------

int grow(SiteListState *list)
{
    if (list->count < list->capacity)
        return 1;
    const int capacity = list->capacity ? list->capacity * 2 : 64;
    void *more = std::realloc(list->entries, static_cast<size_t>(capacity) * sizeof(SiteListEntry));
    if (!more)
        return 0;
    list->entries = static_cast<SiteListEntry *>(more);
    list->capacity = capacity;
    return 1;
}

// Names compared as the file holds them: 40 columns, blank-padded.
int sameName40(const char *a, const char *b)
{
    char pa[kSiteNameLength + 1], pb[kSiteNameLength + 1];
    std::snprintf(pa, sizeof pa, "%-40.40s", a);
    std::snprintf(pb, sizeof pb, "%-40.40s", b);
    return std::strcmp(pa, pb) == 0;
}

// ---- SiteDialog ------------------------------------------------------------------

#define SD(field) offsetof(SiteDialogValues, field)
constexpr DialogFixedResource kNone = {nullptr, nullptr};
constexpr DialogFixedResource kHorizontal = {"orientation", "horizontal"};

enum SiteRow {
    kRowRCSite, kRowSiteList, kRowObsButtons, kRowSearch, kRowEdit, kRowAdd, kRowDel, kRowMakeDefault, kSiteRowCount
};
const DialogControl kSiteControls[] = {
    {"RCSite", kControlRowColumn, kDialogMainParent, {kHorizontal, kNone}, kFieldNone, 0, 0, nullptr},
    {"SiteList", kControlList, kRowRCSite, {{"selectionPolicy", "browse_select"}, {"visibleItemCount", "12"}},
     kFieldItems, SD(names), 0, nullptr},
    {"ObsButtons", kControlRowColumn, kRowRCSite, {}, kFieldNone, 0, 0, nullptr},
    {"ButtonSearch", kControlPushButton, kRowObsButtons, {}, kFieldNone, 0, 0, nullptr},
    {"ButtonEditSite", kControlPushButton, kRowObsButtons, {}, kFieldNone, 0, 0, nullptr},
    {"ButtonAddSite", kControlPushButton, kRowObsButtons, {}, kFieldNone, 0, 0, nullptr},
    {"ButtonDelSite", kControlPushButton, kRowObsButtons, {}, kFieldNone, 0, 0, nullptr},
    {"ToggleMakeDefault", kControlToggle, kDialogMainParent, {}, kFieldToggle, SD(makeDefault), 0, nullptr},
};
static_assert(sizeof kSiteControls / sizeof kSiteControls[0] == kSiteRowCount, "one row per SiteRow");

void siteSensitivity(const void *values, uint8_t *sensitive)
{
    const auto *v = static_cast<const SiteDialogValues *>(values);
    for (int row : {kRowEdit, kRowAdd, kRowDel})
        sensitive[row] = static_cast<uint8_t>(v->writable != 0);
}

void siteFill(const ChartState *chart, const AppData *app, void *values)
{
    auto *v = static_cast<SiteDialogValues *>(values);
    siteListRead(app->siteFile, &v->sites); // unreadable: an empty list
    siteDialogFill(chart, access(app->siteFile, W_OK) == 0, v);
}

// The selected site as the site file holds it now; none chosen or none
// found there leaves the dialog as it is.
void siteOk(void *values, const ChartState *, const AppData *app, DialogResult *out)
{
    const auto *v = static_cast<const SiteDialogValues *>(values);
    const int32_t position = v->names.position;
    Site site{};
    double where[3], zone = 0.0;
    if (position >= 1 && position <= v->sites.count)
        strCopyBounded(site.name, sizeof site.name, v->sites.entries[position - 1].name);
    if (!site.name[0] || !findSiteIn(app->siteFile, site.name, where, &zone)) {
        out->stayOpen = 1;
        return;
    }
    site.latitude = where[0];
    site.longitude = where[1];
    site.altitude = static_cast<int>(where[2]);
    site.zone = zone;
    siteLocateCommands(&site, out);
}

void siteAccepted(const void *values, ChartState *)
{
    const auto *v = static_cast<const SiteDialogValues *>(values);
    if (v->makeDefault == kToggleOn)
        siteMakeDefault(v->sites.entries[v->names.position - 1].name);
}

void siteRelease(void *values) { siteListFree(&static_cast<SiteDialogValues *>(values)->sites); }

DialogSpec siteSpec()
{
    // OK and Cancel head the column of buttons beside the list.
    DialogSpec s = {"SiteDialog", kSiteControls, kSiteRowCount, sizeof(SiteDialogValues), siteFill, siteSensitivity,
                    siteOk,       nullptr,       nullptr,       0,                        "RCAll",  "ObsButtons"};
    s.accepted = siteAccepted;
    s.release = siteRelease;
    s.keptOffset = offsetof(SiteDialogValues, lastSearch);
    return s;
}

// ---- SiteEditDialog --------------------------------------------------------------

#define SE(field) offsetof(SiteEditValues, field)
#define SE_TEXT(name, parent, field, columns)                                                                   \
    {name, kControlTextField, parent, {{"columns", columns}, kNone}, kFieldText, SE(field), sizeof(SiteEditValues::field), \
     nullptr}
#define SE_LABEL(name, parent) {name, kControlLabel, parent, {}, kFieldNone, 0, 0, nullptr}
#define SE_ROW(name, parent, fixed2) {name, kControlRowColumn, parent, {kHorizontal, fixed2}, kFieldNone, 0, 0, nullptr}
#define SE_RADIO(name, parent, field)                                                                            \
    {name, kControlToggle, parent, {{"indicatorType", "one_of_many"}, kNone}, kFieldToggle, SE(field), 0, nullptr}
constexpr DialogFixedResource kRadio = {"radioBehavior", "True"};

// Rows named as parents below.
enum SiteEditRow {
    kRowEditCtrls = 0, kRowName = 1, kRowLong = 4, kRowLongRadio = 10, kRowLati = 13, kRowLatiRadio = 19,
    kRowAlti = 22, kRowTz = 26, kRowTzRadio = 28, kRowEditButtons = 33, kSiteEditRowCount
};
const DialogControl kSiteEditControls[] = {
    {"RCSiteEditCtrls", kControlRowColumn, kDialogMainParent, {}, kFieldNone, 0, 0, nullptr},
    SE_ROW("RCName", kRowEditCtrls, kNone),
    SE_LABEL("NameLabel", kRowName),
    SE_TEXT("NameText", kRowName, name, "40"),
    SE_ROW("RCLong", kRowEditCtrls, kNone),
    SE_LABEL("LongLabel", kRowLong),
    SE_TEXT("LongDeg", kRowLong, longDeg, "3"),
    SE_LABEL("LongDegLabel", kRowLong),
    SE_TEXT("LongMin", kRowLong, longMin, "2"),
    SE_LABEL("LongMinLabel", kRowLong),
    SE_ROW("LongRadio", kRowLong, kRadio),
    SE_RADIO("LongE", kRowLongRadio, east),
    SE_RADIO("LongW", kRowLongRadio, west),
    SE_ROW("RCLati", kRowEditCtrls, kNone),
    SE_LABEL("LatiLabel", kRowLati),
    SE_TEXT("LatiDeg", kRowLati, latiDeg, "3"),
    SE_LABEL("LatiDegLabel", kRowLati),
    SE_TEXT("LatiMin", kRowLati, latiMin, "2"),
    SE_LABEL("LatiMinLabel", kRowLati),
    SE_ROW("LatiRadio", kRowLati, kRadio),
    SE_RADIO("LatiN", kRowLatiRadio, north),
    SE_RADIO("LatiS", kRowLatiRadio, south),
    SE_ROW("RCAlti", kRowEditCtrls, kNone),
    SE_LABEL("AltiLabel", kRowAlti),
    SE_TEXT("AltiText", kRowAlti, alti, "4"),
    SE_LABEL("AltiUnitLabel", kRowAlti),
    SE_ROW("RCTZ", kRowEditCtrls, kNone),
    SE_LABEL("TZLabel", kRowTz),
    SE_ROW("TZRadio", kRowTz, kRadio),
    SE_RADIO("TZPlus", kRowTzRadio, zonePlus),
    SE_RADIO("TZMinus", kRowTzRadio, zoneMinus),
    SE_TEXT("TZHour", kRowTz, zoneHours, "5"),
    SE_LABEL("TZHourLabel", kRowTz),
    {"ObsButtons", kControlRowColumn, kDialogMainParent, {kHorizontal, kNone}, kFieldNone, 0, 0, nullptr},
};
static_assert(sizeof kSiteEditControls / sizeof kSiteEditControls[0] == kSiteEditRowCount, "one row per line");

void editFillNothing(const ChartState *, const AppData *, void *) {}

// A whole number in a field (blanks around it allowed); 0 when it is none.
int fieldInt(const char *text, long *out)
{
    char *end = nullptr;
    errno = 0;
    const long v = std::strtol(text, &end, 10);
    if (end == text || errno == ERANGE || !strIsBlank(end))
        return 0;
    *out = v;
    return 1;
}

// Degrees and minutes of an angle: each in its range and the whole within
// `limit` degrees; refuses with the field's own message.
int angleOf(const char *degText, const char *minText, long limit, const char *degMessage, const char *minMessage,
            const char *wholeMessage, double *out, DialogResult *r)
{
    long deg = 0, min = 0;
    if (!fieldInt(degText, &deg) || deg < 0 || deg > limit) {
        dialogRefuse(r, degMessage, degText);
        return 0;
    }
    if (!fieldInt(minText, &min) || min < 0 || min > 59) {
        dialogRefuse(r, minMessage, minText);
        return 0;
    }
    const double whole = static_cast<double>(deg) + static_cast<double>(min) / 60.0;
    if (whole > static_cast<double>(limit)) {
        dialogRefuse(r, wholeMessage, degText);
        return 0;
    }
    *out = whole;
    return 1;
}

void editOkNothing(void *, const ChartState *, const AppData *, DialogResult *) {}

// Degrees and minutes of a column value: minutes rounded, 60 carried.
void degMinOf(double value, char *deg, char *min)
{
    long d = static_cast<long>(value);
    long m = static_cast<long>(std::floor((value - static_cast<double>(d)) * 60.0 + 0.5));
    if (m >= 60) {
        d++;
        m -= 60;
    }
    char text[24];
    std::snprintf(text, sizeof text, "%ld", d);
    strCopyBounded(deg, kSiteEditDegSize, text);
    std::snprintf(text, sizeof text, "%ld", m);
    strCopyBounded(min, kSiteEditMinSize, text);
}

} // namespace

// ---- the list --------------------------------------------------------------------

int siteListRead(const char *path, SiteListState *list)
{
    list->count = 0;
    FILE *file = openRegularFile(path);
    if (!file)
        return 0;
    char *line = nullptr;
    size_t capacity = 0, length = 0;
    int32_t lineNumber = 0, result = 1;
    while (siteFileReadLine(file, &line, &capacity, &length)) {
        ++lineNumber;
        Site site;
        if (!siteLineParse(line, length, &site))
            continue;
        if (!grow(list)) {
            result = -1;
            break;
        }
        SiteListEntry &e = list->entries[list->count++];
        std::memcpy(e.name, site.name, sizeof e.name);
        e.lineNumber = lineNumber;
    }
    std::free(line);
    std::fclose(file);
    return result;
}

void siteListFree(SiteListState *list)
{
    std::free(list->entries);
    *list = SiteListState{};
}

int siteListInsertFirst(SiteListState *list, const char *name)
{
    if (!grow(list))
        return 0;
    std::memmove(list->entries + 1, list->entries, static_cast<size_t>(list->count) * sizeof(SiteListEntry));
    list->count++;
    for (int i = 1; i < list->count; i++)
        list->entries[i].lineNumber++;
    strCopyBounded(list->entries[0].name, sizeof list->entries[0].name, name);
    list->entries[0].lineNumber = 1;
    return 1;
}

void siteListRename(SiteListState *list, int index, const char *name)
{
    if (index >= 0 && index < list->count)
        strCopyBounded(list->entries[index].name, sizeof list->entries[index].name, name);
}

void siteListRemove(SiteListState *list, int index)
{
    if (index < 0 || index >= list->count)
        return;
    const int32_t gone = list->entries[index].lineNumber;
    std::memmove(list->entries + index, list->entries + index + 1,
                 static_cast<size_t>(list->count - index - 1) * sizeof(SiteListEntry));
    list->count--;
    for (int i = 0; i < list->count; i++)
        if (list->entries[i].lineNumber > gone)
            list->entries[i].lineNumber--;
}

int siteListFind(const SiteListState *list, const char *name)
{
    for (int i = 0; i < list->count; i++)
        if (std::strcmp(list->entries[i].name, name) == 0)
            return i;
    return -1;
}

int siteListSearch(const SiteListState *list, const char *text, int start)
{
    if (list->count <= 0)
        return -1;
    char wanted[kSiteListNameSize * 4];
    strCopyBounded(wanted, sizeof wanted, text);
    strUpper(wanted);
    if (start < 0 || start >= list->count)
        start = 0;
    for (int k = 0; k < list->count; k++) {
        const int i = (start + k) % list->count;
        char name[kSiteListNameSize];
        strCopyBounded(name, sizeof name, list->entries[i].name);
        strUpper(name);
        if (std::strstr(name, wanted))
            return i;
    }
    return -1;
}

// ---- SiteDialog ------------------------------------------------------------------

void siteDialogFill(const ChartState *chart, int writable, SiteDialogValues *v)
{
    char current[sizeof chart->siteName];
    strCopyBounded(current, sizeof current, chart->siteName);
    current[strTrimmedLength(current)] = '\0';
    siteDialogShowSites(v, siteListFind(&v->sites, current) + 1);
    v->makeDefault = kToggleOff;
    v->writable = writable != 0;
}

void siteDialogShowSites(SiteDialogValues *v, int position)
{
    dialogItemsFree(&v->names);
    for (int i = 0; i < v->sites.count; i++)
        if (!dialogItemsAdd(&v->names, v->sites.entries[i].name))
            break; // the sites after it are not offered
    v->names.position = position >= 1 && position <= v->names.count ? position : 0;
}

void siteLocateCommands(const Site *site, DialogResult *out)
{
    // The name is one the site-list reader accepted: it holds no quote or ";".
    dialogAddStatements(out, "LOCATE %.5f%c,%.5f%c,%.2f,%.2f,\"%s\";DRIVE", std::fabs(site->longitude),
                        site->longitude < 0 ? 'W' : 'E', std::fabs(site->latitude), site->latitude < 0 ? 'S' : 'N',
                        site->zone, static_cast<double>(site->altitude), site->name);
}

void siteMakeDefault(const char *name)
{
    strCopyBounded(appData->siteName, sizeof appData->siteName, name);
    appData->siteName[strTrimmedLength(appData->siteName)] = '\0';
    optionSet("SiteName", appData->siteName);
}

const DialogSpec kSiteDialog = siteSpec();

// ---- SiteEditDialog --------------------------------------------------------------

int siteEditFromLine(const char *line, size_t length, SiteEditValues *v)
{
    Site site;
    if (!siteLineParse(line, length, &site))
        return 0;
    *v = SiteEditValues{};
    strCopyBounded(v->name, sizeof v->name, site.name);
    degMinOf(std::fabs(site.longitude), v->longDeg, v->longMin);
    v->east = line[48] == 'E' ? kToggleOn : kToggleOff;
    v->west = v->east == kToggleOn ? kToggleOff : kToggleOn;
    degMinOf(std::fabs(site.latitude), v->latiDeg, v->latiMin);
    v->south = line[56] == 'S' ? kToggleOn : kToggleOff;
    v->north = v->south == kToggleOn ? kToggleOff : kToggleOn;
    std::snprintf(v->alti, sizeof v->alti, "%d", site.altitude);
    std::memcpy(v->zoneHours, line + 64, 5);
    v->zoneHours[5] = '\0';
    v->zoneMinus = line[63] == '-' ? kToggleOn : kToggleOff;
    v->zonePlus = v->zoneMinus == kToggleOn ? kToggleOff : kToggleOn;
    return 1;
}

int siteEditCompose(const SiteEditValues *v, const SiteListState *list, int edited, char *line, DialogResult *out)
{
    Site site{};
    std::snprintf(site.name, sizeof site.name, "%.40s", v->name);
    site.name[strTrimmedLength(site.name)] = '\0';
    if (strIsBlank(site.name)) {
        dialogRefuse(out, "messageMustSpecSiteName", "");
        return 0;
    }
    // The name travels in LOCATE ...,"name": a quote would end it, a
    // semicolon the statement.
    if (!isSendableName(site.name, sizeof site.name) || std::strchr(site.name, '\t')) {
        dialogRefuse(out, "messageInvalidSiteName", site.name);
        return 0;
    }
    for (int i = 0; i < list->count; i++)
        if (i != edited && sameName40(list->entries[i].name, site.name)) {
            dialogRefuse(out, "messageSiteAlreadyExist", site.name);
            return 0;
        }
    double lon = 0.0, lat = 0.0;
    if (!angleOf(v->longDeg, v->longMin, 180, "messageInvalidSiteLongDeg", "messageInvalidSiteLongMin",
                 "messageInvalidSiteLong", &lon, out) ||
        !angleOf(v->latiDeg, v->latiMin, 90, "messageInvalidSiteLatiDeg", "messageInvalidSiteLatiMin",
                 "messageInvalidSiteLati", &lat, out))
        return 0;
    long alt = 0;
    if (!fieldInt(v->alti, &alt) || alt < -999 || alt > 9999) {
        dialogRefuse(out, "messageInvalidSiteAlti", v->alti);
        return 0;
    }
    // The hours are unsigned: the sign is the radio box's, so a typed "-3"
    // cannot become "+-3.00".
    char *end = nullptr;
    const double hours = std::strtod(v->zoneHours, &end);
    const char *first = v->zoneHours + std::strspn(v->zoneHours, " ");
    if (end == v->zoneHours || !strIsBlank(end) || !std::isdigit(static_cast<unsigned char>(*first)) ||
        !(hours >= 0.0 && hours <= 14.0)) {
        dialogRefuse(out, "messageInvalidSiteTz", v->zoneHours);
        return 0;
    }
    site.longitude = v->west == kToggleOn ? -lon : lon;
    site.latitude = v->south == kToggleOn ? -lat : lat;
    site.altitude = static_cast<int>(alt);
    site.zone = v->zoneMinus == kToggleOn ? -hours : hours;
    if (!siteLineCompose(&site, line)) {
        dialogRefuse(out, "messageInvalidSiteName", site.name);
        return 0;
    }
    return 1;
}

const DialogSpec kSiteEditDialog = {
    "SiteEditDialog", kSiteEditControls, kSiteEditRowCount, sizeof(SiteEditValues), editFillNothing, nullptr,
    editOkNothing, nullptr, nullptr, 0, "RCSiteEdit", "ObsButtons",
};
