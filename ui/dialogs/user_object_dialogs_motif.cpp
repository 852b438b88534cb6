// The User Object dialog on the dialog kit's builder, with its file
// selection dialog "AddUserObjectDialog".
#include <cstdlib>
#include <cstring>

#include <Xm/FileSB.h>
#include <Xm/List.h>

#include "model/app_data.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/user_object_dialogs.h"

namespace {

Widget addDialog = nullptr;

enum { kRowAdd = 3, kRowDelete = 4 }; // rows of kUserObjectDialog

UserObjectDialogValues *values() { return static_cast<UserObjectDialogValues *>(dialogValues(&kUserObjectDialog)); }

void addOk(Widget w, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmFileSelectionBoxCallbackStruct *>(call);
    char *path = nullptr;
    UserObjectDialogValues *v = values();
    if (!v || !cbs || !XmStringGetLtoR(cbs->value, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &path) || !path)
        return;
    DialogResult refusal;
    dialogResultClear(&refusal);
    if (!userObjectListAdd(&v->files, path, &refusal)) {
        dialogShowMessage(&kUserObjectDialog, refusal.messageResource, refusal.argument);
        XtFree(path);
        return; // the file dialog stays open
    }
    userObjectDirectoryOf(path, appData->userObjectFilePath, sizeof appData->userObjectFilePath);
    XtFree(path);
    XtUnmanageChild(w);
    dialogRefresh(&kUserObjectDialog);
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

// Add asks for a file in a box of its own; Delete changes the record, which
// the kit shows again.
void press(ChartState *, void *record, int control)
{
    auto *v = static_cast<UserObjectDialogValues *>(record);
    if (control == kRowAdd)
        openAddUserObjectDialog();
    else if (control == kRowDelete)
        userObjectListDelete(&v->files, v->files.position);
}

} // namespace

void openUserObjectDialog(ChartState *chart)
{
    static const DialogHandlers handlers = {press, nullptr};
    dialogSetHandlers(&kUserObjectDialog, &handlers);
    dialogOpen(&kUserObjectDialog, chart);
}
