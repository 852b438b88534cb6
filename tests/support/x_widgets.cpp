#include "tests/support/x_widgets.h"

#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/TextF.h>
#include <Xm/ToggleB.h>
#include <Xm/ToggleBG.h>


void xPress(Widget button)
{
    XmPushButtonCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    cbs.click_count = 1;
    XtCallCallbacks(button, XmNactivateCallback, &cbs);
}

void xActivate(Widget item)
{
    if (!XmIsToggleButtonGadget(item)) {
        xPress(item);
        return;
    }
    XmToggleButtonCallbackStruct cbs{};
    cbs.reason = XmCR_VALUE_CHANGED;
    cbs.set = !XmToggleButtonGadgetGetState(item);
    XtCallCallbacks(item, XmNvalueChangedCallback, &cbs);
}

std::string xFieldText(Widget w)
{
    char *s = XmTextFieldGetString(w);
    std::string text = s ? s : "";
    XtFree(s);
    return text;
}

unsigned char xToggleState(Widget w)
{
    unsigned char set = XmUNSET;
    XtVaGetValues(w, XmNset, &set, nullptr);
    return set;
}

int xSelectedPosition(Widget w)
{
    int *positions = nullptr, count = 0;
    const int pos = XmListGetSelectedPos(w, &positions, &count) && count > 0 ? positions[0] : 0;
    XtFree(reinterpret_cast<char *>(positions));
    return pos;
}
