// Every dialog at its fallback sizes on a private X server, opened as the
// user opens it (its menu item, then the buttons that open the dialogs
// within): each list shows its longest item whole, each button and label its
// whole text, nothing reaches out of its parent, and no two controls of a
// form overlap. The Nebula dialog's limit arrows step the field they stand
// beside.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <unistd.h>

#include <X11/IntrinsicP.h>
#include <X11/Shell.h>
#include <Xm/FileSB.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/LabelG.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/settings.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "tests/support/x_widgets.h"
#include "ui/app/actions.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/star_dialogs.h"
#include "ui/dialogs/user_object_dialogs.h"
#include "ui/widgets/step_box.h"
#include "ui/window/main_window.h"
#include "tests/support/test_chart.h"

namespace {

void ignoreCommand(ChartState *, const char *) {}

struct Box {
    int x, y, width, height; // the border included
};
Box boxOf(Widget w)
{
    Position x = 0, y = 0;
    Dimension width = 0, height = 0, border = 0;
    XtVaGetValues(w, XmNx, &x, XmNy, &y, XmNwidth, &width, XmNheight, &height, XmNborderWidth, &border, nullptr);
    return {x, y, width + 2 * border, height + 2 * border};
}
bool overlap(const Box &a, const Box &b)
{
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}
std::string sizeText(const Box &b)
{
    return std::to_string(b.width) + " x " + std::to_string(b.height) + " at " + std::to_string(b.x) + "," +
           std::to_string(b.y);
}

std::string pathOf(Widget w)
{
    std::string path;
    for (Widget p = w; p && !XtIsShell(p); p = XtParent(p))
        path = std::string(XtName(p)) + (path.empty() ? "" : "." + path);
    return path;
}

bool inFileBox(Widget w)
{
    for (Widget p = w; p; p = XtParent(p))
        if (XmIsFileSelectionBox(p))
            return true;
    return false;
}

// A list's items against the width its text has: the list less its
// highlight, shadow and margin on both sides.
void checkList(Widget w, std::vector<std::string> *faults)
{
    XmStringTable items = nullptr;
    int count = 0;
    XmRenderTable table = nullptr;
    Dimension width = 0, highlight = 0, shadow = 0, margin = 0;
    XtVaGetValues(w, XmNitems, &items, XmNitemCount, &count, XmNrenderTable, &table, XmNwidth, &width,
                  XmNhighlightThickness, &highlight, XmNshadowThickness, &shadow, XmNlistMarginWidth, &margin,
                  nullptr);
    const int room = width - 2 * (highlight + shadow + margin);
    for (int i = 0; i < count; i++) {
        const int need = XmStringWidth(table, items[i]);
        if (need <= room)
            continue;
        char *text = nullptr;
        XmStringGetLtoR(items[i], const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text);
        faults->push_back(pathOf(w) + ": \"" + (text ? text : "") + "\" needs " + std::to_string(need) +
                          " pixels of " + std::to_string(room));
        XtFree(text);
        return; // one line a list
    }
}

// What is wrong with w and the managed widgets under it, one line each.
void checkTree(Widget w, std::vector<std::string> *faults)
{
    const Box box = boxOf(w);
    // The file boxes are Motif's own: their lists of long paths scroll sideways.
    if (XmIsList(w) && !inFileBox(w))
        checkList(w, faults);
    if (XmIsLabel(w) || XmIsLabelGadget(w)) {
        XtWidgetGeometry wanted{};
        XtQueryGeometry(w, nullptr, &wanted);
        if (wanted.width > box.width || wanted.height > box.height)
            faults->push_back(pathOf(w) + ": " + sizeText(box) + ", its text needs " + std::to_string(wanted.width) +
                              " x " + std::to_string(wanted.height));
    }
    if (!XtIsComposite(w))
        return;
    const CompositeWidget c = reinterpret_cast<CompositeWidget>(w);
    std::vector<std::pair<Widget, Box>> shown;
    for (Cardinal i = 0; i < c->composite.num_children; i++) {
        Widget child = c->composite.children[i];
        if (!XtIsManaged(child))
            continue;
        const Box in = boxOf(child);
        if (in.x < 0 || in.y < 0 || in.x + in.width > box.width || in.y + in.height > box.height)
            faults->push_back(pathOf(child) + ": " + sizeText(in) + " reaches out of " + sizeText(box));
        // A form places its children where it is told; they must not cover each other.
        if (XmIsForm(w))
            for (const auto &other : shown)
                if (overlap(in, other.second))
                    faults->push_back(pathOf(child) + " (" + sizeText(in) + ") covers " + XtName(other.first) +
                                      " (" + sizeText(other.second) + ")");
        shown.emplace_back(child, in);
        checkTree(child, faults);
    }
}

// The shown dialogs: the managed children of the pop-up shells under w.
void shownDialogs(Widget w, std::vector<Widget> *out)
{
    for (Cardinal i = 0; i < w->core.num_popups; i++) {
        Widget shell = w->core.popup_list[i];
        const CompositeWidget c = reinterpret_cast<CompositeWidget>(shell);
        for (Cardinal k = 0; k < c->composite.num_children; k++) {
            if (XtIsManaged(c->composite.children[k]))
                out->push_back(c->composite.children[k]);
            shownDialogs(c->composite.children[k], out);
        }
        shownDialogs(shell, out);
    }
}

// The real main window and menus, the commands ignored; the data files the
// shipped program has.
struct DialogLayoutX : ::testing::Test {
    XServer server;
    XtAppContext app = nullptr;
    Display *display = nullptr;
    OwnedChart owner;
    ChartState &chart = *owner;
    TempDir dir;
    void (*savedExecute)(ChartState *, const char *) = nullptr;

    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        display = openDialogShell(server.name(), &app);
        ASSERT_NE(display, nullptr);
        appAddActions(app);
        ASSERT_EQ(envCopyBodyNames(), 1) << "the lists show the names the program shows";
        currentChart = &chart;
        createMainWindow(&chart);
        stepBoxCreate(&chart);
        uiHooksRecordMessages();
        savedExecute = stkExecuteCall;
        stkExecuteCall = ignoreCommand;
        std::snprintf(appData->siteFile, sizeof appData->siteFile, "%s", TAVIK_SOURCE_DIR "/data/tavik.obs");
        std::snprintf(appData->cometFile, sizeof appData->cometFile, "%s", TAVIK_SOURCE_DIR "/data/comet.elm");
        std::snprintf(appData->minorPlanetFile, sizeof appData->minorPlanetFile, "%s",
                      TAVIK_SOURCE_DIR "/data/mp.elm");
        std::snprintf(appData->cometIndexFile, sizeof appData->cometIndexFile, "%s", dir.file("comet.dbm").c_str());
        std::snprintf(appData->minorPlanetIndexFile, sizeof appData->minorPlanetIndexFile, "%s",
                      dir.file("mp.dbm").c_str());
        std::snprintf(appData->userDir, sizeof appData->userDir, "%s", dir.path().c_str());
        std::snprintf(chart.siteName, sizeof chart.siteName, "%s", "Greenwich (United Kingdom)");
    }
    void TearDown() override
    {
        unloadUserObjects(&chart);
        envFreeBodyNames();
        stkExecuteCall = savedExecute;
        uiHooksReset();
        closeDialogShell();
    }
    void pump()
    {
        for (int t = 0; t < 40; t++) {
            XSync(display, False);
            while (XtAppPending(app))
                XtAppProcessEvent(app, XtIMAll);
            usleep(5000);
        }
    }
    Widget named(const char *name)
    {
        Widget w = XtNameToWidget(appData->topLevel, (std::string("*") + name).c_str());
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void activate(const char *name)
    {
        if (Widget w = named(name))
            xActivate(w);
    }
    // The first bodies of an element dialog's list, each clicked and shown.
    void chooseFirst(const char *dialog, const char *list, int count)
    {
        Widget l = named((std::string(dialog) + "*" + list).c_str());
        Widget show = named((std::string(dialog) + "*ToggleShow").c_str());
        if (!l || !show)
            return;
        for (int p = 1; p <= count; p++) {
            XmListDeselectAllItems(l);
            XmListSelectPos(l, p, True);
            XmToggleButtonSetState(show, True, True);
        }
        activate((std::string(dialog) + "*ButtonOK").c_str());
    }
};

TEST_F(DialogLayoutX, NoListItemButtonOrLabelOfAnyDialogIsClipped)
{
    stkExecute(&chart, "LOAD AD \"" TAVIK_SOURCE_DIR "/data/adf/sample.adf\"");
    stkExecute(&chart, "SHOW AD");
    // Three comets and three minor planets chosen and OK pressed: the
    // centre lists have them then.
    activate("MenuObjectComet");
    chooseFirst("CometDialog", "CometList", 3);
    activate("MenuObjectMPlanet");
    chooseFirst("MPlanetDialog", "MPlanetList", 3);
    ASSERT_EQ(chart.cometCount, 3);
    ASSERT_EQ(chart.minorPlanetCount, 3);

    const char *items[] = {
        "MenuFileOpen",         "MenuFileSaveAs",       "MenuFileSaveImage",   "MenuSettingsDate",
        "MenuSettingsObs",      "MenuSettingsTimeStep", "MenuSettingsSetEnv",  "MenuViewProjection",
        "MenuViewGrid",         "MenuObjectSun",        "MenuObjectMoon",      "MenuObjectPlanet",
        "MenuObjectComet",      "MenuObjectMPlanet",    "MenuObjectJoviSat",   "MenuObjectStar",
        "MenuObjectConst",      "MenuObjectNebula",     "MenuObjectUserObject", "MenuCenterPlanet",
        "MenuCenterComet",      "MenuCenterMPlanet",    "MenuCenterJoviSat",   "MenuCenterStar",
        "MenuCenterConst",      "MenuCenterNebula",     "MenuCenterSkyMark",   "MenuCenterUserObject",
        "MenuOptionWhatsToday", "MenuOptionCommandBox", "MenuOptionStepBox",   "MenuHelpAbout",
        "MenuHelpCopyright",
        // The dialogs opened from within dialogs.
        "SiteDialog*ButtonSearch", "SiteDialog*ButtonEditSite", "UserObjectDialog*ButtonAddFile",
        "CometDialog*ButtonSearch",
    };
    for (const char *item : items)
        activate(item);
    pump();
    std::vector<Widget> dialogs;
    shownDialogs(appData->topLevel, &dialogs);
    std::vector<std::string> names;
    for (Widget d : dialogs)
        names.emplace_back(XtName(d));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{
                         "AboutDialog",         "AddUserObjectDialog", "CenterCometDialog",    "CenterConstDialog",
                         "CenterJoviSatDialog", "CenterMPlanetDialog", "CenterNebulaDialog",   "CenterPlanetDialog",
                         "CenterSkyMarkDialog", "CenterStarDialog",    "CenterUserObjectDialog", "CometDialog",
                         "CometSearchDialog",   "CommandDialog",       "ConstDialog",          "CopyrightDialog",
                         "DateDialog",          "GridDialog",          "JoviSatDialog",        "MPlanetDialog",
                         "MoonDialog",          "NebulaDialog",        "OpenFile",             "PlanetDialog",
                         "ProjectionDialog",    "SaveFile",            "SaveImage",            "SetEnvDialog",
                         "SiteDialog",          "SiteEditDialog",      "SiteSearchDialog",     "StarDialog",
                         "StepBox",             "SunDialog",           "TimeStepDialog",       "TodayDialog",
                         "UserObjectDialog"}))
        << "every dialog is open";

    std::vector<std::string> faults;
    for (Widget d : dialogs)
        checkTree(d, &faults);
    std::string all;
    for (const std::string &f : faults)
        all += f + "\n";
    EXPECT_TRUE(faults.empty()) << all;

    // The user-object list takes the width its form asks, with no file listed.
    Dimension width = 0;
    XtVaGetValues(dialogWidget(&kUserObjectDialog, "UserObjectCtrls"), XmNwidth, &width, nullptr);
    EXPECT_EQ(width, 240);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << uiHooksRecordedMessageText(0);
}

// OK and Cancel head the rows their dialogs name, beside the list in the
// site and user-object dialogs and beside the toggles in Environment; they
// stood in a row of their own under the controls.
TEST_F(DialogLayoutX, OkAndCancelStandInTheRowsTheirDialogsName)
{
    stkExecute(&chart, "LOAD AD \"" TAVIK_SOURCE_DIR "/data/adf/sample.adf\"");
    activate("MenuSettingsObs");
    activate("SiteDialog*ButtonAddSite");
    activate("MenuSettingsSetEnv");
    activate("MenuObjectUserObject");
    pump();
    const struct {
        const char *dialog, *row, *rowParent, *beside; // beside: the control left of the row, or null
    } cases[] = {
        {"SiteDialog", "ObsButtons", "RCSite", "SiteListSW"},
        {"SiteEditDialog", "ObsButtons", "RCSiteEdit", nullptr},
        {"SetEnvDialog", "SetEnvButtons", "FormUpper", "RCToggle"},
        {"UserObjectDialog", "UserObjectButtons", "RCUserObject", "UserObjectCtrls"},
    };
    for (const auto &c : cases) {
        Widget dialog = named(c.dialog);
        ASSERT_NE(dialog, nullptr) << c.dialog;
        ASSERT_TRUE(XtIsManaged(dialog)) << c.dialog;
        Widget ok = XtNameToWidget(dialog, "*ButtonOK"), cancel = XtNameToWidget(dialog, "*ButtonCancel");
        ASSERT_TRUE(ok && cancel) << c.dialog;
        Widget row = XtParent(ok);
        EXPECT_STREQ(XtName(row), c.row) << c.dialog;
        EXPECT_STREQ(XtName(XtParent(row)), c.rowParent) << c.dialog;
        EXPECT_EQ(XtParent(cancel), row) << c.dialog;
        const CompositeWidget rc = reinterpret_cast<CompositeWidget>(row);
        ASSERT_GE(rc->composite.num_children, 2u);
        EXPECT_EQ(rc->composite.children[0], ok) << c.dialog << ": OK first";
        EXPECT_EQ(rc->composite.children[1], cancel) << c.dialog;
        if (c.beside) {
            Widget left = XtNameToWidget(XtParent(row), c.beside);
            ASSERT_NE(left, nullptr) << c.beside;
            const Box a = boxOf(left), b = boxOf(row);
            EXPECT_GE(b.x, a.x + a.width) << c.dialog << ": the buttons stand right of " << c.beside;
            EXPECT_TRUE(b.y < a.y + a.height && a.y < b.y + b.height) << c.dialog << ": beside, not under";
        }
    }
}

// The file boxes keep their width of 320 at every opening; the one that adds
// a user-object file lost it at its second opening (without the resize
// policy the others have).
TEST_F(DialogLayoutX, FileBoxesKeepTheirWidthAtEveryOpening)
{
    // Each opens in the directory last used.
    for (char *path : {appData->userObjectFilePath, appData->stlFileIoPath, appData->saveImagePath})
        std::snprintf(path, kPathSize, "%s", TAVIK_SOURCE_DIR "/data/adf");
    activate("MenuObjectUserObject");
    const struct {
        const char *open, *box;
    } cases[] = {
        {"MenuFileOpen", "OpenFile"},
        {"MenuFileSaveAs", "SaveFile"},
        {"MenuFileSaveImage", "SaveImage"},
        {"UserObjectDialog*ButtonAddFile", "AddUserObjectDialog"},
    };
    for (const auto &c : cases)
        for (int opening = 1; opening <= 3; opening++) {
            activate(c.open);
            pump();
            Widget box = named(c.box);
            ASSERT_NE(box, nullptr) << c.box;
            ASSERT_TRUE(XtIsManaged(box)) << c.box;
            EXPECT_EQ(boxOf(box).width, 320) << c.box << " at opening " << opening;
            xPress(XmFileSelectionBoxGetChild(box, XmDIALOG_CANCEL_BUTTON));
            pump();
            EXPECT_FALSE(XtIsManaged(box)) << c.box;
        }
}

// The arrows beside each limit field step that field, and only it.
TEST_F(DialogLayoutX, EachNebulaLimitArrowStepsTheFieldItStandsBeside)
{
    activate("MenuObjectNebula");
    ASSERT_TRUE(dialogIsShown(&kNebulaDialog));
    XmToggleButtonSetState(dialogWidget(&kNebulaDialog, "ToggleNebula"), True, True);
    XmToggleButtonSetState(dialogWidget(&kNebulaDialog, "ToggleNebulaLimit"), True, True);
    pump();
    Widget fields[] = {dialogWidget(&kNebulaDialog, "EditMagMinLimit"), dialogWidget(&kNebulaDialog, "EditMagMaxLimit")};
    for (const char *arrow : {"ArrowMagMinLimitUp", "ArrowMagMinLimitDown", "ArrowMagMaxLimitUp",
                              "ArrowMagMaxLimitDown"}) {
        Widget w = dialogWidget(&kNebulaDialog, arrow);
        ASSERT_NE(w, nullptr) << arrow;
        // Beside: right of the field, within a few pixels, its middle within the field's height.
        const Box a = boxOf(w);
        Widget beside = nullptr;
        for (Widget f : fields) {
            const Box b = boxOf(f);
            const int middle = a.y + a.height / 2;
            if (a.x >= b.x + b.width && a.x <= b.x + b.width + 40 && middle >= b.y && middle < b.y + b.height)
                beside = f;
        }
        ASSERT_NE(beside, nullptr) << arrow << " stands beside no limit field";
        const std::string before[] = {xFieldText(fields[0]), xFieldText(fields[1])};
        xPress(w);
        for (int k = 0; k < 2; k++) {
            const double was = std::stod(before[k]), now = std::stod(xFieldText(fields[k]));
            if (fields[k] == beside)
                EXPECT_NEAR(now - was, std::string(arrow).find("Up") != std::string::npos ? 0.1 : -0.1, 1e-6)
                    << arrow;
            else
                EXPECT_EQ(now, was) << arrow << " stepped the other field";
        }
    }
}

} // namespace
