// Io, Europa, Ganymede and Callisto beside Jupiter: each moves uniformly on a
// circle in Jupiter's equatorial plane, seen from the Earth at Jupiter's
// distance. No light time, no eclipses or shadows, no mutual perturbations.
#pragma once

#include "astro/body_records.h"
#include "astro/types.h"

/*
 * galileanMoonLongitude: a moon's longitude on its circle.
 * Given:    moon  int     0 Io, 1 Europa, 2 Ganymede, 3 Callisto
 *           T     double  Julian centuries from J2000.0
 * Returned: degrees, not reduced; 0 for another moon number
 */
double galileanMoonLongitude(int moon, double T);

/*
 * galileanMoonsCompute: the four moons' J2000.0 directions.
 * Given:    ctx      SkyContext       Julian date, precession matrix of date to J2000.0
 *           jupiter  SolarBodyRecord  Jupiter's geocentric unit vector (J2000.0) and delta
 * Returned: out      GalileanMoonRow[4]  Io, Europa, Ganymede, Callisto: unit vector
 *                                        and its Q14 form; the stamps are not touched
 * Notes:    A Jupiter at distance 0 (never computed) leaves every moon on Jupiter.
 */
void galileanMoonsCompute(const SkyContext *ctx, const SolarBodyRecord *jupiter, GalileanMoonRow out[4]);

/*
 * ephemGalileanMoons: galileanMoonsCompute, then the context's Julian date in
 * the first row's stamp (it stands for the set).
 */
void ephemGalileanMoons(const SkyContext *ctx, const SolarBodyRecord *jupiter, GalileanMoonRow out[4]);
