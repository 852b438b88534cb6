// Places, distances and magnitudes of comets and minor planets, and their
// orbit outlines. Real bodies are checked against stored python3-ephem places
// (tools/orbit_refs.py).
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "astro/coords.h"
#include "astro/orbits.h"
#include "astro/vecmat.h"
#include "orbit_fixtures.h"
#include "orbit_reference_data.h"

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180;
constexpr double kLightDaysPerAu = 0.005775518331436995;

OrbitalElements elementsOf(char type, double q, double e, double T, double w, double N, double i,
                           double H = 6, double K = 10)
{
    return orbitElements(type, q, e, T, w, N, i, H, K);
}

double separationDeg(double ra1, double dec1, double ra2, double dec2)
{
    double a = std::sin((dec1 - dec2) * kDeg / 2), b = std::sin((ra1 - ra2) * kDeg / 2);
    return 2 * std::asin(std::sqrt(a * a + std::cos(dec1 * kDeg) * std::cos(dec2 * kDeg) * b * b)) /
           kDeg;
}

TEST(OrbitPosition, RealBodiesMatchAnIndependentLibraryWithinAHundredthDegree)
{
    for (const OrbitReferencePlace &ref : kOrbitReferencePlaces) {
        const OrbitReferenceBody &b = kOrbitReferenceBodies[ref.body];
        OrbitalElements el = elementsOf(b.type, b.q, b.e, b.perihelionJd, b.argPerihelion, b.node,
                                        b.inclination, b.H, b.K);
        Vec3 earth = {ref.earth[0], ref.earth[1], ref.earth[2]};
        // The reference is astrometric: the body where it was when its light left.
        BodyPosition pos;
        std::memset(&pos, 0, sizeof pos);
        double lightTime = 0;
        for (int pass = 0; pass < 3; ++pass) {
            ASSERT_EQ(smallBodyPosition(ref.jdTt - lightTime, &el, &earth, ref.sunDistance,
                                        2451545.0, &pos),
                      1)
                << b.name;
            lightTime = pos.earthDistance * kLightDaysPerAu;
        }
        double sep = separationDeg(pos.raJ2000, pos.decJ2000, ref.raDeg, ref.decDeg);
        EXPECT_LT(sep, 0.01) << b.name << " at " << ref.jdTt;
        EXPECT_NEAR(pos.earthDistance, ref.deltaAu, 2e-4 * ref.deltaAu) << b.name;
        if (b.type == 'C') {
            EXPECT_NEAR(pos.magnitude10 / 10.0, ref.magnitude, 0.06) << b.name;
        }
    }
}

// A body at perihelion (jd = T) sits at plane (q, 0): with q = 1 its
// heliocentric place is a unit vector u, and an Earth at u - d (d a unit
// vector) puts it at distance 1 from the Earth.
struct Geometry {
    OrbitalElements el;
    Vec3 helio;
};

Geometry atPerihelion(char type, double H)
{
    Geometry g;
    g.el = elementsOf(type, 1.0, 0.3, 2451545.0, 30, 50, 20, H, 10);
    BodyPosition pos;
    Vec3 far = {100, 0, 0};
    EXPECT_EQ(smallBodyPosition(2451545.0, &g.el, &far, 100, 2451545.0, &pos), 1);
    g.helio = pos.helio;
    return g;
}

// Earth such that the body is at distance 1 and the Sun-body-Earth angle is 90 degrees.
Vec3 earthAtRightAngle(const Vec3 &u)
{
    Vec3 p = {-u.y, u.x, 0};
    double n = std::sqrt(p.x * p.x + p.y * p.y);
    return {u.x - p.x / n, u.y - p.y / n, u.z};
}

TEST(OrbitPosition, MinorPlanetsGetThePhaseTermAndCometsDoNot)
{
    Geometry comet = atPerihelion('C', 7.0), minor = atPerihelion('M', 7.0);
    Vec3 earth = earthAtRightAngle(comet.helio);
    double R = vecLength(&earth);
    BodyPosition c, m;
    ASSERT_EQ(smallBodyPosition(2451545.0, &comet.el, &earth, R, 2451545.0, &c), 1);
    ASSERT_EQ(smallBodyPosition(2451545.0, &minor.el, &earth, R, 2451545.0, &m), 1);
    // The orientation matrix is built from the table sine: lengths hold to ~1e-6.
    EXPECT_NEAR(c.sunDistance, 1.0, 1e-6);
    EXPECT_NEAR(c.earthDistance, 1.0, 1e-6);
    EXPECT_EQ(c.magnitude10, 70);              // no phase term at 90 degrees for a comet
    EXPECT_EQ(m.magnitude10, 70 + 21);         // 0.023 x 90 = 2.07 magnitudes
    // An Earth-Sun distance that no triangle allows: the phase angle's sine is
    // clamped instead of turning the magnitude into NaN.
    ASSERT_EQ(smallBodyPosition(2451545.0, &minor.el, &earth, 5.0, 2451545.0, &m), 1);
    EXPECT_EQ(m.magnitude10, 70 + 41);         // phase 180 degrees: 4.14
}

TEST(OrbitPosition, MagnitudeIsRoundedHalfUpInTenths)
{
    struct Case {
        double H;
        int32_t tenths;
    } cases[] = {{-0.06, -1}, {-0.04, 0}, {0.04, 0}, {0.06, 1}, {6.26, 63}, {-2.36, -24}, {-2.34, -23}};
    for (const Case &c : cases) {
        Geometry g = atPerihelion('C', c.H);
        Vec3 earth = earthAtRightAngle(g.helio);
        BodyPosition pos;
        ASSERT_EQ(smallBodyPosition(2451545.0, &g.el, &earth, vecLength(&earth), 2451545.0, &pos), 1);
        EXPECT_EQ(pos.magnitude10, c.tenths) << "H = " << c.H;
    }
}

TEST(OrbitPosition, PlaceFieldsAreConsistent)
{
    OrbitalElements el = elementsOf('M', 2.5, 0.1, 2451000.5, 70, 80, 10);
    Vec3 earth = {-0.18, 0.89, 0.39};
    BodyPosition pos;
    ASSERT_EQ(smallBodyPosition(2455000.5, &el, &earth, vecLength(&earth), 2451545.0, &pos), 1);
    Vec3 geo;
    vecSub(&pos.helio, &earth, &geo);
    EXPECT_NEAR(pos.sunDistance, vecLength(&pos.helio), 1e-12);
    EXPECT_NEAR(pos.earthDistance, vecLength(&geo), 1e-12);
    EXPECT_NEAR(vecLength(&pos.geoUnit), 1.0, 1e-12);
    EXPECT_EQ(pos.geoUnitQ14.x, static_cast<int32_t>(pos.geoUnit.x * 16384));
    EXPECT_EQ(pos.geoUnitQ14.z, static_cast<int32_t>(pos.geoUnit.z * 16384));
    EXPECT_GE(pos.raJ2000, 0.0);
    EXPECT_LT(pos.raJ2000, 360.0);
    EXPECT_NEAR(std::sin(pos.decJ2000 * kDeg), pos.geoUnit.z, 1e-12);
    // The place of date is the J2000 place precessed to the date.
    Mat3 toDate;
    precessionMatrix(2451545.0, 2455000.5, &toDate);
    Vec3 dated;
    mat3MulVec(&pos.geoUnit, &toDate, &dated);
    EXPECT_NEAR(pos.raDate, std::fmod(std::atan2(dated.y, dated.x) / kDeg + 360, 360), 1e-9);
    EXPECT_NEAR(pos.decDate, std::atan2(dated.z, std::hypot(dated.x, dated.y)) / kDeg, 1e-9);
    EXPECT_GT(separationDeg(pos.raDate, pos.decDate, pos.raJ2000, pos.decJ2000), 0.1);
}

TEST(OrbitPosition, FailuresLeaveTheRowAndItsStampUntouched)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *what;
        OrbitalElements el;
        Vec3 earth;
    } cases[] = {
        {"zero perihelion distance", elementsOf('C', 0.0, 0.5, 2451545, 1, 2, 3), {1, 0, 0}},
        {"NaN inclination", elementsOf('C', 1.0, 0.5, 2451545, 1, 2, nan), {1, 0, 0}},
        {"NaN absolute magnitude", elementsOf('M', 1.0, 0.5, 2451545, 1, 2, 3, nan), {1, 0, 0}},
        {"NaN slope", elementsOf('C', 1.0, 0.5, 2451545, 1, 2, 3, 6, nan), {1, 0, 0}},
    };
    for (const Case &c : cases) {
        BodyPosition row;
        std::memset(&row, 0x3c, sizeof row);
        row.jd = 2440000.5;
        BodyPosition before = row;
        SkyContext sky;
        std::memset(&sky, 0, sizeof sky);
        sky.jd = 2451600.5;
        SunRecord sun;
        std::memset(&sun, 0, sizeof sun);
        sun.earthHelio = c.earth;
        sun.distanceAu = 1;
        EXPECT_EQ(ephemSmallBody(&sky, &sun, &c.el, &row), 0) << c.what;
        EXPECT_EQ(std::memcmp(&row, &before, sizeof row), 0) << c.what;
    }
    // A body at the Earth's centre has no direction: a failure, not NaN.
    Geometry g = atPerihelion('C', 5);
    BodyPosition row;
    EXPECT_EQ(smallBodyPosition(2451545.0, &g.el, &g.helio, 1.0, 2451545.0, &row), 0);
}

TEST(OrbitPosition, EphemSmallBodyStampsTheDateOnSuccess)
{
    OrbitalElements el = elementsOf('C', 0.6, 0.97, 2446470.5, 111, 58, 162);
    SkyContext sky;
    std::memset(&sky, 0, sizeof sky);
    sky.jd = 2446400.5;
    SunRecord sun;
    std::memset(&sun, 0, sizeof sun);
    sun.earthHelio = {0.58, 0.73, 0.31};
    sun.distanceAu = vecLength(&sun.earthHelio);
    BodyPosition row, direct;
    std::memset(&row, 0, sizeof row);
    ASSERT_EQ(ephemSmallBody(&sky, &sun, &el, &row), 1);
    EXPECT_EQ(row.jd, sky.jd);
    ASSERT_EQ(smallBodyPosition(sky.jd, &el, &sun.earthHelio, sun.distanceAu, 2451545.0, &direct), 1);
    EXPECT_EQ(row.raJ2000, direct.raJ2000);
    EXPECT_EQ(row.magnitude10, direct.magnitude10);
}

double lengthOf(const Vec3 &v)
{
    return std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
}

TEST(OrbitOutline, WholeEllipseIsClosedFromPerihelionThroughAphelion)
{
    // q = 30, e = 0.5: aphelion exactly 90 AU still gives the whole ellipse.
    const double qs[] = {1.0, 30.0};
    for (double q : qs) {
        OrbitalElements el = elementsOf('M', q, 0.5, 2451545, 73, 80, 10);
        Vec3 *pts = smallBodyOrbitOutline(&el, kSmallBodyOutlineSegments);
        ASSERT_NE(pts, nullptr);
        EXPECT_EQ(std::memcmp(&pts[0], &pts[160], sizeof(Vec3)), 0);
        EXPECT_NEAR(lengthOf(pts[0]), q, 1e-6 * q);
        EXPECT_NEAR(lengthOf(pts[80]), 3 * q, 1e-6 * q);
        // Point k at E = 2.25 k degrees: r = a (1 - e cos E).
        for (int k = 0; k <= 160; k += 7)
            EXPECT_NEAR(lengthOf(pts[k]), 2 * q * (1 - 0.5 * std::cos(2.25 * k * kDeg)), 1e-5 * q) << k;
        std::free(pts);
    }
}

TEST(OrbitOutline, OpenOrbitsAreCutAt90AuWithPerihelionInTheMiddle)
{
    struct Case {
        const char *what;
        double q, e;
    } cases[] = {
        {"aphelion just beyond 90 AU", 30.0001, 0.5},
        {"long-period ellipse", 0.5, 0.99},
        {"ellipse band edge 0.999999 is a parabola", 1.0, 0.999999},
        {"parabola", 1.0, 1.0},
        {"parabola band edge 1.000001", 2.0, 1.000001},
        {"hyperbola", 1.0, 1.2},
        {"strong hyperbola", 0.3, 3.0},
    };
    for (const Case &c : cases) {
        OrbitalElements el = elementsOf('C', c.q, c.e, 2451545, 10, 20, 30);
        Vec3 *pts = smallBodyOrbitOutline(&el, 160);
        ASSERT_NE(pts, nullptr) << c.what;
        // tan(nu / 2) from the table sine near nu = 180 degrees: ~1e-5 relative.
        EXPECT_NEAR(lengthOf(pts[0]), 90.0, 0.005) << c.what;
        EXPECT_NEAR(lengthOf(pts[160]), 90.0, 0.005) << c.what;
        EXPECT_NEAR(lengthOf(pts[80]), c.q, 1e-6 * c.q) << c.what;
        for (int k = 1; k < 80; ++k)
            EXPECT_LT(lengthOf(pts[k]), lengthOf(pts[k - 1]) + 1e-9) << c.what << " " << k;
        std::free(pts);
    }
}

TEST(OrbitOutline, NoCutAngleGivesNoPointsRatherThanNaN)
{
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char *what;
        OrbitalElements el;
        int n;
    } cases[] = {
        {"ellipse beyond 90 AU", elementsOf('M', 100, 0.1, 2451545, 1, 2, 3), 160},
        {"circle beyond 90 AU", elementsOf('M', 95, 0.0, 2451545, 1, 2, 3), 160},
        {"parabola beyond 90 AU", elementsOf('C', 91, 1.0, 2451545, 1, 2, 3), 160},
        {"hyperbola beyond 90 AU", elementsOf('C', 120, 1.5, 2451545, 1, 2, 3), 160},
        {"zero perihelion distance", elementsOf('C', 0, 0.5, 2451545, 1, 2, 3), 160},
        {"NaN eccentricity", elementsOf('C', 1, nan, 2451545, 1, 2, 3), 160},
        {"NaN node", elementsOf('C', 1, 0.5, 2451545, 1, nan, 3), 160},
        {"odd point count", elementsOf('C', 1, 0.5, 2451545, 1, 2, 3), 161},
        {"no segments", elementsOf('C', 1, 0.5, 2451545, 1, 2, 3), 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(smallBodyOrbitOutline(&c.el, c.n), nullptr) << c.what;
}

TEST(OrbitOutline, OutlinePassesThroughTheComputedPositions)
{
    // The outline and the position use epochs a month apart for the element
    // angles: the two agree to the precession of that month (~4").
    OrbitalElements el = elementsOf('M', 2.55, 0.076, 2451983.2, 73.6, 80.3, 10.6);
    Vec3 *pts = smallBodyOrbitOutline(&el, 160);
    ASSERT_NE(pts, nullptr);
    Vec3 earth = {1, 0, 0};
    BodyPosition pos;
    ASSERT_EQ(smallBodyPosition(el.perihelionJd, &el, &earth, 1, 2451545.0, &pos), 1);
    Vec3 d;
    vecSub(&pos.helio, &pts[0], &d);
    EXPECT_LT(vecLength(&d), 2.55 * 3e-5);
    EXPECT_GT(vecLength(&d), 0.0);
    std::free(pts);
}

} // namespace
