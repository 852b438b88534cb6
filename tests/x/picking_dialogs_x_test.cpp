// The picked object's dialog, the almanac panel, the picture viewer and the
// progress gauge, built in-process on a private X server with the fallback
// resources. Each test is its own process (ctest), so each builds afresh.
#include <set>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <X11/Xatom.h>
#include <X11/Shell.h>
#include <Xm/DrawnB.h>
#include <Xm/Label.h>
#include <Xm/PushB.h>
#include <Xm/Scale.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/almanac.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/ephemeris.h"
#include "model/position.h"
#include "model/ui_hooks.h"
#include "resources/fallback.h"
#include "tests/support/x_widgets.h"
#include "tests/support/catalog_rows.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "ui/dialogs/click_data_dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/gauge_dialog_motif.h"
#include "ui/dialogs/image_dialog_motif.h"
#include "ui/dialogs/today_dialog_motif.h"
#include "tests/support/test_chart.h"

namespace {

void press(Widget button)
{
    ASSERT_NE(button, nullptr);
    xPress(button);
}

std::string labelText(Widget w)
{
    XmString s = nullptr;
    XtVaGetValues(w, XmNlabelString, &s, nullptr);
    char *text = nullptr;
    std::string out;
    if (s && XmStringGetLtoR(s, const_cast<char *>(XmFONTLIST_DEFAULT_TAG), &text))
        out = text;
    XtFree(text);
    XmStringFree(s);
    return out;
}

// An application on its own server, as start-up builds it.
class XApp {
public:
    XServer server;
    XtAppContext app = nullptr;
    explicit XApp(int width = 1024, int height = 768, int depth = 24) : server(width, height, depth)
    {
        if (!server.ok())
            return;
        Display *display = openDialogShell(server.name(), &app);
        appData->display = display;
        uiHooksRecordMessages();
    }
    // The shell and its dialogs go before the server does.
    ~XApp()
    {
        closeDialogShell();
        uiHooksReset();
    }
    void settle()
    {
        XSync(XtDisplay(appData->topLevel), False);
        while (XtAppPending(app) & XtIMXEvent)
            XtAppProcessEvent(app, XtIMXEvent);
    }
};

std::string shippedImages() { return std::string(TAVIK_SOURCE_DIR) + "/data/image/"; }

ImageList *listOf(std::vector<std::pair<const char *, const char *>> items)
{
    ImageList *list = imageListNew();
    for (auto &i : items)
        imageListAppend(list, i.first, i.second);
    return list;
}

std::string shellTitle(Widget dialog)
{
    char *title = nullptr;
    XtVaGetValues(XtParent(dialog), XmNtitle, &title, nullptr);
    return title ? title : "";
}

TEST(PictureViewerX, OneItemHasPrevAndNextInsensitiveAndTwoStepThrough)
{
    XApp x;
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    snprintf(appData->clickImagePath, sizeof appData->clickImagePath, "%s", shippedImages().c_str());
    openImageDialog(listOf({{"jupiter.jpg", "Jupiter"}}));
    ASSERT_TRUE(imageDialogShown());
    EXPECT_EQ(shellTitle(imageDialogWidget("ImageDialog")), "Jupiter");
    EXPECT_FALSE(XtIsSensitive(imageDialogWidget("ButtonPrev")));
    EXPECT_FALSE(XtIsSensitive(imageDialogWidget("ButtonNext")));
    ASSERT_NE(imageDialogPicture(), nullptr);
    EXPECT_EQ(imageDialogPicture()->bits_per_pixel, 32);

    openImageDialog(listOf({{"mars.jpg", "Mars"}, {"venus.jpg", "Venus"}}));
    EXPECT_FALSE(XtIsSensitive(imageDialogWidget("ButtonPrev")));
    EXPECT_TRUE(XtIsSensitive(imageDialogWidget("ButtonNext")));
    press(imageDialogWidget("ButtonNext"));
    EXPECT_EQ(shellTitle(imageDialogWidget("ImageDialog")), "Venus");
    EXPECT_TRUE(XtIsSensitive(imageDialogWidget("ButtonPrev")));
    EXPECT_FALSE(XtIsSensitive(imageDialogWidget("ButtonNext")));
    press(imageDialogWidget("ButtonOK"));
    EXPECT_FALSE(imageDialogShown());
    EXPECT_EQ(imageDialogPicture(), nullptr);
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0);
}

TEST(PictureViewerX, DamagedPicturesGiveTheBoxAndNoViewer)
{
    XApp x;
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    TempDir dir;
    const std::string whole = readFile(shippedImages() + "saturn.jpg");
    dir.write("half.jpg", whole.substr(0, whole.size() / 2));
    dir.write("text.jpg", "no picture\n");
    snprintf(appData->clickImagePath, sizeof appData->clickImagePath, "%s/", dir.path().c_str());
    openImageDialog(listOf({{"text.jpg", "Text"}}));
    EXPECT_FALSE(imageDialogShown());
    ASSERT_EQ(uiHooksRecordedMessageCount(), 1);
    EXPECT_EQ(std::string(uiHooksRecordedMessageText(0)).rfind("Picture " + dir.path() + "/text.jpg: ", 0), 0u)
        << uiHooksRecordedMessageText(0);
    // What a truncated file holds is shown, with the box.
    openImageDialog(listOf({{"half.jpg", "Half"}}));
    EXPECT_TRUE(imageDialogShown());
    EXPECT_EQ(uiHooksRecordedMessageCount(), 2);
    openImageDialog(listOf({{"missing.jpg", "Missing"}}));
    EXPECT_FALSE(imageDialogShown());
    EXPECT_EQ(uiHooksRecordedMessageCount(), 2) << "a missing file goes to standard error";
}

TEST(PictureViewerX, APictureLargerThanTheScreenGetsEightTenthsOfIt)
{
    XApp x(200, 150, 24); // the 128 x 128 picture is taller than 8/10 of 150
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    snprintf(appData->clickImagePath, sizeof appData->clickImagePath, "%s", shippedImages().c_str());
    openImageDialog(listOf({{"moon.jpg", "Moon"}}));
    ASSERT_TRUE(imageDialogShown());
    ASSERT_NE(imageDialogPicture(), nullptr);
    const int w = imageDialogPicture()->width, h = imageDialogPicture()->height;
    ASSERT_GT(h, 120);
    Dimension areaW = 0, areaH = 0;
    XtVaGetValues(imageDialogWidget("ImageArea"), XmNwidth, &areaW, XmNheight, &areaH, nullptr);
    EXPECT_EQ(areaW, w < 160 ? w : 160);
    EXPECT_EQ(areaH, 120);
}

// With the colormap installed (-install) the viewer takes its cells in a
// private copy of the default colormap, which Motif's colours already use:
// libX11's copy then set up its colour management under the display lock and
// hung the program in XInternAtom.
TEST(PictureViewerX, AtDepthEightEveryPixelIsOneOfTheColourCells)
{
    for (int install : {0, 1}) {
        XApp x(640, 480, 8);
        ASSERT_TRUE(x.server.ok()) << x.server.why();
        appData->installColormap = install;
        snprintf(appData->clickImagePath, sizeof appData->clickImagePath, "%s", shippedImages().c_str());
        openImageDialog(listOf({{"jupiter.jpg", "Jupiter"}}));
        appData->installColormap = 0;
        ASSERT_TRUE(imageDialogShown()) << "installed colormap " << install;
        XImage *image = imageDialogPicture();
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->depth, 8);
        std::set<unsigned long> pixels;
        for (int y = 0; y < image->height; ++y)
            for (int xx = 0; xx < image->width; ++xx)
                pixels.insert(XGetPixel(image, xx, y));
        EXPECT_LE(pixels.size(), 64u) << "every pixel is one of the 64 cells; installed colormap " << install;
        EXPECT_GT(pixels.size(), 4u) << "installed colormap " << install;
    }
}

TEST(PictureViewerX, AtDepthSixteenPixelsAreTwoBytes)
{
    XApp x(640, 480, 16);
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    snprintf(appData->clickImagePath, sizeof appData->clickImagePath, "%s", shippedImages().c_str());
    openImageDialog(listOf({{"jupiter.jpg", "Jupiter"}}));
    ASSERT_TRUE(imageDialogShown());
    ASSERT_NE(imageDialogPicture(), nullptr);
    EXPECT_EQ(imageDialogPicture()->bits_per_pixel, 16);
}

int clientMessages = 0;
void countClientMessage(Widget, XtPointer, XEvent *event, Boolean *)
{
    if (event->type == ClientMessage)
        ++clientMessages;
}

TEST(GaugeX, SamePercentDispatchesButChangesNothingAndCancelHoldsUntilNextOpen)
{
    XApp x;
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    openGaugeDialog("messageYearAD");
    Widget form = XtNameToWidget(appData->topLevel, "*GaugeDialog");
    ASSERT_NE(form, nullptr);
    unsigned char style = 0;
    XtVaGetValues(form, XmNdialogStyle, &style, nullptr);
    EXPECT_EQ(style, XmDIALOG_FULL_APPLICATION_MODAL) << "no menu entry runs while it is open";
    Widget title = XtNameToWidget(form, "*GaugeLabelTitle");
    Widget percent = XtNameToWidget(form, "*GaugeLabelPercentage");
    EXPECT_EQ(labelText(title), "AD");
    gaugeDlgSetPercent(40);
    EXPECT_EQ(labelText(percent), "40%");

    XtAddEventHandler(appData->topLevel, NoEventMask, True, countClientMessage, nullptr);
    XEvent e{};
    e.xclient.type = ClientMessage;
    e.xclient.window = XtWindow(appData->topLevel);
    e.xclient.format = 32;
    // A predefined atom: an atom interned here may have the number that
    // Motif's editres handler kept from an earlier server of the same
    // process, which then answers the message as an editres request.
    e.xclient.message_type = XA_INTEGER;
    XSendEvent(XtDisplay(form), XtWindow(appData->topLevel), False, NoEventMask, &e);
    XSync(XtDisplay(form), False);
    setLabelText(percent, "marked");
    gaugeDlgSetPercent(40);
    EXPECT_EQ(clientMessages, 1) << "pending events are dispatched";
    EXPECT_EQ(labelText(percent), "marked") << "the same percentage changes nothing";

    press(XtNameToWidget(form, "*GaugeCancelButton"));
    EXPECT_EQ(gaugeDlgCancelled(), 1);
    gaugeDlgSetPercent(60);
    closeGaugeDialog();
    EXPECT_EQ(gaugeDlgCancelled(), 1);
    EXPECT_FALSE(XtIsManaged(form));
    openGaugeDialog("messageYearBC");
    EXPECT_EQ(gaugeDlgCancelled(), 0);
    EXPECT_EQ(labelText(title), "BC") << "each open fetches its own title";
    EXPECT_EQ(labelText(percent), "0%");
    closeGaugeDialog();
}

class ChartX : public XApp {
public:
    OwnedChart owner;
    ChartState &chart = *owner;
    ChartX()
    {
        if (!server.ok())
            return;
        currentChart = &chart;
        chartSetSite(&chart, 51.4779, 0.0, 0.0);
        const DateTime date{2026, 1, 15, 22, 0, 0.0, 0.0};
        chartSetDate(&chart, &date);
        ephemUpdateAll(&chart);
    }
};

TEST(TodayDialogX, OpensFilledFollowsTheDateAndCloses)
{
    ChartX x;
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    openTodayDialog(&x.chart);
    ASSERT_TRUE(todayDialogShown());
    ASSERT_EQ(appData->todayDialog, todayDialogWidget("TodayDialog"));
    AlmanacValues v;
    almanacFill(&x.chart, &v);
    EXPECT_EQ(labelText(todayDialogWidget("LabelJDX")), v.jd);
    EXPECT_EQ(labelText(todayDialogWidget("LabelSRX")), v.sun.rise);
    EXPECT_EQ(labelText(todayDialogWidget("LabelJupiterSet")), v.planets[3].set);
    EXPECT_EQ(labelText(todayDialogWidget("LabelCometMp1Name")), "            ");
    EXPECT_EQ(labelText(todayDialogWidget("LabelMercuryName")), "Mercury");

    const DateTime later{2026, 7, 1, 22, 0, 0.0, 0.0};
    chartSetDate(&x.chart, &later);
    refreshTodayDialog(&x.chart);
    almanacFill(&x.chart, &v);
    EXPECT_EQ(labelText(todayDialogWidget("LabelJDX")), v.jd);
    press(todayDialogWidget("ButtonClose"));
    EXPECT_FALSE(todayDialogShown());
}

std::vector<std::string> sent;
void recordAndRun(ChartState *chart, const char *text)
{
    sent.emplace_back(text);
    if (std::string(text) != "DRIVE")
        stkExecute(chart, text);
}

TEST(ClickDataDialogX, ShowsThePickTracksAndUntracksAndOffersItsPictures)
{
    ChartX x;
    ASSERT_TRUE(x.server.ok()) << x.server.why();
    TempDir dir;
    const std::string cdf = dir.write("t.cdf", ":JUPITER\n@IMAGE jupiter.jpg \"Jupiter\"\n@TEXT \"Big.\"\n");
    snprintf(appData->clickDataFile, sizeof appData->clickDataFile, "%s", cdf.c_str());
    snprintf(appData->clickImagePath, sizeof appData->clickImagePath, "%s", shippedImages().c_str());
    ASSERT_EQ(loadClickData(&x.chart, cdf.c_str()), 1);
    registerClickDataHooks();
    createClickDataDialog(&x.chart);
    Widget form = clickDataDialogWidget("ClickDataDialog");
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(clickDataDialogShown()) << "built unmanaged at start-up";
    EXPECT_EQ(shellTitle(form), "Object Information");

    x.chart.hitKind = kPosStar;
    x.chart.hitIndex = starNamed("Betelgeuse");
    setClickDataDialogVisible(&x.chart, 1);
    EXPECT_TRUE(clickDataDialogShown());
    EXPECT_FALSE(XtIsSensitive(clickDataDialogWidget("ClickDataImage"))) << "Betelgeuse has no pictures here";

    void (*saved)(ChartState *, const char *) = stkExecuteCall;
    stkExecuteCall = recordAndRun;
    // How the button looks: its left edge drawn in the top shadow's colour
    // when it stands out, the bottom shadow's when pressed in. A push-button
    // look ignored the shadow type, so Track never looked pressed in.
    Widget track = clickDataDialogWidget("ClickDataTrack");
    Pixel topShadow = 0, bottomShadow = 0;
    Dimension highlight = 0, height = 0;
    XtVaGetValues(track, XmNtopShadowColor, &topShadow, XmNbottomShadowColor, &bottomShadow, XmNhighlightThickness,
                  &highlight, XmNheight, &height, nullptr);
    ASSERT_NE(topShadow, bottomShadow);
    auto leftEdge = [&] {
        x.settle();
        XImage *image = XGetImage(XtDisplay(track), XtWindow(track), highlight, height / 2, 1, 1, AllPlanes, ZPixmap);
        const Pixel p = image ? XGetPixel(image, 0, 0) : 0;
        if (image)
            XDestroyImage(image);
        return p;
    };
    unsigned char shadow = 0;
    EXPECT_EQ(leftEdge(), topShadow) << "out before tracking";
    press(track);
    XtVaGetValues(track, XmNshadowType, &shadow, nullptr);
    EXPECT_EQ(shadow, XmSHADOW_IN);
    EXPECT_EQ(leftEdge(), bottomShadow) << "in while tracking this object";
    press(track);
    XtVaGetValues(track, XmNshadowType, &shadow, nullptr);
    EXPECT_EQ(shadow, XmSHADOW_OUT);
    EXPECT_EQ(leftEdge(), topShadow) << "out again";
    press(clickDataDialogWidget("ClickDataBlink"));
    EXPECT_EQ(sent, (std::vector<std::string>{"TRACK STAR alphaOri", "DRIVE", "TRACK OFF", "DRIVE",
                                              "BLINK STAR alphaOri"}));
    stkExecuteCall = saved;

    // Jupiter has a picture: Image opens the viewer titled by its caption.
    x.chart.hitKind = kPosBody;
    x.chart.hitIndex = 3;
    updateClickDataButtons(&x.chart);
    ASSERT_TRUE(XtIsSensitive(clickDataDialogWidget("ClickDataImage")));
    press(clickDataDialogWidget("ClickDataImage"));
    EXPECT_TRUE(imageDialogShown());
    EXPECT_EQ(shellTitle(imageDialogWidget("ImageDialog")), "Jupiter");

    uiHooks.setClickDataDialogVisible(&x.chart, 0);
    EXPECT_FALSE(clickDataDialogShown());
    destroyClickDataDialog();
    freeClickData(&x.chart);
}

} // namespace
