#include "render/body_shapes.h"

#include <cmath>
#include <cstdio>

#include "astro/angles.h"
#include "astro/phase.h"
#include "render/palette.h"

namespace {

int16_t toCanvas(double v)
{
    long n = std::lround(v); // halves away from zero
    if (n > INT16_MAX)
        return INT16_MAX;
    if (n < INT16_MIN)
        return INT16_MIN;
    return static_cast<int16_t>(n);
}

CanvasPoint vertex(int cx, int cy, double x, double yUp, double pixelAspect)
{
    return CanvasPoint{toCanvas(cx + static_cast<double>(std::lround(x))),
                       toCanvas(cy - static_cast<double>(std::lround(yUp * pixelAspect)))};
}

// Arc of radius rad about (cx, cy) from `from` to `to` degrees: the exact
// ends and the multiples of 5 between them. Returns the vertices written.
int arcVertices(int cx, int cy, int rad, double from, double to, double pixelAspect,
                CanvasPoint *out, int room)
{
    int n = 0;
    auto put = [&](double t) {
        if (n < room)
            out[n++] = vertex(cx, cy, rad * cosDeg(t), rad * sinDeg(t), pixelAspect);
    };
    put(from);
    // floor, not trunc: below 0 degrees trunc would skip a multiple of 5 and
    // leave a gap of up to 10 degrees in the arc.
    for (int t = 5 * static_cast<int>(std::floor(from / 5)) + 5; t < static_cast<int>(to); t += 5)
        put(t);
    put(to);
    return n;
}

} // namespace

int circleVertices(int cx, int cy, int r, double pixelAspect, CanvasPoint out[kCircleVertices])
{
    for (int i = 0; i < kCircleVertices; ++i) {
        int t = 5 * i;
        out[i] = vertex(cx, cy, r * cosDegInt(t), r * sinDegInt(t), pixelAspect);
    }
    return kCircleVertices;
}

int ellipseVertices(int cx, int cy, int r, double flattening, double angleDeg, double pixelAspect,
                    CanvasPoint out[kCircleVertices])
{
    double sinA = sinDeg(angleDeg), cosA = cosDeg(angleDeg);
    for (int i = 0; i < kCircleVertices; ++i) {
        int t = 5 * i;
        double u = cosDegInt(t), v = flattening * sinDegInt(t);
        out[i] = vertex(cx, cy, r * (u * cosA - v * sinA), r * (v * cosA + u * sinA), pixelAspect);
    }
    return kCircleVertices;
}

namespace {

void terminatorVertices(int cx, int cy, int r, double k, double a, int step, bool wholeDegrees,
                        double pixelAspect, CanvasPoint *out)
{
    double sinA = sinDeg(a), cosA = cosDeg(a);
    int n = 0;
    for (int t = -90; t <= 90; t += step) {
        double ct = wholeDegrees ? cosDegInt(t) : std::cos(t * M_PI / 180.0);
        double st = wholeDegrees ? sinDegInt(t) : std::sin(t * M_PI / 180.0);
        double x = ct * (1.0 - 2.0 * k) * r, y = st * r;
        out[n++] = vertex(cx, cy, x * cosA - y * sinA, y * cosA + x * sinA, pixelAspect);
    }
}

} // namespace

int phaseVertices(int cx, int cy, int r, double k, double angleDeg, double pixelAspect,
                  CanvasPoint out[kPhaseVertices])
{
    if ((1.0 - k) * (2.0 * r + 1.0) < 0.4)
        return 0;
    double thinnest = 1.0 / (r + 1.0);
    if (k > 0.01 && k < thinnest)
        k = thinnest;
    double a = wrap360(angleDeg + 90.0);
    terminatorVertices(cx, cy, r, k, a, 5, true, pixelAspect, out);
    int limb = 5 * static_cast<int>(wrap360(a + 90.0) / 5.0);
    for (int i = 0; i < 36; ++i) {
        int s = limb + 5 * (i + 1);
        out[37 + i] = vertex(cx, cy, r * cosDegInt(s), r * sinDegInt(s), pixelAspect);
    }
    return kPhaseVertices;
}

int phaseOutlineVertices(int cx, int cy, int r, double k, double angleDeg, double pixelAspect,
                         CanvasPoint out[kPhaseOutlineVertices])
{
    terminatorVertices(cx, cy, r, k, wrap360(angleDeg + 90.0), 10, false, pixelAspect, out);
    return kPhaseOutlineVertices;
}

int ringHalfVertices(int cx, int cy, double rInner, double rOuter, int half, double e, double sinA,
                     double cosA, double pixelAspect, CanvasPoint out[kRingHalfVertices])
{
    int start = half == 0 ? 180 : 0;
    auto at = [&](double rad, int t) {
        double ct = cosDegInt(t), st = sinDegInt(t);
        return vertex(cx, cy, rad * (ct * cosA - e * st * sinA), rad * (e * st * cosA + ct * sinA),
                      pixelAspect);
    };
    for (int i = 0; i < 37; ++i)
        out[i] = at(rInner, start + 5 * i);
    for (int i = 0; i < 37; ++i)
        out[37 + i] = at(rOuter, start + 180 - 5 * i);
    return kRingHalfVertices;
}

double saturnFlattening(double ringAxisAngleDeg)
{
    double s = sinDeg(ringAxisAngleDeg), c = cosDeg(ringAxisAngleDeg);
    return 0.8923 / std::sqrt(s * s + 0.79619929 * c * c); // 0.79619929 = 0.8923^2
}

int eclipseShadowVertices(int mx, int my, int r, int sx, int sy, int rs, int filled,
                          double pixelAspect, CanvasPoint out[kEclipseShadowVertices])
{
    double dx = mx - sx, dy = my - sy;
    double d = std::sqrt(dx * dx + dy * dy);
    if (d <= 0.0 || r == 0 || rs == 0)
        return 0;
    double cosAlpha = (d * d + 1.0 * rs * rs - 1.0 * r * r) / (2.0 * d * rs);
    if (cosAlpha < -1.0 || cosAlpha > 1.0)
        return 0;
    double alpha = acosDegGuarded(cosAlpha);
    double phi = std::atan2(sy - my, mx - sx) * 180.0 / M_PI;
    // Both arcs of at most 360 degrees fit: 2 x (72 + 2) < 155.
    int n = arcVertices(sx, sy, rs, phi - alpha, phi + alpha, pixelAspect, out,
                        kEclipseShadowVertices);
    if (!filled)
        return n;
    double cosBeta = (1.0 * r * r + d * d - 1.0 * rs * rs) / (2.0 * r * d);
    if (cosBeta < -1.0 || cosBeta > 1.0)
        return 0;
    double beta = acosDegGuarded(cosBeta);
    double psi = wrap360(std::atan2(my - sy, sx - mx) * 180.0 / M_PI);
    n += arcVertices(mx, my, r, psi - beta, psi + beta, pixelAspect, out + n,
                     kEclipseShadowVertices - n);
    return n;
}

int formatBodyMagnitude(int32_t m, char *buf, int size)
{
    int n;
    if (m >= 0 && m <= 99)
        n = std::snprintf(buf, size, "%02d", m);
    else if (m < 0 && m >= -99)
        n = std::snprintf(buf, size, "-%02d", -m);
    else
        n = std::snprintf(buf, size, "%d", m);
    return n < 0 ? 0 : (n < size ? n : size - 1);
}

void sunColorByAltitude(double altitudeDeg, int32_t *paletteIndex)
{
    static const struct {
        double below;
        int32_t colour;
    } kSteps[] = {
        {2.5, ColorStar9}, {5.0, ColorStar8}, {7.5, ColorStar7},
        {10.0, ColorStar6}, {12.5, ColorStar5}, {15.0, ColorStar4},
    };
    for (const auto &s : kSteps)
        if (altitudeDeg < s.below) {
            *paletteIndex = s.colour;
            return;
        }
}
