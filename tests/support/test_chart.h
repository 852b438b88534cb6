// The application record and a chart state as every test starts from them,
// whatever an earlier test left: a test's own choices (a site, a date, a
// mode, an option) are its explicit calls after this common setup.
#pragma once

#include <memory>

#include "astro/types.h"

struct ChartState;

// Points appData at theAppData and sets the record to its defaults, with the
// pixel aspect of 1 and direction-font height of 12 pixels that the chart
// geometry the tests expect follows from, the palette's pixels 1000 + index
// (so that every colour draws with a pixel of its own, none with 0), and no
// command error an earlier test left.
void resetTestAppData();

// A site given through chartSetSite: latitude north, east longitude, degrees;
// altitude, metres.
struct TestSite {
    double latitudeDeg, longitudeDeg, altitudeM;
};

// A chart state at its defaults, owned: the destructor frees its comet and
// minor-planet tables and its orbit outlines, and points currentChart back at
// theChartState if a test left it here. Leaves the application record alone,
// for a second chart within one test.
class OwnedChart {
public:
    OwnedChart();
    ~OwnedChart();
    OwnedChart(const OwnedChart &) = delete;
    OwnedChart &operator=(const OwnedChart &) = delete;

    // Frees the tables and sets the defaults again, for a test that starts
    // over within itself.
    void reset();

    ChartState *get() const { return chart_.get(); }
    ChartState *operator->() const { return chart_.get(); }
    ChartState &operator*() const { return *chart_; }

private:
    std::unique_ptr<ChartState> chart_;
};

namespace test_chart_detail {
// Runs resetTestAppData before the chart's own defaults are set.
struct AppRecordReset {
    AppRecordReset() { resetTestAppData(); }
};
} // namespace test_chart_detail

// The application record reset (resetTestAppData), then an owned chart at its
// defaults; given a site, and a date (local time with its zone), through the
// program's own chartSetSite and chartSetDate.
class TestChart : private test_chart_detail::AppRecordReset, public OwnedChart {
public:
    TestChart() = default;
    explicit TestChart(const TestSite &site);
    TestChart(const TestSite &site, const DateTime &date);
};
