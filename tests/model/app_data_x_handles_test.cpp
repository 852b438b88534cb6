// The opaque handles must be the very types X declares, so ui/ can hand the
// record fields to Xlib and Xt. Including both in one translation unit is the
// check: a differing typedef does not compile. Only headers are used here;
// nothing links against X.
#include "model/app_data.h"
#include "model/chart_state.h"

#include <cstddef>
#include <type_traits>

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>

static_assert(std::is_same<decltype(AppData::display), Display *>::value, "display");
static_assert(std::is_same<decltype(AppData::topLevel), Widget>::value, "widget");
static_assert(std::is_same<decltype(AppData::listenInputId), XtInputId>::value, "input id");
static_assert(std::is_same<decltype(ChartState::playTimerId), XtIntervalId>::value, "timer id");
static_assert(std::is_same<decltype(ChartState::playWorkProc), XtWorkProcId>::value, "work proc");
static_assert(std::is_same<decltype(AppData::pixels[0]), Pixel &>::value, "pixels are Pixel");
static_assert(std::is_same<decltype(AppData::fontSets[0]), XFontSet &>::value, "font sets");
static_assert(std::is_same<decltype(ChartState::gc), GC>::value, "gc");

// Records laid out like their X counterparts.
static_assert(sizeof(ChartRect) == sizeof(XRectangle), "rectangle size");
static_assert(offsetof(ChartRect, width) == offsetof(XRectangle, width), "rectangle width");
static_assert(offsetof(ChartRect, height) == offsetof(XRectangle, height), "rectangle height");
static_assert(sizeof(FontSetExtents) == sizeof(XFontSetExtents), "extents size");
static_assert(offsetof(FontSetExtents, maxLogicalExtent) ==
                  offsetof(XFontSetExtents, max_logical_extent),
              "logical extent");
static_assert(sizeof(CharMetrics) == sizeof(XCharStruct), "char metrics");
static_assert(offsetof(CharMetrics, descent) == offsetof(XCharStruct, descent), "descent");

static_assert(kNoXid == static_cast<XID>(None), "none");
