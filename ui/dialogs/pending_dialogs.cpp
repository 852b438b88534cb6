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
void openCometDialog(ChartState *chart)
{
    showNotAvailable(chart, "openCometDialog");
}
void openMPlanetDialog(ChartState *chart)
{
    showNotAvailable(chart, "openMPlanetDialog");
}
