#include "model/app_data.h"
#include "model/chart_state.h"

#include <cstdlib>
#include <cstring>

#include <gtest/gtest.h>

namespace {

TEST(AppDataDefaults, BlinkTimeAndClosedDescriptorsBeforeResources)
{
    // A scratch record: the shared one keeps no garbage for later tests.
    static AppData scratch;
    AppData *const shared = appData;
    appData = &scratch;
    std::memset(appData, 0x5a, sizeof *appData);
    appDataSetDefaults();
    EXPECT_EQ(appData->blinkTime, 10);
    EXPECT_EQ(appData->lineWidth, 0);
    EXPECT_EQ(appData->sceneLoading, 0);
    EXPECT_EQ(appData->commandFromSocket, 0);
    // fd 0 is a valid descriptor when stdin is closed, so "none" must be -1.
    EXPECT_EQ(appData->listenFd, -1);
    EXPECT_EQ(appData->clientFd, -1);
    EXPECT_EQ(appData->listenInputId, 0u);
    EXPECT_EQ(appData->clientInputId, 0u);
    EXPECT_EQ(appData->stepBox, nullptr);
    EXPECT_EQ(appData->todayDialog, nullptr);
    EXPECT_EQ(appData->commandDialog, nullptr);
    EXPECT_EQ(appData->skyMarkFiles, nullptr);
    EXPECT_EQ(appData->skyMarkFileCount, 0);
    for (const char *text : {appData->geometryOption, appData->localeOption, appData->tzOption,
                             appData->siteName, appData->stlFileIoPath, appData->saveImagePath,
                             appData->userObjectFilePath})
        EXPECT_STREQ(text, "");
    EXPECT_EQ(appData->pixelAspect, 1.0);
    EXPECT_EQ(appData->minDiskRadius, 7);
    EXPECT_EQ(appData->saveHistory, 10);
    EXPECT_EQ(appData->confirmQuit, 1);
    EXPECT_EQ(appData->confirmInit, 1);
    EXPECT_EQ(appData->runStartupScript, 1);
    appData = shared;
}

TEST(AppDataDefaults, GlobalsPointAtTheRecordsBeforeMain)
{
    EXPECT_EQ(appData, &theAppData);
    EXPECT_EQ(currentChart, &theChartState);
}

TEST(ChartStateDefaults, EveryListedDefault)
{
    ChartState *chart = new ChartState;
    std::memset(chart, 0x5a, sizeof *chart);
    chart->cometPositions = nullptr; // a garbage pointer is never freed by the defaults
    chartStateSetDefaults(chart);

    EXPECT_EQ(chart->mode, kModeHrz);
    EXPECT_EQ(chart->modeChanged, 1);
    EXPECT_EQ(chart->mirror, 0);
    EXPECT_EQ(chart->period.minute, 3);
    EXPECT_EQ(chart->period.year + chart->period.month + chart->period.day + chart->period.hour, 0);
    EXPECT_EQ(chart->period.second, 0.0);
    EXPECT_EQ(chart->realTimeImmediate, 1);
    EXPECT_EQ(chart->realTimeInterval, 5);
    EXPECT_EQ(chart->playing, 0);
    EXPECT_EQ(chart->playWorkProc, 0u);
    EXPECT_EQ(chart->playTimerId, 0u);
    EXPECT_EQ(chart->fieldWidth, 120.0);
    EXPECT_EQ(chart->fieldHeight, 120.0);
    EXPECT_EQ(chart->solScale, 12.0);
    EXPECT_EQ(chart->zoomFactor, 1.2);
    EXPECT_EQ(chart->minField, 1.0);
    EXPECT_EQ(chart->starLimit, 45);
    EXPECT_EQ(chart->catalogLimit, 65);
    EXPECT_EQ(chart->starNameLimit, 14);
    EXPECT_EQ(chart->nebulaMin, 110);
    EXPECT_EQ(chart->nebulaMax, 0);
    EXPECT_EQ(chart->nebulaLimitOn, 1);
    EXPECT_EQ(chart->diskMag, 100);
    EXPECT_EQ(chart->orbitJd, kNeverJd);
    EXPECT_EQ(chart->trackKind, 0x8001);
    EXPECT_EQ(chart->trackState, 1);
    EXPECT_EQ(chart->hitKind, -1);
    EXPECT_EQ(chart->clickPointX, -1);
    EXPECT_EQ(chart->clickPointY, -1);
    EXPECT_STREQ(chart->clickText, "");
    EXPECT_EQ(chart->statusBar, 1);
    EXPECT_EQ(chart->viewLocked, 1);
    EXPECT_STREQ(chart->sceneFilePath, "");
    EXPECT_EQ(chart->cometCount, 0);
    EXPECT_EQ(chart->minorPlanetCount, 0);
    EXPECT_EQ(chart->userObjectFileCount, 0);
    EXPECT_EQ(chart->userObjectFiles, nullptr);

    struct {
        const char *name;
        uint8_t value, expected;
    } bytes[] = {
        {"starFlags", chart->starFlags, 1},
        {"starLabelFlags", chart->starLabelFlags, 0},
        {"constellationFlags", chart->constellationFlags, 0},
        {"milkyWayFlags", chart->milkyWayFlags, 5},
        {"nebulaFlags", chart->nebulaFlags, 0},
        {"nebulaTypeFlags", chart->nebulaTypeFlags, 127},
        {"nebulaCatalogFlags", chart->nebulaCatalogFlags, 7},
        {"skyFlags", chart->skyFlags, 115},
        {"gridNumberFlags", chart->gridNumberFlags, 0},
        {"horizonGridFlags", chart->horizonGridFlags, 2},
        {"equatorialGridFlags", chart->equatorialGridFlags, 0},
        {"otherGridFlags", chart->otherGridFlags, 0},
        {"lineNumberFlags", chart->lineNumberFlags, 0},
        {"userObjectFlags", chart->userObjectFlags, 3},
        {"skyMarkFlags", chart->skyMarkFlags, 0},
        {"pictureMarkFlags", chart->pictureMarkFlags, 0},
        {"traceFlags", chart->traceFlags, 0},
        {"sunFlags", chart->sunFlags, 2},
        {"moonFlags", chart->moonFlags, 2},
        {"earthFlags", chart->earthFlags, 34},
        {"jupiterMoonFlags", chart->jupiterMoonFlags, 1},
    };
    for (const auto &b : bytes)
        EXPECT_EQ(b.value, b.expected) << b.name;
    for (uint8_t flags : chart->planetFlags)
        EXPECT_EQ(flags, 34);
    // Cached positions are marked "never computed" so the first frame computes them.
    for (const SolarBodyRecord &planet : chart->planets) {
        EXPECT_EQ(planet.jd, kNeverJd);
        EXPECT_EQ(planet.level, 9);
    }
    EXPECT_EQ(chart->moon.level, 9);
    EXPECT_EQ(chart->moon.siteLatitudeDeg, 0.0);
    EXPECT_EQ(chart->moon.siteLongitudeDeg, 0.0);
    EXPECT_EQ(chart->moon.siteAltitudeM, 0.0);
    for (const GalileanMoonRow &row : chart->galileanMoons)
        EXPECT_EQ(row.jd, kNeverJd);
    delete chart;
}

TEST(ChartStateFreeTables, CountsAreZeroedAndOutlinesFreedWithTheTables)
{
    ChartState *chart = new ChartState();
    chartStateSetDefaults(chart);
    // LeakSanitizer reports the outlines if they are dropped with their rows.
    chart->cometCount = 3;
    chart->cometPositions = static_cast<BodyPosition *>(std::calloc(3, sizeof(BodyPosition)));
    chart->cometPositions[1].outline = static_cast<Vec3 *>(std::malloc(4 * sizeof(Vec3)));
    chart->cometPositions[1].outlineCount = 4;
    chart->cometTails = static_cast<CometTail *>(std::calloc(3, sizeof(CometTail)));
    chart->cometElements = static_cast<OrbitalElements *>(std::calloc(3, sizeof(OrbitalElements)));
    chart->minorPlanetPositions = static_cast<BodyPosition *>(std::calloc(2, sizeof(BodyPosition)));
    chart->minorPlanetPositions[0].outline = static_cast<Vec3 *>(std::malloc(sizeof(Vec3)));
    chart->cometFlags = static_cast<uint8_t *>(std::malloc(3));
    chart->minorPlanetCount = 2;
    chart->minorPlanetFlags = static_cast<uint8_t *>(std::malloc(2));
    chartStateFreeTables(chart);
    EXPECT_EQ(chart->cometCount, 0);
    EXPECT_EQ(chart->minorPlanetCount, 0);
    EXPECT_EQ(chart->cometFlags, nullptr);
    EXPECT_EQ(chart->minorPlanetFlags, nullptr);
    EXPECT_EQ(chart->cometPositions, nullptr);
    EXPECT_EQ(chart->cometTails, nullptr);
    EXPECT_EQ(chart->cometElements, nullptr);
    EXPECT_EQ(chart->minorPlanetPositions, nullptr);
    chartStateFreeTables(chart); // twice is harmless: nothing dangles
    delete chart;
}

} // namespace
