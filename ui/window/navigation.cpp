#include "ui/window/navigation.h"

#include <cstdlib>

#include <X11/keysym.h>
#include <Xm/LabelG.h>
#include <Xm/PushBG.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrollBar.h>
#include <Xm/SeparatoG.h>

#include "astro/vecmat.h"
#include "command/interpreter.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "render/hit_test.h"
#include "render/layers/status_bar.h"
#include "render/surface.h"
#include "ui/dialogs/click_data_dialog_motif.h"
#include "ui/dialogs/image_dialog_motif.h"
#include "ui/window/navigation_rules.h"

namespace {

// A press and release this many pixels apart or less, in both directions, is
// a click; more is a drag.
constexpr int kClickSlopPx = 5;

// The modifier bits the Num_Lock key sets (whichever of Mod1..Mod5 holds
// it on this server, usually Mod2); 0 when no modifier holds it.
unsigned int numLockMask(Display *display)
{
    const KeyCode numLock = XKeysymToKeycode(display, XK_Num_Lock);
    XModifierKeymap *map = XGetModifierMapping(display);
    unsigned int mask = 0;
    if (map && numLock) {
        for (int m = 0; m < 8; m++)
            for (int k = 0; k < map->max_keypermod; k++)
                if (map->modifiermap[m * map->max_keypermod + k] == numLock)
                    mask |= 1u << m;
    }
    if (map)
        XFreeModifiermap(map);
    return mask;
}

struct DragState {
    int32_t last;  // screenPointPack of the last pointer position
    int pressed;
    int dragging;
};
DragState drag;

constexpr int kPopupButtonCount = 10;
constexpr int kPopupLabelCount = 4;
struct PopupMenu {
    Widget menu;
    Widget buttons[kPopupButtonCount];
    Widget separator;
    Widget labels[kPopupLabelCount];
};
PopupMenu popup;

void setBarValue(Widget bar, int value)
{
    if (!bar)
        return;
    int minimum = 0, maximum = 0, slider = 0;
    XtVaGetValues(bar, XmNminimum, &minimum, XmNmaximum, &maximum, XmNsliderSize, &slider, nullptr);
    XtVaSetValues(bar, XmNvalue, scrollValueClamped(value, minimum, maximum, slider), nullptr);
}

// While a TRACK target holds the view, LOOK keeps the centre: the bar shows
// where the view went, not where the scroll asked it to go.
void runScroll(ChartState *chart, Widget bar, const char *command, int slider, bool horizontal)
{
    setBarValue(bar, slider);
    if (!command[0])
        return;
    stkExecuteCall(chart, command);
    const ScrollBarSettings s = scrollBarSettings(chart);
    if (horizontal)
        setBarValue(bar, s.hValue);
    else if (s.verticalShown)
        setBarValue(bar, s.vValue);
}

template <int Action> void hScrollCb(Widget, XtPointer client, XtPointer call)
{
    viewScrollHorizontal(static_cast<ChartState *>(client), Action,
                         static_cast<XmScrollBarCallbackStruct *>(call)->value);
}

template <int Action> void vScrollCb(Widget, XtPointer client, XtPointer call)
{
    viewScrollVertical(static_cast<ChartState *>(client), Action,
                       static_cast<XmScrollBarCallbackStruct *>(call)->value);
}

struct ScrollCallback {
    const char *name;
    XtCallbackProc horizontal, vertical;
};
const ScrollCallback kScrollCallbacks[] = {
    {XmNdecrementCallback, hScrollCb<kScrollStepBack>, vScrollCb<kScrollStepBack>},
    {XmNincrementCallback, hScrollCb<kScrollStepForward>, vScrollCb<kScrollStepForward>},
    {XmNpageDecrementCallback, hScrollCb<kScrollPageBack>, vScrollCb<kScrollPageBack>},
    {XmNpageIncrementCallback, hScrollCb<kScrollPageForward>, vScrollCb<kScrollPageForward>},
    {XmNdragCallback, hScrollCb<kScrollDrag>, vScrollCb<kScrollDrag>},
};

void pan(ChartState *chart, int32_t from, int32_t to)
{
    int32_t x0, y0, x1, y1;
    screenPointUnpack(from, &x0, &y0);
    screenPointUnpack(to, &x1, &y1);
    chart->viewLocked = 0;
    XPoint start{static_cast<short>(x0), static_cast<short>(y0)};
    XPoint delta{static_cast<short>(x1 - x0), static_cast<short>(y1 - y0)};
    viewPanByPixels(chart, start, delta);
}

bool beyondClick(int32_t from, int32_t to)
{
    int32_t x0, y0, x1, y1;
    screenPointUnpack(from, &x0, &y0);
    screenPointUnpack(to, &x1, &y1);
    return std::abs(x1 - x0) > kClickSlopPx || std::abs(y1 - y0) > kClickSlopPx;
}

// The pixel is on the part of the chart that shows sky.
bool onVisibleSky(ChartState *chart, int32_t xy, Vec3 *dir)
{
    return !statusBarContains(chart, xy) && chartObjectAtPoint(chart, xy, dir);
}

void showPictures(ChartState *chart, int32_t xy)
{
    Vec3 dir;
    if (!onVisibleSky(chart, xy, &dir))
        return;
    ImageList *list = imageListNew();
    if (!list)
        return;
    const int32_t kind = chart->hitKind, index = chart->hitIndex;
    const int count = chartCountObjectsAtPoint(chart, xy, list);
    chart->hitKind = kind;
    chart->hitIndex = index;
    if (count > 0)
        openImageDialog(list);
    else
        imageListFree(list);
}

// The menu goes with its drawing area.
void forgetPopup(Widget, XtPointer, XtPointer) { popup = PopupMenu{}; }

void createPopup(Widget parent)
{
    XtAddCallback(parent, XmNdestroyCallback, forgetPopup, nullptr);
    popup.menu = XmCreatePopupMenu(parent, const_cast<char *>("popup"), nullptr, 0);
    char name[16];
    for (int i = 0; i < kPopupButtonCount; i++) {
        std::snprintf(name, sizeof name, "Button%d", i);
        popup.buttons[i] = XmCreatePushButtonGadget(popup.menu, name, nullptr, 0);
    }
    popup.separator = XmCreateSeparatorGadget(popup.menu, const_cast<char *>("Separator"), nullptr, 0);
    Arg args[1];
    XtSetArg(args[0], XmNalignment, XmALIGNMENT_BEGINNING);
    for (int i = 0; i < kPopupLabelCount; i++) {
        std::snprintf(name, sizeof name, "Label%d", i);
        popup.labels[i] = XmCreateLabelGadget(popup.menu, name, args, 1);
    }
}

void hidePopupItems()
{
    for (Widget b : popup.buttons) {
        if (XtIsManaged(b)) {
            XtRemoveAllCallbacks(b, XmNactivateCallback);
            XtUnmanageChild(b);
        }
    }
    XtUnmanageChild(popup.separator);
    XtUnmanageChildren(popup.labels, kPopupLabelCount);
    XtUnmanageChild(popup.menu);
}

void openPopup(ChartState *chart, Widget w, XButtonEvent *event, int32_t xy)
{
    if (!popup.menu)
        createPopup(w);
    hidePopupItems();
    Vec3 dir;
    if (!onVisibleSky(chart, xy, &dir))
        return;
    XmMenuPosition(popup.menu, event);
    const int32_t kind = chart->hitKind, index = chart->hitIndex;
    int buttons = popupFillObjectButtons(chart, xy, popup.buttons, kPopupButtonCount);
    chart->hitKind = kind;
    chart->hitIndex = index;
    buttons = buttons < 0 ? 0 : buttons > kPopupButtonCount ? kPopupButtonCount : buttons;
    const int labels = popupFillPositionLabels(chart, &dir, popup.labels);
    XtManageChildren(popup.labels, static_cast<Cardinal>(labels));
    if (labels > 0 && buttons > 0)
        XtManageChild(popup.separator);
    XtManageChildren(popup.buttons, static_cast<Cardinal>(buttons));
    if (labels + buttons > 0)
        XtManageChild(popup.menu);
}

} // namespace

void viewScrollHorizontal(ChartState *chart, int action, int value)
{
    chart->viewLocked = 0;
    char command[kStkTextSize];
    int slider = 0;
    scrollHorizontalCommand(chart, action, value, command, sizeof command, &slider);
    runScroll(chart, chart->hScroll, command, slider, true);
}

void viewScrollVertical(ChartState *chart, int action, int value)
{
    chart->viewLocked = 0;
    char command[kStkTextSize];
    int slider = 0;
    scrollVerticalCommand(chart, action, value, command, sizeof command, &slider);
    runScroll(chart, chart->vScroll, command, slider, false);
}

void viewUpdateScrollBars(ChartState *chart)
{
    const ScrollBarSettings s = scrollBarSettings(chart);
    if (chart->vScroll) {
        // A hidden bar gives up its place: the chart takes the whole width
        // rather than leaving a blank strip where the bar stood.
        const bool wasShown = XtIsManaged(chart->vScroll);
        if (s.verticalShown) {
            XtVaSetValues(chart->vScroll, XmNminimum, s.vMinimum, XmNmaximum, s.vMaximum, XmNsliderSize,
                          s.vSlider, XmNvalue, s.vValue, nullptr);
            XtManageChild(chart->vScroll);
        } else {
            XtUnmanageChild(chart->vScroll);
        }
        // The main window has given the drawing area its new size already;
        // the frame about to be drawn takes it rather than the size of the
        // configure event still on its way, which would draw it once too
        // narrow (or wide) and save that in a GSAVE right after MODE.
        ChartSurface *surface = chartSurface();
        if (surface && chart->drawingArea && wasShown != s.verticalShown) {
            Dimension width = 0, height = 0;
            XtVaGetValues(chart->drawingArea, XmNwidth, &width, XmNheight, &height, nullptr);
            surface->windowResized(width, height);
        }
    }
    if (chart->hScroll) {
        XtVaSetValues(chart->hScroll, XmNminimum, kHScrollMinimum, XmNmaximum, kHScrollMaximum, XmNsliderSize,
                      kHScrollSlider, XmNvalue, s.hValue, nullptr);
        XtManageChild(chart->hScroll);
    }
    chart->modeChanged = 0;
}

void addScrollBarCallbacks(ChartState *chart)
{
    for (const ScrollCallback &c : kScrollCallbacks) {
        XtAddCallback(chart->hScroll, c.name, c.horizontal, chart);
        XtAddCallback(chart->vScroll, c.name, c.vertical, chart);
    }
}

void viewPanByPixels(ChartState *chart, XPoint from, XPoint delta)
{
    char command[kStkTextSize];
    if (panCommand(chart, from.x, from.y, delta.x, delta.y, command, sizeof command))
        stkExecuteCall(chart, command);
}

int chartObjectAtPoint(ChartState *chart, int32_t xy, Vec3 *direction)
{
    if (!screenToSky(chart, xy, direction))
        return 0;
    if (chart->mode == kModeHrz || chart->mode == kModePlns) {
        Vec3 h;
        mat3MulVec(direction, &chart->horizonMatrix, &h);
        if (h.z < 0.0)
            return 0;
    }
    return 1;
}

int popupFillPositionLabels(ChartState *chart, const Vec3 *direction, Widget *labels)
{
    char texts[4][kPositionLabelSize];
    const int n = positionLabelTexts(chart, direction, texts);
    for (int i = 0; i < n; i++) {
        XmString s = XmStringCreateLocalized(texts[i]);
        XtVaSetValues(labels[i], XmNlabelString, s, nullptr);
        XmStringFree(s);
    }
    return n;
}

void chartPointerHandler(Widget w, XtPointer client, XEvent *event, Boolean *)
{
    ChartState *chart = static_cast<ChartState *>(client);
    if (event->type == ButtonPress) {
        const int32_t xy = screenPointPack(event->xbutton.x, event->xbutton.y);
        if (event->xbutton.button == Button1) {
            drag.last = xy;
            drag.pressed = 1;
        } else if (event->xbutton.button == Button2) {
            showPictures(chart, xy);
        } else if (event->xbutton.button == Button3) {
            openPopup(chart, w, &event->xbutton, xy);
        }
    } else if (event->type == MotionNotify && (event->xmotion.state & Button1Mask) && drag.pressed) {
        const int32_t xy = screenPointPack(event->xmotion.x, event->xmotion.y);
        if (beyondClick(drag.last, xy))
            drag.dragging = 1;
        if (drag.dragging) {
            pan(chart, drag.last, xy);
            drag.last = xy;
        }
    } else if (event->type == ButtonRelease && event->xbutton.button == Button1 && drag.pressed) {
        const int32_t xy = screenPointPack(event->xbutton.x, event->xbutton.y);
        if (drag.dragging || beyondClick(drag.last, xy))
            pan(chart, drag.last, xy);
        else
            uiHooks.setClickDataDialogVisible(chart, clickDataSelect(chart, drag.last));
        drag.pressed = 0;
        drag.dragging = 0;
    }
}

void chartKeyHandler(Widget, XtPointer client, XEvent *event, Boolean *goOn)
{
    if (event->type != KeyRelease)
        return;
    ChartState *chart = static_cast<ChartState *>(client);
    const KeySym key = XLookupKeysym(&event->xkey, 0);
    // CapsLock and NumLock are states, not modifiers a user presses with the
    // key: with either on (NumLock is, on most PCs) the arrows once did
    // nothing at all.
    const unsigned int locks = LockMask | numLockMask(event->xkey.display);
    const unsigned int modifiers =
        event->xkey.state & (ShiftMask | ControlMask | Mod1Mask | Mod2Mask | Mod3Mask | Mod4Mask | Mod5Mask) &
        ~locks;
    if (event->xkey.state & ShiftMask) {
        if (key == XK_Up)
            stkExecuteCall(chart, "INCMAG STAR 0.1;DRIVE");
        else if (key == XK_Down)
            stkExecuteCall(chart, "DECMAG STAR 0.1;DRIVE");
        else
            return;
    } else if (modifiers == 0) {
        if (key == XK_Left)
            viewScrollHorizontal(chart, kScrollStepBack, 0);
        else if (key == XK_Right)
            viewScrollHorizontal(chart, kScrollStepForward, 0);
        else if (key == XK_Up)
            viewScrollVertical(chart, kScrollStepBack, 0);
        else if (key == XK_Down)
            viewScrollVertical(chart, kScrollStepForward, 0);
        else
            return;
    } else {
        return;
    }
    *goOn = False;
}
