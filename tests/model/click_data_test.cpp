// The click-data index and the texts and pictures of its entries.
#include "model/click_data.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "astro/body_records.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/lexing.h"
#include "model/position.h"
#include "model/user_objects.h"
#include "tests/support/temp_dir.h"

namespace {

class ClickData : public ::testing::Test {
protected:
    std::unique_ptr<ChartState> owner{new ChartState{}};
    ChartState *chart = owner.get();
    TempDir dir;

    void SetUp() override
    {
        appData = &theAppData;
        appDataSetDefaults();
        chartStateSetDefaults(chart);
        chartSetSite(chart, 51.4769, 0.0, 0.0);
        chartSetJd(chart, 2451545.0, 0.0);
        stkClearError();
    }
    void TearDown() override
    {
        freeClickData(chart);
        chartStateFreeTables(chart);
    }
    void use(const std::string &text)
    {
        std::string path = dir.write("test.cdf", text);
        strCopyBounded(appData->clickDataFile, kPathSize, path.c_str());
        ASSERT_EQ(loadClickData(chart, path.c_str()), 1);
    }
    int rows() const
    {
        int n = 0;
        for (const ClickDataEntry *e = chart->clickDataIndex; e && e->kind != -1; ++e)
            ++n;
        return n;
    }
};

TEST_F(ClickData, TheInstalledFileGivesItsEntries)
{
    std::string path = std::string(TAVIK_SOURCE_DIR) + "/data/tavik.cdf";
    strCopyBounded(appData->clickDataFile, kPathSize, path.c_str());
    ASSERT_EQ(loadClickData(chart, path.c_str()), 1);
    EXPECT_EQ(rows(), 16);
    char text[kClickTextSize];
    int hasImage = 0;
    ASSERT_EQ(clickDataText(chart, kPosBody, -2, text, sizeof text, &hasImage), 1);
    EXPECT_STREQ(text, "Our star: a G2 dwarf, 109 Earth diameters wide.");
    EXPECT_EQ(hasImage, 1);
}

TEST_F(ClickData, EntriesTextsAndPictures)
{
    use("# notes\n"
        ":MARS\n@TEXT first\n@IMAGE\n@TEXT \"the second\"\n"
        ": NEBULA M42\n@IMAGE m42.jpg \"The Orion Nebula\"\n@IMAGE m42b.jpg\nother line\n"
        ":EQT 5.5 -5\r\n@IMAGE spot.jpg\r\n"
        ":NOSUCHTHING\n@TEXT lost\n"
        ":JUPITER\n");
    ASSERT_EQ(rows(), 4) << "the unreadable entry is skipped";
    char text[kClickTextSize];
    int hasImage = 1;
    EXPECT_EQ(clickDataText(chart, kPosBody, 2, text, sizeof text, &hasImage), 1);
    EXPECT_STREQ(text, "the second");
    EXPECT_EQ(hasImage, 0) << "@IMAGE without a file is no picture";

    int32_t kind, index;
    double values[2];
    int32_t used;
    char m42[] = "NEBULA";
    ASSERT_EQ(parsePositionSpec(chart, m42, "M42", nullptr, &kind, &index, values, &used), 1);
    EXPECT_EQ(clickDataText(chart, kind, index, text, sizeof text, &hasImage), 1);
    EXPECT_STREQ(text, "");
    EXPECT_EQ(hasImage, 1);
    ImageList *list = imageListNew();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(clickDataImages(chart, kind, index, list), 2);
    ASSERT_EQ(list->count, 2);
    EXPECT_STREQ(list->items[0].file, "m42.jpg");
    EXPECT_STREQ(list->items[0].caption, "The Orion Nebula");
    EXPECT_STREQ(list->items[1].file, "m42b.jpg");
    EXPECT_EQ(list->items[1].caption, nullptr);
    imageListFree(list);

    // The coordinate entry keeps its place (5.5 h = 82.5 degrees).
    const ClickDataEntry &spot = chart->clickDataIndex[2];
    EXPECT_EQ(spot.kind, kPosEqt);
    EXPECT_DOUBLE_EQ(spot.value1, 82.5);
    EXPECT_DOUBLE_EQ(spot.value2, -5.0);

    EXPECT_EQ(clickDataText(chart, kPosBody, kObjectJupiter, text, sizeof text, &hasImage), 0) << "JUPITER has no @ line";
}

TEST_F(ClickData, EmptyMissingAndOverlongFiles)
{
    use("# nothing here\n\n");
    EXPECT_EQ(chart->clickDataIndex, nullptr);
    char text[64];
    int hasImage;
    EXPECT_EQ(clickDataText(chart, kPosBody, 2, text, sizeof text, &hasImage), 0);

    use(":MARS\n@TEXT red\n");
    ASSERT_EQ(rows(), 1);
    EXPECT_EQ(loadClickData(chart, dir.file("missing.cdf").c_str()), 0);
    EXPECT_STREQ(appData->errorId, "stkErrorFileNotFound");
    EXPECT_EQ(rows(), 1) << "a missing file keeps the working index";

    // A line over 2047 characters whose rest would begin ":" makes no entry.
    use(":MARS\n@TEXT " + std::string(2047 - 6, 'x') + ":JUPITER\n@TEXT short\n");
    EXPECT_EQ(rows(), 1);
    EXPECT_EQ(clickDataText(chart, kPosBody, 2, text, sizeof text, &hasImage), 1);
    EXPECT_STREQ(text, "short");
    // clickDataText keeps to its buffer.
    use(":MARS\n@TEXT " + std::string(100, 'y') + "\n");
    char small[8];
    EXPECT_EQ(clickDataText(chart, kPosBody, 2, small, sizeof small, &hasImage), 1);
    EXPECT_STREQ(small, "yyyyyyy");
}

} // namespace
