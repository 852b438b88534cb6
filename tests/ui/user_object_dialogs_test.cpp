// The User Object dialog without X: Add's checks, Delete's next selection,
// the texts OK sends (every path checked before anything is sent) and the
// directory kept for the next Add.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"
#include "ui/dialogs/user_object_dialogs.h"

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
    EXPECT_EQ(std::string(list.paths[0]), a);
    EXPECT_EQ(std::string(list.paths[1]), b);
    EXPECT_STREQ(userObjectItemName(list.paths[1]), "b.adf");
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
    std::snprintf(list.paths[0] + a.size() - 4, 12, "%s", ";EXIT.adf");
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
            EXPECT_EQ(std::string(userObjectItemName(list.paths[1])), "f2.adf") << c.what;
        }
        userObjectListFree(&list);
    }
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
        UserObjectDialogValues v{position};
        std::vector<uint8_t> s(static_cast<size_t>(kUserObjectDialog.controlCount), 1);
        kUserObjectDialog.sensitivity(&v, s.data());
        EXPECT_EQ(s[static_cast<size_t>(dialogControlIndex(&kUserObjectDialog, "ButtonDelFile"))], position > 0 ? 1 : 0);
        EXPECT_EQ(s[static_cast<size_t>(dialogControlIndex(&kUserObjectDialog, "ButtonAddFile"))], 1);
    }
    char why[256] = "";
    EXPECT_EQ(dialogSpecCheck(&kUserObjectDialog, why, sizeof why), 1) << why;
}

} // namespace
