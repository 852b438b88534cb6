#include "model/ephemeris.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

#include "astro/comet_tails.h"
#include "astro/coords.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "astro/eclipse.h"
#include "model/body_names.h"
#include "model/lexing.h"
#include "model/position_kind.h"

namespace {

// The level every body is asked for; a stored level above it means a coarser
// computation that must be redone.
constexpr int32_t kRequestedLevel = 1;

// The LOOK/TRACK target is computed even when hidden: the view centres on
// it, and a hidden body's row would be stale or never computed.
bool isTarget(const ChartState *chart, int32_t kind, int32_t index)
{
    if (chart->trackState == kTrackNone && !chart->viewLocked)
        return false;
    const int32_t target = chart->trackKind & ~kTrackKindLockBit;
    return target == kind && chart->trackIndex == index;
}

bool selected(const ChartState *chart, int32_t kind, int32_t index)
{
    return (chart->clickFlags != 0 && chart->hitKind == kind && chart->hitIndex == index) ||
           isTarget(chart, kind, index);
}

// A Galilean moon as the target needs Jupiter and the moons.
bool moonIsTarget(const ChartState *chart)
{
    for (int32_t m = 0; m < kGalileanMoonCount; ++m)
        if (isTarget(chart, kPosJupiterMoon, m))
            return true;
    return false;
}

// The element record's name as error messages show it, trailing blanks removed.
void bodyErrorName(const OrbitalElements *el, char *buf, size_t size)
{
    const char *name = pickNameField(el);
    strCopyBounded(buf, static_cast<int>(size), name);
    buf[strTrimmedLength(buf)] = '\0';
}

void recordBodyError(const char *id, const OrbitalElements *el)
{
    char name[kElementNameSize + 1];
    bodyErrorName(el, name, sizeof name);
    if (ephemerisTheories.recordError)
        ephemerisTheories.recordError(id, name);
}

void updateSun(ChartState *chart, const EphemerisTheories &t)
{
    if (t.sun && chart->sky.jd != chart->lastEphemerisJd)
        t.sun(&chart->sky, &chart->sun);
    // The horizontal place follows the sidereal time and the site, which can
    // change without the date: it is redone on every frame.
    if (!isSolarMode(chart->mode)) {
        double raDec[2] = {chart->sun.raJ2000Deg, chart->sun.decJ2000Deg};
        double azAlt[2];
        convertCoords(&chart->sky, COORD_EQT, raDec, COORD_HRZ, azAlt);
        chart->sun.azimuthDeg = azAlt[0];
        chart->sun.altitudeDeg = azAlt[1];
    }
}

void updateMoon(ChartState *chart, const EphemerisTheories &t)
{
    const MoonRecord &m = chart->moon;
    bool needed;
    if (selected(chart, kPosBody, -1))
        needed = true;
    else if (isSolarMode(chart->mode))
        needed = false;
    else
        needed = !(kRequestedLevel >= m.level && m.siteLatitudeDeg == chart->sky.latitudeDeg &&
                   m.siteLongitudeDeg == chart->sky.longitudeDeg &&
                   m.siteAltitudeM == chart->sky.altitudeM &&
                   chart->sky.jd == chart->lastEphemerisJd);
    if (!needed || !t.moonWithPhase)
        return;
    t.moonWithPhase(&chart->sky, &chart->moon, &chart->sun, kRequestedLevel);
    if (t.moonAge)
        chart->moon.ageDays = t.moonAge(chart->sky.jd, &chart->sun, &chart->moon);
    eclipseMagnitude(&chart->moon, &chart->sun);
}

void updatePlanets(ChartState *chart, const EphemerisTheories &t)
{
    for (int i = 0; i < kPlanetCount; ++i) {
        SolarBodyRecord *p = &chart->planets[i];
        uint8_t flags = chart->planetFlags[i];
        bool needed = selected(chart, kPosBody, i) || (i == kObjectJupiter && moonIsTarget(chart)) ||
                      ((flags & kBodyShown) &&
                       (p->jd != chart->sky.jd || kRequestedLevel < p->level));
        if (needed && t.planet) {
            t.planet(i, &chart->sky, &chart->sun, p, kRequestedLevel);
            p->jd = chart->sky.jd;
            p->level = kRequestedLevel;
        }
        if ((flags & kBodyDisk) && t.phaseAndLimbAngle) {
            double sun[2] = {chart->sun.raJ2000Deg, chart->sun.decJ2000Deg};
            double body[2] = {p->raDeg, p->decDeg};
            t.phaseAndLimbAngle(sun, chart->sun.distanceAu, body, p->deltaAu, &p->phase,
                                &p->limbAngleDeg);
        }
    }
}

void updateGalileanMoons(ChartState *chart, const EphemerisTheories &t)
{
    bool anySelected = (chart->clickFlags != 0 && chart->hitKind == kPosJupiterMoon) || moonIsTarget(chart);
    bool needed = anySelected || ((chart->planetFlags[kObjectJupiter] & kBodyShown) &&
                                  (chart->jupiterMoonFlags & kJmoonShown) &&
                                  chart->galileanMoons[0].jd != chart->sky.jd);
    if (needed && t.galileanMoons)
        t.galileanMoons(&chart->sky, &chart->planets[kObjectJupiter], chart->galileanMoons);
}

// Whether a comet or minor-planet row needs its position for this frame.
bool smallBodyNeeded(const ChartState *chart, int32_t hitIndex, const BodyPosition *pos,
                     uint8_t flags)
{
    if (selected(chart, kPosBody, hitIndex))
        return true;
    if (pos->jd == chart->sky.jd)
        return false;
    return (flags & kBodyShown) != 0;
}

// A comet's or minor planet's position; on failure the body is hidden.
void updateSmallBodyPosition(ChartState *chart, const EphemerisTheories &t, int32_t hitIndex,
                             const OrbitalElements *el, BodyPosition *pos, uint8_t *flags,
                             const char *errorId)
{
    if (smallBodyNeeded(chart, hitIndex, pos, *flags) && t.smallBody &&
        !t.smallBody(&chart->sky, &chart->sun, el, pos)) {
        *flags &= static_cast<uint8_t>(~kBodyShown);
        recordBodyError(errorId, el);
    }
}

// Whether comet k's tail of the given bit is due for the chart's date: shown
// with that bit, its stamp another date, a theory to compute it.
bool tailDue(const ChartState *chart, const EphemerisTheories &t, int32_t k, uint8_t bit)
{
    const uint8_t flags = chart->cometFlags[k];
    const CometTail &tail = chart->cometTails[k];
    if (chart->cometPositions[k].type != 'C' || !(flags & kBodyShown) || !(flags & bit))
        return false;
    return bit == kCometIonTail ? tail.ionJd != chart->sky.jd && t.ionTail : tail.dustJd != chart->sky.jd && t.dustTail;
}

// A tail that could not be computed: its bit cleared, the failure recorded.
void dropTail(ChartState *chart, int32_t k, uint8_t bit)
{
    chart->cometFlags[k] &= static_cast<uint8_t>(~bit);
    recordBodyError("stkErrorCalcCometTail", &chart->cometElements[k]);
}

// Comet k's ion and dust tails, each when it is due; a failure clears the bit.
void updateCometTails(ChartState *chart, const EphemerisTheories &t, int32_t k)
{
    const OrbitalElements *el = &chart->cometElements[k];
    CometTail *tail = &chart->cometTails[k];
    if (tailDue(chart, t, k, kCometIonTail) && !t.ionTail(&chart->sky, &chart->sun, el, tail))
        dropTail(chart, k, kCometIonTail);
    if (tailDue(chart, t, k, kCometDustTail) && !t.dustTail(&chart->sky, &chart->sun, el, tail))
        dropTail(chart, k, kCometDustTail);
}

void updateComets(ChartState *chart, const EphemerisTheories &t, bool withTails)
{
    // A failure handler may change the table, so the count is read anew.
    for (int32_t k = 0; k < chart->cometCount; ++k) {
        BodyPosition *pos = &chart->cometPositions[k];
        if (pos->type != 'C')
            continue;
        updateSmallBodyPosition(chart, t, kObjectCometBase + k, &chart->cometElements[k], pos,
                                &chart->cometFlags[k], "stkErrorCalcCometPos");
        if (withTails && k < chart->cometCount)
            updateCometTails(chart, t, k);
    }
}

void updateMinorPlanets(ChartState *chart, const EphemerisTheories &t)
{
    for (int32_t j = 0; j < chart->minorPlanetCount; ++j) {
        BodyPosition *pos = &chart->minorPlanetPositions[j];
        const OrbitalElements *el = &chart->minorPlanetElements[j];
        uint8_t *flags = &chart->minorPlanetFlags[j];
        if (pos->type != 'M')
            continue;
        updateSmallBodyPosition(chart, t, kObjectMinorPlanetBase + j, el, pos, flags, "stkErrorCalcMpPos");
    }
}

} // namespace

namespace {

void updateAll(ChartState *chart, bool withTails)
{
    const EphemerisTheories t = ephemerisTheories;
    updateSun(chart, t);
    updateMoon(chart, t);
    updatePlanets(chart, t);
    updateGalileanMoons(chart, t);
    updateComets(chart, t, withTails);
    updateMinorPlanets(chart, t);
}

} // namespace

void ephemUpdateAll(ChartState *chart) { updateAll(chart, true); }

void ephemUpdateBodies(ChartState *chart) { updateAll(chart, false); }

void ephemUpdateCometTails(ChartState *chart, int32_t k)
{
    if (k >= 0 && k < chart->cometCount)
        updateCometTails(chart, ephemerisTheories, k);
}

namespace {

// Below this many pieces of work one thread does them: starting threads
// costs tens of microseconds, a tail about ten, a tail's bound about one.
constexpr unsigned kMostThreads = 8;

// work(i) for i in [0, count), on up to kMostThreads threads, each thread
// given at least `least` pieces; work must touch only what piece i owns.
template <class Work> void spreadOverThreads(size_t count, size_t least, const Work &work)
{
    std::atomic<size_t> next{0};
    auto run = [&] {
        for (size_t i = next++; i < count; i = next++)
            work(i);
    };
    const unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), kMostThreads));
    const size_t helpers = std::min<size_t>(cores - 1, count / least);
    std::vector<std::thread> pool;
    for (size_t w = 0; w < helpers; ++w) {
        try {
            pool.emplace_back(run);
        } catch (const std::system_error &) {
            break; // fewer threads, the same work
        }
    }
    run();
    for (std::thread &th : pool)
        th.join();
}

// Comet k's tail bounds for the chart's date, kept in its tail record.
void keepTailSpread(ChartState *chart, int32_t k)
{
    CometTail *tail = &chart->cometTails[k];
    cometTailSpread(chart->sky.jd, &chart->cometElements[k], &tail->ionSpreadAu, &tail->dustSpreadAu);
    tail->spreadJd = chart->sky.jd;
}

struct TailJob {
    int32_t k;
    bool ion, dust;     // to be computed
    bool ionOk, dustOk; // computed without failure
};

} // namespace

void ephemUpdateCometTailsOf(ChartState *chart, const int32_t *list, int32_t count)
{
    const EphemerisTheories t = ephemerisTheories;
    std::vector<TailJob> jobs;
    for (int32_t i = 0; i < count; ++i) {
        const int32_t k = list[i];
        if (k < 0 || k >= chart->cometCount)
            continue;
        TailJob job{k, tailDue(chart, t, k, kCometIonTail), tailDue(chart, t, k, kCometDustTail), true, true};
        if (job.ion || job.dust)
            jobs.push_back(job);
    }
    spreadOverThreads(jobs.size(), 48, [&](size_t i) {
        TailJob &job = jobs[i];
        const OrbitalElements *el = &chart->cometElements[job.k];
        CometTail *tail = &chart->cometTails[job.k];
        if (job.ion)
            job.ionOk = t.ionTail(&chart->sky, &chart->sun, el, tail) != 0;
        if (job.dust)
            job.dustOk = t.dustTail(&chart->sky, &chart->sun, el, tail) != 0;
    });
    // A failure handler may change the table: what it leaves is no longer
    // the listed comets'.
    const OrbitalElements *elements = chart->cometElements;
    for (const TailJob &job : jobs) {
        if (chart->cometElements != elements || job.k >= chart->cometCount)
            break;
        if (!job.ionOk)
            dropTail(chart, job.k, kCometIonTail);
        if (!job.dustOk)
            dropTail(chart, job.k, kCometDustTail);
    }
}

void ephemCometTailSpreads(ChartState *chart)
{
    std::vector<int32_t> stale;
    for (int32_t k = 0; k < chart->cometCount; ++k)
        if ((chart->cometFlags[k] & (kCometIonTail | kCometDustTail)) && chart->cometTails[k].spreadJd != chart->sky.jd)
            stale.push_back(k);
    spreadOverThreads(stale.size(), 512, [&](size_t i) { keepTailSpread(chart, stale[i]); });
}

void ephemCometTailSpread(ChartState *chart, int32_t k, double *ionAu, double *dustAu)
{
    *ionAu = *dustAu = kUnboundedTailSpreadAu;
    if (k < 0 || k >= chart->cometCount)
        return;
    const CometTail *tail = &chart->cometTails[k];
    if (tail->spreadJd != chart->sky.jd)
        keepTailSpread(chart, k);
    *ionAu = tail->ionSpreadAu;
    *dustAu = tail->dustSpreadAu;
}
