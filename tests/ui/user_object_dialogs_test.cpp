// The User Object dialog without X: Add's checks, Delete's next selection,
// the texts OK sends (every path checked before anything is sent) and the
// directory kept for the next Add.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/user_objects.h"
#include "tests/support/temp_dir.h"
#include "ui/dialogs/user_object_dialogs.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> okTexts(const UserObjectPathList &list, DialogResult *refusal)
{
    std::vector<std::string> sent;
    userObjectOkCommands(&list, [](void *context, const char *text) {
        static_cast<std::vector<std::string> *>(context)->emplace_back(text);
    }, &sent, refusal);
    return sent;
}

TEST(UserObjectDialog, AddRefusesWhatCouldNotBeLoadedOrIsListedAlready)
{
    TempDir dir;
    const std::string a = dir.write("a.adf", "STAR 10 20 5.0\n");
    const std::string b = dir.write("b.adf", "STAR 10 20 5.0\n");
    const std::string semicolon = dir.write("x;DRIVE.adf", "STAR 10 20 5.0\n");
    const std::string quote = dir.write("x\".adf", "STAR 10 20 5.0\n");
    const std::string longPath = dir.path() + "/" + std::string(240, 'l') + "/" + std::string(60, 'n') + ".adf";
    UserObjectPathList list{};
    struct Case {
        const char *what;
        std::string path;
        const char *refusal; // null: added
    };
    const Case cases[] = {
        {"a readable file", a, nullptr},
        {"another", b, nullptr},
        {"the same file twice", a, kMessageObjectAlreadySelected},
        {"a semicolon would run the rest as a command", semicolon, "messageCannotOpenFile"},
        {"a quote would end the path", quote, "messageCannotOpenFile"},
        {"a file that is not there", dir.file("missing.adf"), "messageCannotOpenFile"},
        {"a path too long for the command", longPath, "messageCannotOpenFile"},
    };
    for (const Case &c : cases) {
        DialogResult r;
        dialogResultClear(&r);
        const int added = userObjectListAdd(&list, c.path.c_str(), &r);
        EXPECT_EQ(added, c.refusal ? 0 : 1) << c.what;
        if (c.refusal) {
            EXPECT_STREQ(r.messageResource, c.refusal) << c.what;
            EXPECT_EQ(std::string(r.argument), c.path.substr(0, sizeof r.argument - 1)) << c.what << ": names the path";
        }
    }
    ASSERT_EQ(list.count, 2);
    EXPECT_EQ(std::string(list.texts[0]), a);
    EXPECT_EQ(std::string(list.texts[1]), b);
    EXPECT_STREQ(userObjectItemName(list.texts[1]), "b.adf");
    EXPECT_STREQ(userObjectItemName("plain.adf"), "plain.adf");

    DialogResult r;
    dialogResultClear(&r);
    EXPECT_EQ(okTexts(list, &r),
              (std::vector<std::string>{"UNLOAD AD", "LOAD AD \"" + a + "\"", "LOAD AD \"" + b + "\"", "DRIVE"}));
    EXPECT_EQ(r.refused, 0);
    userObjectListFree(&list);
}

TEST(UserObjectDialog, OkWithNoFileStillUnloadsAndAnUnsendablePathSendsNothing)
{
    UserObjectPathList list{};
    DialogResult r;
    dialogResultClear(&r);
    EXPECT_EQ(okTexts(list, &r), (std::vector<std::string>{"UNLOAD AD", "DRIVE"}));

    // A path that came in another way (a file loaded at start-up) but cannot
    // travel in LOAD AD: nothing is unloaded.
    TempDir dir;
    const std::string a = dir.write("a.adf", "STAR 10 20 5.0\n");
    ASSERT_EQ(userObjectListAdd(&list, a.c_str(), &r), 1);
    std::snprintf(list.texts[0] + a.size() - 4, 12, "%s", ";EXIT.adf");
    dialogResultClear(&r);
    EXPECT_TRUE(okTexts(list, &r).empty());
    EXPECT_EQ(r.refused, 1);
    EXPECT_STREQ(r.messageResource, "messageCannotOpenFile");
    userObjectListFree(&list);
}

TEST(UserObjectDialog, DeleteSelectsTheItemNowThereOrTheNewLast)
{
    TempDir dir;
    struct Case {
        const char *what;
        int count, deleted, selected;
    };
    const Case cases[] = {
        {"the last of three: the new last", 3, 3, 2},
        {"the first of three: the one now first", 3, 1, 1},
        {"the middle one: the one after it", 3, 2, 2},
        {"the only one: none", 1, 1, 0},
        {"no selection: nothing", 2, 0, 0},
    };
    for (const Case &c : cases) {
        UserObjectPathList list{};
        for (int i = 0; i < c.count; i++) {
            DialogResult r;
            dialogResultClear(&r);
            ASSERT_EQ(userObjectListAdd(&list, dir.write("f" + std::to_string(i) + ".adf", "x\n").c_str(), &r), 1);
        }
        EXPECT_EQ(userObjectListDelete(&list, c.deleted), c.selected) << c.what;
        EXPECT_EQ(list.count, c.deleted ? c.count - 1 : c.count) << c.what;
        if (c.deleted == 2) {
            EXPECT_EQ(std::string(userObjectItemName(list.texts[1])), "f2.adf") << c.what;
        }
        userObjectListFree(&list);
    }
}

// The dialog on the kit: it opens with what the chart has loaded, the
// first selected; Delete and Add change its record; OK's texts replace the
// loaded files by the listed ones.
TEST(UserObjectDialog, OpensWithTheLoadedFilesAndOkReplacesThemByTheListedOnes)
{
    TempDir dir;
    const std::string a = dir.write("a.adf", "EPOCH J2000\n0535.3 -0523 MARK 1 \"Trapezium\" 2\n");
    const std::string b = dir.write("b.adf", "EPOCH J2000\n1757.8 0441 STAR 9.5 9 \"Barnard\" 4\n");
    const std::string c = dir.write("c.adf", "EPOCH J2000\n0000.0 0000 STAR 9.5 9 \"Zero\" 4\n");
    TestChart owner;
    ChartState &chart = *owner;
    for (const std::string &path : {a, b})
        stkExecute(&chart, ("LOAD AD \"" + path + "\"").c_str());
    ASSERT_EQ(chart.userObjectFileCount, 2);

    struct Case {
        const char *what;
        int deletions;       // Delete pressed on the first item, so many times
        const char *added;   // null: none
        std::vector<std::string> sent;
    };
    const Case cases[] = {
        {"as opened", 0, nullptr,
         {"UNLOAD AD", "LOAD AD \"" + a + "\"", "LOAD AD \"" + b + "\"", "DRIVE"}},
        {"the first deleted", 1, nullptr, {"UNLOAD AD", "LOAD AD \"" + b + "\"", "DRIVE"}},
        {"one added after them", 0, "c", {"UNLOAD AD", "LOAD AD \"" + a + "\"", "LOAD AD \"" + b + "\"",
                                          "LOAD AD \"" + c + "\"", "DRIVE"}},
        {"both deleted", 2, nullptr, {"UNLOAD AD", "DRIVE"}},
    };
    UserObjectDialogValues v{};
    for (const Case &k : cases) {
        dialogValuesClearForFill(&kUserObjectDialog, &v);
        kUserObjectDialog.fill(&chart, appData, &v);
        ASSERT_EQ(v.files.count, 2) << k.what;
        EXPECT_EQ(v.files.position, 1) << k.what << ": the first selected";
        EXPECT_STREQ(kUserObjectDialog.itemShown(1, v.files.texts[1]), "b.adf");
        for (int d = 0; d < k.deletions; d++)
            userObjectListDelete(&v.files, 1);
        if (k.added) {
            DialogResult r;
            dialogResultClear(&r);
            ASSERT_EQ(userObjectListAdd(&v.files, c.c_str(), &r), 1) << k.what;
            EXPECT_EQ(v.files.position, 3) << k.what << ": the added one selected";
        }
        DialogResult r;
        dialogResultClear(&r);
        kUserObjectDialog.ok(&v, &chart, appData, &r);
        EXPECT_EQ(r.refused, 0) << k.what;
        EXPECT_EQ(std::vector<std::string>(r.commands, r.commands + r.commandCount), k.sent) << k.what;
    }
    dialogValuesRelease(&kUserObjectDialog, &v);
    unloadUserObjects(&chart);
}

TEST(UserObjectDialog, TheNextAddOpensInTheDirectoryOfTheLastFile)
{
    struct Case {
        const char *path;
        const char *dir; // null: none
    };
    const Case cases[] = {
        {"/home/u/objects/a.adf", "/home/u/objects"},
        {"/a.adf", "/"},
        {"a.adf", nullptr},
        {"/home/u/", nullptr},
    };
    for (const Case &c : cases) {
        char dir[256] = "unchanged";
        EXPECT_EQ(userObjectDirectoryOf(c.path, dir, sizeof dir), c.dir ? 1 : 0) << c.path;
        EXPECT_STREQ(dir, c.dir ? c.dir : "unchanged") << c.path;
    }
}

TEST(UserObjectDialog, DeleteIsUsableOnlyWithASelection)
{
    for (int32_t position : {0, 1, 3}) {
        UserObjectDialogValues v{};
        v.files.position = position;
        std::vector<uint8_t> s(static_cast<size_t>(kUserObjectDialog.controlCount), 1);
        kUserObjectDialog.sensitivity(&v, s.data());
        EXPECT_EQ(s[static_cast<size_t>(dialogControlIndex(&kUserObjectDialog, "ButtonDelFile"))], position > 0 ? 1 : 0);
        EXPECT_EQ(s[static_cast<size_t>(dialogControlIndex(&kUserObjectDialog, "ButtonAddFile"))], 1);
    }
    char why[256] = "";
    EXPECT_EQ(dialogSpecCheck(&kUserObjectDialog, why, sizeof why), 1) << why;
}

} // namespace
