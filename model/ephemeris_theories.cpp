// The real theories behind the ephemeris update. Entries whose theory is not
// part of the build yet stay null and their bodies are not computed.
#include "model/ephemeris.h"

#include <cstdio>

#include "model/app_data.h"

namespace {

void recordPendingError(const char *id, const char *text)
{
    std::snprintf(appData->errorId, sizeof appData->errorId, "%s", id ? id : "");
    std::snprintf(appData->errorArg, sizeof appData->errorArg, "%s", text ? text : "");
}

} // namespace

const EphemerisTheories kEphemerisTheoriesDefault = {
    nullptr, // sun
    nullptr, // moonWithPhase
    nullptr, // moonAge
    nullptr, // planet
    nullptr, // phaseAndLimbAngle
    nullptr, // galileanMoons
    nullptr, // smallBody
    nullptr, // ionTail
    nullptr, // dustTail
    recordPendingError,
};

EphemerisTheories ephemerisTheories = kEphemerisTheoriesDefault;
