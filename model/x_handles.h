// Opaque X handle types for records that model/, command/ and render/ share
// without including any X header.
//
// Each name is declared exactly as Xlib and Xt declare it on this platform, so
// a translation unit in ui/ or render/x/ may include this header together with
// <X11/Xlib.h> and <X11/Intrinsic.h> (a repeated identical typedef is legal
// C++) and pass the record fields to X directly.
#pragma once

#include <cstdint>

struct _XDisplay;
typedef struct _XDisplay Display;

struct _WidgetRec;
typedef struct _WidgetRec *Widget;

struct _XGC;
typedef struct _XGC *GC;

struct _XOC;
typedef struct _XOC *XFontSet;

typedef unsigned long XID;
typedef XID Window;
typedef XID Drawable;
typedef XID Pixmap;
typedef XID Colormap;
typedef XID Font;
typedef XID Cursor;

typedef unsigned long Pixel;

typedef unsigned long XtInputId;
typedef unsigned long XtIntervalId;
typedef unsigned long XtWorkProcId;

// X's "None" for XIDs, without the macro.
constexpr XID kNoXid = 0;

// Laid out like XRectangle.
struct ChartRect {
    int16_t x, y;
    uint16_t width, height;
};

// The chart's font sets (FontSetIndex of render/palette.h): the length of
// every table of them.
constexpr int kFontSetCount = 17;

// Laid out like XFontSetExtents; holds a copy, so it outlives nothing.
struct FontSetExtents {
    ChartRect maxInkExtent;
    ChartRect maxLogicalExtent;
};

// Laid out like XCharStruct.
struct CharMetrics {
    int16_t lbearing, rbearing, width, ascent, descent;
    uint16_t attributes;
};

// The fixed part of an XFontStruct (without its extension data pointer and the
// property and per-character arrays, which belong to the loaded font).
struct BayerFont {
    Font fid;
    uint32_t direction;
    uint32_t minCharOrByte2, maxCharOrByte2;
    uint32_t minByte1, maxByte1;
    int32_t allCharsExist;
    uint32_t defaultChar;
    CharMetrics minBounds, maxBounds;
    int32_t ascent, descent;
};
