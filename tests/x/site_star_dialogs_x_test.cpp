// The site, user-object, star and nebula dialogs on a private X server, in
// process: each opened from its menu item, fields set as a user would, OK pressed;
// the texts sent are recorded (LOCATE, LOAD AD and UNLOAD AD also run, so the
// chart follows) and each refusal shows one warning box and sends nothing.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Shell.h>
#include <Xm/ArrowB.h>
#include <Xm/FileSB.h>
#include <Xm/List.h>
#include <Xm/RowColumn.h>
#include <Xm/PushB.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/options.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/frame.h"
#include "render/palette.h"
#include "render/x/x_surface.h"
#include "tests/support/x_night_chart.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "tests/support/x_widgets.h"
#include "tests/support/x_xpm.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/input_dialogs.h"
#include "ui/dialogs/site_dialogs.h"
#include "ui/dialogs/star_dialogs.h"
#include "ui/dialogs/user_object_dialogs.h"
#include "ui/window/menus.h"
#include "tests/support/test_chart.h"

namespace {

std::vector<std::string> sent;
// Records every text; the ones that change the chart without drawing run too.
void recordCommand(ChartState *chart, const char *text)
{
    sent.emplace_back(text);
    // Without the DRIVE: nothing is drawn here.
    std::string run = text;
    run = run.substr(0, run.find(";DRIVE"));
    for (const char *word : {"LOCATE ", "LOAD AD ", "UNLOAD AD"})
        if (run.compare(0, std::strlen(word), word) == 0)
            stkExecute(chart, run.c_str());
}

int answer = 1;
int answerQuestion(Widget, const char *) { return answer; }

void type(Widget field, const char *text)
{
    ASSERT_NE(field, nullptr);
    XmTextFieldSetString(field, const_cast<char *>(text));
}

void setToggle(Widget toggle, bool on)
{
    ASSERT_NE(toggle, nullptr);
    XmToggleButtonSetState(toggle, on ? True : False, True);
}

int itemCount(Widget list)
{
    int count = 0;
    XtVaGetValues(list, XmNitemCount, &count, nullptr);
    return count;
}

std::string messages()
{
    std::string all;
    for (int i = 0; i < uiHooksRecordedMessageCount(); i++)
        all += std::string(uiHooksRecordedMessageText(i)) + "|";
    return all;
}

struct DialogsX : ::testing::Test {
    XServer server;
    TempDir dir;
    OwnedChart owner;
    ChartState &chart = *owner;
    void (*savedExecute)(ChartState *, const char *) = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        XtAppContext app = nullptr;
        ASSERT_NE(openDialogShell(server.name(), &app), nullptr);
        Widget menuBar = XmCreateMenuBar(appData->topLevel, const_cast<char *>("MenuBar"), nullptr, 0);
        createMenus(menuBar, &chart);
        XtManageChild(menuBar);
        std::snprintf(appData->userDir, sizeof appData->userDir, "%s", dir.path().c_str());
        uiHooksRecordMessages();
        uiHooks.askQuestion = answerQuestion;
        savedExecute = stkExecuteCall;
        stkExecuteCall = recordCommand;
        sent.clear();
    }
    void TearDown() override
    {
        unloadUserObjects(&chart);
        stkExecuteCall = savedExecute;
        uiHooksReset();
        closeDialogShell();
    }
};

// A name in its 40 columns.
std::string padded(std::string name)
{
    name.resize(40, ' ');
    return name;
}

// Opens a dialog as the user does: its menu item is chosen.
void fromMenu(const char *item)
{
    Widget w = menuItemWidget(item);
    ASSERT_NE(w, nullptr) << item;
    xPress(w);
}

Widget w(const DialogSpec &spec, const char *name) { return dialogWidget(&spec, name); }

TEST_F(DialogsX, StarDialogClampsToTheCatalogueAndTheArrowsStep)
{
    chart.starLimit = 65;
    fromMenu("MenuObjectStar");
    ASSERT_TRUE(dialogIsShown(&kStarDialog));
    EXPECT_EQ(XtParent(w(kStarDialog, "ButtonOK")), w(kStarDialog, "StarButtons"));
    EXPECT_NE(w(kStarDialog, "StarRowColumn"), nullptr);
    EXPECT_EQ(xFieldText(w(kStarDialog, "EditMagLimit")), "6.5");
    xPress(w(kStarDialog, "ArrowMagLimitUp"));
    EXPECT_EQ(xFieldText(w(kStarDialog, "EditMagLimit")), "6.6");
    setToggle(w(kStarDialog, "ToggleStarName"), false);
    setToggle(w(kStarDialog, "ToggleStarMag"), false);
    setToggle(w(kStarDialog, "ToggleStarBayer"), false);
    setToggle(w(kStarDialog, "ToggleStarFlamsteed"), false);
    EXPECT_FALSE(XtIsSensitive(w(kStarDialog, "EditNameMagLimit"))) << "no label: no name limit";
    setToggle(w(kStarDialog, "ToggleStarBayer"), true);
    EXPECT_TRUE(XtIsSensitive(w(kStarDialog, "EditNameMagLimit")));
    type(w(kStarDialog, "EditMagLimit"), "20.0");
    type(w(kStarDialog, "EditNameMagLimit"), "-5.0");
    type(w(kStarDialog, "TextGscPath"), "/media/gsc");
    xPress(w(kStarDialog, "ButtonOK"));
    EXPECT_FALSE(dialogIsShown(&kStarDialog));
    EXPECT_EQ(sent, (std::vector<std::string>{"STARDATA STD", "SHOW STAR", "HIDE STARNAME", "HIDE STAR_MAG",
                                              "SHOW BAYER", "HIDE FLAMSTEED", "MAG STAR 6.5", "MAG STARNAME -2.0",
                                              "DRIVE"}));
    EXPECT_STREQ(appData->gscPath, "/media/gsc");
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << messages();
}

TEST_F(DialogsX, NebulaDialogRefusesLimitsWithOneBoxAndSendsTheToggles)
{
    fromMenu("MenuObjectNebula");
    ASSERT_TRUE(dialogIsShown(&kNebulaDialog));
    EXPECT_EQ(XtParent(w(kNebulaDialog, "ButtonOK")), w(kNebulaDialog, "PlanetButtons"));
    setToggle(w(kNebulaDialog, "ToggleNebula"), true);
    setToggle(w(kNebulaDialog, "ToggleNebulaLimit"), true);
    EXPECT_TRUE(XtIsSensitive(w(kNebulaDialog, "EditMagMinLimit")));
    type(w(kNebulaDialog, "EditMagMinLimit"), "12.0");
    type(w(kNebulaDialog, "EditMagMaxLimit"), "14.0");
    xPress(w(kNebulaDialog, "ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_STREQ(uiHooksRecordedMessageText(0), "Maximum magnitude must be less than minimum magnitude.");
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    type(w(kNebulaDialog, "EditMagMinLimit"), "19.0");
    xPress(w(kNebulaDialog, "ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 2);
    EXPECT_STREQ(uiHooksRecordedMessageText(1), "Limit magnitude must be between -2.0 and 18.0");
    EXPECT_TRUE(dialogIsShown(&kNebulaDialog));
    EXPECT_TRUE(sent.empty());

    setToggle(w(kNebulaDialog, "ToggleNebulaLimit"), false);
    EXPECT_FALSE(XtIsSensitive(w(kNebulaDialog, "EditMagMinLimit")));
    setToggle(w(kNebulaDialog, "ToggleNebulaIC"), false);
    xPress(w(kNebulaDialog, "ButtonOK"));
    EXPECT_FALSE(dialogIsShown(&kNebulaDialog));
    EXPECT_EQ(sent, (std::vector<std::string>{"SHOW MESSIER", "SHOW NGC", "HIDE IC", "SHOW GLOBE", "SHOW PLANETARY",
                                              "SHOW OPEN", "SHOW DIFFUSE", "SHOW GALAXY", "SHOW COMPOUND",
                                              (chart.nebulaFlags & kNebulaMag) ? "SHOW NEBULA_MAG" : "HIDE NEBULA_MAG",
                                              (chart.nebulaFlags & kNebulaName) ? "SHOW NEBULA_NAME"
                                                                                : "HIDE NEBULA_NAME",
                                              "SHOW NEBULA", "MAG NEBULALIMIT 0", "DRIVE"}));
}

struct SiteDialogX : DialogsX {
    std::string sites;
    void SetUp() override
    {
        DialogsX::SetUp();
        sites = dir.write("tavik.obs", readFile(TAVIK_SOURCE_DIR "/data/tavik.obs"));
        ASSERT_FALSE(readFile(sites).empty());
        std::snprintf(appData->siteFile, sizeof appData->siteFile, "%s", sites.c_str());
    }
    Widget list() { return w(kSiteDialog, "SiteList"); }
    int positionOf(const char *name)
    {
        XmString item = XmStringCreateLocalized(const_cast<char *>(name));
        const int pos = XmListItemPos(list(), item);
        XmStringFree(item);
        return pos;
    }
    void select(const char *name)
    {
        const int pos = positionOf(name);
        ASSERT_GT(pos, 0) << name;
        XmListSelectPos(list(), pos, True);
    }
};

TEST_F(SiteDialogX, OkLocatesTheSiteAndMakeDefaultKeepsIt)
{
    fromMenu("MenuSettingsObs");
    ASSERT_TRUE(dialogIsShown(&kSiteDialog));
    select("Tokyo (Japan)");
    xPress(w(kSiteDialog, "ButtonOK"));
    EXPECT_EQ(sent, (std::vector<std::string>{"LOCATE 139.73300E,35.68300N,9.00,31.00,\"Tokyo (Japan)\";DRIVE"}));
    EXPECT_FALSE(dialogIsShown(&kSiteDialog));

    sent.clear();
    ASSERT_EQ(openInputDialog(&chart, kInputDialogLocate), 1) << "INPUT LOCATE opens it too";
    EXPECT_EQ(xSelectedPosition(list()), positionOf("Tokyo (Japan)")) << "the chart's site is selected";
    select("100 Mile House (Canada)");
    setToggle(w(kSiteDialog, "ToggleMakeDefault"), true);
    xPress(w(kSiteDialog, "ButtonOK"));
    EXPECT_EQ(sent, (std::vector<std::string>{"LOCATE 121.28300W,51.65000N,-8.00,916.00,\"100 Mile House (Canada)\";DRIVE"}));
    EXPECT_STREQ(appData->siteName, "100 Mile House (Canada)");
    EXPECT_NE(readFile(dir.file("options")).find("SiteName"), std::string::npos);
    EXPECT_NE(readFile(dir.file("options")).find("100 Mile House (Canada)"), std::string::npos);

    // Search: "wich" in any case from where the list stands; a second OK the next match.
    fromMenu("MenuSettingsObs");
    xPress(w(kSiteDialog, "ButtonSearch"));
    Widget search = XtNameToWidget(w(kSiteDialog, "SiteDialog"), "*SiteSearchDialog");
    ASSERT_NE(search, nullptr);
    XmListSetPos(list(), 1);
    type(XmSelectionBoxGetChild(search, XmDIALOG_TEXT), "GREENWICH");
    XtCallCallbacks(search, XmNokCallback, nullptr);
    EXPECT_EQ(xSelectedPosition(list()), positionOf("Greenwich (USA)")) << "the entry after the top one first";
    XtCallCallbacks(search, XmNokCallback, nullptr);
    EXPECT_EQ(xSelectedPosition(list()), positionOf("Greenwich (United Kingdom)")) << "then wrapping";
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << messages();
}

// Search... pressed again and again, each time OK in the search box: every
// match of the shipped site list in its file order, then round again. The
// button's press rewrote the list's selection and scrolled the match to the
// bottom, so the next search, which starts after the top entry, found it
// again ("Albany, New York (USA)" for ever).
TEST_F(SiteDialogX, RepeatedSearchesWalkThroughEveryMatchAndWrap)
{
    // The matches as grep -i finds them in data/tavik.obs, in line order.
    const struct {
        const char *text;
        std::vector<std::string> sites;
    } cases[] = {
        {"new york",
         {"Albany, New York (USA)", "Lewiston, New York (USA)", "New York (USA)", "Rochester, New York (USA)",
          "Troy, New York (USA)", "Albany, New York (USA)"}},
        {"WICH",
         {"Greenwich (USA)", "Ipswich (Australia)", "Wichita (USA)", "Wichita Falls (USA)",
          "Greenwich (United Kingdom)", "Greenwich (USA)"}},
        // The last two stand among the list's last twelve entries.
        {"(switzerland)",
         {"Bern (Switzerland)", "Bleien (Switzerland)", "Geneva (Switzerland)", "Gornergrat (Switzerland)",
          "Lausanne (Switzerland)", "Zimmerwald (Switzerland)", "Zurich (Switzerland)", "Bern (Switzerland)"}},
        {"tokyo", {"Tokyo (Japan)", "Tokyo (Japan)"}},
    };
    std::snprintf(chart.siteName, sizeof chart.siteName, "%s", "Greenwich (United Kingdom)");
    for (const auto &c : cases) {
        // Each case from a fresh opening: the chart's site, the first entry, at the top.
        fromMenu("MenuSettingsObs");
        ASSERT_TRUE(dialogIsShown(&kSiteDialog));
        ASSERT_EQ(xSelectedPosition(list()), 1);
        std::vector<std::string> found;
        for (size_t k = 0; k < c.sites.size(); k++) {
            xPress(w(kSiteDialog, "ButtonSearch"));
            Widget search = XtNameToWidget(w(kSiteDialog, "SiteDialog"), "*SiteSearchDialog");
            ASSERT_NE(search, nullptr);
            ASSERT_TRUE(XtIsManaged(search));
            type(XmSelectionBoxGetChild(search, XmDIALOG_TEXT), c.text);
            xPress(XmSelectionBoxGetChild(search, XmDIALOG_OK_BUTTON));
            EXPECT_FALSE(XtIsManaged(search)) << c.text << ": a match closes the search box";
            const int pos = xSelectedPosition(list());
            XmStringTable items = nullptr;
            XtVaGetValues(list(), XmNitems, &items, nullptr);
            char *text = nullptr;
            if (pos > 0)
                XmStringGetLtoR(items[pos - 1], const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
            found.emplace_back(text ? text : "");
            XtFree(text);
        }
        EXPECT_EQ(found, c.sites) << c.text;
        xPress(w(kSiteDialog, "ButtonCancel"));
    }
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << messages();
    EXPECT_TRUE(sent.empty());
}

TEST_F(SiteDialogX, EditRenamesTheDefaultSiteRefusesBadFieldsAndRemoveDropsALine)
{
    std::snprintf(appData->siteName, sizeof appData->siteName, "%s", "Tokyo (Japan)");
    fromMenu("MenuSettingsObs");
    const int sitesBefore = itemCount(list());
    select("Tokyo (Japan)");
    xPress(w(kSiteDialog, "ButtonEditSite"));
    ASSERT_TRUE(dialogIsShown(&kSiteEditDialog));
    EXPECT_EQ(xFieldText(w(kSiteEditDialog, "LongDeg")), "139");
    EXPECT_EQ(xFieldText(w(kSiteEditDialog, "LongMin")), "44");
    EXPECT_EQ(xFieldText(w(kSiteEditDialog, "TZHour")), "09.00");

    // A typed "-3" would have become "+-3.00": one box, nothing sent or written.
    const std::string before = readFile(sites);
    type(w(kSiteEditDialog, "TZHour"), "-3");
    xPress(w(kSiteEditDialog, "ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(uiHooksRecordedMessageType(0), kMessageBoxWarning);
    EXPECT_TRUE(dialogIsShown(&kSiteEditDialog));
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(readFile(sites), before);

    // The file cannot be replaced: it stays byte for byte, so do the list
    // and the dialog with what was typed.
    type(w(kSiteEditDialog, "TZHour"), "09.00");
    type(w(kSiteEditDialog, "NameText"), "Tokyo East (Japan)");
    ASSERT_EQ(chmod(sites.c_str(), 0444), 0);
    xPress(w(kSiteEditDialog, "ButtonOK"));
    ASSERT_EQ(uiHooksRecordedMessageCount(), 2);
    EXPECT_NE(std::string(uiHooksRecordedMessageText(1)).find(sites), std::string::npos) << messages();
    EXPECT_TRUE(dialogIsShown(&kSiteEditDialog));
    EXPECT_EQ(xFieldText(w(kSiteEditDialog, "NameText")), "Tokyo East (Japan)");
    EXPECT_EQ(readFile(sites), before);
    EXPECT_GT(positionOf("Tokyo (Japan)"), 0);
    EXPECT_TRUE(sent.empty());
    EXPECT_STREQ(appData->siteName, "Tokyo (Japan)");

    // Writable again: the line is replaced, the chart moves to the renamed
    // default site and the option follows.
    ASSERT_EQ(chmod(sites.c_str(), 0644), 0);
    xPress(w(kSiteEditDialog, "ButtonOK"));
    EXPECT_FALSE(dialogIsShown(&kSiteEditDialog));
    EXPECT_EQ(sent,
              (std::vector<std::string>{"LOCATE 139.73300E,35.68300N,9.00,31.00,\"Tokyo East (Japan)\";DRIVE"}));
    EXPECT_STREQ(appData->siteName, "Tokyo East (Japan)");
    EXPECT_NE(readFile(dir.file("options")).find("Tokyo East (Japan)"), std::string::npos);
    const std::string after = readFile(sites);
    EXPECT_EQ(after.find("Tokyo (Japan) "), std::string::npos);
    EXPECT_NE(after.find(padded("Tokyo East (Japan)") + " 139.733E 35.683N   31 +09.00 \n"), std::string::npos);
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(positionOf("Tokyo (Japan)"), 0);
    EXPECT_EQ(xSelectedPosition(list()), positionOf("Tokyo East (Japan)"));

    // Remove, answered yes: that line goes, the next site is selected.
    sent.clear();
    select("100 Mile House (Canada)");
    const int removedAt = xSelectedPosition(list());
    xPress(w(kSiteDialog, "ButtonDelSite"));
    EXPECT_EQ(readFile(sites).find("100 Mile House"), std::string::npos);
    EXPECT_EQ(readFile(sites).size(), after.size() - 71);
    EXPECT_EQ(itemCount(list()), sitesBefore - 1);
    EXPECT_EQ(xSelectedPosition(list()), removedAt);
    EXPECT_TRUE(sent.empty());

    // New: a site put first in the file and the list.
    xPress(w(kSiteDialog, "ButtonAddSite"));
    ASSERT_TRUE(dialogIsShown(&kSiteEditDialog));
    EXPECT_EQ(xFieldText(w(kSiteEditDialog, "NameText")), "");
    type(w(kSiteEditDialog, "NameText"), "Null Island");
    xPress(w(kSiteEditDialog, "ButtonOK"));
    EXPECT_EQ(readFile(sites).rfind(padded("Null Island") + "   0.000E  0.000N    0 +00.00 \n", 0), 0u);
    EXPECT_EQ(xSelectedPosition(list()), 1);
    EXPECT_TRUE(sent.empty()) << "a new site is not the default one";
    EXPECT_EQ(uiHooksRecordedMessageCount(), 2) << messages();

    // Someone else drops the first line: the listed line numbers are stale,
    // so Remove touches nothing and the list is read again.
    const std::string changed = readFile(sites).substr(71);
    dir.write("tavik.obs", changed);
    select("Aachen (Germany)");
    xPress(w(kSiteDialog, "ButtonDelSite"));
    EXPECT_EQ(readFile(sites), changed);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 3) << messages();
    EXPECT_EQ(positionOf("Null Island"), 0);
    EXPECT_GT(positionOf("Aachen (Germany)"), 0);
}

TEST_F(DialogsX, UserObjectDialogReplacesTheFilesByTheListedOnes)
{
    const std::string a = dir.write("a.adf", readFile(TAVIK_SOURCE_DIR "/data/adf/sample.adf"));
    const std::string b = dir.write("b.adf", "EPOCH J2000\n0535.3 -0523 MARK 1 \"Trapezium\" 2\n");
    const std::string c = dir.write("c.adf", "EPOCH J2000\n1757.8 0441 STAR 9.5 9 \"Barnard\" 4\n");
    fromMenu("MenuObjectUserObject");
    ASSERT_TRUE(dialogIsShown(&kUserObjectDialog));
    Widget list = w(kUserObjectDialog, "UserObjectList");
    EXPECT_EQ(itemCount(list), 0);
    EXPECT_FALSE(XtIsSensitive(w(kUserObjectDialog, "ButtonDelFile")));
    xPress(w(kUserObjectDialog, "ButtonOK"));
    EXPECT_EQ(sent, (std::vector<std::string>{"UNLOAD AD", "DRIVE"}));

    sent.clear();
    fromMenu("MenuObjectUserObject");
    xPress(w(kUserObjectDialog, "ButtonAddFile"));
    Widget add = XtNameToWidget(w(kUserObjectDialog, "UserObjectDialog"), "*AddUserObjectDialog");
    ASSERT_NE(add, nullptr);
    auto choose = [&](const std::string &path) {
        XmFileSelectionBoxCallbackStruct cbs{};
        cbs.reason = XmCR_OK;
        cbs.value = XmStringCreateLocalized(const_cast<char *>(path.c_str()));
        XtCallCallbacks(add, XmNokCallback, &cbs);
        XmStringFree(cbs.value);
    };
    for (const std::string &path : {a, b, a, c, dir.file("x;EXIT.adf")})
        choose(path);
    ASSERT_EQ(uiHooksRecordedMessageCount(), 2) << messages();
    EXPECT_NE(std::string(uiHooksRecordedMessageText(0)).find(a), std::string::npos) << "the same file twice";
    EXPECT_NE(std::string(uiHooksRecordedMessageText(1)).find("x;EXIT.adf"), std::string::npos);
    EXPECT_STREQ(appData->userObjectFilePath, dir.path().c_str());
    EXPECT_EQ(itemCount(list), 3);
    EXPECT_EQ(xSelectedPosition(list), 3);
    EXPECT_TRUE(XtIsSensitive(w(kUserObjectDialog, "ButtonDelFile")));
    xPress(w(kUserObjectDialog, "ButtonDelFile"));
    EXPECT_EQ(itemCount(list), 2);
    EXPECT_EQ(xSelectedPosition(list), 2) << "the new last";
    EXPECT_TRUE(sent.empty());
    xPress(w(kUserObjectDialog, "ButtonOK"));
    EXPECT_EQ(sent, (std::vector<std::string>{"UNLOAD AD", "LOAD AD \"" + a + "\"", "LOAD AD \"" + b + "\"", "DRIVE"}));
    ASSERT_EQ(chart.userObjectFileCount, 2);
    EXPECT_STREQ(chart.userObjectFiles[0].path, a.c_str());
    EXPECT_STREQ(chart.userObjectFiles[1].path, b.c_str());

    // Opening again lists them, the first selected.
    fromMenu("MenuObjectUserObject");
    EXPECT_EQ(itemCount(list), 2);
    EXPECT_EQ(xSelectedPosition(list), 1);
    xPress(w(kUserObjectDialog, "ButtonCancel"));
    EXPECT_FALSE(dialogIsShown(&kUserObjectDialog));
}

} // namespace

namespace {

// The chart after Star OK and Nebula OK against the same start after only
// the texts they sent: the two saved images are the same, and not the start's.
TEST(DialogImagesX, StarAndNebulaOkDrawWhatTheirTextsDraw)
{
    constexpr int kWidth = 640, kHeight = 480;
    XServer server(kWidth, kHeight, 24);
    ASSERT_TRUE(server.ok()) << server.why();
    XtAppContext app = nullptr;
        ASSERT_NE(openDialogShell(server.name(), &app), nullptr);
    Display *d = XtDisplay(appData->topLevel);
    appData->display = d;
    appData->screen = DefaultScreen(d);
    appData->dirFontHeight = 0; // no font sets loaded
    for (int i = 0; i < kPaletteSlots; i++)
        appData->pixels[i] = static_cast<Pixel>(0x010101 * (i + 1));
    const Window window = XCreateSimpleWindow(d, DefaultRootWindow(d), 0, 0, kWidth, kHeight, 0, 0, 0);
    const GC gc = XCreateGC(d, window, 0, nullptr);
    std::unique_ptr<XSurface> surface(new XSurface(d, window, gc, 24));
    TempDir dir;
    uiHooksRecordMessages();
    void (*savedExecute)(ChartState *, const char *) = stkExecuteCall;
    static std::vector<std::string> texts;
    stkExecuteCall = [](ChartState *chart, const char *text) {
        texts.emplace_back(text);
        stkExecute(chart, text);
    };

    OwnedChart chart;
    setUpNightChart(chart.get(), surface.get(), false);
    stkExecute(chart.get(), ("GSAVE " + dir.file("start.xpm")).c_str());
    Widget menuBar = XmCreateMenuBar(appData->topLevel, const_cast<char *>("MenuBar"), nullptr, 0);
    createMenus(menuBar, chart.get());

    fromMenu("MenuObjectStar");
    type(w(kStarDialog, "EditMagLimit"), "4.0");
    setToggle(w(kStarDialog, "ToggleStarName"), true);
    type(w(kStarDialog, "EditNameMagLimit"), "1.5");
    xPress(w(kStarDialog, "ButtonOK"));
    fromMenu("MenuObjectNebula");
    setToggle(w(kNebulaDialog, "ToggleNebula"), true);
    setToggle(w(kNebulaDialog, "ToggleNebulaLabel"), true);
    setToggle(w(kNebulaDialog, "ToggleNebulaLimit"), true);
    type(w(kNebulaDialog, "EditMagMinLimit"), "8.0");
    type(w(kNebulaDialog, "EditMagMaxLimit"), "-1.0");
    xPress(w(kNebulaDialog, "ButtonOK"));
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << uiHooksRecordedMessageText(0);
    stkExecute(chart.get(), ("GSAVE " + dir.file("dialogs.xpm")).c_str());

    OwnedChart again;
    setUpNightChart(again.get(), surface.get(), false);
    for (const std::string &text : std::vector<std::string>(texts))
        stkExecute(again.get(), text.c_str());
    stkExecute(again.get(), ("GSAVE " + dir.file("texts.xpm")).c_str());

    // The files name their own variable after the file: the pixels are compared.
    const std::vector<unsigned long> start = readXpm(d, dir.file("start.xpm")).pixels,
                                     byDialogs = readXpm(d, dir.file("dialogs.xpm")).pixels,
                                     byTexts = readXpm(d, dir.file("texts.xpm")).pixels;
    ASSERT_FALSE(byDialogs.empty());
    EXPECT_TRUE(byDialogs == byTexts) << "the dialogs drew something their texts do not";
    EXPECT_FALSE(byDialogs == start) << "the dialogs changed nothing";
    EXPECT_NE(std::find(texts.begin(), texts.end(), "MAG STAR 4.0"), texts.end());
    EXPECT_NE(std::find(texts.begin(), texts.end(), "SHOW NEBULA_NAME"), texts.end());

    chartSetSurface(nullptr);
    surface.reset();
    XFreeGC(d, gc);
    stkExecuteCall = savedExecute;
    uiHooksReset();
    closeDialogShell();
}

} // namespace
