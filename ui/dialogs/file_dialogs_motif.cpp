// The Open, Save As and Save Image file-selection boxes and the Environment
// dialog: thin Motif over ui/dialogs/file_dialogs.h.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <Xm/FileSB.h>
#include <Xm/Xm.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/file_dialogs.h"

namespace {

// ---- file selection ------------------------------------------------------------

struct FileDialog {
    const char *name;    // widget name, hence resource name
    const char *pattern; // the filter
    char *(*startDirectory)();
    void (*ok)(const char *name, ChartState *chart, DialogResult *out);
    Widget box;          // built on first use, kept while the top-level shell lives
};

char *sceneDirectory() { return appData->stlFileIoPath; }
char *imageDirectory() { return appData->saveImagePath; }
void openOk(const char *name, ChartState *chart, DialogResult *out) { openFileOk(name, chart, appData, out); }
void saveOk(const char *name, ChartState *chart, DialogResult *out) { saveFileOk(name, chart, appData, out); }
void imageOk(const char *name, ChartState *, DialogResult *out) { saveImageOk(name, appData, out); }

FileDialog fileDialogs[] = {
    {"OpenFile", "*.stl", sceneDirectory, openOk, nullptr},
    {"SaveFile", "*.stl", sceneDirectory, saveOk, nullptr},
    {"SaveImage", "*.xpm", imageDirectory, imageOk, nullptr},
};
enum { kOpenFile = 0, kSaveFile = 1, kSaveImage = 2 };

ChartState *fileDialogChart = nullptr;

void fileOkCallback(Widget w, XtPointer client, XtPointer call)
{
    const FileDialog *f = static_cast<const FileDialog *>(client);
    auto *cbs = static_cast<XmFileSelectionBoxCallbackStruct *>(call);
    char *name = cbs && cbs->value
                     ? static_cast<char *>(XmStringUnparse(cbs->value, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr,
                                                           0, XmOUTPUT_ALL))
                     : nullptr;
    static DialogResult result; // 4 KB of command texts: kept off the stack
    dialogResultClear(&result);
    f->ok(name ? name : "", fileDialogChart, &result);
    XtFree(name);
    if (result.refused) {
        dialogShowRefusal(w, &result);
        return;
    }
    XtUnmanageChild(w);
    for (int i = 0; i < result.commandCount; i++)
        stkExecuteCall(fileDialogChart, result.commands[i]);
}

void fileCancelCallback(Widget w, XtPointer, XtPointer) { XtUnmanageChild(w); }

void openFileDialog(FileDialog *f, ChartState *chart)
{
    if (!appData || !appData->topLevel)
        return;
    fileDialogChart = chart;
    if (!f->box) {
        f->box = XmCreateFileSelectionDialog(appData->topLevel, const_cast<char *>(f->name), nullptr, 0);
        XtUnmanageChild(XmFileSelectionBoxGetChild(f->box, XmDIALOG_HELP_BUTTON));
        XtAddCallback(f->box, XmNokCallback, fileOkCallback, f);
        XtAddCallback(f->box, XmNcancelCallback, fileCancelCallback, f);
        dialogClearOnDestroy(&f->box);
    }
    XmString pattern = XmStringCreateLocalized(const_cast<char *>(f->pattern));
    XtVaSetValues(f->box, XmNpattern, pattern, nullptr);
    XmStringFree(pattern);
    const char *dir = f->startDirectory();
    if (dir[0] != '\0') {
        XmString directory = XmStringCreateLocalized(const_cast<char *>(dir));
        XtVaSetValues(f->box, XmNdirectory, directory, nullptr);
        XmStringFree(directory);
    }
    XtManageChild(f->box);
}

// ---- Environment ---------------------------------------------------------------

void windowSize(int *width, int *height)
{
    *width = *height = 0;
    if (!appData->topLevel || !XtIsRealized(appData->topLevel))
        return;
    Window root;
    int x, y;
    unsigned int w = 0, h = 0, border, depth;
    if (XGetGeometry(XtDisplay(appData->topLevel), XtWindow(appData->topLevel), &root, &x, &y, &w, &h, &border,
                     &depth)) {
        *width = static_cast<int>(w);
        *height = static_cast<int>(h);
    }
}

void setEnvFill(const ChartState *, const AppData *app, void *out)
{
    SetEnvContext context{};
    context.toolbarShown = uiHooks.toolbarManaged();
    context.tipShellExists = app->tipShell != nullptr;
    windowSize(&context.windowWidth, &context.windowHeight);
    context.tzEnvironment = std::getenv("TZ");
    setEnvDlgFill(app, &context, static_cast<SetEnvValues *>(out));
}

void setEnvOk(void *values, const ChartState *, const AppData *, DialogResult *out)
{
    setEnvDlgOk(static_cast<const SetEnvValues *>(values), out);
}

// "Current": the window's present size into the geometry fields.
int setEnvChanged(void *values, int control)
{
    if (std::strcmp(kSetEnvControls[control].name, "ButtonGeometryNow") != 0)
        return 0;
    auto *v = static_cast<SetEnvValues *>(values);
    int width = 0, height = 0;
    windowSize(&width, &height);
    std::snprintf(v->width, sizeof v->width, "%d", width);
    std::snprintf(v->height, sizeof v->height, "%d", height);
    return 1;
}

// The record's fields, then the tip help and the tool bar as the toggles say.
void setEnvAccepted(const void *values, ChartState *chart)
{
    const auto *v = static_cast<const SetEnvValues *>(values);
    setEnvDlgApply(v, appData);
    uiHooks.setTipHelp(v->tipHelp == kToggleOn);
    if (appData->toolBar) {
        if (v->toolbar == kToggleOn && !XtIsManaged(appData->toolBar)) {
            XtManageChild(appData->toolBar);
            uiHooks.toolbarRefreshAll(chart);
        } else if (v->toolbar != kToggleOn && XtIsManaged(appData->toolBar)) {
            XtUnmanageChild(appData->toolBar);
        }
    }
}

const DialogSpec kSetEnvDialog = {
    "SetEnvDialog", kSetEnvControls,   kSetEnvControlCount, sizeof(SetEnvValues), setEnvFill, nullptr, setEnvOk,
    setEnvChanged,  nullptr,           0,                   "SetEnvRowColumn",    "SetEnvButtons", setEnvAccepted,
};

} // namespace

void openOpenFileDialog(ChartState *chart)
{
    openFileDialog(&fileDialogs[kOpenFile], chart);
}

void openSaveFileDialog(ChartState *chart)
{
    openFileDialog(&fileDialogs[kSaveFile], chart);
}

void openSaveImageDialog(ChartState *chart)
{
    openFileDialog(&fileDialogs[kSaveImage], chart);
}

void openSetEnvDialog(ChartState *chart)
{
    dialogOpen(&kSetEnvDialog, chart);
}
