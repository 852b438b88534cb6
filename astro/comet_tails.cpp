#include "astro/comet_tails.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/orbits.h"
#include "astro/vecmat.h"

namespace {

// Tail lengths below this are no tail at all (AU).
constexpr double kNoTailAu = 1e-6;

// Age searches (days): the interval, the age taken as soon as a tried one is
// beyond it, and the bisection steps.
constexpr double kIonMaxAgeDays = 50.0;
constexpr double kIonAcceptDays = 37.499999;
constexpr double kDustMaxAgeDays = 150.0;
constexpr double kDustAcceptDays = 112.499999;
constexpr int kAgeSteps = 50;

// Grain sizes: the smaller grain's beta, the step when a beta gives no usable
// orbit, the tries, and the band of nearly parabolic grain orbits avoided.
constexpr double kSmallGrainBeta = 0.2;
constexpr double kBetaStep = 0.3;
constexpr int kBetaTries = 4;
constexpr double kParabolaBand = 1e-6;
constexpr double kAvoidBand = 0.01;

double clampUnit(double v)
{
    return std::fmax(-1.0, std::fmin(1.0, v));
}

void tailPointToJ2000(const Mat3 *toJ2000, double X, double Y, const Vec3 *earthHelio,
                      Vec3 *helio, Vec3 *geo)
{
    Vec3 plane = {X, Y, 0.0}, d;
    mat3MulVec(&plane, toJ2000, helio);
    vecSub(helio, earthHelio, &d);
    double len = vecLength(&d);
    vecScale(&d, len > 0.0 ? 1.0 / len : 0.0, geo);
}

// Gas released at te (nucleus state `at`, with velocity), seen at t.
void ionParticlePosition(const OrbitState *at, double dt, double *X, double *Y)
{
    *X = at->x + (at->vx + kIonOutflowAuPerDay * std::cos(at->trueAnomaly)) * dt;
    *Y = at->y + (at->vy + kIonOutflowAuPerDay * std::sin(at->trueAnomaly)) * dt;
}

bool nearlyParabolic(double e)
{
    double d = std::fabs(e - 1.0);
    return d > kParabolaBand && d < kAvoidBand;
}

// Raises p->beta by kBetaStep until the grain has a usable orbit.
bool chooseBeta(double te, ParticleOrbit *p)
{
    for (int tries = 0; tries < kBetaTries; ++tries) {
        if (dustParticleOrbit(te, p) == 0 && !nearlyParabolic(p->eccentricity))
            return true;
        p->beta += kBetaStep;
    }
    return false;
}

// A tail shorter than a micro-AU is a failure like any tail that cannot be
// computed, so the update hides it and reports stkErrorCalcCometTail; taken
// as a silent "no tail" it vanished without a word.
bool tailLengthUsable(double length)
{
    return std::isfinite(length) && std::fabs(length) >= kNoTailAu;
}

int particleElliptic(const ParticleOrbit *p, double t, double *X, double *Y)
{
    double a = p->semiMajorAxis, e = p->eccentricity;
    double mDeg = (t - p->perihelionJd) * std::sqrt(std::fabs(p->mu)) / (a * std::sqrt(a)) * kRadToDeg;
    double E;
    if (keplerEccentricAnomaly(mDeg, e, &E) != 0)
        return -1;
    *X = a * (cosDeg(E) - e);
    *Y = a * std::sqrt(1.0 - e * e) * sinDeg(E);
    return 0;
}

int particleParabolic(const ParticleOrbit *p, double t, double *X, double *Y)
{
    double q = p->perihelionDistance;
    double sg = p->mu < 0.0 ? -1.0 : 1.0;
    double W = (t - p->perihelionJd) / (kSqrt2 * q) * std::sqrt(std::fabs(p->mu) / q);
    double s = W;
    if (barkerSolve(W, &s) != 0)
        return -1;
    *X = q * (sg - s * s);
    *Y = 2.0 * q * s;
    return 0;
}

// With sg = -1 (beta > 1) this is the branch of the repulsive hyperbola that
// turns away from the Sun.
int particleHyperbolic(const ParticleOrbit *p, double t, double *X, double *Y)
{
    double a = p->semiMajorAxis, e = p->eccentricity;
    double sg = p->mu < 0.0 ? -1.0 : 1.0;
    double N = (t - p->perihelionJd) * std::sqrt(std::fabs(p->mu) / a) / a;
    double H = std::asinh(std::fabs(N) / e);
    if (t < p->perihelionJd)
        H = -H;
    bool settled = false;
    double sh = 0.0, ch = 1.0;
    for (int i = 0; i < kKeplerMaxSteps && !settled; ++i) {
        fastSinhCosh(H, &sh, &ch);
        double step = (sg * H + N - e * sh) / (e * ch - sg);
        H += step;
        settled = std::fabs(step) <= kKeplerSeriesTol;
    }
    if (!settled || !std::isfinite(H))
        return -1;
    fastSinhCosh(H, &sh, &ch);
    *X = a * (e - sg * ch);
    *Y = a * std::sqrt(e * e - 1.0) * sh;
    return 0;
}

bool nucleusAt(double t, const OrbitalElements *el, OrbitState *st)
{
    return keplerSolve(t, el, st, 1) == 0;
}

double planeDistance2(double X, double Y, const OrbitState *now)
{
    double dx = X - now->x, dy = Y - now->y;
    return dx * dx + dy * dy;
}

} // namespace

int dustParticleOrbit(double te, ParticleOrbit *p)
{
    const OrbitState &n = p->nucleus;
    if (std::fabs(p->beta - 1.0) < 1e-6) {
        p->perihelionJd = p->perihelionDistance = p->eccentricity = 0.0;
        p->semiMajorAxis = p->mu = p->argPerihelionDeg = 0.0;
        return -1;
    }
    double mu = (1.0 - p->beta) * kGaussK2;
    double sg = mu < 0.0 ? -1.0 : 1.0;
    double h = n.x * n.vy - n.y * n.vx;
    double radicand = h * h * (n.vx * n.vx + n.vy * n.vy - 2.0 * mu / n.r) / (mu * mu) + 1.0;
    double e = std::sqrt(std::fmax(0.0, radicand));
    double pSemi = h * h / std::fabs(mu);
    double q = pSemi / std::fabs(e + sg);
    double c = (pSemi / n.r - sg) / e;
    double nuP = c >= 1.0 ? 0.0 : std::acos(clampUnit(c));
    double a = std::fabs(e - 1.0) >= kParabolaBand ? pSemi / std::fabs(e * e - 1.0) : 0.0;
    double receding = n.x * n.vx + n.y * n.vy;
    double omegaDeg = (receding > 0.0 ? n.trueAnomaly - nuP : n.trueAnomaly + nuP) * kRadToDeg;
    double cw = cosDeg(omegaDeg), sw = sinDeg(omegaDeg);
    double Y0 = n.y * cw - n.x * sw;
    double T;
    if (std::fabs(e - 1.0) < kParabolaBand) {
        double s = Y0 / (2.0 * q);
        T = te - s * (1.0 + s * s / 3.0) * kSqrt2 * q * std::sqrt(q) / std::sqrt(std::fabs(mu));
    } else if (e > 1.0) {
        double sh = Y0 / (std::sqrt(e * e - 1.0) * a);
        double H = std::asinh(sh);
        T = te - (e * sh - sg * H) * a * std::sqrt(a / std::fabs(mu));
    } else {
        double E = std::asin(clampUnit(Y0 / (std::sqrt(1.0 - e * e) * a)));
        if (e + (n.x * cw + n.y * sw) / a < 0.0)
            E = kPi - E;
        T = te - (sg * E - e * std::sin(E)) * a * std::sqrt(a / std::fabs(mu));
    }
    if (!std::isfinite(T) || !std::isfinite(e) || !std::isfinite(q) || !(q > 0.0))
        return -1;
    p->mu = mu;
    p->eccentricity = e;
    p->perihelionDistance = q;
    p->semiMajorAxis = a;
    p->argPerihelionDeg = omegaDeg;
    p->perihelionJd = T;
    return 0;
}

int dustParticlePosition(const ParticleOrbit *p, double t, double *x, double *y)
{
    double X, Y;
    int rc;
    if (std::fabs(p->eccentricity - 1.0) < kParabolaBand)
        rc = particleParabolic(p, t, &X, &Y);
    else if (p->eccentricity > 1.0)
        rc = particleHyperbolic(p, t, &X, &Y);
    else
        rc = particleElliptic(p, t, &X, &Y);
    if (rc != 0)
        return -1;
    double cw = cosDeg(p->argPerihelionDeg), sw = sinDeg(p->argPerihelionDeg);
    *x = X * cw - Y * sw;
    *y = X * sw + Y * cw;
    return 0;
}

namespace {

// Bisection on the release age: the age at which the material released then
// lies the tail length from the nucleus now, or the first age tried beyond
// the acceptance age when all of the interval lies closer.
int tailMaxAge(double jd, const OrbitalElements *el, const OrbitState *now, bool dust,
               double *age, double *beta)
{
    double length = dust ? el->dustTailLength : el->ionTailLength;
    double L2 = length * length;
    double tol = std::fmax(0.1 * L2, 1e-6);
    double lo = 0.0, hi = dust ? kDustMaxAgeDays : kIonMaxAgeDays;
    double accept = dust ? kDustAcceptDays : kIonAcceptDays;
    ParticleOrbit p;
    p.beta = el->dustParameter;
    for (int i = 0; i < kAgeSteps; ++i) {
        double mid = 0.5 * (lo + hi), te = jd - mid;
        if (!nucleusAt(te, el, &p.nucleus))
            return 0;
        double X, Y;
        if (dust) {
            // The grain's beta is fixed at the first step and kept.
            if (i == 0 ? !chooseBeta(te, &p) : dustParticleOrbit(te, &p) != 0)
                return 0;
            if (dustParticlePosition(&p, jd, &X, &Y) != 0)
                return 0;
        } else {
            ionParticlePosition(&p.nucleus, mid, &X, &Y);
        }
        double d2 = planeDistance2(X, Y, now);
        bool found = std::fabs(d2 - L2) <= tol;
        if (!found && d2 > L2) {
            hi = mid;
            continue;
        }
        if (!found) {
            lo = mid;
            found = mid > accept;
        }
        if (found) {
            *age = mid;
            if (beta)
                *beta = p.beta;
            return 1;
        }
    }
    return 0;
}

} // namespace

int ionTailMaxAge(double jd, const OrbitalElements *el, const OrbitState *now, double *age)
{
    return tailMaxAge(jd, el, now, false, age, nullptr);
}

int dustTailMaxAge(double jd, const OrbitalElements *el, const OrbitState *now, double *age,
                   double *beta)
{
    return tailMaxAge(jd, el, now, true, age, beta);
}

int computeIonTail(double jd, const OrbitalElements *el, const Vec3 *earthHelio, CometTail *out)
{
    out->ionCount = 0;
    if (!tailLengthUsable(el->ionTailLength))
        return 0;
    OrbitState now;
    if (keplerSolve(jd, el, &now, 0) != 0)
        return 0;
    double age;
    if (!ionTailMaxAge(jd, el, &now, &age))
        return 0;
    Mat3 toJ2000;
    smallBodyPlaneMatrix(el, 1, JD_J2000, &toJ2000);
    double step = age / kTailAges;
    for (int j = 0; j < kIonTailPoints; ++j) {
        double dt = j * step;
        OrbitState at;
        if (!nucleusAt(jd - dt, el, &at))
            return 0;
        double X, Y;
        ionParticlePosition(&at, dt, &X, &Y);
        tailPointToJ2000(&toJ2000, X, Y, earthHelio, &out->ionHelio[j], &out->ionGeo[j]);
    }
    out->ionCount = kTailAges;
    return 1;
}

int computeDustTail(double jd, const OrbitalElements *el, const Vec3 *earthHelio, CometTail *out)
{
    out->dustCount = 0;
    if (!tailLengthUsable(el->dustTailLength) || !std::isfinite(el->dustParameter))
        return 0;
    OrbitState now;
    if (keplerSolve(jd, el, &now, 0) != 0)
        return 0;
    double age, searchBeta;
    if (!dustTailMaxAge(jd, el, &now, &age, &searchBeta))
        return 0;
    Mat3 toJ2000;
    smallBodyPlaneMatrix(el, 1, JD_J2000, &toJ2000);
    double step = age / kTailAges;
    double betas[2] = {kSmallGrainBeta, 0.0};
    for (int j = 0; j < kTailAges; ++j) {
        double te = jd - j * step;
        ParticleOrbit grain;
        if (!nucleusAt(te, el, &grain.nucleus))
            return 0;
        for (int s = 0; s < 2; ++s) {
            if (j == 0) {
                grain.beta = s == 0 ? kSmallGrainBeta : betas[0] + el->dustParameter;
                if (!chooseBeta(te, &grain))
                    return 0;
                betas[s] = grain.beta;
            } else {
                grain.beta = betas[s];
                if (dustParticleOrbit(te, &grain) != 0)
                    return 0;
            }
            double X, Y;
            if (dustParticlePosition(&grain, jd, &X, &Y) != 0)
                return 0;
            tailPointToJ2000(&toJ2000, X, Y, earthHelio, &out->dustHelio[2 * j + s],
                             &out->dustGeo[2 * j + s]);
        }
    }
    out->dustCount = kTailAges;
    return 1;
}

int ephemCometIonTail(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                      CometTail *out)
{
    if (!computeIonTail(sky->jd, el, &sun->earthHelio, out))
        return 0;
    out->ionJd = sky->jd;
    return 1;
}

int ephemCometDustTail(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                       CometTail *out)
{
    if (!computeDustTail(sky->jd, el, &sun->earthHelio, out))
        return 0;
    out->dustJd = sky->jd;
    return 1;
}
