#include "astro/orbits.h"

#include <cmath>
#include <cstdlib>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/planets.h"
#include "astro/q14.h"
#include "astro/vecmat.h"

namespace {

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

bool orientationUsable(const OrbitalElements *el)
{
    return std::isfinite(el->argPerihelion) && std::isfinite(el->ascendingNode) &&
           std::isfinite(el->inclination) && std::isfinite(el->equinox);
}

double signOf(double v)
{
    return v < 0.0 ? -1.0 : 1.0;
}

// Newton's method on E - e sin E = M in degrees through the table sine.
// Stops early on a small residual: the table's steps make the residual a
// staircase that never quite reaches 0.
bool ellipticNewton(double mDeg, double e, double eDeg, double startDeg, double *outDeg)
{
    double E = startDeg;
    for (int i = 0; i < kKeplerMaxSteps; ++i) {
        double f = mDeg + eDeg * sinDeg(E) - E;
        if (std::fabs(f) < kKeplerAngleTolDeg) {
            *outDeg = E;
            return true;
        }
        // A flat spot with the residual still large is no solution: taken
        // as one, a comet of e near 1 passing E = 0 on its way to the root
        // was put at its perihelion, tens of AU from where it is.
        double d = 1.0 - e * cosDeg(E);
        if (std::fabs(d) < kKeplerAngleTolDeg)
            return false;
        double step = f / d;
        E += step;
        if (std::fabs(step) <= kKeplerAngleTolDeg) {
            *outDeg = E;
            return true;
        }
    }
    return false;
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

// Newton start for Barker's equation: W itself near perihelion, the cube root
// of 3W far out, where starting from W would take too many steps.
double barkerStart(double W)
{
    return std::fabs(W) <= 1.0 ? W : std::cbrt(3.0 * W);
}

} // namespace

int keplerEccentricAnomaly(double mDeg, double e, double *outDeg)
{
    double eDeg = e * kRadToDeg;
    double start = mDeg + eDeg * sinDeg(mDeg);
    if (e < 0.5) {
        double E = start;
        for (int i = 0; i < kKeplerMaxSteps; ++i) {
            double next = mDeg + eDeg * sinDeg(E);
            if (std::fabs(next - E) <= kKeplerAngleTolDeg) {
                *outDeg = next;
                return 0;
            }
            E = next;
        }
    }
    if (ellipticNewton(mDeg, e, eDeg, start, outDeg))
        return 0;
    // Close to e = 1 Newton can wander off from that start; from the reduced
    // anomaly and M + 0.85 e sign(sin M) it always settles.
    double reduced = std::remainder(mDeg, 360.0);
    double whole = mDeg - reduced;
    double E;
    if (!ellipticNewton(reduced, e, eDeg, reduced + 0.85 * eDeg * signOf(sinDeg(reduced)), &E))
        return -1;
    *outDeg = whole + E;
    return 0;
}

int barkerSolve(double W, double *s)
{
    double v = *s;
    for (int i = 0; i < kKeplerMaxSteps; ++i) {
        double next = (W + 2.0 * v * v * v / 3.0) / (v * v + 1.0);
        if (std::fabs(next - v) <= kKeplerSeriesTol) {
            *s = next;
            return 0;
        }
        v = next;
    }
    return -1;
}

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
    if (keplerEccentricAnomaly(mDeg, e, &E) != 0)
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
    if (barkerSolve(W, &s) != 0)
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
        if (barkerSolve(W0 * B, &s) != 0)
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

void smallBodyPlaneMatrix(const OrbitalElements *el, int forOutline, double toJd, Mat3 *out)
{
    // The position takes the element angles at January 0 of their year, the
    // outline and the tails a month earlier; both are kept as they are.
    Mat3 O, P;
    orbitOrientationMatrix(&O, el->argPerihelion, el->ascendingNode, el->inclination, el->equinox);
    precessionMatrix(calendarToJd(el->equinox, forOutline ? 0 : 1, 0), toJd, &P);
    mat3Mul(&P, &O, out);
}

int smallBodyPosition(double jd, const OrbitalElements *el, const Vec3 *earthHelio,
                      double sunDistance, double equinoxJd, BodyPosition *out)
{
    if (!orientationUsable(el) || !std::isfinite(el->absMagnitude) ||
        !std::isfinite(el->slope) || !std::isfinite(equinoxJd))
        return 0;
    OrbitState st;
    if (keplerSolve(jd, el, &st, 0) != 0)
        return 0;

    Mat3 toEquinox;
    smallBodyPlaneMatrix(el, 0, equinoxJd, &toEquinox);
    Vec3 plane = {st.x, st.y, 0.0}, helio, geo;
    mat3MulVec(&plane, &toEquinox, &helio);
    vecSub(&helio, earthHelio, &geo);
    double r = vecLength(&helio);
    double delta = vecLength(&geo);
    if (!(delta > 0.0) || !std::isfinite(delta) || !(r > 0.0))
        return 0;

    BodyPosition &row = *out; // every check is done: from here on the row is written
    row.helio = helio;
    row.sunDistance = r;
    row.earthDistance = delta;
    vecScale(&geo, 1.0 / delta, &row.geoUnit);
    vecToQ14(&row.geoUnit, &row.geoUnitQ14);
    row.raJ2000 = std::atan2(row.geoUnit.y, row.geoUnit.x) * kRadToDeg;
    if (row.raJ2000 < 0.0)
        row.raJ2000 += 360.0;
    row.decJ2000 = std::asin(std::fmax(-1.0, std::fmin(1.0, row.geoUnit.z))) * kRadToDeg;

    double m = el->absMagnitude + 5.0 * std::log10(delta) + el->slope * std::log10(r);
    if (el->type == 'M') {
        // Rounding can push the half-angle's sine just past 1 (or below 0).
        double R = sunDistance;
        double h = (R - r + delta) * (R + r - delta) / (4.0 * r * delta);
        h = std::fmax(0.0, std::fmin(1.0, h));
        if (std::isfinite(h))
            m += 0.023 * 2.0 * std::asin(std::sqrt(h)) * kRadToDeg;
    }
    row.magnitude10 = toInt32Trunc(std::floor(10.0 * m + 0.5));

    // The same direction as raJ2000/decJ2000, carried to the equinox of jd.
    Mat3 toDate;
    Vec3 dated;
    double lonLat[2];
    precessionMatrix(JD_J2000, jd, &toDate);
    mat3MulVec(&row.geoUnit, &toDate, &dated);
    vecToSph(&dated, lonLat);
    row.raDate = lonLat[0];
    row.decDate = lonLat[1];
    return 1;
}

int ephemSmallBody(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                   BodyPosition *out)
{
    if (!smallBodyPosition(sky->jd, el, &sun->earthHelio, sun->distanceAu, JD_J2000, out))
        return 0;
    out->jd = sky->jd;
    return 1;
}

Vec3 *smallBodyOrbitOutline(const OrbitalElements *el, int n)
{
    if (n < 4 || n % 2 != 0 || n > 1000000 || !elementsUsable(el) || !orientationUsable(el))
        return nullptr;
    const double q = el->perihelionDistance, e = el->eccentricity;
    const int h = n / 2;
    Vec3 *pts = static_cast<Vec3 *>(std::malloc(sizeof(Vec3) * (static_cast<size_t>(n) + 1)));
    if (!pts)
        return nullptr;

    if (e < kOutlineEllipseBelow) {
        double a = q / (1.0 - e), b = a * std::sqrt(1.0 - e * e);
        if ((1.0 + e) * a <= kOutlineCutAu) {
            // Point k at E = k 360 / n: closed, perihelion first and last.
            for (int k = 0; k <= n; ++k) {
                double E = k * 360.0 / n;
                pts[k] = {a * (cosDeg(E) - e), b * sinDeg(E), 0.0};
            }
        } else {
            double c = (1.0 - kOutlineCutAu / a) / e;
            if (!(c >= -1.0 && c <= 1.0)) {
                std::free(pts);
                return nullptr;
            }
            double eMax = std::acos(c) * kRadToDeg;
            for (int j = 0; j <= h; ++j) {
                double E = static_cast<double>(j) * j * eMax / (static_cast<double>(h) * h);
                double x = a * (cosDeg(E) - e), y = b * sinDeg(E);
                pts[h + j] = {x, y, 0.0};
                pts[h - j] = {x, -y, 0.0};
            }
        }
    } else if (e <= kOutlineHyperbolaAbove) {
        double w = kOutlineCutAu / q - 1.0;
        if (!(w >= 0.0)) {
            std::free(pts);
            return nullptr;
        }
        double nuMax = 2.0 * std::atan(std::sqrt(w)) * kRadToDeg;
        for (int j = 0; j <= h; ++j) {
            double half = 0.5 * j * nuMax / h;
            double s = sinDeg(half) / cosDeg(half);
            double x = q * (1.0 - s * s), y = 2.0 * q * s;
            pts[h + j] = {x, y, 0.0};
            pts[h - j] = {x, -y, 0.0};
        }
    } else {
        double a = q / (e - 1.0), b = a * std::sqrt(e * e - 1.0);
        double c = (a + kOutlineCutAu) / (a * e);
        if (!(c >= 1.0) || !std::isfinite(c)) {
            std::free(pts);
            return nullptr;
        }
        double hMax = std::log(c + std::sqrt(c * c - 1.0));
        for (int j = 0; j <= h; ++j) {
            double H = j * hMax / h;
            double x = a * (e - std::cosh(H)), y = b * std::sinh(H);
            pts[h + j] = {x, y, 0.0};
            pts[h - j] = {x, -y, 0.0};
        }
    }

    Mat3 M;
    smallBodyPlaneMatrix(el, 1, JD_J2000, &M);
    for (int k = 0; k <= n; ++k) {
        Vec3 plane = pts[k];
        mat3MulVec(&plane, &M, &pts[k]);
    }
    return pts;
}
