// XcgLiteClue's class and instance records (the toolkit's private side; the
// widget's own code and its tests read them).
#pragma once

#include <X11/IntrinsicP.h>
#include <X11/ShellP.h>

#include "ui/widgets/lite_clue.h"

// One watched widget. Allocated zeroed by the toolkit, freed with its text.
struct LiteClueContext {
    LiteClueContext *prev, *next;  // circular, through the widget's head
    Widget watched;
    Widget tip;
    Boolean sensitive;
    char *text;                    // own copy, NUL-terminated
    unsigned short textLength;
};

struct XcgLiteCluePart {
    // resources
    Pixel foreground;
    XFontSet fontSet;
    int waitPeriod;
    int cancelWaitPeriod;
    // state
    LiteClueContext head;          // points to itself when nothing is watched
    unsigned short fontWidth, fontHeight;
    short fontAscent;
    GC gc;
    XtIntervalId timer;            // 0 when none is pending
    Boolean up;
    Time lastPopdown;
};

struct XcgLiteClueRec {
    CorePart core;
    CompositePart composite;
    ShellPart shell;
    OverrideShellPart override;
    XcgLiteCluePart liteClue;
};
typedef XcgLiteClueRec *XcgLiteClueWidget;

struct XcgLiteClueClassPart {
    XtPointer extension;
};

struct XcgLiteClueClassRec {
    CoreClassPart core_class;
    CompositeClassPart composite_class;
    ShellClassPart shell_class;
    OverrideShellClassPart override_shell_class;
    XcgLiteClueClassPart lite_clue_class;
};

extern XcgLiteClueClassRec xcgLiteClueClassRec;
