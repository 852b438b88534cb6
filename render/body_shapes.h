// Vertex lists of the solar-system bodies' shapes: circles, rotated ellipses,
// the dark part of a phase, Saturn's ring halves and the Earth's shadow on the
// Moon. Pure functions of their arguments; the drawers in solar_bodies.h
// hand the lists to the canvas.
//
// Screen x grows to the right and y downwards; angles are degrees counted
// counter-clockwise from +x with y up, so a vertex is
// (cx + x, cy - y x pixelAspect). Vertices round to the nearest integer with
// halves away from zero and saturate at the canvas' 16-bit range.
#pragma once

#include <cstdint>

#include "render/canvas.h"

constexpr int kCircleVertices = 73;        // every 5 degrees, closed
constexpr int kPhaseVertices = 73;         // 37 terminator + 36 limb
constexpr int kPhaseOutlineVertices = 19;  // terminator every 10 degrees
constexpr int kRingHalfVertices = 74;      // 37 inner + 37 outer
constexpr int kEclipseShadowVertices = 155;

// Circle of radius r: 73 vertices at t = 0, 5, ..., 360. Returns 73.
int circleVertices(int cx, int cy, int r, double pixelAspect, CanvasPoint out[kCircleVertices]);

// Ellipse of semi-axes r (along angleDeg) and r x flattening. Returns 73.
int ellipseVertices(int cx, int cy, int r, double flattening, double angleDeg, double pixelAspect,
                    CanvasPoint out[kCircleVertices]);

/*
 * phaseVertices: the dark part of a disc of radius r lit to the fraction k,
 * the bright limb towards angleDeg + 90.
 * Returned: 0 when the dark part is thinner than 0.4 pixel ((1 - k)(2r + 1)
 *           < 0.4), else 73. A thin crescent (0.01 < k < 1/(r + 1)) is drawn
 *           with k = 1/(r + 1), so that it never vanishes between pixels.
 */
int phaseVertices(int cx, int cy, int r, double k, double angleDeg, double pixelAspect,
                  CanvasPoint out[kPhaseVertices]);

// The terminator alone: 19 vertices, t = -90..90 every 10 degrees. Returns 19.
int phaseOutlineVertices(int cx, int cy, int r, double k, double angleDeg, double pixelAspect,
                         CanvasPoint out[kPhaseOutlineVertices]);

/*
 * ringHalfVertices: half an annulus seen at the ring opening e (cos of the
 * ring-axis angle), turned by the angle whose sine and cosine are given.
 * half 0 runs t = 180..360 (drawn behind the disc), half 1 t = 0..180.
 * Returned: 74: 37 along rInner ascending, 37 along rOuter descending.
 */
int ringHalfVertices(int cx, int cy, double rInner, double rOuter, int half, double e, double sinA,
                     double cosA, double pixelAspect, CanvasPoint out[kRingHalfVertices]);

// Ring radii in units of Saturn's equatorial radius.
constexpr double kSaturnRingBInner = 1.503, kSaturnRingBOuter = 1.943;
constexpr double kSaturnRingAInner = 1.989, kSaturnRingAOuter = 2.26;

// Flattening of Saturn's disc seen at the ring-axis angle (degrees):
// 0.8923 edge-on (90), 1 pole-on (0).
double saturnFlattening(double ringAxisAngleDeg);

/*
 * eclipseShadowVertices: the part of the Moon's disc (mx, my, r) inside the
 * Earth's shadow disc (sx, sy, rs).
 * Returned: vertex count, 0 when the circles do not cross (or touch in one
 *           point, or a radius is 0). Outline: the shadow's arc inside the
 *           Moon; filled: that arc followed by the Moon's arc inside the
 *           shadow, a closed lens. At most 155 vertices.
 */
int eclipseShadowVertices(int mx, int my, int r, int sx, int sy, int rs, int filled,
                          double pixelAspect, CanvasPoint out[kEclipseShadowVertices]);

/*
 * formatBodyMagnitude: a magnitude label from the magnitude in tenths:
 * "%02d" for 0..99, "-%02d" of -m10 for -99..-1, else "%d" (45 -> "45",
 * -5 -> "-05", 123 -> "123", -127 -> "-127"). Returns the length.
 */
int formatBodyMagnitude(int32_t magnitude10, char *buf, int size);

// The Sun's (and the Moon's) colour near the horizon: the index passed in is
// kept above 15 degrees, then ColorStar4 .. ColorStar9 every 2.5 degrees down.
void sunColorByAltitude(double altitudeDeg, int32_t *paletteIndex);
