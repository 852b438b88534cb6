// Scenes as the user meets them: a chart is set up through the commands and
// the comet dialog's OK, drawn, saved, and loaded into a chart that INIT
// emptied; the chart that comes back is the chart that was saved.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "ui/dialogs/element_dialogs.h"
#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/element_files.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "render/recording_canvas.h"
#include "render/surface.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"

namespace {

const std::string kCometFile = std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm";
const std::string kMinorPlanetFile = std::string(TAVIK_SOURCE_DIR) + "/data/mp.elm";

// A window without X: every DRIVE draws a whole frame into a recording
// canvas, so the view is recentred on its target as on the screen.
struct DrawingSurface : ChartSurface {
    RecordingCanvas drawn;
    bool made = false;
    bool windowSize(int *w, int *h) override
    {
        *w = 640;
        *h = 480;
        return true;
    }
    void recreate(int, int) override { made = true; }
    Canvas *canvas() override
    {
        drawn.clear();
        return made ? &drawn : nullptr;
    }
    void copyToWindow(int, int) override {}
};

// Line k (0-based) of a shipped element file, without its newline.
std::string fileLine(const std::string &path, int k)
{
    const std::string text = readFile(path);
    size_t at = 0;
    for (int i = 0; i < k; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(at, text.find('\n', at) - at);
}

// What the user sees of a chart: its view, target, moment, site and bodies.
struct ChartPicture {
    int32_t mode, trackState, trackKind, trackIndex, mirror;
    double centerHrz[2], centerMode[2], fieldWidth, trackValues[2];
    double solScale, solOffset[3], periodSecond;
    DateTime date;
    double longitudeDeg, latitudeDeg;
    std::string site;
    std::vector<std::string> comets, minorPlanets; // element line (fixed columns) and display byte
};

std::vector<std::string> bodies(const OrbitalElements *rows, const uint8_t *flags, int count)
{
    std::vector<std::string> out;
    for (int i = 0; i < count; i++) {
        char columns[kElementLineSize];
        elementLineColumns(rows[i].lineText, columns);
        out.push_back(std::string(columns) + " flags " + std::to_string(flags[i]));
    }
    return out;
}

ChartPicture picture(const ChartState *c)
{
    ChartPicture p{};
    p.mode = c->mode;
    p.trackState = c->trackState;
    p.trackKind = c->trackKind;
    p.trackIndex = c->trackIndex;
    p.mirror = c->mirror;
    for (int i = 0; i < 2; i++) {
        p.centerHrz[i] = c->centerHrz[i];
        p.centerMode[i] = c->centerMode[i];
        p.trackValues[i] = c->trackValues[i];
    }
    p.fieldWidth = c->fieldWidth;
    p.solScale = c->solScale;
    for (int i = 0; i < 3; i++)
        p.solOffset[i] = c->solOffset[i];
    p.periodSecond = c->period.second;
    p.date = c->sky.date;
    p.longitudeDeg = c->sky.longitudeDeg;
    p.latitudeDeg = c->sky.latitudeDeg;
    p.site = c->siteName;
    p.comets = bodies(c->cometElements, c->cometFlags, c->cometCount);
    p.minorPlanets = bodies(c->minorPlanetElements, c->minorPlanetFlags, c->minorPlanetCount);
    return p;
}

// Scenes write angles with six decimals ("%f"), hours of right ascension
// too: 1e-6 hours is 1.5e-5 degrees.
constexpr double kSceneAngleDeg = 2e-5;

void expectSamePicture(const ChartPicture &a, const ChartPicture &b)
{
    EXPECT_EQ(a.mode, b.mode);
    EXPECT_EQ(a.mirror, b.mirror);
    // A target that was reached (a LOOK, the saved VIEW CENTER) is only its
    // centre; a tracked one is the target itself.
    EXPECT_EQ(a.trackState == kTrackTarget, b.trackState == kTrackTarget);
    if (a.trackState == kTrackTarget && b.trackState == kTrackTarget) {
        EXPECT_EQ(a.trackKind, b.trackKind);
        const int32_t kind = a.trackKind & ~kTrackKindLockBit;
        if (positionIsCoordinates(kind) || kind == kPosScreen) {
            EXPECT_NEAR(a.trackValues[0], b.trackValues[0], 1e-3);
            EXPECT_NEAR(a.trackValues[1], b.trackValues[1], 1e-3);
        } else {
            EXPECT_EQ(a.trackIndex, b.trackIndex);
        }
    }
    for (int i = 0; i < 2; i++) {
        EXPECT_NEAR(a.centerHrz[i], b.centerHrz[i], kSceneAngleDeg) << "centerHrz " << i;
        EXPECT_NEAR(a.centerMode[i], b.centerMode[i], kSceneAngleDeg) << "centerMode " << i;
    }
    EXPECT_NEAR(a.fieldWidth, b.fieldWidth, 1e-6 * (1.0 + a.fieldWidth));
    EXPECT_NEAR(a.solScale, b.solScale, 1e-6 * (1.0 + a.solScale));
    for (int i = 0; i < 3; i++)
        EXPECT_NEAR(a.solOffset[i], b.solOffset[i], 1e-6 * (1.0 + std::fabs(a.solOffset[i]))) << "solOffset " << i;
    EXPECT_NEAR(a.periodSecond, b.periodSecond, 1e-6 * (1.0 + std::fabs(a.periodSecond)));
    EXPECT_EQ(a.date.year, b.date.year);
    EXPECT_EQ(a.date.month, b.date.month);
    EXPECT_EQ(a.date.day, b.date.day);
    EXPECT_EQ(a.date.hour, b.date.hour);
    EXPECT_EQ(a.date.minute, b.date.minute);
    EXPECT_NEAR(a.date.second, b.date.second, 1e-6);
    EXPECT_EQ(a.date.zone, b.date.zone);
    EXPECT_NEAR(a.longitudeDeg, b.longitudeDeg, 1e-3);
    EXPECT_NEAR(a.latitudeDeg, b.latitudeDeg, 1e-3);
    EXPECT_EQ(a.site, b.site);
    EXPECT_EQ(a.comets, b.comets);
    EXPECT_EQ(a.minorPlanets, b.minorPlanets);
}

class SceneRoundTrip : public ::testing::Test {
public:
    void SetUp() override
    {
        appData->initialising = 1; // INIT keeps the chart's site as the tests set it
        uiHooksRecordMessages();
        chartSetSurface(&surface);
        run("DATE 2024,3,20,21,30,0,1; LOCATE 14.4167E,50.0833N,1,200,\"Praha\"");
    }
    void TearDown() override
    {
        chartSetSurface(nullptr);
        uiHooksReset();
        elementListFree(&comets);
    }
    void run(const char *text)
    {
        stkExecute(chart, text);
        EXPECT_STREQ("", appData->errorId) << text;
    }
    std::string scene()
    {
        char *text = nullptr;
        size_t size = 0;
        std::FILE *out = open_memstream(&text, &size);
        SceneLeftOut leftOut;
        EXPECT_EQ(1, writeSceneFile(chart, out, 0, &leftOut));
        EXPECT_STREQ("", leftOut.text) << "nothing is left out";
        std::fclose(out);
        std::string s(text, size);
        std::free(text);
        return s;
    }
    // The comet dialog's OK with the bodies of these lines of comet.elm chosen.
    void chooseComets(const std::vector<int> &lines)
    {
        if (comets.count == 0) {
            ASSERT_EQ(3768, elementListLoad(&comets, kCometFile.c_str()));
            cometIndex = dir.file("comet.dbm");
            ASSERT_EQ(1, catalogIndexBuildTo(kCometFile.c_str(), cometIndex.c_str(), nullptr));
        }
        elementListResetFlags(&comets, kCometDialog, chart);
        for (int i = 0; i < comets.count; i++)
            comets.entries[i].flags &= static_cast<uint8_t>(~kEntryChosen);
        elementApplyToggle(&comets, lines.data(), static_cast<int>(lines.size()), 0, true);
        elementDialogOk(chart, &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str());
    }
    TestChart owner;
    ChartState *chart = owner.get();
    DrawingSurface surface;
    ElementList comets{};
    std::string cometIndex;
    TempDir dir;
};

// Lines of data/comet.elm: 0 1P/Halley, 1259 C/1995 O1 Hale-Bopp.
constexpr int kHalleyLine = 0, kHaleBoppLine = 1259;

TEST_F(SceneRoundTrip, TheChartThatComesBackIsTheChartThatWasSaved)
{
    const std::string haleBopp = fileLine(kCometFile, kHaleBoppLine);
    // A minor planet of a 189-byte line (no extension): 1 Ceres cut there.
    const std::string ceres188 = fileLine(kMinorPlanetFile, 0).substr(0, 188);
    const struct Case {
        const char *what;
        std::function<void(SceneRoundTrip *)> build;
        std::string inScene; // a piece the written scene holds
        std::function<void(SceneRoundTrip *)> loaded = [](SceneRoundTrip *) {}; // more checks after STL
    } cases[] = {
        {"a non-zero equatorial centre", [](SceneRoundTrip *t) { t->run("MODE EQT; LOOK EQT 5.5, 20; DRIVE"); },
         "\t\tMODE EQT\n"},
        {"a non-zero ecliptic centre, flipped", [](SceneRoundTrip *t) { t->run("MODE ECL; LOOK ECL 250, -12; MIRROR 2; DRIVE"); },
         "\t\tMIRROR 2\n"},
        // A SCREEN target failed the whole scene: nothing could be saved.
        // A SCREEN target moves no view: the centre it was set on comes back too.
        {"tracking a SCREEN point", [](SceneRoundTrip *t) { t->run("LOOK HRZ 90, 40; TRACK SCREEN 100 100; DRIVE"); },
         "\t\tDRIVE\n\t\tTRACK SCREEN 100.000, 100.000\n"},
        {"tracking a SCREEN point of the equatorial chart",
         [](SceneRoundTrip *t) { t->run("MODE EQT; LOOK EQT 5.5, 20; TRACK SCREEN 12.5, 300; DRIVE"); },
         "\t\tDRIVE\n\t\tTRACK SCREEN  12.500, 300.000\n"},
        // The dialog rebuilt the table under the tracked Hale-Bopp: the view
        // followed Halley, who took the first row, and the scene said so.
        {"the comet table rebuilt under a tracked comet",
         [](SceneRoundTrip *t) {
             t->chooseComets({kHaleBoppLine});
             t->run("TRACK COMET1; DRIVE");
             t->chooseComets({kHalleyLine, kHaleBoppLine});
         },
         "\t\tTRACK COMET2\n",
         [&haleBopp](SceneRoundTrip *t) {
             ASSERT_EQ(2, t->chart->cometCount);
             EXPECT_EQ(kObjectCometBase + 1, t->chart->trackIndex);
             EXPECT_EQ(haleBopp, std::string(t->chart->cometElements[1].lineText));
         }},
        // Comets added shown: a hidden one needs its HIDE line.
        {"a hidden comet among shown ones",
         [](SceneRoundTrip *t) {
             t->chooseComets({kHalleyLine, kHaleBoppLine});
             t->run("HIDE COMET2; DRIVE");
         },
         "\t\tSHOW COMET1\n\t\tHIDE COMET2\n"},
        {"shown comets and a shown minor planet",
         [&ceres188](SceneRoundTrip *t) {
             t->chooseComets({kHalleyLine, kHaleBoppLine});
             OrbitalElements e;
             ASSERT_EQ(1, parseElementLine(&e, ceres188.c_str()));
             ASSERT_EQ(1, addMinorPlanet(t->chart, &e));
             t->run("DRIVE");
         },
         "\t\tSHOW COMET\n\t\tSHOW MINORPLANET\n"},
        // A name that cannot travel in quotes failed the whole scene; one
        // without any name too. The name only pairs the statement with its
        // line, so they are written in forms that can.
        {"comets whose names cannot travel in quotes",
         [&haleBopp](SceneRoundTrip *t) {
             const std::string quoted = haleBopp.substr(0, 20) + "Hale\"Bopp;x                   " + haleBopp.substr(50);
             const std::string unnamed = std::string(1, 'C') + std::string(49, ' ') + haleBopp.substr(50, 138);
             for (const std::string &line : {quoted, unnamed, haleBopp}) {
                 OrbitalElements e;
                 ASSERT_EQ(1, parseElementLine(&e, line.c_str()));
                 ASSERT_EQ(1, addComet(t->chart, &e));
             }
             t->run("HIDE COMET3_OBT; DRIVE");
         },
         "\t\tCOMET \"Hale'Bopp,x\"\n\t\tCOMET \"COMET2\"\n\t\tCOMET \"Hale-Bopp\"\n"},
        {"a 189-byte element line",
         [&ceres188](SceneRoundTrip *t) {
             OrbitalElements e;
             ASSERT_EQ(1, parseElementLine(&e, (ceres188 + "\n").c_str()));
             ASSERT_EQ(1, addMinorPlanet(t->chart, &e));
             t->run("SHOW MINORPLANET1_NAME; DRIVE");
         },
         "\nBLOCK ORBIT\n:Ceres\n" + ceres188 + "\nEND BLOCK\n"},
        // "%f" wrote a field of 1e300 as a line of over 300 characters,
        // longer than a line the reader takes, and one of 1e-9 as 0, which
        // VIEW refuses: neither scene read back. The other numbers the
        // commands take unbounded are written the same way.
        {"a view field of 1e300 degrees", [](SceneRoundTrip *t) { t->run("MODE EQT; VIEW ANGLE 1e300; DRIVE"); },
         "\t\tVIEW ANGLE 1.0000000000000001e+300\n",
         [](SceneRoundTrip *t) { EXPECT_EQ(1e300, t->chart->fieldWidth); }},
        {"a view field of 1e-9 degrees", [](SceneRoundTrip *t) { t->run("MODE EQT; VIEW ANGLE 1e-9; DRIVE"); },
         "\t\tVIEW ANGLE 1.0000000000000001e-09\n",
         [](SceneRoundTrip *t) { EXPECT_EQ(1e-9, t->chart->fieldWidth); }},
        {"a solar-system view 1e300 AU wide, offset far off",
         [](SceneRoundTrip *t) { t->run("MODE SOL1; VIEW SOL 1e300; SOL_OFFSET -1e300, 2.5, 1e-300; DRIVE"); },
         "\t\tSOL_OFFSET -1.0000000000000001e+300,2.500000,1e-300\n",
         [](SceneRoundTrip *t) {
             EXPECT_EQ(1e300, t->chart->solScale);
             EXPECT_EQ(-1e300, t->chart->solOffset[0]);
             EXPECT_EQ(1e-300, t->chart->solOffset[2]);
         }},
        {"a period of 1e300 seconds", [](SceneRoundTrip *t) { t->run("PERIOD 0,0,0,0,0,1e300; DRIVE"); },
         "\t\tPERIOD 0,0,0,0,0,1.0000000000000001e+300\n",
         [](SceneRoundTrip *t) { EXPECT_EQ(1e300, t->chart->period.second); }},
        {"playing by the period to an end date",
         [](SceneRoundTrip *t) { t->run("PERIOD 0,0,0,0,0,1.5; CONTINUE 2024,3,20,22,5,0; DRIVE"); },
         "\t\tCONTINUE 2024,3,20,22,5,0\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        run("INIT");
        c.build(this);
        const ChartPicture saved = picture(chart);
        const std::string first = scene();
        EXPECT_NE(std::string::npos, first.find(c.inScene)) << first;
        const std::string path = dir.write("round.stl", first);
        run("INIT");
        run(("STL \"" + path + "\"").c_str());
        // A playing scene ends with CONTINUE: its first step draws.
        if (chart->playing)
            run("DRIVE");
        expectSamePicture(saved, picture(chart));
        c.loaded(this);
        EXPECT_EQ(first, scene());
        if (chart->playing)
            run("CONTINUE");
    }
    EXPECT_EQ(0, uiHooksRecordedMessageCount()) << uiHooksRecordedMessageText(0);
}

// The ORBIT block in its one layout: ":" + name, the element line exactly as
// loaded, no empty line and no padding.
TEST_F(SceneRoundTrip, TheOrbitBlockHoldsEachLineAsLoaded)
{
    const std::string ceres188 = fileLine(kMinorPlanetFile, 0).substr(0, 188);
    chooseComets({kHalleyLine, kHaleBoppLine});
    OrbitalElements e;
    ASSERT_EQ(1, parseElementLine(&e, (ceres188 + "\r\n").c_str()));
    ASSERT_EQ(1, addMinorPlanet(chart, &e));
    const std::string text = scene();
    const std::string block = "\nBLOCK ORBIT\n:Halley\n" + fileLine(kCometFile, kHalleyLine) + "\n:Hale-Bopp\n" +
                              fileLine(kCometFile, kHaleBoppLine) + "\n:Ceres\n" + ceres188 + "\nEND BLOCK\n";
    ASSERT_GE(text.size(), block.size());
    EXPECT_EQ(block, text.substr(text.size() - block.size())) << text;
}

// Scenes of older versions padded each line to 204 characters and left an
// empty line after it: they still read.
TEST_F(SceneRoundTrip, AnOldSceneWithPaddedLinesAndEmptyLinesStillReads)
{
    const std::string halley = fileLine(kCometFile, kHalleyLine), ceres188 = fileLine(kMinorPlanetFile, 0).substr(0, 188);
    const std::string padded = ceres188 + std::string(204 - 188, ' ');
    const std::string path =
        dir.write("old.stl", "BLOCK CONTROL\n\tSCENE MAIN\n\t\tINIT\n\t\tCOMET \"Halley\"\n\t\tMINORPLANET \"Ceres\"\n"
                             "\tEND SCENE\nEND BLOCK\n\nBLOCK ORBIT\n:Halley\n" +
                                 halley + "\n\n:Ceres\n" + padded + "\n\nEND BLOCK\n");
    run(("STL \"" + path + "\"").c_str());
    ASSERT_EQ(1, chart->cometCount);
    ASSERT_EQ(1, chart->minorPlanetCount);
    EXPECT_EQ(halley, std::string(chart->cometElements[0].lineText));
    EXPECT_EQ(padded, std::string(chart->minorPlanetElements[0].lineText));
}

// A stream that counts the bytes it hands out.
struct CountedFile {
    std::FILE *file;
    long long bytes = 0;
};
ssize_t countedRead(void *cookie, char *buf, size_t size)
{
    auto *c = static_cast<CountedFile *>(cookie);
    const size_t got = std::fread(buf, 1, size, c->file);
    c->bytes += static_cast<long long>(got);
    return static_cast<ssize_t>(got);
}
int countedSeek(void *cookie, off64_t *position, int whence)
{
    auto *c = static_cast<CountedFile *>(cookie);
    if (fseeko(c->file, *position, whence) != 0)
        return -1;
    *position = ftello(c->file);
    return 0;
}
int countedClose(void *cookie) { return std::fclose(static_cast<CountedFile *>(cookie)->file); }

// Each COMET and MINORPLANET statement read the file again from its start
// for its ORBIT line, so loading grew with the square of the bodies: the
// block is read once, and the file about once in all.
TEST_F(SceneRoundTrip, AThousandBodiesAreLoadedReadingTheFileAboutOnce)
{
    const std::string text = readFile(kMinorPlanetFile);
    std::vector<std::string> lines;
    for (size_t at = 0; lines.size() < 1000; at = text.find('\n', at) + 1) {
        lines.push_back(text.substr(at, text.find('\n', at) - at));
        OrbitalElements e;
        ASSERT_EQ(1, parseElementLine(&e, lines.back().c_str()));
        ASSERT_EQ(1, addMinorPlanet(chart, &e));
    }
    const std::string path = dir.write("many.stl", scene());
    const long long size = static_cast<long long>(readFile(path).size());
    run("INIT");
    ASSERT_EQ(0, chart->minorPlanetCount);
    CountedFile counted{std::fopen(path.c_str(), "r")};
    ASSERT_NE(nullptr, counted.file);
    std::FILE *in = fopencookie(&counted, "r", cookie_io_functions_t{countedRead, nullptr, countedSeek, countedClose});
    ASSERT_NE(nullptr, in);
    EXPECT_EQ(1, loadSceneStream(chart, in));
    const long long bytes = counted.bytes;
    std::fclose(in);
    EXPECT_STREQ("", appData->errorId);
    ASSERT_EQ(1000, chart->minorPlanetCount);
    for (int i = 0; i < 1000; i++)
        ASSERT_EQ(lines[static_cast<size_t>(i)], std::string(chart->minorPlanetElements[i].lineText)) << i;
    EXPECT_LE(bytes, 2 * size) << "read " << bytes << " bytes of a " << size << "-byte scene";
}

} // namespace
