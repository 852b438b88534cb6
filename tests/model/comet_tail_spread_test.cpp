// The bound on how far a comet's tails reach from its nucleus, against the
// tails themselves: every shipped comet, and the same comets with long tails
// and strong or negative radiation pressure, at dates over two centuries.
// The frame leaves out a tail whose bound keeps it off the chart or under
// its head, so a point beyond the bound would be a tail missing from the
// chart.
#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <string>
#include <vector>

#include "astro/comet_tails.h"
#include "astro/constants.h"
#include "astro/orbits.h"
#include "astro/vecmat.h"
#include "model/element_lines.h"

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
