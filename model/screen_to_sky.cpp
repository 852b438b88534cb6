// From a chart pixel back to the sky: the inverse of each mode's projection.
#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/types.h"
#include "astro/vecmat.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/view_geometry.h"

namespace {

// The pixel's offset from the projection centre as the projection wrote it:
// dx to the left, dy up, with the orientation setting undone. An unknown
// orientation places nothing; its pixels all name the centre.
void centreOffsets(const ChartState *chart, int32_t px, int32_t py, double *dx, double *dy)
{
    const double cx = chart->centerX;
    double cy = chart->centerY;
    // The horizontal chart's turn mirrors the rows about the middle of the
    // chart rectangle, not about its projection centre near the bottom.
    if (chart->mode == kModeHrz && chart->mirror == kMirrorTurned)
        cy = chart->chartRect.height + 2 * chart->chartRect.y - chart->centerY;
    *dx = cx - px;
    *dy = cy - py;
    if (chartModeKind(chart->mode) != kKindSky)
        return;
    switch (chart->mirror) {
    case kMirrorNormal:
        break;
    case kMirrorTurned:
        *dx = px - cx;
        *dy = py - cy;
        break;
    case kMirrorFlipped:
        *dx = px - cx;
        break;
    default:
        *dx = *dy = 0.0;
        break;
    }
}

// The precession inside the view matrix is orthonormal only to about 3e-7
// and sphToVec's table sines are good to 2e-6: the result is scaled to unit
// length, as the caller expects.
void unitLength(Vec3 *v)
{
    const double length = vecLength(v);
    if (length > 0.0)
        vecScale(v, 1.0 / length, v);
}

// A longitude offset from the map centre and a latitude in the map's system
// (the chart's), as a J2000 unit vector.
void mapToJ2000(const ChartState *chart, double lonOffsetDeg, double latDeg, Vec3 *out)
{
    // The equatorial maps are drawn in the equator of date (system 4), so
    // the pair is converted like the ecliptic and galactic ones.
    double pair[2] = {lonOffsetDeg + chart->centerMode[0], latDeg};
    double j2000[2];
    convertCoords(&chart->sky, chartModeSystem(chart->mode), pair, COORD_EQT, j2000);
    sphToVec(j2000, out);
    unitLength(out);
}

// Azimuthal equidistant: the offset in radians is the distance from the
// centre, its direction the direction in the view frame's y-z plane.
int azimuthalToSky(const ChartState *chart, double dx, double dy, Vec3 *out)
{
    const double u = dx / chart->pixelsPerRadianX, v = dy / chart->pixelsPerRadianY;
    const double r = std::sqrt(u * u + v * v);
    const double k = r == 0.0 ? 1.0 : r / std::sin(r);
    const Vec3 view = {std::cos(r), u / k, v / k};
    Mat3 inverse;
    mat3Inverse(&chart->viewMatrix, &inverse);
    mat3MulVec(&view, &inverse, out);
    unitLength(out);
    return 1;
}

int cylindricalToSky(const ChartState *chart, double dx, double dy, Vec3 *out)
{
    const double perDeg = chart->pixelsPerRadianY / kRadToDeg;
    if (!(perDeg > 0.0))
        return 0;
    const double lonOffset = dx / perDeg, lat = dy / perDeg;
    if (std::fabs(lat) > 90.0 || std::fabs(lonOffset) > 180.0)
        return 0;
    mapToJ2000(chart, lonOffset, lat, out);
    return 1;
}

// The inverse of the Aitoff map. The map is drawn with the whole-pixel
// scales scaleX and scaleY (twice as many pixels per radian across as up),
// and the inverse uses the same, so a pixel near the rim names what is drawn
// there rather than a place two pixels away. theta is the direction of the
// pixel from the centre, rho its angular distance.
int aitoffToSky(const ChartState *chart, double dx, double dy, Vec3 *out)
{
    const double X = dx, Y = dy;
    const double q = chart->chartRect.width / 4;
    if (X * X > 4.0 * (q * q - Y * Y))
        return 0;
    if (chart->scaleX <= 0 || chart->scaleY <= 0)
        return 0;
    const double across = X / chart->scaleX, up = Y / chart->scaleY; // radians of the map
    double lat, lonOffset;
    if (X == 0.0) {
        // Past the drawn pole but inside the ellipse: the pole.
        lat = std::fmax(-90.0, std::fmin(90.0, up * kRadToDeg));
        lonOffset = 0.0;
    } else {
        const double theta = std::atan2(across, up) * kRadToDeg;
        const double rho = across / sinDeg(theta) * kRadToDeg;
        const double sinLat = cosDeg(theta) * sinDeg(rho);
        if (sinLat < -1.0 || sinLat > 1.0)
            return 0;
        lat = std::asin(sinLat) * kRadToDeg;
        double w = cosDeg(rho) / cosDeg(lat);
        if (!(w >= -1.0 && w <= 1.0))
            return 0;
        // Between the drawn rim and the ellipse of the width (about a pixel)
        // the pixel names the map's edge meridian on its own side, not a
        // place drawn at the other edge.
        if (w < 0.0)
            w = 0.0;
        lonOffset = 2.0 * std::acos(w) * kRadToDeg;
        if (X < 0.0)
            lonOffset = -lonOffset;
    }
    mapToJ2000(chart, lonOffset, lat, out);
    return 1;
}

} // namespace

int screenToSky(const ChartState *chart, int32_t xy, Vec3 *out)
{
    if (!chart || !out)
        return 0;
    int32_t px, py;
    screenPointUnpack(xy, &px, &py);
    double dx, dy;
    centreOffsets(chart, px, py, &dx, &dy);
    switch (chartModeKind(chart->mode)) {
    case kKindSky:
    case kKindSolar:
    case kKindPlanisphere:
        return azimuthalToSky(chart, dx, dy, out);
    case kKindCylindrical:
        return cylindricalToSky(chart, dx, dy, out);
    case kKindAitoff:
        return aitoffToSky(chart, dx, dy, out);
    default:
        return 0;
    }
}
