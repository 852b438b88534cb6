// Reference frames and coordinate conversion.
#include "astro/coords.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"
#include "astro/vecmat.h"

namespace {

const double kCenturyLimit = 30.0;          // span of the IAU 1976 series, centuries
const double kDaysAtLimit = 1095750.0;      // 30 Julian centuries
const double kJdLimitBefore = 1355795.0;    // J2000.0 - 30 centuries
const double kJdLimitAfter = 3547295.0;     // J2000.0 + 30 centuries

// Galactic north pole at RA 192.85, Dec 27.133, node 32.925 (J2000.0).
const double kGalPoleRa = 282.85;
const double kGalPoleIncl = 62.867;
const double kGalNode = 32.925;

bool isCoordSystem(int s)
{
    return s >= COORD_HRZ && s <= COORD_GAL;
}

void mul3(const Mat3 *a, const Mat3 *b, const Mat3 *c, Mat3 *out)
{
    mat3Mul(a, b, out);
    mat3Mul(out, c, out);
}

// Matrix from the system to J2000.0 equatorial.
void toJ2000(const SkyContext *ctx, int system, Mat3 *out)
{
    Mat3 p, a, b;
    switch (system) {
    case COORD_HRZ:
        precessionMatrix(ctx->jd, JD_J2000, &p);
        rotZ(-ctx->siderealDeg, &a);
        rotY(ctx->latitudeDeg - 90.0, &b);
        mul3(&p, &a, &b, out);
        return;
    case COORD_EQT_B1950:
        precessionMatrix(JD_B1950, JD_J2000, out);
        return;
    case COORD_EQT_DATE:
        precessionMatrix(ctx->jd, JD_J2000, out);
        return;
    case COORD_ECL:
        precessionMatrix(ctx->jd, JD_J2000, &p);
        rotX(-ctx->obliquityDeg, &a);
        mat3Mul(&p, &a, out);
        return;
    case COORD_GAL:
        rotZ(-kGalPoleRa, &p);
        rotX(-kGalPoleIncl, &a);
        rotZ(kGalNode, &b);
        mul3(&p, &a, &b, out);
        return;
    default:
        mat3Identity(out);
        return;
    }
}

// Matrix from J2000.0 equatorial to the system (for HRZ the caller negates y).
void fromJ2000(const SkyContext *ctx, int system, Mat3 *out)
{
    Mat3 p, a, b;
    switch (system) {
    case COORD_HRZ:
        rotY(90.0 - ctx->latitudeDeg, &a);
        rotZ(ctx->siderealDeg, &b);
        precessionMatrix(JD_J2000, ctx->jd, &p);
        mul3(&a, &b, &p, out);
        return;
    case COORD_EQT_B1950:
        precessionMatrix(JD_J2000, JD_B1950, out);
        return;
    case COORD_EQT_DATE:
        precessionMatrix(JD_J2000, ctx->jd, out);
        return;
    case COORD_ECL:
        rotX(ctx->obliquityDeg, &a);
        precessionMatrix(JD_J2000, ctx->jd, &p);
        mat3Mul(&a, &p, out);
        return;
    case COORD_GAL:
        rotZ(-kGalNode, &p);
        rotX(kGalPoleIncl, &a);
        rotZ(kGalPoleRa, &b);
        mul3(&p, &a, &b, out);
        return;
    default:
        mat3Identity(out);
        return;
    }
}

} // namespace

void positionAngleAndSeparation(const double a[2], const double b[2], double *positionAngle, double *separation)
{
    const double l1 = a[0] * kDegToRad, b1 = a[1] * kDegToRad;
    const double l2 = b[0] * kDegToRad, b2 = b[1] * kDegToRad;
    const double dl = l2 - l1;
    double pa = std::atan2(std::sin(dl) * std::cos(b2), std::cos(b1) * std::sin(b2) - std::sin(b1) * std::cos(b2) * std::cos(dl))
                * kRadToDeg;
    if (!(pa > 0.0))
        pa += 360.0;
    *positionAngle = pa;
    const double sb = std::sin((b1 - b2) / 2.0), sl = std::sin((l1 - l2) / 2.0);
    double h = sb * sb + std::cos(b1) * std::cos(b2) * sl * sl;
    if (h > 1.0) // rounding at antipodal points
        h = 1.0;
    *separation = 2.0 * std::asin(std::sqrt(h)) * kRadToDeg;
}

void longTermPrecession(double days, double obliquityJd, Mat3 *out)
{
    const double e = meanObliquity(obliquityJd);
    const double p = -days / 365.24 / 72.0;
    Mat3 a, b, c;
    rotX(-e, &a);
    rotZ(p, &b);
    rotX(e, &c);
    mul3(&a, &b, &c, out);
}

void precessionMatrix(double fromJd, double toJd, Mat3 *out)
{
    if (fromJd == toJd) {
        mat3Identity(out);
        return;
    }
    double T = (fromJd - JD_J2000) / 36525.0;
    const bool swapped = T < -kCenturyLimit || T > kCenturyLimit;
    if (swapped) {
        const double keep = fromJd;
        fromJd = toJd;
        toJd = keep;
        T = (fromJd - JD_J2000) / 36525.0; // not clamped again
    }
    double t = (toJd - fromJd) / 36525.0;
    int clamped = 0; // -1 below the span, +1 above
    if (t < -kCenturyLimit) {
        t = -kCenturyLimit;
        clamped = -1;
    } else if (t > kCenturyLimit) {
        t = kCenturyLimit;
        clamped = 1;
    }

    // IAU 1976 angles, arc seconds
    const double A = 2306.2181 + 1.39656 * T - 0.000139 * T * T;
    const double zeta = A * t + (0.30188 - 0.000344 * T) * t * t + 0.017998 * t * t * t;
    const double z = A * t + (1.09468 + 0.000066 * T) * t * t + 0.018203 * t * t * t;
    const double theta = (2004.3109 - 0.8533 * T - 0.000217 * T * T) * t - (0.42665 + 0.000217 * T) * t * t
                         - 0.041833 * t * t * t;

    Mat3 a, b, c, P;
    rotZ(-90.0 - z / 3600.0, &a);
    rotX(theta / 3600.0, &b);
    rotZ(90.0 - zeta / 3600.0, &c);
    mul3(&a, &b, &c, &P);

    if (clamped != 0) {
        const double w = clamped < 0 ? (toJd - fromJd) + kDaysAtLimit : (toJd - fromJd) - kDaysAtLimit;
        Mat3 L;
        longTermPrecession(w, clamped < 0 ? kJdLimitBefore : kJdLimitAfter, &L);
        mat3Mul(&L, &P, &P);
    }
    if (swapped)
        mat3Inverse(&P, out);
    else
        *out = P;
}

void transformSph(const double in[2], double out[2], const Mat3 *m)
{
    Vec3 v;
    sphToVec(in, &v);
    mat3MulVec(&v, m, &v);
    vecToSph(&v, out);
    out[0] = wrap360(out[0]); // (0, 360] -> [0, 360)
}

void convertCoords(const SkyContext *ctx, int fromSystem, const double in[2], int toSystem, double out[2])
{
    if (fromSystem == toSystem || !isCoordSystem(fromSystem) || !isCoordSystem(toSystem)) {
        const double lon = in[0], lat = in[1];
        out[0] = lon;
        out[1] = lat;
        return;
    }
    double src[2] = {in[0], in[1]};
    if (fromSystem == COORD_HRZ)
        src[0] = -src[0];
    Mat3 F, G;
    toJ2000(ctx, fromSystem, &F);
    fromJ2000(ctx, toSystem, &G);
    Vec3 v;
    sphToVec(src, &v);
    mat3MulVec(&v, &F, &v);
    mat3MulVec(&v, &G, &v);
    if (toSystem == COORD_HRZ)
        v.y = -v.y;
    vecToSph(&v, out);
}

void skyContextDerive(SkyContext *ctx)
{
    const double jd = ctx->jd;
    ctx->siderealDeg = localSiderealDeg(jd, ctx->longitudeDeg);
    ctx->yearsFrom1975 = yearsFrom1975(jd);
    ctx->centuriesJ2000 = centuriesJ2000(jd);
    ctx->obliquityDeg = meanObliquity(jd);
    ctx->sinObliquity = sinDeg(ctx->obliquityDeg);
    ctx->cosObliquity = cosDeg(ctx->obliquityDeg);
    precessionMatrix(jd, JD_J2000, &ctx->precessionToJ2000);
}
