#include "model/site_list.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "model/app_data.h"
#include "model/env.h"
#include "model/file_input.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

// Columns, counted from 0.
enum {
    kLonCol = 41, kLonEnd = 48,   // "%7.3f", then E or W
    kLatCol = 50, kLatEnd = 56,   // "%6.3f", then N or S
    kAltCol = 58, kAltEnd = 62,   // "%4d"
    kZoneCol = 63, kZoneEnd = 69, // sign and "%05.2f"
};
constexpr size_t kBodyLength = kSiteLineLength - 1; // without the newline

// The number in columns [from, to): blanks around it allowed, nothing else.
bool fieldNumber(const char *line, int from, int to, double *value)
{
    char field[16];
    size_t n = static_cast<size_t>(to - from);
    std::memcpy(field, line + from, n);
    field[n] = '\0';
    char *end = nullptr;
    errno = 0;
    double v = std::strtod(field, &end);
    if (end == field || errno == ERANGE || !std::isfinite(v) || !strIsBlank(end))
        return false;
    *value = v;
    return true;
}

// Lists already reported this run: one report per list, not per look-up.
std::vector<std::string> &reportedLists()
{
    static std::vector<std::string> lists;
    return lists;
}

void reportMalformed(const char *path, long lineNumber)
{
    for (const std::string &p : reportedLists())
        if (p == path)
            return;
    reportedLists().emplace_back(path);
    char format[256], text[kEnvPathSize + 256];
    getResourceFormat("messageErrorInSiteFile", "sd", format, sizeof format);
    std::snprintf(text, sizeof text, format, path, static_cast<int>(lineNumber));
    uiHooks.openMessageBox(appData ? appData->topLevel : nullptr, text, kMessageBoxWarning);
}

} // namespace

int siteLineParse(const char *line, size_t length, Site *site)
{
    if (length != kBodyLength || std::memchr(line, '\0', length))
        return 0;
    if (line[40] != ' ' || line[49] != ' ' || line[57] != ' ' || line[62] != ' ' || line[69] != ' ')
        return 0;
    char lonLetter = line[kLonEnd], latLetter = line[kLatEnd];
    if (!std::strchr("EeWw", lonLetter) || !std::strchr("NnSs", latLetter))
        return 0;
    double lon, lat, alt, zone;
    if (!fieldNumber(line, kLonCol, kLonEnd, &lon) || !fieldNumber(line, kLatCol, kLatEnd, &lat) ||
        !fieldNumber(line, kAltCol, kAltEnd, &alt) || !fieldNumber(line, kZoneCol, kZoneEnd, &zone))
        return 0;
    Site s;
    std::memcpy(s.name, line, kSiteNameLength);
    s.name[kSiteNameLength] = '\0';
    s.name[strTrimmedLength(s.name)] = '\0';
    if (!isSendableName(s.name, sizeof s.name))
        return 0;
    s.latitude = (latLetter == 'S' || latLetter == 's') ? -lat : lat;
    s.longitude = (lonLetter == 'W' || lonLetter == 'w') ? -lon : lon;
    s.altitude = static_cast<int>(alt);
    s.zone = zone;
    *site = s;
    return 1;
}

int siteLineCompose(const Site *site, char *line)
{
    size_t nameLength = strnlen(site->name, sizeof site->name);
    if (nameLength == 0 || nameLength > static_cast<size_t>(kSiteNameLength) ||
        strTrimmedLength(site->name) != nameLength || std::memchr(site->name, '\t', nameLength) ||
        !isSendableName(site->name, sizeof site->name))
        return 0;
    double lat = site->latitude, lon = site->longitude, zone = site->zone;
    if (!std::isfinite(lat) || !std::isfinite(lon) || !std::isfinite(zone) || std::fabs(lat) > 90.0 ||
        std::fabs(lon) > 180.0 || site->altitude < -999 || site->altitude > 9999 || std::fabs(zone) >= 99.995)
        return 0;
    int n = std::snprintf(line, kSiteLineLength + 1, "%-40s %7.3f%c %6.3f%c %4d %c%05.2f \n", site->name,
                          std::fabs(lon), lon < 0 ? 'W' : 'E', std::fabs(lat), lat < 0 ? 'S' : 'N',
                          site->altitude, zone < 0 ? '-' : '+', std::fabs(zone));
    return n == kSiteLineLength ? 1 : 0;
}

int siteFileReadLine(FILE *file, char **line, size_t *capacity, size_t *length)
{
    // Room for a site line, its CR and one character more: a longer line is
    // no site however it goes on, and its rest is skipped unread.
    constexpr size_t kRoom = kSiteLineLength + 2;
    if (*capacity < kRoom) {
        char *grown = static_cast<char *>(std::realloc(*line, kRoom));
        if (!grown)
            return 0;
        *line = grown;
        *capacity = kRoom;
    }
    size_t len;
    if (readTextLine(file, *line, kRoom, &len) == kTextLineEnd)
        return 0;
    if (len > 0 && (*line)[len - 1] == '\r')
        --len;
    (*line)[len] = '\0';
    *length = len;
    return 1;
}

int findSiteIn(const char *siteFile, const char *name, double out[3], double *zone)
{
    if (!siteFile || !name)
        return 0;
    FILE *file = openRegularFile(siteFile);
    if (!file)
        return 0;
    char *line = nullptr;
    size_t capacity = 0, length = 0;
    long lineNumber = 0;
    int found = 0;
    while (!found && siteFileReadLine(file, &line, &capacity, &length)) {
        ++lineNumber;
        Site site;
        if (!siteLineParse(line, length, &site)) {
            reportMalformed(siteFile, lineNumber);
            continue;
        }
        if (std::strcmp(site.name, name) != 0)
            continue;
        out[0] = site.latitude;
        out[1] = site.longitude;
        out[2] = site.altitude;
        *zone = site.zone;
        found = 1;
    }
    std::free(line);
    std::fclose(file);
    return found;
}

int findSite(const char *name, double out[3], double *zone)
{
    return appData ? findSiteIn(appData->siteFile, name, out, zone) : 0;
}

void siteListResetReports()
{
    reportedLists().clear();
}

namespace {

// siteFileRewrite's edit: line n replaced or dropped; done once it was
// there to edit.
struct SiteLineEdit {
    SiteEdit edit;
    long n;
    const char *line;
    int done;
};

EnvLineFate editSiteLine(void *context, const char *, long number, const char **replacement)
{
    SiteLineEdit *e = static_cast<SiteLineEdit *>(context);
    if (e->edit == kSiteEditInsertFirst || number != e->n)
        return kEnvLineKeep;
    e->done = 1;
    *replacement = e->line;
    return e->edit == kSiteEditReplace ? kEnvLineReplace : kEnvLineDrop;
}

int siteLineWasThere(void *context, const char **)
{
    return static_cast<SiteLineEdit *>(context)->done;
}

} // namespace

int siteFileRewrite(const char *path, SiteEdit edit, int n, const char *line)
{
    Site check;
    if (!path || !path[0] ||
        (edit != kSiteEditRemove && (!line || std::strlen(line) != static_cast<size_t>(kSiteLineLength) ||
                                     line[kBodyLength] != '\n' || !siteLineParse(line, kBodyLength, &check))))
        return 0;
    if (edit != kSiteEditInsertFirst && n < 1)
        return 0;
    // Lines are copied byte for byte, line ends and all, except the one edited.
    const bool first = edit == kSiteEditInsertFirst;
    SiteLineEdit e{edit, n, line, first ? 1 : 0};
    const EnvLineRewrite rewrite{first ? line : nullptr, editSiteLine, siteLineWasThere, &e};
    return envRewriteLines(path, first, &rewrite);
}
