#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "astro/types.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "render/layers/status_bar.h"

namespace {

ChartState chartOn(int year, int month, int day, int hour, int minute, double zone = 0.0) {
    ChartState chart{};
    const DateTime date{year, month, day, hour, minute, 0.0, zone};
    chartSetDate(&chart, &date);
    return chart;
}

TEST(StatusBar, DayOfWeek) {
    const struct {
        int y, m, d, w;
    } cases[] = {{2000, 1, 1, 6}, {2023, 1, 1, 0}, {1582, 10, 15, 5}, {2024, 2, 29, 4}, {-100, 3, 1, -1}};
    for (const auto &c : cases) {
        ChartState chart = chartOn(c.y, c.m, c.d, 23, 59);
        const int w = statusDayOfWeek(&chart.sky.date);
        if (c.w >= 0)
            EXPECT_EQ(w, c.w) << c.y << "-" << c.m << "-" << c.d;
        else
            EXPECT_TRUE(w >= 0 && w < 7);
    }
}

TEST(StatusBar, DateTextForTheThreeStyles) {
    const struct {
        int style;
        const char *text;
    } cases[] = {
        {0, "Sun Jan  1, 2023 00:00  "},
        {1, "2023/ 1/ 1(Sun)  0:00  "},
        {2, " 1/ 1/2023(Sun)  0:00  "},
        {7, "Sun Jan  1, 2023 00:00  "},
    };
    for (const auto &c : cases) {
        ChartState chart = chartOn(2023, 1, 1, 0, 0);
        chart.dateStyle = c.style;
        char buf[kStatusTextSize];
        EXPECT_STREQ(statusDateText(&chart, buf, sizeof buf), c.text) << c.style;
    }
}

TEST(StatusBar, SiteTextWestSouthAndNegativeZone) {
    ChartState chart = chartOn(2023, 1, 1, 0, 0, -5.0);
    chartSetSite(&chart, -33.9, -0.5, 0.0);
    std::strcpy(chart.siteName, "Quito");
    char buf[kStatusTextSize];
    EXPECT_STREQ(statusSiteText(&chart, buf, sizeof buf), "0.50\260W 33.90\260S (-5.0h)  Quito");
    chart = chartOn(2023, 1, 1, 0, 0, 9.0);
    chartSetSite(&chart, 35.5, 139.75, 0.0);
    std::strcpy(chart.siteName, "Quito");
    EXPECT_STREQ(statusSiteText(&chart, buf, sizeof buf), "139.75\260E 35.50\260N (+9.0h)  Quito");
    chart.fieldWidth = 60.0;
    EXPECT_STREQ(statusWidthText(&chart, buf, sizeof buf), "W:60.0\260");
}

TEST(StatusBar, TextsAreBoundedByTheirBuffers) {
    ChartState chart = chartOn(2023, 1, 1, 0, 0);
    std::memset(chart.siteName, 'x', sizeof chart.siteName); // no terminator
    char buf[20];
    statusSiteText(&chart, buf, sizeof buf);
    EXPECT_EQ(std::strlen(buf), sizeof buf - 1);
    char big[kStatusTextSize];
    statusSiteText(&chart, big, sizeof big);
    EXPECT_EQ(std::string(big).find(std::string(sizeof chart.siteName, 'x')), std::string::npos);
}

TEST(StatusBar, HeightFromTheFontAndHiddenBarContainsNothing) {
    appDataSetDefaults();
    appData->fontSetExtents[StatusFontset].maxLogicalExtent = ChartRect{0, -11, 9, 14};
    EXPECT_EQ(statusBarHeight(), 16);
    ChartState chart{};
    chart.statusBar = 0;
    EXPECT_EQ(statusBarContains(&chart, 5 | 5 << 16), 0);
    RecordingCanvas canvas;
    ChartRect r{0, 0, 400, 16};
    chartDrawStatusBar(&chart, &canvas, &r);
    EXPECT_TRUE(canvas.calls.empty());
}

TEST(StatusBar, DrawsFieldTextsGlyphsAndMoonAge) {
    appDataSetDefaults();
    for (int i = 0; i < kPaletteSlots; i++) appData->pixels[i] = 1000u + static_cast<unsigned>(i);
    ChartState chart = chartOn(2023, 1, 1, 0, 0);
    chart.statusBar = kStatusBarShown;
    chart.fieldWidth = 60.0;
    chart.trackState = kTrackTarget;
    chart.traceFlags = 1;
    chart.timeLockKind = kTimeLockSunriseMinutes;
    chart.moon.ageDays = 9.6;
    RecordingCanvas canvas;
    ChartRect r{0, 0, 600, 16};
    chartDrawStatusBar(&chart, &canvas, &r);
    auto texts = canvas.callsOf(OpDrawString);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0].text, "Sun Jan  1, 2023 00:00  ");
    EXPECT_EQ(texts[0].a[1], 16 * 7 / 3);
    EXPECT_EQ(texts[3].text, "10");
    EXPECT_EQ(texts[3].a[0], MoonAgeFontset);
    auto fills = canvas.callsOf(OpFillRectangle);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].pixel, 1000u + ColorStatusBackground);
    EXPECT_FALSE(canvas.callsOf(OpDrawPoints).empty()); // the TRACE stipple
    EXPECT_EQ(canvas.callsOf(OpDrawRectangle).size(), 2u); // TRACE and time-lock outlines
}

// 17 March 2026 (a Tuesday) at 21:05: day, month, hour and minute all differ,
// so a style that swaps any two of them shows it.
TEST(StatusBar, DateTextPutsDayAndMonthWhereEachStyleSays) {
    const struct {
        int style;
        const char *text;
    } cases[] = {
        {0, "Tue Mar 17, 2026 21:05  "},
        {1, "2026/ 3/17(Tue) 21:05  "},
        {2, "17/ 3/2026(Tue) 21:05  "},
    };
    for (const auto &c : cases) {
        ChartState chart{};
        const DateTime date{2026, 3, 17, 21, 5, 0.0, 1.0};
        chartSetDate(&chart, &date);
        chart.dateStyle = c.style;
        char buf[kStatusTextSize];
        EXPECT_STREQ(statusDateText(&chart, buf, sizeof buf), c.text) << "style " << c.style;
    }
}

} // namespace
