// Settings that start-up takes from the application resources: data paths,
// the name indexes of the element files, the site list, the default site,
// the picture viewer and the localized body names. No X here: ui/ reads the
// resources (ui/env_resources) and hands their values to these routines.
#pragma once

#include <cstdio>

struct ChartState;

// The 17 application resources, in their fixed order (every one of class
// "Init"); the layout is what XtGetApplicationResources fills.
struct AppResources {
    char *cometFile;          // CometFile
    char *minorPlanetFile;    // MPlanetFile
    char *constDataFile;      // ConstDataFile
    char *starNameDataFile;   // StarNameDataFile
    char *siteFile;           // SiteFile
    char *dateStyle;          // DateStyle
    char *saoFile;            // SaoFile
    char *gscPath;            // GscPath
    char *gscIndexFile;       // GscIndexFile
    char *skyMarkFile;        // SkyMarkFile
    char *stlFileIoPath;      // StlFileIoPath
    char *saveImagePath;      // SaveImagePath
    char *userObjectFilePath; // UserObjectFilePath
    char *clickDataFile;      // ClickDataFile
    char *clickImagePath;     // ClickImagePath
    int saveHistory;          // SaveHistory
    int blinkTime;            // BlinkTime
};

// The built-in values of the 17 resources.
extern const AppResources kAppResourceDefaults;

// Number of "ClickImageViewer%d" resources looked at.
constexpr int kImageViewerCount = 9;

// Everything the resources set, in order: the element files with their
// index paths, the localized name files, the site list and the default
// site, the chart's date (now, seconds 0), the date style, the data paths,
// the three dialog directories (the options win over the resources), the
// picture viewer, saveHistory and blinkTime (below 1: 10).
// `siteResource` is the resource Site, `viewers` the nine viewer resources
// (null or empty where unset).
void envApplyResources(ChartState *chart, const AppResources *resources, const char *siteResource,
                       const char *const viewers[kImageViewerCount]);

// Builds the name index of an element file; 1 when it was written.
using CatalogIndexBuilder = int (*)(const char *elementFile, const char *indexFile);

// The index path of an element file: "~/.tavik/" + its base name (after the
// last "/", cut at the last ".") + ".dbm", "~" expanded, into out[outSize].
// When the element file exists and the index is missing, older or built
// from another file (or from this one before it changed), prints
// "tavik: Creating index file.  This may take a while." on `notice` (when not
// null) the first time (*noticeShown then 1) and builds the index; a build
// that fails is reported there once a run (catalogIndexReportFailure).
// Returns 1 when the path fit, else 0 with out empty (nothing is built).
int catalogIndexRefresh(char *out, int outSize, const char *elementFile, CatalogIndexBuilder build,
                        int *noticeShown, FILE *notice);

// catalogIndexRefresh with catalogIndexBuild and the run's notice on
// standard output. An index is also rebuilt when it does not name the
// element file as it is now (see model/catalog_index.h).
int catalogIndexPath(char *out, int outSize, const char *elementFile);

// The site list to use, into out[outSize]: the user's "tavik.obs" in userDir
// when readable; else the expanded resource path, copied into userDir first
// when that copy can be made (then the copy is used).
void envSiteFilePath(char *out, int outSize, const char *resourcePath);

// The default observing site: the option SiteName when the site list has it;
// else the resource Site when the site list has it; else Greenwich. In the
// last two cases messageSiteNotInit is shown in a warning box. Whichever
// site is taken, its coordinates and zone go with its name.
void envInitSite(ChartState *chart, const char *siteResource);

// The picture viewer: the first of `viewers` whose program is on PATH
// ("~" expanded); an empty or null one ends the search with
// "xloadimage -quiet -title '%s'"; when all are set and none is found, the
// last one stays. Into out[outSize].
void envChooseImageViewer(const char *const viewers[kImageViewerCount], char *out, int outSize);

// The dateStyle of a DateStyle value: "Japanese" kDateStyleJapanese,
// "European" kDateStyleEuropean (any case), anything else (null too)
// kDateStyleEnglish.
int envDateStyleCode(const char *value);

// Copies the 13 body names (planets with the Earth, then the Galilean moons)
// from their resources into the application record, each in its own
// allocation. Returns 1, or 0 when memory ran out; the names of the group
// that failed are freed again (the caller ends the process).
int envCopyBodyNames();

// Frees the body names; safe to call twice.
void envFreeBodyNames();
