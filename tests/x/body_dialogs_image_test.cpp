// The Planet and Grid dialogs change the chart only through their texts: the
// image GSAVE writes after the dialog's OK equals the image after the texts
// it sent are run on the same start chart, and differs from the start.
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <X11/Intrinsic.h>
#include <Xm/List.h>
#include <Xm/PushB.h>
#include <Xm/ToggleB.h>

#include "command/interpreter.h"
#include "command/scene_files.h"
#include "model/app_data.h"
#include "model/chart_date.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "render/frame.h"
#include "render/x/x_surface.h"
#include "tests/support/temp_dir.h"
#include "tests/support/x_dialog_shell.h"
#include "tests/support/x_server.h"
#include "ui/dialogs/body_dialogs.h"
#include "ui/dialogs/dialog_motif.h"
#include "ui/dialogs/dialog_openers.h"
#include "ui/dialogs/element_dialogs_motif.h"
#include "ui/dialogs/grid_dialog.h"
#include "tests/support/test_chart.h"

namespace {

constexpr int kWidth = 320, kHeight = 240;

std::vector<std::string> sent;
// Records each text and runs it, as the program does.
void recordAndRun(ChartState *chart, const char *text)
{
    sent.emplace_back(text);
    stkExecute(chart, text);
}

uint32_t pixelFor(int row) { return 0x010101u * 3u + static_cast<uint32_t>(row) * 0x050307u; }

// The image's text without its first two lines, whose variable name is made
// from the file's name.
std::string imageText(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    const std::string text = s.str();
    const size_t second = text.find('\n', text.find('\n') + 1);
    return second == std::string::npos ? std::string() : text.substr(second);
}

class BodyDialogImageX : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.ok()) << server.why();
        display = openDialogShell(server.name(), &app);
        ASSERT_NE(display, nullptr);
        appData->initialising = 0;
        for (int i = 0; i < kPaletteSlots; i++)
            appData->pixels[i] = pixelFor(i);
        uiHooksRecordMessages();
        const int screen = DefaultScreen(display);
        window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, kWidth, kHeight, 0,
                                     BlackPixel(display, screen), WhitePixel(display, screen));
        gc = XCreateGC(display, window, 0, nullptr);
        surface.reset(new XSurface(display, window, gc, DefaultDepth(display, screen)));
        chartFrameServices = kFrameServices;
        chartSetSurface(surface.get());
        savedExecute = stkExecuteCall;
    }
    void TearDown() override
    {
        stkExecuteCall = savedExecute;
        chartSetSurface(nullptr);
        chartFrameServices = kFrameServices;
        surface.reset();
        charts.clear();
        if (display) {
            XFreeGC(display, gc);
            XDestroyWindow(display, window);
        }
        uiHooksReset();
        closeDialogShell();
    }

    // The start chart: a January night in Tokyo, the equatorial chart turned
    // to Jupiter, drawn.
    ChartState *startChart()
    {
        charts.emplace_back(new OwnedChart);
        ChartState *chart = charts.back()->get();
        chart->statusBar = 0;
        chart->modeChanged = 0;
        surface->pixmapField = &chart->backPixmap;
        chartSetSite(chart, 35.68, 139.77, 40.0);
        const DateTime night{2025, 1, 15, 22, 0, 0.0, 9.0};
        chartSetDate(chart, &night);
        for (const char *text : {"MODE EQT", "VIEW ANGLE 40", "LOOK JUPITER", "DRIVE"})
            stkExecute(chart, text);
        EXPECT_STREQ(appData->errorId, "") << appData->errorMessage;
        return chart;
    }
    std::string gsave(ChartState *chart, const std::string &name)
    {
        const std::string path = dir.file(name);
        stkExecute(chart, ("GSAVE \"" + path + "\"").c_str());
        EXPECT_STREQ(appData->errorId, "") << appData->errorMessage;
        const std::string text = imageText(path + ".xpm");
        EXPECT_FALSE(text.empty()) << path;
        return text;
    }
    // The dialog's texts again on a fresh start chart.
    std::string replayed(const std::vector<std::string> &texts, const std::string &name)
    {
        ChartState *chart = startChart();
        for (const std::string &t : texts)
            stkExecute(chart, t.c_str());
        return gsave(chart, name);
    }
    // Opens the dialog on the start chart, lets `user` change it, presses
    // OK; the image then against the start's and the replayed texts'.
    void expectOkDrawsItsTexts(const DialogSpec &spec, void (*open)(ChartState *), size_t texts,
                               const std::function<void()> &user)
    {
        ChartState *chart = startChart();
        const std::string start = gsave(chart, "start");
        sent.clear();
        stkExecuteCall = recordAndRun;
        open(chart);
        user();
        press(spec, "ButtonOK");
        stkExecuteCall = savedExecute;
        ASSERT_EQ(sent.size(), texts);
        const std::string afterOk = gsave(chart, "ok");
        EXPECT_NE(afterOk, start) << "the dialog changed nothing on the chart";
        EXPECT_EQ(afterOk, replayed(sent, "replayed")) << "the dialog drew something its texts do not";
    }
    void press(const DialogSpec &spec, const char *button)
    {
        XmPushButtonCallbackStruct cbs{};
        cbs.reason = XmCR_ACTIVATE;
        XtCallCallbacks(dialogWidget(&spec, button), XmNactivateCallback, &cbs);
    }

    XServer server;
    XtAppContext app = nullptr;
    Display *display = nullptr;
    Window window = 0;
    GC gc = nullptr;
    std::unique_ptr<XSurface> surface;
    std::vector<std::unique_ptr<OwnedChart>> charts;
    void (*savedExecute)(ChartState *, const char *) = nullptr;
    TempDir dir;
};

TEST_F(BodyDialogImageX, PlanetOkDrawsWhatItsTextsDraw)
{
    expectOkDrawsItsTexts(kPlanetDialog, openPlanetDialog, 11, [] {
        // Jupiter, in the middle, hidden; Saturn drawn as a point.
        Widget list = dialogWidget(&kPlanetDialog, "PlanetList");
        XmListSelectPos(list, 5, True);
        XmToggleButtonSetState(dialogWidget(&kPlanetDialog, "ToggleShow"), False, True);
        XmListSelectPos(list, 6, True);
        XmToggleButtonSetState(dialogWidget(&kPlanetDialog, "ToggleDisk"), False, True);
    });
    EXPECT_EQ(sent[4].substr(0, 13), "HIDE JUPITER;");
    EXPECT_EQ(sent[5].substr(sent[5].size() - 12), "REAL SATURN;");
}

TEST_F(BodyDialogImageX, GridOkDrawsWhatItsTextsDraw)
{
    expectOkDrawsItsTexts(kGridDialog, openGridDialog, 21, [] {
        XmToggleButtonSetState(dialogWidget(&kGridDialog, "ToggleEqt2000Grid"), True, True);
        XmToggleButtonSetState(dialogWidget(&kGridDialog, "ToggleEcl"), True, True);
        XmToggleButtonSetState(dialogWidget(&kGridDialog, "RadioMode05"), True, True);
    });
    EXPECT_EQ(sent[18], "GRID MODE1");
}

} // namespace

namespace {

// The Comet dialog loads bodies, which no text can: its image equals the
// start chart's after a scene naming the same comets (their lines in its
// ORBIT block) and then the texts OK sent.
TEST_F(BodyDialogImageX, CometOkDrawsWhatASceneOfItsBodiesAndItsTextsDraw)
{
    const std::string comets = std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm";
    std::snprintf(appData->cometFile, sizeof appData->cometFile, "%s", comets.c_str());
    std::snprintf(appData->cometIndexFile, sizeof appData->cometIndexFile, "%s", dir.file("comet.dbm").c_str());
    ChartState *chart = startChart();
    for (const char *text : {"MODE SOL1", "DRIVE"})
        stkExecute(chart, text);
    const std::string start = gsave(chart, "start");
    sent.clear();
    stkExecuteCall = recordAndRun;
    openCometDialog(chart);
    Widget list = elementDialogWidget(kCometDialog, "CometList");
    ASSERT_NE(list, nullptr);
    // 1P/Halley with its name, 2P/Encke without its orbit.
    XmListSelectPos(list, 1, True);
    XmToggleButtonSetState(elementDialogWidget(kCometDialog, "ToggleShow"), True, True);
    XmToggleButtonSetState(elementDialogWidget(kCometDialog, "ToggleName"), True, True);
    XmListSelectPos(list, 2, True);
    XmToggleButtonSetState(elementDialogWidget(kCometDialog, "ToggleShow"), True, True);
    XmToggleButtonSetState(elementDialogWidget(kCometDialog, "ToggleOrbit"), False, True);
    XmPushButtonCallbackStruct cbs{};
    cbs.reason = XmCR_ACTIVATE;
    XtCallCallbacks(elementDialogWidget(kCometDialog, "ButtonOK"), XmNactivateCallback, &cbs);
    stkExecuteCall = savedExecute;
    ASSERT_EQ(sent.size(), 3u);
    ASSERT_EQ(chart->cometCount, 2);
    const std::string afterOk = gsave(chart, "ok");
    EXPECT_NE(afterOk, start) << "the dialog changed nothing on the chart";

    std::string scene = "BLOCK CONTROL\n\tSCENE MAIN\n\t\tCOMET \"Halley\"\n\t\tCOMET \"Encke\"\n\tEND SCENE\nEND BLOCK\n"
                        "BLOCK ORBIT\n";
    std::ifstream in(comets);
    std::string line;
    for (const char *name : {"Halley", "Encke"}) {
        std::getline(in, line);
        scene += std::string(":") + name + "\n" + line + "\n";
    }
    std::ofstream(dir.file("bodies.stl")) << scene;
    std::vector<std::string> texts = {"MODE SOL1", "STL \"" + dir.file("bodies.stl") + "\""};
    texts.insert(texts.end(), sent.begin(), sent.end());
    EXPECT_EQ(afterOk, replayed(texts, "replayed")) << "the dialog drew something its bodies and texts do not";
}

// The Comet dialog rebuilds the table under a tracked comet: Hale-Bopp was
// COMET1, Halley now comes first, and the view stayed on Hale-Bopp (it
// jumped to Halley). The scene saved then draws the same again.
TEST_F(BodyDialogImageX, CometOkUnderATrackedCometKeepsTheViewOnIt)
{
    const std::string comets = std::string(TAVIK_SOURCE_DIR) + "/data/comet.elm";
    std::snprintf(appData->cometFile, sizeof appData->cometFile, "%s", comets.c_str());
    std::snprintf(appData->cometIndexFile, sizeof appData->cometIndexFile, "%s", dir.file("comet.dbm").c_str());
    ChartState *chart = startChart();
    const auto choose = [&](const std::vector<int> &positions) {
        sent.clear();
        stkExecuteCall = recordAndRun;
        openCometDialog(chart);
        Widget list = elementDialogWidget(kCometDialog, "CometList");
        ASSERT_NE(list, nullptr);
        for (int position : positions) {
            XmListSelectPos(list, position, True);
            XmToggleButtonSetState(elementDialogWidget(kCometDialog, "ToggleShow"), True, True);
        }
        XmPushButtonCallbackStruct cbs{};
        cbs.reason = XmCR_ACTIVATE;
        XtCallCallbacks(elementDialogWidget(kCometDialog, "ButtonOK"), XmNactivateCallback, &cbs);
        stkExecuteCall = savedExecute;
    };
    // List positions (1-based) of data/comet.elm's lines 0 and 1259.
    constexpr int kHalley = 1, kHaleBopp = 1260;
    choose({kHaleBopp});
    ASSERT_EQ(chart->cometCount, 1);
    stkExecute(chart, "TRACK COMET1");
    stkExecute(chart, "DRIVE");
    const std::string onHaleBopp = gsave(chart, "tracked");
    choose({kHalley});
    ASSERT_EQ(chart->cometCount, 2);
    const std::string afterOk = gsave(chart, "rebuilt");

    // The same two comets from a scene, tracking Hale-Bopp by its new number.
    std::string scene = "BLOCK CONTROL\n\tSCENE MAIN\n\t\tCOMET \"Halley\"\n\t\tCOMET \"Hale-Bopp\"\n"
                        "\tEND SCENE\nEND BLOCK\nBLOCK ORBIT\n";
    std::ifstream in(comets);
    std::string line;
    for (int row = 0; std::getline(in, line); row++) {
        if (row == 0)
            scene += ":Halley\n" + line + "\n";
        if (row == 1259)
            scene += ":Hale-Bopp\n" + line + "\n";
    }
    std::ofstream(dir.file("two.stl")) << scene << "END BLOCK\n";
    std::vector<std::string> texts = {"STL \"" + dir.file("two.stl") + "\""};
    texts.insert(texts.end(), sent.begin(), sent.end());
    texts.insert(texts.end() - 1, "TRACK COMET2");
    EXPECT_TRUE(afterOk == replayed(texts, "replayed")) << "the view left the tracked comet";
    texts[texts.size() - 2] = "TRACK COMET1";
    EXPECT_FALSE(afterOk == replayed(texts, "onHalley")) << "the view went to Halley, now COMET1";
    EXPECT_TRUE(afterOk == onHaleBopp) << "Halley is far outside the view";

    // Saved and loaded into a fresh chart: the same picture.
    std::FILE *out = std::fopen(dir.file("saved.stl").c_str(), "w");
    ASSERT_NE(out, nullptr);
    ASSERT_EQ(writeSceneFile(chart, out, 0), 1);
    std::fclose(out);
    EXPECT_TRUE(afterOk == replayed({"STL \"" + dir.file("saved.stl") + "\""}, "reopened"));
}

} // namespace
