// The comet and minor-planet dialogs without X: lists of the shipped element
// files, keys, items, toggles over a selection, search, the gauge and OK.
#include "ui/dialogs/element_dialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_state.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"

namespace {

const std::string kCometFile = std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm";
const std::string kMinorPlanetFile = std::string(TAVIK_SOURCE_DIR) + "/data/mp.elm";

std::vector<std::string> sent;
void recordText(ChartState *, const char *text) { sent.emplace_back(text); }

// The gauge as a test sees it.
struct FakeGauge {
    int opened = 0, closed = 0, cancelAt = -1, calls = 0;
    std::string title;
    std::vector<int> percents;
    ChartState *initAt = nullptr; // frees the tables at the 3rd step, as INIT would
};
FakeGauge gauge;

class ElementDialog : public ::testing::Test {
protected:
    void SetUp() override
    {
        sent.clear();
        gauge = FakeGauge{};
        stkExecuteCall = recordText;
        uiHooksReset();
        uiHooks.openGaugeDialog = [](const char *t) { ++gauge.opened, gauge.title = t; };
        uiHooks.gaugeDlgSetPercent = [](int p) {
            gauge.percents.push_back(p);
            if (gauge.initAt && gauge.percents.size() == 3)
                chartStateFreeTables(gauge.initAt);
        };
        uiHooks.gaugeDlgCancelled = [] { return ++gauge.calls == gauge.cancelAt ? 1 : 0; };
        uiHooks.closeGaugeDialog = [] { ++gauge.closed; };
    }
    void TearDown() override
    {
        stkExecuteCall = stkExecute;
        uiHooksReset();
        elementListFree(&comets);
        elementListFree(&minorPlanets);
    }
    void loadComets()
    {
        ASSERT_EQ(elementListLoad(&comets, kCometFile.c_str()), 3768);
        cometIndex = dir.file("comet.dbm");
        ASSERT_EQ(catalogIndexBuildTo(kCometFile.c_str(), cometIndex.c_str(), nullptr), 1);
    }
    void loadMinorPlanets()
    {
        ASSERT_EQ(elementListLoad(&minorPlanets, kMinorPlanetFile.c_str()), 7098);
        mpIndex = dir.file("mp.dbm");
        ASSERT_EQ(catalogIndexBuildTo(kMinorPlanetFile.c_str(), mpIndex.c_str(), nullptr), 1);
    }
    int findItem(const ElementList &list, const std::string &item) const
    {
        char text[kElementItemSize];
        for (int i = 0; i < list.count; ++i) {
            elementEntryItem(&list.entries[i], text);
            if (item == text)
                return i;
        }
        return -1;
    }
    TestChart chart;
    ElementList comets{}, minorPlanets{};
    TempDir dir;
    std::string cometIndex, mpIndex;
};

std::string fileLine(const std::string &path, int k)
{
    std::string text = readFile(path);
    size_t at = 0;
    for (int i = 0; i < k; ++i)
        at = text.find('\n', at) + 1;
    return text.substr(at, text.find('\n', at) - at);
}

TEST_F(ElementDialog, ItemsShowTheKeyAndTheName)
{
    loadComets();
    struct Case {
        int line; // 0-based line of data/comet.elm
        const char *item;
    } cases[] = {
        {0, "1P/HALLEY       Halley                        "},
        {75, "73P/SCHWASSMANN Schwassmann-Wachmann 3        "},
        {77, "73P/SCHWASSMANN Schwassmann-Wachmann 3-B      "},
    };
    for (const Case &c : cases) {
        char item[kElementItemSize];
        elementEntryItem(&comets.entries[c.line], item);
        EXPECT_STREQ(item, c.item) << c.line;
    }
    char item[kElementItemSize];
    formatElementItem("A-KEY-LONGER-THAN-15", "A name longer than thirty characters", item);
    EXPECT_STREQ(item, "A-KEY-LONGER-TH A name longer than thirty char");

    // A minor planet without an extension is keyed by its designation.
    const std::string path = dir.write("mp.elm", fileLine(kMinorPlanetFile, 0).substr(0, 188) + "\n");
    ASSERT_EQ(elementListLoad(&minorPlanets, path.c_str()), 1);
    EXPECT_STREQ(minorPlanets.entries[0].key, "A801 AA");
}

TEST_F(ElementDialog, CrlfLinesOf205BytesGiveOneEntryEach)
{
    std::string line = fileLine(kCometFile, 0), other = fileLine(kCometFile, 77);
    const std::string path = dir.write("crlf.elm", line + "\r\n" + other + "\r\n");
    ASSERT_EQ(elementListLoad(&comets, path.c_str()), 2);
    EXPECT_EQ(comets.entries[1].offset, 206);
    EXPECT_EQ(elementListLoad(&comets, dir.file("absent.elm").c_str()), kElementListNoFile);
    EXPECT_EQ(comets.count, 0);
    EXPECT_EQ(elementListLoad(&comets, dir.write("empty.elm", "").c_str()), 0);
}

TEST_F(ElementDialog, OkLoadsTheChosenLinesAndSendsTheirCommands)
{
    loadComets();
    elementListResetFlags(&comets, kCometDialog, chart.get());
    const int halley = findItem(comets, "1P/HALLEY       Halley                        ");
    const int b = findItem(comets, "73P/SCHWASSMANN Schwassmann-Wachmann 3-B      ");
    ASSERT_GE(halley, 0);
    ASSERT_GE(b, 0);
    const int selected[] = {b, halley}; // chosen in the other order
    elementApplyToggle(&comets, selected, 2, 0, true);
    elementApplyToggle(&comets, selected, 2, 1, true);
    ASSERT_EQ(elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str()), 2);
    EXPECT_EQ(sent, (std::vector<std::string>{
                        "SHOW COMET1_NAME;HIDE COMET1_DATE;HIDE COMET1_MAG;SHOW COMET1_OBT;SHOW IONTAIL1;SHOW DUSTTAIL1;",
                        "SHOW COMET2_NAME;HIDE COMET2_DATE;HIDE COMET2_MAG;SHOW COMET2_OBT;SHOW IONTAIL2;SHOW DUSTTAIL2;",
                        "DRIVE"}));
    ASSERT_EQ(chart->cometCount, 2);
    EXPECT_EQ(std::string(chart->cometElements[0].lineText, 204), fileLine(kCometFile, 0));
    EXPECT_EQ(std::string(chart->cometElements[1].lineText, 204), fileLine(kCometFile, 77)) << "not the last 73P";
    EXPECT_EQ(gauge.opened, 0);

    // Reopened: both chosen with their settings, the rest at the defaults.
    chart->cometFlags[0] |= kEntryDate;
    elementListResetFlags(&comets, kCometDialog, chart.get());
    EXPECT_EQ(comets.entries[halley].flags, 0xE2 | kEntryDate);
    EXPECT_EQ(comets.entries[b].flags, 0xE2);
    EXPECT_EQ(comets.entries[76].flags, 0xE0) << "73P-A";

    // Nothing chosen: the table is emptied and only DRIVE is sent.
    sent.clear();
    OwnedChart empty;
    elementListResetFlags(&comets, kCometDialog, empty.get());
    EXPECT_EQ(elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str()), 0);
    EXPECT_EQ(sent, (std::vector<std::string>{"DRIVE"}));
    EXPECT_EQ(chart->cometCount, 0);
}

int lookHrzRefreshes = 0;

// OK empties the table and refills it: a target or pick that named a body by
// its number named whatever body came to stand at it (the view jumped to
// Halley, a scene said TRACK COMET1). They follow their body's line, or are
// dropped when it is gone.
TEST_F(ElementDialog, ATargetOrPickFollowsItsBodyAcrossARebuild)
{
    loadComets();
    appData->initialising = 1; // INIT keeps the site and says nothing of it
    const int halley = findItem(comets, "1P/HALLEY       Halley                        ");
    const int haleBopp = findItem(comets, "C/1995 O1       Hale-Bopp                     ");
    ASSERT_GE(halley, 0);
    ASSERT_GE(haleBopp, 0);
    const std::string haleBoppLine = fileLine(kCometFile, haleBopp);
    struct Case {
        const char *what;
        bool pick;             // the pick, else a LOOK/TRACK target
        const char *target;    // the command that aims at Hale-Bopp (target cases)
        std::vector<int> then; // the bodies chosen at the second OK
        int32_t trackState, index; // after it; index -1: the pick dropped
    } cases[] = {
        {"a tracked comet moves to its new row", false, "TRACK COMET1", {halley, haleBopp}, 2, kObjectCometBase + 1},
        {"a LOOK target too", false, "LOOK COMET1", {halley, haleBopp}, 1, kObjectCometBase + 1},
        {"a tracked comet that is gone stops the tracking", false, "TRACK COMET1", {halley}, 0, -1},
        {"a picked comet moves to its new row", true, nullptr, {halley, haleBopp}, 0, kObjectCometBase + 1},
        {"a picked comet that is gone is no pick", true, nullptr, {halley}, 0, -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        stkExecute(chart.get(), "INIT");
        uiHooks.toolbarRefreshOne = [](ChartState *, int, int, int button) {
            if (button == kToolbarLookHrz)
                ++lookHrzRefreshes;
        };
        elementListResetFlags(&comets, kCometDialog, chart.get());
        const int first[] = {haleBopp};
        elementApplyToggle(&comets, first, 1, 0, true);
        ASSERT_EQ(elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str()), 1);
        if (c.pick) {
            chart->hitKind = kPosBody; // a click on it
            chart->hitIndex = kObjectCometBase;
        } else {
            stkExecute(chart.get(), c.target);
            ASSERT_STREQ(appData->errorId, "");
        }
        lookHrzRefreshes = 0;
        elementListResetFlags(&comets, kCometDialog, chart.get());
        elementApplyToggle(&comets, first, 1, 0, false); // chosen anew below, or not
        elementApplyToggle(&comets, c.then.data(), static_cast<int>(c.then.size()), 0, true);
        elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str());
        ASSERT_EQ(chart->cometCount, static_cast<int>(c.then.size()));
        if (c.pick) {
            EXPECT_EQ(chart->hitKind, c.index < 0 ? -1 : kPosBody);
            if (c.index >= 0) {
                EXPECT_EQ(chart->hitIndex, c.index);
            }
        } else {
            EXPECT_EQ(chart->trackState, c.trackState);
            if (c.index >= 0) {
                EXPECT_EQ(chart->trackIndex, c.index);
            }
            EXPECT_EQ(lookHrzRefreshes, c.trackState == 0 ? 1 : 0) << "the tool bar shows tracking ended";
        }
        if (c.index >= 0) {
            EXPECT_EQ(std::string(chart->cometElements[c.index - kObjectCometBase].lineText), haleBoppLine);
        }
    }
    // The minor-planet dialog leaves a comet target alone.
    stkExecute(chart.get(), "TRACK COMET1");
    const int32_t tracked = chart->trackIndex;
    loadMinorPlanets();
    const int one[] = {0};
    elementApplyToggle(&minorPlanets, one, 1, 0, true);
    elementDialogOk(chart.get(), &minorPlanets, kMinorPlanetDialog, kMinorPlanetFile.c_str(), mpIndex.c_str());
    EXPECT_EQ(chart->trackState, 2);
    EXPECT_EQ(chart->trackIndex, tracked);
}

TEST_F(ElementDialog, EntriesLoadWithoutAnIndex)
{
    loadComets();
    const int selected[] = {77};
    elementApplyToggle(&comets, selected, 1, 0, true);
    const std::string noIndex = dir.file("no-such-dir/comet.dbm");
    ASSERT_EQ(elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), noIndex.c_str()), 1);
    EXPECT_EQ(std::string(chart->cometElements[0].lineText, 204), fileLine(kCometFile, 77));
}

TEST_F(ElementDialog, EveryMinorPlanetLoadsItsOwnLineInFileOrder)
{
    loadMinorPlanets();
    elementListResetFlags(&minorPlanets, kMinorPlanetDialog, chart.get());
    std::vector<int> all(static_cast<size_t>(minorPlanets.count));
    for (int i = 0; i < minorPlanets.count; ++i)
        all[static_cast<size_t>(i)] = i;
    elementApplyToggle(&minorPlanets, all.data(), minorPlanets.count, 0, true);
    ASSERT_EQ(elementDialogOk(chart.get(), &minorPlanets, kMinorPlanetDialog, kMinorPlanetFile.c_str(),
                              mpIndex.c_str()),
              7098);
    ASSERT_EQ(chart->minorPlanetCount, 7098);
    const std::string text = readFile(kMinorPlanetFile);
    size_t at = 0;
    for (int k = 0; k < 7098; ++k) {
        const size_t end = text.find('\n', at);
        ASSERT_EQ(std::string(chart->minorPlanetElements[k].lineText, end - at), text.substr(at, end - at)) << k;
        at = end + 1;
    }
    EXPECT_EQ(sent.size(), 7099u);
    EXPECT_EQ(sent[7097], "HIDE MINORPLANET7098_NAME;HIDE MINORPLANET7098_DATE;HIDE MINORPLANET7098_MAG;"
                          "SHOW MINORPLANET7098_OBT;");
    EXPECT_EQ(gauge.opened, 1);
    EXPECT_EQ(gauge.title, "messageReadingMinorPlanets");
    EXPECT_EQ(gauge.percents.front(), 0);
    EXPECT_EQ(gauge.percents.back(), 100);
    // Reopened: every entry chosen again.
    elementListResetFlags(&minorPlanets, kMinorPlanetDialog, chart.get());
    int chosen = 0;
    for (int i = 0; i < minorPlanets.count; ++i)
        chosen += (minorPlanets.entries[i].flags & kEntryChosen) != 0;
    EXPECT_EQ(chosen, 7098);
}

TEST_F(ElementDialog, GaugeOpensFromOneHundredCometsOrOneHundredAndOneMinorPlanets)
{
    loadComets();
    loadMinorPlanets();
    struct Case {
        ElementDialogKind kind;
        int chosen;
        int opened;
    } cases[] = {{kCometDialog, 99, 0}, {kCometDialog, 100, 1}, {kMinorPlanetDialog, 100, 0}, {kMinorPlanetDialog, 101, 1}};
    for (const Case &c : cases) {
        gauge = FakeGauge{};
        ElementList &list = c.kind == kCometDialog ? comets : minorPlanets;
        elementListResetFlags(&list, c.kind, chart.get());
        std::vector<int> first;
        for (int i = 0; i < c.chosen; ++i)
            first.push_back(i);
        elementApplyToggle(&list, first.data(), c.chosen, 0, true);
        elementDialogOk(chart.get(), &list, c.kind, c.kind == kCometDialog ? kCometFile.c_str() : kMinorPlanetFile.c_str(),
                        c.kind == kCometDialog ? cometIndex.c_str() : mpIndex.c_str());
        EXPECT_EQ(gauge.opened, c.opened) << c.chosen;
        EXPECT_EQ(gauge.closed, c.opened) << c.chosen;
        if (c.opened) {
            // 100 k / d: for 100 comets d is 101, so the last step is 99.
            ASSERT_EQ(gauge.percents.size(), static_cast<size_t>(c.chosen)) << c.chosen;
            EXPECT_EQ(gauge.percents.back(), c.kind == kCometDialog ? 99 : 100) << c.chosen;
        }
    }
}

TEST_F(ElementDialog, CancelStopsTheLoadAndInitMeanwhileIsHarmless)
{
    loadComets();
    std::vector<int> first;
    for (int i = 0; i < 120; ++i)
        first.push_back(i);
    elementApplyToggle(&comets, first.data(), 120, 0, true);
    gauge.cancelAt = 50;
    EXPECT_EQ(elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str()), 49);
    EXPECT_EQ(chart->cometCount, 49);
    EXPECT_EQ(sent.back(), "DRIVE");
    EXPECT_EQ(sent.size(), 50u);

    // INIT while the gauge runs frees the tables; the load installs its rows after.
    gauge = FakeGauge{};
    gauge.initAt = chart.get();
    sent.clear();
    EXPECT_EQ(elementDialogOk(chart.get(), &comets, kCometDialog, kCometFile.c_str(), cometIndex.c_str()), 120);
    EXPECT_EQ(chart->cometCount, 120);
}

TEST_F(ElementDialog, TogglesOverASelection)
{
    loadComets();
    elementListResetFlags(&comets, kCometDialog, chart.get());
    comets.entries[0].flags = 0xE2 | kEntryName;
    comets.entries[1].flags = 0xE2;
    comets.entries[2].flags = 0xE0;
    struct Case {
        std::vector<int> selected;
        ElementDialogKind kind;
        std::vector<ElementToggleValue> values;
        std::vector<bool> sensitive;
    } cases[] = {
        {{0, 1}, kCometDialog,
         {kElementToggleOn, kElementToggleMixed, kElementToggleOff, kElementToggleOff, kElementToggleOn, kElementToggleOn, kElementToggleOn},
         {true, true, true, true, true, true, true}},
        {{1, 2}, kCometDialog,
         {kElementToggleMixed, kElementToggleOff, kElementToggleOff, kElementToggleOff, kElementToggleOn, kElementToggleOn, kElementToggleOn},
         {true, false, false, false, false, false, false}},
        {{2}, kCometDialog, {kElementToggleOff, kElementToggleOff, kElementToggleOff, kElementToggleOff, kElementToggleOn, kElementToggleOn, kElementToggleOn},
         {true, false, false, false, false, false, false}},
    };
    for (const Case &c : cases) {
        ElementToggleState s;
        ASSERT_TRUE(elementSelectionToggles(&comets, c.kind, c.selected.data(), static_cast<int>(c.selected.size()), &s));
        for (int t = 0; t < kCometToggles; ++t) {
            EXPECT_EQ(s.value[t], c.values[static_cast<size_t>(t)]) << c.selected.size() << " toggle " << t;
            EXPECT_EQ(s.sensitive[t], c.sensitive[static_cast<size_t>(t)]) << c.selected.size() << " toggle " << t;
        }
    }
    ElementToggleState s;
    EXPECT_FALSE(elementSelectionToggles(&comets, kCometDialog, nullptr, 0, &s));
    // The dust-tail toggle (6) follows bit 0x40, the ion-tail toggle (5) 0x80.
    const int one[] = {1};
    elementApplyToggle(&comets, one, 1, 6, false);
    EXPECT_EQ(comets.entries[1].flags, 0xA2);
    elementApplyToggle(&comets, one, 1, 5, false);
    EXPECT_EQ(comets.entries[1].flags, 0x22);
}

TEST_F(ElementDialog, SearchFindsKeyOrNameFromBelowTheTopAndWraps)
{
    loadComets();
    // "1P/" is in the key column only; the 1P/Halley entry is line 0.
    EXPECT_EQ(elementSearch(&comets, "1p/h", 0), 0);
    EXPECT_STREQ(comets.searchText, "1p/h");
    // Again from the found entry at the top: the next match, else around.
    const int first = elementSearch(&comets, "schwassmann-wachmann 3-", 0);
    ASSERT_GE(first, 0);
    const int second = elementSearch(&comets, "schwassmann-wachmann 3-", first + 1);
    EXPECT_GT(second, first);
    EXPECT_EQ(elementSearch(&comets, "1P/HALLEY", 5), 0) << "wraps to the top";
    EXPECT_EQ(elementSearch(&comets, "no such comet anywhere", 0), -1);
    const std::string huge(1000, 'x');
    EXPECT_EQ(elementSearch(&comets, huge.c_str(), 0), -1);
    EXPECT_EQ(std::string(comets.searchText).size(), 255u) << "search text copied bounded";
}

TEST(ElementBodyCommands, EveryBitHasItsWord)
{
    char text[256];
    ASSERT_EQ(elementBodyCommands(kCometDialog, 0x02 | 0x10 | 0x08 | 0x40, 12, text, sizeof text), 1);
    EXPECT_STREQ(text, "HIDE COMET12_NAME;SHOW COMET12_DATE;SHOW COMET12_MAG;HIDE COMET12_OBT;HIDE IONTAIL12;"
                       "SHOW DUSTTAIL12;");
    ASSERT_EQ(elementBodyCommands(kMinorPlanetDialog, 0x04 | 0x20, 3, text, sizeof text), 1);
    EXPECT_STREQ(text, "SHOW MINORPLANET3_NAME;HIDE MINORPLANET3_DATE;HIDE MINORPLANET3_MAG;SHOW MINORPLANET3_OBT;");
    EXPECT_EQ(elementBodyCommands(kCometDialog, 0, 1, text, 20), 0);
}

} // namespace
