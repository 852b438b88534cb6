// "ClickDataDialog": the picked object's info box under five picture
// buttons (Close, Blink, Center, Track, Image), and the pop-up menu's object
// buttons.
#pragma once

#include <cstdint>

#include <X11/Intrinsic.h>

struct ChartState;

// Builds the dialog once (at start-up, unmanaged) and refreshes its buttons.
void createClickDataDialog(ChartState *chart);
// Shows (placed at the chart's top-left corner the first time) or hides it.
void setClickDataDialogVisible(ChartState *chart, int visible);
// Redraws the info box while the dialog is shown (after every frame).
void repaintClickData(ChartState *chart);
// Track's shadow (in while the pick is tracked) and Image's sensitivity.
void updateClickDataButtons(ChartState *chart);
// Tool tips on the five buttons; removed again before the shell goes.
void addClickDataTips(Widget tipShell);
void removeClickDataTips();
// Quit: the tips removed, the pixmap, GC and the button pictures freed.
void destroyClickDataDialog();
// 1 while the dialog is shown.
int clickDataDialogShown();
// The dialog's buttons and drawing area by widget name (tests); null before
// it is built.
Widget clickDataDialogWidget(const char *name);

// Labels up to count of the pop-up menu's buttons, one per kind of object at
// xy, each opening that kind's dialog; returns how many (the caller manages
// them). hitKind/hitIndex are unchanged.
int popupFillObjectButtons(ChartState *chart, int32_t xy, Widget *buttons, int count);

// Puts the dialog's routines into uiHooks.
void registerClickDataHooks();
