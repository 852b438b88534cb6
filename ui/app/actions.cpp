#include "ui/app/actions.h"

#include <cstdio>

#include "command/interpreter.h"
#include "model/chart_state.h"
#include "model/lexing.h"
#include "ui/widgets/command_dialog.h"
#include "ui/window/navigation.h"

namespace {

void openCommandDialogAction(Widget, XEvent *event, String *, Cardinal *)
{
    toggleCommandDialogForEvent(currentChart, event);
}

struct ScrollDirection {
    const char *word;
    void (*scroll)(ChartState *chart, int action, int value);
    int action;
};
const ScrollDirection kScrollDirections[] = {
    {"UP", viewScrollVertical, 1},
    {"DOWN", viewScrollVertical, 2},
    {"LEFT", viewScrollHorizontal, 1},
    {"RIGHT", viewScrollHorizontal, 2},
    {nullptr, nullptr, 0},
};

void scrollWindowAction(Widget, XEvent *, String *params, Cardinal *count)
{
    if (*count != 1) {
        std::fprintf(stderr, "ScrollWindow action: Number of argument invalid.\n");
        return;
    }
    for (const ScrollDirection *d = kScrollDirections; d->word; d++) {
        if (strEqualNoCase(params[0], d->word)) {
            d->scroll(currentChart, d->action, 0);
            return;
        }
    }
    std::fprintf(stderr, "ScrollWindow action: argument invalid.\n");
}

void stkDoitAction(Widget, XEvent *, String *params, Cardinal *count)
{
    if (*count != 1) {
        std::fprintf(stderr, "Number of StkDoit action argument invalid.\n");
        return;
    }
    stkExecuteCall(currentChart, params[0]);
}

XtActionsRec kActions[] = {
    {const_cast<char *>("OpenCommandDialog"), openCommandDialogAction},
    {const_cast<char *>("ScrollWindow"), scrollWindowAction},
    {const_cast<char *>("StkDoit"), stkDoitAction},
};

} // namespace

void appAddActions(XtAppContext app)
{
    XtAppAddActions(app, kActions, XtNumber(kActions));
}
