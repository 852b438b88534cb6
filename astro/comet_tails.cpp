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

// A grain's orbit close to a parabola has a semi-major axis of up to
// hundreds of thousands of AU: the table sine's 2e-6 and the fast hyperbolic
// functions' 4e-7, times that, put such grains tens of AU from the nucleus
// they left. Within this of e = 1 the grain is solved in full precision.
constexpr double kPreciseGrainBand = 0.02;

bool preciseGrain(double e) { return std::fabs(e - 1.0) < kPreciseGrainBand; }

// E - e sin E = M (radians) by Newton's method in full precision, from the
// reduced anomaly and M + 0.85 e sign(sin M), where it settles for every e < 1.
bool preciseEccentricAnomaly(double M, double e, double *E)
{
    const double reduced = std::remainder(M, 2.0 * kPi);
    double x = reduced + 0.85 * e * (std::sin(reduced) < 0.0 ? -1.0 : 1.0);
    for (int i = 0; i < kKeplerMaxSteps; ++i) {
        const double step = (x - e * std::sin(x) - reduced) / (1.0 - e * std::cos(x));
        x -= step;
        if (std::fabs(step) <= 1e-14 * (1.0 + std::fabs(x))) {
            *E = x + (M - reduced);
            return std::isfinite(*E);
        }
    }
    return false;
}

int particleElliptic(const ParticleOrbit *p, double t, double *X, double *Y)
{
    double a = p->semiMajorAxis, e = p->eccentricity;
    if (preciseGrain(e)) {
        double E;
        if (!preciseEccentricAnomaly((t - p->perihelionJd) * std::sqrt(std::fabs(p->mu)) / (a * std::sqrt(a)), e, &E))
            return -1;
        *X = a * (std::cos(E) - e);
        *Y = a * std::sqrt(1.0 - e * e) * std::sin(E);
        return 0;
    }
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
    const bool precise = preciseGrain(e);
    auto sinhCosh = [precise](double x, double *sh, double *ch) {
        if (precise) {
            *sh = std::sinh(x);
            *ch = std::cosh(x);
        } else {
            fastSinhCosh(x, sh, ch);
        }
    };
    bool settled = false;
    double sh = 0.0, ch = 1.0;
    for (int i = 0; i < kKeplerMaxSteps && !settled; ++i) {
        sinhCosh(H, &sh, &ch);
        double step = (sg * H + N - e * sh) / (e * ch - sg);
        H += step;
        settled = std::fabs(step) <= (precise ? 1e-14 * (1.0 + std::fabs(H)) : kKeplerSeriesTol);
    }
    if (!settled || !std::isfinite(H))
        return -1;
    sinhCosh(H, &sh, &ch);
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
        // From both of its sine and cosine: the arc sine alone lost the
        // anomaly near +-90 degrees (a grain released near the end of its
        // orbit's minor axis started a third of an AU from the nucleus).
        // Kept in [-90, 270) degrees, where the arc sine put it.
        double E = std::atan2(Y0 / std::sqrt(1.0 - e * e), a * e + n.x * cw + n.y * sw);
        if (E < -0.5 * kPi)
            E += 2.0 * kPi;
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

namespace {

// The nucleus's distances from the Sun over [jd - span, jd]: the least at
// one end unless a perihelion passage falls within (a day of margin on
// either side), and never below q; the greater of the ends. False where the
// orbit has no solution then.
bool sunDistances(double jd, double span, const OrbitalElements *el, double *least, double *ends)
{
    const double q = el->perihelionDistance, e = el->eccentricity;
    bool perihelionWithin;
    if (e < 1.0) {
        const double a = q / (1.0 - e);
        const double period = 2.0 * kPi * a * std::sqrt(a) / kGaussK;
        double since = std::fmod(jd - el->perihelionJd, period);
        if (since < 0.0)
            since += period;
        perihelionWithin = !(period > span + 2.0) || !(since > span + 1.0) || !(since < period - 1.0);
    } else {
        perihelionWithin = !(el->perihelionJd < jd - span - 1.0 || el->perihelionJd > jd + 1.0);
    }
    OrbitState now, then;
    if (!std::isfinite(jd) || keplerSolve(jd, el, &now, 0) != 0 || keplerSolve(jd - span, el, &then, 0) != 0)
        return false;
    const double rNow = std::hypot(now.x, now.y), rThen = std::hypot(then.x, then.y);
    *least = perihelionWithin ? q : std::fmax(q, std::fmin(rNow, rThen));
    *ends = std::fmax(rNow, rThen);
    return *least > 0.0 && std::isfinite(*least) && std::isfinite(*ends);
}

// The separation of a grain from the nucleus `age` days after it left it
// with the nucleus's velocity, both farther than R from the Sun: with u the
// separation, |u''| <= A + B |u|, A = beta mu / R^2 (radiation pressure),
// B = 2 mu / R^3 (the gradient of the Sun's pull), so |u| <= (A / B)
// (cosh(sqrt(B) age) - 1).
double grainSeparation(double beta, double R, double age)
{
    const double s = std::sinh(0.5 * std::sqrt(2.0 * kGaussK2 / (R * R * R)) * age);
    return beta * R * s * s;
}

} // namespace

void cometTailSpread(double jd, const OrbitalElements *el, double *ionAu, double *dustAu)
{
    // Where a tail cannot be computed it stays unbounded, so that it is
    // tried, found wanting and reported as when every tail was computed.
    *ionAu = *dustAu = kUnboundedTailSpreadAu;
    double R, far;
    if (!sunDistances(jd, kDustMaxAgeDays, el, &R, &far))
        return;
    // The tails' points are at most nine tenths of the searched age old.
    const double ageShare = (kTailAges - 1.0) / kTailAges;
    // The Kepler solutions through the table of sines (good to about 2e-6)
    // and their 1e-6 radian tolerances put the nucleus and the grains up to
    // about 8e-5 of their distance, or of an ellipse's semi-major axis, from
    // where the motion takes them (seen over the shipped comets through two
    // centuries); more than twice that.
    const double e = el->eccentricity;
    const double slack = 2e-4 * (far + 1.0) + (e < 1.0 ? 2e-4 * el->perihelionDistance / (1.0 - e) : 0.0);

    // Ion: the oldest point searched lies within D of the nucleus, where
    // d(age) >= v age - c age^2 / 2 with c the nucleus's greatest
    // acceleration; while that grows over the searched ages, it bounds the
    // age, and the points lie within v age + c age^2 / 2.
    const double L = el->ionTailLength;
    if (tailLengthUsable(L)) {
        const double D = std::sqrt(L * L + std::fmax(0.1 * L * L, kNoTailAu));
        const double v = kIonOutflowAuPerDay, c = kGaussK2 / (R * R);
        double age = kIonMaxAgeDays;
        if (v - c * kIonMaxAgeDays > 0.0 && 2.0 * c * D < v * v)
            age = std::fmin(age, 2.0 * D / (v + std::sqrt(v * v - 2.0 * c * D)));
        age *= ageShare;
        const double spread = v * age + 0.5 * c * age * age + slack;
        if (std::isfinite(spread))
            *ionAu = spread;
    }

    // Dust: the grains' beta is at most 1.1 for the small ones and the
    // small one's plus the parameter, raised by at most 0.9, for the others.
    if (!tailLengthUsable(el->dustTailLength) || !std::isfinite(el->dustParameter))
        return;
    const double beta = kSmallGrainBeta + (kBetaTries - 1) * kBetaStep + std::fabs(el->dustParameter) +
                        (kBetaTries - 1) * kBetaStep;
    const double age = kDustMaxAgeDays * ageShare;
    // Supposing the grains stay within R / 2 of the nucleus, so beyond R / 2
    // from the Sun; where the bound then found is within R / 2, the
    // supposition holds (the separation starts at 0 and is continuous), and
    // the bound beyond R minus it holds too.
    const double first = grainSeparation(beta, 0.5 * R, age);
    if (!(first <= 0.5 * R))
        return;
    const double spread = grainSeparation(beta, R - first, age) + slack;
    if (std::isfinite(spread))
        *dustAu = spread;
}
