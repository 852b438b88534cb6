// The common setup every test starts from: whatever an earlier test left in
// the shared application record or in currentChart, the next test's record
// and chart are the same. Each case here is a leftover that once made tests
// depend on their order.
#include <set>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/element_files.h"
#include "model/element_lines.h"
#include "tests/support/element_rows.h"
#include "tests/support/test_chart.h"

namespace {

void addHaleBopp(ChartState *chart)
{
    OrbitalElements el;
    ASSERT_EQ(parseElementLine(&el, kHaleBoppElements), 1);
    ASSERT_EQ(addComet(chart, &el), 1);
}

TEST(TestChartSetup, NothingAnEarlierTestLeftReachesTheNextOne)
{
    {
        TestChart earlier;
        stkSetError("stkErrorIllegalParam", "left over");
        appData->pixelAspect = 1.5;
        appData->dirFontHeight = 0;
        for (Pixel &pixel : appData->pixels)
            pixel = 0;
        earlier->mode = kModeSol1;
        addHaleBopp(earlier.get()); // LeakSanitizer reports the table if it outlives its chart
        currentChart = earlier.get();
    }
    EXPECT_EQ(currentChart, &theChartState) << "currentChart left on a freed chart";

    const TestChart next;
    EXPECT_EQ(appData, &theAppData);
    EXPECT_STREQ(appData->errorId, "") << "an error an earlier test left";
    EXPECT_STREQ(appData->errorArg, "");
    EXPECT_EQ(appData->pixelAspect, 1.0);
    EXPECT_EQ(appData->dirFontHeight, 12) << "the horizontal chart's centre row follows it";
    // Every palette slot draws with a pixel of its own, none with 0.
    const std::set<Pixel> pixels(std::begin(appData->pixels), std::end(appData->pixels));
    EXPECT_EQ(pixels.size(), static_cast<size_t>(kPaletteSlots));
    EXPECT_EQ(pixels.count(0), 0u);
    EXPECT_EQ(next->mode, kModeHrz);
    EXPECT_EQ(next->cometCount, 0);
}

TEST(TestChartSetup, SiteAndDateComeThroughTheChartsOwnRoutines)
{
    const TestChart chart(TestSite{35.68, 139.77, 40.0}, DateTime{2025, 1, 15, 22, 0, 0.0, 9.0});
    EXPECT_EQ(chart->sky.latitudeDeg, 35.68);
    EXPECT_EQ(chart->sky.longitudeDeg, 139.77);
    EXPECT_EQ(chart->sky.altitudeM, 40.0);
    // 2025-01-15 13:00 UT, from the calendar: JD 2460691.0 is that day's 12:00 UT.
    EXPECT_NEAR(chart->sky.jd, 2460691.0 + 1.0 / 24.0, 1e-9);
    EXPECT_EQ(chart->sky.date.hour, 22);
    EXPECT_EQ(chart->sky.date.zone, 9.0);
    // The precession the views read is the date's own, as chartSetDate leaves it.
    for (int k = 0; k < 9; k++)
        EXPECT_EQ(chart->precessionMatrix.m[k], chart->sky.precessionToJ2000.m[k]) << k;
}

TEST(TestChartSetup, ResetFreesTheTablesAndStartsFromTheDefaults)
{
    OwnedChart chart;
    addHaleBopp(chart.get());
    chart->fieldWidth = 5.0;
    chart.reset();
    EXPECT_EQ(chart->cometCount, 0);
    EXPECT_EQ(chart->cometPositions, nullptr);
    EXPECT_EQ(chart->fieldWidth, 120.0);
}

} // namespace
