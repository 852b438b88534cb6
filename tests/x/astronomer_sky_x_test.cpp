// The sky as an astronomer knows it, on the real program under a private X
// server (charts sent over its TCP port and saved with GSAVE): zeta Ori is
// labelled with the symbol font's zeta, the Messier objects a blue or
// surface-brightness magnitude once hid show at the default deep-sky limit
// (places from the SEDS Messier catalogue), Hale-Bopp and Halley near
// perihelion draw tails several degrees long while a faint comet's stay short,
// and stars by the central meridian of an ALL2 map stand where the Aitoff
// projection puts them (no seam of folded stars). And the almanac panel gives the Moon's rise at Tromso on a day the
// noon declination alone called "no event" (times from tools/rise_set_refs.py).
#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Xlib.h>
#include <Xm/Label.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ephemeris.h"
#include "model/resource_text.h"
#include "render/palette.h"
#include "tests/astro/rise_tromso_data.h"
#include "tests/render/aitoff_reference_data.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "tests/support/x_tavik.h"
#include "tests/support/x_xpm.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/today_dialog_motif.h"

namespace {

const char kPinnedFont[] = "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1";
const char kGreenwichLine[] = "Greenwich (United Kingdom)                 0.000E 51.468N   39 +00.00 ";

unsigned long fallbackColour(Display *d, const char *name)
{
    char value[64];
    XColor c;
    if (!XParseColor(d, DefaultColormap(d, DefaultScreen(d)), fallbackResourceString(name, value, sizeof value), &c))
        return ~0ul;
    return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
}

// The real program with its TCP port open, at Greenwich.
class SkyX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        XFontStruct *font = XLoadQueryFont(server.display(), kPinnedFont);
        ASSERT_NE(font, nullptr);
        statusHeight = (font->ascent + font->descent) * 12 / 10;
        XFreeFont(server.display(), font);
        port = tcpFreePort();
        writeOptionsFile(home.path(), {"SiteName = Greenwich (United Kingdom)", "ConfirmQuit = False",
                                       "SocketPort = " + std::to_string(port)});
        writeSiteList(home.path(), {kGreenwichLine});
        TavikRunOptions o;
        o.display = server.name();
        o.home = home.path();
        o.args = {"-xrm", "TAvik.Main.DrawingArea.width: " + std::to_string(width),
                  "-xrm", "TAvik.Main.DrawingArea.height: " + std::to_string(height + statusHeight),
                  "-xrm", std::string("TAvik*DirNameFontset: ") + kPinnedFont,
                  "-xrm", std::string("TAvik*StatusFontset: ") + kPinnedFont, "-q"};
        program.reset(new TavikProcess(TAVIK_EXECUTABLE, o));
        ASSERT_NE(xWaitForWindow(server.display(), "tavik", "TAvik", 60000), 0u) << program->err();
        ASSERT_TRUE(waitUntil([&] { return (fd = tcpConnectLoopback(port)) >= 0; }, 30000)) << program->err();
        ASSERT_EQ(tcpReadReply(fd), "tavik> ");
    }
    void TearDown() override
    {
        if (fd >= 0)
            close(fd);
        if (program)
            program->kill();
    }
    // Sends each line (a failed one shows in its reply) and saves the chart.
    XpmPixels chartAfter(const std::vector<std::string> &lines)
    {
        for (const std::string &line : lines) {
            EXPECT_TRUE(tcpSend(fd, line + "\n"));
            EXPECT_EQ(tcpReadReply(fd), "tavik> ") << line << "\n" << program->err();
        }
        const std::string path = home.file("chart" + std::to_string(++saves) + ".xpm");
        EXPECT_TRUE(tcpSend(fd, "GSAVE \"" + path + "\"\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ");
        return readXpm(server.display(), path);
    }
    // The chart's centre in the saved image (below the status bar).
    int centreX() const { return width / 2; }
    int centreY() const { return statusHeight + height / 2; }

    int width = 800, height = 600; // the chart's drawing area without the status bar
    XServer server{1024, 800, 24};
    TempDir home;
    int port = 0, fd = -1, statusHeight = 0, saves = 0;
    std::unique_ptr<TavikProcess> program;
};

// The set pixels of a glyph of a core font, as drawn at (0, ascent).
struct Glyph {
    int width = 0, height = 0, ascent = 0;
    std::vector<bool> bits;
};

Glyph glyphOf(Display *d, XFontStruct *font, char c)
{
    Glyph g;
    g.width = XTextWidth(font, &c, 1);
    g.ascent = font->ascent;
    g.height = font->ascent + font->descent;
    Pixmap p = XCreatePixmap(d, DefaultRootWindow(d), g.width, g.height, 1);
    GC gc = XCreateGC(d, p, 0, nullptr);
    XSetForeground(d, gc, 0);
    XFillRectangle(d, p, gc, 0, 0, g.width, g.height);
    XSetForeground(d, gc, 1);
    XSetFont(d, gc, font->fid);
    XDrawString(d, p, gc, 0, g.ascent, &c, 1);
    XImage *image = XGetImage(d, p, 0, 0, g.width, g.height, 1, XYPixmap);
    for (int y = 0; y < g.height; y++)
        for (int x = 0; x < g.width; x++)
            g.bits.push_back(XGetPixel(image, x, y) != 0);
    XDestroyImage(image);
    XFreeGC(d, gc);
    XFreePixmap(d, p);
    return g;
}

// True when the glyph stands somewhere in the box with every set pixel in colour.
bool glyphIn(const XpmPixels &image, const Glyph &g, int x0, int y0, int x1, int y1, unsigned long colour)
{
    for (int oy = y0; oy <= y1; oy++)
        for (int ox = x0; ox <= x1; ox++) {
            bool all = true, any = false;
            for (int y = 0; y < g.height && all; y++)
                for (int x = 0; x < g.width && all; x++)
                    if (g.bits[static_cast<size_t>(y) * g.width + x]) {
                        any = true;
                        all = image.at(ox + x, oy + y) == colour;
                    }
            if (all && any)
                return true;
        }
    return false;
}

TEST_F(SkyX, AlnitakIsLabelledWithAZeta)
{
    // Alnitak, 05h40m45.5s -01d56'34" (Bright Star Catalogue), in the middle
    // of a 6-degree chart; only the Bayer letters labelled.
    const XpmPixels image = chartAfter({"DATE 2024 1 25 22 0 0 0", "MODE EQT", "VIEW ANGLE 6", "MAG STARNAME 4",
                                        "LOOK EQT 5.67931,-1.94278",
                                        "SHOW STAR;SHOW BAYER;HIDE STARNAME;HIDE FLAMSTEED;HIDE STAR_MAG;HIDE NEBULA",
                                        "DRIVE"});
    ASSERT_EQ(image.width, width);
    char pattern[128];
    fallbackResourceString(kStarBayerFontResource, pattern, sizeof pattern);
    XFontStruct *font = XLoadQueryFont(server.display(), pattern);
    ASSERT_NE(font, nullptr) << pattern;
    const Glyph zeta = glyphOf(server.display(), font, 'z'), psi = glyphOf(server.display(), font, 'y');
    XFreeFont(server.display(), font);
    const unsigned long white = fallbackColour(server.display(), "ColorStarBayerFont");
    // The letter starts just right of the star, its baseline near the star's row.
    const int x0 = centreX(), x1 = centreX() + 20, y0 = centreY() - 2 * zeta.height, y1 = centreY() + zeta.height;
    EXPECT_TRUE(glyphIn(image, zeta, x0, y0, x1, y1, white)) << "no zeta beside Alnitak";
    EXPECT_FALSE(glyphIn(image, psi, x0, y0, x1, y1, white)) << "Alnitak is labelled psi";
}

// Pixels of colour within r pixels of (x, y).
int pixelsNear(const XpmPixels &image, int x, int y, int r, unsigned long colour)
{
    int n = 0;
    for (int dy = -r; dy <= r; dy++)
        for (int dx = -r; dx <= r; dx++)
            n += image.at(x + dx, y + dy) == colour;
    return n;
}

TEST_F(SkyX, MessierObjectsOnceTooFaintShowAtTheDefaultLimit)
{
    // J2000 places from the SEDS Messier catalogue; each at the centre of a
    // 2-degree chart with the stars and the NGC and IC rows hidden.
    const struct {
        const char *name;
        double raHours, decDeg;
    } objects[] = {
        {"M49", 12 + 29 / 60.0 + 46.7 / 3600, 8 + 0 / 60.0 + 2 / 3600.0},
        {"M61", 12 + 21 / 60.0 + 54.9 / 3600, 4 + 28 / 60.0 + 25 / 3600.0},
        {"M84", 12 + 25 / 60.0 + 3.7 / 3600, 12 + 53 / 60.0 + 13 / 3600.0},
        {"M88", 12 + 31 / 60.0 + 59.2 / 3600, 14 + 25 / 60.0 + 14 / 3600.0},
        {"M91", 12 + 35 / 60.0 + 26.4 / 3600, 14 + 29 / 60.0 + 47 / 3600.0},
        {"M97", 11 + 14 / 60.0 + 47.7 / 3600, 55 + 1 / 60.0 + 9 / 3600.0},
        {"M76", 1 + 42 / 60.0 + 24.0 / 3600, 51 + 34 / 60.0 + 31 / 3600.0},
    };
    const unsigned long mark = fallbackColour(server.display(), "ColorNebulaMark");
    chartAfter({"DATE 2024 3 15 23 0 0 0", "MODE EQT", "VIEW ANGLE 2",
                "HIDE STAR;SHOW NEBULA;SHOW MESSIER;HIDE NGC;HIDE IC;HIDE NEBULA_NAME;HIDE NEBULA_MAG"});
    for (const auto &o : objects) {
        char look[64];
        std::snprintf(look, sizeof look, "LOOK EQT %.5f,%.5f", o.raHours, o.decDeg);
        const XpmPixels image = chartAfter({look, "DRIVE"});
        ASSERT_EQ(image.width, width);
        EXPECT_GE(pixelsNear(image, centreX(), centreY(), 8, mark), 10) << o.name << " is not drawn";
    }
}

// The farthest pixel of either tail colour from the chart's centre, degrees.
double tailReachDeg(const XpmPixels &image, Display *d, int centreX, int centreY, double pixelsPerDeg)
{
    const unsigned long dust = fallbackColour(d, "ColorCometDulstTail"), ion = fallbackColour(d, "ColorCometIonTail");
    double reach = 0;
    for (int y = 0; y < image.height; y++)
        for (int x = 0; x < image.width; x++) {
            const unsigned long c = image.at(x, y);
            if (c == dust || c == ion)
                reach = std::max(reach, std::hypot(x - centreX, y - centreY));
        }
    return reach / pixelsPerDeg;
}

TEST_F(SkyX, BrightCometsNearPerihelionDrawLongTailsAndFaintOnesShortOnes)
{
    // Each comet's line from the shipped element file, in a scene's ORBIT
    // block; the chart 40 degrees wide at a dark hour, centred on the comet.
    const struct {
        const char *name, *date;
        double atLeastDeg, atMostDeg;
    } comets[] = {
        {"Hale-Bopp", "DATE 1997 4 1 21 0 0 0", 3.0, 20.0},
        {"Halley", "DATE 1986 3 15 3 0 0 0", 3.0, 20.0},
        {"Tempel 1", "DATE 2016 8 2 1 0 0 0", 0.0, 0.5},
    };
    for (const auto &c : comets) {
        std::ifstream in(std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm");
        std::string line, found;
        while (found.empty() && std::getline(in, line))
            if (line.compare(20, std::string(c.name).size(), c.name) == 0)
                found = line;
        ASSERT_FALSE(found.empty()) << c.name << " is not shipped";
        const std::string scene = home.file(std::string("comet") + std::to_string(saves) + ".stl");
        std::ofstream(scene) << "BLOCK CONTROL\n\tSCENE MAIN\n\t\tCOMET \"" << c.name
                             << "\"\n\tEND SCENE\nEND BLOCK\nBLOCK ORBIT\n:" << c.name << "\n"
                             << found << "\nEND BLOCK\n";
        const XpmPixels image =
            chartAfter({"INIT", c.date, "MODE EQT", "VIEW ANGLE 40", "HIDE STAR;HIDE MILKYWAY;HIDE NEBULA",
                        "STL \"" + scene + "\"", "LOOK COMET1", "DRIVE"});
        ASSERT_EQ(image.width, width) << c.name;
        const unsigned long sky = image.at(2, statusHeight + 2);
        int head = 0;
        for (int dy = -2; dy <= 2; dy++)
            for (int dx = -2; dx <= 2; dx++)
                head += image.at(centreX() + dx, centreY() + dy) != sky;
        EXPECT_GT(head, 0) << c.name << " is not drawn at the centre";
        const double reach = tailReachDeg(image, server.display(), centreX(), centreY(), width / 40.0);
        EXPECT_GE(reach, c.atLeastDeg) << c.name;
        EXPECT_LE(reach, c.atMostDeg) << c.name;
    }
}

// A map wide enough (9 pixels a degree at its centre) for the fold of the
// points within a degree or two of the central meridian to show.
class WideSkyX : public SkyX {
protected:
    WideSkyX()
    {
        width = 3200;
        height = 1600;
    }
};

// Stars of a user-object file at half-degree steps across the central
// meridian, at latitudes 0, 30 and 60, each drawn as one pixel: every one
// lands in its own column, within a pixel and a half of PROJ's Aitoff place
// (tools/aitoff_refs.py) at the map's scale, its ellipse spanning the width.
// Taken from the Q14 x component, the half-longitude put them on a few
// columns next to the centre: a seam down ALL2 maps of the catalogue stars.
TEST_F(WideSkyX, AitoffMapPlacesStarsNearItsCentralMeridianWhereTheProjectionDoes)
{
    struct Point {
        double lon, lat, x, y;
    };
    std::vector<Point> points;
    for (const AitoffReferencePoint &r : kAitoffReference)
        if (std::fabs(r.lonDeg) <= 2.0 && std::fmod(std::fabs(r.lonDeg), 0.5) == 0.0)
            points.push_back({r.lonDeg, r.latDeg, r.x, r.y});
    // On the meridian itself A is the latitude: x 0, y the latitude in radians.
    for (double lat : {0.0, 30.0, 60.0})
        points.push_back({0.0, lat, 0.0, lat * M_PI / 180.0});
    ASSERT_EQ(points.size(), 27u);
    std::string ad = "EPOCH J2000\n";
    for (const Point &p : points) {
        char line[96];
        std::snprintf(line, sizeof line, "EQT %.7f %.4f STAR 5.5 3 \"p\" 7\n", 6.0 + p.lon / 15.0, p.lat);
        ad += line;
    }
    const std::string file = home.file("meridian.adf");
    std::ofstream(file) << ad;
    // At the epoch J2000.0 the map's equator of date is the file's.
    const XpmPixels image = chartAfter({"DATE 2000 1 1 12 0 0 0", "MODE ALL2_EQT", "LOOK EQT 6,0", "MAG STAR 6.5",
                                        "HIDE STAR;HIDE MILKYWAY;HIDE NEBULA;HIDE CONS_LINE;HIDE CONS_NAME1;"
                                        "HIDE CONS_NAME2;HIDE EQT_GRID_2000;HIDE EQT_GRID_DATE;HIDE ECL_GRID;HIDE GAL_GRID",
                                        "LOAD AD \"" + file + "\"", "SHOW AD;HIDE AD_NAME", "DRIVE"});
    // The map has no vertical scroll bar, so it is wider than the drawing
    // area asked for: its scale and centre follow the width it was drawn at.
    ASSERT_GE(image.width, width);
    width = image.width;
    const unsigned long star = fallbackColour(server.display(), "ColorStar3");
    const double scale = width / (2 * M_PI); // pixels per unit of the map's x and y
    for (double lat : {0.0, 30.0, 60.0}) {
        std::vector<int> columns; // the drawn stars of this latitude, west to east
        const int y = static_cast<int>(std::lround(centreY() - lat * M_PI / 180.0 * scale));
        for (int x = centreX() + 40; x >= centreX() - 40; x--)
            for (int dy = -2; dy <= 2; dy++)
                if (image.at(x, y + dy) == star) {
                    columns.push_back(x);
                    break;
                }
        std::vector<double> expected;
        for (const Point &p : points)
            if (p.lat == lat)
                expected.push_back(centreX() - p.x * scale);
        std::sort(expected.begin(), expected.end(), std::greater<double>());
        ASSERT_EQ(columns.size(), expected.size()) << "stars at latitude " << lat << " share columns";
        for (size_t i = 0; i < columns.size(); i++)
            EXPECT_NEAR(columns[i], expected[i], 1.5) << "latitude " << lat << ", star " << i;
    }
}

// The almanac panel's Moon at Tromso on 2024-02-03: up from before 04:21 to
// 06:51 local time, though at local noon its declination kept it down.
TEST(TromsoAlmanacX, TheMoonRisesAndSetsOnTheThirdOfFebruary)
{
    XServer server(640, 480, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    XtAppContext app = nullptr;
    ASSERT_NE(openDialogShell(server.name(), &app), nullptr);
    struct ShellCloser {
        ~ShellCloser() { closeDialogShell(); }
    } closer; // the panel goes with the shell, before the server
    TestChart chart(TestSite{kTromsoLatitudeDeg, kTromsoLongitudeDeg, 0.0},
                    DateTime{2024, 2, 3, 12, 0, 0.0, kTromsoZoneHours});
    currentChart = chart.get();
    ephemUpdateAll(chart.get());
    openTodayDialog(chart.get());
    ASSERT_TRUE(todayDialogShown());
    for (const TromsoEvent &ref : kTromsoEvents) {
        if (ref.month != 2 || ref.day != 3 || ref.kind != -1)
            continue;
        ASSERT_EQ(ref.found, 1);
        Widget label = todayDialogWidget(ref.event == 1 ? "LabelMRX" : "LabelMSX");
        ASSERT_NE(label, nullptr);
        XmString s = nullptr;
        XtVaGetValues(label, XmNlabelString, &s, nullptr);
        char *text = nullptr;
        ASSERT_TRUE(XmStringGetLtoR(s, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text));
        int h = -1, m = -1;
        const bool read = std::sscanf(text, "%d:%d", &h, &m) == 2;
        EXPECT_TRUE(read) << (ref.event == 1 ? "rise " : "set ") << text;
        XtFree(text);
        XmStringFree(s);
        double local = ref.jd + kTromsoZoneHours / 24.0 + 0.5;
        local = (local - std::floor(local)) * 1440.0;
        if (read) {
            EXPECT_NEAR(h * 60 + m, local, 3.0) << (ref.event == 1 ? "rise" : "set");
        }
    }
}

} // namespace
