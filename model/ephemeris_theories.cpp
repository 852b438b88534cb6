// The real theories behind the ephemeris update. Entries whose theory is not
// part of the build yet stay null and their bodies are not computed.
#include "model/ephemeris.h"

#include <cstdio>

#include "astro/galilean.h"
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
    nullptr, // smallBody
    nullptr, // ionTail
    nullptr, // dustTail
    recordPendingError,
};

EphemerisTheories ephemerisTheories = kEphemerisTheoriesDefault;
