#include "command/scene_save.h"

#include <cstdio>
#include <cstring>
#include <unistd.h>

#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/env.h"
#include "model/lexing.h"
#include "model/options.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

// A warning box of the message resource with its one string.
void warnWith(const char *resource, const char *argument)
{
    char format[512], text[1024];
    getResourceFormat(resource, "s", format, sizeof format);
    std::snprintf(text, sizeof text, format, argument);
    uiHooks.openMessageBox(appData->topLevel, text, kMessageBoxWarning);
}

void warnCannotCreate(const char *path) { warnWith("messageCannotCreateFile", path); }

bool agreed(const char *resource)
{
    char text[1024];
    getResourceString(resource, text, sizeof text);
    return uiHooks.askQuestion(appData->topLevel, text) != 0;
}

} // namespace

int saveSceneFile(ChartState *chart, const char *path, int asStartupScript)
{
    EnvReplacement r;
    if (path == nullptr || path[0] == '\0' || !envStartReplacement(&r, path))
        return 0;
    SceneLeftOut leftOut;
    const int ok = writeSceneFile(chart, r.out, asStartupScript, &leftOut);
    const int saved = envFinishReplacement(&r, ok);
    if (saved && leftOut.text[0] != '\0')
        warnWith("messageSceneLeftOut", leftOut.text); // what the scene could not hold
    return saved;
}

void menuFileSave(ChartState *chart)
{
    if (chart->sceneFilePath[0] == '\0') {
        uiHooks.openInputDialog(chart, kInputDialogSaveFile);
        return;
    }
    if (!saveSceneFile(chart, chart->sceneFilePath, 0))
        warnCannotCreate(chart->sceneFilePath);
}

void menuSettingsSaveAsDefault(ChartState *chart)
{
    if (!agreed("messageConfirmSaveEnv"))
        return;
    if (!saveSceneFile(chart, appData->rcPath, 1)) {
        warnCannotCreate(appData->rcPath);
        return;
    }
    strCopyBounded(appData->siteName, sizeof appData->siteName, chart->siteName);
    optionSet("SiteName", appData->siteName);
}

void menuSettingsInitialize(ChartState *chart)
{
    if (appData->confirmInit && !agreed("messageConfirmReInitAll"))
        return;
    stkExecute(chart, "INIT");
    // As start-up runs it: one STL statement, so sceneLoading is set and an
    // error of the file is reported once.
    char command[kStkTextSize];
    if (appData->rcPath[0] != '\0' && access(appData->rcPath, R_OK) == 0 &&
        isSendableName(appData->rcPath, sizeof command)) {
        const int n = std::snprintf(command, sizeof command, "STL \"%s\"", appData->rcPath);
        if (n > 0 && n < static_cast<int>(sizeof command))
            stkExecute(chart, command);
    }
    stkExecute(chart, "DRIVE");
}
