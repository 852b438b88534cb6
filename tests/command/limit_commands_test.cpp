// MAG, INCMAG, DECMAG, STARSIZE, STARDATA, MIRROR, GRID, DISK_MAG, SOL_OFFSET
// and PERIOD, each case a command text run on a default chart.
#include <cstdio>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "command/parameters.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "resources/catalogs.h"
#include "tests/render/gsc_tree.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"

namespace {

struct Case {
    const char *name;
    const char *text;
    double (*field)(const ChartState *);
    double expected;
    const char *errorArg; // null: no error expected
};

double starLimitSet(const ChartState *c) { return c->starLimitSet; }
double fixedLimitOn(const ChartState *c) { return c->fixedLimitOn; }
double fixedLimit(const ChartState *c) { return c->fixedLimit; }
double starNameLimit(const ChartState *c) { return c->starNameLimit; }
double nebulaMin(const ChartState *c) { return c->nebulaMin; }
double nebulaMax(const ChartState *c) { return c->nebulaMax; }
double nebulaLimitOn(const ChartState *c) { return c->nebulaLimitOn; }
double starSize(const ChartState *c) { return c->starSize; }
double starFlags(const ChartState *c) { return c->starFlags; }
double catalogLimit(const ChartState *c) { return c->catalogLimit; }
double mirror(const ChartState *c) { return c->mirror; }
double gridMode(const ChartState *c) { return c->gridNumberFlags & 3; }
double gridNumbers(const ChartState *c) { return c->gridNumberFlags & ~3; }
double diskMag(const ChartState *c) { return c->diskMag; }
double solOffsetY(const ChartState *c) { return c->solOffset[1]; }
double solOffsetZ(const ChartState *c) { return c->solOffset[2]; }
double periodDay(const ChartState *c) { return c->period.day; }
double periodMinute(const ChartState *c) { return c->period.minute; }
double periodSecond(const ChartState *c) { return c->period.second; }

const Case kCases[] = {
    {"MAG STAR without value returns to the automatic limit", "INCMAG STAR 1; MAG STAR",
     starLimitSet, 0, nullptr},
    {"MAG STAR fixes the limit", "MAG STAR 5.5", fixedLimit, 55, nullptr},
    {"MAG STAR switches the fixed limit on", "MAG STAR 5.5", fixedLimitOn, 1, nullptr},
    {"tenths truncate toward zero", "MAG STAR -0.55", fixedLimit, -5, nullptr},
    {"one typed decimal is not lost", "MAG STARNAME 0.7", starNameLimit, 7, nullptr},
    {"MAG STARNAME default", "MAG STARNAME 3; MAG STARNAME", starNameLimit, 14, nullptr},
    {"MAG NEBULAMIN default", "MAG NEBULAMIN 5; mag nebulamin", nebulaMin, 110, nullptr},
    {"MAG NEBULAMAX", "MAG NEBULAMAX 2.5", nebulaMax, 25, nullptr},
    {"MAG NEBULALIMIT 2 is off", "MAG NEBULALIMIT 2", nebulaLimitOn, 0, nullptr},
    {"MAG NEBULALIMIT 1 is on", "MAG NEBULALIMIT 0; MAG NEBULALIMIT 1", nebulaLimitOn, 1, nullptr},
    {"MAG NEBULALIMIT alone is on", "MAG NEBULALIMIT 0; MAG NEBULALIMIT", nebulaLimitOn, 1, nullptr},
    {"MAG unknown keyword", "MAG PLANET 3", fixedLimitOn, 0, "PLANET"},
    {"MAG without keyword", "MAG", fixedLimitOn, 0, ""},
    {"INCMAG STAR capped at the catalogue limit", "INCMAG STAR 10", fixedLimit, 65, nullptr},
    {"DECMAG STAR not below -2.0", "DECMAG STAR 10", fixedLimit, -20, nullptr},
    {"INCMAG STAR from the current limit", "INCMAG STAR 1", fixedLimit, 55, nullptr},
    {"DECMAG STARNAME first drops to the star limit", "MAG STARNAME 8; DECMAG STARNAME 1",
     starNameLimit, 35, nullptr},
    {"INCMAG NEBULAMIN steps the faint limit", "INCMAG NEBULAMIN 10", nebulaMin, 210, nullptr},
    {"INCMAG NEBULAMIN stops at the end of the limit range", "INCMAG NEBULAMIN 100", nebulaMin, kLimitTenthsMax,
     nullptr},
    {"DECMAG NEBULAMAX", "DECMAG NEBULAMAX 1", nebulaMax, -10, nullptr},
    {"INCMAG NEBULALIMIT refused", "INCMAG NEBULALIMIT 1", nebulaLimitOn, 1, "NEBULALIMIT"},
    {"INCMAG without amount refused", "INCMAG STAR", fixedLimitOn, 0, ""},
    {"STARSIZE in tenths", "STARSIZE 3", starSize, 30, nullptr},
    {"STARSIZE without size refused", "STARSIZE", starSize, 0, ""},
    {"STARDATA SAO", "STARDATA sao", starFlags, 0x21, nullptr},
    {"STARDATA SAO limit", "STARDATA SAO", catalogLimit, 95, nullptr},
    {"STARDATA GSC clears SAO", "STARDATA SAO; STARDATA GSC", starFlags, 0x41, nullptr},
    {"STARDATA GSC limit", "STARDATA GSC", catalogLimit, 170, nullptr},
    {"STARDATA other is the bright-star table", "STARDATA GSC; STARDATA X", catalogLimit, 65, nullptr},
    {"STARDATA alone clears both", "STARDATA SAO; STARDATA", starFlags, 0x01, nullptr},
    {"MIRROR 2", "MIRROR 2", mirror, 2, nullptr},
    {"MIRROR 3 refused with its text", "MIRROR 3", mirror, 0, "3"},
    {"MIRROR -1 refused with its text", "MIRROR 1; MIRROR -1", mirror, 1, "-1"},
    {"MIRROR without value", "MIRROR", mirror, 0, ""},
    {"GRID MODE2", "GRID mode2", gridMode, 2, nullptr},
    {"GRID keeps the number bits", "GRID MODE3", gridNumbers, 0, nullptr},
    {"GRID unknown", "GRID MODE4", gridMode, 0, "MODE4"},
    {"DISK_MAG 0 refused", "DISK_MAG 0", diskMag, 100, "0"},
    {"DISK_MAG 501 refused", "DISK_MAG 501", diskMag, 100, "501"},
    {"DISK_MAG 500", "DISK_MAG 500", diskMag, 500, nullptr},
    {"SOL_OFFSET values, omitted 0", "SOL_OFFSET 1, 2.5", solOffsetY, 2.5, nullptr},
    {"SOL_OFFSET omitted z", "SOL_OFFSET 1, 2.5", solOffsetZ, 0, nullptr},
    {"SOL_OFFSET OFF", "SOL_OFFSET 1,2,3; SOL_OFFSET off", solOffsetY, 0, nullptr},
    {"PERIOD omitted fields are 0", "PERIOD 0,0,1", periodMinute, 0, nullptr},
    {"PERIOD days", "PERIOD 0,0,1", periodDay, 1, nullptr},
    {"PERIOD seconds", "PERIOD ,,,,,30.5", periodSecond, 30.5, nullptr},
};

TEST(LimitCommands, CasesTable)
{
    gsctree::Tree gsc; // a usable Guide Star Catalog, so STARDATA GSC has nothing to report either
    gsc.build(gsc.dir.path() + "/gsc", false, {});
    uiHooksRecordMessages();
    for (const Case &c : kCases) {
        TestChart owner;
        ChartState *chart = owner.get();
        // A usable catalogue file, so STARDATA SAO has nothing to report.
        std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s/data/tavik.sao", TAVIK_SOURCE_DIR);
        gsc.use(gsc.dir.path() + "/gsc");
        appData->commandFromSocket = 1; // keep the message, show no box
        stkExecute(chart, c.text);
        EXPECT_EQ(c.field(chart), c.expected) << c.name;
        if (c.errorArg) {
            EXPECT_STREQ(appData->errorId, "stkErrorIllegalParam") << c.name;
            EXPECT_STREQ(appData->errorArg, c.errorArg) << c.name;
        } else {
            EXPECT_STREQ(appData->errorId, "") << c.name << ": " << appData->errorMessage;
        }
    }
    appData->commandFromSocket = 0;
    uiHooksReset();
    gscFreeRegionTable();
}

// An unusable catalogue file: the choice is kept (a scene keeps it; the
// frame draws the bright stars), the command replies nothing, and standard
// error says once which file it is and whether it is missing or unusable.
TEST(LimitCommands, StarDataSaoKeepsTheChoiceAndNamesAnUnusableFileOnce)
{
    TempDir dir;
    const std::string wrongMagic = dir.write("magic.sao", std::string("TAVIK  30 sao 10") + std::string(12, '\0'));
    const std::string usable = std::string(TAVIK_SOURCE_DIR) + "/data/tavik.sao";
    struct FileCase {
        const char *name;
        std::string path;
        const char *said; // on standard error before the path; null: nothing
    } cases[] = {
        {"missing", dir.file("none.sao"), "Star catalogue file not found: "},
        {"wrong magic", wrongMagic, "Star catalogue file unusable: "},
        {"the magic and one record: not the size the zones need",
         dir.write("short.sao", std::string(saoMagic, saoMagicSize) + std::string(12, '\0')),
         "Star catalogue file unusable: "},
        {"a directory", dir.path(), "Star catalogue file unusable: "},
        {"the installed catalogue", usable, nullptr},
    };
    uiHooksRecordMessages();
    for (const FileCase &c : cases) {
        TestChart owner;
        ChartState *chart = owner.get();
        std::snprintf(appData->saoFile, sizeof appData->saoFile, "%s", c.path.c_str());
        appData->commandFromSocket = 1;
        testing::internal::CaptureStderr();
        stkExecute(chart, "STARDATA SAO");
        stkExecute(chart, "STARDATA SAO");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(chart->starFlags & 0x20, 0x20) << c.name;
        EXPECT_EQ(chart->catalogLimit, 95) << c.name;
        EXPECT_STREQ(appData->errorId, "") << c.name;
        EXPECT_EQ(said, c.said ? "tavik: " + std::string(c.said) + c.path + "; the bright stars are drawn.\n" : "")
            << c.name;
    }
    appData->commandFromSocket = 0;
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
    uiHooksReset();
}

TEST(Parameters, NumbersAsHandlersReadThem)
{
    EXPECT_EQ(stkParamInt("  42abc"), 42);
    EXPECT_EQ(stkParamInt("x"), 0);
    EXPECT_EQ(stkParamInt("99999999999999"), INT32_MAX);
    EXPECT_EQ(stkParamInt(nullptr), 0);
    EXPECT_EQ(stkParamReal("1.5e1x"), 15.0);
    EXPECT_EQ(stkParamReal("1e999"), 0.0) << "an infinity is no number";
    EXPECT_EQ(stkParamTenths("4.5"), 45);
    EXPECT_EQ(stkParamTenths("1e30"), INT32_MAX);
    EXPECT_EQ(strEqualNoCase("off", "OFF"), 1);
    EXPECT_EQ(strEqualNoCase("OF", "OFF"), 0);
    EXPECT_EQ(strEqualNoCase(nullptr, "OFF"), 0);
}

} // namespace
