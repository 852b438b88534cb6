// INIT, DRIVE, INPUT and EXIT.
#include "command/commands.h"
#include "command/interpreter.h"
#include "command/keywords.h"
#include "command/parameters.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/resource_text.h"
#include "model/settings.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/frame.h"

void stkCmdInit(ChartState *chart, char **)
{
    uiHooks.setClickDataDialogVisible(chart, 0);
    if (chart->playing)
        stkExecute(chart, "CONTINUE");
    // The defaults drop the list pointer, so the files are unloaded first
    // rather than leaked.
    unloadUserObjects(chart);
    chartStateFreeTables(chart);
    chartStateSetDefaults(chart);
    if (!appData->initialising) {
        char site[kSiteNameSize * 2];
        getResourceString("Site", site, sizeof site);
        envInitSite(chart, site);
    }
    uiHooks.toolbarRefreshAll(chart);
}

void stkCmdDrive(ChartState *chart, char **)
{
    chart->redrawNeeded = 1;
    chartRefresh(chart);
}

void stkCmdInput(ChartState *chart, char **params)
{
    // A second INPUT while the first is still inside its dialog opener (which
    // may run a nested event loop) is ignored.
    static int opening = 0;
    if (opening)
        return;
    char *word = params[0];
    int32_t dialog;
    if (!stkParamKeyword(word, inputKeywords, &dialog))
        return;
    opening = 1;
    const int opened = uiHooks.openInputDialog(chart, dialog);
    opening = 0;
    if (!opened)
        stkSetError("stkErrorNotAvailable", word);
}

void stkCmdExit(ChartState *, char **)
{
    // Returns only when the quit was refused.
    uiHooks.appQuit(0);
}
