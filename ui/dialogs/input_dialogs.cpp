#include "ui/dialogs/input_dialogs.h"

#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_openers.h"

namespace {

// A row with a null opener is a dialog not built yet; its owner puts the
// opener in when the dialog lands.
struct InputDialogRow {
    int dialog;
    void (*open)(ChartState *chart);
};
const InputDialogRow kInputDialogs[] = {
    {kInputDialogDate, openDateDialog},
    {kInputDialogPeriod, openTimeStepDialog},
    {kInputDialogLocate, openSiteDialog},
    {kInputDialogOpenFile, openOpenFileDialog},
    {kInputDialogSaveFile, openSaveFileDialog},
};

} // namespace

int openInputDialog(ChartState *chart, int dialog)
{
    for (const InputDialogRow &row : kInputDialogs)
        if (row.dialog == dialog && row.open) {
            row.open(chart);
            return 1;
        }
    return 0;
}
