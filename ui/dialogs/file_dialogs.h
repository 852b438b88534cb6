// The Open, Save As and Save Image dialogs' OK, and the Environment
// dialog's pure half: no X here. Each OK gives the command texts to run or a
// refusal (message resource, the name as argument); the record changes it
// makes are made here too, only when it is not refused.
#pragma once

#include <cstddef>

#include "ui/dialogs/dialog_kit.h"

// The directory to remember of a chosen name into dir[dirSize]: the whole
// name when it ends with "/", else the text before its last "/" (empty when
// that is the first character); a name without "/" leaves dir unchanged.
void rememberDirectory(char *dir, size_t dirSize, const char *name);

// Open: a scene file runs through STL "name", becomes the chart's
// sceneFilePath and its directory stlFileIoPath. A name that cannot travel
// in command text or fill a path field, or a file that cannot be read, is
// refused with messageCannotOpenFile; a readable file that is no scene runs
// nothing and is neither stored nor remembered.
void openFileOk(const char *name, ChartState *chart, AppData *app, DialogResult *out);

// Save As: the whole scene to the file through a temporary renamed over it
// (the old file keeps every byte on failure); on success sceneFilePath and
// stlFileIoPath. A failure, or a name too long for a path field, is
// refused with messageCannotCreateFile. Sends nothing.
void saveFileOk(const char *name, ChartState *chart, AppData *app, DialogResult *out);

// Save Image: GSAVE "name" (quoted: blanks stay in the name); the directory
// is remembered in saveImagePath even when the save fails (GSAVE reports
// that). A name that cannot travel in command text or fill a path field is
// refused with messageCannotCreateFile.
void saveImageOk(const char *name, AppData *app, DialogResult *out);

// ---- Environment settings ------------------------------------------------------

struct SetEnvValues {
    ToggleValue toolbar;      // "ToggleToolbar"
    ToggleValue tipHelp;      // "ToggleTipHelp"
    ToggleValue confirmQuit;  // "ToggleConfirmQuit"
    ToggleValue confirmInit;  // "ToggleConfirmInit"
    char width[6];            // "TextGeometryWidth", at most 5 characters
    char height[6];           // "TextGeometryHeight"
    char locale[21];          // "TextLocale", at most 20
    char tz[61];              // "TextTZ", at most 60
};

// What the dialog shows besides the record: whether the tool bar is shown
// and the tip shell exists, the top-level window's size, and TZ from the
// environment (null when unset).
struct SetEnvContext {
    int toolbarShown, tipShellExists;
    int windowWidth, windowHeight;
    const char *tzEnvironment;
};

void setEnvDlgFill(const AppData *app, const SetEnvContext *context, SetEnvValues *v);

// Refuses a geometry that is not two sizes start-up can use (one field
// empty, not digits, too small or too large) with messageInvalidGeometry;
// both empty is accepted. Sends nothing.
void setEnvDlgOk(const SetEnvValues *v, DialogResult *out);

// After an accepted OK: the geometry ("WxH" with the stored geometry's
// position, "+X+Y", when it has one; or empty), locale, TZ and the two
// confirmations into the record, which the quit path saves.
void setEnvDlgApply(const SetEnvValues *v, AppData *app);

// The widgets of the Environment dialog; its Motif half fills the context
// and switches the tool bar and the tip help.
extern const DialogControl kSetEnvControls[];
extern const int kSetEnvControlCount;
