#include "astro/planets.h"

#include <cmath>
#include <new>

#include "astro/angles.h"
#include "astro/calendar.h"
#include "astro/constants.h"
#include "astro/coords.h"
#include "astro/phase.h"
#include "astro/q14.h"
#include "astro/vecmat.h"

namespace {



// Semidiameter at 1 AU (arc seconds) and magnitude at unit distances, by ObjectId.
struct PlanetPhysical {
    double semidiameterArcsec;
    double v10;
};
const PlanetPhysical planetPhysicalTable[kPlanetCount] = {
    {3.36, -0.42}, {8.34, -4.4}, {4.68, -1.52}, {98.44, -9.4},
    {82.73, -8.68}, {35.02, -7.19}, {33.5, -6.87}, {2.07, -1.0},
};

// ---------------------------------------------------------------- Venus, Mars
// t in years from 1975.0; rows {A, phase deg, rate deg per year}.

struct VenusMarsSeries {
    double l0, l1;
    double a2, phase2, rate2;
    double c0, c1;
    double m0, m1;
    double sinI;
    double u0, u1;
    double d0, d1, phaseD, rateD;
    double q0;
    const SeriesTerm *centreTerms; // sine rows of g, level 1 only
    int centreCount;
    const SeriesTerm *distanceTerms; // cosine rows of log10 r, every level
    int distanceCount;
};

const SeriesTerm venusCentreTerms[] = {
    {0.0033, 357.9, 1170.35}, {0.0031, 242.3, 450.37}, {0.002, 273.5, 675.55}, {0.0014, 31.1, 225.18},
};
const SeriesTerm venusDistanceTerms[] = {
    {-0.000015, 357.9, 1170.35}, {0.00001, 62.3, 450.37}, {-0.000008, 93.0, 675.6},
};
const SeriesTerm marsCentreTerms[] = {
    {0.6225, 187.54, 382.797}, {0.0503, 101.31, 574.196}, {0.0146, 62.31, 0.198},
    {0.0071, 71.8, 161.05},    {0.0061, 230.2, 130.71},   {0.0046, 15.1, 765.59},
    {0.0045, 147.5, 322.11},   {0.0039, 279.3, -22.81},   {0.0024, 207.7, 168.59},
    {0.002, 140.1, 145.78},    {0.0018, 224.7, 10.98},    {0.0014, 221.8, -45.62},
    {0.001, 91.4, -30.34},     {0.0009, 268.0, 100.4},
};
const SeriesTerm marsDistanceTerms[] = {
    {-0.002825, 187.54, 382.797}, {-0.000249, 101.31, 574.196}, {-0.000024, 15.1, 765.59},
    {0.000023, 251.7, 161.05},    {0.000022, 327.6, 322.11},    {0.000017, 50.2, 130.71},
    {0.000007, 27.0, 168.6},      {0.000006, 320.0, 145.8},
};
// The nutation terms of the Sun series, shared by both planets' longitudes.
const SeriesTerm venusMarsNutationTerms[] = {
    {-0.0048, 248.6, -19.34}, {-0.0004, 198.0, 720.0},
};

const VenusMarsSeries venusSeries = {
    310.1735, 585.19212, -0.0503, 107.44, 1170.37, 0.7775, -0.00005, 178.954, 585.178, 0.05922,
    233.72, 585.183, -0.002947, 0.00000021, 178.954, 585.178, -0.140658,
    venusCentreTerms, 4, venusDistanceTerms, 3,
};
const VenusMarsSeries marsSeries = {
    249.3542, 191.41696, -0.0149, 40.01, 382.819, 10.6886, 0.0001, 273.768, 191.399, 0.03227,
    200.0, 191.409, -0.040421, -0.00000039, 273.768, 191.399, 0.183844,
    marsCentreTerms, 14, marsDistanceTerms, 8,
};

void venusMarsSeriesPlace(const VenusMarsSeries *s, double t, int level, double lonLat[2], double *r) {
    const int centreCount = (level == 2 || level == 3) ? 0 : s->centreCount;
    const double g = (s->c0 + s->c1 * t) * sinDeg(s->m0 + s->m1 * t) + seriesSinSum(s->centreTerms, centreCount, t);
    lonLat[0] = wrap360(s->l0 + s->l1 * t + s->a2 * sinDeg(s->phase2 + s->rate2 * t + 2.0 * g) +
                        seriesSinSum(venusMarsNutationTerms, 2, t) + g);
    lonLat[1] = asinDegGuarded(s->sinI * sinDeg(g + s->u0 + s->u1 * t));
    const double q = s->q0 + (s->d0 + s->d1 * t) * cosDeg(s->phaseD + s->rateD * t) +
                     seriesCosSum(s->distanceTerms, s->distanceCount, t);
    *r = std::pow(10.0, q);
}

// -------------------------------------------------------- Jupiter, Saturn

int levelIndex(int level) { return (level == 2 || level == 3) ? level - 1 : 0; }

double jupiterSaturnAnomalyBase(int planet, double t) {
    if (planet == kObjectJupiter)
        return 341.5208 + 30.34907 * t + 0.0004 + (0.035 + 0.00028 * t) * sinDeg(245.94 - 30.349 * t) -
               (0.0019 + 0.00002 * t) * sinDeg(162.78 + 0.38 * t);
    return 12.3042 + 12.22117 * t + 0.0008 + (0.0934 + 0.00075 * t) * sinDeg(250.29 + 12.221 * t) +
           (0.0057 + 0.00005 * t) * sinDeg(265.8 - 11.81 * t) + (0.0049 + 0.00004 * t) * sinDeg(162.7 + 0.38 * t) +
           (0.0019 + 0.00002 * t) * sinDeg(262.0 + 24.44 * t);
}

double jupiterSaturnDistanceBase(int planet, double t) {
    if (planet == kObjectJupiter) return (0.000132 + 0.0000011 * t) * cosDeg(245.93 - 30.349 * t);
    return 0.000183 + (0.000354 + 0.0000028 * t) * cosDeg(70.28 + 12.22 * t) +
           (0.000021 + 0.0000002 * t) * cosDeg(265.8 - 11.81 * t);
}

void jupiterSaturnSeriesPlace(int planet, double t, int level, double lonLat[2], double *r) {
    const JupiterSaturnSeries *s = planet == kObjectJupiter ? &jupiterSeries : &saturnSeries;
    const double M = jupiterSaturnAnomalyBase(planet, t) +
                     seriesSinSum(s->anomalyTerms, s->anomalyCount[levelIndex(level)], t);
    const double v = M + s->c1 * sinDeg(M) + s->c2 * sinDeg(2.0 * M) + s->c3 * sinDeg(3.0 * M) +
                     s->c4 * sinDeg(4.0 * M);
    lonLat[0] = wrap360(v + s->a2 * sinDeg(2.0 * v + s->phase2) + s->l0 + s->l1 * t);
    lonLat[1] = asinDegGuarded(s->sinI * sinDeg(v + s->u)) + (s->b0 + s->b1 * t) * sinDeg(v + s->u2) +
                seriesSinSum(s->latitudeTerms, s->latitudeCount, t);
    const double q = jupiterSaturnDistanceBase(planet, t) + seriesCosSum(s->distanceTerms, s->distanceCount, t);
    *r = std::pow(10.0, q) * s->aPrime / (1.0 + s->ePrime * cosDeg(v));
}

// ------------------------------------------- Mercury, Uranus, Neptune, Pluto

void mercuryOuterSeriesPlace(int planet, double T, int level, double lonLat[2], double *r) {
    const MercuryOuterSeries *s = planet == kObjectMercury  ? &mercurySeries
                                  : planet == kObjectUranus ? &uranusSeries
                                  : planet == kObjectNeptune ? &neptuneSeries
                                                       : &plutoSeries;
    const int k = levelIndex(level);
    double lon = s->l0 + s->l1 * T + seriesCosSumRateFirst(s->longitudeTerms, s->longitudeCount[k], T);
    // Mercury's two leading terms are always evaluated; they are not rows.
    if (planet == kObjectMercury)
        lon += (23.4405 + 0.0023 * T) * cosDeg(84.7947 + 149472.5153 * T) +
               (2.9818 + 0.0006 * T) * cosDeg(259.589 + 298945.031 * T);
    lonLat[0] = wrap360(lon);
    lonLat[1] = s->b0 + s->b1 * T + seriesCosSumRateFirst(s->latitudeTerms, s->latitudeCount[k], T);
    *r = s->r0 + s->r1 * T + seriesCosSumRateFirst(s->distanceTerms, s->distanceCount[k], T);
}

// ------------------------------------------------------------ mean elements

// Each element c0 + c1 T + c2 T^2 + c3 T^3, T in centuries from JD 2415021;
// P is the longitude of perihelion (w = P - N).
struct MeanElementRow {
    double L[4], P[4], N[4], i[4], e[4];
    double a;
};
const MeanElementRow planetMeanElements[5] = {
    {{182.27175, 149474.07244, 0.00201944, 0}, {75.89717, 1.553469, 0.000308639, 0},
     {47.144736, 1.18476, 0.000223194, 0}, {7.003014, 0.00173833, -0.000015556, 0},
     {0.20561494, 0.0000203, -0.00000004, 0}, 0.3870984},
    {{344.36936, 58519.2126, 0.00098055, 0}, {130.14057, 1.3723, -0.0016472, 0},
     {75.7881, 0.91403, 0.0004189, 0}, {3.3936, 0.0012522, -0.000004333, 0},
     {0.00681636, -0.00005384, 0.000000126, 0}, 0.72333015},
    {{294.26478, 19141.69625, 0.000315028, 0}, {334.21833, 1.840394, 0.000335917, 0},
     {48.7867, 0.776944, -0.000602778, 0}, {1.8503, -0.000649028, 0.00002625, 0},
     {0.0933088, 0.000095284, -0.000000122, 0}, 1.5236781},
    {{238.132386, 3036.301986, 0.000334683, -0.000001649}, {12.720972, 1.6099617, 0.00105627, -0.000003433},
     {99.443414, 1.01053, 0.000352222, -0.000008511}, {1.308736, -0.00569611, 0.000003889, 0},
     {0.0483348, 0.00016418, -0.000000468, -0.000000002}, 5.202805},
    {{266.597875, 1223.50988, 0.000324542, -0.000000583}, {91.09821, 1.958416, 0.000826361, 0.000004611},
     {112.790414, 0.873195, -0.000152181, -0.000005306}, {2.49252, -0.00391889, -0.000015489, 0.000000044},
     {0.05589231, -0.0003455, -0.000000728, 0.000000001}, 9.55474},
};

// T in centuries from J2000.0; L = c0 + c1 x 36525 T + c2 T^2 (c1 per day),
// the others c0 + c1 T + c2 T^2.
struct OuterElementRow {
    double L[3], P[3], N[3], a[3], e[3], i[3];
};
const OuterElementRow outerPlanetMeanElements[3] = {
    {{314.055005, 0.011769036, 0.0003043}, {173.005159, 1.4863784, 0.0002145},
     {74.005947, 0.5211258, 0.0013399}, {19.2184461, -0.000000037, 0},
     {0.0462959, -0.000027337, 0.000000079}, {0.773196, 0.0007744, 0.0000375}},
    {{304.348665, 0.006020077, 0.0003093}, {48.123691, 1.4262678, 0.0003792},
     {131.784057, 1.1022035, 0.00026}, {30.1103869, -0.000000166, 0},
     {0.00898809, 0.000006408, -0.000000001}, {1.769952, -0.0093082, -0.0000071}},
    {{238.467028, 0.004015958, -0.0090561}, {224.14163, 1.3900789, 0.0003019},
     {110.318223, 1.3506963, 0.0004014}, {39.5403429, 0.00313105, -0.00003792},
     {0.24900535, 0.00003885, -0.000000562}, {17.145104, -0.0054981, -0.0000384}},
};

double cubic(const double c[4], double T) { return c[0] + T * (c[1] + T * (c[2] + T * c[3])); }
double quadratic(const double c[3], double T) { return c[0] + T * (c[1] + T * c[2]); }

// ----------------------------------------------------- long-period terms

void perturbElements(const PlanetPerturbations *p, double jd, PlanetElements *el) {
    const double days = jd - 1721057.0;
    const double tau = days / 365250.0;
    const double x = wrap360(86.1 + 0.033459 * days);
    const double y = wrap360(89.1 + 0.04963 * days);
    const double g = wrap360(3.0 * x - 2.0 * y); // the great inequality, 5 Saturn - 2 Jupiter
    const double sinG = sinDeg(g), cosG = cosDeg(g);
    const ElementPerturbation *rows[4] = {&p->longitude, &p->eccentricity, &p->semiMajor, &p->perihelion};
    double d[4];
    for (int k = 0; k < 4; ++k) {
        const ElementPerturbation *r = rows[k];
        d[k] = (r->sin0 + r->sin1 * tau) * sinG + (r->cos0 + r->cos1 * tau) * cosG +
               r->gridScale * tableInterp2d(x, y, r->grid);
    }
    const double perihelion = el->argPerihelionDeg + el->nodeDeg + d[3];
    el->meanLongitudeDeg = wrap360(el->meanLongitudeDeg + d[0]);
    el->eccentricity += d[1];
    el->semiMajorAu += d[2];
    el->argPerihelionDeg = wrap360(perihelion - el->nodeDeg);
}

} // namespace

// ------------------------------------------------------------------ public

int32_t planetMagnitudeTenths(double magnitude) {
    // A magnitude written as x.x5 must round up as written, not as its
    // binary neighbour below: hence the nudge far below any real resolution.
    return toInt32Trunc(std::floor(10.0 * magnitude + 0.5 + 1e-9));
}

void planetOrbitalElements(int planet, double jd, PlanetElements *out) {
    if (planet < kObjectMercury || planet > kObjectSaturn) return;
    const MeanElementRow &row = planetMeanElements[planet];
    const double T = (jd - 2415021.0) / 36525.0;
    out->meanLongitudeDeg = wrap360(cubic(row.L, T));
    out->nodeDeg = wrap360(cubic(row.N, T));
    out->argPerihelionDeg = wrap360(wrap360(cubic(row.P, T)) - out->nodeDeg);
    out->inclinationDeg = wrap360(cubic(row.i, T));
    out->eccentricity = cubic(row.e, T);
    out->semiMajorAu = row.a;
}

void outerPlanetElements(int index, double T, PlanetElements *out) {
    if (index < 0 || index > 2) return;
    const OuterElementRow &row = outerPlanetMeanElements[index];
    out->meanLongitudeDeg = wrap360(row.L[0] + row.L[1] * 36525.0 * T + row.L[2] * T * T);
    out->nodeDeg = wrap360(quadratic(row.N, T));
    out->argPerihelionDeg = wrap360(wrap360(quadratic(row.P, T)) - out->nodeDeg);
    out->inclinationDeg = wrap360(quadratic(row.i, T));
    out->eccentricity = quadratic(row.e, T);
    out->semiMajorAu = quadratic(row.a, T);
}

void jupiterPerturbations(double jd, PlanetElements *el) { perturbElements(&jupiterPerturbationTable, jd, el); }
void saturnPerturbations(double jd, PlanetElements *el) { perturbElements(&saturnPerturbationTable, jd, el); }

void planetElementsByIndex(int planet, const SkyContext *ctx, PlanetElements *out) {
    const double jd = ctx->jd;
    if (planet >= kObjectMercury && planet <= kObjectSaturn) {
        planetOrbitalElements(planet, jd, out);
        if (planet == kObjectJupiter) jupiterPerturbations(jd, out);
        if (planet == kObjectSaturn) saturnPerturbations(jd, out);
    } else if (planet >= kObjectUranus && planet <= kObjectPluto) {
        outerPlanetElements(planet - kObjectUranus, ctx->centuriesJ2000, out);
    } else if (planet == kObjectEarth) {
        // The Sun's low-precision theory turned round to the Earth.
        const double T = (jd - 2415021.0) / 36525.0;
        out->meanLongitudeDeg = wrap360(wrap360(280.6824 + 36000.769325 * T + 0.000722222 * T * T) + 180.0);
        out->argPerihelionDeg =
            wrap360(wrap360(281.2206 + 1.717697 * T + 0.000483333 * T * T + 2.77777e-6 * T * T * T) + 180.0);
        out->nodeDeg = 0.0;
        out->semiMajorAu = 1.00000129;
        out->eccentricity = 0.0167498 - 0.00004258 * T - 1.37e-7 * T * T;
        out->inclinationDeg = 0.0;
    }
}

double tableInterp2d(double x, double y, const signed char *grid) {
    // Wrapped here, whatever the caller passes: below 0 or at 360 and beyond
    // the indexes would leave the 13 x 13 grid. A non-finite angle reads nothing.
    if (!std::isfinite(x) || !std::isfinite(y)) return 0.0;
    x = wrap360(x);
    y = wrap360(y);
    int i = static_cast<int>(x / 30.0);
    int j = static_cast<int>(y / 30.0);
    if (i > 11) i = 11;
    if (j > 11) j = 11;
    const double fx = x / 30.0 - i, fy = y / 30.0 - j;
    const double g00 = grid[13 * j + i], g10 = grid[13 * j + i + 1];
    const double g01 = grid[13 * (j + 1) + i], g11 = grid[13 * (j + 1) + i + 1];
    return (1.0 - fy) * ((1.0 - fx) * g00 + fx * g10) + fy * ((1.0 - fx) * g01 + fx * g11);
}

void planetFromElements(const PlanetElements *el, double lonLat[2], double *r) {
    double e = el->eccentricity;
    if (e > 0.99) e = 0.99;
    if (e < -0.99) e = -0.99;
    const double a = el->semiMajorAu;
    const double M = el->meanLongitudeDeg - (el->argPerihelionDeg + el->nodeDeg);
    const double eDeg = e * kRadToDeg;
    double E = M;
    for (int k = 0; k < 50; ++k) {
        const double next = M + eDeg * sinDeg(E);
        const bool done = std::fabs(next - E) <= 0.0005729577951308233;
        E = next;
        if (done) break;
    }
    const double x = a * (cosDeg(E) - e);
    const double y = a * std::sqrt(1.0 - e * e) * sinDeg(E);
    *r = std::sqrt(x * x + y * y);
    const double v = atan2Safe(y, x) * kRadToDeg;
    const double u = v + el->argPerihelionDeg;
    const double i = el->inclinationDeg;
    lonLat[0] = wrap360(el->nodeDeg + atan2Safe(sinDeg(u) * cosDeg(i), cosDeg(u)) * kRadToDeg);
    lonLat[1] = asinDegGuarded(sinDeg(u) * sinDeg(i));
}

void ephemPlanetHelio(int planet, const SkyContext *ctx, double lonLat[2], double *r, int level) {
    if (planet < kObjectMercury || planet > kObjectPluto) return;
    if (bodySeriesInRange(ctx->jd)) {
        switch (planet) {
        case kObjectVenus: venusMarsSeriesPlace(&venusSeries, ctx->yearsFrom1975, level, lonLat, r); return;
        case kObjectMars: venusMarsSeriesPlace(&marsSeries, ctx->yearsFrom1975, level, lonLat, r); return;
        case kObjectJupiter:
        case kObjectSaturn: jupiterSaturnSeriesPlace(planet, ctx->yearsFrom1975, level, lonLat, r); return;
        default: mercuryOuterSeriesPlace(planet, ctx->centuriesJ2000, level, lonLat, r); return;
        }
    }
    PlanetElements el;
    planetElementsByIndex(planet, ctx, &el);
    planetFromElements(&el, lonLat, r);
}

void relativeDirection(const double a[2], const double b[2], Vec3 *out) {
    const double sinDa = sinDeg(a[1]), cosDa = cosDeg(a[1]);
    const double sinDb = sinDeg(b[1]), cosDb = cosDeg(b[1]);
    const double cosDr = cosDeg(a[0] - b[0]), sinDr = sinDeg(a[0] - b[0]);
    out->x = cosDb * sinDa - cosDr * sinDb * cosDa;
    out->y = sinDr * cosDa;
    out->z = sinDa * sinDb + cosDr * cosDb * cosDa;
}

namespace {
void poleAnglesFromJ2000(const double pole[2], const SolarBodyRecord *body, double out[2]) {
    const double place[2] = {body->raDeg, body->decDeg};
    Vec3 v;
    relativeDirection(pole, place, &v);
    out[0] = atan2Safe(v.y, v.x) * kRadToDeg;
    out[1] = acosDegGuarded(v.z);
}
} // namespace

void jupiterPoleAngles(const SkyContext *ctx, const SolarBodyRecord *jupiter, double out[2]) {
    const double T = (ctx->jd - 2433282.5) / 36525.0;
    const double poleDate[2] = {268.0 + 0.1061 * T, 64.5 - 0.0164 * T};
    double pole[2];
    transformSph(poleDate, pole, &ctx->precessionToJ2000);
    poleAnglesFromJ2000(pole, jupiter, out);
}

void saturnRingAngles(const SkyContext *ctx, const SolarBodyRecord *saturn, double out[2]) {
    const double T = (ctx->jd - JD_J2000) / 36525.0;
    const double poleEcl[2] = {169.50847 + 1.394681 * T + 0.000412 * T * T - 90.0,
                               90.0 - (28.075216 - 0.012998 * T + 0.000004 * T * T)};
    double poleDate[2];
    convertCoords(ctx, COORD_ECL, poleEcl, COORD_EQT_DATE, poleDate);
    double pole[2];
    transformSph(poleDate, pole, &ctx->precessionToJ2000);
    poleAnglesFromJ2000(pole, saturn, out);
}

void ephemPlanet(int planet, const SkyContext *ctx, const SunRecord *sun, SolarBodyRecord *out, int level) {
    if (planet < kObjectMercury || planet > kObjectPluto) return;
    double lonLat[2];
    double r;
    ephemPlanetHelio(planet, ctx, lonLat, &r, level);
    out->helioLonDeg = lonLat[0];
    out->helioLatDeg = lonLat[1];
    out->rAu = r;

    Vec3 ecl;
    sphToVec(lonLat, &ecl);
    vecScale(&ecl, r, &ecl);
    Mat3 toEquator;
    rotX(-ctx->obliquityDeg, &toEquator);
    Vec3 equDate;
    mat3MulVec(&ecl, &toEquator, &equDate);
    mat3MulVec(&equDate, &ctx->precessionToJ2000, &out->helio);

    Vec3 geo;
    vecSub(&out->helio, &sun->earthHelio, &geo);
    const double delta = vecLength(&geo);
    out->deltaAu = delta;
    // A planet never sits at the Earth's centre; the guard keeps a degenerate
    // input from dividing by zero.
    if (delta > 0.0)
        vecScale(&geo, 1.0 / delta, &out->unit);
    else
        out->unit = Vec3{1.0, 0.0, 0.0};
    vecToQ14(&out->unit, &out->unitQ14);
    double place[2];
    vecToSph(&out->unit, place);
    out->raDeg = place[0];
    out->decDeg = place[1];

    const double rDelta = r * delta;
    double m = (rDelta > 0.0 ? 5.0 * std::log10(rDelta) : 0.0) + planetPhysicalTable[planet].v10;
    if (planet <= kObjectJupiter) {
        const double R = sun->distanceAu;
        const double p = rDelta > 0.0 ? acosDegGuarded((r * r + delta * delta - R * R) / (2.0 * rDelta)) : 0.0;
        switch (planet) {
        case kObjectMercury: m += p * (0.038 - 0.000273 * p + 0.000002 * p * p); break;
        case kObjectVenus: m += p * (0.0009 + 0.000239 * p - 0.00000065 * p * p); break;
        case kObjectMars: m += 0.016 * p; break;
        default: m += 0.005 * p; break;
        }
    } else if (planet == kObjectSaturn) {
        const double Y = (ctx->jd - 1721423.5) / 365.244 + 1.0;
        m -= 1.1 * std::fabs(sinDeg(lonLat[0] + 38.0 - 0.014 * Y));
    }
    out->magnitude10 = planetMagnitudeTenths(m);
    out->diameterArcsec = delta > 0.0 ? 2.0 * planetPhysicalTable[planet].semidiameterArcsec / delta : 0.0;
    out->jd = ctx->jd;
    out->level = level;
    if (planet == kObjectJupiter || planet == kObjectSaturn) {
        double angles[2];
        if (planet == kObjectJupiter)
            jupiterPoleAngles(ctx, out, angles);
        else
            saturnRingAngles(ctx, out, angles);
        out->poleAngleDeg = angles[0];
        out->poleTiltDeg = angles[1];
    }
}

void orbitOrientationMatrix(Mat3 *out, double argPerihelion, double node, double inclination, double year) {
    const double jd = calendarToJd(year, 1.0, 0.0);
    const double f = yearsFrom1975(jd);
    const double c = centuriesJ2000(jd);
    double e;
    if (c < -40.0)
        e = 23.83253;
    else if (c > 40.0)
        e = 23.05253;
    else
        e = 23.44253 - 0.00013 * f + 0.00256 * cosDeg(249.0 - 19.3 * f) + 0.00015 * cosDeg(198.0 + 720.0 * f);
    const double cw = cosDeg(argPerihelion), sw = sinDeg(argPerihelion);
    const double cn = cosDeg(node), sn = sinDeg(node);
    const double ci = cosDeg(inclination), si = sinDeg(inclination);
    const double ce = cosDeg(e), se = sinDeg(e);
    const double A = cw * sn + sw * cn * ci;
    const double B = -sw * sn + cw * cn * ci;
    double *m = out->m;
    m[0] = cw * cn - sw * sn * ci;
    m[3] = A * ce - sw * si * se;
    m[6] = A * se + sw * si * ce;
    m[1] = -sw * cn - cw * sn * ci;
    m[4] = B * ce - cw * si * se;
    m[7] = B * se + cw * si * ce;
    m[2] = m[5] = m[8] = 0.0;
}

int planetOrbitOutlines(const SkyContext *ctx, PlanetOrbitOutlines out) {
    // Built aside and copied only when whole, so a failure never leaves the
    // caller's outlines half-written.
    const double jd = ctx->jd;
    if (!std::isfinite(jd)) return 0;
    Vec3(*work)[kOrbitOutlinePoints] = new (std::nothrow) Vec3[kOrbitOutlineCount][kOrbitOutlinePoints];
    if (!work) return 0;
    Mat3 P;
    precessionMatrix(jd, JD_J2000, &P);
    int year, month;
    double day;
    jdToCalendar(jd, &year, &month, &day);
    const double Y = year + (month - 1) / 12.0 + (day - 1.0) / 365.2524;
    static const int slotBody[kOrbitOutlineCount] = {kObjectMercury, kObjectVenus, kObjectEarth,   kObjectMars, kObjectJupiter,
                                                     kObjectSaturn,  kObjectUranus, kObjectNeptune, kObjectPluto};
    bool finite = true;
    for (int k = 0; k < kOrbitOutlineCount; ++k) {
        PlanetElements el;
        planetElementsByIndex(slotBody[k], ctx, &el);
        double e = el.eccentricity;
        if (e > 0.99) e = 0.99;
        if (e < -0.99) e = -0.99;
        const double a = el.semiMajorAu;
        const double b = a * std::sqrt(1.0 - e * e);
        Mat3 orient, full;
        orbitOrientationMatrix(&orient, el.argPerihelionDeg, el.nodeDeg, el.inclinationDeg, Y);
        mat3Mul(&P, &orient, &full);
        for (int j = 0; j < kOrbitOutlinePoints; ++j) {
            const double E = 3.75 * j;
            const Vec3 plane = {a * (cosDeg(E) - e), b * sinDeg(E), 0.0};
            mat3MulVec(&plane, &full, &work[k][j]);
            const Vec3 &w = work[k][j];
            if (!std::isfinite(w.x) || !std::isfinite(w.y) || !std::isfinite(w.z)) finite = false;
        }
    }
    if (finite)
        for (int k = 0; k < kOrbitOutlineCount; ++k)
            for (int j = 0; j < kOrbitOutlinePoints; ++j) out[k][j] = work[k][j];
    delete[] work;
    return finite ? 1 : 0;
}
