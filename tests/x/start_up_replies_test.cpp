// What start-up no longer asks the server, on a private X server in this
// process: the tool bar's pictures are the XPM library's pixels and Motif
// knows their sizes (a label asks no geometry of the server); the key map
// copy answers as the server would, sends nothing for a read it holds, and
// once ended lets a changed mapping be read.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/xpm.h>
#include <Xm/XmP.h>

#include <vector>

#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "render/x/x_traffic.h"
#include "tests/support/test_chart.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "ui/app/keyboard_mapping.h"
#include "ui/widgets/step_box.h"
#include "ui/window/main_window.h"
#include "ui/window/toolbar.h"
#include "ui/window/toolbar_pictures.h"
#include "ui/widgets/xpm_picture.h"

namespace {

#include "resources/step_minus.xpm"
#include "resources/step_plus.xpm"

class StartUpRepliesX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        uiHooksReset();
        shell = openToolkitShell(server.name(), &app);
        ASSERT_NE(shell, nullptr);
        display = XtDisplay(shell);
        appData->display = display;
    }
    void TearDown() override
    {
        keyboardMappingCopyEnd();
        if (shell) {
            freeToolbarPixmaps();
            closeToolkit(app, shell);
        }
        appData->toolBar = nullptr;
        appData->stepBox = nullptr;
        appData->topLevel = nullptr;
        uiHooksReset();
    }
    // Every pixel of a pixmap of size w x h.
    std::vector<unsigned long> pixels(Pixmap p, unsigned w, unsigned h)
    {
        XImage *image = XGetImage(display, p, 0, 0, w, h, AllPlanes, ZPixmap);
        std::vector<unsigned long> out;
        if (image == nullptr)
            return out;
        for (unsigned y = 0; y < h; y++)
            for (unsigned x = 0; x < w; x++)
                out.push_back(XGetPixel(image, static_cast<int>(x), static_cast<int>(y)));
        XDestroyImage(image);
        return out;
    }
    // The size Motif gives for pixmap p and the replies it waited for.
    struct MotifSize {
        unsigned width = 0, height = 0;
        unsigned long replies = 0;
    };
    MotifSize motifSize(Pixmap p)
    {
        MotifSize out;
        XSync(display, False);
        XTrafficMeter meter(display);
        int depth = 0, hotX = 0, hotY = 0;
        Pixel fg = 0, bg = 0;
        char *imageName = nullptr;
        EXPECT_TRUE(XmeGetPixmapData(XtScreen(shell), p, &imageName, &depth, &fg, &bg, &hotX, &hotY, &out.width,
                                     &out.height));
        out.replies = meter.read().replies;
        return out;
    }
    XServer server{640, 480, 24};
    TestChart owner;
    ChartState *chart = owner.get();
    XtAppContext app = nullptr;
    Display *display = nullptr;
    Widget shell = nullptr;
};

TEST_F(StartUpRepliesX, ToolbarPicturesAreTheXpmPixelsAndTheirSizesAskTheServerNothing)
{
    createMainWindow(chart);
    ASSERT_NE(appData->toolBar, nullptr);
    XtManageChild(appData->toolBar);
    XtRealizeWidget(shell);
    XSync(display, False);
    {
        // Nothing in the buttons' making waits on the server (a geometry
        // request a picture without its size in Motif's cache).
        XTrafficMeter meter(display);
        createToolbarButtons(chart);
        EXPECT_EQ(meter.read().replies, 0u);
    }
    Pixel background = 0;
    XtVaGetValues(appData->toolBar, XmNbackground, &background, nullptr);
    const struct {
        const char *button;
        int picture;
    } cases[] = {{"ToolbarFileOpen", 0}, {"ToolbarModeHrz", 2}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        Widget b = XtNameToWidget(appData->toolBar, c.button);
        ASSERT_NE(b, nullptr);
        Pixmap shown = 0;
        XtVaGetValues(b, XmNlabelPixmap, &shown, nullptr);
        ASSERT_NE(shown, Pixmap{0});
        // The same data through the library's own pixmap path.
        XpmColorSymbol none{nullptr, const_cast<char *>("None"), background};
        XpmAttributes attributes{};
        attributes.valuemask = XpmColorSymbols | XpmSize;
        attributes.colorsymbols = &none;
        attributes.numsymbols = 1;
        Pixmap expected = 0;
        ASSERT_EQ(XpmCreatePixmapFromData(display, XtWindow(shell),
                                          const_cast<char **>(toolbarPictures[c.picture].picture), &expected,
                                          nullptr, &attributes),
                  XpmSuccess);
        const unsigned w = attributes.width, h = attributes.height;
        XpmFreeAttributes(&attributes);
        const MotifSize size = motifSize(shown);
        EXPECT_EQ(size.replies, 0u);
        EXPECT_EQ(size.width, w);
        EXPECT_EQ(size.height, h);
        EXPECT_EQ(pixels(shown, w, h), pixels(expected, w, h));
        XFreePixmap(display, expected);
    }
}

// The step box's pictures have "None" pixels of their own: made through
// Motif's cache they are still the library's pixmap, pixel for pixel.
TEST_F(StartUpRepliesX, StepBoxPicturesAreTheXpmPixels)
{
    XtRealizeWidget(shell);
    stepBoxCreate(chart);
    ASSERT_NE(appData->stepBox, nullptr);
    const struct {
        const char *button;
        const char *const *data;
    } cases[] = {{"*ButtonMinus1Min", stepMinusXpm}, {"*ButtonPlus5Min", stepPlusXpm}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.button);
        Widget b = XtNameToWidget(appData->stepBox, c.button);
        ASSERT_NE(b, nullptr);
        Pixmap shown = 0;
        XtVaGetValues(b, XmNlabelPixmap, &shown, nullptr);
        XpmAttributes attributes{};
        attributes.valuemask = XpmSize;
        Pixmap expected = 0, mask = 0;
        ASSERT_EQ(XpmCreatePixmapFromData(display, XtWindow(shell), const_cast<char **>(c.data), &expected, &mask,
                                          &attributes),
                  XpmSuccess);
        const MotifSize size = motifSize(shown);
        EXPECT_EQ(size.replies, 0u);
        ASSERT_EQ(size.width, attributes.width);
        ASSERT_EQ(size.height, attributes.height);
        EXPECT_EQ(pixels(shown, size.width, size.height), pixels(expected, size.width, size.height));
        XpmFreeAttributes(&attributes);
        XFreePixmap(display, expected);
        if (mask)
            XFreePixmap(display, mask);
    }
}

// A new button picture: its size is Motif's before any label asks, and its
// pixels are those of the plain picture.
TEST_F(StartUpRepliesX, AButtonPictureIsSizedWithoutTheServerAndDrawsAsThePlainOne)
{
    XtRealizeWidget(shell);
    const Pixel background = 0x336699;
    const Pixmap button = xpmButtonPicture(toolbarPictures[5].picture, background, "tavikTestPicture");
    const Pixmap plain = xpmPicture(toolbarPictures[5].picture, background);
    ASSERT_NE(button, Pixmap{0});
    ASSERT_NE(plain, Pixmap{0});
    const MotifSize size = motifSize(button);
    EXPECT_EQ(size.replies, 0u) << "the size was asked of the server";
    Window root = 0;
    int x = 0, y = 0;
    unsigned w = 0, h = 0, border = 0, d = 0;
    ASSERT_TRUE(XGetGeometry(display, plain, &root, &x, &y, &w, &h, &border, &d));
    EXPECT_EQ(size.width, w);
    EXPECT_EQ(size.height, h);
    EXPECT_EQ(pixels(button, w, h), pixels(plain, w, h));
    XmDestroyPixmap(XtScreen(shell), button);
    XFreePixmap(display, plain);
}

TEST_F(StartUpRepliesX, KeyMapCopyAnswersAsTheServerAndAChangedMapIsReadOnceItEnds)
{
    int low = 0, high = 0;
    XDisplayKeycodes(display, &low, &high);
    ASSERT_LT(low + 3, high);
    // The server's own answers, before any copy.
    struct Read {
        int first, count;
        std::vector<KeySym> syms;
        int perCode;
    };
    std::vector<Read> reads = {{low, 1, {}, 0}, {low + 2, 3, {}, 0}, {high, 1, {}, 0}, {low, high - low + 1, {}, 0}};
    for (Read &r : reads) {
        KeySym *s = XGetKeyboardMapping(display, static_cast<KeyCode>(r.first), r.count, &r.perCode);
        ASSERT_NE(s, nullptr);
        r.syms.assign(s, s + r.count * r.perCode);
        XFree(s);
    }
    keyboardMappingCopyBegin();
    for (int pass = 0; pass < 2; pass++) {
        for (const Read &r : reads) {
            SCOPED_TRACE(r.first);
            XSync(display, False);
            XTrafficMeter meter(display);
            int perCode = 0;
            KeySym *s = XGetKeyboardMapping(display, static_cast<KeyCode>(r.first), r.count, &perCode);
            ASSERT_NE(s, nullptr);
            EXPECT_EQ(perCode, r.perCode);
            EXPECT_EQ(std::vector<KeySym>(s, s + r.count * perCode), r.syms);
            XFree(s);
            // Only the very first read of all asks the server (the whole map).
            if (pass > 0) {
                EXPECT_EQ(meter.read().requests, 0u);
            }
        }
    }
    // A range past the map goes to the server, which refuses it.
    int perCode = 0;
    XSetErrorHandler([](Display *, XErrorEvent *) { return 0; });
    EXPECT_EQ(XGetKeyboardMapping(display, static_cast<KeyCode>(high), 2, &perCode), nullptr);
    XSetErrorHandler(nullptr);
    keyboardMappingCopyEnd();

    // A mapping changed after start-up is read as it now is.
    const KeyCode code = static_cast<KeyCode>(low + 2);
    std::vector<KeySym> changed(static_cast<size_t>(reads[0].perCode), NoSymbol);
    changed[0] = XK_F35;
    XChangeKeyboardMapping(display, code, reads[0].perCode, changed.data(), 1);
    XSync(display, False);
    KeySym *now = XGetKeyboardMapping(display, code, 1, &perCode);
    ASSERT_NE(now, nullptr);
    EXPECT_EQ(now[0], static_cast<KeySym>(XK_F35));
    XFree(now);
    XChangeKeyboardMapping(display, code, reads[1].perCode, reads[1].syms.data(), 1);
    XSync(display, False);
}

} // namespace
