// The real theories behind the ephemeris update.
#include "model/command_error.h"
#include "model/ephemeris.h"

#include "astro/comet_tails.h"
#include "astro/galilean.h"
#include "astro/orbits.h"
#include "astro/phase.h"
#include "astro/planets.h"
#include "astro/sun_moon.h"
#include "model/lexing.h"

const EphemerisTheories kEphemerisTheoriesDefault = {
    ephemSun,
    ephemMoonWithPhase,
    moonAge,
    ephemPlanet,
    phaseAndLimbAngle,
    ephemGalileanMoons,
    ephemSmallBody,
    ephemCometIonTail,
    ephemCometDustTail,
    stkSetError,
};

EphemerisTheories ephemerisTheories = kEphemerisTheoriesDefault;
