// The program's file readers against what is no data file. Every reader,
// given a file that is not a regular one, refuses it at once: before, a FIFO
// without a writer held the open (and the program) for ever, /dev/zero and
// /dev/urandom fed endless lines into memory or random names into the
// tables, a symbolic link to /dev/full read as zeros for ever and a directory
// read as an empty file. And the text readers keep a huge line of a regular
// file out of memory: they read one such line with a bound and skip its
// rest. Each case runs in a child process with a deadline and a bound on new
// memory, so that a reader that hangs or grows fails the case instead of the
// machine.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "astro/body_records.h"
#include "ui/dialogs/element_dialogs.h"
#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/catalog_index.h"
#include "model/chart_state.h"
#include "model/click_data.h"
#include "model/command_error.h"
#include "model/env.h"
#include "model/lexing.h"
#include "model/name_files.h"
#include "model/options.h"
#include "model/position.h"
#include "model/site_list.h"
#include "model/ui_hooks.h"
#include "model/user_objects.h"
#include "render/layers/gsc_stars.h"
#include "render/layers/sao_stars.h"
#include "resources/catalogs.h"
#include "tests/support/temp_dir.h"
#include "tests/support/test_chart.h"
#include "ui/app/startup.h"
#include "ui/dialogs/file_dialogs.h"
#include "ui/dialogs/site_dialogs.h"
#include "ui/dialogs/user_object_dialogs.h"
#include "ui/widgets/command_history.h"
#include "ui/widgets/jpeg_image.h"

namespace {

constexpr int kDeadlineMs = 10000;

// The child's data size now, in kB (with the sanitizer's reservations).
long dataSizeKb()
{
    std::ifstream status("/proc/self/status");
    std::string word;
    while (status >> word)
        if (word == "VmData:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
    return -1;
}

// Runs read in a child process that may take boundKb of new memory: its
// answer, or "hung" when it took longer than kDeadlineMs, or "died" when the
// child ended without one (out of memory, say).
std::string inChild(const std::function<std::string()> &read, long boundKb)
{
    int fds[2];
    if (pipe(fds) != 0)
        return "no pipe";
    std::fflush(nullptr);
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const long kb = dataSizeKb();
        if (kb > 0) {
            const rlim_t bound = static_cast<rlim_t>(kb + boundKb) * 1024;
            rlimit limit = {bound, bound};
            setrlimit(RLIMIT_DATA, &limit);
        }
        const std::string answer = read();
        const ssize_t written = write(fds[1], answer.data(), answer.size());
        _exit(written == static_cast<ssize_t>(answer.size()) ? 0 : 1);
    }
    close(fds[1]);
    std::string got;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kDeadlineMs);
    bool ended = false;
    while (!ended) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            break;
        pollfd p = {fds[0], POLLIN, 0};
        if (poll(&p, 1, static_cast<int>(left.count())) <= 0)
            continue;
        char buf[512];
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n > 0)
            got.append(buf, static_cast<size_t>(n));
        else
            ended = true;
    }
    close(fds[0]);
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        return "hung";
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? got : "died";
}

const char kRefused[] = "refused";

std::string refusedIf(bool refused, const std::string &otherwise)
{
    return refused ? kRefused : otherwise;
}

// The error a command text left, "refused" when it is the file-not-found one.
std::string commandError(ChartState *chart, const std::string &text)
{
    stkExecute(chart, text.c_str());
    return refusedIf(std::strcmp(appData->errorId, "stkErrorFileNotFound") == 0,
                     std::string("error '") + appData->errorId + "'");
}

void addLine(void *count, const char *) { ++*static_cast<int *>(count); }

struct Reader {
    const char *name;
    std::function<std::string(ChartState *chart, const std::string &path, const TempDir &dir)> read;
};

const Reader kReaders[] = {
    {"STL", [](ChartState *chart, const std::string &path, const TempDir &) {
         return commandError(chart, "STL \"" + path + "\"");
     }},
    {"LOAD AD", [](ChartState *chart, const std::string &path, const TempDir &) {
         return commandError(chart, "LOAD AD, \"" + path + "\"");
     }},
    {"LOAD CLICKDATA", [](ChartState *chart, const std::string &path, const TempDir &) {
         return commandError(chart, "LOAD CLICKDATA, \"" + path + "\"");
     }},
    {"the sky-mark file at start-up", [](ChartState *chart, const std::string &path, const TempDir &) {
         strCopyBounded(appData->skyMarkFile, sizeof appData->skyMarkFile, path.c_str());
         const int loaded = loadSkyMarks(chart);
         return refusedIf(!loaded && uiHooksRecordedMessageCount() == 0,
                          "loaded " + std::to_string(loaded) + ", boxes " +
                              std::to_string(uiHooksRecordedMessageCount()));
     }},
    {"the history", [](ChartState *, const std::string &path, const TempDir &) {
         int lines = 0;
         const int read = historyReadFile(path.c_str(), addLine, &lines);
         return refusedIf(read == 0 && lines == 0, std::to_string(lines) + " lines");
     }},
    {"a JPEG picture", [](ChartState *, const std::string &path, const TempDir &) {
         JpegPicture picture;
         char message[256];
         const int result = jpegDecode(path.c_str(), 0, &picture, message, sizeof message);
         jpegPictureFree(&picture);
         return refusedIf(result == kJpegCannotOpen, std::string("result ") + std::to_string(result) + " " + message);
     }},
    {"the start-up scene on the command line", [](ChartState *, const std::string &path, const TempDir &) {
         std::string arg = path;
         char program[] = "tavik";
         char *argv[] = {program, &arg[0], nullptr};
         testing::internal::CaptureStderr();
         const int goOn = appParseArgs(2, argv);
         const std::string err = testing::internal::GetCapturedStderr();
         return refusedIf(goOn == 0 && err == "tavik: can't open file " + path + "\n", "go on " + std::to_string(goOn) + ": " + err);
     }},
    {"the options file", [](ChartState *, const std::string &path, const TempDir &) {
         char value[64] = "";
         return refusedIf(optionsFileGetString(path.c_str(), "SocketPort", value, sizeof value) == 0, value);
     }},
    {"the site list", [](ChartState *, const std::string &path, const TempDir &) {
         double where[3], zone;
         const int found = findSiteIn(path.c_str(), "Greenwich", where, &zone);
         return refusedIf(!found && uiHooksRecordedMessageCount() == 0,
                          "boxes " + std::to_string(uiHooksRecordedMessageCount()));
     }},
    {"the site dialog's list", [](ChartState *, const std::string &path, const TempDir &) {
         SiteListState list{};
         const int result = siteListRead(path.c_str(), &list);
         siteListFree(&list);
         return refusedIf(result == 0, "result " + std::to_string(result));
     }},
    {"the star names", [](ChartState *, const std::string &path, const TempDir &) {
         loadStarNamesFrom(path.c_str());
         const bool builtIn = std::strcmp(starNames[0].localName, starNames[0].builtinName) == 0;
         return refusedIf(builtIn, std::string("first name '") + starNames[0].localName + "'");
     }},
    {"an element file for its dialog", [](ChartState *, const std::string &path, const TempDir &) {
         ElementList list{};
         const int result = elementListLoad(&list, path.c_str());
         elementListFree(&list);
         return refusedIf(result == kElementListNoFile, "result " + std::to_string(result));
     }},
    {"an element file for its index", [](ChartState *, const std::string &path, const TempDir &dir) {
         return refusedIf(catalogIndexBuildTo(path.c_str(), dir.file("index.dbm").c_str(), nullptr) == 0, "built");
     }},
    {"a name index", [](ChartState *, const std::string &path, const TempDir &) {
         int64_t offset;
         return refusedIf(catalogIndexAsk(path.c_str(), "HALLEY", &offset) == kIndexBroken, "answered");
     }},
    {"the star catalogue file", [](ChartState *, const std::string &path, const TempDir &) {
         return refusedIf(saoFileUsable(path.c_str()) == 0, "usable");
     }},
    {"the region table", [](ChartState *, const std::string &path, const TempDir &) {
         strCopyBounded(appData->gscRegionTableFile, sizeof appData->gscRegionTableFile, path.c_str());
         return refusedIf(gscLoadRegionTable() == 0, "loaded");
     }},
    {"the installed site list copied", [](ChartState *, const std::string &path, const TempDir &dir) {
         return refusedIf(envCopyFile(path.c_str(), dir.file("copy.obs").c_str()) == 0, "copied");
     }},
};

class SpecialFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        currentChart = &chart;
        uiHooksReset();
        uiHooksRecordMessages();
    }
    void TearDown() override
    {
        uiHooksReset();
        stkClearError();
    }

    TestChart owner;
    ChartState &chart = *owner;
    TempDir dir;
};

TEST_F(SpecialFiles, EveryReaderRefusesWhatIsNoRegularFileAtOnce)
{
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("folder");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const std::string full = dir.file("full");
    ASSERT_EQ(symlink("/dev/full", full.c_str()), 0);
    const struct {
        const char *name;
        std::string path;
    } files[] = {
        {"a FIFO without a writer", fifo},
        {"/dev/zero", "/dev/zero"},
        {"/dev/urandom", "/dev/urandom"},
        {"a directory", folder},
        {"a symbolic link to /dev/full", full},
    };
    for (const Reader &reader : kReaders)
        for (const auto &file : files) {
            SCOPED_TRACE(std::string(reader.name) + " given " + file.name);
            EXPECT_EQ(inChild([&] { return reader.read(&chart, file.path, dir); }, 512 * 1024), kRefused);
        }
}

// The Open and User Object dialogs asked access(R_OK), which a FIFO, a
// device or a directory passes: Open then ran nothing without a word and Add
// listed a file that LOAD AD could not read. Both now say they cannot open it.
TEST_F(SpecialFiles, TheOpenAndUserObjectDialogsRefuseWhatIsNoRegularFile)
{
    const std::string fifo = dir.file("fifo");
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    const std::string folder = dir.file("folder");
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    for (const std::string &path : {fifo, folder, std::string("/dev/zero")}) {
        DialogResult open;
        dialogResultClear(&open);
        openFileOk(path.c_str(), &chart, appData, &open);
        EXPECT_STREQ(open.messageResource, "messageCannotOpenFile") << path;
        EXPECT_STREQ(open.argument, path.c_str());
        EXPECT_EQ(open.commandCount, 0) << path;

        UserObjectPathList list{};
        DialogResult add;
        dialogResultClear(&add);
        EXPECT_EQ(userObjectListAdd(&list, path.c_str(), &add), 0) << path;
        EXPECT_STREQ(add.messageResource, "messageCannotOpenFile") << path;
        EXPECT_EQ(list.count, 0) << path;
        userObjectListFree(&list);
    }
}

// A regular file: head, then a line of `hole` NUL bytes taking no disk (a
// sparse file), then tail.
std::string fileWithHugeLine(const TempDir &dir, const std::string &name, const std::string &head, off_t hole,
                             const std::string &tail)
{
    const std::string path = dir.file(name);
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const std::string end = "\n" + tail;
    const bool ok = fd >= 0 && write(fd, head.data(), head.size()) == static_cast<ssize_t>(head.size()) &&
                    lseek(fd, hole, SEEK_CUR) >= 0 && write(fd, end.data(), end.size()) == static_cast<ssize_t>(end.size());
    if (fd >= 0)
        close(fd);
    return ok ? path : "";
}

std::string siteLine(const char *name, double latitude)
{
    Site site{};
    strCopyBounded(site.name, sizeof site.name, name);
    site.latitude = latitude;
    site.longitude = -0.5;
    site.altitude = 10;
    char line[kSiteLineLength + 1];
    return siteLineCompose(&site, line) ? line : "";
}

constexpr off_t kHugeLine = off_t{128} << 20; // bytes of the huge line
constexpr long kLineBoundKb = 32 * 1024;       // far less than the line

TEST_F(SpecialFiles, AHugeLineOfARegularFileIsReadWithinABound)
{
    struct Case {
        const char *name;
        std::string path;
        std::function<std::string(ChartState *chart, const std::string &path)> read;
        std::string expected;
    } cases[] = {
        {"click data: the line is skipped, the entries around it are read",
         fileWithHugeLine(dir, "a.cdf", ":MARS\n@TEXT red\n", kHugeLine, ":JUPITER\n@TEXT big\n"),
         [](ChartState *chart, const std::string &path) {
             strCopyBounded(appData->clickDataFile, sizeof appData->clickDataFile, path.c_str());
             if (!loadClickData(chart, path.c_str()))
                 return std::string("not loaded");
             char mars[16], jupiter[16];
             int image;
             clickDataText(chart, kPosBody, kObjectMars, mars, sizeof mars, &image);
             clickDataText(chart, kPosBody, kObjectJupiter, jupiter, sizeof jupiter, &image);
             return std::string(mars) + " " + jupiter;
         },
         "red big"},
        {"user objects: the line is refused as malformed",
         fileWithHugeLine(dir, "a.adf", "12.5 30 STAR 3.5 2 Vega 4\n", kHugeLine, "13 31 STAR 3 2 Deneb 4\n"),
         [](ChartState *chart, const std::string &path) {
             const int loaded = loadUserObjectFile(chart, path.c_str(), &chart->userObjectFiles,
                                                   &chart->userObjectFileCount, kUserObjectReportCommand);
             return std::to_string(loaded) + " " + appData->errorId;
         },
         "0 stkErrorInUserObjectFile"},
        {"site list: the line is skipped, the site after it is found",
         fileWithHugeLine(dir, "a.obs", siteLine("Here", 10.0), kHugeLine, siteLine("There", 20.0)),
         [](ChartState *, const std::string &path) {
             double where[3] = {}, zone;
             const int found = findSiteIn(path.c_str(), "There", where, &zone);
             return std::to_string(found) + " " + std::to_string(static_cast<int>(where[0]));
         },
         "1 20"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_FALSE(c.path.empty());
        EXPECT_EQ(inChild([&] { return c.read(&chart, c.path); }, kLineBoundKb), c.expected);
    }
}

} // namespace
