#include "ui/widgets/lite_clue_p.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <unistd.h>

#include <X11/StringDefs.h>

namespace {

#define OFFSET(field) XtOffsetOf(XcgLiteClueRec, liteClue.field)
XtResource resources[] = {
    {const_cast<char *>(XtNforeground), const_cast<char *>(XtCForeground), const_cast<char *>(XtRPixel),
     sizeof(Pixel), OFFSET(foreground), const_cast<char *>(XtRString), const_cast<char *>("black")},
    {const_cast<char *>(XtNfontSet), const_cast<char *>(XtCFontSet), const_cast<char *>(XtRFontSet),
     sizeof(XFontSet), OFFSET(fontSet), const_cast<char *>(XtRString),
     const_cast<char *>("-adobe-new century schoolbook-bold-r-normal-*-12-*")},
    {const_cast<char *>("waitPeriod"), const_cast<char *>("WaitPeriod"), const_cast<char *>(XtRInt), sizeof(int),
     OFFSET(waitPeriod), const_cast<char *>(XtRString), const_cast<char *>("500")},
    // The class is spelt like the name, as users' resource files have it.
    {const_cast<char *>("cancelWaitPeriod"), const_cast<char *>("cancelWaitPeriod"), const_cast<char *>(XtRInt),
     sizeof(int), OFFSET(cancelWaitPeriod), const_cast<char *>(XtRString), const_cast<char *>("2000")},
};
#undef OFFSET

XcgLiteCluePart *part(Widget w) { return &reinterpret_cast<XcgLiteClueWidget>(w)->liteClue; }

// A caller that passes another widget has a programming error: say where and
// stop with a core, as an assertion would.
bool checkClass(Widget w, const char *routine)
{
    if (w && XtIsSubclass(w, xcgLiteClueWidgetClass))
        return true;
    std::fprintf(stderr, "Wrong class of widget passed to %s\n", routine);
    std::fflush(stderr);
    kill(getpid(), SIGABRT);
    return false;
}

void fontMetrics(Widget w)
{
    XcgLiteCluePart *lc = part(w);
    if (!lc->fontSet) {
        XrmValue from{sizeof "fixed", const_cast<char *>("fixed")};
        XrmValue to{sizeof(XFontSet), reinterpret_cast<XPointer>(&lc->fontSet)};
        if (!XtConvertAndStore(w, XtRString, &from, XtRFontSet, &to))
            lc->fontSet = nullptr;
    }
    if (!lc->fontSet) {
        std::fprintf(stderr, "LiteClue: can not find resource font nor fallback fixed font\n");
        lc->fontWidth = lc->fontHeight = 0;
        lc->fontAscent = 0;
        return;
    }
    XRectangle ink, logical;
    XmbTextExtents(lc->fontSet, "1", 1, &ink, &logical);
    lc->fontWidth = logical.width;
    lc->fontHeight = logical.height;
    lc->fontAscent = static_cast<short>(-logical.y);
}

void sharedGc(Widget w)
{
    XcgLiteCluePart *lc = part(w);
    if (lc->gc)
        XtReleaseGC(w, lc->gc);
    XGCValues values;
    values.foreground = lc->foreground;
    values.background = w->core.background_pixel;
    values.fill_style = FillSolid;
    lc->gc = XtGetGC(w, GCForeground | GCBackground | GCFillStyle, &values);
}

void cancelTimer(XcgLiteCluePart *lc)
{
    if (lc->timer) {
        XtRemoveTimeOut(lc->timer);
        lc->timer = 0;
    }
}

LiteClueContext *findContext(Widget tip, Widget watched)
{
    LiteClueContext *head = &part(tip)->head;
    for (LiteClueContext *c = head->next; c != head; c = c->next)
        if (c->watched == watched)
            return c;
    return nullptr;
}

void showTimer(XtPointer closure, XtIntervalId *)
{
    LiteClueContext *ctx = static_cast<LiteClueContext *>(closure);
    Widget w = ctx->tip;
    XcgLiteCluePart *lc = part(w);
    if (!lc->timer)
        return;
    lc->timer = 0;
    if (!ctx->sensitive || !ctx->text)
        return;
    Position rootX = 0, rootY = 0;
    XtTranslateCoords(ctx->watched, 0, 0, &rootX, &rootY);
    const Dimension watchedHeight = ctx->watched->core.height;
    XRectangle ink, logical{0, 0, 0, 0};
    if (ctx->textLength)
        XmbTextExtents(lc->fontSet, ctx->text, ctx->textLength, &ink, &logical);
    const int width = logical.width + 4;
    const int height = lc->fontHeight + 4;
    XtResizeWidget(w, static_cast<Dimension>(width), static_cast<Dimension>(height), w->core.border_width);
    Screen *screen = DefaultScreenOfDisplay(XtDisplay(w));
    int x, y;
    liteCluePlacement(rootX, rootY, watchedHeight, width, height, WidthOfScreen(screen),
                      HeightOfScreen(screen), &x, &y);
    XtMoveWidget(w, static_cast<Position>(x), static_cast<Position>(y));
    XtPopup(w, XtGrabNone);
    lc->up = True;
    XmbDrawImageString(XtDisplay(w), XtWindow(w), lc->fontSet, lc->gc, 2, lc->fontAscent + 2, ctx->text,
                       ctx->textLength);
}

void enter(LiteClueContext *ctx, XEvent *event)
{
    XcgLiteCluePart *lc = part(ctx->tip);
    // Grabs and ungrabs cross windows without the pointer moving.
    if (!ctx->sensitive || !lc->fontSet || lc->fontHeight == 0 || lc->timer ||
        event->xcrossing.mode != NotifyNormal)
        return;
    const unsigned long delay =
        liteClueWaitMs(lc->lastPopdown, event->xcrossing.time, lc->waitPeriod, lc->cancelWaitPeriod);
    lc->timer = XtAppAddTimeOut(XtWidgetToApplicationContext(ctx->tip), delay, showTimer, ctx);
}

void leave(LiteClueContext *ctx, XEvent *event)
{
    XcgLiteCluePart *lc = part(ctx->tip);
    cancelTimer(lc);
    if (ctx->sensitive && lc->up) {
        XtPopdown(ctx->tip);
        lc->up = False;
        lc->lastPopdown = event->type == ButtonPress ? event->xbutton.time : event->xcrossing.time;
    }
}

void enterHandler(Widget, XtPointer closure, XEvent *event, Boolean *)
{
    enter(static_cast<LiteClueContext *>(closure), event);
}

void leaveHandler(Widget, XtPointer closure, XEvent *event, Boolean *)
{
    leave(static_cast<LiteClueContext *>(closure), event);
}

void removeContext(LiteClueContext *ctx)
{
    XtRemoveEventHandler(ctx->watched, EnterWindowMask, False, enterHandler, ctx);
    XtRemoveEventHandler(ctx->watched, LeaveWindowMask | ButtonPressMask, False, leaveHandler, ctx);
    ctx->prev->next = ctx->next;
    ctx->next->prev = ctx->prev;
    XtFree(ctx->text);
    XtFree(reinterpret_cast<char *>(ctx));
}

void initialize(Widget, Widget w, ArgList, Cardinal *)
{
    XcgLiteCluePart *lc = part(w);
    lc->timer = 0;
    lc->up = False;
    lc->lastPopdown = 0;
    lc->head.next = lc->head.prev = &lc->head;
    lc->gc = nullptr;
    fontMetrics(w);
    sharedGc(w);
}

// The settings dialog destroys the shell: nothing may fire or stay behind.
void destroy(Widget w)
{
    XcgLiteCluePart *lc = part(w);
    cancelTimer(lc);
    while (lc->head.next != &lc->head)
        removeContext(lc->head.next);
    if (lc->gc)
        XtReleaseGC(w, lc->gc);
    lc->gc = nullptr;
}

Boolean setValues(Widget current, Widget, Widget w, ArgList, Cardinal *)
{
    if (part(current)->foreground != part(w)->foreground ||
        current->core.background_pixel != w->core.background_pixel)
        sharedGc(w);
    return False;
}

} // namespace

XcgLiteClueClassRec xcgLiteClueClassRec = {
    {
        reinterpret_cast<WidgetClass>(&overrideShellClassRec), // superclass
        const_cast<char *>("XcgLiteClue"),                     // class_name
        sizeof(XcgLiteClueRec),                                // widget_size
        nullptr,                                               // class_initialize
        nullptr,                                               // class_part_initialize
        False,                                                 // class_inited
        initialize,                                            // initialize
        nullptr,                                               // initialize_hook
        XtInheritRealize,                                      // realize
        nullptr,                                               // actions
        0,                                                     // num_actions
        resources,                                             // resources
        XtNumber(resources),                                   // num_resources
        NULLQUARK,                                             // xrm_class
        True,                                                  // compress_motion
        True,                                                  // compress_exposure
        True,                                                  // compress_enterleave
        False,                                                 // visible_interest
        destroy,                                               // destroy
        XtInheritResize,                                       // resize
        nullptr,                                               // expose
        setValues,                                             // set_values
        nullptr,                                               // set_values_hook
        XtInheritSetValuesAlmost,                              // set_values_almost
        nullptr,                                               // get_values_hook
        nullptr,                                               // accept_focus
        XtVersion,                                             // version
        nullptr,                                               // callback_private
        nullptr,                                               // tm_table
        XtInheritQueryGeometry,                                // query_geometry
        XtInheritDisplayAccelerator,                           // display_accelerator
        nullptr,                                               // extension
    },
    {
        XtInheritGeometryManager, // geometry_manager
        XtInheritChangeManaged,   // change_managed
        XtInheritInsertChild,     // insert_child
        XtInheritDeleteChild,     // delete_child
        nullptr,                  // extension
    },
    {nullptr}, // shell
    {nullptr}, // override shell
    {nullptr}, // lite clue
};

WidgetClass xcgLiteClueWidgetClass = reinterpret_cast<WidgetClass>(&xcgLiteClueClassRec);

void XcgLiteClueAddWidget(Widget tip, Widget watched, const char *text, int size, int)
{
    if (!checkClass(tip, "XcgLiteClueAddWidget"))
        return;
    LiteClueContext *ctx = findContext(tip, watched);
    if (!ctx) {
        ctx = reinterpret_cast<LiteClueContext *>(XtCalloc(1, sizeof(LiteClueContext)));
        ctx->watched = watched;
        ctx->tip = tip;
        ctx->sensitive = True;
        LiteClueContext *head = &part(tip)->head;
        ctx->prev = head->prev;
        ctx->next = head;
        head->prev->next = ctx;
        head->prev = ctx;
        XtAddEventHandler(watched, EnterWindowMask, False, enterHandler, ctx);
        XtAddEventHandler(watched, LeaveWindowMask | ButtonPressMask, False, leaveHandler, ctx);
    }
    if (text) {
        size_t n = size > 0 ? static_cast<size_t>(size) : std::strlen(text);
        if (n > 0xffff)
            n = 0xffff; // the length is kept in 16 bits
        XtFree(ctx->text);
        ctx->text = XtMalloc(static_cast<Cardinal>(n + 1));
        std::memcpy(ctx->text, text, n);
        ctx->text[n] = '\0';
        ctx->textLength = static_cast<unsigned short>(std::strlen(ctx->text));
    }
}

void XcgLiteClueDeleteWidget(Widget tip, Widget watched)
{
    if (!checkClass(tip, "XcgLiteClueDeleteWidget"))
        return;
    LiteClueContext *ctx = findContext(tip, watched);
    if (!ctx)
        return;
    cancelTimer(part(tip));
    removeContext(ctx);
}

void XcgLiteClueSetSensitive(Widget tip, Widget watched, Boolean sensitive)
{
    if (!checkClass(tip, "XcgLiteClueSetSensitive"))
        return;
    if (watched) {
        if (LiteClueContext *ctx = findContext(tip, watched))
            ctx->sensitive = sensitive;
        return;
    }
    LiteClueContext *head = &part(tip)->head;
    for (LiteClueContext *c = head->next; c != head; c = c->next)
        c->sensitive = sensitive;
}

Boolean XcgLiteClueGetSensitive(Widget tip, Widget watched)
{
    if (!checkClass(tip, "XcgLiteClueGetSensitive"))
        return False;
    LiteClueContext *head = &part(tip)->head;
    LiteClueContext *ctx = watched ? findContext(tip, watched) : head->next != head ? head->next : nullptr;
    return ctx ? ctx->sensitive : False;
}

Boolean XcgLiteClueDispatchEvent(Widget tip, XEvent *event)
{
    if (event->type != EnterNotify && event->type != LeaveNotify)
        return False;
    if (!checkClass(tip, "XcgLiteClueDispatchEvent"))
        return False;
    LiteClueContext *head = &part(tip)->head;
    for (LiteClueContext *c = head->next; c != head; c = c->next) {
        if (XtWindow(c->watched) != event->xany.window || XtIsSensitive(c->watched))
            continue;
        if (event->type == EnterNotify)
            enter(c, event);
        else
            leave(c, event);
        return True;
    }
    return False;
}

Widget createTipShell(Widget topLevel)
{
    return XtCreatePopupShell("TipHelp", xcgLiteClueWidgetClass, topLevel, nullptr, 0);
}

void liteCluePlacement(int originX, int originY, int widgetH, int tipW, int tipH, int screenW, int screenH,
                       int *x, int *y)
{
    *y = originY + widgetH + 4;
    if (*y + tipH > screenH)
        *y = originY - tipH - 4;
    *x = originX + 4;
    if (*x < 0)
        *x = 0;
    else if (*x + tipW > screenW)
        *x = screenW - tipW - 1;
}

unsigned long liteClueWaitMs(Time lastPopdown, Time now, int waitPeriod, int cancelWaitPeriod)
{
    // Server time is a 32-bit millisecond count that wraps about every 49 days.
    const uint32_t since = static_cast<uint32_t>(now) - static_cast<uint32_t>(lastPopdown);
    if (since > static_cast<uint32_t>(cancelWaitPeriod < 0 ? 0 : cancelWaitPeriod))
        return static_cast<unsigned long>(waitPeriod < 0 ? 0 : waitPeriod);
    return 0;
}
