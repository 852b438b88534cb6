#include "astro/sun_moon.h"

#include <cmath>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/phase.h"
#include "astro/q14.h"
#include "astro/vecmat.h"

namespace {

const double kSunRadiusKm = 696000.0;
const double kMoonRadiusKm = 1738.0;

// Every row {amplitude, phase deg, rate deg per year}, t in years from 1975.0;
// decreasing amplitude, so that a lower detail level uses a prefix.
const SeriesTerm sunLongitudeTerms[] = {
    {0.02, 353.06, 719.981},    {-0.0048, 248.64, -19.341}, {0.002, 285.0, 329.64},
    {0.0018, 334.2, -4452.67},  {0.0018, 293.7, -0.2},      {0.0015, 242.4, 450.37},
    {0.0013, 211.1, 225.18},    {0.0008, 208.0, 659.29},    {0.0007, 53.5, 90.38},
    {0.0007, 12.1, -30.35},     {0.0006, 239.1, 337.18},    {0.0005, 10.1, -1.5},
    {0.0005, 99.1, -22.81},     {0.0004, 264.8, 315.56},    {0.0004, 233.8, 299.3},
    {-0.0004, 198.1, 720.02},   {0.0003, 349.6, 1079.97},   {0.0003, 241.2, -44.43},
};
const int kSunLongitudeCount = sizeof sunLongitudeTerms / sizeof sunLongitudeTerms[0];

// Cosine rows of log10 of the distance.
const SeriesTerm sunDistanceTerms[] = {
    {-0.000091, 353.1, 719.98}, {0.000013, 205.8, 4452.67},
    {0.000007, 62.0, 450.4},    {0.000007, 105.0, 329.6},
};
const int kSunDistanceCount = sizeof sunDistanceTerms / sizeof sunDistanceTerms[0];

const SeriesTerm moonLongitudeTerms[] = {
    {1.274, 107.248, -4133.3536}, {0.6583, 51.668, 8905.3422}, {0.2136, 317.831, 9543.9773},
    {0.1856, 176.531, 359.9905},  {0.1143, 292.463, 9664.0404}, {0.0588, 86.16, 638.635},
    {0.0572, 103.78, -3773.363},  {0.0533, 30.58, 13677.331},  {0.0459, 124.86, -8545.352},
    {0.041, 342.38, 4411.998},    {0.0348, 25.83, 4452.671},   {0.0305, 155.45, 5131.979},
    {0.0153, 240.79, 758.698},    {0.0125, 271.38, 14436.029}, {0.011, 226.45, -4892.052},
    {0.0107, 55.58, -13038.696},  {0.01, 296.75, 14315.966},   {0.0085, 34.5, -8266.71},
    {0.0079, 290.7, -4493.34},    {0.0068, 228.2, 9265.33},    {0.0052, 133.1, 319.32},
    {0.005, 202.4, 4812.66},      {0.0048, 68.6, -19.34},      {0.004, 34.1, 13317.34},
    {0.004, 9.5, 18449.32},       {0.004, 93.8, -1.33},        {0.0039, 103.3, 17810.68},
    {0.0037, 65.1, 5410.62},      {0.0027, 321.3, 9183.99},    {0.0026, 174.8, -13797.39},
    {0.0024, 82.7, 998.63},       {0.0024, 4.7, 9224.66},      {0.0022, 121.4, -8185.36},
    {0.0021, 134.4, 9903.97},     {0.0021, 173.1, 719.98},     {0.0021, 100.3, -3413.37},
    {0.002, 248.6, -19.34},       {0.0018, 98.1, 4013.29},     {0.0016, 344.1, 18569.38},
    {0.0012, 52.1, -12678.71},    {0.0011, 250.3, 19208.02},   {0.0009, 81.0, -8586.0},
    {0.0008, 207.0, 14037.3},     {0.0008, 31.0, -7906.7},
};

const SeriesTerm moonLatitudeTerms[] = {
    {0.2806, 215.147, 9604.0088}, {0.2777, 77.316, 60.0316},  {0.1732, 4.563, -4073.322},
    {0.0554, 308.98, 8965.374},   {0.0463, 343.48, 698.667},  {0.0326, 287.9, 13737.362},
    {0.0172, 194.06, 14375.997},  {0.0093, 25.6, -8845.31},   {0.0088, 98.4, -4711.96},
    {0.0082, 1.1, -3713.33},      {0.0043, 322.4, 5470.66},   {0.0042, 266.8, 18509.35},
    {0.0034, 188.0, -4433.31},    {0.0025, 312.5, 8605.38},   {0.0022, 291.4, 13377.37},
    {0.0021, 340.0, 1058.66},     {0.0019, 218.6, 9244.02},   {0.0018, 291.8, -8206.68},
    {0.0018, 52.8, 5192.01},      {0.0017, 168.7, 14496.06},  {0.0016, 73.8, 420.02},
    {0.0015, 262.1, 9284.69},     {0.0015, 31.7, 9964.0},     {0.0014, 260.8, -299.96},
    {0.0013, 239.7, 4472.03},     {0.0013, 30.4, 379.35},     {0.0012, 304.9, 4812.68},
    {0.0012, 12.4, -4851.36},     {0.0011, 173.0, 19147.99},
};

// Cosine rows of the horizontal parallax; always all eight.
const SeriesTerm moonParallaxTerms[] = {
    {0.0518, 338.92, 4771.989}, {0.0095, 287.2, -4133.35}, {0.0078, 51.7, 8905.34},
    {0.0028, 317.8, 9543.98},   {0.0009, 31.0, 13677.3},   {0.0005, 305.0, -8545.4},
    {0.0004, 284.0, -3773.4},   {0.0003, 342.0, 4412.0},
};
const int kMoonParallaxCount = sizeof moonParallaxTerms / sizeof moonParallaxTerms[0];

// Rows of the Moon's series used at each detail level: {longitude, latitude}.
struct MoonLevelCounts {
    int longitude, latitude;
};
const MoonLevelCounts moonLevelCounts[] = {
    {44, 29}, // level 1 and every level but 2 and 3
    {19, 14}, // level 2
    {4, 3},   // level 3
};

const MoonLevelCounts &moonCountsForLevel(int level) {
    if (level == 2 || level == 3) return moonLevelCounts[level - 1];
    return moonLevelCounts[0];
}


// Right ascension and declination of date of an ecliptic place of date.
void eclipticToEquatorial(const SkyContext *ctx, double lon, double lat, double out[2]) {
    const double sinE = ctx->sinObliquity, cosE = ctx->cosObliquity;
    const double cosB = cosDeg(lat), sinB = sinDeg(lat);
    const double sinL = sinDeg(lon), cosL = cosDeg(lon);
    out[0] = wrap360(atan2Safe(cosB * sinL * cosE - sinB * sinE, cosB * cosL) * kRadToDeg);
    out[1] = asinDegGuarded(cosB * sinL * sinE + sinB * cosE);
}

// Stores a place of date and the same carried to J2000.0.
void storeDateAndJ2000(const SkyContext *ctx, const double date[2], double *raDate, double *decDate,
                       double *raJ2000, double *decJ2000) {
    *raDate = date[0];
    *decDate = date[1];
    double j2000[2];
    transformSph(date, j2000, &ctx->precessionToJ2000);
    *raJ2000 = j2000[0];
    *decJ2000 = j2000[1];
}

} // namespace

int bodySeriesInRange(double jd) { return jd > kSeriesFirstJd && jd < kSeriesLastJd ? 1 : 0; }

double seriesSinSum(const SeriesTerm *rows, int n, double t) {
    double s = 0.0;
    for (int k = 0; k < n; ++k) s += rows[k].a * sinDeg(rows[k].b + rows[k].c * t);
    return s;
}

double seriesCosSum(const SeriesTerm *rows, int n, double t) {
    double s = 0.0;
    for (int k = 0; k < n; ++k) s += rows[k].a * cosDeg(rows[k].b + rows[k].c * t);
    return s;
}

double seriesCosSumRateFirst(const SeriesTerm *rows, int n, double t) {
    double s = 0.0;
    for (int k = 0; k < n; ++k) s += rows[k].a * cosDeg(rows[k].b * t + rows[k].c);
    return s;
}

void sunSeries(double t, double lonLat[2], double *distance) {
    const double lon = 279.0358 + 360.00769 * t + (1.9159 - 0.00005 * t) * sinDeg(356.531 + 359.991 * t) +
                       seriesSinSum(sunLongitudeTerms, kSunLongitudeCount, t) + 0.0057;
    lonLat[0] = wrap360(lon);
    lonLat[1] = 0.0;
    const double q = 0.00003 + (-0.007261 + 0.0000002 * t) * cosDeg(356.53 + 359.991 * t) +
                     seriesCosSum(sunDistanceTerms, kSunDistanceCount, t);
    *distance = std::pow(10.0, q);
}

void sunLowPrecision(double jd, double lonLat[2], double *distance) {
    const double T = (jd - 2415021.0) / 36525.0;
    const double L = wrap360(280.6824 + 36000.769325 * T + 0.000722222 * T * T);
    const double perigee =
        wrap360(281.2206 + 1.717697 * T + 0.000483333 * T * T + 2.77777e-6 * T * T * T);
    const double e = 0.0167498 - 0.00004258 * T - 1.37e-7 * T * T;
    const double M = wrap360(L - perigee);
    const double sinM = sinDeg(M);
    const double C = 1.91946 * sinM + 0.0200939 * sinDeg(2.0 * M) - 0.00478889 * T * sinM -
                     0.0000144444 * T * T * sinM;
    lonLat[0] = wrap360(L + C);
    lonLat[1] = 0.0;
    // e stays far below 1 at any date the chart accepts, so the divisor is positive.
    *distance = 1.00000129 * (1.0 - e * e) / (1.0 + e * cosDeg(M + C));
}

void solarPhysEphem(const SkyContext *ctx, double sunLongitude, double *P, double *B0,
                    double *eta, double *L0) {
    const double jd = ctx->jd;
    const double T = (jd - 2415020.0) / 36525.0;
    const double L = sunLongitude;
    const double Lp = L - 0.00479 * sinDeg(259.18 - 1934.142 * T);
    const double K = 74.3646 + 1.395833 * T;
    const double I = 7.25;
    const double tanE = ctx->sinObliquity / ctx->cosObliquity;
    const double tanI = sinDeg(I) / cosDeg(I);
    *P = (std::atan(-cosDeg(Lp) * tanE) + std::atan(-cosDeg(L - K) * tanI)) * kRadToDeg;
    *B0 = asinDegGuarded(sinDeg(L - K) * sinDeg(I));
    *eta = atan2Safe(-sinDeg(L - K) * cosDeg(I), -cosDeg(L - K)) * kRadToDeg;
    *L0 = wrap360(*eta - (jd - 2398220.0) * 360.0 / 25.38);
}

void ephemSun(const SkyContext *ctx, SunRecord *out) {
    double lonLat[2];
    double distance;
    if (bodySeriesInRange(ctx->jd))
        sunSeries(ctx->yearsFrom1975, lonLat, &distance);
    else
        sunLowPrecision(ctx->jd, lonLat, &distance);
    out->eclLonDeg = lonLat[0];
    out->eclLatDeg = 0.0;
    out->distanceAu = distance;

    const double L = lonLat[0];
    double date[2];
    date[0] = wrap360(atan2Safe(sinDeg(L) * ctx->cosObliquity, cosDeg(L)) * kRadToDeg);
    date[1] = asinDegGuarded(sinDeg(L) * ctx->sinObliquity);
    storeDateAndJ2000(ctx, date, &out->raDateDeg, &out->decDateDeg, &out->raJ2000Deg, &out->decJ2000Deg);

    solarPhysEphem(ctx, L, &out->pDeg, &out->b0Deg, &out->etaDeg, &out->l0Deg);

    out->semidiameterDeg = std::atan(kSunRadiusKm / (distance * kKmPerAu)) * kRadToDeg;
    out->eclipseMagnitude = -1.0;
    const double j2000[2] = {out->raJ2000Deg, out->decJ2000Deg};
    sphToVec(j2000, &out->unit);
    vecToQ14(&out->unit, &out->unitQ14);
    vecScale(&out->unit, -distance, &out->earthHelio);
    packPositionFixed(&out->earthHelio, out->earthFixed);
}

double moonLongitude(double t, int level) {
    const double A = 338.915 + 4771.9886 * t + 0.004 * sinDeg(93.8 - 1.33 * t) +
                     0.002 * sinDeg(248.6 - 19.34 * t) + 0.0006 * sinDeg(66.0 + 0.2 * t) +
                     0.0006 * sinDeg(249.0 - 19.3 * t);
    return 124.8754 + 4812.67881 * t + 6.2887 * sinDeg(A) +
           seriesSinSum(moonLongitudeTerms, moonCountsForLevel(level).longitude, t);
}

double moonLatitude(double t, int level) {
    const double F = 236.231 + 4832.0202 * t + 0.0267 * sinDeg(68.64 - 19.341 * t) +
                     0.0043 * sinDeg(342.0 - 19.36 * t) + 0.004 * sinDeg(93.8 - 1.33 * t) +
                     0.002 * sinDeg(248.6 - 19.34 * t) + 0.0005 * sinDeg(358.0 - 19.4 * t);
    return 5.1282 * sinDeg(F) + seriesSinSum(moonLatitudeTerms, moonCountsForLevel(level).latitude, t);
}

void moonModern(double t, MoonRecord *out, int level) {
    out->eclLonDeg = wrap360(moonLongitude(t, level));
    out->eclLatDeg = moonLatitude(t, level);
    const double parallax = 0.9507 + seriesCosSum(moonParallaxTerms, kMoonParallaxCount, t);
    out->parallaxDeg = parallax;
    out->geoDistanceKm = kEarthRadiusKm / sinDeg(parallax);
}

void moonClassic(double jd, MoonRecord *out) {
    const double T = (jd - 2378496.0) / 36525.0;
    const double T2 = T * T, T3 = T2 * T;
    const double a1 = 1.2949 + 413335.4078 * T - 0.0072201 * T2 - 7.2305e-6 * T3;
    const double a2 = 111.6209 + 890534.2514 * T + 0.0069838 * T2 + 6.9778e-6 * T3;
    const double a3 = 180.40885 + 35999.0552 * T - 0.0001988 * T2;
    const double a4 = 0.88605 + 377336.3526 * T - 0.0070213 * T2 - 7.2305e-6 * T3;
    const double a5 = 111.21205 + 854535.1962 * T + 0.0071826 * T2 + 6.9778e-6 * T3;
    const double a6 = 169.1706 + 407332.2103 * T + 0.0053354 * T2 + 5.3292e-6 * T3;
    const double perigee = 225.397325 + 4069.053805 * T - 0.0102869 * T2 - 0.0000122222 * T3;
    const double node = 33.272936 - 1934.144694 * T + 0.00208028 * T2 + 2.08333e-6 * T3;
    const double meanLon = 335.723436 + 481267.887361 * T + 0.00338888 * T2 + 1.83333e-6 * T3 +
                           1.2408 * sinDeg(a1) + 0.5958 * sinDeg(a2) + 0.1828 * sinDeg(a3) +
                           0.055 * sinDeg(a4) + 0.0431 * sinDeg(a5);

    // Kepler's equation in radians by Newton's method; the mean anomaly is
    // reduced first so that far dates start inside one turn.
    const double e = 0.05490897;
    const double M = wrap360(meanLon - perigee) * kDegToRad;
    double E = M;
    for (int k = 0; k < 41; ++k) {
        const double f = E - e * std::sin(E) - M;
        if (std::fabs(f) < 1e-6) break;
        E -= f / (1.0 - e * std::cos(E));
    }
    double v = 2.0 * std::atan(1.0565028476846914 * std::tan(E / 2.0)) * kRadToDeg;
    if (v < 0.0) v += 360.0;

    // atan2 keeps the quadrant of u and needs no division by cos u.
    const double inc = 5.144433;
    const double u = perigee + v - node;
    const double x = atan2Safe(sinDeg(u) * cosDeg(inc), cosDeg(u)) * kRadToDeg;
    out->eclLonDeg = wrap360(node + x);
    out->eclLatDeg = std::atan(sinDeg(x) * sinDeg(inc) / cosDeg(inc)) * kRadToDeg + 0.1453 * sinDeg(a6);
    out->geoDistanceKm = 383195.4210885869 / (1.0 + e * cosDeg(v));
}

void moonLibration(const SkyContext *ctx, MoonRecord *out, double rightAscensionOfDate) {
    const double T = (ctx->jd - JD_J2000) / 36525.0;
    const double T2 = T * T, T3 = T2 * T, T4 = T3 * T;
    const double O = 125.044555 - 1934.1361849 * T + 0.0020762 * T2 + T3 / 467410.0 - T4 / 60616000.0;
    const double F = 93.2720993 + 483202.0175273 * T - 0.0034029 * T2 - T3 / 3526000.0 + T4 / 863310000.0;
    const double sinI = 0.026917056, cosI = 0.99963767;
    const double l = out->eclLonDeg, b = out->eclLatDeg;
    const double W = l - O;
    const double cosB = cosDeg(b), sinB = sinDeg(b);
    const double bp = asinDegGuarded(-sinDeg(W) * cosB * sinI - sinB * cosI);
    out->librationLatDeg = clampLat(bp);
    const double A = atan2Safe(sinDeg(W) * cosB * cosI - sinB * sinI, cosDeg(W) * cosB) * kRadToDeg;
    out->librationLonDeg = clampLat(A - F);
    const double y = sinDeg(O) * sinI;
    const double x = cosDeg(O) * sinI * ctx->cosObliquity - ctx->sinObliquity * cosI;
    const double node = atan2Safe(y, x) * kRadToDeg;
    // |b'| stays below 7 degrees, so its cosine is far from 0.
    out->axisAngleDeg =
        wrap360(asinDegGuarded(std::sqrt(x * x + y * y) * cosDeg(rightAscensionOfDate - node) / cosDeg(bp)));
}

void ephemMoon(const SkyContext *ctx, MoonRecord *out, int level) {
    const double jd = ctx->jd;
    if (bodySeriesInRange(jd))
        moonModern(ctx->yearsFrom1975, out, level);
    else
        moonClassic(jd, out);

    double geoDate[2];
    eclipticToEquatorial(ctx, out->eclLonDeg, out->eclLatDeg, geoDate);
    double geoJ2000[2];
    transformSph(geoDate, geoJ2000, &ctx->precessionToJ2000);
    out->raGeoJ2000Deg = geoJ2000[0];
    out->decGeoJ2000Deg = geoJ2000[1];

    // The site on the Bessel ellipsoid with a fixed datum shift (km), Earth-fixed,
    // then turned by the Greenwich sidereal time into the equator of date.
    const double a = 6377.397155, e2 = 0.006674372230614;
    const double lat = ctx->latitudeDeg, lon = ctx->longitudeDeg;
    const double sinLat = sinDeg(lat), cosLat = cosDeg(lat);
    const double N = a / std::sqrt(1.0 - e2 * sinLat * sinLat);
    const double h = ctx->altitudeM / 1000.0;
    const Vec3 fixed = {(N + h) * cosLat * cosDeg(lon) - 0.136, (N + h) * cosLat * sinDeg(lon) + 0.521,
                        (N * 0.993325627769386 + h) * sinLat + 0.681};
    Mat3 turn;
    rotZ(-(ctx->siderealDeg - lon), &turn);
    Vec3 site;
    mat3MulVec(&fixed, &turn, &site);

    Vec3 geo;
    sphToVec(geoDate, &geo);
    vecScale(&geo, out->geoDistanceKm, &geo);
    Vec3 topo;
    vecSub(&geo, &site, &topo);
    const double distance = vecLength(&topo);
    out->distanceKm = distance;
    double topoDate[2];
    topoDate[0] = wrap360(atan2Safe(topo.y, topo.x) * kRadToDeg);
    // The Moon is never nearer than 350000 km, so the distance is never 0.
    topoDate[1] = asinDegGuarded(topo.z / distance);
    storeDateAndJ2000(ctx, topoDate, &out->raDateDeg, &out->decDateDeg, &out->raJ2000Deg, &out->decJ2000Deg);

    out->semidiameterDeg = std::atan(kMoonRadiusKm / distance) * kRadToDeg;
    out->geoSemidiameterDeg = std::atan(kMoonRadiusKm / out->geoDistanceKm) * kRadToDeg;

    if (jd > 1538798.0 && jd < 3364651.0) {
        moonLibration(ctx, out, geoDate[0]);
    } else {
        out->axisAngleDeg = 0.0;
        out->librationLonDeg = 0.0;
        out->librationLatDeg = 0.0;
    }
}

void ephemMoonWithPhase(const SkyContext *ctx, MoonRecord *out, const SunRecord *sun, int level) {
    ephemMoon(ctx, out, level);
    const double sunPlace[2] = {sun->raJ2000Deg, sun->decJ2000Deg};
    const double moonPlace[2] = {out->raJ2000Deg, out->decJ2000Deg};
    phaseAndLimbAngle(sunPlace, sun->distanceAu, moonPlace, out->distanceKm / kKmPerAu, &out->phase,
                      &out->limbAngleDeg);
    sphToVec(moonPlace, &out->unit);
    vecToQ14(&out->unit, &out->unitQ14);
    double horizontal[2];
    convertCoords(ctx, COORD_EQT, moonPlace, COORD_HRZ, horizontal);
    out->azimuthDeg = horizontal[0];
    out->altitudeDeg = horizontal[1];
    out->siteLatitudeDeg = ctx->latitudeDeg;
    out->siteLongitudeDeg = ctx->longitudeDeg;
    out->siteAltitudeM = ctx->altitudeM;
    out->level = level;
}

double meanNewMoon(double k) {
    const double T = k / 1236.85;
    const double T2 = T * T, T3 = T2 * T;
    const double M = 359.2242 + 29.10535608 * k - 0.0000333 * T2 - 0.00000347 * T3;
    const double Mp = 306.0253 + 385.81691806 * k + 0.0107306 * T2 + 0.00001236 * T3;
    return 2415020.75933 + 29.53058868 * k + 0.0001178 * T2 - 0.000000155 * T3 +
           (0.1734 - 0.000393 * T) * sinDeg(M) - 0.4068 * sinDeg(Mp);
}

double moonAge(double jd, const SunRecord *sun, const MoonRecord *moon) {
    if (jd < 1356173.0 || jd > 3547272.0) return wrap360(moon->eclLonDeg - sun->eclLonDeg) / 12.190749056850848;
    // The estimate of k can miss by a lunation either way; a fixed 29.5-day
    // test would miss a new moon that came early (lunations run from 29.3
    // to 29.8 days), reporting 29.4 days just after it. Step to the last new
    // moon at or before jd instead; a few steps always suffice.
    double k = std::floor(((jd - 1721423.5) / 365.244 + 1.0 - 1900.0) * 12.3685);
    for (int step = 0; step < 4 && meanNewMoon(k + 1.0) <= jd; ++step) k += 1.0;
    for (int step = 0; step < 4 && meanNewMoon(k) > jd; ++step) k -= 1.0;
    return jd - meanNewMoon(k);
}
