// XcgLiteClue: tool tips. An override shell that watches other widgets and,
// when the pointer rests in one, pops up a one-line text just below it.
//
// Resources: foreground, fontSet, waitPeriod (ms before a tip shows, 500) and
// cancelWaitPeriod (ms after a tip went down within which the next one
// shows at once, 2000); the background is the shell's own.
#pragma once

#include <X11/Intrinsic.h>

extern WidgetClass xcgLiteClueWidgetClass;

// Attaches text (size 0: its strlen) to watched. A widget already watched
// keeps its one pair of handlers; a non-null text replaces its old one, a
// null text keeps it (a new widget added with a null text shows nothing).
// option is not used.
void XcgLiteClueAddWidget(Widget tip, Widget watched, const char *text, int size, int option);
// Detaches watched (cancelling a pending tip); nothing when not watched.
void XcgLiteClueDeleteWidget(Widget tip, Widget watched);
// The tip's own sensitivity of watched, or of every watched widget when
// watched is null.
void XcgLiteClueSetSensitive(Widget tip, Widget watched, Boolean sensitive);
// That flag; False when not watched. With null: the first widget's, False
// when none is watched.
Boolean XcgLiteClueGetSensitive(Widget tip, Widget watched);
// The toolkit sends no crossing events to insensitive widgets: the main loop
// hands every event here first. True when it was an EnterNotify or
// LeaveNotify of an insensitive watched widget, which has been acted on.
Boolean XcgLiteClueDispatchEvent(Widget tip, XEvent *event);

// The pop-up shell "TipHelp" of the top-level widget.
Widget createTipShell(Widget topLevel);

// Where a tip of tipW x tipH goes for a widget of height widgetH whose
// origin is (originX, originY) on a screen of screenW x screenH: below it,
// above it when it would leave the bottom, kept inside the screen's sides.
void liteCluePlacement(int originX, int originY, int widgetH, int tipW, int tipH, int screenW, int screenH,
                       int *x, int *y);

// The wait before a tip shows at server time now: waitPeriod, or 0 within
// cancelWaitPeriod of the last pop-down. Server times wrap at 32 bits.
unsigned long liteClueWaitMs(Time lastPopdown, Time now, int waitPeriod, int cancelWaitPeriod);
