// The real theories behind the ephemeris update.
#include "model/ephemeris.h"

#include <cstdio>

#include "astro/comet_tails.h"
#include "astro/galilean.h"
#include "astro/orbits.h"
#include "astro/phase.h"
#include "astro/planets.h"
#include "astro/sun_moon.h"
#include "model/app_data.h"

namespace {

void recordPendingError(const char *id, const char *text)
{
    std::snprintf(appData->errorId, sizeof appData->errorId, "%s", id ? id : "");
    std::snprintf(appData->errorArg, sizeof appData->errorArg, "%s", text ? text : "");
}

} // namespace

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
    recordPendingError,
};

EphemerisTheories ephemerisTheories = kEphemerisTheoriesDefault;
