#include "ui/widgets/command_dialog.h"

#include <cstring>
#include <string>
#include <vector>

#include <Xm/List.h>
#include <Xm/SelectioB.h>
#include <Xm/TextF.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "ui/widgets/command_history.h"

namespace {

Widget historyList() { return XmSelectionBoxGetChild(appData->commandDialog, XmDIALOG_LIST); }
Widget textField() { return XmSelectionBoxGetChild(appData->commandDialog, XmDIALOG_TEXT); }

std::string itemText(XmString item)
{
    char *s = static_cast<char *>(XmStringUnparse(item, nullptr, XmCHARSET_TEXT, XmCHARSET_TEXT, nullptr, 0,
                                                  XmOUTPUT_ALL));
    std::string text = s ? s : "";
    XtFree(s);
    return text;
}

// The list's items as texts, oldest first.
std::vector<std::string> historyItems()
{
    XmStringTable items = nullptr;
    int count = 0;
    XtVaGetValues(historyList(), XmNitems, &items, XmNitemCount, &count, nullptr);
    std::vector<std::string> texts;
    for (int i = 0; i < count; i++)
        texts.push_back(itemText(items[i]));
    return texts;
}

void appendItem(const char *text)
{
    XmString s = XmStringCreateLocalized(const_cast<char *>(text));
    XmListAddItemUnselected(historyList(), s, 0);
    XmStringFree(s);
}

void appendLine(void *, const char *line) { appendItem(line); }

} // namespace

int historyFilePath(char *dst, int len) { return historyPathIn(appData->userDir, dst, len); }

int historyLoad()
{
    char path[kHistoryLineSize];
    if (!appData->commandDialog || !historyFilePath(path, sizeof path))
        return 0;
    return historyReadFile(path, appendLine, nullptr);
}

void historySave()
{
    char path[kHistoryLineSize];
    if (!appData->commandDialog || !historyFilePath(path, sizeof path))
        return;
    const std::vector<std::string> items = historyItems();
    std::vector<const char *> texts;
    for (const std::string &s : items)
        texts.push_back(s.c_str());
    historyWriteFile(path, texts.data(), static_cast<int>(texts.size()), appData->saveHistory);
}

void cmdDlgShowLast()
{
    Widget list = historyList();
    int count = 0;
    XtVaGetValues(list, XmNitemCount, &count, nullptr);
    if (count == 0)
        return;
    XmListSetBottomPos(list, count);
    XmListSelectPos(list, count, False);
    const std::vector<std::string> items = historyItems();
    Widget field = textField();
    XmTextFieldSetString(field, const_cast<char *>(items.back().c_str()));
    XmTextFieldSetSelection(field, 0, XmTextFieldGetLastPosition(field), CurrentTime);
}

void cmdDlgOkCallback(Widget, XtPointer client, XtPointer)
{
    auto *chart = static_cast<ChartState *>(client);
    char *typed = XmTextFieldGetString(textField());
    const std::string text = typed ? typed : "";
    XtFree(typed);
    const std::vector<std::string> items = historyItems();
    switch (commandOkAction(text.c_str(), items.empty() ? nullptr : items.back().c_str())) {
    case kCommandIgnore:
        return;
    case kCommandTooLong:
        // The interpreter's own refusal; the text stays in the field to edit.
        stkReportTextTooLong(text.c_str(), text.size());
        return;
    case kCommandRunAppend:
        appendItem(text.c_str());
        break;
    case kCommandRunAgain:
        break;
    }
    stkExecuteCall(chart, text.c_str());
    if (appData->commandDialog)
        cmdDlgShowLast();
}

void cmdDlgCancelCallback(Widget, XtPointer, XtPointer)
{
    XtUnmanageChild(appData->commandDialog);
}

void cmdDlgCreate(ChartState *chart)
{
    Widget dialog = XmCreateSelectionDialog(appData->topLevel, const_cast<char *>("CommandDialog"), nullptr, 0);
    appData->commandDialog = dialog;
    const unsigned char hidden[] = {XmDIALOG_LIST_LABEL, XmDIALOG_HELP_BUTTON, XmDIALOG_APPLY_BUTTON,
                                    XmDIALOG_SELECTION_LABEL};
    for (unsigned char child : hidden)
        XtUnmanageChild(XmSelectionBoxGetChild(dialog, child));
    XtVaSetValues(historyList(), XmNselectionPolicy, XmBROWSE_SELECT, XmNvisibleItemCount, 6, nullptr);
    XtAddCallback(dialog, XmNokCallback, cmdDlgOkCallback, chart);
    XtAddCallback(dialog, XmNcancelCallback, cmdDlgCancelCallback, chart);
    historyLoad();
}

void toggleCommandDialog(ChartState *chart)
{
    if (!appData->commandDialog)
        cmdDlgCreate(chart);
    if (XtIsManaged(appData->commandDialog)) {
        XtUnmanageChild(appData->commandDialog);
        return;
    }
    // Shown first: the field of a dialog not yet shown forgets its selection.
    XtManageChild(appData->commandDialog);
    cmdDlgShowLast();
}

void toggleCommandDialogForEvent(ChartState *chart, const XEvent *event)
{
    static unsigned long lastSerial = 0;
    static Time lastTime = 0;
    static bool seen = false;
    if (event && (event->type == KeyPress || event->type == KeyRelease)) {
        if (seen && event->xkey.serial == lastSerial && event->xkey.time == lastTime)
            return;
        seen = true;
        lastSerial = event->xkey.serial;
        lastTime = event->xkey.time;
    }
    toggleCommandDialog(chart);
}
