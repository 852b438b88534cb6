// The site dialogs without X: edit fields to and from site lines, the edit
// checks in their order, the list as read from a file with lines the reader
// skips (each listed site keeping its own line number), the search, and a
// rewrite that fails on a full disk leaving the file as it was.
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/options.h"
#include "tests/support/temp_dir.h"
#include "ui/dialogs/site_dialogs.h"
#include "tests/support/test_chart.h"

namespace {

// A site line from its name and the 30 columns after it, typed out.
std::string siteLine(const std::string &name, const char *tail)
{
    std::string line = name;
    line.resize(40, ' ');
    return line + tail;
}

SiteListState listOf(std::vector<const char *> names)
{
    SiteListState list{};
    for (auto it = names.rbegin(); it != names.rend(); ++it)
        EXPECT_EQ(siteListInsertFirst(&list, *it), 1);
    return list;
}

struct EditCase {
    const char *what;
    std::string line;
    const char *longDeg, *longMin, *latiDeg, *latiMin, *alti, *zone;
    bool west, south, minus;
};

TEST(SiteEdit, FieldsFromALineComposeTheSameLineAgain)
{
    const EditCase cases[] = {
        {"east, north, zone +9", siteLine("Tokyo (Japan)", " 139.733E 35.683N   31 +09.00 "), "139", "44", "35",
         "41", "31", "09.00", false, false, false},
        {"west, zone -8", siteLine("100 Mile House (Canada)", " 121.283W 51.633N  927 -08.00 "), "121", "17", "51",
         "38", "927", "08.00", true, false, true},
        {"south, zone +10", siteLine("Sydney (Australia)", " 151.200E 33.867S   58 +10.00 "), "151", "12", "33",
         "52", "58", "10.00", false, true, false},
        {"west and south", siteLine("Santiago (Chile)", "  70.667W 33.450S  520 -04.00 "), "70", "40", "33", "27",
         "520", "04.00", true, true, true},
        {"lowest altitude, zone -14", siteLine("Low", "  35.500E 31.500N -999 -14.00 "), "35", "30", "31", "30",
         "-999", "14.00", false, false, true},
        {"highest altitude, zone +14", siteLine("High", "  86.917E 27.983N 9999 +14.00 "), "86", "55", "27", "59",
         "9999", "14.00", false, false, false},
        {"half-hour zone", siteLine("Adelaide", " 138.600E 34.933S   50 +09.50 "), "138", "36", "34", "56", "50",
         "09.50", false, true, false},
        {"180 degrees", siteLine("Date Line", " 180.000W 90.000N    0 -12.00 "), "180", "0", "90", "0", "0", "12.00",
         true, false, true},
    };
    SiteListState empty{};
    for (const EditCase &c : cases) {
        ASSERT_EQ(c.line.size(), 70u) << c.what;
        SiteEditValues v{};
        ASSERT_EQ(siteEditFromLine(c.line.c_str(), c.line.size(), &v), 1) << c.what;
        EXPECT_STREQ(v.longDeg, c.longDeg) << c.what;
        EXPECT_STREQ(v.longMin, c.longMin) << c.what;
        EXPECT_STREQ(v.latiDeg, c.latiDeg) << c.what;
        EXPECT_STREQ(v.latiMin, c.latiMin) << c.what;
        EXPECT_STREQ(v.alti, c.alti) << c.what;
        EXPECT_STREQ(v.zoneHours, c.zone) << c.what;
        EXPECT_EQ(v.west, c.west ? kToggleOn : kToggleOff) << c.what;
        EXPECT_EQ(v.east, c.west ? kToggleOff : kToggleOn) << c.what;
        EXPECT_EQ(v.south, c.south ? kToggleOn : kToggleOff) << c.what;
        EXPECT_EQ(v.zoneMinus, c.minus ? kToggleOn : kToggleOff) << c.what;
        char line[kSiteLineLength + 1];
        DialogResult r;
        dialogResultClear(&r);
        ASSERT_EQ(siteEditCompose(&v, &empty, -1, line, &r), 1) << c.what << ": " << r.messageResource;
        EXPECT_EQ(std::string(line), c.line + "\n") << c.what;
    }
}

// 10.999 degrees is 10 degrees 59.94 minutes: shown as 60 minutes it could
// never pass the edit checks.
TEST(SiteEdit, MinutesThatRoundToSixtyCarryIntoTheDegrees)
{
    const std::string line = siteLine("Carry", "  10.999E 89.999S    0 +00.00 ");
    SiteEditValues v{};
    ASSERT_EQ(siteEditFromLine(line.c_str(), line.size(), &v), 1);
    EXPECT_STREQ(v.longDeg, "11");
    EXPECT_STREQ(v.longMin, "0");
    EXPECT_STREQ(v.latiDeg, "90");
    EXPECT_STREQ(v.latiMin, "0");
    SiteListState empty{};
    char composed[kSiteLineLength + 1];
    DialogResult r;
    dialogResultClear(&r);
    ASSERT_EQ(siteEditCompose(&v, &empty, -1, composed, &r), 1) << r.messageResource;
    EXPECT_EQ(std::string(composed), siteLine("Carry", "  11.000E 90.000S    0 +00.00 ") + "\n");
}

TEST(SiteEdit, NewStartsFromTheTemplate)
{
    SiteEditValues v{};
    ASSERT_EQ(siteEditFromLine(kSiteNewTemplate, std::strlen(kSiteNewTemplate), &v), 1);
    EXPECT_STREQ(v.name, "");
    EXPECT_STREQ(v.longDeg, "0");
    EXPECT_STREQ(v.longMin, "0");
    EXPECT_EQ(v.east, kToggleOn);
    EXPECT_EQ(v.north, kToggleOn);
    EXPECT_STREQ(v.alti, "0");
    EXPECT_STREQ(v.zoneHours, "00.00");
    EXPECT_EQ(v.zonePlus, kToggleOn);
    std::snprintf(v.name, sizeof v.name, "%s", "Null Island");
    SiteListState empty{};
    char line[kSiteLineLength + 1];
    DialogResult r;
    dialogResultClear(&r);
    ASSERT_EQ(siteEditCompose(&v, &empty, -1, line, &r), 1);
    EXPECT_EQ(std::string(line), siteLine("Null Island", "   0.000E  0.000N    0 +00.00 ") + "\n");
}

TEST(SiteEdit, ChecksRunInOrderAndNameTheirMessage)
{
    SiteListState list = listOf({"Greenwich (United Kingdom)", "Tokyo (Japan)"});
    const std::string tokyo = siteLine("Tokyo (Japan)", " 139.733E 35.683N   31 +09.00 ");
    struct Case {
        const char *what;
        int edited;
        void (*change)(SiteEditValues &v);
        const char *refusal; // null: accepted
    };
    const Case cases[] = {
        {"the site itself keeps its name", 1, [](SiteEditValues &) {}, nullptr},
        {"another site's name", -1, [](SiteEditValues &) {}, "messageSiteAlreadyExist"},
        {"another site's name with trailing blanks", 0,
         [](SiteEditValues &v) { std::snprintf(v.name, sizeof v.name, "%s", "Tokyo (Japan)   "); },
         "messageSiteAlreadyExist"},
        {"a blank name before anything else", 1,
         [](SiteEditValues &v) {
             std::snprintf(v.name, sizeof v.name, "%s", "   ");
             std::snprintf(v.longDeg, sizeof v.longDeg, "%s", "999");
         },
         "messageMustSpecSiteName"},
        {"a semicolon would split LOCATE", 1,
         [](SiteEditValues &v) { std::snprintf(v.name, sizeof v.name, "%s", "Tokyo;EXIT"); },
         "messageInvalidSiteName"},
        {"a quote would end the name", 1,
         [](SiteEditValues &v) { std::snprintf(v.name, sizeof v.name, "%s", "Tokyo \"East\""); },
         "messageInvalidSiteName"},
        {"a duplicate before a bad longitude", -1,
         [](SiteEditValues &v) { std::snprintf(v.longDeg, sizeof v.longDeg, "%s", "181"); },
         "messageSiteAlreadyExist"},
        {"181 degrees", 1, [](SiteEditValues &v) { std::snprintf(v.longDeg, sizeof v.longDeg, "%s", "181"); },
         "messageInvalidSiteLongDeg"},
        {"degrees not a number", 1, [](SiteEditValues &v) { std::snprintf(v.longDeg, sizeof v.longDeg, "%s", "1x"); },
         "messageInvalidSiteLongDeg"},
        {"60 minutes", 1, [](SiteEditValues &v) { std::snprintf(v.longMin, sizeof v.longMin, "%s", "60"); },
         "messageInvalidSiteLongMin"},
        {"180 degrees 30 minutes", 1,
         [](SiteEditValues &v) {
             std::snprintf(v.longDeg, sizeof v.longDeg, "%s", "180");
             std::snprintf(v.longMin, sizeof v.longMin, "%s", "30");
         },
         "messageInvalidSiteLong"},
        {"91 degrees of latitude", 1,
         [](SiteEditValues &v) { std::snprintf(v.latiDeg, sizeof v.latiDeg, "%s", "91"); },
         "messageInvalidSiteLatiDeg"},
        {"negative latitude minutes", 1,
         [](SiteEditValues &v) { std::snprintf(v.latiMin, sizeof v.latiMin, "%s", "-1"); },
         "messageInvalidSiteLatiMin"},
        {"90 degrees 1 minute", 1,
         [](SiteEditValues &v) {
             std::snprintf(v.latiDeg, sizeof v.latiDeg, "%s", "90");
             std::snprintf(v.latiMin, sizeof v.latiMin, "%s", "1");
         },
         "messageInvalidSiteLati"},
        {"altitude not a number", 1, [](SiteEditValues &v) { std::snprintf(v.alti, sizeof v.alti, "%s", "9x"); },
         "messageInvalidSiteAlti"},
        {"no altitude", 1, [](SiteEditValues &v) { std::snprintf(v.alti, sizeof v.alti, "%s", " "); },
         "messageInvalidSiteAlti"},
        {"zone -14 accepted", 1,
         [](SiteEditValues &v) {
             std::snprintf(v.zoneHours, sizeof v.zoneHours, "%s", "14");
             v.zonePlus = kToggleOff;
             v.zoneMinus = kToggleOn;
         },
         nullptr},
        {"zone -14.5 refused", 1,
         [](SiteEditValues &v) {
             std::snprintf(v.zoneHours, sizeof v.zoneHours, "%s", "14.5");
             v.zonePlus = kToggleOff;
             v.zoneMinus = kToggleOn;
         },
         "messageInvalidSiteTz"},
        {"a typed -3 would have become +-3.00", 1,
         [](SiteEditValues &v) { std::snprintf(v.zoneHours, sizeof v.zoneHours, "%s", "-3"); },
         "messageInvalidSiteTz"},
        {"a zone that is no number", 1,
         [](SiteEditValues &v) { std::snprintf(v.zoneHours, sizeof v.zoneHours, "%s", "nine"); },
         "messageInvalidSiteTz"},
    };
    for (const Case &c : cases) {
        SiteEditValues v{};
        ASSERT_EQ(siteEditFromLine(tokyo.c_str(), tokyo.size(), &v), 1);
        c.change(v);
        char line[kSiteLineLength + 1] = "";
        DialogResult r;
        dialogResultClear(&r);
        const int ok = siteEditCompose(&v, &list, c.edited, line, &r);
        if (c.refusal) {
            EXPECT_EQ(ok, 0) << c.what;
            EXPECT_STREQ(r.messageResource, c.refusal) << c.what;
        } else {
            EXPECT_EQ(ok, 1) << c.what << ": " << r.messageResource;
        }
    }
    SiteEditValues v{};
    siteEditFromLine(tokyo.c_str(), tokyo.size(), &v);
    std::snprintf(v.zoneHours, sizeof v.zoneHours, "%s", "14");
    v.zonePlus = kToggleOff;
    v.zoneMinus = kToggleOn;
    char line[kSiteLineLength + 1];
    DialogResult r;
    dialogResultClear(&r);
    ASSERT_EQ(siteEditCompose(&v, &list, 1, line, &r), 1);
    EXPECT_EQ(std::string(line + 63), "-14.00 \n");
    siteListFree(&list);
}

// One good line, one of 80 bytes, a CRLF line, one with ";" in the name, a good one.
const std::string kGood1 = siteLine("Alpha", " 139.733E 35.683N   31 +09.00 ") + "\n";
const std::string kLong = siteLine("Too long", " 139.733E 35.683N   31 +09.00 ") + "0123456789\n";
const std::string kCrlf = siteLine("Beta", " 121.283W 51.633N  927 -08.00 ") + "\r\n";
const std::string kSemicolon = siteLine("Gam;ma", "   0.000E  0.000N    0 +00.00 ") + "\n";
const std::string kGood2 = siteLine("Delta", " 151.200E 33.867S   58 +10.00 ") + "\n";
const std::string kFixture = kGood1 + kLong + kCrlf + kSemicolon + kGood2;

struct SiteFileTest : ::testing::Test {
    TempDir dir;
    std::string path;
    SiteListState list{};
    void SetUp() override
    {
        path = dir.write("sites.obs", kFixture);
        ASSERT_EQ(siteListRead(path.c_str(), &list), 1);
    }
    void TearDown() override { siteListFree(&list); }
    std::vector<std::string> names()
    {
        std::vector<std::string> out;
        for (int i = 0; i < list.count; i++)
            out.emplace_back(std::string(list.entries[i].name) + "@" + std::to_string(list.entries[i].lineNumber));
        return out;
    }
};

TEST_F(SiteFileTest, TheListHoldsTheSitesTheReaderAcceptsWithTheirLines)
{
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha@1", "Beta@3", "Delta@5"}));
    SiteListState none{};
    EXPECT_EQ(siteListRead(dir.file("missing.obs").c_str(), &none), 0);
    siteListFree(&none);
}

TEST_F(SiteFileTest, EditNewAndRemoveChangeExactlyTheChosenLine)
{
    const std::string edited = siteLine("Delta II", " 151.200E 33.867S   58 +10.00 ") + "\n";
    // Edit the last site: the lines before it stay byte for byte.
    ASSERT_EQ(siteFileRewrite(path.c_str(), kSiteEditReplace, list.entries[2].lineNumber, edited.c_str()), 1);
    siteListRename(&list, 2, "Delta II");
    EXPECT_EQ(readFile(path), kGood1 + kLong + kCrlf + kSemicolon + edited);
    // Remove the CRLF site.
    ASSERT_EQ(siteFileRewrite(path.c_str(), kSiteEditRemove, list.entries[1].lineNumber, nullptr), 1);
    siteListRemove(&list, 1);
    EXPECT_EQ(readFile(path), kGood1 + kLong + kSemicolon + edited);
    EXPECT_EQ(names(), (std::vector<std::string>{"Alpha@1", "Delta II@4"}));
    // New goes first; every listed line moves down one.
    const std::string added = siteLine("Epsilon", "   0.000E  0.000N    0 +00.00 ") + "\n";
    ASSERT_EQ(siteFileRewrite(path.c_str(), kSiteEditInsertFirst, 0, added.c_str()), 1);
    ASSERT_EQ(siteListInsertFirst(&list, "Epsilon"), 1);
    EXPECT_EQ(names(), (std::vector<std::string>{"Epsilon@1", "Alpha@2", "Delta II@5"}));
    // The list agrees with the file as read again.
    SiteListState again{};
    ASSERT_EQ(siteListRead(path.c_str(), &again), 1);
    ASSERT_EQ(again.count, list.count);
    for (int i = 0; i < list.count; i++) {
        EXPECT_STREQ(again.entries[i].name, list.entries[i].name);
        EXPECT_EQ(again.entries[i].lineNumber, list.entries[i].lineNumber);
    }
    siteListFree(&again);
}

TEST_F(SiteFileTest, AFullDiskLeavesTheFileAsItWas)
{
    const std::string edited = siteLine("Delta II", " 151.200E 33.867S   58 +10.00 ") + "\n";
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Room for less than the file: the temporary cannot be written whole.
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit = {100, 100};
        setrlimit(RLIMIT_FSIZE, &limit);
        _exit(siteFileRewrite(path.c_str(), kSiteEditReplace, 5, edited.c_str()) ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the rewrite reports the failure";
    EXPECT_EQ(readFile(path), kFixture);
    EXPECT_EQ(access((path + ".$NEW$").c_str(), F_OK), -1) << "no temporary left";
}

TEST(SiteSearch, FindsAPartOfANameFromEveryStartInAnyCase)
{
    SiteListState list = listOf({"Tokyo (Japan)", "Greenwich (United Kingdom)", "Paris (France)", "Oslo (Norway)"});
    for (const char *text : {"wich", "WICH", "wIcH", "greenwich (united"})
        for (int start = -1; start <= list.count; start++)
            EXPECT_EQ(siteListSearch(&list, text, start), 1) << text << " from " << start;
    EXPECT_EQ(siteListSearch(&list, "Berlin", 0), -1);
    siteListFree(&list);

    // Two matches: the next one after the start, wrapping to the first.
    list = listOf({"Greenwich (United Kingdom)", "Tokyo (Japan)", "Norwich (United Kingdom)", "Oslo (Norway)"});
    struct Case {
        int start, found;
    };
    for (const Case &c : {Case{0, 0}, Case{1, 2}, Case{2, 2}, Case{3, 0}})
        EXPECT_EQ(siteListSearch(&list, "WICH", c.start), c.found) << c.start;
    siteListFree(&list);
}

TEST(SiteDialogFill, TheChartsSiteIsSelectedAndEditingNeedsAWritableFile)
{
    TestChart owner;
    ChartState &chart = *owner;
    std::snprintf(chart.siteName, sizeof chart.siteName, "%s", "Tokyo (Japan)   ");
    struct Case {
        int writable;
    };
    for (const Case &c : {Case{1}, Case{0}}) {
        SiteDialogValues v{};
        v.sites = listOf({"Greenwich (United Kingdom)", "Tokyo (Japan)"});
        v.makeDefault = kToggleOn;
        siteDialogFill(&chart, c.writable, &v);
        EXPECT_EQ(v.names.position, 2);
        ASSERT_EQ(v.names.count, 2);
        EXPECT_STREQ(v.names.texts[0], "Greenwich (United Kingdom)");
        EXPECT_EQ(v.makeDefault, kToggleOff);
        std::vector<uint8_t> s(static_cast<size_t>(kSiteDialog.controlCount), 1);
        kSiteDialog.sensitivity(&v, s.data());
        for (const char *name : {"ButtonEditSite", "ButtonAddSite", "ButtonDelSite"})
            EXPECT_EQ(s[static_cast<size_t>(dialogControlIndex(&kSiteDialog, name))], c.writable) << name;
        for (const char *name : {"ButtonSearch", "SiteList"})
            EXPECT_EQ(s[static_cast<size_t>(dialogControlIndex(&kSiteDialog, name))], 1) << name;
        dialogValuesRelease(&kSiteDialog, &v);
    }
    std::snprintf(chart.siteName, sizeof chart.siteName, "%s", "Elsewhere");
    SiteDialogValues v{};
    v.sites = listOf({"Greenwich (United Kingdom)", "Tokyo (Japan)"});
    siteDialogFill(&chart, 1, &v);
    EXPECT_EQ(v.names.position, 0);
    dialogValuesRelease(&kSiteDialog, &v);
    char why[256] = "";
    EXPECT_EQ(dialogSpecCheck(&kSiteDialog, why, sizeof why), 1) << why;
    EXPECT_EQ(dialogSpecCheck(&kSiteEditDialog, why, sizeof why), 1) << why;
}

// The dialog's own fill and OK on a site file: fill lists what the file
// holds at each opening; OK locates the selected site as the file holds it
// when OK is pressed, or leaves the dialog as it is when nothing is selected
// or the file no longer lists the site.
TEST_F(SiteFileTest, OkLocatesTheSelectedSiteAsTheFileHoldsItNow)
{
    TestChart owner;
    ChartState &chart = *owner;
    std::snprintf(appData->siteFile, sizeof appData->siteFile, "%s", path.c_str());
    std::snprintf(chart.siteName, sizeof chart.siteName, "%s", "Beta");
    struct Case {
        const char *what;
        int position;
        std::string fileAtOk;
        const char *sent; // null: nothing, the dialog stays
    };
    const Case cases[] = {
        {"the chart's own site", 2, kFixture, "LOCATE 121.28300W,51.63300N,-8.00,927.00,\"Beta\";DRIVE"},
        {"the last listed", 3, kFixture, "LOCATE 151.20000E,33.86700S,10.00,58.00,\"Delta\";DRIVE"},
        {"moved to another line meanwhile", 1, kGood2 + kGood1,
         "LOCATE 139.73300E,35.68300N,9.00,31.00,\"Alpha\";DRIVE"},
        {"none selected", 0, kFixture, nullptr},
        {"removed from the file meanwhile", 3, kGood1, nullptr},
    };
    SiteDialogValues v{};
    for (const Case &c : cases) {
        dir.write("sites.obs", kFixture);
        dialogValuesClearForFill(&kSiteDialog, &v);
        kSiteDialog.fill(&chart, appData, &v);
        ASSERT_EQ(v.names.count, 3) << c.what;
        EXPECT_EQ(v.names.position, 2) << c.what;
        v.names.position = c.position;
        dir.write("sites.obs", c.fileAtOk);
        DialogResult r;
        dialogResultClear(&r);
        kSiteDialog.ok(&v, &chart, appData, &r);
        EXPECT_EQ(r.refused, 0) << c.what;
        if (c.sent) {
            EXPECT_EQ(r.stayOpen, 0) << c.what;
            ASSERT_EQ(r.commandCount, 1) << c.what;
            EXPECT_STREQ(r.commands[0], c.sent) << c.what;
        } else {
            EXPECT_EQ(r.stayOpen, 1) << c.what;
            EXPECT_EQ(r.commandCount, 0) << c.what;
        }
    }
    dialogValuesRelease(&kSiteDialog, &v);
}

// "Make it default site" names the chosen site in this run and in the
// options file; left off, the default stays.
TEST_F(SiteFileTest, MakeItDefaultNamesTheChosenSiteInTheOptionsFile)
{
    TestChart owner;
    ChartState &chart = *owner;
    std::snprintf(appData->siteFile, sizeof appData->siteFile, "%s", path.c_str());
    std::snprintf(appData->userDir, sizeof appData->userDir, "%s", dir.path().c_str());
    std::snprintf(appData->siteName, sizeof appData->siteName, "%s", "Alpha");
    SiteDialogValues v{};
    dialogValuesClearForFill(&kSiteDialog, &v);
    kSiteDialog.fill(&chart, appData, &v);
    v.names.position = 3;
    kSiteDialog.accepted(&v, &chart);
    EXPECT_STREQ(appData->siteName, "Alpha") << "the toggle left off";
    v.makeDefault = kToggleOn;
    kSiteDialog.accepted(&v, &chart);
    EXPECT_STREQ(appData->siteName, "Delta");
    char stored[64] = "";
    ASSERT_EQ(optionGetString("SiteName", stored, sizeof stored), 1);
    EXPECT_STREQ(stored, "Delta");
    dialogValuesRelease(&kSiteDialog, &v);
}

TEST(SiteLocate, TheTextsMoveTheChartToTheSite)
{
    struct Case {
        Site site;
        const char *locate;
    };
    const Case cases[] = {
        {{"Tokyo (Japan)", 35.683, 139.733, 31, 9.0}, "LOCATE 139.73300E,35.68300N,9.00,31.00,\"Tokyo (Japan)\""},
        {{"100 Mile House (Canada)", 51.633, -121.283, 927, -8.0},
         "LOCATE 121.28300W,51.63300N,-8.00,927.00,\"100 Mile House (Canada)\""},
        {{"Santiago (Chile)", -33.45, -70.667, 520, -4.0},
         "LOCATE 70.66700W,33.45000S,-4.00,520.00,\"Santiago (Chile)\""},
    };
    for (const Case &c : cases) {
        DialogResult r;
        dialogResultClear(&r);
        siteLocateCommands(&c.site, &r);
        ASSERT_EQ(r.commandCount, 1) << c.locate;
        EXPECT_EQ(std::string(r.commands[0]), std::string(c.locate) + ";DRIVE");
    }
}

} // namespace
