// The User Object dialog on the dialog kit's builder, with its file
// selection dialog "AddUserObjectDialog".
#include <cstdlib>
#include <cstring>

#include <Xm/FileSB.h>
#include <Xm/List.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/lexing.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/user_object_dialogs.h"

namespace {

UserObjectPathList listed; // while the dialog is open
Widget addDialog = nullptr;

enum { kRowAdd = 3, kRowDelete = 4 }; // rows of kUserObjectDialog

const char *listedItem(int index) { return userObjectItemName(listed.paths[index]); }

// The list widget shows `listed`; position (1-based, 0 none) is selected.
void showList(int position)
{
    dialogSetListItems(&kUserObjectDialog, "UserObjectList", listed.count, listedItem, position);
}

void addOk(Widget w, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmFileSelectionBoxCallbackStruct *>(call);
    char *path = nullptr;
    if (!cbs || !XmStringGetLtoR(cbs->value, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &path) || !path)
        return;
    DialogResult refusal;
    dialogResultClear(&refusal);
    if (!userObjectListAdd(&listed, path, &refusal)) {
        dialogShowMessage(&kUserObjectDialog, refusal.messageResource, refusal.argument);
        XtFree(path);
        return; // the file dialog stays open
    }
    userObjectDirectoryOf(path, appData->userObjectFilePath, sizeof appData->userObjectFilePath);
    XtFree(path);
    XtUnmanageChild(w);
    showList(listed.count);
}

void addCancel(Widget w, XtPointer, XtPointer) { XtUnmanageChild(w); }

void openAddUserObjectDialog()
{
    if (!addDialog) {
        Arg args[2];
        XtSetArg(args[0], XmNautoUnmanage, False);
        XmString mask = XmStringCreateLocalized(const_cast<char *>("*.adf"));
        XtSetArg(args[1], XmNpattern, mask);
        addDialog = XmCreateFileSelectionDialog(dialogWidget(&kUserObjectDialog, "UserObjectDialog"),
                                                const_cast<char *>("AddUserObjectDialog"), args, 2);
        XmStringFree(mask);
        XtUnmanageChild(XmFileSelectionBoxGetChild(addDialog, XmDIALOG_HELP_BUTTON));
        XtAddCallback(addDialog, XmNokCallback, addOk, nullptr);
        XtAddCallback(addDialog, XmNcancelCallback, addCancel, nullptr);
        dialogClearOnDestroy(&addDialog);
    }
    // It opens where the last file was added, also in a later run.
    if (appData->userObjectFilePath[0]) {
        XmString dir = XmStringCreateLocalized(appData->userObjectFilePath);
        XtVaSetValues(addDialog, XmNdirectory, dir, nullptr);
        XmStringFree(dir);
    }
    XtManageChild(addDialog);
}

void press(ChartState *, void *values, int control)
{
    auto *v = static_cast<UserObjectDialogValues *>(values);
    if (control == kRowAdd)
        openAddUserObjectDialog();
    else if (control == kRowDelete && v->position > 0)
        showList(userObjectListDelete(&listed, v->position));
}

struct Sending {
    ChartState *chart;
};
void sendText(void *context, const char *text)
{
    stkExecuteCall(static_cast<Sending *>(context)->chart, text);
}

void ok(ChartState *chart, void *)
{
    DialogResult refusal;
    dialogResultClear(&refusal);
    Sending sending = {chart};
    if (!userObjectOkCommands(&listed, sendText, &sending, &refusal)) {
        dialogShowMessage(&kUserObjectDialog, refusal.messageResource, refusal.argument);
        return;
    }
    dialogCancel(&kUserObjectDialog);
    listed.count = 0;
}

} // namespace

void openUserObjectDialog(ChartState *chart)
{
    static const DialogHandlers handlers = {press, ok};
    dialogSetHandlers(&kUserObjectDialog, &handlers);
    if (!userObjectListFromChart(chart, &listed)) {
        dialogShowMessage(&kUserObjectDialog, "messageSystemOutOfMemory", "");
        userObjectListFree(&listed);
        return;
    }
    dialogOpen(&kUserObjectDialog, chart);
    showList(listed.count > 0 ? 1 : 0);
}
