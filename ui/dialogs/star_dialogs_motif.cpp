// The Star and Nebula/Galaxy dialogs on the dialog kit's builder.
#include <cstdio>
#include <cstring>

#include "model/app_data.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/star_dialogs.h"

namespace {

void starPress(ChartState *, void *values, int control) { starDlgSpin(values, control); }

void starOkHandler(ChartState *chart, void *values)
{
    static DialogResult result;
    dialogResultClear(&result);
    kStarDialog.ok(values, chart, appData, &result);
    if (result.refused) {
        dialogFinishOk(&kStarDialog, &result);
        return;
    }
    // The path is in force before STARDATA GSC asks whether the catalogue is there.
    strCopyBounded(appData->gscPath, sizeof appData->gscPath, static_cast<StarDialogValues *>(values)->gscPath);
    dialogFinishOk(&kStarDialog, &result);
}

void nebulaPress(ChartState *, void *values, int control) { nebulaDlgArrow(values, control); }

void nebulaOkHandler(ChartState *chart, void *values)
{
    static DialogResult result;
    dialogResultClear(&result);
    kNebulaDialog.ok(values, chart, appData, &result);
    if (result.refused && std::strcmp(result.messageResource, kNebulaLimitRange) == 0) {
        // This message names the range, not the text typed.
        char format[256], text[256];
        getResourceFormat(kNebulaLimitRange, "ff", format, sizeof format);
        std::snprintf(text, sizeof text, format, kNebulaLimitLowest, kNebulaLimitHighest);
        uiHooks.openMessageBox(dialogWidget(&kNebulaDialog, "NebulaDialog"), text, kMessageBoxWarning);
        return;
    }
    dialogFinishOk(&kNebulaDialog, &result);
}

} // namespace

void openStarDialog(ChartState *chart)
{
    static const DialogHandlers handlers = {starPress, starOkHandler};
    dialogSetHandlers(&kStarDialog, &handlers);
    dialogOpen(&kStarDialog, chart);
}

void openNebulaDialog(ChartState *chart)
{
    static const DialogHandlers handlers = {nebulaPress, nebulaOkHandler};
    dialogSetHandlers(&kNebulaDialog, &handlers);
    dialogOpen(&kNebulaDialog, chart);
}
