#include "model/settings.h"

#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_state.h"
#include "model/clock.h"
#include "model/env.h"
#include "model/lexing.h"
#include "model/options.h"
#include "model/resource_text.h"
#include "model/site_list.h"
#include "model/ui_hooks.h"
#include "tests/model/settings_fixtures.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

std::string fakeHome;
// The index builds recordBuild saw; each test starts with none.
std::vector<std::string> builtIndexes;

int fakeLookup(const char *user, char *dst, int len)
{
    return !user && !fakeHome.empty() && strCopyBounded(dst, len, fakeHome.c_str());
}

// A fresh application record and chart, a home of our own, recorded boxes.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        theAppData = AppData{}; // nothing an earlier test read from a file or a resource
        resetTestAppData();
        chart.reset();
        fakeHome = home.path();
        envSetHomeLookup(fakeLookup);
        builtIndexes.clear();
        uiHooksReset();
        uiHooksRecordMessages();
    }
    void TearDown() override
    {
        envFreeBodyNames();
        envSetHomeLookup(nullptr);
        fakeHome.clear();
        uiHooksReset();
        setResourceStringProvider(nullptr);
        theAppData = AppData{};
    }
    // Makes ~/.tavik and points userDir at it.
    std::string makeUserDir()
    {
        char rc[256];
        EXPECT_EQ(envMakeUserDir(appData->userDir, sizeof appData->userDir, rc, sizeof rc), 1);
        return appData->userDir;
    }

    TempDir home;
    OwnedChart chart;
};

void setMtime(const std::string &path, time_t when)
{
    struct timespec times[2] = {{when, 0}, {when, 0}};
    utimensat(AT_FDCWD, path.c_str(), times, 0);
}

int recordBuild(const char *, const char *indexFile)
{
    builtIndexes.push_back(indexFile);
    return 1;
}

TEST_F(SettingsTest, IndexPathIsTheBaseNameUnderTheUserDir)
{
    // Element files that do not exist, under the test's own directory: a
    // path of the machine (an installed comet.elm) could exist.
    TempDir data;
    const std::string absent = data.path() + "/absent";
    struct Case {
        std::string element;
        const char *index;
    } cases[] = {
        {absent + "/share/tavik/comet.elm", "/.tavik/comet.dbm"},
        {"mp-absent.elm", "/.tavik/mp-absent.dbm"},
        {absent + "/plain", "/.tavik/plain.dbm"},
        {absent + "/a.b/elements", "/.tavik/elements.dbm"},
        {absent + "/comets.2024.elm", "/.tavik/comets.2024.dbm"},
    };
    for (const Case &c : cases) {
        char out[256];
        int shown = 0;
        EXPECT_EQ(catalogIndexRefresh(out, sizeof out, c.element.c_str(), recordBuild, &shown, stderr), 1);
        EXPECT_EQ(std::string(out), home.path() + c.index) << c.element;
    }
    EXPECT_TRUE(builtIndexes.empty()) << "built an index for a missing element file";
    char small[16];
    int shown = 0;
    EXPECT_EQ(catalogIndexRefresh(small, sizeof small, "/x/comet.elm", recordBuild, &shown, stderr), 0);
    EXPECT_STREQ(small, "");
}

TEST_F(SettingsTest, IndexFreshnessRuleAndOneNoticePerRun)
{
    std::string dir = makeUserDir();
    TempDir data;
    std::string comet = data.write("comet.elm", "C ...\n");
    std::string mp = data.write("mp.elm", "M ...\n");
    std::string cometIndex = dir + "/comet.dbm", mpIndex = dir + "/mp.dbm";
    const time_t t = 1700000000;

    struct Case {
        const char *name;
        time_t elementTime;
        time_t indexTime; // 0: no index
        bool rebuilt;
    } cases[] = {
        {"no index", t, 0, true},
        {"index older by a second", t, t - 1, true},
        {"equal times are fresh", t, t, false},
        {"index newer", t, t + 60, false},
    };
    for (const Case &c : cases) {
        std::remove(cometIndex.c_str());
        setMtime(comet, c.elementTime);
        if (c.indexTime) {
            ASSERT_EQ(catalogIndexBuildTo(comet.c_str(), cometIndex.c_str(), nullptr), 1);
            setMtime(cometIndex, c.indexTime);
        }
        builtIndexes.clear();
        char out[256];
        int shown = 0;
        FILE *notice = std::tmpfile();
        catalogIndexRefresh(out, sizeof out, comet.c_str(), recordBuild, &shown, notice);
        EXPECT_EQ(builtIndexes.size(), c.rebuilt ? 1u : 0u) << c.name;
        EXPECT_EQ(shown, c.rebuilt ? 1 : 0) << c.name;
        std::fclose(notice);
    }

    // Two stale indexes in one run: two builds, one notice.
    std::remove(cometIndex.c_str());
    std::remove(mpIndex.c_str());
    builtIndexes.clear();
    char *text = nullptr;
    size_t size = 0;
    FILE *notice = open_memstream(&text, &size);
    int shown = 0;
    char out[256];
    catalogIndexRefresh(out, sizeof out, comet.c_str(), recordBuild, &shown, notice);
    catalogIndexRefresh(out, sizeof out, mp.c_str(), recordBuild, &shown, notice);
    std::fclose(notice);
    EXPECT_EQ(builtIndexes, (std::vector<std::string>{cometIndex, mpIndex}));
    EXPECT_STREQ(text, "tavik: Creating index file.  This may take a while.\n");
    std::free(text);
}

TEST_F(SettingsTest, SiteFilePathPrefersTheUsersCopy)
{
    TempDir data;
    std::string installed = data.write("tavik.obs", "installed list\n");
    char out[256];

    // No per-user directory: the resource path as it is.
    envSiteFilePath(out, sizeof out, installed.c_str());
    EXPECT_EQ(std::string(out), installed);

    // First run: the installed list is copied and the copy used.
    std::string dir = makeUserDir();
    envSiteFilePath(out, sizeof out, installed.c_str());
    EXPECT_EQ(std::string(out), dir + "/tavik.obs");
    EXPECT_EQ(readFile(out), "installed list\n");

    // Later runs: the user's edited copy stays.
    data.write("tavik.obs", "newer installed list\n");
    FILE *f = std::fopen((dir + "/tavik.obs").c_str(), "w");
    std::fputs("edited by the user\n", f);
    std::fclose(f);
    envSiteFilePath(out, sizeof out, installed.c_str());
    EXPECT_EQ(readFile(out), "edited by the user\n");

    // Nothing installed and no copy: the resource path, "~" expanded.
    std::remove((dir + "/tavik.obs").c_str());
    envSiteFilePath(out, sizeof out, "~/nowhere.obs");
    EXPECT_EQ(std::string(out), home.path() + "/nowhere.obs");
}

// One line of the site list, as the site dialogs write it.
std::string siteLine(const char *name, double lonDeg, double latDeg, int altM, double zone)
{
    char line[80];
    std::snprintf(line, sizeof line, "%-40.40s %7.3f%c %6.3f%c %4d %c%05.2f \n", name,
                  lonDeg < 0 ? -lonDeg : lonDeg, lonDeg < 0 ? 'W' : 'E', latDeg < 0 ? -latDeg : latDeg,
                  latDeg < 0 ? 'S' : 'N', altM, zone < 0 ? '-' : '+', zone < 0 ? -zone : zone);
    return line;
}

const std::string kThreeSites = siteLine("Tokyo (Japan)", 139.767, 35.683, 10, 9.0) +
                                siteLine("Honolulu (USA)", -157.858, 21.307, 5, -10.0) +
                                siteLine("Sydney (Australia)", 151.2, -33.867, 40, 10.0);

TEST_F(SettingsTest, SiteListLinesAreReadByColumns)
{
    TempDir data;
    ASSERT_EQ(siteLine("x", 0, 0, 0, 0).size(), 71u);
    std::string list = data.write("tavik.obs", kThreeSites);
    double where[3], zone;
    ASSERT_EQ(findSiteIn(list.c_str(), "Honolulu (USA)", where, &zone), 1);
    EXPECT_DOUBLE_EQ(where[0], 21.307);
    EXPECT_DOUBLE_EQ(where[1], -157.858);
    EXPECT_DOUBLE_EQ(where[2], 5.0);
    EXPECT_DOUBLE_EQ(zone, -10.0);
    ASSERT_EQ(findSiteIn(list.c_str(), "Sydney (Australia)", where, &zone), 1);
    EXPECT_DOUBLE_EQ(where[0], -33.867);
    EXPECT_EQ(findSiteIn(list.c_str(), "tokyo (japan)", where, &zone), 0) << "case matters";
    EXPECT_EQ(findSiteIn(list.c_str(), "Tokyo", where, &zone), 0) << "whole name only";

    // A malformed line is skipped: the sites after it are still found.
    std::string broken = siteLine("Tokyo (Japan)", 139.767, 35.683, 10, 9.0);
    broken.erase(69, 1); // 70 bytes
    std::string bad = data.write("bad.obs", broken + siteLine("Later", 1, 1, 1, 1));
    siteListResetReports();
    EXPECT_EQ(findSiteIn(bad.c_str(), "Later", where, &zone), 1);
}

TEST_F(SettingsTest, DefaultSiteThreeCases)
{
    TempDir data;
    std::string dir = makeUserDir();
    strCopyBounded(appData->siteFile, kPathSize, data.write("tavik.obs", kThreeSites).c_str());
    std::string options = dir + "/options";

    // 1. The option's site: its place, zone and name, no box.
    optionsFileSet(options.c_str(), "SiteName", "Tokyo (Japan)");
    envInitSite(chart.get(), "Honolulu (USA)");
    EXPECT_STREQ(chart->siteName, "Tokyo (Japan)");
    EXPECT_STREQ(appData->siteName, "Tokyo (Japan)");
    EXPECT_DOUBLE_EQ(chart->sky.latitudeDeg, 35.683);
    EXPECT_DOUBLE_EQ(chart->sky.longitudeDeg, 139.767);
    EXPECT_DOUBLE_EQ(chart->sky.altitudeM, 10.0);
    EXPECT_DOUBLE_EQ(appData->siteZoneHours, 9.0);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);

    // 2. No usable option: the resource's site, with its coordinates and zone
    // too (not the name alone over another site's place), and the box.
    appData->siteName[0] = '\0';
    chart.reset();
    optionsFileSet(options.c_str(), "SiteName", "Atlantis");
    envInitSite(chart.get(), "Honolulu (USA)");
    EXPECT_STREQ(chart->siteName, "Honolulu (USA)");
    EXPECT_STREQ(appData->siteName, "") << "the resource's site is not the user's choice";
    EXPECT_DOUBLE_EQ(chart->sky.latitudeDeg, 21.307) << "name shown over another site's place";
    EXPECT_DOUBLE_EQ(chart->sky.longitudeDeg, -157.858);
    EXPECT_DOUBLE_EQ(chart->sky.altitudeM, 5.0);
    EXPECT_DOUBLE_EQ(appData->siteZoneHours, -10.0);
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    char expected[256];
    EXPECT_STREQ(uiHooksRecordedMessageText(0), getResourceString("messageSiteNotInit", expected, sizeof expected));
    EXPECT_STRNE(expected, "") << "messageSiteNotInit has no fallback text";

    // 3. Neither found: Greenwich.
    chart.reset();
    envInitSite(chart.get(), "Nowhere");
    EXPECT_STREQ(chart->siteName, "Greenwich (United Kingdom)");
    EXPECT_DOUBLE_EQ(chart->sky.latitudeDeg, 51.477);
    EXPECT_DOUBLE_EQ(chart->sky.longitudeDeg, 0.0);
    EXPECT_DOUBLE_EQ(chart->sky.altitudeM, 50.0);
    EXPECT_DOUBLE_EQ(appData->siteZoneHours, 0.0);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 2);
}

TEST_F(SettingsTest, ImageViewerIsTheFirstOnPath)
{
    TempDir bin;
    std::string display = bin.write("display", "#!/bin/sh\n");
    chmod(display.c_str(), 0755);
    std::string saved = std::getenv("PATH") ? std::getenv("PATH") : "";
    setenv("PATH", bin.path().c_str(), 1);
    struct Case {
        const char *name;
        std::vector<const char *> viewers;
        std::string expected;
    } cases[] = {
        {"first found wins", {"xli -quiet -title '%s'", "display -title '%s'", "display -x"}, "display -title '%s'"},
        {"empty one ends with the built-in", {"xli -q", "", "display -title '%s'"}, "xloadimage -quiet -title '%s'"},
        {"none set", {}, "xloadimage -quiet -title '%s'"},
        {"all nine set, none found: the ninth", {"a", "b", "c", "d", "e", "f", "g", "h", "i9 -t"}, "i9 -t"},
        {"tilde expanded", {"~/bin/view %s", "display"}, "display"},
    };
    for (const Case &c : cases) {
        const char *viewers[kImageViewerCount] = {};
        for (size_t i = 0; i < c.viewers.size(); ++i)
            viewers[i] = c.viewers[i];
        char out[256];
        envChooseImageViewer(viewers, out, sizeof out);
        EXPECT_EQ(std::string(out), c.expected) << c.name;
    }
    setenv("PATH", saved.c_str(), 1);
}

TEST_F(SettingsTest, ApplyResourcesFillsTheRecordInOrder)
{
    std::string dir = makeUserDir();
    TempDir data;
    data.write("consname.dat", "c");
    data.write("consname.dat.ja", "c ja");
    data.write("starname.dat", "s");
    data.write("skymark.adf", "m");
    data.write("skymark.adf.ja", "m ja");
    data.write("tavik.cdf", "d");
    std::string sites = data.write("tavik.obs", kThreeSites);
    std::string options = dir + "/options";
    optionsFileSet(options.c_str(), "GscDataPath", "~/gsc-as-typed");
    optionsFileSet(options.c_str(), "SaveImagePath", "/pictures");
    strCopyBounded(appData->languageCode, sizeof appData->languageCode, "ja");

    std::string d = data.path() + "/";
    std::vector<std::string> paths = {d + "comet.elm", d + "mp.elm", d + "consname.dat", d + "starname.dat",
                                      sites, "European", "~/tavik.sao", "/cdrom", d + "tavik.gsc",
                                      d + "skymark.adf", "~/scenes", "~", "~/adf", d + "tavik.cdf", "~/image/"};
    AppResources r = kAppResourceDefaults;
    char **fields[] = {&r.cometFile, &r.minorPlanetFile, &r.constDataFile, &r.starNameDataFile, &r.siteFile,
                       &r.dateStyle, &r.saoFile, &r.gscPath, &r.gscIndexFile, &r.skyMarkFile,
                       &r.stlFileIoPath, &r.saveImagePath, &r.userObjectFilePath, &r.clickDataFile,
                       &r.clickImagePath};
    for (size_t i = 0; i < paths.size(); ++i)
        *fields[i] = &paths[i][0];
    r.saveHistory = 25;
    r.blinkTime = 0;
    const char *viewers[kImageViewerCount] = {};

    setenv("TZ", "UTC0", 1);
    tzset();
    setClockSource([]() -> std::time_t { return 1700000047; }); // 2023-11-14 22:14:07 UT
    envApplyResources(chart.get(), &r, "Sydney (Australia)", viewers);
    setClockSource(nullptr);

    const std::string h = home.path();
    EXPECT_STREQ(appData->cometFile, (d + "comet.elm").c_str());
    EXPECT_STREQ(appData->cometIndexFile, (h + "/.tavik/comet.dbm").c_str());
    EXPECT_STREQ(appData->minorPlanetIndexFile, (h + "/.tavik/mp.dbm").c_str());
    EXPECT_STREQ(appData->constNameFile, (d + "consname.dat.ja").c_str());
    EXPECT_STREQ(appData->starNameFile, (d + "starname.dat").c_str()) << "no localized file to take";
    EXPECT_STREQ(appData->siteFile, (dir + "/tavik.obs").c_str());
    EXPECT_STREQ(chart->siteName, "Sydney (Australia)");
    EXPECT_DOUBLE_EQ(chart->sky.latitudeDeg, -33.867);
    EXPECT_EQ(chart->dateStyle, 2);
    EXPECT_STREQ(appData->saoFile, (h + "/tavik.sao").c_str());
    EXPECT_STREQ(appData->gscPath, "~/gsc-as-typed") << "the option is used unexpanded";
    EXPECT_STREQ(appData->gscRegionTableFile, (d + "tavik.gsc").c_str());
    EXPECT_STREQ(appData->skyMarkFile, (d + "skymark.adf.ja").c_str());
    EXPECT_STREQ(appData->stlFileIoPath, (h + "/scenes").c_str());
    EXPECT_STREQ(appData->saveImagePath, "/pictures") << "the option wins over the resource";
    EXPECT_STREQ(appData->userObjectFilePath, (h + "/adf").c_str());
    EXPECT_STREQ(appData->clickDataFile, (d + "tavik.cdf").c_str());
    EXPECT_STREQ(appData->clickImagePath, (h + "/image/").c_str());
    EXPECT_STREQ(appData->imageViewerCommand, "xloadimage -quiet -title '%s'");
    EXPECT_EQ(appData->saveHistory, 25);
    EXPECT_EQ(appData->blinkTime, 10) << "a blink count below 1";
    const DateTime &now = chart->sky.date;
    EXPECT_EQ(now.year * 100000000LL + now.month * 1000000 + now.day * 10000 + now.hour * 100 + now.minute,
              202311142214LL);
    EXPECT_EQ(now.second, 0.0) << "seconds of the start-up date";
    EXPECT_DOUBLE_EQ(chart->sky.date.zone, 10.0) << "the date takes the default site's zone";
    EXPECT_DOUBLE_EQ(chart->zoneHours, 10.0);
    EXPECT_EQ(chart->lastEphemerisJd, kNeverJd);

    r.blinkTime = 5;
    envApplyResources(chart.get(), &r, "Sydney (Australia)", viewers);
    EXPECT_EQ(appData->blinkTime, 5);
}

TEST(DateStyle, Codes)
{
    struct Case {
        const char *value;
        int code;
    } cases[] = {{"English", 0}, {"Japanese", 1}, {"JAPANESE", 1}, {"european", 2}, {"", 0}, {nullptr, 0},
                 {"Japan", 0}};
    for (const Case &c : cases)
        EXPECT_EQ(envDateStyleCode(c.value), c.code) << (c.value ? c.value : "(null)");
}

char *bodyNameProvider(const char *name, char *buf, int len)
{
    std::snprintf(buf, static_cast<size_t>(len), "<%s>", name + std::strlen("messagePlanet"));
    return buf;
}

TEST_F(SettingsTest, BodyNamesInTheirOrderAndFreedOnce)
{
    setResourceStringProvider(bodyNameProvider);
    ASSERT_EQ(envCopyBodyNames(), 1);
    const char *expected[kBodyNameCount] = {"<Mercury>", "<Venus>", "<Earth>", "<Mars>", "<Jupiter>",
                                            "<Saturn>", "<Uranus>", "<Neptune>", "<Pluto>", "<JsIo>",
                                            "<JsEuropa>", "<JsGanymede>", "<JsCallist>"};
    for (int i = 0; i < kBodyNameCount; ++i)
        EXPECT_STREQ(appData->bodyNames[i], expected[i]) << i;
    envFreeBodyNames();
    for (char *name : appData->bodyNames)
        EXPECT_EQ(name, nullptr);
    envFreeBodyNames();
}

} // namespace

namespace {

int toolbarShownHook() { return 1; }
int toolbarHiddenHook() { return 0; }
// The options writer only asks whether the tip shell exists.
Widget someTipShell()
{
    static int stand;
    return reinterpret_cast<Widget>(&stand);
}

TEST_F(SettingsTest, QuitWritesTheRecordsOptions)
{
    EXPECT_EQ(optionsWriteAll(), 0) << "no per-user directory: nothing written";
    std::string dir = makeUserDir();
    // The file says the opposite of the widgets: the widgets win.
    {
        FILE *f = std::fopen((dir + "/options").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("Toolbar = True\nTipHelp = False\n", f);
        std::fclose(f);
    }
    uiHooks.toolbarManaged = toolbarHiddenHook;
    appData->tipShell = someTipShell();
    appData->confirmQuit = 0;
    strCopyBounded(appData->stlFileIoPath, kPathSize, "/s");
    strCopyBounded(appData->gscPath, kPathSize, "/cdrom");
    strCopyBounded(appData->tzOption, sizeof appData->tzOption, "UTC");
    appData->socketPort = 7000;
    ASSERT_EQ(optionsWriteAll(), 1);
    EXPECT_EQ(readFile(dir + "/options"),
              "Toolbar = False\nTipHelp = True\nConfirmQuit = False\nConfirmInit = True\n"
              "StlFileIoPath = /s\nSaveImagePath = \nUserObjectFilePath = \nGscDataPath = /cdrom\n"
              "TZ = UTC\nSocketPort = 7000\n");
    appData->tipShell = nullptr;
    EXPECT_EQ(optionGetInt("SocketPort", 0), 7000);
    EXPECT_EQ(optionGetBool("TipHelp", 0), 1);
    EXPECT_EQ(optionSet("SiteName", "Tokyo (Japan)"), 1);
    char name[64];
    EXPECT_EQ(optionGetString("SiteName", name, sizeof name), 1);
    EXPECT_STREQ(name, "Tokyo (Japan)");
}

TEST_F(SettingsTest, QuitWritesWhetherTheToolbarIsShownAndTheTipShellExists)
{
    std::string dir = makeUserDir();
    struct Case {
        int (*toolbarManaged)();
        bool tips;
        const char *expected;
    } cases[] = {
        {toolbarShownHook, true, "Toolbar = True\nTipHelp = True\n"},
        {toolbarHiddenHook, true, "Toolbar = False\nTipHelp = True\n"},
        {toolbarShownHook, false, "Toolbar = True\nTipHelp = False\n"},
        {toolbarHiddenHook, false, "Toolbar = False\nTipHelp = False\n"},
    };
    for (const Case &c : cases) {
        // What start-up read does not count.
        FILE *f = std::fopen((dir + "/options").c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("Toolbar = False\nTipHelp = no\n", f);
        std::fclose(f);
        uiHooks.toolbarManaged = c.toolbarManaged;
        appData->tipShell = c.tips ? someTipShell() : nullptr;
        ASSERT_EQ(optionsWriteAll(), 1);
        appData->tipShell = nullptr;
        EXPECT_EQ(readFile(dir + "/options").substr(0, std::strlen(c.expected)), c.expected);
    }
}

} // namespace

namespace {

// What a child wrote on one of its standard streams while running `step`.
std::string streamOfChild(FILE *stream, const std::string &file, const std::function<int()> &step,
                          int *result)
{
    *result = runInChild([&] {
        if (!std::freopen(file.c_str(), "w", stream))
            return 100;
        int r = step();
        std::fflush(stream);
        return r;
    });
    return readFile(file);
}

TEST_F(SettingsTest, KeptOptionsFileIsSaidOnceOnStandardError)
{
    std::string dir = makeUserDir();
    const std::string path = dir + "/options";
    const std::string said = "tavik: The options were not saved; " + path + " is kept as it was.\n";
    TempDir out;
    struct Case {
        const char *name;
        void (*prepare)(const std::string &path);
    } cases[] = {
        {"read-only options file", [](const std::string &p) { chmod(p.c_str(), 0444); }},
        {"no temporary can be made beside it",
         [](const std::string &p) { mkdir((p + ".$NEW$").c_str(), 0755); }},
    };
    for (const Case &c : cases) {
        rmdir((path + ".$NEW$").c_str());
        std::remove(path.c_str());
        FILE *f = std::fopen(path.c_str(), "w");
        ASSERT_NE(f, nullptr);
        std::fputs("SiteName = Kept\n", f);
        std::fclose(f);
        c.prepare(path);
        int result = -1;
        std::string err = streamOfChild(stderr, out.file("err"), [] {
            // Quit twice and set an option: three refusals, one message.
            return optionsWriteAll() + optionsWriteAll() + optionSet("TZ", "UTC");
        }, &result);
        EXPECT_EQ(result, 0) << c.name << ": a kept file reported as saved";
        EXPECT_EQ(err, said) << c.name;
        chmod(path.c_str(), 0600);
        EXPECT_EQ(readFile(path), "SiteName = Kept\n") << c.name;
    }
    rmdir((path + ".$NEW$").c_str());
}

TEST_F(SettingsTest, IndexBuildAnnouncedWithProgressOnStandardOutput)
{
    makeUserDir();
    TempDir data;
    const std::string comet = data.write("comet.elm", "C ...\n"); // no index yet
    catalogIndexNoticeShown = 0; // a fresh run: no notice given yet
    TempDir out;
    int result = -1;
    std::string said = streamOfChild(stdout, out.file("out"), [&] {
        char index[256];
        return catalogIndexPath(index, sizeof index, comet.c_str()) == 1 ? 0 : 1;
    }, &result);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(said, "tavik: Creating index file.  This may take a while.\n" + std::string(50, '.') + "done.\n");
}

// A build that could not be written once left a 0-byte "comet.dbm.$NEW$"
// and gave the notice at every start with nothing saying it failed.
TEST_F(SettingsTest, AnIndexThatCannotBeWrittenIsSaidOnceAndLeavesNoTemporary)
{
    const std::string dir = makeUserDir();
    TempDir data;
    const std::string comet = data.write("comet.elm", readFile(TAVIK_SOURCE_DIR "/data/comet.elm"));
    const std::string index = dir + "/comet.dbm";
    const std::string said = "tavik: Creating index file.  This may take a while.\n"
                             "tavik: The index file " + index +
                             " could not be written; the comets and minor planets are read without it.\n";
    const int result = runWithFileSizeLimit(64, [&] {
        char *text = nullptr;
        size_t size = 0;
        FILE *notice = open_memstream(&text, &size);
        int shown = 0;
        char out[256];
        // Start-up looks twice in one run: the comet file and, later, its
        // index again (a second resource pass or a repair).
        for (int look = 0; look < 2; look++)
            catalogIndexRefresh(out, sizeof out, comet.c_str(),
                                [](const char *e, const char *i) { return catalogIndexBuildTo(e, i, nullptr); },
                                &shown, notice);
        std::fclose(notice);
        const int same = text && said == text;
        if (!same)
            std::fprintf(stderr, "said: %s\n", text ? text : "(nothing)");
        std::free(text);
        return same ? 0 : 1;
    });
    EXPECT_EQ(result, 0) << "the notice and one failure line";
    EXPECT_FALSE(pathExists(index));
    EXPECT_FALSE(pathExists(index + ".$NEW$")) << "a cut temporary is left";
}

} // namespace
