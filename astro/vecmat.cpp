// Double-precision vectors and 3x3 matrices.
#include "astro/vecmat.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/constants.h"

namespace {
}

void mat3Identity(Mat3 *out)
{
    for (int i = 0; i < 9; ++i)
        out->m[i] = (i % 4 == 0) ? 1.0 : 0.0;
}

void mat3Mul(const Mat3 *a, const Mat3 *b, Mat3 *out)
{
    Mat3 r;
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col)
            r.m[3 * row + col] = a->m[3 * row] * b->m[col] + a->m[3 * row + 1] * b->m[3 + col]
                                 + a->m[3 * row + 2] * b->m[6 + col];
    *out = r;
}

void rotX(double deg, Mat3 *out)
{
    const double c = cosDeg(deg), s = sinDeg(deg);
    *out = Mat3{{1.0, 0.0, 0.0, 0.0, c, s, 0.0, -s, c}};
}

void rotY(double deg, Mat3 *out)
{
    const double c = cosDeg(deg), s = sinDeg(deg);
    *out = Mat3{{c, 0.0, -s, 0.0, 1.0, 0.0, s, 0.0, c}};
}

void rotZ(double deg, Mat3 *out)
{
    const double c = cosDeg(deg), s = sinDeg(deg);
    *out = Mat3{{c, s, 0.0, -s, c, 0.0, 0.0, 0.0, 1.0}};
}

void rotZY(double zDeg, double yDeg, Mat3 *out)
{
    Mat3 y, z;
    rotY(yDeg, &y);
    rotZ(zDeg, &z);
    mat3Mul(&y, &z, out);
}

void mat3Inverse(const Mat3 *m, Mat3 *out)
{
    const double *a = m->m;
    const double c00 = a[4] * a[8] - a[5] * a[7];
    const double c01 = a[5] * a[6] - a[3] * a[8];
    const double c02 = a[3] * a[7] - a[4] * a[6];
    const double det = a[0] * c00 + a[1] * c01 + a[2] * c02;
    Mat3 r;
    r.m[0] = c00 / det;
    r.m[1] = (a[2] * a[7] - a[1] * a[8]) / det;
    r.m[2] = (a[1] * a[5] - a[2] * a[4]) / det;
    r.m[3] = c01 / det;
    r.m[4] = (a[0] * a[8] - a[2] * a[6]) / det;
    r.m[5] = (a[2] * a[3] - a[0] * a[5]) / det;
    r.m[6] = c02 / det;
    r.m[7] = (a[1] * a[6] - a[0] * a[7]) / det;
    r.m[8] = (a[0] * a[4] - a[1] * a[3]) / det;
    *out = r;
}

void mat3MulVec(const Vec3 *v, const Mat3 *m, Vec3 *out)
{
    const double x = v->x, y = v->y, z = v->z;
    out->x = m->m[0] * x + m->m[1] * y + m->m[2] * z;
    out->y = m->m[3] * x + m->m[4] * y + m->m[5] * z;
    out->z = m->m[6] * x + m->m[7] * y + m->m[8] * z;
}

void vecScale(const Vec3 *v, double s, Vec3 *out)
{
    *out = Vec3{v->x * s, v->y * s, v->z * s};
}

void vecSub(const Vec3 *a, const Vec3 *b, Vec3 *out)
{
    *out = Vec3{a->x - b->x, a->y - b->y, a->z - b->z};
}

double vecLength(const Vec3 *v)
{
    return std::sqrt(v->x * v->x + v->y * v->y + v->z * v->z);
}

void sphToVec(const double lonLat[2], Vec3 *out)
{
    const double cl = cosDeg(lonLat[1]);
    *out = Vec3{cosDeg(lonLat[0]) * cl, sinDeg(lonLat[0]) * cl, sinDeg(lonLat[1])};
}

void vecToSph(const Vec3 *v, double lonLat[2])
{
    double lon = atan2Safe(v->y, v->x) * kRadToDeg;
    if (!(lon > 0.0))
        lon += 360.0;
    // atan2 rather than asin(z): the table's interpolated sines leave the
    // vector a few 1e-6 off unit length, which asin turns into errors of up to
    // 0.025 degree within a degree of the poles. Same result for a unit vector.
    lonLat[0] = lon;
    lonLat[1] = std::atan2(v->z, std::sqrt(v->x * v->x + v->y * v->y)) * kRadToDeg;
}
