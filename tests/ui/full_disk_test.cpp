// Every writer of a user file on a full disk: the write is reported as
// failed, an old file keeps every byte, no new file is left cut and no
// temporary is left behind. The disk is made full for a forked child by a
// file size limit; the same writer without the limit must write the file,
// so each case shows its writer's own behaviour.
#include <gtest/gtest.h>

#include <dirent.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "command/commands.h"
#include "command/interpreter.h"
#include "command/scene_save.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_state.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/options.h"
#include "model/site_list.h"
#include "model/ui_hooks.h"
#include "render/recording_canvas.h"
#include "render/surface.h"
#include "tests/support/child_process.h"
#include "tests/support/temp_dir.h"
#include "ui/widgets/command_history.h"

namespace {

constexpr long kFullAfterBytes = 64;

// A chart of 40 x 30 pixels in three colours, as the X side hands it on.
struct ImageSurface : ChartSurface {
    RecordingCanvas drawn;
    bool windowSize(int *w, int *h) override {
        *w = 40;
        *h = 30;
        return true;
    }
    void recreate(int, int) override {}
    Canvas *canvas() override { return &drawn; }
    void copyToWindow(int, int) override {}
    int image(int width, int height, ChartImage *out) override {
        out->width = width;
        out->height = height;
        out->charsPerPixel = 1;
        out->colours.assign(3, ChartImageColour{});
        const char *const chars[] = {" ", ".", "X"};
        const char *const values[] = {"#000000000000", "#FFFF00000000", "#0000FFFF0000"};
        for (int i = 0; i < 3; i++) {
            out->colours[i].chars = chars[i];
            out->colours[i].keys[4] = values[i];
        }
        out->pixels.resize(static_cast<size_t>(width) * height);
        for (size_t i = 0; i < out->pixels.size(); i++) out->pixels[i] = static_cast<uint32_t>(i % 7 % 3);
        return 1;
    }
};

std::vector<std::string> entries(const std::string &dir) {
    std::vector<std::string> names;
    DIR *d = opendir(dir.c_str());
    for (struct dirent *e; d && (e = readdir(d));)
        if (std::string(e->d_name) != "." && std::string(e->d_name) != "..") names.push_back(e->d_name);
    if (d) closedir(d);
    std::sort(names.begin(), names.end());
    return names;
}

class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        appDataSetDefaults();
        appData->initialising = 1;
        chart = new ChartState();
        chartStateSetDefaults(chart);
        chart->chartRect = ChartRect{0, 0, 40, 30};
        uiHooksRecordMessages();
        chartSetSurface(&surface);
    }
    void TearDown() override {
        chartSetSurface(nullptr);
        uiHooksReset();
        chartStateFreeTables(chart);
        delete chart;
    }
    ChartState *chart = nullptr;
    ImageSurface surface;
};

TEST_F(FullDisk, EveryWriterKeepsTheOldFileAndLeavesNoCutOrTemporaryFile) {
    TempDir data;
    const std::string elements = TAVIK_SOURCE_DIR "/data/comet.elm";
    char siteLine[kSiteLineLength + 1], otherLine[kSiteLineLength + 1];
    const Site tokyo{"Tokyo", 35.689, 139.692, 40, 9.0}, quito{"Quito", -0.22, -78.51, 2850, -5.0};
    ASSERT_TRUE(siteLineCompose(&tokyo, siteLine) && siteLineCompose(&quito, otherLine));
    const std::string installedList = data.write("installed.obs", std::string(siteLine) + otherLine);
    // An old index in its real form, built by the index builder itself.
    const std::string oldIndex = data.file("old.dbm");
    ASSERT_EQ(catalogIndexBuildTo(TAVIK_SOURCE_DIR "/data/mp.elm", oldIndex.c_str(), nullptr), 1);
    const char *const history[] = {"DRIVE", "MODE HRZ", "ZOOM UP;DRIVE", "LOOK STAR alphaOri", "MAG STAR 5",
                                   "MODE EQT", "DRIVE", "SHOW NEBULA", "HIDE PLANET", "MODE ECL", "DRIVE", "EXIT"};
    const OptionValues options{1, 1, 0, 0, "/home/user/scenes", "/home/user/pictures", "/usr/local/share/tavik/adf",
                               "/cdrom", "Tokyo", "", "", "UTC", 0, ""};
    const std::string longPath = "/home/user/" + std::string(120, 's');

    struct Writer {
        const char *name;
        std::string oldText;
        // 1 when the writer says the file holds its new text.
        std::function<int(const std::string &path)> write;
    } const writers[] = {
        {"GSAVE", "/* XPM */ an old image\n",
         [&](const std::string &path) {
             char file[512];
             std::snprintf(file, sizeof file, "%s", path.c_str());
             char *params[kStkMaxParams] = {file};
             stkClearError();
             stkCmdGsave(chart, params);
             if (appData->errorId[0] == '\0') return 1;
             return std::string(appData->errorId) == "stkErrorFileWriteFailed" ? 0 : 2;
         }},
        {"scene file", "BLOCK CONTROL\n\tSCENE MAIN\n\t\tINIT\n\tEND SCENE\nEND BLOCK\n",
         [&](const std::string &path) { return saveSceneFile(chart, path.c_str(), 0); }},
        {"whole options file", "Toolbar = False\nTipHelp = False\n",
         [&](const std::string &path) { return optionsWriteFile(path.c_str(), &options); }},
        {"one option", "Toolbar = False\nSiteName = Quito\n",
         [&](const std::string &path) { return optionsFileSet(path.c_str(), "StlFileIoPath", longPath.c_str()); }},
        {"command history", "DRIVE\nMODE HRZ\n",
         [&](const std::string &path) { return historyWriteFile(path.c_str(), history, 12, 10); }},
        {"site list edit", otherLine,
         [&](const std::string &path) { return siteFileRewrite(path.c_str(), kSiteEditInsertFirst, 0, siteLine); }},
        {"site list copy", otherLine,
         [&](const std::string &path) { return envCopyFile(installedList.c_str(), path.c_str()); }},
        {"element name index", readFile(oldIndex),
         [&](const std::string &path) { return catalogIndexBuildTo(elements.c_str(), path.c_str(), nullptr); }},
    };
    for (const Writer &w : writers) {
        for (const bool old : {true, false}) {
            SCOPED_TRACE(std::string(w.name) + (old ? ", over an old file" : ", a new file"));
            TempDir dir;
            const std::string path = dir.file(w.name[0] == 'G' ? "chart.xpm" : "file");
            if (old) dir.write(w.name[0] == 'G' ? "chart.xpm" : "file", w.oldText);
            const std::vector<std::string> before = entries(dir.path());

            EXPECT_EQ(runWithFileSizeLimit(kFullAfterBytes, [&] { return w.write(path); }), 0)
                << "a cut file reported as written";
            EXPECT_EQ(entries(dir.path()), before) << "a temporary or a cut new file is left";
            if (old) {
                EXPECT_EQ(readFile(path), w.oldText) << "the old file lost bytes";
            }

            // With room on the disk the same writer writes the file whole.
            EXPECT_EQ(w.write(path), 1);
            const std::string written = readFile(path);
            EXPECT_GT(written.size(), static_cast<size_t>(kFullAfterBytes));
            EXPECT_NE(written, w.oldText);
            EXPECT_EQ(entries(dir.path()).size(), 1u) << "a temporary is left beside the file";
        }
    }
}

} // namespace
