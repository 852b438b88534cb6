// The info box of the click-data dialog: five lines about the picked object
// (name, equatorial place with magnitude and size, rise and set, horizontal
// place or the solar-system distances, the click-data text).
//
// The builders and formatters are pure functions of the chart; drawInfoBox
// draws through the canvas, with the two placeholder forms of line 4 in the
// GC's own font through a callback.
#pragma once

#include <cstdint>

#include "model/chart_state.h"

struct ChartState;
struct Canvas;
struct OrbitalElements;

constexpr double kInfoNoPosition = -999.0; // a coordinate of an object without a place
constexpr double kInfoNoValue = -100.0;    // no magnitude, no size
constexpr int kInfoLineSize = 256;

// What a line builder gives beside the name: the J2000 place (degrees, or
// kInfoNoPosition), magnitude and size in arc minutes (or kInfoNoValue).
struct InfoObject {
    double radec[2];
    double mag, size;
};

// The name-line builders of each pick kind; out holds outSize bytes. A pick
// that names nothing on the chart as it is now gives an empty name and no
// place.
void infoStarLine(ChartState *chart, char *out, int outSize, InfoObject *obj);
void infoBodyLine(ChartState *chart, char *out, int outSize, InfoObject *obj);
void infoNebulaLine(ChartState *chart, char *out, int outSize, InfoObject *obj);
void infoMoonLine(ChartState *chart, char *out, int outSize, InfoObject *obj);
void infoUserObjectLine(ChartState *chart, char *out, int outSize, InfoObject *obj);
void infoNamedPointLine(ChartState *chart, char *out, int outSize, InfoObject *obj);

// The equatorial line; 1 when the place is known, 0 for a placeholder.
int formatEquatorialLine(ChartState *chart, double ra, double dec, double mag, double size, char *out,
                         int outSize);
// "hh:mm" local clock time of an event (minutes rounded by the seconds).
void formatEventClock(double jd, double zoneHours, char *out, int outSize);
void formatRiseSetLine(char *out, int outSize, double zoneHours, int riseFound, double riseJd, int setFound,
                       double setJd);
// Distances of the picked body from the Earth and from the Sun, AU.
void bodyDistances(ChartState *chart, double *delta, double *r);
// The first non-blank of extension, designation and id, " ", the name;
// trailing blanks removed.
void smallBodyLabel(const OrbitalElements *el, char *out, int outSize);

// The lines as drawInfoBox draws them.
struct InfoBoxText {
    char name[kInfoLineSize];
    char equatorial[kInfoLineSize];
    int equatorialKnown;
    char riseSet[kInfoLineSize];
    // Line 4: a placeholder (drawn in the GC's font), the horizontal place,
    // or the two distance texts of the solar-system views.
    char line4[kInfoLineSize];
    int line4Placeholder;
    int distances;                 // line4 is the Delta text, radius the r text
    char radius[kInfoLineSize];
    int deltaGray, radiusGray;
    char clickText[kClickTextSize];
    int clickData;                 // clickDataText's result for the pick
};

// The five lines of the picked object.
void infoBoxText(ChartState *chart, InfoBoxText *out);

// Draws text in the GC's own font (not a font set) at a baseline.
using InfoCoreTextDrawer = void (*)(void *context, int x, int y, const char *text, int len);

// Draws the lines; returns clickDataText's result for the pick.
int drawInfoBox(ChartState *chart, Canvas *canvas, InfoCoreTextDrawer coreText, void *context);
