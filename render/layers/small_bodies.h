// The solar-system layer of a chart frame and what it draws besides the Sun,
// Moon and planets: comet heads and tails, minor planets, and in the
// solar-system views the orbits, the reference axes and the Earth.
#pragma once

#include <cstdint>

#include "astro/types.h"
#include "model/view_geometry.h"
#include "render/canvas.h"

struct ChartState;

// The display bits are those of render/layers/solar_bodies.h and, for the tails,
// kCometDustTail and kCometIonTail of model/ephemeris.h.

// A body beyond this heliocentric distance (AU) is not drawn in the
// solar-system views; its orbit still is.
constexpr double kSolViewBodyMaxAu = 100.0;
// Sky level above which comets lose their tails; at or above kTailFadeLevel
// the tails shorten.
constexpr int32_t kTailMaxSkyLevel = 12;
constexpr int32_t kTailFadeLevel = 4;
// Planet orbit outlines are recomputed once the date has moved this far (days).
constexpr double kPlanetOrbitRedoDays = 365252.0;

// The layer: orbits (solar-system views), planets 7..0, minor planets, comet
// heads, Galilean moon names, the Sun and the Moon (with shadowOffset).
void chartDrawSolarSystem(ChartState *chart, Canvas *canvas, int32_t shadowOffset);

// pass 1: the tails of every drawn comet whose tails can reach the chart and
// leave the head's symbol,
// each computed first when out of date (ephemUpdateCometTails); pass 0:
// their heads.
void chartDrawComets(ChartState *chart, Canvas *canvas, int pass);
// Whether comet index's tails can have a point on the chart under the cull
// values in force: never above sky level 12 or in the solar-system views,
// always on the whole-sky maps and the planisphere; in the sky charts when
// the cone its tails' reach subtends about the head meets the cull cone.
bool cometTailsCanReachChart(ChartState *chart, int index);
// Whether every pixel comet index's tails could light in the sky charts is
// one its head's symbol draws over later in the frame (the heads' band culls
// as the tails' does), so the tails need not be computed: the tails' reach
// about the head, through projectSpanPrecise, within the symbol's pixels.
bool cometTailsUnderHead(ChartState *chart, int index);
void drawCometTails(ChartState *chart, Canvas *canvas, int index);
void drawCometDustTail(ChartState *chart, Canvas *canvas, int index, int count);
void drawCometIonTail(ChartState *chart, Canvas *canvas, int index, int count);
// Screen point of dust sample `sample` edge `edge` (0, 1), or of ion point
// `sample`; false when it has none (always in the solar-system views).
bool cometTailPoint(ChartState *chart, int index, int sample, int edge, ProjectedPoint *out);
bool cometIonTailPoint(ChartState *chart, int index, int sample, ProjectedPoint *out);
void drawCometHead(ChartState *chart, Canvas *canvas, int index);

void chartDrawMinorPlanets(ChartState *chart, Canvas *canvas);
void drawMinorPlanet(ChartState *chart, Canvas *canvas, int index);

// The orbits, axes and Earth of the solar-system views.
void chartDrawOrbits(ChartState *chart, Canvas *canvas);
// Projects count heliocentric points (AU) into the scratch arrays (count + 1
// entries each) and draws each run of two or more projected points as one
// polyline in paletteIndex; closed repeats the first point at the end.
void drawOrbitPolyline(ChartState *chart, Canvas *canvas, const Vec3 *points, int count, bool closed,
                       uint8_t *scratchFlags, CanvasPoint *scratchPoints, int32_t paletteIndex);
// Two 9-pixel arrow strokes at (x1, y1), 30 degrees either side of the line
// from (x0, y0); nothing when the points coincide.
void drawAxisTicks(Canvas *canvas, int x0, int y0, int x1, int y1);
// A body's symbol in the solar-system views (-3 Earth, -2 Sun, 0..7
// planets); returns the size its labels leave, 0 for any other id.
int drawPointSymbol(ChartState *chart, Canvas *canvas, int x, int y, int id);

// The frame's rows: tails early, the solar-system layer with shadow offset 0.
void drawCometTailsLayer(ChartState *chart, Canvas *canvas);
void drawSolarSystemLayer(ChartState *chart, Canvas *canvas);
