#include "tests/render/chart_fixture.h"

#include <cmath>

#include "astro/vecmat.h"
#include "render/palette.h"
#include "render/recording_canvas.h"

#include <algorithm>

bool sameCalls(const RecordingCanvas &a, const RecordingCanvas &b) {
    if (a.calls.size() != b.calls.size()) return false;
    for (size_t i = 0; i < a.calls.size(); i++) {
        const CanvasCall &x = a.calls[i], &y = b.calls[i];
        if (x.op != y.op || x.pixel != y.pixel || !std::equal(x.a, x.a + 6, y.a) || x.text != y.text ||
            x.points.size() != y.points.size())
            return false;
        for (size_t k = 0; k < x.points.size(); k++)
            if (x.points[k].x != y.points[k].x || x.points[k].y != y.points[k].y) return false;
    }
    return true;
}

namespace {

constexpr double kDeg = M_PI / 180.0;

Vec3 mulT(const double m[9], const Vec3 &v) { // transpose times v
    return Vec3{m[0] * v.x + m[3] * v.y + m[6] * v.z, m[1] * v.x + m[4] * v.y + m[7] * v.z,
                m[2] * v.x + m[5] * v.y + m[8] * v.z};
}

// Galactic to J2000 from the galactic pole (R.A. 192.85948, Dec. 27.12825)
// and the galactic longitude 122.93192 of the celestial pole, built here
// independently of the view code.
Vec3 galacticToJ2000(const Vec3 &g) {
    const double ra = 192.85948 * kDeg, dec = 27.12825 * kDeg, l = 122.93192 * kDeg;
    const double p[3] = {std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)};
    // N: the celestial pole's direction within the galactic plane (longitude l);
    // E = P x N: longitude l + 90.
    double n[3] = {-p[2] * p[0], -p[2] * p[1], 1.0 - p[2] * p[2]};
    const double nl = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
    for (double &c : n) c /= nl;
    const double e[3] = {p[1] * n[2] - p[2] * n[1], p[2] * n[0] - p[0] * n[2], p[0] * n[1] - p[1] * n[0]};
    double rows[9];
    for (int i = 0; i < 3; i++) {
        rows[i] = std::cos(l) * n[i] - std::sin(l) * e[i];     // longitude 0
        rows[3 + i] = std::sin(l) * n[i] + std::cos(l) * e[i]; // longitude 90
        rows[6 + i] = p[i];
    }
    return mulT(rows, g);
}

} // namespace

ChartFixture::ChartFixture() : chart(TestSite{50.0, 10.0, 0.0}, DateTime{2024, 3, 20, 22, 0, 0.0, 0.0})
{
    chart->skyColourBase = kPaletteColourCount;
}

void ChartFixture::view(int mode, int width, int height, double fieldWidth, int mirror, int top) {
    ChartState *c = chart.get();
    c->mode = mode;
    c->mirror = mirror;
    c->chartRect = ChartRect{0, static_cast<int16_t>(top), static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
    c->fieldWidth = fieldWidth;
    updateViewScale(c);
    updateViewMatrix(c);
}

Vec3 unitVector(double lonDeg, double latDeg) {
    return Vec3{std::cos(latDeg * kDeg) * std::cos(lonDeg * kDeg), std::cos(latDeg * kDeg) * std::sin(lonDeg * kDeg),
                std::sin(latDeg * kDeg)};
}

Vec3Q14 toQ14(const Vec3 &v) {
    return Vec3Q14{static_cast<int32_t>(v.x * 16384.0), static_cast<int32_t>(v.y * 16384.0),
                   static_cast<int32_t>(v.z * 16384.0)};
}

// The equator and ecliptic of the charts are those of the chart's date: a
// direction found there is carried to J2000 by the chart's precession.
static Vec3 dateToJ2000(const ChartState *chart, const Vec3 &v) {
    Vec3 out;
    mat3MulVec(&v, &chart->precessionMatrix, &out);
    return out;
}

Vec3 directionInSystem(const ChartState *chart, int system, double lonDeg, double latDeg) {
    const Vec3 u = unitVector(lonDeg, latDeg);
    switch (system) {
    case kModeSystemEcl: {
        const double e = chart->sky.obliquityDeg * kDeg;
        return dateToJ2000(chart, Vec3{u.x, std::cos(e) * u.y - std::sin(e) * u.z, std::sin(e) * u.y + std::cos(e) * u.z});
    }
    case kModeSystemGal:
        return galacticToJ2000(u);
    case kModeSystemHrz: {
        // Azimuth A from the south through the west, altitude h.
        const double A = lonDeg * kDeg, h = latDeg * kDeg, phi = chart->sky.latitudeDeg * kDeg;
        const double sinDec = std::sin(phi) * std::sin(h) - std::cos(phi) * std::cos(h) * std::cos(A);
        const double cdcH = std::cos(h) * std::cos(A) * std::sin(phi) + std::sin(h) * std::cos(phi);
        const double cdsH = std::cos(h) * std::sin(A);
        const double H = std::atan2(cdsH, cdcH);
        const double dec = std::asin(sinDec);
        const double ra = chart->sky.siderealDeg * kDeg - H;
        return dateToJ2000(chart, Vec3{std::cos(dec) * std::cos(ra), std::cos(dec) * std::sin(ra), std::sin(dec)});
    }
    default:
        return dateToJ2000(chart, u);
    }
}

bool testScreenToSky(const ChartState *chart, int px, int py, Vec3 *out) {
    const int kind = chartModeKind(chart->mode);
    const int cx = chart->centerX;
    int cy = chart->centerY;
    if (chart->mode == kModeHrz && chart->mirror == kMirrorTurned) cy = chart->chartRect.height + 2 * chart->chartRect.y - cy;
    double dx = cx - px, dy = cy - py;
    if (kind == kKindSky) {
        if (chart->mirror == kMirrorTurned) {
            dx = px - cx;
            dy = py - cy;
        } else if (chart->mirror == kMirrorFlipped) {
            dx = px - cx;
        }
    }
    Vec3 view;
    if (kind == kKindSky || kind == kKindSolar || kind == kKindPlanisphere) {
        const double u = dx / chart->pixelsPerRadianX, v = dy / chart->pixelsPerRadianY;
        const double r = std::sqrt(u * u + v * v);
        const double c = std::cos(r);
        const double k = r == 0.0 ? 1.0 : r / std::sin(r);
        view = Vec3{c, u / k, v / k};
    } else if (kind == kKindCylindrical) {
        const double s = chart->pixelsPerRadianY * M_PI / 180.0;
        view = unitVector(dx / s, dy / s);
    } else if (kind == kKindAitoff) {
        const double X = dx, Y = dy;
        const int q = chart->chartRect.width / 4;
        if (X * X > 4.0 * (q * q - Y * Y)) return false;
        double lat, lon;
        if (X == 0.0) {
            lat = 2.0 * Y / chart->pixelsPerRadianX;
            lon = 0.0;
        } else {
            const double theta = std::atan2(X, 2.0 * Y);
            const double rho = X / (chart->pixelsPerRadianX * std::sin(theta));
            const double sl = std::cos(theta) * std::sin(rho);
            if (sl < -1.0 || sl > 1.0) return false;
            lat = std::asin(sl);
            const double w = std::cos(rho) / std::cos(lat);
            if (w < -1.0 || w > 1.0) return false;
            lon = 2.0 * std::acos(w) * (X < 0 ? -1.0 : 1.0);
        }
        view = unitVector(lon / kDeg, lat / kDeg);
    } else {
        return false;
    }
    Mat3 inv;
    mat3Inverse(&chart->viewMatrix, &inv);
    mat3MulVec(&view, &inv, out);
    return true;
}
