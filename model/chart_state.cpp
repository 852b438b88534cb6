#include "model/chart_state.h"

#include <cstdlib>


ChartState theChartState;
ChartState *currentChart = &theChartState;

void chartStateSetDefaults(ChartState *chart)
{
    chart->mode = kModeHrz;
    chart->modeChanged = 1;
    chart->mirror = kMirrorNormal;

    chart->period = TimeStep{0, 0, 0, 0, 3, 0.0};
    chart->playReverse = 0;
    chart->timeSystem = kTimeSystemLst;
    chart->playWorkProc = 0;
    chart->playTimerId = 0;
    chart->playing = 0;
    chart->playKind = kPlayByPeriod;
    chart->realTimeMode = kPlayByPeriod;
    chart->realTimeImmediate = 1;
    chart->realTimeInterval = 5;
    chart->timeLockKind = kTimeLockNone;

    chart->centerHrz[0] = 0.0;
    chart->centerHrz[1] = 0.0;
    chart->centerMode[0] = 0.0;
    chart->centerMode[1] = 0.0;
    chart->fieldWidth = 120.0;
    chart->fieldHeight = 120.0;
    chart->solScale = 12.0;
    chart->zoomFactor = 1.2;
    chart->minField = 1.0;
    chart->cullDepthQ14 = 0;

    chart->starLimit = 45;
    chart->starLimitSet = 0;
    chart->fixedLimitOn = 0;
    chart->fixedLimit = 0;
    chart->catalogLimit = kCatalogLimitBrightTable;
    chart->starNameLimit = 14;
    chart->nebulaMin = 110;
    chart->nebulaMax = 0;
    chart->nebulaLimitOn = 1;

    for (SolarBodyRecord &planet : chart->planets) {
        planet.jd = kNeverJd;
        planet.level = kLevelNeverComputed;
    }
    chart->moon.siteLatitudeDeg = 0.0;
    chart->moon.siteLongitudeDeg = 0.0;
    chart->moon.siteAltitudeM = 0.0;
    chart->moon.level = kLevelNeverComputed;
    chart->moon.lunarEclipseMagnitude = -1.0;
    chart->diskMag = 100;
    chart->solOffset[0] = 0.0;
    chart->solOffset[1] = 0.0;
    chart->solOffset[2] = 0.0;
    for (GalileanMoonRow &row : chart->galileanMoons)
        row.jd = kNeverJd;
    chart->cometCount = 0;
    chart->cometPositions = nullptr;
    chart->cometElements = nullptr;
    chart->cometTails = nullptr;
    chart->minorPlanetCount = 0;
    chart->minorPlanetPositions = nullptr;
    chart->minorPlanetElements = nullptr;
    chart->orbitJd = kNeverJd;

    chart->trackValues[0] = 0.0;
    chart->trackValues[1] = 0.0;
    chart->trackKind = kTrackKindLockBit | kPosHrz;
    chart->trackIndex = 0;
    chart->trackState = kTrackLook;

    chart->starFlags = kStarFlagsDefault;
    chart->starLabelFlags = 0;
    chart->constellationFlags = 0;
    chart->milkyWayFlags = kMilkyWayFlagsDefault;
    chart->nebulaFlags = 0;
    chart->nebulaTypeFlags = kNebulaTypeFlagsDefault;
    chart->nebulaCatalogFlags = kNebulaCatalogFlagsDefault;
    chart->skyFlags = kSkyFlagsDefault;
    chart->gridNumberFlags = 0;
    chart->horizonGridFlags = kHorizonGridFlagsDefault;
    chart->equatorialGridFlags = 0;
    chart->otherGridFlags = 0;
    chart->lineNumberFlags = 0;
    chart->userObjectFlags = kUserObjectFlagsDefault;
    chart->skyMarkFlags = 0;
    chart->pictureMarkFlags = 0;
    chart->clickFlags = 0;
    chart->hitKind = kHitKindNone;
    chart->hitIndex = 0;
    chart->clickPointX = -1;
    chart->clickPointY = -1;
    chart->clickText[0] = '\0';
    chart->traceFlags = 0;
    chart->sunFlags = kBodyShown;
    chart->moonFlags = kBodyShown;
    chart->earthFlags = kEarthFlagsDefault;
    for (uint8_t &flags : chart->planetFlags)
        flags = kBodyShown | kBodyOrbit;
    chart->jupiterMoonFlags = kJmoonFlagsDefault;
    chart->cometFlags = nullptr;
    chart->minorPlanetFlags = nullptr;

    chart->statusBar = kStatusBarDefault;
    chart->viewLocked = 1;
    chart->userObjectFiles = nullptr;
    chart->userObjectFileCount = 0;
    chart->sceneFilePath[0] = '\0';
    chart->frame = ChartFrameState{};
}

namespace {

void freeRowOutlines(BodyPosition *rows, int32_t count)
{
    for (int32_t i = 0; rows && i < count; ++i) {
        std::free(rows[i].outline);
        rows[i].outline = nullptr;
        rows[i].outlineCount = 0;
    }
}

} // namespace

void clearComets(ChartState *chart)
{
    freeRowOutlines(chart->cometPositions, chart->cometCount);
    std::free(chart->cometPositions);
    std::free(chart->cometElements);
    std::free(chart->cometTails);
    std::free(chart->cometFlags);
    chart->cometPositions = nullptr;
    chart->cometElements = nullptr;
    chart->cometTails = nullptr;
    chart->cometFlags = nullptr;
    chart->cometCount = 0;
}

void clearMinorPlanets(ChartState *chart)
{
    freeRowOutlines(chart->minorPlanetPositions, chart->minorPlanetCount);
    std::free(chart->minorPlanetPositions);
    std::free(chart->minorPlanetElements);
    std::free(chart->minorPlanetFlags);
    chart->minorPlanetPositions = nullptr;
    chart->minorPlanetElements = nullptr;
    chart->minorPlanetFlags = nullptr;
    chart->minorPlanetCount = 0;
}

void chartStateFreeTables(ChartState *chart)
{
    clearComets(chart);
    clearMinorPlanets(chart);
    KeptProjection &borders = chart->frame.borders;
    std::free(borders.points);
    std::free(borders.visible);
    borders = KeptProjection{};
    for (KeptGrid &grid : chart->frame.grids) {
        std::free(grid.tables);
        grid = KeptGrid{};
    }
}
