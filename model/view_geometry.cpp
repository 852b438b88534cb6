#include "model/view_geometry.h"

#include <cmath>
#include <cstdlib>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/q14.h"
#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_state.h"

namespace {


// The chart rectangle is 16-bit and may be empty (a drawing area shorter than
// the status bar); every scale divides by it, so an empty side counts as 1.
int chartWidth(const ChartState *chart) { return chart->chartRect.width > 0 ? chart->chartRect.width : 1; }
int chartHeight(const ChartState *chart) { return chart->chartRect.height > 0 ? chart->chartRect.height : 1; }

double pixelAspect() { return appData != nullptr && appData->pixelAspect > 0.0 ? appData->pixelAspect : 1.0; }
int dirFontHeight() { return appData != nullptr ? appData->dirFontHeight : 0; }

int16_t toInt16(int v) {
    if (v < -32768) return -32768;
    if (v > 32767) return 32767;
    return static_cast<int16_t>(v);
}

// Horizontal span and vertical span of the cut-off (degrees) by projection kind.
void cutOffSpans(const ChartState *chart, double *spanX, double *spanY) {
    switch (chartModeKind(chart->mode)) {
    case kKindCylindrical:
    case kKindAitoff:
        *spanX = 360.0;
        *spanY = 180.0;
        break;
    case kKindPlanisphere:
        *spanX = 180.0;
        *spanY = 180.0;
        break;
    default:
        *spanX = chart->fieldWidth;
        *spanY = chart->fieldHeight;
        break;
    }
}

void setViewMatrix(ChartState *chart, const Mat3 *m) {
    chart->viewMatrix = *m;
    mat3ToQ14(&chart->viewMatrix, &chart->viewMatrixQ14);
}

// rotZY(lonDeg, -latDeg) x tail: the rotation that puts (lon, lat) of the
// system that tail leads into on the view frame's x axis.
void viewFromSystem(ChartState *chart, double lonDeg, double latDeg, const Mat3 *tail) {
    Mat3 r, m;
    rotZY(lonDeg, -latDeg, &r);
    mat3Mul(&r, tail, &m);
    setViewMatrix(chart, &m);
}

} // namespace

void updateViewScale(ChartState *chart) {
    const int x = chart->chartRect.x, y = chart->chartRect.y;
    const int w = chartWidth(chart), h = chartHeight(chart);
    const double aspect = pixelAspect();
    const int kind = chartModeKind(chart->mode);

    // The field's share first: a field of any size keeps a finite height.
    chart->fieldHeight = chart->fieldWidth * (static_cast<double>(h) / w) * aspect;

    if (kind == kKindSolar) {
        const double solScale = chart->solScale != 0.0 ? chart->solScale : 1.0;
        chart->projScale[0] = w / solScale;
        chart->projScale[1] = w / solScale * aspect;
        chart->projScale[2] = -chart->solScale;
    }
    if (kind == kKindSky || kind == kKindSolar) {
        const double field = chart->fieldWidth > 0.0 ? chart->fieldWidth : 1.0;
        chart->pixelsPerRadianX = w / (field * kPi / 180.0);
        chart->pixelsPerRadianY = chart->pixelsPerRadianX * aspect;
    } else if (kind == kKindCylindrical) {
        chart->pixelsPerRadianX = w / (2.0 * kPi);
        chart->pixelsPerRadianY = w / (2.0 * kPi) * aspect;
    } else if (kind == kKindAitoff) {
        // The Aitoff ellipse is twice as wide as high whatever the pixel shape.
        chart->pixelsPerRadianX = w / kPi;
        chart->pixelsPerRadianY = w / (2.0 * kPi);
    } else if (kind == kKindPlanisphere) {
        const int fontH = dirFontHeight();
        const int side = w < h ? w : h;
        chart->radius = static_cast<int32_t>(side * 0.5) - (12 * fontH) / 10;
        chart->pixelsPerRadianX = (side - 2 * fontH) / kPi;
        chart->pixelsPerRadianY = chart->pixelsPerRadianX * aspect;
    }
    chart->scaleX = toInt32Trunc(chart->pixelsPerRadianX);
    chart->scaleY = toInt32Trunc(chart->pixelsPerRadianY);

    chart->centerX = toInt16(x + w / 2);
    chart->centerY = toInt16(chart->mode == kModeHrz ? y + h - dirFontHeight() : y + h / 2);

    double spanX, spanY;
    cutOffSpans(chart, &spanX, &spanY);
    spanY *= 1.0 + 2.0 * std::abs(y + h / 2 - chart->centerY) / h;
    spanX *= 1.0 + 2.0 * std::abs(x + w / 2 - chart->centerX) / w;
    // No point is farther than 180 degrees from the centre: a wider cut-off
    // (a field above some 217 degrees) would wrap its cosine round and cull
    // most of the sky.
    const double angle = std::fmin(std::sqrt(spanX * spanX + spanY * spanY) / 2.0, 180.0);
    chart->cullCos = cosDeg(angle);
    chart->cullCosQ14 = toInt32Trunc(chart->cullCos * 16384.0) - 5;
    if (chart->cullCosQ14 < -16344) chart->cullCosQ14 = -16343;

    chart->projScale[3] = chart->pixelsPerRadianX / 180.0 * kPi;
}

void updateHorizonMatrix(ChartState *chart) {
    Mat3 toDate, r;
    mat3Inverse(&chart->precessionMatrix, &toDate);
    rotZY(chart->sky.siderealDeg, 90.0 - chart->sky.latitudeDeg, &r);
    mat3Mul(&r, &toDate, &chart->horizonMatrix);
    mat3ToQ14(&chart->horizonMatrix, &chart->horizonMatrixQ14);

    double b = 0.0;
    if (chart->mode == kModeHrz) {
        // The projection centre sits near the bottom edge: b is the altitude
        // there, below the altitude shown in the middle of the window.
        const int h = chartHeight(chart);
        const int below = h / 2 - (chart->chartRect.y + h - chart->centerY);
        b = chart->centerHrz[1] - chart->fieldHeight * (static_cast<double>(below) / h);
    } else if (chart->mode == kModePlns) {
        b = 90.0;
    }
    rotZY(-chart->centerHrz[0], -b, &chart->rotationMatrix);
    mat3ToQ14(&chart->rotationMatrix, &chart->rotationMatrixQ14);

    Mat3 v;
    mat3Mul(&chart->rotationMatrix, &chart->horizonMatrix, &v);
    setViewMatrix(chart, &v);
}

void updateEquatorialViewMatrix(ChartState *chart) {
    const bool onEquator = chart->mode == kModeAll1Eqt || chart->mode == kModeAll2Eqt;
    Mat3 toDate;
    mat3Inverse(&chart->precessionMatrix, &toDate);
    viewFromSystem(chart, chart->centerMode[0], onEquator ? 0.0 : chart->centerMode[1], &toDate);
}

void updateEclipticViewMatrix(ChartState *chart) {
    const bool onEcliptic = chart->mode == kModeAll1Ecl || chart->mode == kModeAll2Ecl;
    Mat3 toDate, tilt, toEcliptic;
    mat3Inverse(&chart->precessionMatrix, &toDate);
    rotX(chart->sky.obliquityDeg, &tilt);
    mat3Mul(&tilt, &toDate, &toEcliptic);
    viewFromSystem(chart, chart->centerMode[0], onEcliptic ? 0.0 : chart->centerMode[1], &toEcliptic);
}

void updateGalacticViewMatrix(ChartState *chart) {
    // J2000 to galactic: node of the galactic plane on the equator at
    // R.A. 282.85, inclination 62.867, longitude of the node 32.925.
    const bool onPlane = chart->mode == kModeAll1Gal || chart->mode == kModeAll2Gal;
    Mat3 node, tilt, toGalactic;
    rotZ(282.85, &node);
    rotX(62.867, &tilt);
    mat3Mul(&tilt, &node, &toGalactic);
    viewFromSystem(chart, chart->centerMode[0] - 32.925, onPlane ? 0.0 : chart->centerMode[1], &toGalactic);
}

void updateViewMatrix(ChartState *chart) {
    updateHorizonMatrix(chart);
    switch (chartModeSystem(chart->mode)) {
    case kModeSystemEqt:
        updateEquatorialViewMatrix(chart);
        break;
    case kModeSystemEcl:
        updateEclipticViewMatrix(chart);
        break;
    case kModeSystemGal:
        updateGalacticViewMatrix(chart);
        break;
    default: // HRZ and the planisphere keep the horizon-based view
        break;
    }
}

int projectSolarSystemPoint(const ChartState *chart, const Vec3 *helio, ProjectedPoint *out) {
    const Vec3 origin{chart->solOffset[0], chart->solOffset[1], chart->solOffset[2]};
    Vec3 d, v;
    vecSub(helio, &origin, &d);
    mat3MulVec(&d, &chart->viewMatrix, &v);
    if (v.x < -10.0 * chart->solScale) return 0;
    const double sx = chart->projScale[0] * v.y;
    const double sy = chart->projScale[1] * v.z;
    // Also rejects NaN, which compares false everywhere.
    if (!(std::fabs(sx) <= kSolarSystemMaxOffsetPx && std::fabs(sy) <= kSolarSystemMaxOffsetPx)) return 0;
    out->x = chart->centerX - static_cast<int32_t>(sx);
    out->y = chart->centerY - static_cast<int32_t>(sy);
    out->depth = 0;
    out->cosCentre = 0;
    return 1;
}
