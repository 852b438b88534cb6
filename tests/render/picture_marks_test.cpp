// The picture-mark layer on a recording canvas: which click-data entries get
// a mark, where it stands, and the rule per kind of object.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "astro/body_records.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/ephemeris.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "render/layers/picture_marks.h"
#include "render/layers/user_objects.h"
#include "render/lines.h"
#include "render/object_screen.h"
#include "render/palette.h"
#include "render/recording_canvas.h"
#include "tests/render/chart_fixture.h"
#include "tests/support/temp_dir.h"

namespace {

struct PictureMarks : ChartFixture, ::testing::Test {
    RecordingCanvas canvas;
    TempDir dir;

    PictureMarks()
    {
        ChartState *c = chart.get();
        chartSetSite(c, 50.0, 10.0, 0.0);
        chartSetJd(c, 2451545.0, 0.0);
    }
    ~PictureMarks() override
    {
        freeClickData(chart.get());
        unloadUserObjects(chart.get());
    }

    void loadClicks(const std::string &text)
    {
        const std::string path = dir.write("marks.cdf", text);
        std::snprintf(appData->clickDataFile, sizeof appData->clickDataFile, "%s", path.c_str());
        ASSERT_EQ(loadClickData(chart.get(), path.c_str()), 1);
        ASSERT_NE(chart->clickDataIndex, nullptr);
    }

    // Where the chart puts a J2000 direction (hours, degrees).
    ProjectedPoint placeOf(double raHours, double decDeg)
    {
        const double values[2] = {raHours * 15.0, decDeg};
        ProjectedPoint p{};
        EXPECT_EQ(targetScreenPosition(chart.get(), kPosEqt, 0, values, &p), 1);
        return p;
    }

    std::vector<CanvasCall> marks() const
    {
        std::vector<CanvasCall> out;
        for (const CanvasCall &c : canvas.callsOf(OpDrawBitmap))
            if (c.a[2] == 9 && c.a[3] == 9)
                out.push_back(c);
        return out;
    }
};

TEST_F(PictureMarks, EveryEntryWithAPictureGetsOneMarkCentredOnItsPlace)
{
    chart->centerMode[0] = 15.0;
    chart->centerMode[1] = 0.0;
    view(kModeEqt, 400, 400, 60.0);
    chartSetWrapMode(chart.get());
    loadClicks("# marks\n"
               ":EQT 1 0\n@IMAGE a.jpg \"first\"\n@IMAGE b.jpg \"second\"\n"
               ":EQT 1 10\n@TEXT \"words only\"\n"
               "\n: EQT 0.5 -10\n@TEXT \"then\"\n# a comment\n@IMAGE c.jpg\n"
               ":EQT 1.5 5\n"
               ":EQT 2 0\n@TEXT \"before the next entry's picture\"\n"
               ":EQT 12 0\n@IMAGE behind.jpg\n");
    chart->pictureMarkFlags = kPictureMarkShown;
    chartDrawPictureMarks(chart.get(), &canvas);
    const std::vector<CanvasCall> drawn = marks();
    const ProjectedPoint expected[] = {placeOf(1, 0), placeOf(0.5, -10)};
    ASSERT_EQ(drawn.size(), 2u) << "two pictures of one entry make one mark; text-only entries none; "
                                   "the place behind the viewer none";
    for (size_t i = 0; i < drawn.size(); ++i) {
        EXPECT_EQ(drawn[i].a[0], expected[i].x - 4) << i;
        EXPECT_EQ(drawn[i].a[1], expected[i].y - 4) << i;
        EXPECT_EQ(drawn[i].pixel, appData->pixels[ColorPictureMark]) << i;
    }

    // Off, no index, or a file gone: nothing, and nothing said.
    canvas.clear();
    chart->pictureMarkFlags = 0;
    chartDrawPictureMarks(chart.get(), &canvas);
    EXPECT_TRUE(canvas.calls.empty());
    chart->pictureMarkFlags = kPictureMarkShown;
    std::snprintf(appData->clickDataFile, sizeof appData->clickDataFile, "%s", dir.file("gone.cdf").c_str());
    chartDrawPictureMarks(chart.get(), &canvas);
    EXPECT_TRUE(canvas.calls.empty());
    EXPECT_STREQ(appData->errorId, "");
}

TEST_F(PictureMarks, TheMarkIsTheGivenThirtyOnePixels)
{
    const char *rows[9] = {"010000010", "000111000", "010111010", "000111000", "010111010",
                           "000111000", "010111010", "000111000", "010000010"};
    int pixels = 0;
    for (int r = 0; r < 9; ++r)
        for (int c = 0; c < 9; ++c) {
            EXPECT_EQ((kPictureMarkRows[r] >> c) & 1, rows[r][c] == '1' ? 1 : 0) << r << "," << c;
            pixels += rows[r][c] == '1';
        }
    EXPECT_EQ(pixels, 31);
}

// Each kind of object is marked only while the chart shows it.
TEST_F(PictureMarks, AMarkFollowsItsObjectOnTheChart)
{
    chart->centerMode[0] = 0.0;
    chart->centerMode[1] = 0.0;
    view(kModeAll2Eqt, 800, 400, 360.0);
    ephemUpdateAll(chart.get());
    TempDir adDir;
    const std::string ad = adDir.write("one.adf", "EQT 3 20 MARK 0 Spot\n");
    ASSERT_EQ(loadUserObjectFile(chart.get(), ad.c_str(), &chart->userObjectFiles, &chart->userObjectFileCount,
                                 kUserObjectReportCommand),
              1);
    loadClicks(":EQT 6 -20\n@IMAGE a.jpg\n"   // 0
               ":STAR Sirius\n@IMAGE a.jpg\n" // 1
               ":JUPITER\n@IMAGE a.jpg\n"     // 2
               ":NEBULA M31\n@IMAGE a.jpg\n"  // 3
               ":NEBULA M57\n@IMAGE a.jpg\n"  // 4
               ":IO\n@IMAGE a.jpg\n"          // 5
               ":AD Spot\n@IMAGE a.jpg\n"     // 6
               ":LMC\n@IMAGE a.jpg\n");       // 7
    chart->nebulaLimitOn = 0; // every deep-sky object of the catalogues drawn
    int entries = 0;
    while (chart->clickDataIndex[entries].kind != -1)
        ++entries;
    ASSERT_EQ(entries, 8) << "every entry parsed";

    struct Case {
        const char *what;
        uint8_t star, nebula, milkyWay, ad, jmoon, jupiter;
        int32_t starLimit;
        bool marked[8];
    } cases[] = {
        //                 star neb  mw  ad jm  jup limit  coord star  jup   m31   m57   io    ad    lmc
        {"all shown", 1, 1, 1, 1, 1, 1, 65, {true, true, true, true, true, true, true, true}},
        {"all hidden", 0, 0, 0, 0, 0, 1, 65, {true, false, true, false, false, false, false, true}},
        {"M31 with the Milky Way only", 0, 0, 1, 0, 0, 1, 65, {true, false, true, true, false, false, false, true}},
        {"limit 3.9: no named points", 1, 1, 0, 1, 1, 1, 39, {true, true, true, true, true, false, true, false}},
        {"limit 5.9: no moons", 1, 1, 1, 1, 1, 1, 59, {true, true, true, true, true, false, true, true}},
        {"Jupiter hidden: no moons", 1, 1, 1, 1, 1, 0, 65, {true, true, false, true, true, false, true, true}},
        {"limit -3.0: Jupiter too faint", 1, 1, 1, 1, 1, 1, -30, {true, false, false, true, true, false, true, false}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        chart->starFlags = c.star ? kStarShown : 0;
        chart->nebulaFlags = c.nebula ? kNebulaShown : 0;
        chart->milkyWayFlags = c.milkyWay ? kMilkyWayShown : 0;
        chart->userObjectFlags = c.ad ? kUserObjectShownBit : 0;
        chart->jupiterMoonFlags = c.jmoon ? kJmoonShown : 0;
        chart->planetFlags[kObjectJupiter] = c.jupiter ? kBodyShown : 0;
        chart->starLimit = c.starLimit;
        for (int i = 0; i < entries; ++i) {
            ProjectedPoint p{};
            EXPECT_EQ(pictureMarkPosition(chart.get(), i, &p) == 1, c.marked[i]) << "entry " << i;
        }
    }

    // Once marked, the mark stands where the position routines put the object.
    chart->starLimit = 65;
    chart->starFlags = kStarShown;
    chart->planetFlags[kObjectJupiter] = kBodyShown;
    for (int i = 0; i < entries; ++i) {
        const ClickDataEntry &e = chart->clickDataIndex[i];
        const double values[2] = {e.value1, e.value2};
        ProjectedPoint mark{}, object{};
        ASSERT_EQ(pictureMarkPosition(chart.get(), i, &mark), 1) << i;
        ASSERT_EQ(targetScreenPosition(chart.get(), e.kind, e.index, values, &object), 1) << i;
        EXPECT_EQ(mark.x, object.x) << i;
        EXPECT_EQ(mark.y, object.y) << i;
    }
}

} // namespace
