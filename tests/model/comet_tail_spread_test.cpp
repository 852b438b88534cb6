// The bound on how far a comet's tails reach from its nucleus, against the
// tails themselves, and the tails of many comets computed together: every shipped comet, and the same comets with long tails
// and strong or negative radiation pressure, at dates over two centuries.
// The frame leaves out a tail whose bound keeps it off the chart or under
// its head, so a point beyond the bound would be a tail missing from the
// chart.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "astro/comet_tails.h"
#include "astro/constants.h"
#include "astro/orbits.h"
#include "astro/vecmat.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/element_lines.h"
#include "model/ephemeris.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<OrbitalElements> shippedComets()
{
    std::ifstream in(std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm");
    std::vector<OrbitalElements> out;
    std::string line;
    while (std::getline(in, line)) {
        OrbitalElements el;
        if (parseElementLine(&el, line.c_str()) == 1 && el.type == 'C')
            out.push_back(el);
    }
    return out;
}

// The largest distance of the tail's points from the nucleus at jd.
double farthest(const OrbitalElements &el, double jd, const Vec3 *points, int count)
{
    OrbitState now;
    if (keplerSolve(jd, &el, &now, 0) != 0)
        return 0.0;
    Mat3 toJ2000;
    smallBodyPlaneMatrix(&el, 1, JD_J2000, &toJ2000);
    Vec3 plane = {now.x, now.y, 0.0}, nucleus;
    mat3MulVec(&plane, &toJ2000, &nucleus);
    double most = 0.0;
    for (int k = 0; k < count; ++k) {
        Vec3 d;
        vecSub(&points[k], &nucleus, &d);
        most = std::fmax(most, vecLength(&d));
    }
    return most;
}

} // namespace

TEST(CometTailSpread, EveryTailPointLiesWithinItsBound)
{
    const std::vector<OrbitalElements> comets = shippedComets();
    ASSERT_GT(comets.size(), 3000u);
    struct Case {
        const char *name;
        double ionLength, dustLength, dustParameter; // 0: the file's own
        double firstJd, stepDays;
    } cases[] = {
        {"the shipped tails, 1900 to 2100", 0, 0, 0, 2415020.5, 12170.0},
        {"long tails, strong radiation pressure", 0.5, 0.3, 4.0, 2440000.5, 3044.7},
        {"long ion tails, negative dust parameter", 2.0, 0.3, -3.0, 2455000.5, 1013.3},
    };
    const Vec3 earth = {0.3, -0.9, -0.4};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        int bounded = 0;
        for (int date = 0; date < 7; ++date) {
            const double jd = c.firstJd + date * c.stepDays;
            for (OrbitalElements el : comets) {
                if (c.ionLength > 0) {
                    el.ionTailLength = c.ionLength;
                    el.dustTailLength = c.dustLength;
                    el.dustParameter = c.dustParameter;
                }
                double ion, dust;
                cometTailSpread(jd, &el, &ion, &dust);
                CometTail t{};
                if (computeIonTail(jd, &el, &earth, &t)) {
                    EXPECT_LE(farthest(el, jd, t.ionHelio, t.ionCount), ion) << el.name << " at " << jd;
                }
                if (computeDustTail(jd, &el, &earth, &t)) {
                    EXPECT_LE(farthest(el, jd, t.dustHelio, 2 * t.dustCount), dust) << el.name << " at " << jd;
                    bounded += dust < kUnboundedTailSpreadAu;
                }
            }
        }
        EXPECT_GT(bounded, 5000) << "most tails have a bound";
    }
}

namespace {

std::vector<std::string> recordedNames;

void recordName(const char *, const char *text) { recordedNames.push_back(text); }

} // namespace

// Hundreds of tails at once are computed on several threads: each comet's
// tails, its tail bits and the failures reported, in their order, are those
// of the tails computed one by one.
TEST(CometTailSpread, TailsComputedTogetherAreThoseComputedOneByOne)
{
    const std::vector<OrbitalElements> comets = shippedComets();
    const TestSite site{52.5, 13.4, 50.0};
    const DateTime date{2024, 3, 20, 22, 0, 0.0, 1.0};
    auto fill = [&](ChartState *chart) {
        for (size_t i = 0; i < 600; ++i) {
            OrbitalElements el = comets[i * 5];
            if (i % 97 == 3)
                el.dustTailLength = 0.0; // no dust tail can be computed
            ASSERT_EQ(addComet(chart, &el), 1);
        }
        ephemUpdateBodies(chart);
    };
    const EphemerisTheories saved = ephemerisTheories;
    ephemerisTheories.recordError = recordName;

    TestChart together(site, date);
    fill(together.get());
    std::vector<int32_t> list(600);
    for (int32_t k = 0; k < 600; ++k)
        list[k] = k;
    recordedNames.clear();
    ephemUpdateCometTailsOf(together.get(), list.data(), static_cast<int32_t>(list.size()));
    const std::vector<std::string> reportedTogether = recordedNames;

    TestChart alone(site, date);
    fill(alone.get());
    recordedNames.clear();
    for (int32_t k : list)
        ephemUpdateCometTails(alone.get(), k);
    ephemerisTheories = saved;

    EXPECT_EQ(reportedTogether, recordedNames);
    EXPECT_GE(recordedNames.size(), 7u) << "some tails fail";
    for (int32_t k : list) {
        SCOPED_TRACE(k);
        const CometTail &t = together->cometTails[k], &a = alone->cometTails[k];
        EXPECT_EQ(together->cometFlags[k], alone->cometFlags[k]);
        EXPECT_EQ(t.ionJd, a.ionJd);
        EXPECT_EQ(t.dustJd, a.dustJd);
        EXPECT_EQ(std::memcmp(t.ionHelio, a.ionHelio, sizeof a.ionHelio), 0);
        EXPECT_EQ(std::memcmp(t.dustGeo, a.dustGeo, sizeof a.dustGeo), 0);
    }
}
