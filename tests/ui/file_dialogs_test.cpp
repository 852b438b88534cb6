// The file dialogs' OK and the Environment dialog without X: the remembered
// directory, names that cannot travel in command text, files that are no
// scene, Save As over a full disk, and the geometry check.
#include <csignal>
#include <cstring>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "tests/support/temp_dir.h"
#include "ui/dialogs/file_dialogs.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> texts(const DialogResult &r)
{
    return std::vector<std::string>(r.commands, r.commands + r.commandCount);
}

TEST(RememberDirectory, KeepsTheDirectoryOfTheChosenName)
{
    struct Case {
        const char *name, *before, *after;
    } const cases[] = {
        {"/a/b/c.stl", "/old", "/a/b"},
        {"/c.stl", "/old", ""},
        {"c.stl", "/old", "/old"},
        {"/a/b/", "/old", "/a/b/"},
        {"rel/c.stl", "/old", "rel"},
        {"", "/old", "/old"},
    };
    for (const Case &c : cases) {
        char dir[32];
        std::snprintf(dir, sizeof dir, "%s", c.before);
        rememberDirectory(dir, sizeof dir, c.name);
        EXPECT_STREQ(dir, c.after) << c.name;
    }
    char small[4] = "/x";
    rememberDirectory(small, sizeof small, "/long/name.stl");
    EXPECT_STREQ(small, "/x") << "a directory that does not fit is not cut into another";
}

struct FileDialogsTest : ::testing::Test {
    TestChart owner;
    ChartState &chart = *owner;
    TempDir dir;
    std::string scene, text;
    void SetUp() override
    {
        const DateTime date{2003, 7, 14, 21, 30, 0.0, 9.0};
        chartSetDate(&chart, &date);
        scene = dir.write("night.stl", "# a scene\nSCENE MAIN\nZOOM UP\nEND SCENE\n");
        text = dir.write("notes.stl", "shopping list\nmilk; eggs\n");
    }
    DialogResult result()
    {
        DialogResult r;
        dialogResultClear(&r);
        return r;
    }
};

TEST_F(FileDialogsTest, OpenRunsAScenesFileAndRemembersIt)
{
    DialogResult r = result();
    openFileOk(scene.c_str(), &chart, appData, &r);
    EXPECT_EQ(texts(r), std::vector<std::string>{"STL \"" + scene + "\""});
    EXPECT_EQ(std::string(chart.sceneFilePath), scene);
    EXPECT_EQ(std::string(appData->stlFileIoPath), dir.path());
}

TEST_F(FileDialogsTest, OpenRefusesWhatItCannotRunAndForgetsAFileThatIsNoScene)
{
    const std::string longName = dir.path() + "/" + std::string(300, 'n') + ".stl";
    struct Case {
        const char *what;
        std::string name;
        const char *refusal; // empty: no refusal, nothing sent
    } const cases[] = {
        {"a text file that is no scene", text, ""},
        {"a missing file", dir.file("none.stl"), "messageCannotOpenFile"},
        {"a quote would end the name", dir.write("a\"b.stl", "SCENE MAIN\nEND SCENE\n"), "messageCannotOpenFile"},
        {"a semicolon would start a command", dir.write("a;EXIT.stl", "SCENE MAIN\nEND SCENE\n"),
         "messageCannotOpenFile"},
        {"a newline would end the statement", dir.write("a\nEXIT.stl", "SCENE MAIN\nEND SCENE\n"),
         "messageCannotOpenFile"},
        {"too long for the path field", longName, "messageCannotOpenFile"},
        // Once passed as readable and then ran nothing without a word.
        {"a directory", dir.path() + "/", "messageCannotOpenFile"},
    };
    for (const Case &c : cases) {
        std::snprintf(chart.sceneFilePath, sizeof chart.sceneFilePath, "/kept.stl");
        std::snprintf(appData->stlFileIoPath, sizeof appData->stlFileIoPath, "/kept");
        DialogResult r = result();
        openFileOk(c.name.c_str(), &chart, appData, &r);
        EXPECT_EQ(r.commandCount, 0) << c.what;
        EXPECT_STREQ(r.messageResource, c.refusal) << c.what;
        if (c.refusal[0]) {
            EXPECT_EQ(std::string(r.argument), c.name.substr(0, sizeof r.argument - 1)) << c.what;
        }
        EXPECT_STREQ(chart.sceneFilePath, "/kept.stl") << c.what;
        EXPECT_STREQ(appData->stlFileIoPath, "/kept") << c.what;
    }
}

TEST_F(FileDialogsTest, SaveAsWritesTheSceneAndRemembersIt)
{
    const std::string path = dir.file("saved.stl");
    DialogResult r = result();
    saveFileOk(path.c_str(), &chart, appData, &r);
    EXPECT_FALSE(r.refused) << r.messageResource;
    EXPECT_EQ(r.commandCount, 0);
    EXPECT_EQ(std::string(chart.sceneFilePath), path);
    EXPECT_EQ(std::string(appData->stlFileIoPath), dir.path());
    const std::string written = readFile(path);
    EXPECT_NE(written.find("SCENE MAIN"), std::string::npos);
    EXPECT_NE(written.find("DATE 2003,7,14,21,30"), std::string::npos) << written;

    r = result();
    saveFileOk(dir.file("no/such/dir/x.stl").c_str(), &chart, appData, &r);
    EXPECT_STREQ(r.messageResource, "messageCannotCreateFile");
    EXPECT_EQ(std::string(chart.sceneFilePath), path) << "a failed save changes nothing";
}

// A disk that fills up half-way: the child may write only 64 bytes. The old
// scene must keep every byte and the refusal must name it.
TEST_F(FileDialogsTest, SaveAsOnAFullDiskKeepsTheOldSceneByteForByte)
{
    const std::string old = readFile(scene);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{64, 64};
        setrlimit(RLIMIT_FSIZE, &limit);
        DialogResult r;
        dialogResultClear(&r);
        saveFileOk(scene.c_str(), &chart, appData, &r);
        const bool named = std::strcmp(r.messageResource, "messageCannotCreateFile") == 0 &&
                           std::strcmp(r.argument, scene.c_str()) == 0;
        const bool kept = std::strcmp(chart.sceneFilePath, "") == 0;
        _exit(named && kept ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "refused with the name, scene path unchanged";
    EXPECT_EQ(readFile(scene), old);
}

TEST_F(FileDialogsTest, SaveImageQuotesTheNameAndRefusesOneThatCannotTravel)
{
    struct Case {
        const char *what;
        std::string name;
        const char *sent; // null: refused with messageCannotCreateFile
        const char *dirAfter;
    } const cases[] = {
        {"blanks stay in the name", "/tmp/pics/my chart", "GSAVE \"/tmp/pics/my chart\"", "/tmp/pics"},
        {"no directory: the old one stays", "chart", "GSAVE \"chart\"", "/kept"},
        {"a semicolon runs nothing", "/tmp/a; EXIT", nullptr, "/kept"},
        {"a quote", "/tmp/a\"b", nullptr, "/kept"},
        {"a carriage return", "/tmp/a\rb", nullptr, "/kept"},
        {"too long for one statement", "/tmp/" + std::string(252, 'x'), nullptr, "/kept"},
        {"the longest that fits", "/tmp/" + std::string(245, 'x'), "", "/tmp"},
    };
    for (const Case &c : cases) {
        std::snprintf(appData->saveImagePath, sizeof appData->saveImagePath, "/kept");
        DialogResult r = result();
        saveImageOk(c.name.c_str(), appData, &r);
        if (c.sent) {
            ASSERT_EQ(r.commandCount, 1) << c.what << " " << r.messageResource;
            if (c.sent[0]) {
                EXPECT_STREQ(r.commands[0], c.sent) << c.what;
            }
        } else {
            EXPECT_STREQ(r.messageResource, "messageCannotCreateFile") << c.what;
            EXPECT_EQ(r.commandCount, 0) << c.what;
        }
        EXPECT_STREQ(appData->saveImagePath, c.dirAfter) << c.what;
    }
}

TEST(SetEnvDialog, GeometryIsTwoUsableSizesOrNone)
{
    struct Case {
        const char *width, *height;
        const char *stored; // null: refused with messageInvalidGeometry
    } const cases[] = {
        {"800", "", nullptr},  {"", "600", nullptr},     {"80a", "600", nullptr},  {"0", "600", nullptr},
        {"99999", "600", nullptr}, {"800", "159", nullptr}, {" 800", "600", nullptr}, {"", "", ""},
        {"800", "600", "800x600"}, {"120", "160", "120x160"}, {"32767", "32767", "32767x32767"},
    };
    for (const Case &c : cases) {
        resetTestAppData();
        std::snprintf(appData->geometryOption, sizeof appData->geometryOption, "640x480");
        SetEnvValues v{};
        std::snprintf(v.width, sizeof v.width, "%s", c.width);
        std::snprintf(v.height, sizeof v.height, "%s", c.height);
        DialogResult r;
        dialogResultClear(&r);
        setEnvDlgOk(&v, &r);
        if (!c.stored) {
            EXPECT_STREQ(r.messageResource, "messageInvalidGeometry") << c.width << " by " << c.height;
            continue;
        }
        EXPECT_FALSE(r.refused) << c.width << " by " << c.height;
        EXPECT_EQ(r.commandCount, 0);
        setEnvDlgApply(&v, appData);
        EXPECT_STREQ(appData->geometryOption, c.stored) << c.width << " by " << c.height;
    }
}

// Start-up places the window by a positioned Geometry; OK once rewrote it
// as "WxH" and the window came up elsewhere at the next start.
TEST(SetEnvDialog, OkKeepsTheStoredPositionOfTheGeometry)
{
    const SetEnvContext context{1, 0, 700, 500, ""};
    struct Case {
        const char *stored;
        const char *shownWidth, *shownHeight; // what the dialog opens with
        const char *width, *height;           // what OK reads; null: as shown
        const char *after;
    } const cases[] = {
        {"900x700+10+20", "900", "700", nullptr, nullptr, "900x700+10+20"},
        {"900x700+10+20", "900", "700", "1000", "800", "1000x800+10+20"},
        {"900x700-5+0", "900", "700", "640", nullptr, "640x700-5+0"},
        {"900x700-0-0", "900", "700", nullptr, nullptr, "900x700-0-0"},
        {"900x700", "900", "700", "1000", "800", "1000x800"},
        {"+10+20", "700", "500", nullptr, nullptr, "700x500+10+20"},
        {"900x700+10+20", "900", "700", "", "", ""},
        {"900x700+10", "700", "500", nullptr, nullptr, "700x500"}, // no position X reads
        // 39 characters: the new size leaves no room for the position, which is dropped, not cut.
        {"120x160+00000000000000000000000000001+1", "120", "160", "32767", "32767", "32767x32767"},
    };
    for (const Case &c : cases) {
        resetTestAppData();
        std::snprintf(appData->geometryOption, sizeof appData->geometryOption, "%s", c.stored);
        SetEnvValues v{};
        setEnvDlgFill(appData, &context, &v);
        EXPECT_STREQ(v.width, c.shownWidth) << c.stored;
        EXPECT_STREQ(v.height, c.shownHeight) << c.stored;
        if (c.width)
            std::snprintf(v.width, sizeof v.width, "%s", c.width);
        if (c.height)
            std::snprintf(v.height, sizeof v.height, "%s", c.height);
        DialogResult r;
        dialogResultClear(&r);
        setEnvDlgOk(&v, &r);
        ASSERT_FALSE(r.refused) << c.stored;
        setEnvDlgApply(&v, appData);
        EXPECT_STREQ(appData->geometryOption, c.after) << c.stored;
    }
}

TEST(SetEnvDialog, ShowsTheRecordAndPutsTheFieldsBack)
{
    resetTestAppData();
    SetEnvContext context{1, 0, 700, 500, "Asia/Tokyo"};
    struct Case {
        const char *what;
        const char *geometry, *localeOption, *localeName, *tzOption;
        const char *width, *height, *locale, *tz;
    } const cases[] = {
        {"options set", "800x600", "ja_JP.eucJP", "C", "JST-9", "800", "600", "ja_JP.eucJP", "JST-9"},
        {"nothing stored: the window and the environment", "", "", "en_US.ISO-8859-1", "", "700", "500",
         "en_US.ISO-8859-1", "Asia/Tokyo"},
        {"a stored size start-up would not use", "0x0", "", "C", "", "700", "500", "C", "Asia/Tokyo"},
    };
    for (const Case &c : cases) {
        std::snprintf(appData->geometryOption, sizeof appData->geometryOption, "%s", c.geometry);
        std::snprintf(appData->localeOption, sizeof appData->localeOption, "%s", c.localeOption);
        std::snprintf(appData->localeName, sizeof appData->localeName, "%s", c.localeName);
        std::snprintf(appData->tzOption, sizeof appData->tzOption, "%s", c.tzOption);
        appData->confirmQuit = 1;
        appData->confirmInit = 0;
        SetEnvValues v{};
        setEnvDlgFill(appData, &context, &v);
        EXPECT_STREQ(v.width, c.width) << c.what;
        EXPECT_STREQ(v.height, c.height) << c.what;
        EXPECT_STREQ(v.locale, c.locale) << c.what;
        EXPECT_STREQ(v.tz, c.tz) << c.what;
        EXPECT_EQ(v.toolbar, kToggleOn);
        EXPECT_EQ(v.tipHelp, kToggleOff);
        EXPECT_EQ(v.confirmQuit, kToggleOn);
        EXPECT_EQ(v.confirmInit, kToggleOff);
    }
    SetEnvValues v{};
    std::snprintf(v.locale, sizeof v.locale, "de_DE.ISO-8859-1");
    std::snprintf(v.tz, sizeof v.tz, "CET-1CEST");
    v.confirmQuit = kToggleOff;
    v.confirmInit = kToggleOn;
    setEnvDlgApply(&v, appData);
    EXPECT_STREQ(appData->geometryOption, "") << "both fields empty clear the option";
    EXPECT_STREQ(appData->localeOption, "de_DE.ISO-8859-1");
    EXPECT_STREQ(appData->tzOption, "CET-1CEST");
    EXPECT_EQ(appData->confirmQuit, 0);
    EXPECT_EQ(appData->confirmInit, 1);
}

} // namespace
