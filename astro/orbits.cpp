#include "astro/orbits.h"

#include <cmath>

#include "astro/angles.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRadToDeg = 180.0 / kPi;
constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kJ2000 = 2451545.0;

// Eccentricity band of the parabolic solver (exclusive) and of the parabola
// outline (inclusive): the two differ on purpose.
constexpr double kParabolicAbove = 1.0 - 1e-6;
constexpr double kParabolicBelow = 1.000001;
constexpr double kOutlineEllipseBelow = 0.999999;
constexpr double kOutlineHyperbolaAbove = 1.000001;

bool elementsUsable(const OrbitalElements *el)
{
    return std::isfinite(el->perihelionJd) && std::isfinite(el->eccentricity) &&
           std::isfinite(el->perihelionDistance) && el->perihelionDistance > 0.0 &&
           el->eccentricity >= 0.0;
}

double signOf(double v)
{
    return v < 0.0 ? -1.0 : 1.0;
}

// Newton's method on E - e sin E = M in degrees through the table sine.
// Stops early on a small residual or a small derivative: the table's steps
// make the residual a staircase that never quite reaches 0.
bool ellipticNewton(double mDeg, double e, double eDeg, double startDeg, double *outDeg)
{
    double E = startDeg;
    for (int i = 0; i < kKeplerMaxSteps; ++i) {
        double f = mDeg + eDeg * sinDeg(E) - E;
        if (std::fabs(f) < kKeplerAngleTolDeg) {
            *outDeg = E;
            return true;
        }
        double d = 1.0 - e * cosDeg(E);
        if (std::fabs(d) < kKeplerAngleTolDeg) {
            *outDeg = E;
            return true;
        }
        double step = f / d;
        E += step;
        if (std::fabs(step) <= kKeplerAngleTolDeg) {
            *outDeg = E;
            return true;
        }
    }
    return false;
}

// Eccentric anomaly (degrees) for a mean anomaly M (degrees), 0 <= e < 1.
bool ellipticAnomaly(double mDeg, double e, double *outDeg)
{
    double eDeg = e * kRadToDeg;
    double start = mDeg + eDeg * sinDeg(mDeg);
    if (e < 0.5) {
        double E = start;
        for (int i = 0; i < kKeplerMaxSteps; ++i) {
            double next = mDeg + eDeg * sinDeg(E);
            if (std::fabs(next - E) <= kKeplerAngleTolDeg) {
                *outDeg = next;
                return true;
            }
            E = next;
        }
    }
    if (ellipticNewton(mDeg, e, eDeg, start, outDeg))
        return true;
    // Close to e = 1 Newton can wander off from that start; from the reduced
    // anomaly and M + 0.85 e sign(sin M) it always settles.
    double reduced = std::remainder(mDeg, 360.0);
    double whole = mDeg - reduced;
    double E;
    if (!ellipticNewton(reduced, e, eDeg, reduced + 0.85 * eDeg * signOf(sinDeg(reduced)), &E))
        return false;
    *outDeg = whole + E;
    return true;
}

// Plane state of an ellipse from its eccentric anomaly.
void ellipticState(double a, double e, double eDeg, OrbitState *out, int withVelocity)
{
    double s = sinDeg(eDeg), c = cosDeg(eDeg);
    double rootOneMinusE2 = std::sqrt(1.0 - e * e);
    out->x = a * (c - e);
    out->y = a * rootOneMinusE2 * s;
    out->z = 0.0;
    if (!withVelocity)
        return;
    out->r = std::sqrt(out->x * out->x + out->y * out->y);
    out->trueAnomaly = std::atan2(out->y, out->x);
    double u = kGaussK * std::sqrt(a) / out->r;
    out->vx = -u * s;
    out->vy = u * rootOneMinusE2 * c;
    out->vz = 0.0;
}

// Barker's equation s + s^3 / 3 = W by Newton's method from s.
bool barkerSolve(double W, double *s)
{
    double v = *s;
    for (int i = 0; i < kKeplerMaxSteps; ++i) {
        double next = (W + 2.0 * v * v * v / 3.0) / (v * v + 1.0);
        if (std::fabs(next - v) <= kKeplerSeriesTol) {
            *s = next;
            return true;
        }
        v = next;
    }
    return false;
}

// Newton start for Barker's equation: W itself near perihelion, the cube root
// of 3W far out, where starting from W would take too many steps.
double barkerStart(double W)
{
    return std::fabs(W) <= 1.0 ? W : std::cbrt(3.0 * W);
}

} // namespace

KeplerMethod keplerMethodFor(double e)
{
    if (e < 0.98)
        return kKeplerElliptic;
    // Compared with the band's ends, not as |e - 1| < 1e-6: the difference
    // 1.000001 - 1 rounds to just below 1e-6.
    if (e > kParabolicAbove && e < kParabolicBelow)
        return kKeplerParabolic;
    return kKeplerNearParabolic;
}

int keplerSolve(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity)
{
    if (!std::isfinite(jd) || !elementsUsable(el))
        return -1;
    switch (keplerMethodFor(el->eccentricity)) {
    case kKeplerElliptic:
        return keplerElliptic(jd, el, out, withVelocity);
    case kKeplerParabolic:
        return keplerParabolic(jd, el, out, withVelocity);
    case kKeplerNearParabolic:
        break;
    }
    return keplerNearParabolic(jd, el, out, withVelocity);
}

int keplerElliptic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity)
{
    if (!std::isfinite(jd) || !elementsUsable(el) || el->eccentricity >= 1.0)
        return -1;
    double e = el->eccentricity;
    double a = el->perihelionDistance / (1.0 - e);
    double mDeg = (jd - el->perihelionJd) * kGaussK / (a * std::sqrt(a)) * kRadToDeg;
    double E;
    if (!ellipticAnomaly(mDeg, e, &E))
        return -1;
    ellipticState(a, e, E, out, withVelocity);
    return 0;
}

int keplerParabolic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity)
{
    if (!std::isfinite(jd) || !elementsUsable(el))
        return -1;
    double q = el->perihelionDistance;
    double W = (jd - el->perihelionJd) * kGaussK / (kSqrt2 * q * std::sqrt(q));
    double s = barkerStart(W);
    if (!barkerSolve(W, &s))
        return -1;
    out->x = q * (1.0 - s * s);
    out->y = 2.0 * q * s;
    out->z = 0.0;
    if (withVelocity) {
        out->r = std::sqrt(out->x * out->x + out->y * out->y);
        out->trueAnomaly = std::atan2(out->y, out->x);
        double v = kGaussK * std::sqrt(2.0 / (out->r * (1.0 + s * s)));
        out->vx = -s * v;
        out->vy = v;
        out->vz = 0.0;
    }
    return 0;
}

int keplerHyperbolic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity)
{
    if (!std::isfinite(jd) || !elementsUsable(el) || el->eccentricity <= 1.0)
        return -1;
    double e = el->eccentricity;
    double a = el->perihelionDistance / (e - 1.0);
    double M = (jd - el->perihelionJd) * kGaussK / (a * std::sqrt(a));
    // A start that Newton's method on this convex equation always settles from.
    double H = signOf(M) * std::log(2.0 * std::fabs(M) / e + 1.8);
    bool settled = false;
    for (int i = 0; i < kKeplerMaxSteps && !settled; ++i) {
        double step = (e * std::sinh(H) - H - M) / (e * std::cosh(H) - 1.0);
        H -= step;
        settled = std::fabs(step) <= kKeplerSeriesTol;
    }
    if (!settled || !std::isfinite(H))
        return -1;
    double sh = std::sinh(H), ch = std::cosh(H);
    double b = a * std::sqrt(e * e - 1.0);
    out->x = a * (e - ch);
    out->y = b * sh;
    out->z = 0.0;
    if (withVelocity) {
        out->r = std::sqrt(out->x * out->x + out->y * out->y);
        out->trueAnomaly = std::atan2(out->y, out->x);
        double F = kGaussK / ((e * ch - 1.0) * a * std::sqrt(a));
        out->vx = -a * F * sh;
        out->vy = b * F * ch;
        out->vz = 0.0;
    }
    return 0;
}

int keplerNearParabolic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity)
{
    if (!std::isfinite(jd) || !elementsUsable(el))
        return -1;
    double e = el->eccentricity;
    double q = el->perihelionDistance;
    double c1 = std::sqrt((1.0 + 9.0 * e) / 10.0);
    double A0 = 5.0 * (1.0 - e) / (1.0 + 9.0 * e);
    double W0 = (jd - el->perihelionJd) * c1 * kGaussK / (kSqrt2 * q * std::sqrt(q));
    double s = barkerStart(W0);
    double A = 1.0, Aprev = 1.0, B = 1.0;
    bool settled = false;
    for (int pass = 0; pass < kKeplerMaxSteps && !settled; ++pass) {
        if (!barkerSolve(W0 * B, &s))
            break;
        A = A0 * s * s;
        settled = std::fabs(A - Aprev) <= kKeplerSeriesTol;
        if (!settled) {
            B = 1.0 - 0.017142857 * A * A - 0.003809524 * A * A * A;
            Aprev = A;
        }
    }
    // The series in A only holds near perihelion; further out (or when it
    // does not settle) the exact equation of the conic is solved instead.
    if (!settled || std::fabs(A) > kNearParabolicMaxA) {
        if (e < 1.0)
            return keplerElliptic(jd, el, out, withVelocity);
        return keplerHyperbolic(jd, el, out, withVelocity);
    }
    double C = 1.0 + 0.4 * A + 0.21714286 * A * A + 0.12495238 * A * A * A;
    double D = 1.0 - A + 0.2 * A * A + 0.00571429 * A * A * A;
    double sigma = s * C * std::sqrt(5.0 * (1.0 + e) / (1.0 + 9.0 * e));
    out->x = q * D * (1.0 - sigma * sigma);
    out->y = 2.0 * q * D * sigma;
    out->z = 0.0;
    if (!withVelocity)
        return 0;
    out->r = std::sqrt(out->x * out->x + out->y * out->y);
    out->trueAnomaly = std::atan2(out->y, out->x);
    if (e <= 1.0) {
        double a = q / (1.0 - e);
        double p = a * (1.0 - e * e);
        out->vx = -kGaussK * out->y / (out->r * std::sqrt(p));
        out->vy = kGaussK * std::sqrt(p) * (out->x / a + e) / out->r;
    } else {
        double a = q / (e - 1.0);
        double b = a * std::sqrt(e * e - 1.0);
        double yb = out->y / b;
        double H = std::log(yb + std::sqrt(yb * yb + 1.0));
        double sh, ch;
        fastSinhCosh(H, &sh, &ch);
        double F = kGaussK / ((e * ch - 1.0) * a * std::sqrt(a));
        out->vx = -a * F * sh;
        out->vy = b * F * ch;
    }
    out->vz = 0.0;
    return 0;
}
