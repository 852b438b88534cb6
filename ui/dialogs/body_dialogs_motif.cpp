// The openers of the body, grid and centre dialogs: each is a table of the
// dialog kit, built on first use by its Motif half.
#include "ui/dialogs/body_dialogs.h"
#include "ui/dialogs/center_dialogs.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/grid_dialog.h"

void openPlanetDialog(ChartState *chart) { dialogOpen(&kPlanetDialog, chart); }
void openJoviSatDialog(ChartState *chart) { dialogOpen(&kJoviSatDialog, chart); }
void openConstDialog(ChartState *chart) { dialogOpen(&kConstDialog, chart); }
void openSunDialog(ChartState *chart) { dialogOpen(&kSunDialog, chart); }
void openMoonDialog(ChartState *chart) { dialogOpen(&kMoonDialog, chart); }
void openGridDialog(ChartState *chart) { dialogOpen(&kGridDialog, chart); }

void openCenterStarDialog(ChartState *chart) { dialogOpen(&kCenterStarDialog, chart); }
void openCenterNebulaDialog(ChartState *chart) { dialogOpen(&kCenterNebulaDialog, chart); }
void openCenterPlanetDialog(ChartState *chart) { dialogOpen(&kCenterPlanetDialog, chart); }
void openCenterCometDialog(ChartState *chart) { dialogOpen(&kCenterCometDialog, chart); }
void openCenterMPlanetDialog(ChartState *chart) { dialogOpen(&kCenterMPlanetDialog, chart); }
void openCenterJoviSatDialog(ChartState *chart) { dialogOpen(&kCenterJoviSatDialog, chart); }
void openCenterConstDialog(ChartState *chart) { dialogOpen(&kCenterConstDialog, chart); }
void openCenterUserObjectDialog(ChartState *chart) { dialogOpen(&kCenterUserObjectDialog, chart); }
void openCenterSkyMarkDialog(ChartState *chart) { dialogOpen(&kCenterSkyMarkDialog, chart); }
