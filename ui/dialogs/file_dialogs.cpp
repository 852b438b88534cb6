#include "ui/dialogs/file_dialogs.h"

#include <cstdio>
#include <cstring>

#include "command/interpreter.h"
#include "command/scene_files.h"
#include "command/scene_save.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/file_input.h"
#include "model/geometry_option.h"
#include "model/lexing.h"
#include "model/locale_choice.h"

namespace {

// The name fits every path field it is stored in (sceneFilePath and the
// remembered directories are kPathSize bytes).
bool fitsPathField(const char *name)
{
    return name != nullptr && name[0] != '\0' && std::strlen(name) < static_cast<size_t>(kPathSize);
}

// A stored geometry in its size and its position: X's "[+-]x[+-]y" after the
// size ("900x700+10+20"), which the dialog does not show but keeps. A text
// whose tail is no such position has none (its size part is then all of it).
constexpr size_t kGeometryTextSize = sizeof AppData::geometryOption;
struct GeometryParts {
    char size[kGeometryTextSize];
    char position[kGeometryTextSize];
};

bool isSignedNumberAt(const char *text, const char **end)
{
    if (*text != '+' && *text != '-')
        return false;
    const char *p = text + 1;
    while (*p >= '0' && *p <= '9')
        p++;
    *end = p;
    return p > text + 1;
}

GeometryParts splitGeometry(const char *stored)
{
    GeometryParts parts{};
    strCopyBounded(parts.size, sizeof parts.size, stored);
    const char *start = std::strpbrk(stored, "+-");
    const char *middle = nullptr, *end = nullptr;
    if (start && isSignedNumberAt(start, &middle) && isSignedNumberAt(middle, &end) && *end == '\0') {
        strCopyBounded(parts.position, sizeof parts.position, start);
        parts.size[start - stored] = '\0';
    }
    return parts;
}

} // namespace

void rememberDirectory(char *dir, size_t dirSize, const char *name)
{
    const char *slash = name ? std::strrchr(name, '/') : nullptr;
    if (!slash)
        return;
    const size_t len = std::strlen(name);
    const size_t keep = slash == name + len - 1 ? len : static_cast<size_t>(slash - name);
    if (keep >= dirSize)
        return; // a cut directory would be another directory
    std::memcpy(dir, name, keep);
    dir[keep] = '\0';
}

void openFileOk(const char *name, ChartState *chart, AppData *app, DialogResult *out)
{
    // STL "name" must fit one statement and stay one name.
    if (!fitsPathField(name) || !isSendableName(name, kStkTextSize - 6) || !regularFileReadable(name)) {
        dialogRefuse(out, "messageCannotOpenFile", name ? name : "");
        return;
    }
    // STL runs nothing of a file without "SCENE MAIN"; storing it as the
    // scene would let the next Save overwrite it unasked.
    if (!sceneFileHasMain(name))
        return;
    if (!dialogAddCommand(out, "STL \"%s\"", name))
        return;
    strCopyBounded(chart->sceneFilePath, sizeof chart->sceneFilePath, name);
    rememberDirectory(app->stlFileIoPath, sizeof app->stlFileIoPath, name);
}

void saveFileOk(const char *name, ChartState *chart, AppData *app, DialogResult *out)
{
    if (!fitsPathField(name) || !saveSceneFile(chart, name, 0)) {
        dialogRefuse(out, "messageCannotCreateFile", name ? name : "");
        return;
    }
    strCopyBounded(chart->sceneFilePath, sizeof chart->sceneFilePath, name);
    rememberDirectory(app->stlFileIoPath, sizeof app->stlFileIoPath, name);
}

void saveImageOk(const char *name, AppData *app, DialogResult *out)
{
    // GSAVE "name" must fit one statement and stay one name.
    if (!fitsPathField(name) || !isSendableName(name, kStkTextSize - 8)) {
        dialogRefuse(out, "messageCannotCreateFile", name ? name : "");
        return;
    }
    if (!dialogAddCommand(out, "GSAVE \"%s\"", name))
        return;
    rememberDirectory(app->saveImagePath, sizeof app->saveImagePath, name);
}

// ---- Environment settings ------------------------------------------------------

#define SE_TOGGLE(name, parent, f)                                                                                   \
    {name, kControlToggle, parent, {}, kFieldToggle, offsetof(SetEnvValues, f), 0, nullptr}
// Columns as well as the width: a row-column otherwise gives a text field
// its default twenty columns.
#define SE_TEXT(name, parent, width, columns, f)                                                                     \
    {name, kControlTextField, parent, {{"columns", columns}, {"width", width}}, kFieldText, offsetof(SetEnvValues, f), \
     sizeof(SetEnvValues::f), nullptr}
#define SE_PLAIN(name, cls, parent) {name, cls, parent, {}, kFieldNone, 0, 0, nullptr}

// Rows named as parents below.
enum SetEnvRow { kRowFormUpper = 0, kRowToggles = 1, kRowLower = 8, kRowGeometry = 10, kRowLocale = 16, kRowTz = 20 };
const DialogControl kSetEnvControls[] = {
    SE_PLAIN("FormUpper", kControlForm, kDialogMainParent),
    {"RCToggle", kControlRowColumn, kRowFormUpper, {{"x", "0"}, {"y", "0"}}, kFieldNone, 0, 0, nullptr},
    SE_TOGGLE("ToggleToolbar", kRowToggles, toolbar),
    SE_TOGGLE("ToggleTipHelp", kRowToggles, tipHelp),
    SE_TOGGLE("ToggleConfirmQuit", kRowToggles, confirmQuit),
    SE_TOGGLE("ToggleConfirmInit", kRowToggles, confirmInit),
    // OK and Cancel, beside the toggles (placed by the fallback resources).
    SE_PLAIN("SetEnvButtons", kControlRowColumn, kRowFormUpper),
    SE_PLAIN("Separator1", kControlSeparator, kDialogMainParent),
    SE_PLAIN("RCLower", kControlRowColumn, kDialogMainParent),
    SE_PLAIN("LabelAffect", kControlLabel, kRowLower),
    {"RCGeometry", kControlRowColumn, kRowLower, {{"orientation", "horizontal"}, {nullptr, nullptr}}, kFieldNone, 0,
     0, nullptr},
    SE_PLAIN("LabelGeometry", kControlLabel, kRowGeometry),
    SE_TEXT("TextGeometryWidth", kRowGeometry, "52", "5", width),
    SE_PLAIN("LabelGeometryX", kControlLabel, kRowGeometry),
    SE_TEXT("TextGeometryHeight", kRowGeometry, "52", "5", height),
    SE_PLAIN("ButtonGeometryNow", kControlPushButton, kRowGeometry),
    {"RCLocale", kControlRowColumn, kRowLower, {{"orientation", "horizontal"}, {nullptr, nullptr}}, kFieldNone, 0, 0,
     nullptr},
    SE_PLAIN("LabelLocale", kControlLabel, kRowLocale),
    SE_TEXT("TextLocale", kRowLocale, "180", "20", locale),
    SE_PLAIN("LabelLocaleDesc", kControlLabel, kRowLocale),
    {"RCTZ", kControlRowColumn, kRowLower, {{"orientation", "horizontal"}, {nullptr, nullptr}}, kFieldNone, 0, 0,
     nullptr},
    SE_PLAIN("LabelTZ", kControlLabel, kRowTz),
    SE_TEXT("TextTZ", kRowTz, "210", "24", tz),
    SE_PLAIN("LabelTZDesc", kControlLabel, kRowTz),
};
const int kSetEnvControlCount = sizeof kSetEnvControls / sizeof kSetEnvControls[0];

void setEnvDlgFill(const AppData *app, const SetEnvContext *context, SetEnvValues *v)
{
    v->toolbar = context->toolbarShown ? kToggleOn : kToggleOff;
    v->tipHelp = context->tipShellExists ? kToggleOn : kToggleOff;
    v->confirmQuit = app->confirmQuit ? kToggleOn : kToggleOff;
    v->confirmInit = app->confirmInit ? kToggleOn : kToggleOff;
    // A stored size start-up would not use is not shown as if it were.
    int width = 0, height = 0;
    if (!geometryOptionValid(splitGeometry(app->geometryOption).size, &width, &height)) {
        width = context->windowWidth;
        height = context->windowHeight;
    }
    std::snprintf(v->width, sizeof v->width, "%d", width);
    std::snprintf(v->height, sizeof v->height, "%d", height);
    const char *locale = app->localeOption[0] ? app->localeOption
                         : app->localeName[0] ? app->localeName
                                              : kEnvDefaultLocale;
    strCopyBounded(v->locale, sizeof v->locale, locale);
    const char *tz = app->tzOption[0] ? app->tzOption : context->tzEnvironment ? context->tzEnvironment : "";
    strCopyBounded(v->tz, sizeof v->tz, tz);
}

void setEnvDlgOk(const SetEnvValues *v, DialogResult *out)
{
    if (v->width[0] == '\0' && v->height[0] == '\0')
        return;
    if (!geometrySizeValid(v->width, v->height, nullptr, nullptr))
        dialogRefuse(out, "messageInvalidGeometry", "");
}

void setEnvDlgApply(const SetEnvValues *v, AppData *app)
{
    int width = 0, height = 0;
    // The window stays where the stored geometry put it; only its size is
    // the dialog's. A position that no longer fits beside the size is dropped
    // rather than cut.
    if (geometrySizeValid(v->width, v->height, &width, &height)) {
        char text[2 * kGeometryTextSize];
        std::snprintf(text, sizeof text, "%dx%d%s", width, height, splitGeometry(app->geometryOption).position);
        if (std::strlen(text) >= sizeof app->geometryOption)
            std::snprintf(text, sizeof text, "%dx%d", width, height);
        strCopyBounded(app->geometryOption, sizeof app->geometryOption, text);
    } else
        app->geometryOption[0] = '\0';
    strCopyBounded(app->localeOption, sizeof app->localeOption, v->locale);
    strCopyBounded(app->tzOption, sizeof app->tzOption, v->tz);
    app->confirmQuit = v->confirmQuit == kToggleOn;
    app->confirmInit = v->confirmInit == kToggleOn;
}
