#include "ui/dialogs/image_dialog_motif.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <X11/cursorfont.h>
#include <Xm/DrawingA.h>
#include <Xm/Form.h>
#include <Xm/PushB.h>
#include <Xm/ScrollBar.h>
#include <Xm/ScrolledW.h>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/resource_text.h"
#include "model/ui_hooks.h"
#include "render/x/palette_x.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/widgets/jpeg_image.h"
#include "ui/widgets/xpm_picture.h"

namespace {

constexpr unsigned kDragCursorShape = XC_fleur; // 52: the four-way arrow

const char *const kOkPicture[] = {
    "16 15 2 1", "  c None", ". c #008000",
    "                ", "             .. ", "            ... ", "           ...  ", "          ...   ",
    "         ...    ", "  ..    ...     ", "  ...  ...      ", "   .....        ", "    ...         ",
    "     .          ", "                ", "                ", "                ", "                ",
};
const char *const kPrevPicture[] = {
    "16 15 2 1", "  c None", ". c #000000",
    "                ", "        .       ", "       ..       ", "      ...       ", "     ....       ",
    "    ..........  ", "   ...........  ", "  ............  ", "   ...........  ", "    ..........  ",
    "     ....       ", "      ...       ", "       ..       ", "        .       ", "                ",
};
const char *const kPrevInsensitivePicture[] = {
    "16 15 2 1", "  c None", ". c #a0a0a0",
    "                ", "        .       ", "       ..       ", "      ...       ", "     ....       ",
    "    ..........  ", "   ...........  ", "  ............  ", "   ...........  ", "    ..........  ",
    "     ....       ", "      ...       ", "       ..       ", "        .       ", "                ",
};
const char *const kNextPicture[] = {
    "16 15 2 1", "  c None", ". c #000000",
    "                ", "       .        ", "       ..       ", "       ...      ", "       ....     ",
    "  ..........    ", "  ...........   ", "  ............  ", "  ...........   ", "  ..........    ",
    "       ....     ", "       ...      ", "       ..       ", "       .        ", "                ",
};
const char *const kNextInsensitivePicture[] = {
    "16 15 2 1", "  c None", ". c #a0a0a0",
    "                ", "       .        ", "       ..       ", "       ...      ", "       ....     ",
    "  ..........    ", "  ...........   ", "  ............  ", "  ...........   ", "  ..........    ",
    "       ....     ", "       ...      ", "       ..       ", "       .        ", "                ",
};

struct Viewer {
    ImageList *items = nullptr;
    int index = 0;
    XImage *image = nullptr;
    GC gc = nullptr;
    Widget form = nullptr, ok = nullptr, prev = nullptr, next = nullptr, area = nullptr, picture = nullptr;
    int depth = 0;
    bool cellsReady = false;
    Colormap colormap = 0;
    unsigned long cells[kPictureColours] = {};
    int dragX = 0, dragY = 0;
    Cursor cursor = 0;
};
Viewer v;

// The dialog's pictures, their transparent parts in the form's background.
Pixmap makePicture(const char *const *data)
{
    Pixel background = 0;
    XtVaGetValues(appData->topLevel, XmNbackground, &background, nullptr);
    return xpmPicture(data, background, v.colormap);
}

void destroyPicture()
{
    if (v.image)
        XDestroyImage(v.image); // frees the pixel buffer too
    v.image = nullptr;
}

// The shell went, its display still open: the viewer lets go of what it
// holds and is built again at the next opening (its colour cells went with
// the colormap's display).
void forgetViewer(void *record)
{
    auto *viewer = static_cast<Viewer *>(record);
    Display *d = XtDisplay(viewer->form);
    destroyPicture();
    if (viewer->gc)
        XFreeGC(d, viewer->gc);
    if (viewer->cursor)
        XFreeCursor(d, viewer->cursor);
    imageListFree(viewer->items);
    *viewer = Viewer{};
}


void showBox(const char *text)
{
    uiHooks.openMessageBox(appData->topLevel, text, kMessageBoxWarning);
}

void prevCallback(Widget, XtPointer, XtPointer)
{
    if (!v.items || v.index <= 0)
        return;
    destroyPicture();
    --v.index;
    if (!imageDlgShowItem())
        imageDlgClose();
}

void nextCallback(Widget, XtPointer, XtPointer)
{
    if (!v.items || v.index >= v.items->count - 1)
        return;
    destroyPicture();
    ++v.index;
    if (!imageDlgShowItem())
        imageDlgClose();
}

void okCallback(Widget, XtPointer, XtPointer) { imageDlgClose(); }

void exposeCallback(Widget, XtPointer, XtPointer)
{
    if (v.image && v.gc && XtIsRealized(v.picture))
        XPutImage(XtDisplay(v.picture), XtWindow(v.picture), v.gc, v.image, 0, 0, 0, 0,
                  static_cast<unsigned>(v.image->width), static_cast<unsigned>(v.image->height));
}

// Moves one scroll bar of the scrolled area by delta, within its range.
void scrollBy(Widget bar, int delta)
{
    if (!bar || delta == 0)
        return;
    int value = 0, minimum = 0, maximum = 0, slider = 0, increment = 0, page = 0;
    XtVaGetValues(bar, XmNvalue, &value, XmNminimum, &minimum, XmNmaximum, &maximum, XmNsliderSize, &slider,
                  nullptr);
    XmScrollBarGetValues(bar, &value, &slider, &increment, &page);
    int next = value + delta;
    if (next > maximum - slider)
        next = maximum - slider;
    if (next < minimum)
        next = minimum;
    if (next != value)
        XmScrollBarSetValues(bar, next, slider, increment, page, True);
}

void dragScroll(Widget, XtPointer, XEvent *event, Boolean *)
{
    Display *d = XtDisplay(v.form);
    if (event->type == ButtonPress) {
        v.dragX = event->xbutton.x_root;
        v.dragY = event->xbutton.y_root;
        if (!v.cursor)
            v.cursor = XCreateFontCursor(d, kDragCursorShape);
        if (XtIsRealized(v.form))
            XDefineCursor(d, XtWindow(v.form), v.cursor);
        return;
    }
    int x, y;
    if (event->type == MotionNotify) {
        x = event->xmotion.x_root;
        y = event->xmotion.y_root;
    } else if (event->type == ButtonRelease) {
        x = event->xbutton.x_root;
        y = event->xbutton.y_root;
    } else {
        return;
    }
    Widget horizontal = nullptr, vertical = nullptr;
    XtVaGetValues(v.area, XmNhorizontalScrollBar, &horizontal, XmNverticalScrollBar, &vertical, nullptr);
    scrollBy(horizontal, v.dragX - x);
    scrollBy(vertical, v.dragY - y);
    v.dragX = x;
    v.dragY = y;
    if (event->type == ButtonRelease && v.cursor) {
        if (XtIsRealized(v.form))
            XUndefineCursor(d, XtWindow(v.form));
        XFreeCursor(d, v.cursor);
        v.cursor = 0;
    }
}

// An 8-bit display shows pictures through 64 cells of its own; 0 when they
// cannot be had.
int takeColourCells()
{
    if (v.cellsReady)
        return 1;
    Display *d = XtDisplay(appData->topLevel);
    Screen *s = XtScreen(appData->topLevel);
    Colormap cmap = DefaultColormapOfScreen(s);
    if (appData->installColormap)
        cmap = copyDefaultColormap(d, XScreenNumberOfScreen(s));
    unsigned long planes[1];
    if (!XAllocColorCells(d, cmap, False, planes, 0, v.cells, kPictureColours)) {
        std::printf("%s: can't allocate palette\n", "tavik");
        return 0;
    }
    v.colormap = cmap;
    v.cellsReady = true;
    return 1;
}

void build()
{
    Arg a[12];
    Cardinal n = 0;
    XtSetArg(a[n], XmNautoUnmanage, False), n++;
    if (v.depth == 8 && v.colormap)
        XtSetArg(a[n], XmNcolormap, v.colormap), n++;
    v.form = XmCreateFormDialog(appData->topLevel, const_cast<char *>("ImageDialog"), a, n);
    dialogForgetOnDestroy(v.form, forgetViewer, &v);
    struct Row {
        const char *name;
        Widget *w;
        const char *const *picture;
        const char *const *insensitive;
        XtCallbackProc callback;
    } rows[] = {{"ButtonOK", &v.ok, kOkPicture, nullptr, okCallback},
                {"ButtonPrev", &v.prev, kPrevPicture, kPrevInsensitivePicture, prevCallback},
                {"ButtonNext", &v.next, kNextPicture, kNextInsensitivePicture, nextCallback}};
    Widget left = nullptr;
    for (const Row &r : rows) {
        n = 0;
        XtSetArg(a[n], XmNtopAttachment, XmATTACH_FORM), n++;
        XtSetArg(a[n], XmNleftAttachment, left ? XmATTACH_WIDGET : XmATTACH_FORM), n++;
        if (left)
            XtSetArg(a[n], XmNleftWidget, left), n++;
        XtSetArg(a[n], XmNlabelType, XmPIXMAP), n++;
        XtSetArg(a[n], XmNlabelPixmap, makePicture(r.picture)), n++;
        if (r.insensitive)
            XtSetArg(a[n], XmNlabelInsensitivePixmap, makePicture(r.insensitive)), n++;
        *r.w = XmCreatePushButton(v.form, const_cast<char *>(r.name), a, n);
        XtAddCallback(*r.w, XmNactivateCallback, r.callback, nullptr);
        XtManageChild(*r.w);
        left = *r.w;
    }
    n = 0;
    XtSetArg(a[n], XmNtopAttachment, XmATTACH_WIDGET), n++;
    XtSetArg(a[n], XmNtopWidget, v.ok), n++;
    XtSetArg(a[n], XmNleftAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNrightAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNbottomAttachment, XmATTACH_FORM), n++;
    XtSetArg(a[n], XmNscrollingPolicy, XmAUTOMATIC), n++;
    XtSetArg(a[n], XmNshadowThickness, 0), n++;
    XtSetArg(a[n], XmNspacing, 0), n++;
    v.area = XmCreateScrolledWindow(v.form, const_cast<char *>("ImageArea"), a, n);
    XtManageChild(v.area);
    v.picture = XmCreateDrawingArea(v.area, const_cast<char *>("Image"), nullptr, 0);
    XtAddCallback(v.picture, XmNexposeCallback, exposeCallback, nullptr);
    XtAddEventHandler(v.picture, ButtonPressMask | ButtonReleaseMask | Button1MotionMask, False, dragScroll,
                      nullptr);
    XtManageChild(v.picture);
}

void message(const char *resource, const char *path, const char *text, int width, int height)
{
    char format[256], out[1024];
    if (text) {
        getResourceFormat(resource, "ss", format, sizeof format);
        std::snprintf(out, sizeof out, format, path, text);
    } else {
        getResourceFormat(resource, "sdd", format, sizeof format);
        std::snprintf(out, sizeof out, format, path, width, height);
    }
    showBox(out);
}

} // namespace

XImage *jpegLoadXImage(const char *path, Widget w)
{
    Display *d = XtDisplay(w);
    Screen *s = XtScreen(w);
    const int depth = DefaultDepthOfScreen(s);
    const int bytes = jpegBytesPerPixel(depth);
    if (!bytes)
        return nullptr;
    if (depth == 8 && !takeColourCells())
        return nullptr;
    JpegPicture picture;
    char text[kPictureMessageSize];
    const int result = jpegDecode(path, depth == 8, &picture, text, sizeof text);
    switch (result) {
    case kJpegCannotOpen:
        std::fprintf(stderr, "can't open %s\n", path);
        return nullptr;
    case kJpegTooLarge:
        message("messageImageTooLarge", path, nullptr, picture.width, picture.height);
        return nullptr;
    case kJpegError:
        message("messageImageDecodeError", path, text, 0, 0);
        return nullptr;
    case kJpegNoMemory:
        return nullptr;
    case kJpegWarning:
        message("messageImageDecodeError", path, text, 0, 0);
        break;
    default:
        break;
    }
    const size_t size = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height) *
                        static_cast<size_t>(bytes);
    auto *data = static_cast<uint8_t *>(std::malloc(size ? size : 1));
    if (!data || !jpegPackPixels(&picture, depth, v.cells, data)) {
        std::free(data);
        jpegPictureFree(&picture);
        return nullptr;
    }
    if (depth == 8) {
        XColor colours[kPictureColours];
        for (int i = 0; i < picture.colourCount && i < kPictureColours; ++i) {
            colours[i].pixel = v.cells[i];
            colours[i].red = static_cast<unsigned short>(picture.colourMap[i][0] * 256);
            colours[i].green = static_cast<unsigned short>(picture.colourMap[i][1] * 256);
            colours[i].blue = static_cast<unsigned short>(picture.colourMap[i][2] * 256);
            colours[i].flags = DoRed | DoGreen | DoBlue;
        }
        XStoreColors(d, v.colormap, colours, picture.colourCount < kPictureColours ? picture.colourCount : kPictureColours);
        if (v.form)
            XtVaSetValues(XtParent(v.form), XmNcolormap, v.colormap, nullptr);
    }
    XImage *image = XCreateImage(d, DefaultVisualOfScreen(s), static_cast<unsigned>(depth), ZPixmap, 0,
                                 reinterpret_cast<char *>(data), static_cast<unsigned>(picture.width),
                                 static_cast<unsigned>(picture.height), bytes * 8, picture.width * bytes);
    if (!image) {
        std::free(data);
    } else {
        // The pixels were packed in the host's byte order.
        const uint16_t probe = 1;
        image->byte_order = *reinterpret_cast<const uint8_t *>(&probe) ? LSBFirst : MSBFirst;
    }
    jpegPictureFree(&picture);
    return image;
}

int imageDlgShowItem()
{
    if (!v.items || v.index < 0 || v.index >= v.items->count)
        return 0;
    const ImageListItem &item = v.items->items[v.index];
    char path[2048];
    std::snprintf(path, sizeof path, "%s%s", appData->clickImagePath, item.file ? item.file : "");
    destroyPicture();
    v.image = jpegLoadXImage(path, v.form);
    if (!v.image)
        return 0;
    Display *d = XtDisplay(v.form);
    Screen *s = XtScreen(v.form);
    Widget shell = XtParent(v.form);
    if (XtIsRealized(shell))
        XtUnmapWidget(shell);
    const int w = v.image->width, h = v.image->height;
    const int maxW = WidthOfScreen(s) * 8 / 10, maxH = HeightOfScreen(s) * 8 / 10;
    XtVaSetValues(v.picture, XmNwidth, static_cast<Dimension>(w), XmNheight, static_cast<Dimension>(h), nullptr);
    XtVaSetValues(v.area, XmNwidth, static_cast<Dimension>(w < maxW ? w : maxW), XmNheight,
                  static_cast<Dimension>(h < maxH ? h : maxH), nullptr);
    XtVaSetValues(shell, XmNtitle, item.caption ? item.caption : (item.file ? item.file : ""), nullptr);
    XtSetSensitive(v.prev, v.index > 0 ? True : False);
    XtSetSensitive(v.next, v.index < v.items->count - 1 ? True : False);
    if (XtIsRealized(shell))
        XtMapWidget(shell);
    (void)d;
    exposeCallback(nullptr, nullptr, nullptr);
    return 1;
}

void openImageDialog(ImageList *items)
{
    destroyPicture();
    if (v.items && v.items != items)
        imageListFree(v.items);
    v.items = items;
    if (!items || items->count <= 0) {
        imageDlgClose();
        return;
    }
    if (!v.form) {
        v.depth = DefaultDepthOfScreen(XtScreen(appData->topLevel));
        if (v.depth == 8 && !takeColourCells()) {
            imageListFree(v.items);
            v.items = nullptr;
            return;
        }
        build();
    }
    XtManageChild(v.form);
    XtRealizeWidget(v.form);
    if (!v.gc && XtIsRealized(v.picture))
        v.gc = XCreateGC(XtDisplay(v.picture), XtWindow(v.picture), 0, nullptr);
    v.index = 0;
    if (!imageDlgShowItem())
        imageDlgClose();
}

void imageDlgClose()
{
    if (v.form && XtIsManaged(v.form))
        XtUnmanageChild(v.form);
    destroyPicture();
    if (v.gc)
        XFreeGC(XtDisplay(v.form), v.gc);
    v.gc = nullptr;
    imageListFree(v.items);
    v.items = nullptr;
}

int imageDialogShown() { return v.form && XtIsManaged(v.form) ? 1 : 0; }

Widget imageDialogWidget(const char *name)
{
    if (!v.form || !name)
        return nullptr;
    const struct {
        const char *name;
        Widget w;
    } rows[] = {{"ImageDialog", v.form}, {"ButtonOK", v.ok},  {"ButtonPrev", v.prev},
                {"ButtonNext", v.next},  {"ImageArea", v.area}, {"Image", v.picture}};
    for (const auto &r : rows)
        if (std::strcmp(r.name, name) == 0)
            return r.w;
    return nullptr;
}

XImage *imageDialogPicture() { return v.image; }
