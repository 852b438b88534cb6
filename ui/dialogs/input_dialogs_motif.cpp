#include "ui/dialogs/input_dialogs.h"

#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_openers.h"

namespace {

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
        if (row.dialog == dialog) {
            row.open(chart);
            return 1;
        }
    return 0;
}
