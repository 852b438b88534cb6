// STARDATA GSC keeps the choice and names on standard error what the
// catalogue is missing, replying nothing.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "render/layers/gsc_stars.h"
#include "tests/render/gsc_tree.h"
#include "tests/support/test_chart.h"

namespace {

using namespace gsctree;

TEST(GscCommands, StarDataGscKeepsTheChoiceAndNamesWhatIsMissing) {
    Tree tree;
    const std::string root = tree.dir.path() + "/cd";
    tree.build(root, true, {{56.75, 24.12, 9.0}, {56.8, 24.2, 11.5}});
    struct Case {
        const char *name;
        std::string root, table, missing;
    } cases[] = {
        {"no region table", root, tree.dir.path() + "/none.gsc", tree.dir.path() + "/none.gsc"},
        {"no REGIONS.TBL under the root", tree.dir.path(), "", tree.dir.path() + "/TABLES/REGIONS.TBL"},
        {"a lower-case tree", root, "", ""},
    };
    uiHooksRecordMessages();
    for (const Case &c : cases) {
        TestChart owner;
        ChartState *chart = owner.get();
        tree.use(c.root, c.table);
        appData->commandFromSocket = 1;
        testing::internal::CaptureStderr();
        stkExecute(chart, "STARDATA GSC");
        const std::string said = testing::internal::GetCapturedStderr();
        EXPECT_EQ(chart->starFlags & 0x40, 0x40) << c.name << ": the choice is kept";
        EXPECT_STREQ(appData->errorId, "") << c.name;
        EXPECT_EQ(said, c.missing.empty() ? ""
                                          : "tavik: Star catalogue file not found: " + c.missing +
                                                "; the bright stars are drawn.\n")
            << c.name;
    }
    appData->commandFromSocket = 0;
    uiHooksReset();
    gscFreeRegionTable();
}

} // namespace
