#include "ui/dialogs/click_data_dialog_motif.h"

#include <cstdio>
#include <cstring>

#include <Xm/DrawingA.h>
#include <Xm/DrawnB.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>

#include "ui/dialogs/click_data_dialog.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "render/hit_test.h"
#include "render/info_box.h"
#include "render/layers/status_bar.h"
#include "render/x/x_canvas.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/image_dialog_motif.h"
#include "ui/widgets/lite_clue.h"
#include "ui/widgets/xpm_picture.h"

namespace {

// Pictures of the buttons. Close: a cross; Blink: a star with rays; Center:
// cross-hairs; Track: cross-hairs with an arrow; Image: a framed picture.
const char *const kClosePicture[] = {
    "17 15 3 1", "  c None", ". c #000000", "x c #808080",
    "                 ", "  ..         ..  ", "  ...       ...  ", "   ...     ...   ", "    ...   ...    ",
    "     ... ...     ", "      .....      ", "       ...       ", "      .....      ", "     ... ...     ",
    "    ...   ...    ", "   ...     ...   ", "  ...       ...  ", "  ..         ..  ", "                 ",
};
const char *const kBlinkPicture[] = {
    "16 15 4 1", "  c None", ". c #000000", "y c #ffd700", "r c #ff4000",
    "       r        ", "   r   r   r    ", "    r  r  r     ", "     r r r      ", "       y        ",
    "      yyy       ", "rrrr yy.yy rrrr ", "      yyy       ", "       y        ", "     r r r      ",
    "    r  r  r     ", "   r   r   r    ", "       r        ", "                ", "                ",
};
const char *const kCenterPicture[] = {
    "16 15 4 1", "  c None", ". c #000000", "r c #ff0000", "g c #808080",
    "       .        ", "       .        ", "     ggggg      ", "    g  .  g     ", "   g   .   g    ",
    "   g   r   g    ", "....  rrr  .... ", "   g   r   g    ", "   g   .   g    ", "    g  .  g     ",
    "     ggggg      ", "       .        ", "       .        ", "                ", "                ",
};
const char *const kTrackPicture[] = {
    "16 15 4 1", "  c None", ". c #000000", "b c #0000ff", "g c #808080",
    "       .        ", "     ggggg      ", "    g  .  g     ", "   g   .   g    ", "   g   b   g    ",
    "....  bbb  .... ", "   g   b   g bb ", "   g   .   gbbb ", "    g  .  gbbbb ", "     ggggg bbb  ",
    "       .    b   ", "                ", "                ", "                ", "                ",
};
const char *const kImagePicture[] = {
    "16 15 4 1", "  c None", ". c #000000", "b c #4080ff", "g c #208020",
    "................", ".bbbbbbbbbbbbbb.", ".bbbbbbbbbbbbbb.", ".bbbbbbbbb..bbb.", ".bbbbbbbbb..bbb.",
    ".bbbbbbbbbbbbbb.", ".bbbbgbbbbbbbbb.", ".bbbgggbbbbbbbb.", ".bbgggggbbbgbbb.", ".bgggggggbgggbb.",
    ".ggggggggggggggg", ".gggggggggggggg.", ".gggggggggggggg.", "................", "                ",
};
const char *const kImageInsensitivePicture[] = {
    "16 15 3 1", "  c None", ". c #808080", "x c #c0c0c0",
    "................", ".xxxxxxxxxxxxxx.", ".xxxxxxxxxxxxxx.", ".xxxxxxxxx..xxx.", ".xxxxxxxxx..xxx.",
    ".xxxxxxxxxxxxxx.", ".xxxx.xxxxxxxxx.", ".xxx...xxxxxxxx.", ".xx.....xxx.xxx.", ".x.......x...xx.",
    "................", ".xxxxxxxxxxxxxx.", ".xxxxxxxxxxxxxx.", "................", "                ",
};

// The button table: widget name, drawn button or not, offset to the left
// neighbour (the form for the first), picture, tip.
struct ButtonRow {
    const char *name;
    bool drawn;
    int leftOffset;
    const char *const *picture;
    const char *tip;
};
const ButtonRow kButtons[kClickDataButtonCount] = {
    {"ClickDataClose", false, 1, kClosePicture, "messageToolObjClose"},
    {"ClickDataBlink", false, 7, kBlinkPicture, "messageToolObjBlink"},
    {"ClickDataCenter", false, 0, kCenterPicture, "messageToolObjCenter"},
    {"ClickDataTrack", true, 0, kTrackPicture, "messageToolObjTrack"},
    {"ClickDataImage", false, 0, kImagePicture, "messageToolObjImage"},
};

struct ClickDataDialog {
    ChartState *chart = nullptr;
    Widget form = nullptr;
    Widget buttons[kClickDataButtonCount] = {};
    Widget area = nullptr;
    Pixmap pictures[kClickDataButtonCount] = {};
    Pixmap imageInsensitive = 0;
    Pixmap pixmap = 0;
    int width = 0, height = 0;
    GC gc = nullptr;
    bool notPlaced = true;
    Widget tipShell = nullptr;
};
ClickDataDialog dlg;

// The dialog's pictures, their transparent parts in the form's background,
// in Motif's pixmap cache so the buttons ask the server for no sizes.
Pixmap makePicture(const char *const *data, const char *name)
{
    Pixel background = 0;
    XtVaGetValues(appData->topLevel, XmNbackground, &background, nullptr);
    return xpmButtonPicture(data, background, name);
}

void coreText(void *, int x, int y, const char *text, int len)
{
    XDrawString(XtDisplay(dlg.area), dlg.pixmap, dlg.gc, x, y, text, len);
}

void copyToWindow()
{
    if (dlg.pixmap && XtIsRealized(dlg.area))
        XCopyArea(XtDisplay(dlg.area), dlg.pixmap, XtWindow(dlg.area), dlg.gc, 0, 0,
                  static_cast<unsigned>(dlg.width), static_cast<unsigned>(dlg.height), 0, 0);
}

void freePixmap()
{
    if (dlg.pixmap)
        XFreePixmap(XtDisplay(dlg.area), dlg.pixmap);
    dlg.pixmap = 0;
}

void ensurePixmap()
{
    Dimension w = 0, h = 0;
    XtVaGetValues(dlg.area, XmNwidth, &w, XmNheight, &h, nullptr);
    const int width = w > 0 ? w : 1, height = h > 0 ? h : 1;
    Display *d = XtDisplay(dlg.area);
    if (dlg.pixmap && width == dlg.width && height == dlg.height)
        return;
    freePixmap();
    dlg.pixmap = XCreatePixmap(d, RootWindowOfScreen(XtScreen(dlg.area)), static_cast<unsigned>(width),
                               static_cast<unsigned>(height), static_cast<unsigned>(DefaultDepthOfScreen(XtScreen(dlg.area))));
    dlg.width = width;
    dlg.height = height;
    if (!dlg.gc)
        dlg.gc = XCreateGC(d, dlg.pixmap, 0, nullptr);
}

void closeCallback(Widget, XtPointer, XtPointer) { setClickDataDialogVisible(dlg.chart, 0); }

void imageCallback(Widget, XtPointer, XtPointer)
{
    ChartState *chart = dlg.chart;
    if (!hitPickIsValid(chart))
        return;
    ImageList *list = imageListNew();
    if (!list)
        return;
    if (clickDataImages(chart, chart->hitKind, chart->hitIndex, list) > 0)
        openImageDialog(list);
    else
        imageListFree(list);
}

void commandCallback(Widget, XtPointer client, XtPointer)
{
    ClickDataPlan plan;
    if (clickDataButtonPlan(dlg.chart, static_cast<int>(reinterpret_cast<intptr_t>(client)), &plan))
        clickDataRunPlan(dlg.chart, &plan);
}

void exposeCallback(Widget, XtPointer, XtPointer) { copyToWindow(); }

void resizeCallback(Widget, XtPointer, XtPointer)
{
    Dimension w = 0, h = 0;
    XtVaGetValues(dlg.area, XmNwidth, &w, XmNheight, &h, nullptr);
    if (w == dlg.width && h == dlg.height)
        return;
    freePixmap();
    repaintClickData(dlg.chart);
}

void freeServerResources()
{
    Display *d = XtDisplay(dlg.form);
    freePixmap();
    if (dlg.gc)
        XFreeGC(d, dlg.gc);
    dlg.gc = nullptr;
    Screen *screen = XtScreen(dlg.form);
    for (Pixmap &p : dlg.pictures) {
        if (p)
            XmDestroyPixmap(screen, p);
        p = 0;
    }
    if (dlg.imageInsensitive)
        XmDestroyPixmap(screen, dlg.imageInsensitive);
    dlg.imageInsensitive = 0;
}

// The shell went, its display still open (its tip shell goes with it): the
// dialog is built again by the next start-up's createClickDataDialog.
void forgetClickData(void *)
{
    freeServerResources();
    dlg = ClickDataDialog{};
}

} // namespace

void createClickDataDialog(ChartState *chart)
{
    dlg.chart = chart;
    if (dlg.form) {
        updateClickDataButtons(chart);
        return;
    }
    Arg args[4];
    XtSetArg(args[0], XmNautoUnmanage, False);
    dlg.form = XmCreateFormDialog(appData->topLevel, const_cast<char *>("ClickDataDialog"), args, 1);
    dialogForgetOnDestroy(dlg.form, forgetClickData, &dlg);
    Widget left = nullptr;
    for (int i = 0; i < kClickDataButtonCount; ++i) {
        const ButtonRow &row = kButtons[i];
        char name[40];
        std::snprintf(name, sizeof name, "tavikClickData%d", i);
        dlg.pictures[i] = makePicture(row.picture, name);
        Cardinal n = 0;
        Arg a[10];
        XtSetArg(a[n], XmNtopAttachment, XmATTACH_FORM), n++;
        if (left) {
            XtSetArg(a[n], XmNleftAttachment, XmATTACH_WIDGET), n++;
            XtSetArg(a[n], XmNleftWidget, left), n++;
        } else {
            XtSetArg(a[n], XmNleftAttachment, XmATTACH_FORM), n++;
        }
        XtSetArg(a[n], XmNleftOffset, row.leftOffset), n++;
        XtSetArg(a[n], XmNlabelType, XmPIXMAP), n++;
        XtSetArg(a[n], XmNlabelPixmap, dlg.pictures[i]), n++;
        if (i == kClickDataImage) {
            dlg.imageInsensitive = makePicture(kImageInsensitivePicture, "tavikClickDataImageInsensitive");
            XtSetArg(a[n], XmNlabelInsensitivePixmap, dlg.imageInsensitive), n++;
        }
        if (row.drawn) {
            // Not pushButtonEnabled: that draws a push button's look, which
            // ignores the shadow type that shows whether it tracks.
            XtSetArg(a[n], XmNshadowType, XmSHADOW_OUT), n++;
            XtSetArg(a[n], XmNpushButtonEnabled, False), n++;
            dlg.buttons[i] = XmCreateDrawnButton(dlg.form, const_cast<char *>(row.name), a, n);
        } else {
            dlg.buttons[i] = XmCreatePushButton(dlg.form, const_cast<char *>(row.name), a, n);
        }
        if (i == kClickDataClose)
            XtAddCallback(dlg.buttons[i], XmNactivateCallback, closeCallback, nullptr);
        else if (i == kClickDataImage)
            XtAddCallback(dlg.buttons[i], XmNactivateCallback, imageCallback, nullptr);
        else
            XtAddCallback(dlg.buttons[i], XmNactivateCallback, commandCallback,
                          reinterpret_cast<XtPointer>(static_cast<intptr_t>(i)));
        XtManageChild(dlg.buttons[i]);
        left = dlg.buttons[i];
    }
    Cardinal n = 0;
    Arg a[8];
    XtSetArg(a[n], XmNtopAttachment, XmATTACH_WIDGET), n++;
    XtSetArg(a[n], XmNtopWidget, dlg.buttons[0]), n++;
    XtSetArg(a[n], XmNleftAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNrightAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNbottomAttachment, XmATTACH_FORM), n++;
    dlg.area = XmCreateDrawingArea(dlg.form, const_cast<char *>("ClickDataArea"), a, n);
    XtAddCallback(dlg.area, XmNexposeCallback, exposeCallback, nullptr);
    XtAddCallback(dlg.area, XmNresizeCallback, resizeCallback, nullptr);
    XtManageChild(dlg.area);
    updateClickDataButtons(chart);
}

int clickDataDialogShown() { return dlg.form && XtIsManaged(dlg.form) ? 1 : 0; }

Widget clickDataDialogWidget(const char *name)
{
    if (!dlg.form || !name)
        return nullptr;
    if (std::strcmp(name, "ClickDataDialog") == 0)
        return dlg.form;
    if (std::strcmp(name, "ClickDataArea") == 0)
        return dlg.area;
    for (int i = 0; i < kClickDataButtonCount; ++i)
        if (std::strcmp(name, kButtons[i].name) == 0)
            return dlg.buttons[i];
    return nullptr;
}

void setClickDataDialogVisible(ChartState *chart, int visible)
{
    if (!dlg.form)
        return;
    dlg.chart = chart;
    if (!visible) {
        if (XtIsManaged(dlg.form))
            XtUnmanageChild(dlg.form);
        return;
    }
    if (!XtIsManaged(dlg.form)) {
        if (dlg.notPlaced && chart->drawingArea && XtIsRealized(chart->drawingArea)) {
            Position x = 0, y = 0;
            XtTranslateCoords(chart->drawingArea, 0, 0, &x, &y);
            if (chart->statusBar & kStatusBarShown)
                y = static_cast<Position>(y + statusBarHeight());
            XtVaSetValues(dlg.form, XmNdefaultPosition, False, XmNx, x, XmNy, y, nullptr);
            dlg.notPlaced = false;
        }
        XtManageChild(dlg.form);
    }
    repaintClickData(chart);
}

void repaintClickData(ChartState *chart)
{
    if (!dlg.form || !XtIsManaged(dlg.form))
        return;
    dlg.chart = chart;
    ensurePixmap();
    if (!dlg.pixmap)
        return;
    Display *d = XtDisplay(dlg.area);
    Pixel background = 0;
    XtVaGetValues(dlg.area, XmNbackground, &background, nullptr);
    XSetForeground(d, dlg.gc, background);
    XFillRectangle(d, dlg.pixmap, dlg.gc, 0, 0, static_cast<unsigned>(dlg.width), static_cast<unsigned>(dlg.height));
    {
        XCanvas canvas(d, dlg.pixmap, dlg.gc);
        canvas.fontSets = appData->fontSets;
        drawInfoBox(chart, &canvas, coreText, nullptr);
    }
    copyToWindow();
    updateClickDataButtons(chart);
}

void updateClickDataButtons(ChartState *chart)
{
    if (!dlg.form)
        return;
    XtVaSetValues(dlg.buttons[kClickDataTrack], XmNshadowType,
                  clickDataPickIsTracked(chart) ? XmSHADOW_IN : XmSHADOW_OUT, nullptr);
    char text[kClickTextSize];
    int hasImage = 0;
    if (hitPickIsValid(chart))
        clickDataText(chart, chart->hitKind, chart->hitIndex, text, sizeof text, &hasImage);
    XtSetSensitive(dlg.buttons[kClickDataImage], hasImage ? True : False);
}

void addClickDataTips(Widget tipShell)
{
    if (!dlg.form || !tipShell)
        return;
    dlg.tipShell = tipShell;
    for (int i = 0; i < kClickDataButtonCount; ++i) {
        char text[256];
        getResourceString(kButtons[i].tip, text, sizeof text);
        XcgLiteClueAddWidget(tipShell, dlg.buttons[i], text, 0, 0);
    }
}

void removeClickDataTips()
{
    if (!dlg.form || !dlg.tipShell)
        return;
    for (Widget b : dlg.buttons)
        XcgLiteClueDeleteWidget(dlg.tipShell, b);
    dlg.tipShell = nullptr;
}

void destroyClickDataDialog()
{
    if (!dlg.form)
        return;
    removeClickDataTips();
    freeServerResources();
}

namespace {

struct PopupRow {
    const char *label;
    void (*open)(ChartState *);
};
// By PopupObjectButton.
const PopupRow kPopupRows[kPopupButtonKinds] = {
    {"messageMousePosStar", openStarDialog},       {"messageMousePosSun", openSunDialog},
    {"messageMousePosMoon", openMoonDialog},       {"messageMousePosPlanets", openPlanetDialog},
    {"messageMousePosComets", openCometDialog},    {"messageMousePosMPlanets", openMPlanetDialog},
    {"messageMousePosNebula", openNebulaDialog},   {"messageMousePosJoviSat", openJoviSatDialog},
};

void popupCallback(Widget, XtPointer client, XtPointer)
{
    const int kind = static_cast<int>(reinterpret_cast<intptr_t>(client));
    if (kind >= 0 && kind < kPopupButtonKinds)
        kPopupRows[kind].open(currentChart);
}

} // namespace

int popupFillObjectButtons(ChartState *chart, int32_t xy, Widget *buttons, int count)
{
    int kinds[kPopupButtonKinds];
    const int n = popupObjectButtonsAt(chart, xy, kinds, count < kPopupButtonKinds ? count : kPopupButtonKinds);
    for (int i = 0; i < n; ++i) {
        char text[256];
        getResourceString(kPopupRows[kinds[i]].label, text, sizeof text);
        XmString s = XmStringCreateLocalized(text);
        XtVaSetValues(buttons[i], XmNlabelString, s, nullptr);
        XmStringFree(s);
        XtAddCallback(buttons[i], XmNactivateCallback, popupCallback,
                      reinterpret_cast<XtPointer>(static_cast<intptr_t>(kinds[i])));
    }
    return n;
}

void registerClickDataHooks()
{
    uiHooks.repaintClickData = repaintClickData;
    uiHooks.setClickDataDialogVisible = setClickDataDialogVisible;
    uiHooks.updateClickDataButtons = updateClickDataButtons;
}
