#include "model/settings.h"

#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/env.h"
#include "model/lexing.h"
#include "model/options.h"
#include "model/resource_text.h"
#include "model/site_list.h"
#include "model/ui_hooks.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

#define TAVIK_SHARE "/usr/local/share/tavik/"

const AppResources kAppResourceDefaults = {
    const_cast<char *>(TAVIK_SHARE "comet.elm"),
    const_cast<char *>(TAVIK_SHARE "mp.elm"),
    const_cast<char *>(TAVIK_SHARE "consname.dat"),
    const_cast<char *>(TAVIK_SHARE "starname.dat"),
    const_cast<char *>(TAVIK_SHARE "tavik.obs"),
    const_cast<char *>("English"),
    const_cast<char *>(TAVIK_SHARE "tavik.sao"),
    const_cast<char *>("/cdrom"),
    const_cast<char *>(TAVIK_SHARE "tavik.gsc"),
    const_cast<char *>(TAVIK_SHARE "skymark.adf"),
    const_cast<char *>("~"),
    const_cast<char *>("~"),
    const_cast<char *>(TAVIK_SHARE "adf"),
    const_cast<char *>(TAVIK_SHARE "tavik.cdf"),
    const_cast<char *>(TAVIK_SHARE "image/"),
    10,
    10,
};

// dst = path with "~" expanded; a path that does not fit leaves dst empty
// rather than naming some other file.
static void expandInto(char *dst, int size, const char *path)
{
    if (!envExpandTilde(path ? path : "", dst, size))
        dst[0] = '\0';
}

int catalogIndexRefresh(char *out, int outSize, const char *elementFile, CatalogIndexBuilder build,
                        int *noticeShown, FILE *notice)
{
    const char *slash = std::strrchr(elementFile, '/');
    const char *base = slash ? slash + 1 : elementFile;
    const char *dot = std::strrchr(base, '.');
    size_t baseLen = dot ? static_cast<size_t>(dot - base) : std::strlen(base);
    char tilde[kEnvPathSize];
    int n = std::snprintf(tilde, sizeof tilde, "~/.tavik/%.*s.dbm", static_cast<int>(baseLen), base);
    if (n < 0 || n >= static_cast<int>(sizeof tilde) || !envExpandTilde(tilde, out, outSize)) {
        if (outSize > 0)
            out[0] = '\0';
        return 0;
    }
    struct stat element, index;
    if (stat(elementFile, &element) != 0)
        return 1;
    // The index remembers the element file it was built from: a copy kept
    // with its time, another file of the same base name or a build cut short
    // is caught where a comparison of times would not catch it.
    time_t indexTime = stat(out, &index) == 0 ? index.st_mtime : 0;
    if (indexTime >= element.st_mtime && catalogIndexIsCurrent(out, elementFile))
        return 1;
    catalogIndexAnnounce(noticeShown, notice);
    if (!build(elementFile, out))
        catalogIndexReportFailure(out, notice);
    return 1;
}

int catalogIndexPath(char *out, int outSize, const char *elementFile)
{
    return catalogIndexRefresh(out, outSize, elementFile, catalogIndexBuilder, &catalogIndexNoticeShown, stdout);
}

void envSiteFilePath(char *out, int outSize, const char *resourcePath)
{
    char copy[kEnvPathSize];
    int haveCopy = appData->userDir[0] && envJoinPath(copy, sizeof copy, appData->userDir, "/tavik.obs");
    if (haveCopy && access(copy, R_OK) == 0) {
        strCopyBounded(out, outSize, copy);
        return;
    }
    expandInto(out, outSize, resourcePath);
    if (haveCopy && out[0] && access(out, R_OK) == 0 && envCopyFile(out, copy))
        strCopyBounded(out, outSize, copy);
}

// Puts a found site on the chart: coordinates, zone and name.
static void placeSite(ChartState *chart, const char *name, const double where[3], double zone)
{
    chartSetSite(chart, where[0], where[1], where[2]);
    appData->siteZoneHours = zone;
    strCopyBounded(chart->siteName, sizeof chart->siteName, name);
}

void envInitSite(ChartState *chart, const char *siteResource)
{
    char name[128];
    double where[3], zone = 0.0;
    if (optionGetString("SiteName", name, sizeof name) && name[0] &&
        findSite(name, where, &zone)) {
        placeSite(chart, name, where, zone);
        strCopyBounded(appData->siteName, sizeof appData->siteName, name);
        return;
    }
    // The resource's site is placed with its own coordinates and zone: a
    // name alone would label the chart with a site it is not drawn for.
    if (siteResource && siteResource[0] && findSite(siteResource, where, &zone)) {
        placeSite(chart, siteResource, where, zone);
    } else {
        static const double greenwich[3] = {51.477, 0.0, 50.0};
        placeSite(chart, "Greenwich (United Kingdom)", greenwich, 0.0);
    }
    char text[256];
    getResourceString("messageSiteNotInit", text, sizeof text);
    // INIT comes here too, as often as it is sent: one such box is enough.
    uiHooks.openMessageBoxOnce(appData->topLevel, text, kMessageBoxWarning);
}

void envChooseImageViewer(const char *const viewers[kImageViewerCount], char *out, int outSize)
{
    for (int i = 0; i < kImageViewerCount; ++i) {
        const char *viewer = viewers[i];
        if (!viewer || !viewer[0]) {
            strCopyBounded(out, outSize, "xloadimage -quiet -title '%s'");
            return;
        }
        expandInto(out, outSize, viewer);
        if (envProgramOnPath(out))
            return;
    }
}

int envDateStyleCode(const char *value)
{
    if (strEqualNoCase(value, "Japanese"))
        return kDateStyleJapanese;
    if (strEqualNoCase(value, "European"))
        return kDateStyleEuropean;
    return kDateStyleEnglish;
}

// A dialog directory: the option of the same name when set, else the
// expanded resource.
static void dialogDirectory(char *dst, int size, const char *option, const char *resource)
{
    if (!optionGetString(option, dst, size) || !dst[0])
        expandInto(dst, size, resource);
}

void envApplyResources(ChartState *chart, const AppResources *r, const char *siteResource,
                       const char *const viewers[kImageViewerCount])
{
    AppData *app = appData;
    expandInto(app->cometFile, kPathSize, r->cometFile);
    catalogIndexPath(app->cometIndexFile, kPathSize, app->cometFile);
    expandInto(app->minorPlanetFile, kPathSize, r->minorPlanetFile);
    catalogIndexPath(app->minorPlanetIndexFile, kPathSize, app->minorPlanetFile);
    expandInto(app->constNameFile, kPathSize, r->constDataFile);
    envLocalizedPath(app->constNameFile, kPathSize);
    expandInto(app->starNameFile, kPathSize, r->starNameDataFile);
    envLocalizedPath(app->starNameFile, kPathSize);
    envSiteFilePath(app->siteFile, kPathSize, r->siteFile ? r->siteFile : "");
    envInitSite(chart, siteResource);

    DateTime now{};
    timeNow(&now);
    now.second = 0.0;
    chartSetDate(chart, &now);
    chart->zoneHours = chart->sky.date.zone;
    chart->lastEphemerisJd = kNeverJd;

    chart->dateStyle = envDateStyleCode(r->dateStyle);
    expandInto(app->saoFile, kPathSize, r->saoFile);
    // The option is a directory the user typed in the settings dialog; it
    // is used as it stands.
    if (!optionGetString("GscDataPath", app->gscPath, kPathSize) || !app->gscPath[0])
        expandInto(app->gscPath, kPathSize, r->gscPath);
    expandInto(app->gscRegionTableFile, kPathSize, r->gscIndexFile);
    expandInto(app->skyMarkFile, kPathSize, r->skyMarkFile);
    envLocalizedPath(app->skyMarkFile, kPathSize);
    dialogDirectory(app->stlFileIoPath, kPathSize, "StlFileIoPath", r->stlFileIoPath);
    dialogDirectory(app->saveImagePath, kPathSize, "SaveImagePath", r->saveImagePath);
    dialogDirectory(app->userObjectFilePath, kPathSize, "UserObjectFilePath", r->userObjectFilePath);
    expandInto(app->clickDataFile, kPathSize, r->clickDataFile);
    envLocalizedPath(app->clickDataFile, kPathSize);
    expandInto(app->clickImagePath, kPathSize, r->clickImagePath);
    envChooseImageViewer(viewers, app->imageViewerCommand, kPathSize);
    app->saveHistory = r->saveHistory;
    app->blinkTime = r->blinkTime < 1 ? 10 : r->blinkTime;
}

// The body-name resources in the order of bodyNames, in their two groups.
static const char *const kBodyNameResources[kBodyNameCount] = {
    "messagePlanetMercury", "messagePlanetVenus", "messagePlanetEarth",
    "messagePlanetMars", "messagePlanetJupiter", "messagePlanetSaturn",
    "messagePlanetUranus", "messagePlanetNeptune", "messagePlanetPluto",
    "messagePlanetJsIo", "messagePlanetJsEuropa", "messagePlanetJsGanymede",
    "messagePlanetJsCallist",
};
constexpr int kFirstMoonName = 9;

int envCopyBodyNames()
{
    for (int i = 0; i < kBodyNameCount; ++i) {
        char text[128];
        getResourceString(kBodyNameResources[i], text, sizeof text);
        char *copy = static_cast<char *>(std::malloc(std::strlen(text) + 1));
        if (!copy) {
            int first = i < kFirstMoonName ? 0 : kFirstMoonName;
            for (int j = first; j < i; ++j) {
                std::free(appData->bodyNames[j]);
                appData->bodyNames[j] = nullptr;
            }
            return 0;
        }
        std::strcpy(copy, text);
        std::free(appData->bodyNames[i]);
        appData->bodyNames[i] = copy;
    }
    return 1;
}

void envFreeBodyNames()
{
    for (char *&name : appData->bodyNames) {
        std::free(name);
        name = nullptr;
    }
}
