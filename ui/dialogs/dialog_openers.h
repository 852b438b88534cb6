// The dialogs the menus, the tool bar, the click-data dialog and INPUT open.
//
// Each opener creates its dialog on first use, fills it from the chart and
// shows it.
#pragma once

struct ChartState;

// File and settings
void openOpenFileDialog(ChartState *chart);
void openSaveFileDialog(ChartState *chart);
void openSaveImageDialog(ChartState *chart);
void openSetEnvDialog(ChartState *chart);
void openDateDialog(ChartState *chart);
void openSiteDialog(ChartState *chart);
void openTimeStepDialog(ChartState *chart);
void openProjectionDialog(ChartState *chart);
void openGridDialog(ChartState *chart);

// Object
void openSunDialog(ChartState *chart);
void openMoonDialog(ChartState *chart);
void openPlanetDialog(ChartState *chart);
void openCometDialog(ChartState *chart);
void openMPlanetDialog(ChartState *chart);
void openJoviSatDialog(ChartState *chart);
void openStarDialog(ChartState *chart);
void openConstDialog(ChartState *chart);
void openNebulaDialog(ChartState *chart);
void openUserObjectDialog(ChartState *chart);

// Center
void openCenterPlanetDialog(ChartState *chart);
void openCenterCometDialog(ChartState *chart);
void openCenterMPlanetDialog(ChartState *chart);
void openCenterJoviSatDialog(ChartState *chart);
void openCenterStarDialog(ChartState *chart);
void openCenterConstDialog(ChartState *chart);
void openCenterNebulaDialog(ChartState *chart);
void openCenterSkyMarkDialog(ChartState *chart);
void openCenterUserObjectDialog(ChartState *chart);

// Help and pictures
void openAboutDialog(ChartState *chart);
void openCopyrightDialog(ChartState *chart);
void openTodayDialog(ChartState *chart);
