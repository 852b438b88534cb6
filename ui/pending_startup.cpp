// Stand-ins for the start-up steps whose owners are not built yet (see
// ui/pending_startup.h). Grouped by owner; delete a group when its owner lands.
#include "ui/pending_startup.h"

#include <cctype>
#include <clocale>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <X11/Xlib.h>

#include "model/app_data.h"
#include "model/chart_state.h"

// --- settings, per-user directory and options file ---

static int copyBounded(char *dst, int size, const char *src)
{
    int n = std::snprintf(dst, static_cast<size_t>(size), "%s", src);
    if (n < 0 || n >= size) {
        dst[0] = '\0';
        return 0;
    }
    return 1;
}

// The home directory: TAVIK_HOME when set (test and scripted runs), else the
// user database. Never $HOME, which the settings own rule also ignores.
static int homeDir(char *dst, int len)
{
    const char *home = std::getenv("TAVIK_HOME");
    if (!home || !*home) {
        struct passwd *pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : nullptr;
    }
    if (!home || !*home) {
        dst[0] = '\0';
        return 0;
    }
    return copyBounded(dst, len, home);
}

int envMakeUserDir(char *dir, int dirSize, char *rcPath, int rcSize)
{
    char home[256];
    if (homeDir(home, sizeof home) && std::snprintf(dir, static_cast<size_t>(dirSize), "%s/.tavik",
                                                    home) < dirSize &&
        std::snprintf(rcPath, static_cast<size_t>(rcSize), "%s/tavikrc", dir) < rcSize) {
        struct stat st;
        if (mkdir(dir, 0755) == 0 || (stat(dir, &st) == 0 && S_ISDIR(st.st_mode)))
            return 1;
    }
    dir[0] = '\0';
    rcPath[0] = '\0';
    return 0;
}

char *envExpandTilde(const char *path, char *out, int outSize)
{
    char home[256];
    if (path[0] == '~' && (path[1] == '\0' || path[1] == '/') && homeDir(home, sizeof home)) {
        int n = std::snprintf(out, static_cast<size_t>(outSize), "%s%s", home, path + 1);
        if (n < 0 || n >= outSize) {
            out[0] = '\0';
            return nullptr;
        }
        return out;
    }
    return copyBounded(out, outSize, path) ? out : nullptr;
}

void envSetLocale(int argc, char **argv)
{
    const char *chosen = nullptr;
    for (int i = 1; i < argc && !chosen; i++) {
        if (std::strncmp(argv[i], "--lang=", 7) == 0)
            chosen = argv[i] + 7;
        else if (std::strncmp(argv[i], "-l=", 3) == 0)
            chosen = argv[i] + 3;
    }
    static const char *const kVariables[] = {"TAVIK_LOCALE", "LC_CTYPE", "LC_ALL", "LANG"};
    for (const char *v : kVariables) {
        const char *value = std::getenv(v);
        if (!chosen && value && *value)
            chosen = value;
    }
    if (!chosen)
        chosen = "en_US.ISO_8859-1";
    if (!std::setlocale(LC_CTYPE, chosen))
        std::fprintf(stderr, "tavik: can't set locale %s.\n", chosen);
    if (!XSupportsLocale())
        std::fprintf(stderr, "tavik: X does not support locale %s.\n", chosen);
    if (!XSetLocaleModifiers(""))
        std::fprintf(stderr, "tavik: can't XSetLocaleModifiers.\n");
    setenv("LANG", chosen, 1);
    copyBounded(appData->localeName, sizeof appData->localeName, chosen);
}

void envLoadBodyNames() {}
void envFreeBodyNames() {}
void envLoadResources(ChartState *) {}

// Reads the options file the way the settings will: a line matches when it
// starts with the key (any case), then blanks and "="; the value loses its
// surrounding white space.
static int optionValue(const char *key, char *dst, int len)
{
    char path[300];
    if (!appData->userDir[0] ||
        std::snprintf(path, sizeof path, "%s/options", appData->userDir) >= static_cast<int>(sizeof path))
        return 0;
    FILE *f = std::fopen(path, "r");
    if (!f)
        return 0;
    char line[256];
    size_t keyLength = std::strlen(key);
    int found = 0;
    while (!found && std::fgets(line, sizeof line, f)) {
        if (strncasecmp(line, key, keyLength) != 0)
            continue;
        char *p = line + keyLength;
        while (*p == ' ' || *p == '\t')
            p++;
        if (*p != '=')
            continue;
        p++;
        while (*p == ' ' || *p == '\t')
            p++;
        size_t n = std::strlen(p);
        while (n > 0 && std::isspace(static_cast<unsigned char>(p[n - 1])))
            p[--n] = '\0';
        found = static_cast<int>(n) < len && copyBounded(dst, len, p);
    }
    std::fclose(f);
    return found;
}

int optionGetBool(const char *key, int dflt)
{
    char v[32];
    if (!optionValue(key, v, sizeof v))
        return dflt;
    if (strcasecmp(v, "TRUE") == 0 || strcasecmp(v, "YES") == 0)
        return 1;
    if (strcasecmp(v, "FALSE") == 0 || strcasecmp(v, "NO") == 0)
        return 0;
    return dflt;
}

int optionGetInt(const char *key, int dflt)
{
    char v[32];
    if (!optionValue(key, v, sizeof v))
        return dflt;
    char *end;
    long n = std::strtol(v, &end, 10);
    return end != v && *end == '\0' ? static_cast<int>(n) : dflt;
}

int optionGetString(const char *key, char *dst, int len)
{
    return optionValue(key, dst, len);
}

// Not written until the settings are built: nothing is saved.
int optionsWriteAll()
{
    return 0;
}

// --- palette, font sets and name files ---

void loadStarNames() {}
void loadConstNames() {}
void freeStarNames() {}
void freeConstNames() {}
// No font set is made yet, and none is used: nothing draws text on the chart.
int loadFontSets()
{
    return 1;
}
void freeFontSets() {}
int dirFontHeight()
{
    return 0;
}
int isDynamicVisual()
{
    return 0;
}

// --- canvas ---

// Until the chart frame is drawn, the drawing area shows its background.
void chartRefresh(ChartState *chart)
{
    if (chart->drawingArea && XtIsRealized(chart->drawingArea) && !appData->initialising)
        XClearWindow(XtDisplay(chart->drawingArea), XtWindow(chart->drawingArea));
}

void chartCreateGC(ChartState *chart)
{
    chart->skyColourBase = 65;
    chart->backPixmap = kNoXid;
    chart->gc = XCreateGC(XtDisplay(chart->drawingArea), XtWindow(chart->drawingArea), 0, nullptr);
}

// --- tool bar, step box, command dialog, click-data dialog, tool tips ---

Widget createToolbarForm(Widget, ChartState *)
{
    return nullptr;
}
void createToolbarButtons(ChartState *) {}
void toolbarRefreshAll(ChartState *) {}
void addToolbarTips(Widget) {}
void freeToolbarPixmaps() {}
void stepBoxCreate(ChartState *) {}
void stepBoxShow(ChartState *, int) {}
void toggleCommandDialog(ChartState *) {}
void historySave() {}
void createClickDataDialog(ChartState *) {}
void addClickDataTips(Widget) {}
void freeClickDataPixmaps() {}
Widget createTipShell(Widget)
{
    return nullptr;
}
Boolean XcgLiteClueDispatchEvent(Widget, XEvent *)
{
    return False;
}

// --- navigation ---

void viewUpdateScrollBars(ChartState *) {}
void viewScrollHorizontal(ChartState *, int, int) {}
void viewScrollVertical(ChartState *, int, int) {}

// --- main window decorations ---

void installIcon(ChartState *) {}

// --- sky marks, click data, TCP server ---

int loadSkyMarks()
{
    return 0;
}
void loadClickData(ChartState *, const char *) {}
void socketServerStart() {}
void socketServerStop() {}
