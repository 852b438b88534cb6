// The openers of the Date, Time Step and Projection dialogs: the kit builds,
// fills and runs them from their tables.
#include "model/chart_state.h"
#include "ui/dialogs/date_dialog.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/step_projection_dialogs.h"

void openDateDialog(ChartState *chart)
{
    // dateStyle is a start-up setting: every opening finds the layout built
    // at the first one, kept for the run.
    dialogOpen(dateDialogLayout(chart->dateStyle), chart);
}

void openTimeStepDialog(ChartState *chart)
{
    dialogOpen(&kTimeStepDialog, chart);
}

void openProjectionDialog(ChartState *chart)
{
    dialogOpen(&kProjectionDialog, chart);
}
