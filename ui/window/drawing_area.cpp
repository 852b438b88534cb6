#include "ui/window/drawing_area.h"

#include <Xm/DrawingA.h>

#include "render/frame.h"
#include "render/surface.h"

void chartExposeCallback(Widget, XtPointer client, XtPointer call)
{
    auto *cbs = static_cast<XmDrawingAreaCallbackStruct *>(call);
    if (cbs && cbs->event && cbs->event->type == Expose && cbs->event->xexpose.count == 0)
        chartRefresh(static_cast<ChartState *>(client));
}

void chartConfigureHandler(Widget, XtPointer client, XEvent *event, Boolean *goOn)
{
    *goOn = True;
    if (event->type != ConfigureNotify)
        return;
    // The size travels with the event: no frame asks the server for it.
    if (ChartSurface *surface = chartSurface())
        surface->windowResized(event->xconfigure.width, event->xconfigure.height);
    chartRefresh(static_cast<ChartState *>(client));
}
