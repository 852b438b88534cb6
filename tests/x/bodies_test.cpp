// The solar-system bodies drawn with the real theories on real dates into a
// pixmap of a private X server: pixels of the Moon, the Earth's shadow,
// Jupiter and Saturn, and the Sun's eclipse seen from Dallas.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include "astro/vecmat.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/view_geometry.h"
#include "render/palette.h"
#include "render/sky_colours.h"
#include "render/layers/solar_bodies.h"
#include "render/x/x_canvas.h"
#include "tests/support/x_server.h"

namespace {

constexpr int kSize = 400;

// A distinct 24-bit pixel per palette row, read back from the image as is.
uint32_t pixelFor(int32_t row) { return 0x010101u * 2u + static_cast<uint32_t>(row) * 0x030507u; }

class BodiesX : public ::testing::Test {
protected:
    XServer server{kSize, kSize, 24};
    std::unique_ptr<ChartState> chart{new ChartState()};
    Pixmap pixmap = 0;
    GC gc = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        appData = &theAppData;
        appDataSetDefaults();
        appData->pixelAspect = 1.0;
        appData->lineWidth = 1;
        appData->minDiskRadius = 4;
        for (int i = 0; i < kPaletteSlots; ++i)
            appData->pixels[i] = pixelFor(i);
        chartStateSetDefaults(chart.get());
        ephemerisTheories = kEphemerisTheoriesDefault;
        solarBodyServices = kDefaultSolarBodyServices;
        Display *d = server.display();
        pixmap = XCreatePixmap(d, DefaultRootWindow(d), kSize, kSize, 24);
        gc = XCreateGC(d, pixmap, 0, nullptr);
    }
    void TearDown() override
    {
        if (gc)
            XFreeGC(server.display(), gc);
        if (pixmap)
            XFreePixmap(server.display(), pixmap);
        chartStateFreeTables(chart.get());
    }

    // The chart at a UT moment and site, bodies computed; look() centres the
    // view on (raDate, decDate), equator of the date, with the given field
    // width in degrees.
    void at(int year, int month, int day, int hour, int minute, double lat, double lon, double alt)
    {
        const DateTime date{year, month, day, hour, minute, 0.0, 0.0};
        chartSetSite(chart.get(), lat, lon, alt);
        chartSetDate(chart.get(), &date);
        chart->lastEphemerisJd = kNeverJd;
        ephemUpdateAll(chart.get());
    }
    void look(double raDeg, double decDeg, double fieldDeg)
    {
        ChartState *c = chart.get();
        c->mode = kModeEqt;
        c->chartRect = ChartRect{0, 0, kSize, kSize};
        c->fieldWidth = fieldDeg;
        c->centerMode[0] = raDeg;
        c->centerMode[1] = decDeg;
        updateViewScale(c);
        updateViewMatrix(c);
        XCanvas canvas(server.display(), pixmap, gc);
        canvas.setForeground(pixelFor(ColorBlack));
        canvas.fillRectangle(0, 0, kSize, kSize);
    }
    // A J2000 place as right ascension and declination of the chart's date.
    void toDate(double raDeg, double decDeg, double *raDate, double *decDate)
    {
        const double k = M_PI / 180.0;
        const Vec3 j2000{std::cos(decDeg * k) * std::cos(raDeg * k), std::cos(decDeg * k) * std::sin(raDeg * k),
                         std::sin(decDeg * k)};
        Mat3 toDateMatrix;
        mat3Inverse(&chart->precessionMatrix, &toDateMatrix);
        Vec3 v;
        mat3MulVec(&j2000, &toDateMatrix, &v);
        *raDate = std::atan2(v.y, v.x) / k;
        *decDate = std::asin(v.z) / k;
    }
    void lookAtJ2000(double raDeg, double decDeg, double fieldDeg)
    {
        double ra = 0.0, dec = 0.0;
        toDate(raDeg, decDeg, &ra, &dec);
        look(ra, dec, fieldDeg);
    }
    uint32_t pixelAt(int x, int y)
    {
        XImage *img = XGetImage(server.display(), pixmap, x, y, 1, 1, AllPlanes, ZPixmap);
        if (!img)
            return 0xffffffffu;
        uint32_t p = static_cast<uint32_t>(XGetPixel(img, 0, 0)) & 0xffffffu;
        XDestroyImage(img);
        return p;
    }
    void drawMoon()
    {
        XCanvas canvas(server.display(), pixmap, gc);
        chartDrawMoon(chart.get(), &canvas, 0);
        XSync(server.display(), False);
    }
    void drawPlanets()
    {
        XCanvas canvas(server.display(), pixmap, gc);
        chartDrawPlanet(chart.get(), &canvas, 7, 0, chart->skyColourBase);
        XSync(server.display(), False);
    }
};

TEST_F(BodiesX, FullMoonCentreTakesTheMoonColour)
{
    at(2024, 1, 25, 17, 54, 35.0, 139.0, 0.0);
    chart->moonFlags = kBodyShown;
    ASSERT_GT(chart->moon.phase, 0.99);
    look(chart->moon.raDateDeg, chart->moon.decDateDeg, 2.0);
    drawMoon();
    EXPECT_EQ(pixelAt(kSize / 2, kSize / 2), pixelFor(ColorStar3));
    EXPECT_EQ(chart->moon.lunarEclipseMagnitude, -1.0);
}

TEST_F(BodiesX, TotalLunarEclipseOf2022November8FillsTheMoon)
{
    at(2022, 11, 8, 10, 59, 35.0, 139.0, 0.0);
    chart->moonFlags = kBodyShown;
    look(chart->moon.raDateDeg, chart->moon.decDateDeg, 2.0);
    drawMoon();
    EXPECT_GT(chart->moon.lunarEclipseMagnitude, 1.0);
    EXPECT_EQ(pixelAt(kSize / 2, kSize / 2), pixelFor(ColorMoonEclipse));

    // Three hours later the Moon is clear of the shadow again.
    at(2022, 11, 8, 14, 0, 35.0, 139.0, 0.0);
    look(chart->moon.raDateDeg, chart->moon.decDateDeg, 2.0);
    drawMoon();
    EXPECT_EQ(chart->moon.lunarEclipseMagnitude, -1.0);
    EXPECT_EQ(pixelAt(kSize / 2, kSize / 2), pixelFor(ColorStar3));
}

TEST_F(BodiesX, SolarEclipseOf2024April8FromDallasDarkensTheSky)
{
    const double lat = 32.78, lon = -96.80, alt = 140.0;
    chart->skyFlags = 0xff;
    at(2024, 4, 8, 18, 42, lat, lon, alt);
    EXPECT_GT(chart->sun.eclipseMagnitude, 1.0) << "totality on the path";
    chart->mode = kModeHrz;
    updateSkyLevel(chart.get());
    int32_t eclipsed = chart->skyLevel;

    at(2024, 4, 8, 22, 0, lat, lon, alt);
    EXPECT_EQ(chart->sun.eclipseMagnitude, -1.0);
    updateSkyLevel(chart.get());
    EXPECT_LT(eclipsed, chart->skyLevel) << "the eclipse darkens the daytime sky (lower level)";
}

TEST_F(BodiesX, JupiterAndSaturnDiscsAtHighZoomWithRings)
{
    at(2017, 6, 15, 0, 0, 35.0, 139.0, 0.0);
    // A field of 0.4 degree with the discs magnified 8 times: at narrower
    // fields the view's cut-off is finer than its sines and culls the centre.
    chart->diskMag = 8;
    chart->planetFlags[3] = kBodyShown | kBodyDisk;
    chart->planetFlags[4] = kBodyShown | kBodyDisk;
    ephemUpdateAll(chart.get());

    const SolarBodyRecord &jupiter = chart->planets[3];
    lookAtJ2000(jupiter.raDeg, jupiter.decDeg, 0.4);
    drawPlanets();
    EXPECT_EQ(pixelAt(kSize / 2, kSize / 2), pixelFor(ColorJupiterDisk));

    const SolarBodyRecord &saturn = chart->planets[4];
    ASSERT_GT(std::fabs(saturn.poleTiltDeg - 90.0), 10.0) << "rings open in 2017";
    lookAtJ2000(saturn.raDeg, saturn.decDeg, 0.4);
    drawPlanets();
    EXPECT_EQ(pixelAt(kSize / 2, kSize / 2), pixelFor(ColorSaturnDisk));
    ProjectedPoint centre{kSize / 2, kSize / 2, 0, 0};
    double raDec[2] = {saturn.raDeg, saturn.decDeg};
    int r = static_cast<int>(chart->pixelsPerRadianX * M_PI / 180.0 * saturn.diameterArcsec / 7200.0 *
                                 chart->diskMag + 0.5);
    ASSERT_GT(r, 10);
    double north = screenNorthAngle(chart.get(), raDec, r, &centre);
    double a = (chart->mirror == kMirrorFlipped ? north - saturn.poleAngleDeg : north + saturn.poleAngleDeg) * M_PI / 180.0;
    auto onAxis = [&](double f) {
        return pixelAt(kSize / 2 + static_cast<int>(std::lround(f * r * std::cos(a))),
                       kSize / 2 - static_cast<int>(std::lround(f * r * std::sin(a))));
    };
    EXPECT_EQ(onAxis(1.72), pixelFor(ColorSaturnRingB)) << "r " << r;
    EXPECT_EQ(onAxis(2.12), pixelFor(ColorSaturnRingA)) << "r " << r;
    EXPECT_EQ(onAxis(2.5), pixelFor(ColorBlack)) << "beyond the rings";
}

} // namespace
