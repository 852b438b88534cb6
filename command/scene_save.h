// Saving the chart as a scene or as the start-up script, and Initialize:
// the routines behind the File menu's Save and the Settings menu's Save As
// Default and Initialize.
#pragma once

struct ChartState;

// Writes the scene (asStartupScript as writeSceneFile takes it) to path
// through a temporary renamed over the file: on failure the old file keeps
// every byte. Returns 1 on success; a scene saved without a statement it
// cannot hold (writeSceneFile) says so in a warning box.
int saveSceneFile(ChartState *chart, const char *path, int asStartupScript);

// Save: the save dialog when the chart has no scene file yet, else the scene
// to sceneFilePath; a failure is one warning box naming the file.
void menuFileSave(ChartState *chart);

// Save As Default: after the user agrees, the start-up script to rcPath; on
// success the chart's site name becomes the SiteName option.
void menuSettingsSaveAsDefault(ChartState *chart);

// Initialize: after the user agrees (when confirmInit asks), INIT, then the
// start-up script run as start-up runs it (so its errors are one report and
// MODE keeps the saved field), then DRIVE.
void menuSettingsInitialize(ChartState *chart);
