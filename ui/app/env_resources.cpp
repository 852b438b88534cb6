#include "ui/app/env_resources.h"

#include <cstddef>
#include <cstdio>
#include <clocale>
#include <cstdlib>

#include <X11/Intrinsic.h>
#include <X11/StringDefs.h>
#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/env.h"
#include "model/lexing.h"
#include "model/locale_choice.h"
#include "model/resource_text.h"
#include "model/settings.h"
#include "model/ui_hooks.h"
#include "render/x/font_sets.h"
#include "render/x/palette_x.h"

// X's half of the locale set-up, for the locale now in effect.
static void checkXLocale(const char *name)
{
    if (!XSupportsLocale())
        std::fprintf(stderr, "tavik: X does not support locale %s.\n", name);
    if (!XSetLocaleModifiers(""))
        std::fprintf(stderr, "tavik: can't XSetLocaleModifiers.\n");
}

void envSetLocale(int argc, char **argv)
{
    char chosen[64];
    envChooseLocale(chosen, sizeof chosen, argc, argv);
    const char *name = envSetCharLocale(chosen, stderr);
    checkXLocale(name);
    envStoreLocale(name);
}

int envCreateFontSets()
{
    const CharHandling handling = envCharHandling();
    if (handling == CharHandling::Latin1)
        return loadFontSets();
    MissingCharsets missing;
    const int complete = loadFontSets(&missing);
    if (complete && handling == CharHandling::Other)
        return 1;
    // Not a charset fault (an unknown font name, the symbol font): the
    // fallback would not help, and the usual messages say what it is.
    if (!complete && missing.count == 0)
        return loadFontSets();
    char inEffect[64];
    strCopyBounded(inEffect, sizeof inEffect, std::setlocale(LC_CTYPE, nullptr));
    const char *fallback = envSetFallbackCharLocale(inEffect);
    if (!fallback)
        return complete ? 1 : loadFontSets();
    if (complete)
        std::fprintf(stderr,
                     "tavik: locale %s has no degree sign or accented letters; characters are handled as in %s.\n",
                     inEffect, fallback);
    else
        std::fprintf(stderr, "tavik: no fonts for %s in locale %s; characters are handled as in %s.\n",
                     missing.names, inEffect, fallback);
    checkXLocale(fallback);
    return loadFontSets();
}

// One resource of the top-level widget as a string; `dflt` when no
// resource names it.
static const char *topLevelString(const char *name, const char *resourceClass, const char *dflt)
{
    String value = nullptr;
    XtResource resource = {const_cast<String>(name), const_cast<String>(resourceClass), const_cast<String>(XtRString),
                           sizeof(String), 0, const_cast<String>(XtRString),
                           reinterpret_cast<XtPointer>(const_cast<char *>(dflt))};
    XtGetApplicationResources(appData->topLevel, &value, &resource, 1, nullptr, 0);
    return value ? value : dflt;
}

static char *toolkitResourceString(const char *name, char *buf, int len)
{
    if (!appData->topLevel)
        return fallbackResourceString(name, buf, len);
    strCopyBounded(buf, len, topLevelString(name, "String", ""));
    return buf;
}

int envToolbarManaged()
{
    return appData->toolBar && XtIsManaged(appData->toolBar);
}

void envUseToolkitResources()
{
    setResourceStringProvider(toolkitResourceString);
}

void envLoadBodyNames()
{
    if (!allocPalette(0, 1)) {
        std::fprintf(stderr, "tavik: can't allocate color palette.\n");
        std::exit(1);
    }
    if (!envCopyBodyNames()) {
        std::fprintf(stderr, "tavik: insufficient memory.\n");
        std::exit(1);
    }
}

// The application resources in their fixed order; the built-in defaults
// are those of kAppResourceDefaults.
struct AppResourceRow {
    const char *name;
    bool isInt;
    size_t offset;
};
static const AppResourceRow kAppResourceRows[] = {
    {"CometFile", false, offsetof(AppResources, cometFile)},
    {"MPlanetFile", false, offsetof(AppResources, minorPlanetFile)},
    {"ConstDataFile", false, offsetof(AppResources, constDataFile)},
    {"StarNameDataFile", false, offsetof(AppResources, starNameDataFile)},
    {"SiteFile", false, offsetof(AppResources, siteFile)},
    {"DateStyle", false, offsetof(AppResources, dateStyle)},
    {"SaoFile", false, offsetof(AppResources, saoFile)},
    {"GscPath", false, offsetof(AppResources, gscPath)},
    {"GscIndexFile", false, offsetof(AppResources, gscIndexFile)},
    {"SkyMarkFile", false, offsetof(AppResources, skyMarkFile)},
    {"StlFileIoPath", false, offsetof(AppResources, stlFileIoPath)},
    {"SaveImagePath", false, offsetof(AppResources, saveImagePath)},
    {"UserObjectFilePath", false, offsetof(AppResources, userObjectFilePath)},
    {"ClickDataFile", false, offsetof(AppResources, clickDataFile)},
    {"ClickImagePath", false, offsetof(AppResources, clickImagePath)},
    {"SaveHistory", true, offsetof(AppResources, saveHistory)},
    {"BlinkTime", true, offsetof(AppResources, blinkTime)},
};
constexpr int kAppResourceCount = sizeof kAppResourceRows / sizeof kAppResourceRows[0];
static_assert(kAppResourceCount == 17, "the application resources are 17");

static void readAppResources(AppResources *values)
{
    XtResource table[kAppResourceCount];
    const char *defaults = reinterpret_cast<const char *>(&kAppResourceDefaults);
    for (int i = 0; i < kAppResourceCount; ++i) {
        const AppResourceRow &row = kAppResourceRows[i];
        XtResource &r = table[i];
        r.resource_name = const_cast<String>(row.name);
        r.resource_class = const_cast<String>("Init");
        r.resource_offset = static_cast<Cardinal>(row.offset);
        if (row.isInt) {
            r.resource_type = const_cast<String>(XtRInt);
            r.resource_size = sizeof(int);
            r.default_type = const_cast<String>(XtRImmediate);
            r.default_addr = reinterpret_cast<XtPointer>(
                static_cast<intptr_t>(*reinterpret_cast<const int *>(defaults + row.offset)));
        } else {
            r.resource_type = const_cast<String>(XtRString);
            r.resource_size = sizeof(String);
            r.default_type = const_cast<String>(XtRString);
            r.default_addr = *reinterpret_cast<char *const *>(defaults + row.offset);
        }
    }
    *values = kAppResourceDefaults;
    XtGetApplicationResources(appData->topLevel, values, table, kAppResourceCount, nullptr, 0);
}

static void readImageViewers(const char *viewers[kImageViewerCount])
{
    for (int i = 0; i < kImageViewerCount; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "ClickImageViewer%d", i + 1);
        viewers[i] = topLevelString(name, "Init", "");
    }
}

void envPickImageViewer()
{
    const char *viewers[kImageViewerCount];
    readImageViewers(viewers);
    envChooseImageViewer(viewers, appData->imageViewerCommand, sizeof appData->imageViewerCommand);
}

void envLoadResources(ChartState *chart)
{
    AppResources values;
    readAppResources(&values);
    const char *site = topLevelString("Site", "Init", "");
    const char *viewers[kImageViewerCount];
    readImageViewers(viewers);
    envApplyResources(chart, &values, site, viewers);
}
