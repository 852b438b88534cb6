// A comet and a minor planet loaded from their shipped element lines and
// computed by the chart land where an independent library puts them.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "astro/vecmat.h"
#include "model/chart_date.h"
#include "model/element_files.h"
#include "model/ephemeris.h"
#include "render/object_screen.h"
#include "render/projection.h"
#include "tests/render/chart_fixture.h"
#include "tests/render/small_body_places.h"
#include "tests/support/temp_dir.h"

namespace {

std::string elementLine(const char *file, int k)
{
    const std::string text = readFile(std::string(TAVIK_SOURCE_DIR) + "/data/" + file);
    size_t at = 0;
    for (int i = 0; i < k; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(at, text.find('\n', at) - at);
}

TEST(SmallBodyPlaces, HeadsLandWithinTwoPixelsOfTheReference)
{
    for (const SmallBodyPlace &ref : kSmallBodyPlaces) {
        ChartFixture f;
        ChartState *chart = f.chart.get();
        chartSetSite(chart, 35.0, 139.0, 0.0);
        const DateTime date{ref.year, ref.month, ref.day, 0, 0, 0.0, 0.0};
        chartSetDate(chart, &date);
        OrbitalElements el;
        ASSERT_EQ(parseElementLine(&el, elementLine(ref.file, ref.line).c_str()), 1) << ref.file;
        const bool comet = el.type == 'C';
        ASSERT_EQ(comet ? addComet(chart, &el) : addMinorPlanet(chart, &el), 1);
        ephemUpdateAll(chart);
        // 10 degrees on 800 pixels: 2 pixels are 0.025 degrees.
        chart->centerMode[0] = ref.raDeg;
        chart->centerMode[1] = ref.decDeg;
        f.view(kModeEqt, 800, 800, 10.0);
        const double place[2] = {ref.raDeg, ref.decDeg};
        Vec3 v;
        sphToVec(place, &v);
        ProjectedPoint want, got;
        ASSERT_TRUE(projectPointPrecise(chart, &v, &want)) << ref.file;
        ASSERT_TRUE(objectScreenPosition(chart, comet ? kObjectCometBase : kObjectMinorPlanetBase, &got)) << ref.file;
        EXPECT_LE(std::abs(got.x - want.x), 2) << ref.file << " x " << got.x << " want " << want.x;
        EXPECT_LE(std::abs(got.y - want.y), 2) << ref.file << " y " << got.y << " want " << want.y;
    }
}

} // namespace
