#include "ui/widgets/message_box.h"

#include <Xm/MessageB.h>
#include <Xm/Xm.h>

#include <string>
#include <vector>

namespace {

using DialogMaker = Widget (*)(Widget, String, ArgList, Cardinal);

// openMessageBox's types; a type not in the table makes an error box.
struct MessageBoxKind {
    int type;
    DialogMaker make;
};
const MessageBoxKind kMessageBoxKinds[] = {
    {1, XmCreateMessageDialog},
    {2, XmCreateInformationDialog},
    {3, XmCreateWarningDialog},
    {0, nullptr},
};

// However the box goes away, by OK or the window manager's close (which only
// unmaps it), its shell goes with it; one left behind per message would add up.
void destroyMessageBox(Widget w, XtPointer, XtPointer)
{
    XtDestroyWidget(XtParent(w)); // a second call while it is going is ignored
}

// The boxes of openMessageBoxOnce still shown.
struct ShownBox {
    Widget box;
    std::string text;
    int type;
};
std::vector<ShownBox> shownBoxes;

void forgetShownBox(Widget w, XtPointer, XtPointer)
{
    for (size_t i = 0; i < shownBoxes.size(); i++)
        if (shownBoxes[i].box == w) {
            shownBoxes.erase(shownBoxes.begin() + static_cast<long>(i));
            return;
        }
}

Widget makeMessageBox(Widget parent, const char *text, int type)
{
    DialogMaker make = XmCreateErrorDialog;
    for (const MessageBoxKind *k = kMessageBoxKinds; k->make; k++) {
        if (k->type == type)
            make = k->make;
    }
    XmString s = XmStringCreateLocalized(const_cast<char *>(text ? text : ""));
    Arg args[1];
    XtSetArg(args[0], XmNmessageString, s);
    Widget box = make(parent, const_cast<char *>("MessageBox"), args, 1);
    XmStringFree(s);
    XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_HELP_BUTTON));
    XtUnmanageChild(XmMessageBoxGetChild(box, XmDIALOG_CANCEL_BUTTON));
    XtAddCallback(box, XmNokCallback, destroyMessageBox, nullptr);
    XtAddCallback(box, XmNunmapCallback, destroyMessageBox, nullptr);
    XtManageChild(box);
    return box;
}

Widget questionDialog = nullptr;
int questionAnswer = -1; // -1 while waiting, 1 OK, 0 Cancel

void questionAnswered(Widget, XtPointer, XtPointer call)
{
    auto *cbs = static_cast<XmAnyCallbackStruct *>(call);
    questionAnswer = cbs->reason == XmCR_OK ? 1 : 0;
}

// Closed another way (the window manager): a refusal, so that the nested
// loop never waits for a dialog no one can see.
void questionUnmapped(Widget, XtPointer, XtPointer)
{
    if (questionAnswer == -1)
        questionAnswer = 0;
}

// It goes with its parent's shell (the top-level one at the latest): the
// next question makes a new one.
void questionDestroyed(Widget, XtPointer, XtPointer) { questionDialog = nullptr; }

} // namespace

void openMessageBox(Widget parent, const char *text, int type)
{
    makeMessageBox(parent, text, type);
}

void openMessageBoxOnce(Widget parent, const char *text, int type)
{
    const std::string shown = text ? text : "";
    for (const ShownBox &b : shownBoxes)
        if (b.type == type && b.text == shown)
            return;
    Widget box = makeMessageBox(parent, text, type);
    XtAddCallback(box, XmNdestroyCallback, forgetShownBox, nullptr);
    shownBoxes.push_back({box, shown, type});
}

int askQuestion(Widget parent, const char *text)
{
    if (!questionDialog) {
        Arg args[2];
        XtSetArg(args[0], XmNdefaultButtonType, XmDIALOG_CANCEL_BUTTON);
        XtSetArg(args[1], XmNdialogStyle, XmDIALOG_PRIMARY_APPLICATION_MODAL);
        questionDialog = XmCreateQuestionDialog(parent, const_cast<char *>("QuestionDialog"), args, 2);
        XtUnmanageChild(XmMessageBoxGetChild(questionDialog, XmDIALOG_HELP_BUTTON));
        XtAddCallback(questionDialog, XmNokCallback, questionAnswered, nullptr);
        XtAddCallback(questionDialog, XmNcancelCallback, questionAnswered, nullptr);
        XtAddCallback(questionDialog, XmNunmapCallback, questionUnmapped, nullptr);
        XtAddCallback(questionDialog, XmNdestroyCallback, questionDestroyed, nullptr);
    }
    questionAnswer = -1;
    XmString s = XmStringCreateLocalized(const_cast<char *>(text ? text : ""));
    XtVaSetValues(questionDialog, XmNmessageString, s, nullptr);
    XmStringFree(s);
    // Closed by the window manager, the shell is gone but the box is still
    // managed, and managing it again would not bring the shell back.
    if (XtIsManaged(questionDialog))
        XtUnmanageChild(questionDialog);
    XtManageChild(questionDialog);
    XtPopup(XtParent(questionDialog), XtGrabNone);

    // Events queued at the moment of the answer are handled before returning.
    XtAppContext app = XtWidgetToApplicationContext(questionDialog);
    while (questionAnswer == -1 || XtAppPending(app))
        XtAppProcessEvent(app, XtIMAll);
    return questionAnswer != 0;
}
