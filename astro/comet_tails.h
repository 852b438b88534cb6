// Comet tails as sample points in space: the ion tail as gas blown straight
// out from the Sun, the dust tail as grains released from the nucleus at
// earlier times, each on its own Kepler orbit under the Sun's gravity reduced
// by radiation pressure (1 - beta).
#pragma once

#include "astro/body_records.h"
#include "astro/orbit_records.h"
#include "astro/types.h"

// Outflow speed of the ion tail: 400 km/s in AU per day.
constexpr double kIonOutflowAuPerDay = 0.23101933202658567;

// One dust grain: the nucleus state at its release and the grain's own orbit.
struct ParticleOrbit {
    OrbitState nucleus;       // at the release time, with velocity (comet's orbit plane)
    double beta;              // radiation pressure over gravity
    double perihelionJd;      // T'
    double perihelionDistance; // q', AU
    double eccentricity;      // e'
    double semiMajorAxis;     // a', AU, |a|
    double mu;                // (1 - beta) k^2, AU^3/day^2; negative when beta > 1 (repulsion)
    double argPerihelionDeg;  // omega', degrees, in the comet's plane from its perihelion
};

/*
 * computeIonTail: the ion tail's ten points.
 * Given:    jd          double                  Julian date
 *           el          const OrbitalElements*  orbit and ionTailLength (AU)
 *           earthHelio  const Vec3*             the Earth, heliocentric, AU, equatorial J2000
 * Returned: out         CometTail*              ionCount, ionGeo, ionHelio
 *           int         1 success (ionCount 10); 0 failure, ionCount 0, also
 *                       for a tail shorter than 1e-6 AU
 * Notes:    Point j is the gas released j tenths of the maximum age ago; point
 *           0 is the nucleus. The maximum age is searched in 0..50 days and
 *           taken as soon as a tried age is beyond 37.499999 days.
 */
int computeIonTail(double jd, const OrbitalElements *el, const Vec3 *earthHelio, CometTail *out);

/*
 * computeDustTail: the dust tail's ten ages of two grain sizes.
 * Given:    as computeIonTail, with dustTailLength and dustParameter
 * Returned: out         CometTail*  dustCount, dustGeo, dustHelio (point 2j + s)
 *           int         1 success (dustCount 10); 0 failure (also a tail
 *                       shorter than 1e-6 AU), dustCount 0
 * Notes:    Age search in 0..150 days, accepted beyond 112.499999 days. Grain
 *           sizes: beta 0.2 and 0.2 + dustParameter, each raised by 0.3 (at
 *           most four tries) while it gives no orbit or a nearly parabolic one.
 */
int computeDustTail(double jd, const OrbitalElements *el, const Vec3 *earthHelio, CometTail *out);

/*
 * ephemCometIonTail, ephemCometDustTail: the tails for the chart's time.
 * Given:    sky  const SkyContext*  its jd
 *           sun  const SunRecord*   its earthHelio
 *           el   const OrbitalElements*
 * Returned: out  CometTail*         on success ionJd (dustJd) = sky->jd
 *           int  1 success, 0 failure (stamp untouched)
 */
int ephemCometIonTail(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                      CometTail *out);
int ephemCometDustTail(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                       CometTail *out);

// No bound on a tail's spread was found (AU).
constexpr double kUnboundedTailSpreadAu = 1e30;

/*
 * cometTailSpread: how far from the nucleus at jd the points computeIonTail
 * and computeDustTail give for jd can lie, without computing them.
 * Given:    jd      double                  Julian date
 *           el      const OrbitalElements*  orbit, ionTailLength, dustParameter
 * Returned: ionAu   double*                 AU; kUnboundedTailSpreadAu when none is found
 *           dustAu  double*                 AU; kUnboundedTailSpreadAu when none is found
 * Notes:    Two Kepler solutions. The gas moves at the outflow speed from a
 *           nucleus whose acceleration the Sun's pull at its least distance
 *           bounds; a grain leaves the nucleus with its velocity and parts
 *           from it no faster than the radiation pressure of the largest beta
 *           the grains are given, and the difference of the Sun's pull over
 *           their separation, allow (a comparison with w'' = A + B w).
 */
void cometTailSpread(double jd, const OrbitalElements *el, double *ionAu, double *dustAu);

/*
 * ionTailMaxAge, dustTailMaxAge: age (days) of the oldest visible material,
 * by bisection on the release time.
 * Given:    jd    double                 Julian date
 *           el    const OrbitalElements*
 *           now   const OrbitState*      the nucleus at jd (position)
 * Returned: age   double*                days
 *           beta  double*                (dust) the grain's beta used in the search
 *           int   1 when an age was found, 0 otherwise
 */
int ionTailMaxAge(double jd, const OrbitalElements *el, const OrbitState *now, double *age);
int dustTailMaxAge(double jd, const OrbitalElements *el, const OrbitState *now, double *age,
                   double *beta);

/*
 * dustParticleOrbit: the grain's orbit from the nucleus state at release.
 * Given:    te   double          release time (JD)
 *           p    ParticleOrbit*  nucleus and beta set
 * Returned: p    ParticleOrbit*  the orbit fields
 *           int  0 success; -1 no orbit (beta = 1, or a state that gives none)
 * Notes:    Arc-sine and arc-cosine arguments are clamped to [-1, 1].
 */
int dustParticleOrbit(double te, ParticleOrbit *p);

/*
 * dustParticlePosition: the grain at time t, in the comet's orbit plane.
 * Returned: x, y  AU; int 0 success, -1 no convergence
 */
int dustParticlePosition(const ParticleOrbit *p, double t, double *x, double *y);
