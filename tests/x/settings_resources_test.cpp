#include "ui/app/env_resources.h"

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/env.h"
#include "model/lexing.h"
#include "model/resource_text.h"
#include "model/settings.h"
#include "model/ui_hooks.h"
#include "resources/fallback.h"
#include "render/palette.h"
#include "tests/support/temp_dir.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <sys/stat.h>
#include <string>
#include <vector>

#include <X11/Intrinsic.h>
#include <X11/Composite.h>
#include <X11/Shell.h>

#include "tests/support/test_chart.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"

namespace {

std::string fakeHome;

int fakeLookup(const char *user, char *dst, int len)
{
    return !user && strCopyBounded(dst, len, fakeHome.c_str());
}

// A top-level shell of class "TAvik" on the test's server, with or without
// the fallback table and with the given -xrm user resources.
class ToolkitShell {
public:
    ToolkitShell(const std::string &displayName, bool withFallback, const std::vector<std::string> &userResources)
    {
        XtToolkitInitialize();
        app_ = XtCreateApplicationContext();
        if (withFallback)
            XtAppSetFallbackResources(app_, fallbackResources);
        args_ = {"tavik"};
        for (const std::string &line : userResources) {
            args_.push_back("-xrm");
            args_.push_back(line);
        }
        std::vector<char *> argv;
        for (std::string &a : args_)
            argv.push_back(&a[0]);
        argv.push_back(nullptr);
        int argc = static_cast<int>(args_.size());
        display_ = XtOpenDisplay(app_, displayName.c_str(), "tavik", "TAvik", nullptr, 0, &argc, argv.data());
        if (display_)
            shell_ = XtAppCreateShell("tavik", "TAvik", applicationShellWidgetClass, display_, nullptr, 0);
    }
    ~ToolkitShell()
    {
        closeToolkit(app_, shell_);
    }
    Widget shell() const { return shell_; }

private:
    XtAppContext app_ = nullptr;
    Display *display_ = nullptr;
    Widget shell_ = nullptr;
    std::vector<std::string> args_;
};

class SettingsResourcesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        theAppData = AppData{}; // nothing an earlier test read from a file or a resource
        resetTestAppData();
        fakeHome = home.path();
        envSetHomeLookup(fakeLookup);
        uiHooksRecordMessages();
        savedPath = std::getenv("PATH") ? std::getenv("PATH") : "";
        setenv("PATH", emptyBin.path().c_str(), 1); // no picture viewer anywhere
    }
    void TearDown() override
    {
        setPaletteStoreColour(nullptr); // its display went with the shell
        setenv("PATH", savedPath.c_str(), 1);
        setResourceStringProvider(nullptr);
        envSetHomeLookup(nullptr);
        uiHooksReset();
        envFreeBodyNames();
        theAppData = AppData{};
    }
    // False when the shell did not come up: the test must stop there, for
    // every resource routine reads the shell (a shared server resetting
    // between two tests refused the connection, and the test went on into
    // the toolkit with no shell).
    bool use(const ToolkitShell &shell)
    {
        if (!shell.shell())
            return false;
        appData->topLevel = shell.shell();
        envUseToolkitResources();
        return true;
    }

    // A server of the test's own: one shared by parallel tests resets when its
    // last client leaves, and refuses a connection made meanwhile.
    XServer server;
    TempDir home, emptyBin;
    std::string savedPath;
    OwnedChart owner;
    ChartState &chart = *owner;
};

TEST_F(SettingsResourcesTest, FallbackValuesUnlessTheUserNamesThem)
{
    ToolkitShell shell(server.name(), true, {"TAvik*DateStyle: japanese", "TAvik*SaveHistory: 25",
                              "TAvik*SkyMarkFile: ~/marks.adf"});
    ASSERT_TRUE(use(shell)) << "cannot open " << server.name();
    envLoadResources(&chart);
    EXPECT_STREQ(appData->cometFile, "/usr/local/share/tavik/comet.elm");
    EXPECT_STREQ(appData->cometIndexFile, (home.path() + "/.tavik/comet.dbm").c_str());
    EXPECT_STREQ(appData->minorPlanetFile, "/usr/local/share/tavik/mp.elm");
    EXPECT_STREQ(appData->saoFile, "/usr/local/share/tavik/tavik.sao");
    EXPECT_STREQ(appData->gscPath, "/cdrom");
    EXPECT_STREQ(appData->clickImagePath, "/usr/local/share/tavik/image/");
    EXPECT_STREQ(appData->stlFileIoPath, home.path().c_str()) << "\"~\" expanded";
    EXPECT_STREQ(appData->skyMarkFile, (home.path() + "/marks.adf").c_str());
    EXPECT_EQ(chart.dateStyle, 1) << "user resource in another case";
    EXPECT_EQ(appData->saveHistory, 25);
    EXPECT_EQ(appData->blinkTime, 5) << "the fallback table's blink count";
    EXPECT_STREQ(appData->imageViewerCommand, "xloadimage -quiet -title '%s'");
    // The fallback site is not in any site list here: Greenwich, with the box.
    EXPECT_STREQ(chart.siteName, "Greenwich (United Kingdom)");
    EXPECT_EQ(uiHooksRecordedMessageCount(), 1);
}

TEST_F(SettingsResourcesTest, BuiltInDefaultsWithoutAnyResources)
{
    ToolkitShell shell(server.name(), false, {});
    ASSERT_TRUE(use(shell)) << "cannot open " << server.name();
    envLoadResources(&chart);
    EXPECT_STREQ(appData->cometFile, "/usr/local/share/tavik/comet.elm");
    EXPECT_STREQ(appData->userObjectFilePath, "/usr/local/share/tavik/adf");
    EXPECT_STREQ(appData->clickDataFile, "/usr/local/share/tavik/tavik.cdf");
    EXPECT_EQ(appData->blinkTime, 10);
    EXPECT_EQ(appData->saveHistory, 10);
    EXPECT_EQ(chart.dateStyle, 0);
    EXPECT_STREQ(chart.siteName, "Greenwich (United Kingdom)") << "no Site resource";
}

TEST_F(SettingsResourcesTest, BlinkCountBelowOneBecomesTen)
{
    ToolkitShell shell(server.name(), true, {"TAvik*BlinkTime: 0"});
    ASSERT_TRUE(use(shell)) << "cannot open " << server.name();
    envLoadResources(&chart);
    EXPECT_EQ(appData->blinkTime, 10);
}

TEST_F(SettingsResourcesTest, ViewerFromTheResources)
{
    std::string viewer = emptyBin.write("myview", "#!/bin/sh\n");
    chmod(viewer.c_str(), 0755);
    ToolkitShell shell(server.name(), true, {"TAvik*ClickImageViewer3: myview -t '%s'"});
    ASSERT_TRUE(use(shell)) << "cannot open " << server.name();
    envPickImageViewer();
    EXPECT_STREQ(appData->imageViewerCommand, "myview -t '%s'");
}

TEST_F(SettingsResourcesTest, ResourceTextsComeFromTheToolkit)
{
    ToolkitShell shell(server.name(), true, {"TAvik*messagePlanetMars: Mars (user)"});
    ASSERT_TRUE(use(shell)) << "cannot open " << server.name();
    char text[256], fallback[256];
    EXPECT_STREQ(getResourceString("messageSiteNotInit", text, sizeof text),
                 fallbackResourceString("messageSiteNotInit", fallback, sizeof fallback));
    EXPECT_STRNE(text, "");
    EXPECT_STREQ(getResourceString("messagePlanetMars", text, sizeof text), "Mars (user)");
    EXPECT_STREQ(getResourceString("messagePlanetMars", text, 5), "Mars") << "cut to len - 1";
    EXPECT_STREQ(getResourceString("noSuchResourceAnywhere", text, sizeof text), "");

    envLoadBodyNames();
    EXPECT_STREQ(appData->bodyNames[3], "Mars (user)");
}

TEST_F(SettingsResourcesTest, OptionsFileRecordsTheToolBarsManagedState)
{
    ToolkitShell shell(server.name(), true, {});
    ASSERT_TRUE(use(shell)) << "cannot open " << server.name();
    uiHooks.toolbarManaged = envToolbarManaged; // as start-up wires it
    EXPECT_EQ(uiHooks.toolbarManaged(), 0) << "no tool bar built";
    Widget bar = XtCreateWidget("ToolBar", compositeWidgetClass, shell.shell(), nullptr, 0);
    appData->toolBar = bar;
    EXPECT_EQ(uiHooks.toolbarManaged(), 0) << "built but not managed";
    XtManageChild(bar);
    EXPECT_EQ(uiHooks.toolbarManaged(), 1);
    XtUnmanageChild(bar);
    EXPECT_EQ(uiHooks.toolbarManaged(), 0) << "hidden again";
    appData->toolBar = nullptr;
}

TEST_F(SettingsResourcesTest, LocaleMessagesAndLang)
{
    std::string savedLang = std::getenv("LANG") ? std::getenv("LANG") : "";
    char arg0[] = "tavik", arg1[] = "--lang=xx_NOWHERE.none";
    char *argv[] = {arg0, arg1};
    testing::internal::CaptureStderr();
    envSetLocale(2, argv);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(err.rfind("tavik: can't set locale xx_NOWHERE.none.", 0), 0u) << err;
    if (std::string(appData->localeName) == "en_US.ISO_8859-1") {
        EXPECT_EQ(err, "tavik: can't set locale xx_NOWHERE.none. Fallback to default (en_US.ISO_8859-1).\n");
        EXPECT_STREQ(appData->languageCode, "en");
    }
    EXPECT_STREQ(std::getenv("LANG"), appData->localeName) << "the locale is exported as LANG";

    char ok[] = "--lang=C";
    argv[1] = ok;
    testing::internal::CaptureStderr();
    envSetLocale(2, argv);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_STREQ(appData->localeName, "C");
    EXPECT_STREQ(appData->languageCode, "") << "no localized files for C";
    setenv("LANG", savedLang.c_str(), 1);
    std::setlocale(LC_CTYPE, "C");
}

} // namespace
