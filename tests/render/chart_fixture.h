// A chart state with its defaults, a known rectangle and a date and site
// given through the program's own routines, for the view, projection and
// frame tests.
#pragma once

#include "astro/types.h"
#include "model/chart_state.h"
#include "model/view_geometry.h"
#include "tests/support/test_chart.h"

struct ChartFixture {
    TestChart chart;

    ChartFixture();

    // Sets mode, rectangle and centre, then runs updateViewScale and updateViewMatrix.
    void view(int mode, int width, int height, double fieldWidth = 60.0, int mirror = 0, int top = 0);
};

struct RecordingCanvas;
// The same calls with the same colours, arguments, texts and points.
bool sameCalls(const RecordingCanvas &a, const RecordingCanvas &b);

// The test's own inverse of the projection: the J2000 unit vector under pixel
// (px, py), for every chart mode; false off the map.
bool testScreenToSky(const ChartState *chart, int px, int py, Vec3 *out);

// Unit vector of longitude/latitude (degrees), in double and in Q14.
Vec3 unitVector(double lonDeg, double latDeg);
Vec3Q14 toQ14(const Vec3 &v);

// J2000 direction of a point given in the chart's own system around
// (lon, lat): equatorial and ecliptic of the chart's date, galactic, or
// horizontal (azimuth from the south through the west) for the fixture's site
// and time.
Vec3 directionInSystem(const ChartState *chart, int system, double lonDeg, double latDeg);
