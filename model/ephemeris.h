// The ephemeris update: brings the chart state's computed bodies up to the
// chart's Julian date before each frame, recomputing only what is shown,
// selected or out of date.
#pragma once

#include <cstdint>

#include "astro/body_records.h"
#include "astro/orbit_records.h"
#include "astro/types.h"

struct ChartState;

// The theories the update calls, as a table so that tests count the calls
// with stand-ins. A null entry is skipped (its body keeps its old row).
// Success-returning entries give 1 for success and 0 for failure and stamp
// their row with the Julian date only on success.
struct EphemerisTheories {
    void (*sun)(const SkyContext *sky, SunRecord *out);
    void (*moonWithPhase)(const SkyContext *sky, MoonRecord *out, const SunRecord *sun, int level);
    double (*moonAge)(double jd, const SunRecord *sun, const MoonRecord *moon);
    void (*planet)(int planet, const SkyContext *sky, const SunRecord *sun, SolarBodyRecord *out,
                   int level);
    void (*phaseAndLimbAngle)(const double sun[2], double sunDistance, const double body[2],
                              double bodyDistance, double *phase, double *limbAngle);
    void (*galileanMoons)(const SkyContext *sky, const SolarBodyRecord *jupiter,
                          GalileanMoonRow out[4]);
    int (*smallBody)(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                     BodyPosition *out);
    int (*ionTail)(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                   CometTail *out);
    int (*dustTail)(const SkyContext *sky, const SunRecord *sun, const OrbitalElements *el,
                    CometTail *out);
    // Records a command error (message resource id, offending text). The
    // default writes the application record's unreported error, as stkSetError does.
    void (*recordError)(const char *id, const char *text);
};

// The table the update uses; starts as kEphemerisTheoriesDefault.
extern EphemerisTheories ephemerisTheories;
extern const EphemerisTheories kEphemerisTheoriesDefault;

/*
 * ephemUpdateAll: the Sun, the Moon, the planets, the Galilean moons, the
 * comets with their tails and the minor planets for chart->sky.jd.
 * Notes:    Compares with chart->lastEphemerisJd, which the frame drawer
 *           stores right after this call. A comet or minor planet that cannot
 *           be computed is hidden (its shown or tail bit cleared) and a
 *           command error naming it is recorded; the last one wins.
 */
void ephemUpdateAll(ChartState *chart);

// ephemUpdateAll but for the comet tails. A chart frame updates the bodies
// so and leaves each comet's tails to the layer that draws them, which knows
// the frame's view and sky: a tail that cannot reach the chart is not
// computed (ephemUpdateCometTails).
void ephemUpdateBodies(ChartState *chart);

/*
 * ephemUpdateCometTails: comet k's ion and dust tails for chart->sky.jd, as
 * ephemUpdateAll computes them: each when its stamp differs from the date
 * and the comet is shown with that tail's bit; a tail that cannot be
 * computed loses its bit and records "stkErrorCalcCometTail" with the
 * comet's name. Nothing for a row that is no comet or k out of the table.
 */
void ephemUpdateCometTails(ChartState *chart, int32_t k);

/*
 * ephemUpdateCometTailsOf: ephemUpdateCometTails of each listed comet, the
 * failures recorded in the list's order; many tails are computed on several
 * threads at once (the tail theories are called concurrently for different
 * comets, each writing only its own tail record).
 */
void ephemUpdateCometTailsOf(ChartState *chart, const int32_t *list, int32_t count);

/*
 * ephemCometTailSpread: how far from comet k's nucleus its ion and dust
 * tails for chart->sky.jd can reach (AU, cometTailSpread), kept in its tail
 * record for the date. Both kUnboundedTailSpreadAu for k out of the table.
 */
void ephemCometTailSpread(ChartState *chart, int32_t k, double *ionAu, double *dustAu);

// ephemCometTailSpread of every comet with a tail bit, ahead of a frame
// that asks for thousands (on several threads then).
void ephemCometTailSpreads(ChartState *chart);

