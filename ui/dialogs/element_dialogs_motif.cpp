#include "ui/dialogs/element_dialogs_motif.h"

#include <cstring>
#include <string>
#include <vector>

#include <X11/cursorfont.h>
#include <Xm/Form.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/Xm.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"

namespace {

// Widget names of each dialog, by ElementDialogKind.
struct DialogNames {
    const char *dialog, *rowColumn, *list, *control, *buttons;
};
constexpr DialogNames kNames[] = {
    {"CometDialog", "CometRowColumn", "CometList", "RCCometCtrl", "CometButtons"},
    {"MPlanetDialog", "MPlanetRowColumn", "MPlanetList", "RCMPlanetCtrl", "MPlanetButtons"},
};

// The toggles in the order of kElementToggleBits; the minor-planet dialog
// has the first elementToggleCount(kMinorPlanetDialog).
constexpr const char *kToggleNames[kCometToggles] = {"ToggleShow",  "ToggleName",    "ToggleDate",    "ToggleMag",
                                                     "ToggleOrbit", "ToggleIonTail", "ToggleDustTail"};

constexpr const char kSearchDialogName[] = "CometSearchDialog";

struct ElementDialogUi {
    ElementDialogKind kind;
    ElementList list;
    ChartState *chart;
    Widget form, listWidget, ok, cancel;
    Widget toggles[kCometToggles];
};
ElementDialogUi dialogs[] = {{kCometDialog, {}, nullptr, nullptr, nullptr, nullptr, nullptr, {}},
                             {kMinorPlanetDialog, {}, nullptr, nullptr, nullptr, nullptr, nullptr, {}}};

// What a toggle's callback needs to know: its dialog and its number.
struct ToggleClient {
    ElementDialogUi *dialog;
    int toggle;
};
ToggleClient toggleClients[2][kCometToggles];

// The search box and the list it works on, replaced at every opening.
Widget searchDialog = nullptr;
struct SearchContext {
    Widget list;
    ElementList *entries;
} searchContext = {nullptr, nullptr};

const char *elementFile(ElementDialogKind kind)
{
    return kind == kCometDialog ? appData->cometFile : appData->minorPlanetFile;
}

const char *indexFile(ElementDialogKind kind)
{
    return kind == kCometDialog ? appData->cometIndexFile : appData->minorPlanetIndexFile;
}

void warn(const ChartState *chart, const char *resource)
{
    char text[256];
    getResourceString(resource, text, sizeof text);
    uiHooks.openMessageBox(chart && chart->mainWidget ? chart->mainWidget : appData->topLevel, text,
                           kMessageBoxWarning);
}

// The watch cursor on the main window while the element file is read.
Cursor showWatch()
{
    Widget top = appData->topLevel;
    if (!top || !XtIsRealized(top))
        return None;
    Cursor watch = XCreateFontCursor(XtDisplay(top), XC_watch);
    XDefineCursor(XtDisplay(top), XtWindow(top), watch);
    XmUpdateDisplay(top);
    return watch;
}

void hideWatch(Cursor watch)
{
    Widget top = appData->topLevel;
    if (watch == None || !top)
        return;
    XUndefineCursor(XtDisplay(top), XtWindow(top));
    XFreeCursor(XtDisplay(top), watch);
}

// Entries' 0-based indices of the list's selection.
std::vector<int> selection(const ElementDialogUi *d)
{
    int *positions = nullptr, count = 0;
    std::vector<int> selected;
    if (XmListGetSelectedPos(d->listWidget, &positions, &count))
        for (int i = 0; i < count; i++)
            if (positions[i] >= 1 && positions[i] <= d->list.count)
                selected.push_back(positions[i] - 1);
    XtFree(reinterpret_cast<char *>(positions));
    return selected;
}

void showSelection(ElementDialogUi *d)
{
    const std::vector<int> selected = selection(d);
    ElementToggleState state;
    if (!elementSelectionToggles(&d->list, d->kind, selected.data(), static_cast<int>(selected.size()), &state))
        return;
    for (int t = 0; t < elementToggleCount(d->kind); t++) {
        const bool mixed = state.value[t] == kElementToggleMixed;
        XtVaSetValues(d->toggles[t], XmNtoggleMode, mixed ? XmTOGGLE_INDETERMINATE : XmTOGGLE_BOOLEAN, XmNset,
                      mixed ? XmINDETERMINATE : state.value[t] == kElementToggleOn ? XmSET : XmUNSET, nullptr);
        XtSetSensitive(d->toggles[t], state.sensitive[t] ? True : False);
    }
}

// Nothing selected, every toggle two-state, off and insensitive.
void resetWidgets(ElementDialogUi *d)
{
    XmListDeselectAllItems(d->listWidget);
    for (int t = 0; t < elementToggleCount(d->kind); t++) {
        XtVaSetValues(d->toggles[t], XmNtoggleMode, XmTOGGLE_BOOLEAN, XmNset, XmUNSET, nullptr);
        XtSetSensitive(d->toggles[t], False);
    }
}

void selectionCallback(Widget, XtPointer client, XtPointer) { showSelection(static_cast<ElementDialogUi *>(client)); }

void toggleCallback(Widget w, XtPointer client, XtPointer call)
{
    const auto *c = static_cast<ToggleClient *>(client);
    const auto *cbs = static_cast<XmToggleButtonCallbackStruct *>(call);
    // A three-state toggle clicked may land on the third state: it counts as on.
    const bool on = cbs->set != XmUNSET;
    XtVaSetValues(w, XmNtoggleMode, XmTOGGLE_BOOLEAN, XmNset, on ? XmSET : XmUNSET, nullptr);
    const std::vector<int> selected = selection(c->dialog);
    elementApplyToggle(&c->dialog->list, selected.data(), static_cast<int>(selected.size()), c->toggle, on);
    showSelection(c->dialog);
}

void okCallback(Widget, XtPointer client, XtPointer)
{
    auto *d = static_cast<ElementDialogUi *>(client);
    XtUnmanageChild(d->form);
    const Cursor watch = showWatch();
    elementDialogOk(d->chart, &d->list, d->kind, elementFile(d->kind), indexFile(d->kind));
    hideWatch(watch);
}

void cancelCallback(Widget, XtPointer client, XtPointer)
{
    XtUnmanageChild(static_cast<ElementDialogUi *>(client)->form);
}

// Clear forgets every choice in the dialog; the chart changes only at OK.
void clearCallback(Widget, XtPointer client, XtPointer)
{
    auto *d = static_cast<ElementDialogUi *>(client);
    for (int i = 0; i < d->list.count; i++)
        d->list.entries[i].flags = elementDefaultFlags(d->kind);
    resetWidgets(d);
}

void searchCallback(Widget, XtPointer client, XtPointer)
{
    auto *d = static_cast<ElementDialogUi *>(client);
    openElementSearchDialog(d->form, d->listWidget, &d->list);
}

struct ButtonRow {
    const char *name;
    XtCallbackProc callback;
};
constexpr ButtonRow kButtons[] = {
    {"ButtonOK", okCallback},
    {"ButtonCancel", cancelCallback},
    {"ButtonClear", clearCallback},
    {"ButtonSearch", searchCallback},
};

// The shell went: the list is read again at the next opening.
void forgetDialog(void *record)
{
    auto *d = static_cast<ElementDialogUi *>(record);
    elementListFree(&d->list);
    *d = ElementDialogUi{d->kind, {}, nullptr, nullptr, nullptr, nullptr, nullptr, {}};
}

void forgetSearch(void *)
{
    searchDialog = nullptr;
    searchContext = SearchContext{nullptr, nullptr};
}

void build(ElementDialogUi *d)
{
    const DialogNames &names = kNames[d->kind];
    d->form = XmCreateFormDialog(appData->topLevel, const_cast<char *>(names.dialog), nullptr, 0);
    dialogForgetOnDestroy(d->form, forgetDialog, d);
    Widget rowColumn = XtVaCreateManagedWidget(names.rowColumn, xmRowColumnWidgetClass, d->form, XmNtopAttachment,
                                               XmATTACH_FORM, XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment,
                                               XmATTACH_FORM, nullptr);

    std::vector<XmString> items(static_cast<size_t>(d->list.count));
    char item[kElementItemSize];
    for (int i = 0; i < d->list.count; i++) {
        elementEntryItem(&d->list.entries[i], item);
        items[static_cast<size_t>(i)] = XmStringCreateLocalized(item);
    }
    Arg args[4];
    Cardinal n = 0;
    XtSetArg(args[n], XmNitems, items.data());
    n++;
    XtSetArg(args[n], XmNitemCount, d->list.count);
    n++;
    XtSetArg(args[n], XmNselectionPolicy, XmEXTENDED_SELECT);
    n++;
    d->listWidget = XmCreateScrolledList(rowColumn, const_cast<char *>(names.list), args, n);
    for (XmString s : items)
        XmStringFree(s);
    XtManageChild(d->listWidget);
    XtAddCallback(d->listWidget, XmNextendedSelectionCallback, selectionCallback, d);

    Widget control = XtVaCreateManagedWidget(names.control, xmRowColumnWidgetClass, rowColumn, nullptr);
    for (int t = 0; t < elementToggleCount(d->kind); t++) {
        d->toggles[t] = XtCreateManagedWidget(kToggleNames[t], xmToggleButtonWidgetClass, control, nullptr, 0);
        toggleClients[d->kind][t] = ToggleClient{d, t};
        XtAddCallback(d->toggles[t], XmNvalueChangedCallback, toggleCallback, &toggleClients[d->kind][t]);
    }

    Widget buttons = XtVaCreateManagedWidget(names.buttons, xmRowColumnWidgetClass, d->form, XmNorientation,
                                             XmHORIZONTAL, XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, rowColumn,
                                             XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                             XmNbottomAttachment, XmATTACH_FORM, nullptr);
    Widget made[sizeof kButtons / sizeof kButtons[0]];
    for (size_t b = 0; b < sizeof kButtons / sizeof kButtons[0]; b++) {
        made[b] = XtCreateManagedWidget(kButtons[b].name, xmPushButtonWidgetClass, buttons, nullptr, 0);
        XtAddCallback(made[b], XmNactivateCallback, kButtons[b].callback, d);
    }
    d->ok = made[0];
    d->cancel = made[1];
    XtVaSetValues(d->ok, XmNshowAsDefault, 1, nullptr);
    Dimension shadow = 0;
    XtVaGetValues(d->ok, XmNdefaultButtonShadowThickness, &shadow, nullptr);
    for (size_t b = 1; b < sizeof kButtons / sizeof kButtons[0]; b++)
        XtVaSetValues(made[b], XmNdefaultButtonShadowThickness, shadow, nullptr);
    XtVaSetValues(d->form, XmNdefaultButton, d->ok, XmNcancelButton, d->cancel, nullptr);
}

void openElementDialog(ElementDialogKind kind, ChartState *chart)
{
    ElementDialogUi *d = &dialogs[kind];
    if (!appData || !appData->topLevel || !chart)
        return;
    if (!d->form) {
        // The list is read on the first opening that finds the file, then
        // kept while the dialog lives.
        const Cursor watch = showWatch();
        const int count = elementListLoad(&d->list, elementFile(kind));
        hideWatch(watch);
        if (count == kElementListNoFile)
            warn(chart, "messageNoElementFile");
        else if (count == kElementListNoMemory)
            warn(chart, "messageSystemOutOfMemory");
        if (count < 1) {
            elementListFree(&d->list);
            return;
        }
        build(d);
    }
    d->chart = chart;
    elementListResetFlags(&d->list, kind, chart);
    resetWidgets(d);
    XtManageChild(d->form);
}

void searchOk(Widget, XtPointer, XtPointer call)
{
    const auto *cbs = static_cast<XmSelectionBoxCallbackStruct *>(call);
    if (!searchContext.list || !searchContext.entries)
        return;
    char *text = cbs && cbs->value ? static_cast<char *>(XmStringUnparse(cbs->value, nullptr, XmCHARSET_TEXT,
                                                                         XmCHARSET_TEXT, nullptr, 0, XmOUTPUT_ALL))
                                   : nullptr;
    // The search starts after the top visible item.
    const int top = XmListYToPos(searchContext.list, 5);
    const int found = elementSearch(searchContext.entries, text ? text : "", top);
    XtFree(text);
    if (found < 0)
        return; // the box stays open for another text
    XmListSetPos(searchContext.list, found + 1);
    XmListSetKbdItemPos(searchContext.list, found + 1);
    XmListSelectPos(searchContext.list, found + 1, True);
    XtUnmanageChild(searchDialog);
}

void searchCancel(Widget, XtPointer, XtPointer) { XtUnmanageChild(searchDialog); }

} // namespace

void openElementSearchDialog(Widget parent, Widget list, ElementList *entries)
{
    if (!searchDialog) {
        searchDialog = XmCreatePromptDialog(parent, const_cast<char *>(kSearchDialogName), nullptr, 0);
        const unsigned char unused[] = {XmDIALOG_HELP_BUTTON, XmDIALOG_APPLY_BUTTON, XmDIALOG_SELECTION_LABEL};
        for (unsigned char child : unused)
            XtUnmanageChild(XmSelectionBoxGetChild(searchDialog, child));
        XtVaSetValues(XmSelectionBoxGetChild(searchDialog, XmDIALOG_TEXT), XmNmaxLength, kElementSearchSize - 1,
                      nullptr);
        XtAddCallback(searchDialog, XmNokCallback, searchOk, nullptr);
        XtAddCallback(searchDialog, XmNcancelCallback, searchCancel, nullptr);
        dialogForgetOnDestroy(searchDialog, forgetSearch, nullptr);
    }
    searchContext = SearchContext{list, entries};
    XmString text = XmStringCreateLocalized(entries->searchText);
    XtVaSetValues(searchDialog, XmNtextString, text, nullptr);
    XmStringFree(text);
    XtManageChild(searchDialog);
}

Widget elementDialogWidget(ElementDialogKind kind, const char *name)
{
    const ElementDialogUi *d = &dialogs[kind];
    if (!name)
        return nullptr;
    if (std::strcmp(name, kSearchDialogName) == 0)
        return searchDialog;
    if (!d->form)
        return nullptr;
    if (std::strcmp(name, XtName(d->form)) == 0)
        return d->form;
    const std::string path = std::string("*") + name;
    return XtNameToWidget(d->form, path.c_str());
}

void openCometDialog(ChartState *chart) { openElementDialog(kCometDialog, chart); }

void openMPlanetDialog(ChartState *chart) { openElementDialog(kMinorPlanetDialog, chart); }
