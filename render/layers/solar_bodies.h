// The Sun, the Moon and the planets on a chart frame: discs with phases,
// Jupiter's and Saturn's flattened discs, Saturn's rings, the Earth's shadow
// during a lunar eclipse, labels and the Galilean moons. Everything draws
// through the canvas; the vertex lists come from render/body_shapes.h.
#pragma once

#include <cstdint>

#include "astro/types.h"
#include "model/view_geometry.h"
#include "render/canvas.h"

struct ChartState;

// Services the drawers take from the star and orbit layers; tests replace
// them.
struct SolarBodyServices {
    // A planet without its disc: a star symbol at p for magnitude mag10 in
    // paletteIndex (dimmed near the horizon of the horizontal chart);
    // returns its size in pixels for the labels.
    int (*starDrawSymbol)(ChartState *chart, Canvas *canvas, const ProjectedPoint *p, int32_t mag10,
                          int32_t paletteIndex);
    // A body's point in the solar-system views; returns the size.
    int (*drawPointSymbol)(ChartState *chart, Canvas *canvas, int id, const ProjectedPoint *p);
    // Where body id stands on the chart; 0 when hidden or off the chart.
    int (*objectScreenPosition)(ChartState *chart, int id, ProjectedPoint *out);
};
extern SolarBodyServices solarBodyServices;
extern const SolarBodyServices kDefaultSolarBodyServices;

// Shapes (centre c, radius r in pixels).
void fillCircle(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r, uint32_t pixel);
void drawCircle(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r, uint32_t pixel);
void fillEllipseRotated(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r,
                        double flattening, double angleDeg, uint32_t pixel);
void fillPhase(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r, double k,
               double angleDeg, int32_t paletteIndex);
void drawPhaseOutline(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r, double k,
                      double angleDeg, uint32_t pixel);
// colours: disc, ring A (outer), ring B (inner).
void drawSaturn(ChartState *chart, Canvas *canvas, const ProjectedPoint *c, int r,
                double flattening, double angleDeg, double ringAxisAngleDeg,
                const uint32_t colours[3]);
// The shadowed part of the Moon in ColorMoonEclipse; false when the circles
// do not cross.
bool fillEclipseShadow(ChartState *chart, Canvas *canvas, const ProjectedPoint *moonCentre,
                       int moonR, const ProjectedPoint *shadowCentre, int shadowR, bool filled);

/*
 * moonShadowGeometry: the Earth's shadow at the Moon's distance.
 * Given:    moonCentre, r0 (the Moon's unclamped radius in pixels),
 *           northAngleDeg (screenNorthAngle at the Moon)
 * Returned: shadowCentre, shadowR (pixels), magnitude (-1.0 when the shadow
 *           misses the Moon); true when the shadow touches the Moon and its
 *           centre has a screen position.
 * Notes:    The topocentric shift and the enlarged-disc offset use
 *           right-ascension differences wrapped into (-180, 180].
 */
bool moonShadowGeometry(ChartState *chart, const ProjectedPoint *moonCentre, int r0,
                        double northAngleDeg, ProjectedPoint *shadowCentre, int *shadowR,
                        double *magnitude);

// Screen angle (degrees; 270 - atan2 of the screen offset, y down) of the
// direction of increasing declination at raDec; 0 when the auxiliary point
// cannot be projected.
double screenNorthAngle(ChartState *chart, const double raDec[2], int r, const ProjectedPoint *c);

void chartDrawPlanet(ChartState *chart, Canvas *canvas, int fromId, int toId,
                     int32_t shadowPaletteIndex);
void chartDrawSun(ChartState *chart, Canvas *canvas);
// Stores the lunar eclipse magnitude it drew in chart->moon.
void chartDrawMoon(ChartState *chart, Canvas *canvas, int32_t shadowOffset);
void chartDrawSatelliteNames(ChartState *chart, Canvas *canvas);

