// Comets and minor planets: two-body (Kepler) solutions of their osculating
// elements, their apparent place, distances and magnitude, and the outline of
// the orbit drawn in the solar-system views.
#pragma once

#include "astro/body_records.h"
#include "astro/orbit_records.h"
#include "astro/types.h"

// Gaussian gravitational constant (AU^1.5 per day) and its square.
constexpr double kGaussK = 0.01720209895;
constexpr double kGaussK2 = 0.00029591220828559115;

// Convergence of the angle iterations: 1e-6 radian in degrees.
constexpr double kKeplerAngleTolDeg = 5.729577951308232e-05;
// Convergence of Barker's equation and of the near-parabolic series (dimensionless).
constexpr double kKeplerSeriesTol = 1e-6;
constexpr int kKeplerMaxSteps = 50;

// Which solver keplerSolve takes for an eccentricity.
enum KeplerMethod {
    kKeplerElliptic = 1,      // e < 0.98
    kKeplerParabolic = 2,     // |e - 1| < 1e-6
    kKeplerNearParabolic = 3, // every other e >= 0.98, hyperbolic orbits included
};

/*
 * keplerMethodFor: the solver keplerSolve uses for an eccentricity.
 * Given:    e       double  eccentricity (>= 0)
 * Returned: KeplerMethod
 * Notes:    e = 0.98 goes to the near-parabolic solver, 1 + 5e-7 to the
 *           parabolic one, 1 + 1e-6 to the near-parabolic one.
 */
KeplerMethod keplerMethodFor(double e);

/*
 * keplerSolve: position (and velocity) in the orbit plane at a date.
 * Given:    jd            double                  Julian date
 *           el            const OrbitalElements*  perihelionJd, eccentricity,
 *                                                 perihelionDistance are read
 *           withVelocity  int                     non-zero: also r, trueAnomaly, velocity
 * Returned: out           OrbitState*             x towards perihelion, y along the
 *                                                 motion at perihelion (AU, AU/day)
 *           int           0 success; -1 no convergence or unusable elements
 *                         (q <= 0, e < 0, anything non-finite); out untouched then
 * Notes:    Chooses the solver by keplerMethodFor. Without velocity only x, y, z
 *           are written.
 */
int keplerSolve(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity);

/*
 * keplerEccentricAnomaly: E - e sin E = M in degrees, through the table sine.
 * Given:    mDeg    double  mean anomaly (degrees, any value)
 *           e       double  eccentricity, 0 <= e < 1
 * Returned: eDeg    double* eccentric anomaly (degrees, near mDeg)
 *           int     0 success, -1 no convergence in 50 steps
 * Notes:    Fixed-point iteration for e < 0.5; Newton's method from 0.5 on and
 *           whenever the fixed point does not settle (with the table's 0.0001
 *           degree steps the fixed point falls into 2-cycles near aphelion).
 *           Newton stops early on a residual below 1e-6 radian; a derivative
 *           below 1e-6 with the residual larger ends that start (then the
 *           second start from the reduced anomaly, else -1), since its E is
 *           no solution.
 */
int keplerEccentricAnomaly(double mDeg, double e, double *eDeg);

/*
 * barkerSolve: Barker's equation s + s^3 / 3 = W by Newton's method.
 * Given:    W       double
 *           s       double* start value
 * Returned: s       double* the root, to 1e-6
 *           int     0 success, -1 no convergence in 50 steps
 */
int barkerSolve(double W, double *s);

/*
 * keplerElliptic: the ellipse through keplerEccentricAnomaly.
 * Notes:    Same arguments and results as keplerSolve; e < 1 required.
 */
int keplerElliptic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity);

/*
 * keplerParabolic: Barker's equation s + s^3/3 = W by Newton's method.
 * Notes:    Treats the orbit as a parabola of perihelion distance q.
 */
int keplerParabolic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity);

/*
 * keplerNearParabolic: Barker's solution corrected by series in
 * A = 5 (1 - e) / (1 + 9e) s^2, for 0.98 <= e and all hyperbolic orbits.
 * Notes:    The series only holds for small |A|; beyond kNearParabolicMaxA (or
 *           when the series does not settle) the elliptic equation (e < 1) or
 *           the hyperbolic one (e > 1) is solved by Newton's method instead.
 */
int keplerNearParabolic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity);

// Largest |A| for which the near-parabolic series is used.
constexpr double kNearParabolicMaxA = 0.1;

/*
 * keplerHyperbolic: e sinh H - H = M by Newton's method, e > 1.
 * Notes:    Same arguments and results as keplerSolve.
 */
int keplerHyperbolic(double jd, const OrbitalElements *el, OrbitState *out, int withVelocity);

/*
 * smallBodyPlaneMatrix: the comet's orbit plane to equatorial coordinates.
 * Given:    el          const OrbitalElements*  argPerihelion, ascendingNode,
 *                                               inclination, equinox
 *           forOutline  int     0: element angles at calendarToJd(equinox, 1, 0)
 *                               (positions); 1: at calendarToJd(equinox, 0, 0)
 *                               (outlines and tails)
 *           toJd        double  equinox of the result
 * Returned: out         Mat3*   V(toJd) = out x (x, y, 0) of the orbit plane
 */
void smallBodyPlaneMatrix(const OrbitalElements *el, int forOutline, double toJd, Mat3 *out);

/*
 * smallBodyPosition: apparent geocentric place, distances and magnitude.
 * Given:    jd          double                  Julian date of the position
 *           el          const OrbitalElements*
 *           earthHelio  const Vec3*             the Earth, heliocentric, AU, equatorial
 *                                               of the equinox equinoxJd
 *           sunDistance double                  Earth-Sun distance R, AU
 *           equinoxJd   double                  equinox of raJ2000/decJ2000, helio, geoUnit
 * Returned: out         BodyPosition*           raJ2000 .. magnitude10 written
 *           int         1 success; 0 the solver failed or the magnitude
 *                       constants are not finite (out untouched)
 * Notes:    No light time, no aberration. The element angles are referred to
 *           January 0 of their equinox year. Minor planets (type 'M') get 0.023
 *           magnitude per degree of phase angle; comets no phase term.
 */
int smallBodyPosition(double jd, const OrbitalElements *el, const Vec3 *earthHelio,
                      double sunDistance, double equinoxJd, BodyPosition *out);

/*
 * ephemSmallBody: smallBodyPosition for the chart's time, J2000.
 * Given:    sky  const SkyContext*   its jd is used
 *           sun  const SunRecord*    earthHelio and distanceAu are used
 *           el   const OrbitalElements*
 * Returned: out  BodyPosition*       on success also jd = sky->jd
 *           int  1 success, 0 failure (row and stamp untouched)
 */
int ephemSmallBody(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                   BodyPosition *out);

/*
 * smallBodyOrbitOutline: the orbit as a polyline.
 * Given:    el  const OrbitalElements*
 *           n   int  number of segments (even, >= 4; callers pass 160)
 * Returned: Vec3*    n + 1 heliocentric points, AU, equatorial J2000,
 *                    malloc'd and owned by the caller (free); null when memory
 *                    runs out or no outline can be made
 * Notes:    e < 0.999999: the whole ellipse from perihelion (E = k 360 / n) when
 *           the aphelion is within 90 AU, else the arc inside r = 90 AU with
 *           points crowding towards perihelion; a parabola within
 *           [0.999999, 1.000001]; beyond, a hyperbola; both cut at 90 AU.
 *           No outline (null) when the orbit never comes within 90 AU, the
 *           elements are unusable, or n is not usable.
 *           The element angles are taken at calendarToJd(equinox, 0, 0), a
 *           month before the epoch the position uses; the tails use the same.
 */
Vec3 *smallBodyOrbitOutline(const OrbitalElements *el, int n);

// Outline cut radius (AU).
constexpr double kOutlineCutAu = 90.0;
