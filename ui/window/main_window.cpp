#include "ui/window/main_window.h"

#include <cstdlib>

#include <X11/Xutil.h>
#include <Xm/DrawingA.h>
#include <Xm/MainW.h>
#include <Xm/RowColumn.h>
#include <Xm/ScrollBar.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/geometry_option.h"
#include "model/chart_state.h"
#include "model/env.h"
#include "model/options.h"
#include "model/resource_text.h"
#include "model/settings.h"
#include "ui/window/drawing_area.h"
#include "ui/window/menus.h"
#include "ui/window/navigation.h"
#include "ui/window/toolbar.h"

namespace {

Widget createScrollBar(Widget parent, const char *name, unsigned char orientation, int maximum,
                       int sliderSize)
{
    Arg args[4];
    XtSetArg(args[0], XmNminimum, 0);
    XtSetArg(args[1], XmNmaximum, maximum);
    XtSetArg(args[2], XmNorientation, orientation);
    XtSetArg(args[3], XmNsliderSize, sliderSize);
    Widget bar = XmCreateScrollBar(parent, const_cast<char *>(name), args, 4);
    XtManageChild(bar);
    return bar;
}

} // namespace

void createMainWindow(ChartState *chart)
{
    Widget main = XmCreateMainWindow(appData->topLevel, const_cast<char *>("Main"), nullptr, 0);
    XtManageChild(main);
    chart->mainWidget = main;

    Widget menuBar = XmCreateMenuBar(main, const_cast<char *>("MenuBar"), nullptr, 0);
    XtManageChild(menuBar);

    Arg args[1];
    XtSetArg(args[0], XmNresizePolicy, XmRESIZE_ANY);
    chart->drawingArea = XmCreateDrawingArea(main, const_cast<char *>("DrawingArea"), args, 1);
    XtManageChild(chart->drawingArea);

    chart->vScroll = createScrollBar(main, "VScroll", XmVERTICAL, 950, 50);
    chart->hScroll = createScrollBar(main, "HScroll", XmHORIZONTAL, 3761, 160);

    appData->toolBar = createToolbarForm(main, chart);
    if (appData->toolBar && optionGetBool("Toolbar", 1))
        XtManageChild(appData->toolBar);

    XmMainWindowSetAreas(main, menuBar, appData->toolBar, chart->hScroll, chart->vScroll,
                         chart->drawingArea);

    Widget help = createMenus(menuBar, chart);
    XtVaSetValues(menuBar, XmNmenuHelpWidget, help, nullptr);

    XtAddEventHandler(chart->drawingArea, ButtonPressMask | ButtonReleaseMask | Button1MotionMask, False,
                      chartPointerHandler, chart);
    XtAddEventHandler(chart->drawingArea, KeyReleaseMask, False, chartKeyHandler, chart);
    XtAddEventHandler(chart->drawingArea, StructureNotifyMask, False, chartConfigureHandler, chart);
    addScrollBarCallbacks(chart);
}

void mainWindowFitToolbar(ChartState *chart)
{
    Widget topLevel = appData->topLevel;
    Widget bar = appData->toolBar;
    if (!bar || !XtIsManaged(bar) || !chart->drawingArea)
        return;
    String geometry = nullptr;
    XtVaGetValues(topLevel, XmNgeometry, &geometry, nullptr);
    int x = 0, y = 0;
    unsigned width = 0, height = 0;
    if (geometry && (XParseGeometry(geometry, &x, &y, &width, &height) & WidthValue))
        return;
    char defaultWidth[16];
    fallbackResourceString("Main.DrawingArea.width", defaultWidth, sizeof defaultWidth);
    Dimension chartWidth = 0;
    XtVaGetValues(chart->drawingArea, XmNwidth, &chartWidth, nullptr);
    if (std::atoi(defaultWidth) != chartWidth)
        return;
    // The buttons come after the window is realised, so the window's width
    // followed the chart alone; the form's preferred width reaches its
    // rightmost button's edge.
    XtWidgetGeometry wanted;
    XtQueryGeometry(bar, nullptr, &wanted);
    Dimension barWidth = 0, shellWidth = 0;
    XtVaGetValues(bar, XmNwidth, &barWidth, nullptr);
    XtVaGetValues(topLevel, XmNwidth, &shellWidth, nullptr);
    if (!(wanted.request_mode & CWWidth) || wanted.width <= barWidth)
        return;
    XtVaSetValues(topLevel, XmNwidth, static_cast<Dimension>(shellWidth + (wanted.width - barWidth)), nullptr);
}

void setMinWindowSize(Widget topLevel)
{
    // Through the shell, which keeps the rest of WM_NORMAL_HINTS intact.
    XtVaSetValues(topLevel, XmNminWidth, kGeometryMinWidth, XmNminHeight, kGeometryMinHeight, nullptr);
}
