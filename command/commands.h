// The handlers of the command table, one per command.
// The handlers live in command/*_commands.cpp, one file a family of commands.
#pragma once

struct ChartState;

void stkCmdInit(ChartState *chart, char **params);
void stkCmdDrive(ChartState *chart, char **params);
void stkCmdMode(ChartState *chart, char **params);
void stkCmdLocate(ChartState *chart, char **params);
void stkCmdDate(ChartState *chart, char **params);
void stkCmdStime(ChartState *chart, char **params);
void stkCmdIncTime(ChartState *chart, char **params);
void stkCmdDecTime(ChartState *chart, char **params);
// INCTIME (subtract 0) and DECTIME (1): the six values, omitted 0, as a step.
void stkStepDate(ChartState *chart, char **params, int subtract);
void stkCmdPeriod(ChartState *chart, char **params);
void stkCmdTimeSys(ChartState *chart, char **params);
void stkCmdContinue(ChartState *chart, char **params);
void stkCmdReverse(ChartState *chart, char **params);
void stkCmdRealTime(ChartState *chart, char **params);
void stkCmdMag(ChartState *chart, char **params);
void stkCmdIncMag(ChartState *chart, char **params);
void stkCmdDecMag(ChartState *chart, char **params);
void stkCmdStarSize(ChartState *chart, char **params);
void stkCmdStarData(ChartState *chart, char **params);
void stkCmdMirror(ChartState *chart, char **params);
void stkCmdView(ChartState *chart, char **params);
void stkCmdZoom(ChartState *chart, char **params);
void stkCmdLook(ChartState *chart, char **params);
void stkCmdTrack(ChartState *chart, char **params);
void stkCmdBlink(ChartState *chart, char **params);

// LOOK's and VIEW CENTER's target: "HRZ" alone locks the view's vertical
// placement (unless tracking), else the position text1..text3 becomes the
// one-shot target (ignored while tracking). 0 after stkErrorIllegalParam
// with text1 when it is no position.
int setLookTarget(ChartState *chart, char *text1, char *text2, char *text3);
void stkCmdSolOffset(ChartState *chart, char **params);
void stkCmdShow(ChartState *chart, char **params);
void stkCmdHide(ChartState *chart, char **params);
void stkCmdToggle(ChartState *chart, char **params);
void stkCmdGrid(ChartState *chart, char **params);
void stkCmdLoad(ChartState *chart, char **params);
void stkCmdUnload(ChartState *chart, char **params);
void stkCmdInput(ChartState *chart, char **params);
void stkCmdStl(ChartState *chart, char **params);
void stkCmdReal(ChartState *chart, char **params);
void stkCmdOutline(ChartState *chart, char **params);
void stkCmdDisk(ChartState *chart, char **params);
void stkCmdDiskMag(ChartState *chart, char **params);
void stkCmdGsave(ChartState *chart, char **params);
void stkCmdExit(ChartState *chart, char **params);

