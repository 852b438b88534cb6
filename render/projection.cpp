#include "render/projection.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "astro/angles.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/chart_state.h"

// Generated with floor(16384 t / sin t) - 16384, t = acos(c / 16384), in
// double precision; the entry for c = 16384 is the limit 0.
const int8_t thetaOverSineTable[256] = {
    85, 85, 84, 84, 84, 83, 83, 83, 82, 82, 82, 81, 81, 81, 80, 80,
    80, 79, 79, 79, 78, 78, 78, 77, 77, 77, 76, 76, 76, 75, 75, 75,
    74, 74, 74, 73, 73, 73, 72, 72, 72, 71, 71, 71, 70, 70, 70, 69,
    69, 69, 68, 68, 68, 67, 67, 66, 66, 66, 65, 65, 65, 64, 64, 64,
    63, 63, 63, 62, 62, 62, 61, 61, 61, 60, 60, 60, 59, 59, 59, 58,
    58, 58, 57, 57, 57, 56, 56, 56, 55, 55, 55, 54, 54, 54, 53, 53,
    53, 52, 52, 52, 51, 51, 51, 50, 50, 50, 49, 49, 49, 48, 48, 48,
    47, 47, 47, 46, 46, 46, 45, 45, 45, 44, 44, 44, 43, 43, 43, 42,
    42, 42, 41, 41, 41, 40, 40, 40, 39, 39, 39, 38, 38, 38, 37, 37,
    37, 36, 36, 36, 35, 35, 35, 34, 34, 34, 33, 33, 33, 32, 32, 32,
    31, 31, 31, 30, 30, 30, 29, 29, 29, 28, 28, 28, 27, 27, 27, 26,
    26, 26, 25, 25, 25, 24, 24, 24, 23, 23, 23, 22, 22, 22, 21, 21,
    21, 20, 20, 20, 19, 19, 19, 18, 18, 18, 17, 17, 17, 16, 16, 16,
    15, 15, 15, 14, 14, 14, 13, 13, 13, 12, 12, 12, 11, 11, 11, 10,
    10, 10, 9, 9, 9, 8, 8, 8, 7, 7, 7, 6, 6, 6, 5, 5,
    5, 4, 4, 4, 3, 3, 3, 2, 2, 2, 1, 1, 1, 0, 0, 0,};

namespace {

// x << 16 without the undefined left shift of a negative value; saturates.
int32_t shiftLeft16(int32_t v) {
    const int64_t r = static_cast<int64_t>(v) * 65536;
    if (r > INT32_MAX) return INT32_MAX;
    if (r < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(r);
}

bool fixedPointScale(const ChartState *chart) { return chart->projScale[3] < kPreciseScalePixelsPerDeg; }

int32_t rowDotQ14(const Mat3Q14 *m, int row, const Vec3Q14 *v) {
    return mulQ14(m->m[3 * row], v->x) + mulQ14(m->m[3 * row + 1], v->y) + mulQ14(m->m[3 * row + 2], v->z);
}

double rowDot(const Mat3 *m, int row, const Vec3 *v) {
    return m->m[3 * row] * v->x + m->m[3 * row + 1] * v->y + m->m[3 * row + 2] * v->z;
}

// acos(c) / sin(acos(c)): the stretch from the sine of the distance to the
// distance itself. c is clamped so a rounding excursion never yields NaN.
double radialFactor(double c) {
    if (c >= 1.0) return 1.0;
    if (c < -1.0) c = -1.0;
    const double s = std::sqrt(1.0 - c * c);
    return s > 0.0 ? std::acos(c) / s : 0.0;
}

// Fixed-point offsets from the centre, (X, Y) before placement, "+ 1"
// included: the arithmetic shifts round toward minus infinity.
void fixedOffsets(const ChartState *chart, int32_t cosCentre, int32_t fy, int32_t fz, int32_t *X, int32_t *Y) {
    int k, m;
    radialFactorQ14(cosCentre, &k, &m);
    *X = mulQ14(chart->scaleX * m, mulQ14(k, fy)) + 1;
    *Y = mulQ14(chart->scaleY * m, mulQ14(k, fz)) + 1;
}

// A screen coordinate worked out in 64 bits, held to the far-off range.
int32_t farClamp(int64_t v) {
    return static_cast<int32_t>(v < -kFarOffChart ? -kFarOffChart : v > kFarOffChart ? kFarOffChart : v);
}

void place(ProjectedPoint *out, int64_t x, int64_t y) {
    out->x = farClamp(x);
    out->y = farClamp(y);
}

// Orientation of the HRZ routines (horizontal chart and planisphere). The
// turn through 180 degrees mirrors the rows about the middle of the chart
// rectangle, not about centerY, which sits at the bottom in the horizontal
// chart. allModes: the landscape's projection turns in every mode. The
// offsets may be anything an int32 holds (a field of a fraction of an arc
// second puts most of the sky billions of pixels away): the sums are 64-bit.
void placeHrz(const ChartState *chart, int64_t X, int64_t Y, bool allModes, ProjectedPoint *out) {
    const int64_t cx = chart->centerX, cy = chart->centerY;
    if (chart->mode != kModeHrz && !allModes) {
        place(out, cx - X, cy - Y);
        return;
    }
    switch (chart->mirror) {
    case kMirrorTurned:
        place(out, cx + X, Y + chart->chartRect.height + 2 * int64_t{chart->chartRect.y} - cy);
        break;
    case kMirrorFlipped:
        place(out, cx + X, cy - Y);
        break;
    case kMirrorNormal:
        place(out, cx - X, cy - Y);
        break;
    default:
        if (allModes) place(out, cx - X, cy - Y);
        break;
    }
}

// Orientation of the sky routines: turned about the centre point in the sky
// charts; the solar-system views are never turned. 64-bit sums as above.
void placeSky(const ChartState *chart, int64_t X, int64_t Y, ProjectedPoint *out) {
    const int64_t cx = chart->centerX, cy = chart->centerY;
    if (chartModeKind(chart->mode) != kKindSky) {
        place(out, cx - X, cy - Y);
        return;
    }
    switch (chart->mirror) {
    case kMirrorNormal:
        place(out, cx - X, cy - Y);
        break;
    case kMirrorTurned:
        place(out, cx + X, cy + Y);
        break;
    case kMirrorFlipped:
        place(out, cx + X, cy - Y);
        break;
    default:
        break;
    }
}

// The double path from a Q14 vector: (X, Y) from the view matrix in doubles.
void doubleOffsets(const ChartState *chart, int32_t cosCentre, const Vec3Q14 *v, int32_t *X, int32_t *Y) {
    const double q = 1.0 / 16384.0;
    const Vec3 vd{v->x * q, v->y * q, v->z * q};
    Vec3 f;
    mat3MulVec(&vd, &chart->viewMatrix, &f);
    const double g = radialFactor(cosCentre * q);
    *X = toInt32Trunc(g * f.y * chart->pixelsPerRadianX);
    *Y = toInt32Trunc(g * f.z * chart->pixelsPerRadianY);
}

void preciseOffsets(const ChartState *chart, double c, const Vec3 *v, int32_t *X, int32_t *Y) {
    const double g = radialFactor(c);
    *X = toInt32Trunc(g * rowDot(&chart->viewMatrix, 1, v) * chart->pixelsPerRadianX);
    *Y = toInt32Trunc(g * rowDot(&chart->viewMatrix, 2, v) * chart->pixelsPerRadianY);
}

} // namespace

void radialFactorQ14(int c, int *factor, int *divisor) {
    if (c > 16128) {
        const int i = c > 16384 ? 255 : c - 16129;
        *factor = 16384 + thetaOverSineTable[i];
        *divisor = 1;
        return;
    }
    const int32_t s = sqrtQ14(16384 - mulQ14(c, c));
    const int32_t t = acosQ14(c);
    if (c > -4240) {
        *factor = divQ14(t, s);
        *divisor = 1;
    } else if (c <= -15395) {
        *factor = divQ14(t / 100, s);
        *divisor = 100;
    } else {
        *factor = divQ14(t / 10, s);
        *divisor = 10;
    }
}

namespace {

// Steps 1 and 2 of the HRZ routines: the cosine to the centre and the height
// above the horizon plane, both stored; false when either culls the point.
bool hrzVisible(const ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out, int32_t *cosCentre) {
    *cosCentre = rowDotQ14(&chart->viewMatrixQ14, 0, v);
    out->cosCentre = *cosCentre;
    if (*cosCentre < chart->cullCosQ14) return false;
    out->depth = mat3MulVecQ14Z(v, &chart->horizonMatrixQ14);
    return out->depth >= chart->cullDepthQ14;
}

void fixedPointOffsets(const ChartState *chart, int32_t cosCentre, const Vec3Q14 *v, int32_t *X, int32_t *Y) {
    Vec3Q14 f{0, 0, 0};
    mat3MulVecQ14YZ(v, &chart->viewMatrixQ14, &f);
    fixedOffsets(chart, cosCentre, f.y, f.z, X, Y);
}

} // namespace

int projectAzimuthalHrz(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    int32_t cosCentre, X, Y;
    if (!hrzVisible(chart, v, out, &cosCentre)) return 0;
    fixedPointOffsets(chart, cosCentre, v, &X, &Y);
    placeHrz(chart, X, Y, false, out);
    return 1;
}

int projectAzimuthalHrzD(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    int32_t cosCentre, X, Y;
    if (!hrzVisible(chart, v, out, &cosCentre)) return 0;
    doubleOffsets(chart, cosCentre, v, &X, &Y);
    placeHrz(chart, X, Y, false, out);
    return 1;
}

int projectAzimuthalSky(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    const int32_t cosCentre = rowDotQ14(&chart->viewMatrixQ14, 0, v);
    out->cosCentre = cosCentre;
    if (cosCentre < chart->cullCosQ14) return 0;
    int32_t X, Y;
    fixedPointOffsets(chart, cosCentre, v, &X, &Y);
    placeSky(chart, X, Y, out);
    return 1;
}

int projectAzimuthalSkyD(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    // Tested but, unlike the fixed-point routine, not stored.
    const int32_t cosCentre = rowDotQ14(&chart->viewMatrixQ14, 0, v);
    if (cosCentre < chart->cullCosQ14) return 0;
    int32_t X, Y;
    doubleOffsets(chart, cosCentre, v, &X, &Y);
    placeSky(chart, X, Y, out);
    return 1;
}

int projectAzimuthalHrzPrecise(ChartState *chart, const Vec3 *v, ProjectedPoint *out) {
    const double c = rowDot(&chart->viewMatrix, 0, v);
    if (!(chart->cullCos <= c)) return 0;
    const double d = rowDot(&chart->horizonMatrix, 2, v);
    out->depth = toInt32Trunc(d * 16384.0);
    if (d < chart->cullDepth) return 0;
    int32_t X, Y;
    preciseOffsets(chart, c, v, &X, &Y);
    placeHrz(chart, X, Y, false, out);
    return 1;
}

int projectAzimuthalSkyPrecise(ChartState *chart, const Vec3 *v, ProjectedPoint *out) {
    const double c = rowDot(&chart->viewMatrix, 0, v);
    if (!(chart->cullCos <= c)) return 0;
    int32_t X, Y;
    preciseOffsets(chart, c, v, &X, &Y);
    placeSky(chart, X, Y, out);
    return 1;
}

int projectCylindrical(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    const int32_t w = chart->chartRect.width;
    const int32_t p = w > 1280 ? 10 : 100;
    const int32_t f = toInt32Trunc(w / (2.0 * M_PI) * p);
    Vec3Q14 u;
    mat3MulVecQ14(v, &chart->viewMatrixQ14, &u);
    // Within about 10.14 degrees of a pole of the map (16128 = sin 79.858).
    if (u.z < -16128 || u.z > 16128) return 0;
    const int32_t a = angleQ14(u.y, u.x).arcSine;
    const int32_t b = asinAcosQ14(u.z).arcSine;
    const int32_t cx = chart->centerX, cy = chart->centerY;
    const int32_t along = (mulQ14(a, f) + p / 2) / p;
    out->y = cy - (mulQ14(b, f) + p / 2) / p;
    if (u.x >= 0)
        out->x = cx - along;
    else if (u.y >= 0)
        out->x = chart->chartRect.x + along;
    else
        out->x = chart->chartRect.x + w + along;
    out->depth = shiftLeft16(u.z);
    return 1;
}

int projectAitoffRotated(const ChartState *chart, const Vec3Q14 *u, ProjectedPoint *out) {
    const int32_t cx = chart->centerX, cy = chart->centerY;
    out->depth = shiftLeft16(u->z);
    if (u->z < -16381 || u->z > 16381) {
        out->x = cx;
        out->y = cy - mulQ14(mulQ14(u->z, Q14_HALF_PI), chart->scaleY);
        out->cosCentre = 1 << 30;
        return 1;
    }
    const int32_t cl = sqrtQ14(16384 - mulQ14(u->z, u->z));
    const int32_t d = sqrtQ14(divQ14(u->x, cl) / 2 + 8192);
    int32_t l, yOffset;
    if (d > 15871) {
        // Half-longitude below about 14.4 degrees: Q14 steps would show, so
        // the map offsets are worked out in doubles. The vector is normalised
        // first: a truncated Q14 unit vector is up to 3/16384 short, which
        // alone would move the centre of the map by several pixels
        // (A ~ sqrt(2 (1 - x)) is steep there). The longitude comes from
        // atan2(y, x) and sin(lon/2) enters directly: near the centre one unit
        // of x spans about 0.6 degree, and cos(lat) sin(lon/2) / sin A from a
        // Q14 e = sin(lat) / sin A close to 1 is as coarse, so the points within
        // a degree or two of the central meridian folded onto its columns.
        const double len = std::sqrt(static_cast<double>(u->x) * u->x + static_cast<double>(u->y) * u->y +
                                     static_cast<double>(u->z) * u->z);
        const double z = u->z / len;
        const double cosLat = std::sqrt(1.0 - z * z);
        const double lon = std::atan2(std::fabs(static_cast<double>(u->y)), static_cast<double>(u->x));
        double h = cosLat * std::cos(0.5 * lon);
        if (h > 1.0) h = 1.0;
        const double A = std::acos(h);
        const double sinA = std::sqrt(1.0 - h * h);
        const double e = sinA == 0.0 ? 1.0 : z / sinA;
        const double g = sinA == 0.0 ? 0.0 : cosLat * std::sin(0.5 * lon) / sinA;
        l = toInt32Trunc(A * g * chart->scaleX);
        yOffset = toInt32Trunc(A * e * chart->scaleY);
    } else {
        const int32_t h = mulQ14(cl, d);
        const int32_t s = sqrtQ14(16384 - mulQ14(h, h));
        const int32_t a = acosQ14(h);
        const int32_t e = s == 0 ? 16384 : divQ14(u->z, s);
        const int32_t g = sqrtQ14(16384 - mulQ14(e, e));
        l = mulQ14(mulQ14(a, g), chart->scaleX);
        yOffset = mulQ14(mulQ14(a, e), chart->scaleY);
    }
    out->x = u->y <= 0 ? cx + l : cx - l;
    out->y = cy - yOffset;
    out->cosCentre = shiftLeft16(d);
    return 1;
}

int projectAitoff(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    Vec3Q14 u;
    mat3MulVecQ14(v, &chart->viewMatrixQ14, &u);
    return projectAitoffRotated(chart, &u, out);
}

int projectPointAxes(const Mat3Q14 *axes, ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    const int32_t cosCentre = rowDotQ14(axes, 0, v);
    out->cosCentre = cosCentre;
    if (cosCentre < chart->cullCosQ14) return 0;
    const int32_t fy = rowDotQ14(axes, 1, v), fz = rowDotQ14(axes, 2, v);
    int32_t X, Y;
    if (fixedPointScale(chart)) {
        fixedOffsets(chart, cosCentre, fy, fz, &X, &Y); // "+ 1" included
    } else {
        const double g = radialFactor(cosCentre / 16384.0);
        const double dx = g * fy / 16384.0 * chart->pixelsPerRadianX;
        const double dy = g * fz / 16384.0 * chart->pixelsPerRadianY;
        if (!(dx >= -32768.0 && dx < 32768.0 && dy >= -32768.0 && dy < 32768.0)) return 0;
        X = static_cast<int32_t>(dx) + 1;
        Y = static_cast<int32_t>(dy) + 1;
    }
    placeHrz(chart, X, Y, true, out);
    return 1;
}

int projectPoint(ChartState *chart, const Vec3Q14 *v, ProjectedPoint *out) {
    const bool fixed = fixedPointScale(chart);
    const int32_t mode = chart->mode;
    if (mode == kModeHrz || mode == kModePlns)
        return fixed ? projectAzimuthalHrz(chart, v, out) : projectAzimuthalHrzD(chart, v, out);
    if (isSkyRoutineMode(mode))
        return fixed ? projectAzimuthalSky(chart, v, out) : projectAzimuthalSkyD(chart, v, out);
    if (isCylindricalMode(mode)) return projectCylindrical(chart, v, out);
    if (isAitoffMode(mode)) return projectAitoff(chart, v, out);
    return 0;
}

namespace {

// Declination range (radians) of the cone of vectors whose Q14 dot product
// with row reaches cosQ14, widened for the truncations of the Q14 products.
void coneDeclinations(const int32_t row[3], int32_t cosQ14, double *low, double *high) {
    constexpr int32_t kDotSlack = 32;           // Q14 units: truncated rows, vectors and products
    constexpr double kAngleSlack = M_PI / 720.0; // a quarter of a degree more
    const double len = std::sqrt(static_cast<double>(row[0]) * row[0] + static_cast<double>(row[1]) * row[1] +
                                 static_cast<double>(row[2]) * row[2]);
    if (len < 8192.0) { // not a rotation row: cull nothing
        *low = -M_PI / 2;
        *high = M_PI / 2;
        return;
    }
    double c = (cosQ14 - kDotSlack) / len;
    c = c < -1.0 ? -1.0 : (c > 1.0 ? 1.0 : c);
    const double radius = std::acos(c) + kAngleSlack;
    double z = row[2] / len;
    z = z < -1.0 ? -1.0 : (z > 1.0 ? 1.0 : z);
    const double centre = std::asin(z);
    *low = centre - radius;
    *high = centre + radius;
}

} // namespace

void projectionZBand(const ChartState *chart, int32_t *zLow, int32_t *zHigh) {
    double low = -M_PI / 2, high = M_PI / 2;
    const int32_t mode = chart->mode;
    const bool horizontal = mode == kModeHrz || mode == kModePlns;
    if (horizontal || isSkyRoutineMode(mode)) {
        double lo, hi;
        coneDeclinations(chart->viewMatrixQ14.m, chart->cullCosQ14, &lo, &hi);
        low = std::max(low, lo);
        high = std::min(high, hi);
    }
    if (horizontal) {
        double lo, hi;
        coneDeclinations(chart->horizonMatrixQ14.m + 6, chart->cullDepthQ14, &lo, &hi);
        low = std::max(low, lo);
        high = std::min(high, hi);
    }
    *zLow = low <= -M_PI / 2 ? INT32_MIN : static_cast<int32_t>(std::floor(std::sin(low) * 16384.0)) - 2;
    *zHigh = high >= M_PI / 2 ? INT32_MAX : static_cast<int32_t>(std::ceil(std::sin(high) * 16384.0)) + 2;
}

int projectPointPrecise(ChartState *chart, const Vec3 *v, ProjectedPoint *out) {
    const int32_t mode = chart->mode;
    if (mode == kModeHrz || mode == kModePlns) return projectAzimuthalHrzPrecise(chart, v, out);
    if (isSkyRoutineMode(mode))
        return projectAzimuthalSkyPrecise(chart, v, out);
    return 0;
}

void projectionInputs(const ChartState *chart, ProjectionInputs *out) {
    std::memset(out, 0, sizeof *out);
    out->mode = chart->mode;
    out->mirror = chart->mirror;
    out->centerX = chart->centerX;
    out->centerY = chart->centerY;
    out->rect = chart->chartRect;
    out->viewQ14 = chart->viewMatrixQ14;
    out->horizonQ14 = chart->horizonMatrixQ14;
    out->scaleX = chart->scaleX;
    out->scaleY = chart->scaleY;
    out->cullCosQ14 = chart->cullCosQ14;
    out->cullDepthQ14 = chart->cullDepthQ14;
    out->view = chart->viewMatrix;
    out->horizon = chart->horizonMatrix;
    out->cullCos = chart->cullCos;
    out->cullDepth = chart->cullDepth;
    out->pixelsPerRadianX = chart->pixelsPerRadianX;
    out->pixelsPerRadianY = chart->pixelsPerRadianY;
    out->projScale3 = chart->projScale[3];
}

int projectSpanPrecise(const ChartState *chart, const Vec3 *v, double radiusRad, ScreenSpan *out) {
    const int32_t mode = chart->mode;
    const bool hrz = mode == kModeHrz || mode == kModePlns;
    if (!hrz && !isSkyRoutineMode(mode)) return 0;
    if (chart->mirror != kMirrorNormal && chart->mirror != kMirrorTurned && chart->mirror != kMirrorFlipped) return 0;
    const double c = rowDot(&chart->viewMatrix, 0, v);
    const double theta = std::acos(c < -1.0 ? -1.0 : (c > 1.0 ? 1.0 : c)) + radiusRad;
    if (!(radiusRad >= 0.0) || !(theta < M_PI - 0.1)) return 0;
    const double stretch = theta > 1e-6 ? std::fmax(1.0, theta / std::sin(theta)) : 1.0;
    const double ppx = chart->pixelsPerRadianX, ppy = chart->pixelsPerRadianY;
    const double g = radialFactor(c);
    const double fx = g * rowDot(&chart->viewMatrix, 1, v) * ppx, fy = g * rowDot(&chart->viewMatrix, 2, v) * ppy;
    // The reach, and room for the rounding of the doubles on either side.
    const double reach = radiusRad * stretch * std::fmax(std::fabs(ppx), std::fabs(ppy)) + 1e-6 +
                         1e-9 * (std::fabs(fx) + std::fabs(fy));
    if (!std::isfinite(reach) || !std::isfinite(fx) || !std::isfinite(fy)) return 0;
    ProjectedPoint a{0, 0, 0, 0}, b{0, 0, 0, 0};
    const int32_t X0 = toInt32Trunc(fx - reach), X1 = toInt32Trunc(fx + reach);
    const int32_t Y0 = toInt32Trunc(fy - reach), Y1 = toInt32Trunc(fy + reach);
    if (hrz) {
        placeHrz(chart, X0, Y0, false, &a);
        placeHrz(chart, X1, Y1, false, &b);
    } else {
        placeSky(chart, X0, Y0, &a);
        placeSky(chart, X1, Y1, &b);
    }
    out->x0 = a.x < b.x ? a.x : b.x;
    out->x1 = a.x < b.x ? b.x : a.x;
    out->y0 = a.y < b.y ? a.y : b.y;
    out->y1 = a.y < b.y ? b.y : a.y;
    return 1;
}

int projectBodyByMode(ChartState *chart, const Vec3 *geoUnit, const Vec3Q14 *geoUnitQ14, const Vec3 *helio,
                      ProjectedPoint *out) {
    switch (chartModeKind(chart->mode)) {
    case kKindSky:
        return projectPointPrecise(chart, geoUnit, out);
    case kKindSolar:
        return projectSolarSystemPoint(chart, helio, out);
    case kKindCylindrical:
    case kKindAitoff:
    case kKindPlanisphere:
        return projectPoint(chart, geoUnitQ14, out);
    default:
        return 0;
    }
}
