#include "ui/dialogs/dialog_motif.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <Xm/ArrowB.h>
#include <Xm/Form.h>
#include <Xm/Label.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/RowColumn.h>
#include <Xm/Separator.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"

namespace {

// One built dialog, kept while its form lives; a free slot has no spec.
struct DialogInstance {
    const DialogSpec *spec;
    ChartState *chart;
    Widget form, rowColumn, buttons, ok, cancel;
    Widget *controls;      // one per table row
    uint32_t *shownChanges; // per row: the changes of its item list the widget shows
    int itemsStale;        // 1: every item list is written at the next write
    void *values;          // the value record, spec->valuesSize bytes
    int writing;           // 1 while the builder writes the controls
    DialogHandlers handlers;
};

constexpr int kMaxDialogs = 32;
DialogInstance instances[kMaxDialogs];

constexpr int kNameSize = 128;

struct PendingHandlers {
    const DialogSpec *spec;
    DialogHandlers handlers;
};
PendingHandlers pendingHandlers[kMaxDialogs];
int pendingHandlerCount = 0;

DialogInstance *findInstance(const DialogSpec *spec)
{
    for (DialogInstance &d : instances)
        if (spec && d.spec == spec)
            return &d;
    return nullptr;
}

// The form went (with the top-level shell): the slot is free again. Slots
// never move, since the other dialogs' callbacks hold their own.
void forgetInstance(void *record)
{
    auto *d = static_cast<DialogInstance *>(record);
    dialogValuesRelease(d->spec, d->values);
    std::free(d->controls);
    std::free(d->shownChanges);
    std::free(d->values);
    *d = DialogInstance{};
}

struct ForgetOnDestroy {
    void (*forget)(void *record);
    void *record;
};

void forgetCallback(Widget, XtPointer client, XtPointer)
{
    auto *f = static_cast<ForgetOnDestroy *>(client);
    f->forget(f->record);
    delete f;
}

WidgetClass classOf(DialogControlClass cls)
{
    switch (cls) {
    case kControlRowColumn: return xmRowColumnWidgetClass;
    case kControlLabel: return xmLabelWidgetClass;
    case kControlTextField: return xmTextFieldWidgetClass;
    case kControlToggle: return xmToggleButtonWidgetClass;
    case kControlList: return xmListWidgetClass;
    case kControlSeparator: return xmSeparatorWidgetClass;
    case kControlArrowButton: return xmArrowButtonWidgetClass;
    case kControlPushButton: return xmPushButtonWidgetClass;
    case kControlForm: return xmFormWidgetClass;
    case kControlOptionMenu: return xmRowColumnWidgetClass;
    }
    return xmLabelWidgetClass;
}

void readControls(DialogInstance *d)
{
    const DialogSpec *spec = d->spec;
    for (int i = 0; i < spec->controlCount; i++) {
        const DialogControl *c = &spec->controls[i];
        Widget w = d->controls[i];
        if (char *text = dialogTextField(d->values, c)) {
            char *typed = XmTextFieldGetString(w);
            std::snprintf(text, c->size, "%s", typed ? typed : "");
            XtFree(typed);
        } else if (ToggleValue *toggle = dialogToggleField(d->values, c)) {
            unsigned char set = XmUNSET;
            XtVaGetValues(w, XmNset, &set, nullptr);
            *toggle = set == XmSET ? kToggleOn : set == XmINDETERMINATE ? kToggleMixed : kToggleOff;
        } else if (int32_t *position = dialogListField(d->values, c)) {
            if (c->cls == kControlOptionMenu) {
                Widget chosen = nullptr;
                XtVaGetValues(w, XmNmenuHistory, &chosen, nullptr);
                *position = 0;
                for (int k = 0; chosen && c->items[k]; k++)
                    if (std::strcmp(XtName(chosen), c->items[k]) == 0)
                        *position = k + 1;
                continue;
            }
            int *positions = nullptr, count = 0;
            *position = XmListGetSelectedPos(w, &positions, &count) && count > 0 ? positions[0] : 0;
            XtFree(reinterpret_cast<char *>(positions));
        } else if (DialogItems *items = dialogItemsField(d->values, c)) {
            int *positions = nullptr, count = 0;
            items->position = XmListGetSelectedPos(w, &positions, &count) && count > 0 ? positions[0] : 0;
            XtFree(reinterpret_cast<char *>(positions));
        } else if (uint32_t *selection = dialogSelectionField(d->values, c)) {
            int *positions = nullptr, count = 0;
            *selection = 0;
            if (XmListGetSelectedPos(w, &positions, &count))
                for (int k = 0; k < count; k++)
                    if (positions[k] >= 1 && positions[k] <= 32)
                        *selection |= 1u << (positions[k] - 1);
            XtFree(reinterpret_cast<char *>(positions));
        }
    }
}

// The button of an option menu at 1-based position, or null.
Widget optionMenuButton(Widget menu, const DialogControl *c, int32_t position)
{
    Widget pulldown = nullptr;
    XtVaGetValues(menu, XmNsubMenuId, &pulldown, nullptr);
    for (int k = 0; pulldown && c->items[k]; k++)
        if (k + 1 == position)
            return XtNameToWidget(pulldown, c->items[k]);
    return nullptr;
}

// A list scrolls only when its item is out of sight: a list the user (or the
// site search) scrolled stays where it stands while the record is written
// back after a press.
void scrollIntoView(Widget list, int position)
{
    int top = 1, visible = 1;
    XtVaGetValues(list, XmNtopItemPosition, &top, XmNvisibleItemCount, &visible, nullptr);
    if (position < top)
        XmListSetPos(list, position);
    else if (position >= top + visible)
        XmListSetBottomPos(list, position);
}

// A list of the record's items: its items written again only after they
// changed, then its selection.
void writeItems(DialogInstance *d, int row, const DialogItems *items)
{
    Widget w = d->controls[row];
    if (d->itemsStale || d->shownChanges[row] != items->changes) {
        XmListDeleteAllItems(w);
        for (int k = 0; k < items->count; k++) {
            const char *shown = d->spec->itemShown ? d->spec->itemShown(row, items->texts[k]) : items->texts[k];
            XmString text = XmStringCreateLocalized(const_cast<char *>(shown ? shown : ""));
            XmListAddItemUnselected(w, text, 0);
            XmStringFree(text);
        }
        d->shownChanges[row] = items->changes;
    }
    XmListDeselectAllItems(w);
    if (items->position >= 1 && items->position <= items->count) {
        XmListSelectPos(w, items->position, False);
        scrollIntoView(w, items->position);
    }
}

// Toggles and lists are written through resources and XmListSelectPos with
// notify off, which call no callback; a text field calls its value-changed
// callback whatever is done, so ours ignores it while writing is set.
// `except`: a control the user is working (a list or a text field keeps its
// anchor or cursor), or -1.
void writeControls(DialogInstance *d, int except = -1)
{
    const DialogSpec *spec = d->spec;
    d->writing = 1;
    for (int i = 0; i < spec->controlCount; i++) {
        if (i == except)
            continue;
        const DialogControl *c = &spec->controls[i];
        Widget w = d->controls[i];
        if (char *text = dialogTextField(d->values, c)) {
            text[c->size - 1] = '\0';
            XmTextFieldSetString(w, text);
        } else if (ToggleValue *toggle = dialogToggleField(d->values, c)) {
            const unsigned char set = *toggle == kToggleOn ? XmSET : *toggle == kToggleMixed ? XmINDETERMINATE : XmUNSET;
            XtVaSetValues(w, XmNtoggleMode, *toggle == kToggleMixed ? XmTOGGLE_INDETERMINATE : XmTOGGLE_BOOLEAN,
                          XmNset, set, nullptr);
        } else if (int32_t *position = dialogListField(d->values, c)) {
            if (c->cls == kControlOptionMenu) {
                if (Widget button = optionMenuButton(w, c, *position))
                    XtVaSetValues(w, XmNmenuHistory, button, nullptr);
                continue;
            }
            XmListDeselectAllItems(w);
            int count = 0;
            XtVaGetValues(w, XmNitemCount, &count, nullptr);
            if (*position >= 1 && *position <= count) {
                XmListSelectPos(w, *position, False);
                scrollIntoView(w, *position);
            }
        } else if (DialogItems *items = dialogItemsField(d->values, c)) {
            writeItems(d, i, items);
        } else if (uint32_t *selection = dialogSelectionField(d->values, c)) {
            // In extended selection a selected position replaces the others;
            // multiple selection adds it.
            unsigned char policy = XmEXTENDED_SELECT;
            XtVaGetValues(w, XmNselectionPolicy, &policy, nullptr);
            XtVaSetValues(w, XmNselectionPolicy, XmMULTIPLE_SELECT, nullptr);
            XmListDeselectAllItems(w);
            int count = 0;
            XtVaGetValues(w, XmNitemCount, &count, nullptr);
            for (int p = 1; p <= count && p <= 32; p++)
                if (*selection & 1u << (p - 1))
                    XmListSelectPos(w, p, False);
            XtVaSetValues(w, XmNselectionPolicy, policy, nullptr);
        }
    }
    d->itemsStale = 0;
    d->writing = 0;
}

// Lists whose items the dialog gives at run time get them again.
void setListItems(DialogInstance *d)
{
    const DialogSpec *spec = d->spec;
    if (!spec->listItems)
        return;
    for (int i = 0; i < spec->controlCount; i++) {
        if (spec->controls[i].cls != kControlList)
            continue;
        int count = 0;
        const char *const *texts = spec->listItems(d->chart, appData, i, &count);
        if (!texts || count < 0)
            count = 0;
        XmString *items = static_cast<XmString *>(std::calloc(static_cast<size_t>(count) + 1, sizeof(XmString)));
        if (!items)
            count = 0;
        for (int k = 0; k < count; k++)
            items[k] = XmStringCreateLocalized(const_cast<char *>(texts[k] ? texts[k] : ""));
        XmListDeleteAllItems(d->controls[i]);
        if (count > 0)
            XmListAddItemsUnselected(d->controls[i], items, count, 0);
        for (int k = 0; k < count; k++)
            XmStringFree(items[k]);
        std::free(items);
        XmListSetPos(d->controls[i], 1);
    }
}

void applySensitivity(DialogInstance *d)
{
    const DialogSpec *spec = d->spec;
    if (!spec->sensitivity)
        return;
    uint8_t *sensitive = static_cast<uint8_t *>(std::malloc(static_cast<size_t>(spec->controlCount)));
    if (!sensitive)
        return;
    std::memset(sensitive, 1, static_cast<size_t>(spec->controlCount));
    spec->sensitivity(d->values, sensitive);
    for (int i = 0; i < spec->controlCount; i++)
        XtSetSensitive(d->controls[i], sensitive[i] ? True : False);
    std::free(sensitive);
}

// The user changed control row i (or pressed it): the record is read, the
// dialog may change other fields, and the controls show them.
void controlChanged(DialogInstance *d, int i)
{
    readControls(d);
    const DialogSpec *spec = d->spec;
    if (spec->changed && i >= 0 && i < spec->controlCount && spec->changed(d->values, i))
        writeControls(d, spec->controls[i].cls == kControlToggle ? -1 : i);
    applySensitivity(d);
}

int controlRow(DialogInstance *d, Widget w)
{
    int i = 0;
    while (i < d->spec->controlCount && d->controls[i] != w)
        i++;
    return i;
}

void valueChangedCallback(Widget w, XtPointer client, XtPointer)
{
    auto *d = static_cast<DialogInstance *>(client);
    if (d->writing)
        return;
    controlChanged(d, controlRow(d, w));
}

// An option menu's button: the menu shows it before the record is read, so
// the choice reads the same whether or not Motif moved the history first.
void optionButtonCallback(Widget button, XtPointer client, XtPointer)
{
    auto *d = static_cast<DialogInstance *>(client);
    if (d->writing)
        return;
    Widget menu = nullptr;
    XtVaGetValues(XtParent(button), XmNuserData, &menu, nullptr);
    if (!menu)
        return;
    XtVaSetValues(menu, XmNmenuHistory, button, nullptr);
    controlChanged(d, controlRow(d, menu));
}

void okPressed(DialogInstance *d);
void okCallback(Widget, XtPointer client, XtPointer) { okPressed(static_cast<DialogInstance *>(client)); }

// A spin arrow or a button of the dialog's own: the dialog's change rule
// sees it as a change of that row, then its press handler acts on it.
void pressCallback(Widget w, XtPointer client, XtPointer)
{
    auto *d = static_cast<DialogInstance *>(client);
    if (d->writing)
        return;
    const int i = controlRow(d, w);
    controlChanged(d, i);
    if (!d->handlers.press || i >= d->spec->controlCount)
        return;
    d->handlers.press(d->chart, d->values, i);
    if (XtIsManaged(d->form))
        dialogRefresh(d->spec);
}

void cancelCallback(Widget, XtPointer client, XtPointer)
{
    dialogCancel(static_cast<DialogInstance *>(client)->spec);
}

Widget makeControl(DialogInstance *d, int i, Widget parent)
{
    const DialogControl *c = &d->spec->controls[i];
    Arg args[8];
    Cardinal n = 0;
    XmString *items = nullptr;
    int itemCount = 0;
    if (c->cls == kControlTextField) {
        XtSetArg(args[n], XmNmaxLength, static_cast<int>(c->size) - 1);
        n++;
    } else if (c->cls == kControlList && c->items) {
        while (c->items[itemCount])
            itemCount++;
        items = static_cast<XmString *>(std::calloc(static_cast<size_t>(itemCount), sizeof(XmString)));
        for (int k = 0; items && k < itemCount; k++)
            items[k] = XmStringCreateLocalized(const_cast<char *>(c->items[k]));
        XtSetArg(args[n], XmNitems, items);
        n++;
        XtSetArg(args[n], XmNitemCount, items ? itemCount : 0);
        n++;
        XtSetArg(args[n], XmNvisibleItemCount, itemCount > 0 ? itemCount : 1);
        n++;
        XtSetArg(args[n], XmNselectionPolicy, XmSINGLE_SELECT);
        n++;
    } else if (c->cls == kControlArrowButton) {
        // Spin arrows are for the mouse: the keyboard types into the field.
        XtSetArg(args[n], XmNhighlightThickness, 0);
        n++;
        XtSetArg(args[n], XmNtraversalOn, False);
        n++;
    }
    Widget w = nullptr;
    if (c->cls == kControlList) {
        w = XmCreateScrolledList(parent, const_cast<char *>(c->name), args, n);
        XtManageChild(w);
    } else if (c->cls == kControlOptionMenu) {
        // The pulldown is named after the menu: "MonthMenu" -> "MonthPulldown".
        char pulldownName[kNameSize];
        const size_t len = std::strlen(c->name);
        const size_t stem = len > 4 && std::strcmp(c->name + len - 4, "Menu") == 0 ? len - 4 : len;
        std::snprintf(pulldownName, sizeof pulldownName, "%.*sPulldown", static_cast<int>(stem), c->name);
        Widget pulldown = XmCreatePulldownMenu(parent, pulldownName, nullptr, 0);
        for (int k = 0; c->items && c->items[k]; k++) {
            Widget b = XtCreateManagedWidget(c->items[k], xmPushButtonWidgetClass, pulldown, nullptr, 0);
            XtAddCallback(b, XmNactivateCallback, optionButtonCallback, d);
        }
        XtSetArg(args[n], XmNsubMenuId, pulldown);
        n++;
        w = XmCreateOptionMenu(parent, const_cast<char *>(c->name), args, n);
        XtVaSetValues(pulldown, XmNuserData, w, nullptr);
        XtManageChild(w);
    } else {
        w = XtCreateManagedWidget(c->name, classOf(c->cls), parent, args, n);
    }
    for (int k = 0; items && k < itemCount; k++)
        XmStringFree(items[k]);
    std::free(items);
    for (const DialogFixedResource &r : c->fixed)
        if (r.name && r.value)
            XtVaSetValues(w, XtVaTypedArg, r.name, XmRString, r.value, static_cast<int>(std::strlen(r.value) + 1),
                          nullptr);
    if (c->cls == kControlTextField || c->cls == kControlToggle)
        XtAddCallback(w, XmNvalueChangedCallback, valueChangedCallback, d);
    else if (c->cls == kControlArrowButton || c->cls == kControlPushButton)
        XtAddCallback(w, XmNactivateCallback, pressCallback, d);
    else if (c->cls == kControlList) {
        XtAddCallback(w, XmNsingleSelectionCallback, valueChangedCallback, d);
        XtAddCallback(w, XmNbrowseSelectionCallback, valueChangedCallback, d);
        XtAddCallback(w, XmNextendedSelectionCallback, valueChangedCallback, d);
        XtAddCallback(w, XmNmultipleSelectionCallback, valueChangedCallback, d);
        if (d->spec->listDoubleClickIsOk)
            XtAddCallback(w, XmNdefaultActionCallback, okCallback, d);
    }
    return w;
}

void makeOkCancel(DialogInstance *d)
{
    d->ok = XtCreateManagedWidget("ButtonOK", xmPushButtonWidgetClass, d->buttons, nullptr, 0);
    d->cancel = XtCreateManagedWidget("ButtonCancel", xmPushButtonWidgetClass, d->buttons, nullptr, 0);
    XtAddCallback(d->ok, XmNactivateCallback, okCallback, d);
    XtAddCallback(d->cancel, XmNactivateCallback, cancelCallback, d);
    XtVaSetValues(d->form, XmNdefaultButton, d->ok, XmNcancelButton, d->cancel, nullptr);
}

DialogInstance *build(const DialogSpec *spec)
{
    DialogInstance *d = nullptr;
    for (DialogInstance &slot : instances)
        if (!d && !slot.spec)
            d = &slot;
    if (!d || !appData || !appData->topLevel)
        return nullptr;
    char why[256];
    if (!dialogSpecCheck(spec, why, sizeof why)) {
        std::fprintf(stderr, "tavik: dialog %s not built: %s\n", spec->name ? spec->name : "", why);
        return nullptr;
    }
    *d = DialogInstance{};
    d->spec = spec;
    d->controls = static_cast<Widget *>(std::calloc(static_cast<size_t>(spec->controlCount) + 1, sizeof(Widget)));
    d->shownChanges = static_cast<uint32_t *>(std::calloc(static_cast<size_t>(spec->controlCount) + 1, sizeof(uint32_t)));
    d->values = std::calloc(spec->valuesSize + 1, 1);
    if (!d->controls || !d->values || !d->shownChanges) {
        std::free(d->controls);
        std::free(d->shownChanges);
        std::free(d->values);
        *d = DialogInstance{};
        return nullptr;
    }
    for (int i = 0; i < pendingHandlerCount; i++)
        if (pendingHandlers[i].spec == spec)
            d->handlers = pendingHandlers[i].handlers;

    d->form = XmCreateFormDialog(appData->topLevel, const_cast<char *>(spec->name), nullptr, 0);
    dialogForgetOnDestroy(d->form, forgetInstance, d);
    char name[kNameSize];
    std::snprintf(name, sizeof name, "%sRowColumn", spec->name);
    if (spec->rowColumnName)
        std::snprintf(name, sizeof name, "%s", spec->rowColumnName);
    const int buttonsRow = dialogButtonsRow(spec);
    d->rowColumn = XtVaCreateManagedWidget(name, xmRowColumnWidgetClass, d->form, XmNtopAttachment, XmATTACH_FORM,
                                           XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                           XmNbottomAttachment, buttonsRow < 0 ? XmATTACH_NONE : XmATTACH_FORM,
                                           nullptr);
    if (buttonsRow < 0) {
        std::snprintf(name, sizeof name, "%sButtons", spec->name);
        if (spec->buttonsName)
            std::snprintf(name, sizeof name, "%s", spec->buttonsName);
        d->buttons = XtVaCreateManagedWidget(name, xmRowColumnWidgetClass, d->form, XmNorientation, XmHORIZONTAL,
                                             XmNtopAttachment, XmATTACH_WIDGET, XmNtopWidget, d->rowColumn,
                                             XmNleftAttachment, XmATTACH_FORM, XmNrightAttachment, XmATTACH_FORM,
                                             XmNbottomAttachment, XmATTACH_FORM, nullptr);
        makeOkCancel(d);
    }
    for (int i = 0; i < spec->controlCount; i++) {
        const int parent = spec->controls[i].parent;
        d->controls[i] = makeControl(d, i,
                                     parent == kDialogMainParent      ? d->rowColumn
                                     : parent == kDialogButtonsParent ? d->buttons
                                                                      : d->controls[parent]);
        // A row of the table that holds the buttons: OK and Cancel first.
        if (i == buttonsRow) {
            d->buttons = d->controls[i];
            makeOkCancel(d);
        }
    }
    return d;
}

} // namespace

void dialogOpen(const DialogSpec *spec, ChartState *chart)
{
    DialogInstance *d = findInstance(spec);
    if (!d)
        d = build(spec);
    if (!d)
        return;
    d->chart = chart;
    setListItems(d);
    dialogValuesClearForFill(spec, d->values);
    d->itemsStale = 1;
    spec->fill(chart, appData, d->values);
    writeControls(d);
    applySensitivity(d);
    XtManageChild(d->form);
}

namespace {

// A warning box with a message resource formatted with its one argument.
void showWarning(Widget parent, const char *messageResource, const char *argument)
{
    char format[512], text[kStkTextSize * 2];
    getResourceFormat(messageResource, "s", format, sizeof format);
    if (format[0])
        std::snprintf(text, sizeof text, format, argument ? argument : "");
    else // a refusal without its resource still says what it refused
        std::snprintf(text, sizeof text, "%s: %s", messageResource, argument ? argument : "");
    uiHooks.openMessageBox(parent, text, kMessageBoxWarning);
}

void okPressed(DialogInstance *d)
{
    const DialogSpec *spec = d->spec;
    readControls(d);
    if (d->handlers.ok) {
        d->handlers.ok(d->chart, d->values);
        return;
    }
    static DialogResult result; // 4 KB of command texts: kept off the stack
    dialogResultClear(&result);
    spec->ok(d->values, d->chart, appData, &result);
    dialogFinishOk(spec, &result);
}

} // namespace

int dialogFinishOk(const DialogSpec *spec, const DialogResult *result)
{
    DialogInstance *d = findInstance(spec);
    if (!d)
        return 0;
    if (result->refused) {
        dialogShowRefusal(d->form, result);
        return 0;
    }
    if (result->stayOpen)
        return 0;
    XtUnmanageChild(d->form);
    if (spec->accepted)
        spec->accepted(d->values, d->chart);
    for (int i = 0; i < result->commandCount; i++)
        stkExecuteCall(d->chart, result->commands[i]);
    return 1;
}

void dialogShowMessage(const DialogSpec *spec, const char *messageResource, const char *argument)
{
    DialogInstance *d = findInstance(spec);
    showWarning(d ? d->form : appData->topLevel, messageResource, argument);
}

void dialogRefresh(const DialogSpec *spec)
{
    DialogInstance *d = findInstance(spec);
    if (!d)
        return;
    writeControls(d);
    applySensitivity(d);
}

void *dialogValues(const DialogSpec *spec)
{
    DialogInstance *d = findInstance(spec);
    return d ? d->values : nullptr;
}

void dialogSetHandlers(const DialogSpec *spec, const DialogHandlers *handlers)
{
    int i = 0;
    while (i < pendingHandlerCount && pendingHandlers[i].spec != spec)
        i++;
    if (i == kMaxDialogs)
        return;
    if (i == pendingHandlerCount)
        pendingHandlerCount++;
    pendingHandlers[i] = {spec, *handlers};
    if (DialogInstance *d = findInstance(spec))
        d->handlers = *handlers;
}

void dialogShowRefusal(Widget parent, const DialogResult *result)
{
    showWarning(parent, result->messageResource, result->argument);
}

void dialogCancel(const DialogSpec *spec)
{
    DialogInstance *d = findInstance(spec);
    if (d)
        XtUnmanageChild(d->form);
}

Widget dialogWidget(const DialogSpec *spec, const char *name)
{
    DialogInstance *d = findInstance(spec);
    if (!d || !name)
        return nullptr;
    const Widget named[] = {d->form, d->rowColumn, d->buttons, d->ok, d->cancel};
    for (Widget w : named)
        if (std::strcmp(XtName(w), name) == 0)
            return w;
    const int i = dialogControlIndex(spec, name);
    return i >= 0 ? d->controls[i] : nullptr;
}

int dialogIsShown(const DialogSpec *spec)
{
    DialogInstance *d = findInstance(spec);
    return d && XtIsManaged(d->form) ? 1 : 0;
}

void dialogForgetOnDestroy(Widget w, void (*forget)(void *record), void *record)
{
    if (w && forget)
        XtAddCallback(w, XmNdestroyCallback, forgetCallback, new ForgetOnDestroy{forget, record});
}

namespace {
void clearWidget(void *slot) { *static_cast<Widget *>(slot) = nullptr; }
} // namespace

void dialogClearOnDestroy(Widget *slot)
{
    dialogForgetOnDestroy(*slot, clearWidget, slot);
}
