#include "tests/support/test_chart.h"

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/command_error.h"

void resetTestAppData()
{
    appData = &theAppData;
    appDataSetDefaults();
    stkClearError();
    appData->pixelAspect = 1.0;
    appData->dirFontHeight = 12;
    for (int i = 0; i < kPaletteSlots; i++) appData->pixels[i] = 1000u + static_cast<unsigned>(i);
}

OwnedChart::OwnedChart() : chart_(new ChartState()) { chartStateSetDefaults(chart_.get()); }

OwnedChart::~OwnedChart()
{
    if (currentChart == chart_.get()) currentChart = &theChartState;
    chartStateFreeTables(chart_.get());
}

void OwnedChart::reset()
{
    chartStateFreeTables(chart_.get());
    *chart_ = ChartState{};
    chartStateSetDefaults(chart_.get());
}

TestChart::TestChart(const TestSite &site)
{
    chartSetSite(get(), site.latitudeDeg, site.longitudeDeg, site.altitudeM);
}

TestChart::TestChart(const TestSite &site, const DateTime &date) : TestChart(site) { chartSetDate(get(), &date); }
