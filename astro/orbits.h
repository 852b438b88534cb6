// Comets and minor planets: two-body (Kepler) solutions of their osculating
// elements, their apparent place, distances and magnitude, and the outline of
// the orbit drawn in the solar-system views.
#pragma once

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
 * keplerElliptic: Kepler's equation in degrees through the table sine.
 * Notes:    Fixed-point iteration for e < 0.5, Newton's method from 0.5 on and
 *           whenever the fixed point does not settle (with the table's 0.0001
 *           degree steps the fixed point falls into 2-cycles near aphelion).
 *           Same arguments and results as keplerSolve; e < 1 expected.
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
