// The real program's deep-sky symbols and picture marks against the sky: a
// TCP client gives tavik the sky-truth table's site, moment and chart, loads
// the sample user-object file and the installed click-data file, shows
// AD, NEBULA, SKYMARK and PICTUREMARK and saves the chart with GSAVE. Each
// deep-sky object of tools/sky_truth.py's table (OpenNGC places, projected
// independently) must have its whole symbol in ColorNebulaMark within 2
// pixels of its place, and Jupiter the picture mark's 31 pixels in
// ColorPictureMark.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/xpm.h>

#include <cmath>
#include <cstdio>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "render/layers/deep_sky.h"
#include "render/layers/picture_marks.h"
#include "model/deep_sky_names.h"
#include "resources/catalogs.h"
#include "resources/fallback.h"
#include "tests/support/tcp_client.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_server.h"
#include "tests/support/x_xpm.h"
#include "tests/support/x_tavik.h"
#include "tests/x/sky_truth_table.h"

namespace {

const char kPinnedFont[] = "-misc-fixed-medium-r-normal--13-*-*-*-c-70-iso8859-1";
const char kGreenwichLine[] = "Greenwich (United Kingdom)                 0.000E 51.468N   39 +00.00 ";
constexpr int kTolerancePx = 2;

// A palette colour of the fallback table as a 24-bit pixel.
unsigned long paletteColour(Display *d, const std::string &name)
{
    const std::string prefix = "TAvik*" + name + ":";
    for (int i = 0; i < fallbackResourceCount && fallbackResources[i]; i++) {
        const std::string line = fallbackResources[i];
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        XColor c;
        std::string value = line.substr(prefix.size());
        value.erase(0, value.find_first_not_of(' '));
        if (XParseColor(d, DefaultColormap(d, DefaultScreen(d)), value.c_str(), &c))
            return ((c.red >> 8) << 16) | ((c.green >> 8) << 8) | (c.blue >> 8);
    }
    return ~0ul;
}

// The smallest distance from (x, y) to the centre of a 9 x 9 placement of
// the symbol whose every set bit is `colour`; -1 when there is none within
// the tolerance.
double symbolDistance(const XpmPixels &image, double x, double y, const uint16_t *rows, unsigned long colour)
{
    double best = -1;
    for (int cy = static_cast<int>(std::lround(y)) - kTolerancePx; cy <= std::lround(y) + kTolerancePx; cy++)
        for (int cx = static_cast<int>(std::lround(x)) - kTolerancePx; cx <= std::lround(x) + kTolerancePx; cx++) {
            bool whole = true;
            for (int r = 0; r < 9 && whole; r++)
                for (int c = 0; c < 9 && whole; c++)
                    if ((rows[r] >> c) & 1)
                        whole = image.at(cx - 4 + c, cy - 4 + r) == colour;
            const double distance = std::hypot(cx - x, cy - y);
            if (whole && distance <= kTolerancePx && (best < 0 || distance < best))
                best = distance;
        }
    return best;
}

TEST(DeepSkyTruthX, SymbolsAndThePictureMarkStandWhereTheSkyPutsThem)
{
    ASSERT_EQ(sizeof kSkyTruthDeepSkyCases / sizeof kSkyTruthDeepSkyCases[0], 1u);
    const SkyTruthCase &c = kSkyTruthDeepSkyCases[0];
    XServer server(1600, 1200, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    Display *d = server.display();
    XFontStruct *font = XLoadQueryFont(d, kPinnedFont);
    ASSERT_NE(font, nullptr);
    const int statusHeight = (font->ascent + font->descent) * 12 / 10;
    ASSERT_EQ(font->ascent + font->descent, kSkyTruthDirFontHeight);
    XFreeFont(d, font);

    TempDir home;
    const int port = tcpFreePort();
    writeOptionsFile(home.path(), {std::string("SiteName = ") + c.site, "ConfirmQuit = False",
                                   "SocketPort = " + std::to_string(port)});
    writeSiteList(home.path(), {kGreenwichLine});
    TavikRunOptions o;
    o.display = server.name();
    o.home = home.path();
    o.args = {"-xrm", "TAvik.Main.DrawingArea.width: " + std::to_string(kSkyTruthWidth),
              "-xrm", "TAvik.Main.DrawingArea.height: " + std::to_string(kSkyTruthHeight + statusHeight),
              "-xrm", std::string("TAvik*DirNameFontset: ") + kPinnedFont,
              "-xrm", std::string("TAvik*StatusFontset: ") + kPinnedFont, "-q"};
    TavikProcess p(TAVIK_EXECUTABLE, o);
    ASSERT_NE(xWaitForWindow(d, "tavik", "TAvik", 60000), 0u) << p.err();
    int fd = -1;
    ASSERT_TRUE(waitUntil([&] { return (fd = tcpConnectLoopback(port)) >= 0; }, 30000)) << p.err();
    ASSERT_EQ(tcpReadReply(fd), "tavik> ");

    // Messier only and no labels of the deep-sky layer, so that neighbours
    // and texts leave every symbol whole.
    const std::string data = TAVIK_SOURCE_DIR "/data/";
    const std::string lines[] = {
        c.command,
        "LOAD AD \"" + data + "adf/sample.adf\"",
        "LOAD CLICKDATA \"" + data + "tavik.cdf\"",
        "SHOW AD;SHOW NEBULA;SHOW SKYMARK;SHOW PICTUREMARK;HIDE NGC;HIDE IC;HIDE NEBULA_NAME;HIDE NEBULA_MAG",
        "DRIVE",
    };
    for (const std::string &line : lines) {
        ASSERT_TRUE(tcpSend(fd, line + "\n"));
        EXPECT_EQ(tcpReadReply(fd), "tavik> ") << line << "\n" << p.err();
    }
    const std::string path = home.file("chart.xpm");
    ASSERT_TRUE(tcpSend(fd, "GSAVE \"" + path + "\"\n"));
    EXPECT_EQ(tcpReadReply(fd), "tavik> ");
    close(fd);
    const XpmPixels image = readXpm(d, path);
    p.kill();
    ASSERT_EQ(image.width, kSkyTruthWidth);
    ASSERT_EQ(image.height, kSkyTruthHeight + statusHeight);

    const unsigned long nebulaMark = paletteColour(d, "ColorNebulaMark");
    const unsigned long pictureMark = paletteColour(d, "ColorPictureMark");
    int nebulae = 0, jupiter = 0;
    for (int i = 0; i < c.count; i++) {
        const SkyTruthObject &object = c.objects[i];
        const double x = object.x, y = object.y + statusHeight;
        if (object.kind == kSkyTruthDeepSkyKind) {
            int32_t index = -1;
            ASSERT_TRUE(parseNebulaName(object.name, &index)) << object.name;
            const NebulaRecord &record = nebulaRecords[index];
            const int h = std::min(2, nebulaMag10(record) / 60);
            EXPECT_GE(symbolDistance(image, x, y, nebulaSymbol(nebulaType(record), h), nebulaMark), 0)
                << object.name << " has no whole symbol within " << kTolerancePx << " px of " << x << ", " << y;
            nebulae++;
        } else if (std::string(object.name) == "Jupiter") {
            EXPECT_GE(symbolDistance(image, x, y, kPictureMarkRows, pictureMark), 0)
                << "no picture mark within " << kTolerancePx << " px of Jupiter at " << x << ", " << y;
            jupiter++;
        }
    }
    EXPECT_GE(nebulae, 7);
    EXPECT_EQ(jupiter, 1);
}

} // namespace
