// Stand-ins for the dialogs not built yet (see ui/dialogs/dialog_openers.h).
// A dialog's owner deletes its row here when the dialog lands.
#include "ui/dialogs/dialog_openers.h"

#include <cstdio>

#include "model/chart_state.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

void showNotAvailable(ChartState *chart, const char *what)
{
    char format[256], text[512];
    getResourceFormat("stkErrorNotAvailable", "s", format, sizeof format);
    std::snprintf(text, sizeof text, format, what);
    uiHooks.openMessageBox(chart ? chart->mainWidget : nullptr, text, kMessageBoxWarning);
}

// --- pending dialogs ---
void openOpenFileDialog(ChartState *chart)
{
    showNotAvailable(chart, "openOpenFileDialog");
}
void openSaveFileDialog(ChartState *chart)
{
    showNotAvailable(chart, "openSaveFileDialog");
}
void openSaveImageDialog(ChartState *chart)
{
    showNotAvailable(chart, "openSaveImageDialog");
}
void openSetEnvDialog(ChartState *chart)
{
    showNotAvailable(chart, "openSetEnvDialog");
}
void openDateDialog(ChartState *chart)
{
    showNotAvailable(chart, "openDateDialog");
}
void openSiteDialog(ChartState *chart)
{
    showNotAvailable(chart, "openSiteDialog");
}
void openTimeStepDialog(ChartState *chart)
{
    showNotAvailable(chart, "openTimeStepDialog");
}
void openProjectionDialog(ChartState *chart)
{
    showNotAvailable(chart, "openProjectionDialog");
}
void openStarDialog(ChartState *chart)
{
    showNotAvailable(chart, "openStarDialog");
}
void openNebulaDialog(ChartState *chart)
{
    showNotAvailable(chart, "openNebulaDialog");
}
void openUserObjectDialog(ChartState *chart)
{
    showNotAvailable(chart, "openUserObjectDialog");
}
void openAboutDialog(ChartState *chart)
{
    showNotAvailable(chart, "openAboutDialog");
}
void openCopyrightDialog(ChartState *chart)
{
    showNotAvailable(chart, "openCopyrightDialog");
}
void openTodayDialog(ChartState *chart)
{
    showNotAvailable(chart, "openTodayDialog");
}
