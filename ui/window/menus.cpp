#include "ui/window/menus.h"

#include <cstring>
#include <unistd.h>

#include <Xm/CascadeBG.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/SeparatoG.h>
#include <Xm/ToggleBG.h>

#include "command/interpreter.h"
#include "command/scene_save.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/widgets/command_dialog.h"
#include "ui/widgets/step_box.h"
#include "ui/window/menu_state.h"

Widget createPulldown(const char *name, Widget parent, MenuItem *table, ChartState *chart)
{
    Widget pulldown = XmCreatePulldownMenu(parent, const_cast<char *>(name), nullptr, 0);
    for (MenuItem *item = table; item->name; item++) {
        item->widget = XtCreateWidget(item->name, *item->widgetClass, pulldown, nullptr, 0);
        if (item->callbackName)
            XtAddCallback(item->widget, item->callbackName, item->callback, chart);
        XtManageChild(item->widget);
    }
    return pulldown;
}

Widget createCascade(const char *name, Widget parent, Widget pulldown)
{
    Arg args[1];
    Cardinal n = 0;
    if (pulldown) {
        XtSetArg(args[n], XmNsubMenuId, pulldown);
        n++;
    }
    Widget cascade = XmCreateCascadeButtonGadget(parent, const_cast<char *>(name), args, n);
    XtManageChild(cascade);
    return cascade;
}

namespace {

bool isShown(Widget w) { return w && XtIsManaged(w); }

// The quit path is the application's: it is reached through its hook.
void quitFromMenu(ChartState *) { uiHooks.appQuit(0); }

void toggleStepBox(ChartState *chart) { stepBoxShow(chart, !isShown(appData->stepBox)); }

// The almanac panel's opener builds and shows it; a shown panel is hidden.
void toggleTodayDialog(ChartState *chart)
{
    if (isShown(appData->todayDialog))
        XtUnmanageChild(appData->todayDialog);
    else
        openTodayDialog(chart);
}

// Items that call a routine of the user interface rather than run a text.
struct MenuAction {
    const char *item;
    void (*run)(ChartState *chart);
};
const MenuAction kMenuActions[] = {
    {"MenuFileOpen", openOpenFileDialog},
    {"MenuFileSave", menuFileSave},
    {"MenuFileSaveAs", openSaveFileDialog},
    {"MenuFileSaveImage", openSaveImageDialog},
    {"MenuFileQuit", quitFromMenu},
    {"MenuSettingsDate", openDateDialog},
    {"MenuSettingsObs", openSiteDialog},
    {"MenuSettingsTimeStep", openTimeStepDialog},
    {"MenuSettingsInitialize", menuSettingsInitialize},
    {"MenuSettingsSaveAsDefault", menuSettingsSaveAsDefault},
    {"MenuSettingsSetEnv", openSetEnvDialog},
    {"MenuViewProjection", openProjectionDialog},
    {"MenuViewGrid", openGridDialog},
    {"MenuObjectSun", openSunDialog},
    {"MenuObjectMoon", openMoonDialog},
    {"MenuObjectPlanet", openPlanetDialog},
    {"MenuObjectComet", openCometDialog},
    {"MenuObjectMPlanet", openMPlanetDialog},
    {"MenuObjectJoviSat", openJoviSatDialog},
    {"MenuObjectStar", openStarDialog},
    {"MenuObjectConst", openConstDialog},
    {"MenuObjectNebula", openNebulaDialog},
    {"MenuObjectUserObject", openUserObjectDialog},
    {"MenuCenterPlanet", openCenterPlanetDialog},
    {"MenuCenterComet", openCenterCometDialog},
    {"MenuCenterMPlanet", openCenterMPlanetDialog},
    {"MenuCenterJoviSat", openCenterJoviSatDialog},
    {"MenuCenterStar", openCenterStarDialog},
    {"MenuCenterConst", openCenterConstDialog},
    {"MenuCenterNebula", openCenterNebulaDialog},
    {"MenuCenterSkyMark", openCenterSkyMarkDialog},
    {"MenuCenterUserObject", openCenterUserObjectDialog},
    {"MenuOptionWhatsToday", toggleTodayDialog},
    {"MenuOptionStepBox", toggleStepBox},
    {"MenuHelpAbout", openAboutDialog},
    {"MenuHelpCopyright", openCopyrightDialog},
    {nullptr, nullptr},
};

// Every item's callback: the item's widget name says what it does.
void menuActionCallback(Widget w, XtPointer client, XtPointer)
{
    auto *chart = static_cast<ChartState *>(client);
    for (const MenuAction *a = kMenuActions; a->item; a++) {
        if (std::strcmp(a->item, XtName(w)) == 0) {
            a->run(chart);
            return;
        }
    }
}

void menuCommandCallback(Widget w, XtPointer client, XtPointer)
{
    auto *chart = static_cast<ChartState *>(client);
    MenuTexts texts;
    menuItemCommands(XtName(w), chart, &texts);
    for (int i = 0; i < texts.count; i++)
        stkExecuteCall(chart, texts.text[i]);
}

// Ctrl+space reaches the command dialog twice, through this accelerator and
// the drawing area's translation; the event says whether it is the same press.
void menuCommandBoxCallback(Widget, XtPointer client, XtPointer call)
{
    auto *cbs = static_cast<XmToggleButtonCallbackStruct *>(call);
    toggleCommandDialogForEvent(static_cast<ChartState *>(client), cbs ? cbs->event : nullptr);
}

void menuCascadingCallback(Widget w, XtPointer client, XtPointer)
{
    menuRefreshCascade(XtName(w), static_cast<ChartState *>(client));
}

#define PUSH(name, cb) {name, XmNactivateCallback, cb, &xmPushButtonGadgetClass, nullptr}
#define TOGGLE(name, cb) {name, XmNvalueChangedCallback, cb, &xmToggleButtonGadgetClass, nullptr}
#define SEPARATOR(name) {name, nullptr, nullptr, &xmSeparatorGadgetClass, nullptr}
#define CASCADE(name) {name, nullptr, nullptr, &xmCascadeButtonGadgetClass, nullptr}
#define END {nullptr, nullptr, nullptr, nullptr, nullptr}

MenuItem fileMenu[] = {
    PUSH("MenuFileOpen", menuActionCallback),
    PUSH("MenuFileSave", menuActionCallback),
    PUSH("MenuFileSaveAs", menuActionCallback),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuFileSaveImage", menuActionCallback),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuFileQuit", menuActionCallback),
    END,
};

MenuItem settingsMenu[] = {
    PUSH("MenuSettingsDate", menuActionCallback),
    PUSH("MenuSettingsObs", menuActionCallback),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuSettingsTimeStep", menuActionCallback),
    TOGGLE("MenuSettingsTrace", menuCommandCallback),
    TOGGLE("MenuSettingsContinue", menuCommandCallback),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuSettingsInitialize", menuActionCallback),
    PUSH("MenuSettingsSaveAsDefault", menuActionCallback),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuSettingsSetEnv", menuActionCallback),
    END,
};

MenuItem viewMenu[] = {
    PUSH("MenuViewProjection", menuActionCallback),
    CASCADE("MenuViewWidth"),
    CASCADE("MenuViewDir"),
    CASCADE("MenuViewRotate"),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuViewGrid", menuActionCallback),
    TOGGLE("MenuViewPictureMark", menuCommandCallback),
    TOGGLE("MenuViewDaylight", menuCommandCallback),
    SEPARATOR("MenuSeparator"),
    TOGGLE("MenuViewStatusbar", menuCommandCallback),
    SEPARATOR("MenuSeparator"),
    PUSH("MenuViewLookHrz", menuCommandCallback),
    END,
};

MenuItem viewWidthMenu[] = {
    PUSH("MenuViewWidth120", menuCommandCallback), PUSH("MenuViewWidth90", menuCommandCallback),
    PUSH("MenuViewWidth60", menuCommandCallback),  PUSH("MenuViewWidth30", menuCommandCallback),
    PUSH("MenuViewWidth10", menuCommandCallback),  END,
};

MenuItem viewDirMenu[] = {
    PUSH("MenuViewDirSouth", menuCommandCallback), PUSH("MenuViewDirWest", menuCommandCallback),
    PUSH("MenuViewDirNorth", menuCommandCallback), PUSH("MenuViewDirEast", menuCommandCallback),
    END,
};

MenuItem viewRotateMenu[] = {
    TOGGLE("MenuViewRotateNormal", menuCommandCallback),
    TOGGLE("MenuViewRotate180", menuCommandCallback),
    TOGGLE("MenuViewRotateMirror", menuCommandCallback),
    END,
};

MenuItem objectMenu[] = {
    PUSH("MenuObjectSun", menuActionCallback),
    PUSH("MenuObjectMoon", menuActionCallback),
    PUSH("MenuObjectPlanet", menuActionCallback),
    PUSH("MenuObjectComet", menuActionCallback),
    PUSH("MenuObjectMPlanet", menuActionCallback),
    PUSH("MenuObjectJoviSat", menuActionCallback),
    SEPARATOR("MenuObjectSeparator1"),
    PUSH("MenuObjectStar", menuActionCallback),
    PUSH("MenuObjectConst", menuActionCallback),
    PUSH("MenuObjectNebula", menuActionCallback),
    TOGGLE("MenuObjectMilkyway", menuCommandCallback),
    SEPARATOR("MenuObjectSeparator2"),
    TOGGLE("MenuObjectSkyMark", menuCommandCallback),
    PUSH("MenuObjectUserObject", menuActionCallback),
    END,
};

MenuItem centerMenu[] = {
    PUSH("MenuCenterSun", menuCommandCallback),
    PUSH("MenuCenterMoon", menuCommandCallback),
    PUSH("MenuCenterPlanet", menuActionCallback),
    PUSH("MenuCenterComet", menuActionCallback),
    PUSH("MenuCenterMPlanet", menuActionCallback),
    PUSH("MenuCenterJoviSat", menuActionCallback),
    SEPARATOR("MenuObjectSeparator1"),
    PUSH("MenuCenterStar", menuActionCallback),
    PUSH("MenuCenterConst", menuActionCallback),
    PUSH("MenuCenterNebula", menuActionCallback),
    SEPARATOR("MenuObjectSeparator2"),
    PUSH("MenuCenterSkyMark", menuActionCallback),
    PUSH("MenuCenterUserObject", menuActionCallback),
    END,
};

MenuItem optionMenu[] = {
    TOGGLE("MenuOptionWhatsToday", menuActionCallback),
    TOGGLE("MenuOptionStepBox", menuActionCallback),
    TOGGLE("MenuOptionCommandBox", menuCommandBoxCallback),
    END,
};

MenuItem helpMenu[] = {
    PUSH("MenuHelpAbout", menuActionCallback),
    PUSH("MenuHelpCopyright", menuActionCallback),
    END,
};

#undef PUSH
#undef TOGGLE
#undef SEPARATOR
#undef CASCADE
#undef END

// The menu bar's cascades in their order.
struct MenuBarEntry {
    const char *cascade;
    const char *pulldown;
    MenuItem *table;
};
const MenuBarEntry kMenuBar[] = {
    {"MenuFile", "PulldownFile", fileMenu},
    {"MenuSettings", "PulldownSettings", settingsMenu},
    {"MenuView", "PulldownView", viewMenu},
    {"MenuObject", "PulldownObject", objectMenu},
    {"MenuCenter", "PulldownCenter", centerMenu},
    {"MenuOption", "PulldownOption", optionMenu},
    {"MenuHelp", "PulldownHelp", helpMenu},
    {nullptr, nullptr, nullptr},
};

// The View menu's sub-pulldowns: the cascade item of viewMenu that opens each.
const MenuBarEntry kViewSubMenus[] = {
    {"MenuViewWidth", "PulldownViewWidth", viewWidthMenu},
    {"MenuViewDir", "PulldownViewDir", viewDirMenu},
    {"MenuViewRotate", "PulldownViewRotate", viewRotateMenu},
    {nullptr, nullptr, nullptr},
};

MenuItem *const kAllMenus[] = {fileMenu,       settingsMenu, viewMenu,   viewWidthMenu, viewDirMenu,
                               viewRotateMenu, objectMenu,   centerMenu, optionMenu,    helpMenu};

void addCascading(Widget cascade, ChartState *chart)
{
    if (menuCascadeOfButton(XtName(cascade)) != kCascadeNone)
        XtAddCallback(cascade, XmNcascadingCallback, menuCascadingCallback, chart);
}

} // namespace

Widget menuItemWidget(const char *name)
{
    for (MenuItem *table : kAllMenus) {
        for (MenuItem *item = table; item->name; item++) {
            if (std::strcmp(item->name, name) == 0)
                return item->widget;
        }
    }
    return nullptr;
}

void menuRefreshCascade(const char *cascadeName, ChartState *chart)
{
    MenuFacts facts{};
    facts.cometFileReadable = appData->cometFile[0] && access(appData->cometFile, R_OK) == 0;
    facts.minorPlanetFileReadable = appData->minorPlanetFile[0] && access(appData->minorPlanetFile, R_OK) == 0;
    facts.stepBoxShown = isShown(appData->stepBox);
    facts.todayDialogShown = isShown(appData->todayDialog);
    facts.commandDialogShown = isShown(appData->commandDialog);
    MenuItemState states[kMenuStatesMax];
    const int n = menuCascadeStates(menuCascadeOfButton(cascadeName), chart, facts, states);
    for (int i = 0; i < n; i++) {
        Widget w = menuItemWidget(states[i].item);
        if (!w)
            continue;
        if (states[i].sensitive >= 0)
            XtSetSensitive(w, states[i].sensitive ? True : False);
        if (states[i].set >= 0)
            XmToggleButtonGadgetSetState(w, states[i].set ? True : False, False);
    }
}

Widget createMenus(Widget menuBar, ChartState *chart)
{
    Widget help = nullptr;
    for (const MenuBarEntry *e = kMenuBar; e->cascade; e++) {
        Widget pulldown = createPulldown(e->pulldown, menuBar, e->table, chart);
        if (e->table == viewMenu) {
            for (const MenuBarEntry *sub = kViewSubMenus; sub->cascade; sub++) {
                Widget subPulldown = createPulldown(sub->pulldown, pulldown, sub->table, chart);
                Widget cascade = menuItemWidget(sub->cascade);
                XtVaSetValues(cascade, XmNsubMenuId, subPulldown, nullptr);
                addCascading(cascade, chart);
            }
        }
        help = createCascade(e->cascade, menuBar, pulldown);
        addCascading(help, chart);
    }
    return help;
}
