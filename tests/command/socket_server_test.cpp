// The TCP command port over real loopback sockets, without X: the server's
// input sources are watched by a small poll() loop in this file, which plays
// the toolkit's event loop, and clients are plain sockets in the same thread.
#include "command/socket_server.h"

#include <arpa/inet.h>
#include <linux/sockios.h>
#include <dirent.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

#include <csignal>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "command/interpreter.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/tcp_client.h"

namespace {

// --- the event loop's stand-in: input sources over poll() ---

struct Source {
    XtInputId id;
    int fd;
    ChartState *chart; // null for the listener
};
std::vector<Source> sources;
XtInputId nextSourceId = 1;

XtInputId watchListener(int fd)
{
    sources.push_back({nextSourceId, fd, nullptr});
    return nextSourceId++;
}

XtInputId watchClient(int fd, ChartState *chart)
{
    sources.push_back({nextSourceId, fd, chart});
    return nextSourceId++;
}

void unwatch(XtInputId id)
{
    for (size_t i = 0; i < sources.size(); i++)
        if (sources[i].id == id) {
            sources.erase(sources.begin() + static_cast<long>(i));
            return;
        }
    ADD_FAILURE() << "removed an input source that was not there: " << id;
}

bool watched(XtInputId id)
{
    for (const Source &s : sources)
        if (s.id == id)
            return true;
    return false;
}

// Runs the callbacks of the sources readable within waitMs; how many ran.
int pumpOnce(int waitMs)
{
    const std::vector<Source> now = sources;
    std::vector<pollfd> fds;
    for (const Source &s : now)
        fds.push_back({s.fd, POLLIN, 0});
    if (poll(fds.data(), fds.size(), waitMs) <= 0)
        return 0;
    int ran = 0;
    for (size_t i = 0; i < now.size(); i++) {
        if (!fds[i].revents || !watched(now[i].id))
            continue; // an earlier callback removed it
        if (now[i].chart)
            socketReadCb(now[i].chart);
        else
            socketAcceptCb();
        ran++;
    }
    return ran;
}

// Pumps until done() holds; false when it did not within about ten seconds
// (a stuck server fails the test instead of hanging it).
bool pumpUntil(const std::function<bool()> &done)
{
    for (int i = 0; i < 1000; i++) {
        if (done())
            return true;
        pumpOnce(10);
    }
    return done();
}

int pendingBytes(int fd, unsigned long request)
{
    int n = 0;
    return fd >= 0 && ioctl(fd, request, &n) == 0 ? n : 0;
}

// --- helpers ---

int openDescriptorCount()
{
    DIR *dir = opendir("/proc/self/fd");
    if (!dir)
        return -1;
    int n = 0;
    while (readdir(dir))
        n++;
    closedir(dir);
    return n;
}

std::string listenerAddress()
{
    sockaddr_in a = {};
    socklen_t len = sizeof a;
    if (getsockname(appData->listenFd, reinterpret_cast<sockaddr *>(&a), &len) != 0)
        return "none";
    char text[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, &a.sin_addr, text, sizeof text);
    return text;
}

const std::string kPrompt = "tavik> ";

bool endsWith(const std::string &s, const std::string &end)
{
    return s.size() >= end.size() && s.compare(s.size() - end.size(), end.size(), end) == 0;
}

// A client of the port in this thread; every wait pumps the server.
class Client {
public:
    // Connects; with a receive buffer of rcvbuf bytes when not 0.
    explicit Client(int port, int rcvbuf = 0)
    {
        fd_ = socket(AF_INET, SOCK_STREAM, 0);
        if (rcvbuf)
            setsockopt(fd_, SOL_SOCKET, SO_RCVBUF, &rcvbuf, sizeof rcvbuf);
        timeval limit = {10, 0};
        setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
        sockaddr_in a = tcpLoopbackAddress(port);
        connected_ = connect(fd_, reinterpret_cast<sockaddr *>(&a), sizeof a) == 0;
    }
    ~Client() { close(); }
    Client(const Client &) = delete;
    Client &operator=(const Client &) = delete;

    bool connected() const { return connected_; }
    int fd() const { return fd_; }

    void close()
    {
        if (fd_ >= 0)
            ::close(fd_);
        fd_ = -1;
    }
    // Closes with a reset instead of an orderly end.
    void reset()
    {
        linger l = {1, 0};
        setsockopt(fd_, SOL_SOCKET, SO_LINGER, &l, sizeof l);
        close();
    }

    bool send(const std::string &bytes)
    {
        return ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) ==
               static_cast<ssize_t>(bytes.size());
    }

    // Bytes up to and including the next prompt, or up to the end of file.
    std::string reply()
    {
        std::string got;
        pumpUntil([&] {
            receive(&got);
            return eof_ || endsWith(got, kPrompt);
        });
        return got;
    }

    // Sends one line and returns its reply.
    std::string say(const std::string &line)
    {
        send(line);
        return reply();
    }

    // Everything received until the server closes the connection; "<open>"
    // when it stays open.
    std::string untilEof()
    {
        std::string got;
        pumpUntil([&] {
            receive(&got);
            return eof_;
        });
        return eof_ ? got : got + "<open>";
    }

    // What has come so far, without waiting.
    std::string pending()
    {
        std::string got;
        receive(&got);
        return got;
    }

    // Waits until the server has read what this client sent and run it.
    void settle()
    {
        pumpUntil([&] {
            return pendingBytes(fd_, SIOCOUTQNSD) == 0 && pendingBytes(appData->clientFd, FIONREAD) == 0 &&
                   pumpOnce(0) == 0;
        });
    }

private:
    void receive(std::string *got)
    {
        char buf[8192];
        ssize_t n;
        while ((n = recv(fd_, buf, sizeof buf, MSG_DONTWAIT)) > 0)
            got->append(buf, static_cast<size_t>(n));
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK))
            eof_ = true;
    }

    int fd_ = -1;
    bool connected_ = false;
    bool eof_ = false;
};

class SocketServer : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::signal(SIGPIPE, SIG_DFL); // a send that raised it would end the test
        appDataSetDefaults();
        uiHooksRecordMessages();
        chart = new ChartState();
        chartStateSetDefaults(chart);
        savedChart = currentChart;
        currentChart = chart;
        sources.clear();
        socketInputs = SocketInputs{watchListener, watchClient, unwatch};
    }
    void TearDown() override
    {
        socketServerStop();
        EXPECT_TRUE(sources.empty()) << "input sources left after the server stopped";
        socketInputsReset();
        uiHooksReset();
        stkCommands = stkCommandTable;
        currentChart = savedChart;
        delete chart;
    }

    // Starts the server on a free loopback port.
    void start()
    {
        port = tcpFreePort();
        appData->socketPort = port;
        ASSERT_EQ(socketServerStart(), 1);
    }

    ChartState *chart = nullptr;
    ChartState *savedChart = nullptr;
    int port = 0;
};

// --- transcripts ---

struct TranscriptCase {
    const char *name;
    std::string sent;   // in one write
    std::string reply;  // up to the prompt, or to the end of file ("" then)
    bool closes;        // the server closed the connection
    int mirror;         // the chart's mirror afterwards
};

const TranscriptCase kTranscripts[] = {
    {"unknown command gets its error then the prompt", "XYZ\n", "XYZ: Syntax Error: XYZ\ntavik> ", false,
     0},
    {"only the last statement's error is sent", "XYZ;MAG STAR 6\n", "tavik> ", false, 0},
    {"a failing last statement after a good one", "MIRROR 2;MIRROR 7\n",
     "MIRROR: Illegal Parameter: 7\ntavik> ", false, 2},
    {"empty line gets the prompt only", "\n", "tavik> ", false, 0},
    {"bye in capitals with CR LF closes without a reply", "BYE\r\n", "", true, 0},
    {"bye in any case closes", "bYe\n", "", true, 0},
    // Where a stream is cut into reads is chance: every line sent runs.
    {"second line in one write runs too", "MIRROR 2\nXYZ\n", "tavik> XYZ: Syntax Error: XYZ\ntavik> ", false, 2},
    {"LF then CR LF: two lines", "MIRROR 2\nMIRROR 1\r\n", "tavik> tavik> ", false, 1},
    {"CR then LF: two lines", "MIRROR 1\rMIRROR 2\n", "tavik> tavik> ", false, 2},
    {"bytes after a NUL are not part of the text", std::string("MIRROR 1\0MIRROR 2\n", 18), "tavik> ",
     false, 1},
    {"a line of 259 characters runs",
     "MIRROR 2;" + std::string(250, ' ') + "\n", "tavik> ", false, 2},
};

TEST_F(SocketServer, Transcripts)
{
    start();
    for (const TranscriptCase &c : kTranscripts) {
        SCOPED_TRACE(c.name);
        chart->mirror = kMirrorNormal;
        Client client(port);
        ASSERT_TRUE(client.connected());
        EXPECT_EQ(client.reply(), kPrompt);
        client.send(c.sent);
        if (c.closes) {
            EXPECT_EQ(client.untilEof(), "");
            EXPECT_EQ(appData->clientFd, -1);
        } else {
            EXPECT_EQ(client.reply(), c.reply);
            EXPECT_EQ(client.say("bye\n"), "");
        }
        EXPECT_EQ(chart->mirror, c.mirror);
    }
    EXPECT_EQ(uiHooksRecordedMessageCount(), 0) << "a client's error was shown in a box";
}

TEST_F(SocketServer, ALineRunsOnTheChartAndTheStarLimitFollows)
{
    start();
    ASSERT_NE(chart->fixedLimit, 60);
    Client client(port);
    client.reply();
    EXPECT_EQ(client.say("MAG STAR 6\n"), kPrompt);
    EXPECT_EQ(chart->fixedLimit, 60);
    EXPECT_EQ(appData->commandFromSocket, 0);
}

TEST_F(SocketServer, OneClientAtATimeAndTheSlotIsFreedByBye)
{
    start();
    Client first(port);
    EXPECT_EQ(first.reply(), kPrompt);
    Client second(port);
    ASSERT_TRUE(second.connected());
    EXPECT_EQ(second.untilEof(), "") << "a second client gets no byte";
    EXPECT_EQ(first.say("MIRROR 2\n"), kPrompt) << "the first is still served";
    EXPECT_EQ(first.say("bye\n"), "");

    Client third(port);
    EXPECT_EQ(third.reply(), kPrompt);
    EXPECT_EQ(third.say("XYZ\n"), "XYZ: Syntax Error: XYZ\ntavik> ");
}

// --- hostile clients ---

struct HostileCase {
    const char *name;
    std::function<void(int port, ChartState *chart)> run;
};

const std::string kTooLong260 =
    "AAAAAAAAAAAAAAAAAAAAAAAA...: Command text too long (260 characters, at most 259); nothing was run.\n" +
    kPrompt;

const HostileCase kHostile[] = {
    {"260-character line gets the too-long reply",
     [](int port, ChartState *) {
         Client c(port);
         c.reply();
         EXPECT_EQ(c.say(std::string(260, 'A') + "\n"), kTooLong260);
     }},
    {"4096 bytes without a line end: refused, and the tail up to LF never runs",
     [](int port, ChartState *chart) {
         Client c(port);
         c.reply();
         EXPECT_EQ(c.say(std::string(kSocketReadSize, 'M')),
                   "MMMMMMMMMMMMMMMMMMMMMMMM...: Command text too long (4096 characters, at most 259); "
                   "nothing was run.\n" +
                       kPrompt);
         c.send("MIRROR 2\n");
         c.settle();
         EXPECT_EQ(chart->mirror, 0);
         EXPECT_EQ(c.say("XYZ\n"), "XYZ: Syntax Error: XYZ\ntavik> ") << "lines run again after the LF";
     }},
    {"4096 bytes holding a NUL are refused whole",
     [](int port, ChartState *chart) {
         Client c(port);
         c.reply();
         std::string bytes = "MIRROR 2" + std::string(1, '\0') + std::string(kSocketReadSize - 9, 'x');
         EXPECT_NE(c.say(bytes).find("Command text too long (4096 characters"), std::string::npos);
         EXPECT_EQ(chart->mirror, 0);
     }},
    {"10,000 bytes without a line end, then gone",
     [](int port, ChartState *) {
         Client c(port);
         c.reply();
         c.send(std::string(10000, 'z'));
         EXPECT_NE(c.reply().find("Command text too long"), std::string::npos);
         c.settle();
     }},
    {"NUL and every byte 0x80-0xFF",
     [](int port, ChartState *) {
         Client c(port);
         c.reply();
         std::string high = "XYZ";
         for (int b = 0x80; b <= 0xFF; b++)
             high += static_cast<char>(b);
         std::string r = c.say(high + "\n");
         EXPECT_EQ(r.compare(0, 3, "XYZ"), 0) << r;
         EXPECT_NE(r.find(": Syntax Error: XYZ"), std::string::npos) << r;
         EXPECT_TRUE(endsWith(r, "\n" + kPrompt)) << r;
         EXPECT_EQ(c.say(std::string("\0\n", 2)), kPrompt);
         EXPECT_EQ(c.say(std::string("X\0YZ\n", 5)), "X: Syntax Error: X\n" + kPrompt);
     }},
    {"disconnect right after a failing line: the reply meets a closed peer",
     [](int port, ChartState *) {
         Client c(port);
         c.reply();
         c.send("XYZ\n");
         c.close();
         pumpUntil([] { return appData->clientFd < 0; });
     }},
    {"reset right after a failing line",
     [](int port, ChartState *) {
         Client c(port);
         c.reply();
         c.send("XYZ\n");
         c.reset();
         pumpUntil([] { return appData->clientFd < 0; });
     }},
    {"reset before the server accepts: the prompt meets a reset peer",
     [](int port, ChartState *) {
         Client c(port);
         c.reset();
         pumpUntil([] { return appData->clientFd < 0 && pumpOnce(0) == 0; });
     }},
    {"never reads with a small receive buffer: dropped when the replies back up",
     [](int port, ChartState *) {
         Client c(port, 1024);
         c.reply();
         // Long unknown words: each reply is close to the longest message.
         const std::string line = std::string(120, 'Q') + "\n";
         long lines = 0;
         while (appData->clientFd >= 0 && lines < 500000) {
             if (!c.send(line))
                 break; // the server has already let go
             lines++;
             c.settle();
         }
         pumpUntil([] { return appData->clientFd < 0; });
         EXPECT_EQ(appData->clientFd, -1) << "still served after " << lines << " unread replies";
     }},
    {"silent client held open while a key binding runs a command",
     [](int port, ChartState *chart) {
         Client silent(port);
         EXPECT_EQ(silent.reply(), kPrompt);
         stkExecuteCall(chart, "MIRROR 2;XYZ");
         EXPECT_EQ(chart->mirror, 2);
         ASSERT_EQ(uiHooksRecordedMessageCount(), 1) << "the key's error is shown, not sent";
         EXPECT_STREQ(uiHooksRecordedMessageText(0), "XYZ: Syntax Error: XYZ");
         silent.settle();
         Client other(port);
         EXPECT_EQ(other.untilEof(), "");
     }},
    {"100 connections in a row, half closing at once, half after a line",
     [](int port, ChartState *) {
         for (int i = 0; i < 100; i++) {
             Client c(port);
             ASSERT_TRUE(c.connected()) << i;
             if (i % 2 == 0) {
                 c.close();
                 pumpUntil([] { return appData->clientFd < 0 && pumpOnce(0) == 0; });
             } else {
                 EXPECT_EQ(c.reply(), kPrompt) << i;
                 EXPECT_EQ(c.say("XYZ\n"), "XYZ: Syntax Error: XYZ\ntavik> ") << i;
                 c.close();
                 pumpUntil([] { return appData->clientFd < 0; });
             }
         }
     }},
};

TEST_F(SocketServer, HostileClientsLeaveTheServerServingAndNothingOpen)
{
    start();
    for (const HostileCase &c : kHostile) {
        SCOPED_TRACE(c.name);
        chart->mirror = kMirrorNormal;
        uiHooksRecordMessages();
        const int before = openDescriptorCount();
        c.run(port, chart);
        pumpUntil([] { return appData->clientFd < 0 && pumpOnce(0) == 0; });

        // A fresh client is served from a clean slate: its first line runs.
        ASSERT_GE(appData->listenFd, 0);
        {
            Client fresh(port);
            EXPECT_EQ(fresh.reply(), kPrompt);
            EXPECT_EQ(fresh.say("MIRROR 1\n"), kPrompt);
            EXPECT_EQ(chart->mirror, 1);
            EXPECT_EQ(fresh.say("bye\n"), "");
        }
        EXPECT_EQ(openDescriptorCount(), before) << "descriptor leaked";
        EXPECT_EQ(sources.size(), 1u) << "only the listener is watched";
    }
}

// --- re-entry: lines whose handlers run nested event loops ---

// The question of a line: what the test does while it is open.
std::function<void()> duringQuestion;
void questionQuit(int)
{
    if (duringQuestion)
        duringQuestion();
}

TEST_F(SocketServer, WhileALineWaitsInAQuestionNeitherTheNextLineNorASecondClientIsServed)
{
    start();
    Client first(port);
    first.reply();
    bool asked = false;
    duringQuestion = [&] {
        asked = true;
        EXPECT_EQ(appData->clientInputId, 0u) << "the client is still watched";
        first.send("MIRROR 2\n");
        Client second(port);
        EXPECT_EQ(second.untilEof(), "") << "second client during the question";
        pumpUntil([&] { return pendingBytes(appData->clientFd, FIONREAD) > 0 && pumpOnce(0) == 0; });
        EXPECT_EQ(chart->mirror, 0) << "the next line ran under the question";
    };
    uiHooks.appQuit = questionQuit; // the refused quit returns
    EXPECT_EQ(first.say("EXIT\n"), kPrompt);
    EXPECT_TRUE(asked);
    EXPECT_EQ(first.reply(), kPrompt) << "the waiting line runs after the question";
    EXPECT_EQ(chart->mirror, 2);
    duringQuestion = nullptr;
}

TEST_F(SocketServer, ALineThatStopsTheServerGetsNoReplyAndLeavesNoSource)
{
    start();
    const int before = openDescriptorCount();
    Client client(port);
    client.reply();
    duringQuestion = [] { socketServerStop(); }; // the accepted quit, before its exit
    uiHooks.appQuit = questionQuit;
    client.send("EXIT\n");
    EXPECT_EQ(client.untilEof(), "");
    EXPECT_TRUE(sources.empty());
    EXPECT_EQ(appData->listenFd, -1);
    EXPECT_EQ(appData->clientFd, -1);
    client.close();
    EXPECT_EQ(openDescriptorCount(), before - 1) << "the listener is closed too";
    duringQuestion = nullptr;
}

// --- lines split over reads ---

// The commands a line ran, as "WORD p1,p2,...", in order.
std::vector<std::string> commandsRun;
const char *const kRecordedWords[] = {"DATE", "MIRROR"};
template <int Word> void recordCommand(ChartState *, char **params)
{
    std::string text = kRecordedWords[Word];
    for (int i = 0; i < kStkMaxParams && params[i]; i++)
        text += (i ? "," : " ") + std::string(params[i]);
    commandsRun.push_back(text);
}
const CommandEntry kRecordingCommands[] = {
    {"DATE", recordCommand<0>, -1, 1},
    {"MIRROR", recordCommand<1>, -1, 1},
    {nullptr, nullptr, 0, 0},
};

struct SplitCase {
    const char *name;
    std::vector<std::string> reads; // each reaches the server as one read
    std::vector<std::string> ran;   // the commands run, in order
    std::string replies;            // all the client received after its first prompt
    bool closes;                    // the server closed the connection after the last read
};

const std::string kTooLongA4096 =
    "AAAAAAAAAAAAAAAAAAAAAAAA...: Command text too long (4096 characters, at most 259); nothing was run.\n";

const SplitCase kSplits[] = {
    {"a line in two reads runs once, whole", {"DATE 19", "99,12,31\n"}, {"DATE 1999,12,31"}, "tavik> ", false},
    {"one byte a read runs the line once",
     {"M", "I", "R", "R", "O", "R", " ", "2", "\n"}, {"MIRROR 2"}, "tavik> ", false},
    {"a line's end and the next line's start in one read",
     {"MIRROR 2\nDATE 19", "99\n"}, {"MIRROR 2", "DATE 1999"}, "tavik> tavik> ", false},
    {"two lines in one read both run, each with its prompt",
     {"MIRROR 2\nMIRROR 1\n"}, {"MIRROR 2", "MIRROR 1"}, "tavik> tavik> ", false},
    {"a CR ends a line", {"MIRROR 2\rMIRROR 1\r"}, {"MIRROR 2", "MIRROR 1"}, "tavik> tavik> ", false},
    {"CR LF split over two reads is one line end", {"MIRROR 2\r", "\nMIRROR 1\n"}, {"MIRROR 2", "MIRROR 1"},
     "tavik> tavik> ", false},
    {"two LFs are an empty line: a prompt of its own", {"MIRROR 2\n\n"}, {"MIRROR 2"}, "tavik> tavik> ", false},
    {"a line without its end waits for it", {"MIRROR 2"}, {}, "", false},
    {"an unfinished line never runs when the client goes", {"DATE 19", "<close>"}, {}, "", true},
    {"bye split over reads closes", {"by", "e\r\n"}, {}, "", true},
    {"bye without its end waits", {"bye"}, {}, "", false},
    {"a line after bye in the same read never runs", {"bye\nMIRROR 2\n"}, {}, "", true},
    {"4096 bytes without an end over two reads are refused; the tail to the LF is dropped",
     {std::string(2000, 'A'), std::string(2096, 'A'), "MIRROR 2\n", "MIRROR 1\n"}, {"MIRROR 1"},
     kTooLongA4096 + "tavik> tavik> ", false},
    {"4095 bytes and an LF over reads are one line, too long to run",
     {std::string(4000, 'B'), std::string(95, 'B') + "\nMIRROR 1\n"}, {"MIRROR 1"},
     "BBBBBBBBBBBBBBBBBBBBBBBB...: Command text too long (4095 characters, at most 259); nothing was "
     "run.\ntavik> tavik> ",
     false},
};

TEST_F(SocketServer, LinesSplitOverReadsRunOnceWhole)
{
    start();
    stkCommands = kRecordingCommands;
    for (const SplitCase &c : kSplits) {
        SCOPED_TRACE(c.name);
        commandsRun.clear();
        Client client(port);
        ASSERT_EQ(client.reply(), kPrompt);
        int nodelay = 1; // each write its own segment
        setsockopt(client.fd(), IPPROTO_TCP, TCP_NODELAY, &nodelay, sizeof nodelay);
        std::string got;
        for (const std::string &read : c.reads) {
            if (read == "<close>") {
                client.close();
                pumpUntil([] { return appData->clientFd < 0; });
                break;
            }
            ASSERT_TRUE(client.send(read));
            client.settle(); // read and handled before the next bytes go
            got += client.pending();
        }
        EXPECT_EQ(commandsRun, c.ran);
        EXPECT_EQ(got, c.replies);
        if (c.closes) {
            EXPECT_EQ(appData->clientFd, -1);
        } else {
            EXPECT_GE(appData->clientFd, 0);
            client.send("\nbye\n");
            pumpUntil([] { return appData->clientFd < 0; });
        }
    }
}

// The framing step alone, over one client's reads.
struct TakeCase {
    const char *name;
    std::vector<std::string> reads; // in order, for one client
    std::vector<std::string> seen;  // per read: its lines, "<too long>" for a refusal, "|" between them
};

const TakeCase kTakes[] = {
    {"tail of a refused line dropped across reads up to its LF, then the rest of that read runs",
     {std::string(kSocketReadSize, 'a'), std::string(kSocketReadSize, 'b'), "cc\ndd\n", "ee\n"},
     {"<too long>", "", "dd", "ee"}},
    {"a CR does not end the dropping, an LF does",
     {std::string(kSocketReadSize, 'a'), "x\ry\r", "z\nok"}, {"<too long>", "", ""}},
    {"4095 bytes without an end wait; the LF makes them a line",
     {std::string(kSocketReadSize - 1, 'a'), "\n"}, {"", std::string(kSocketReadSize - 1, 'a')}},
    {"4096 bytes ending in LF are a line", {std::string(kSocketReadSize - 1, 'a') + "\n"},
     {std::string(kSocketReadSize - 1, 'a')}},
    {"empty lines", {"\r\n\n"}, {"|"}},
    {"an LF after a CR in the next read", {"x\r", "\ny\r", "z\n"}, {"x", "y", "z"}},
};

TEST(SocketTakeLine, FramingAcrossReads)
{
    for (const TakeCase &c : kTakes) {
        SCOPED_TRACE(c.name);
        SocketLineBuffer buffer;
        socketLineBufferReset(&buffer);
        for (size_t i = 0; i < c.reads.size(); i++) {
            ASSERT_LE(c.reads[i].size(), kSocketReadSize - buffer.length) << "more than a read takes";
            std::memcpy(buffer.bytes + buffer.length, c.reads[i].data(), c.reads[i].size());
            buffer.length += c.reads[i].size();
            std::string seen;
            char *line;
            size_t length;
            SocketLineKind kind;
            for (int k = 0; (kind = socketTakeLine(&buffer, &line, &length)) != SocketLineKind::NeedMore; k++) {
                seen += (k ? "|" : "") + (kind == SocketLineKind::TooLong ? "<too long>" : std::string(line, length));
            }
            EXPECT_EQ(seen, c.seen[i]) << "read " << i;
        }
    }
}

// --- start ---

struct StartCase {
    const char *name;
    int port;            // 0: a free one
    const char *address; // option SocketAddress
    const char *message; // on standard error
};

const StartCase kRefusedStarts[] = {
    {"port above 65535 is not cut to 16 bits", 70000, "", "socket port 70000 out of range.\n"},
    {"port 65536 would wrap to 0", 65536, "", "socket port 65536 out of range.\n"},
    {"negative port", -1, "", "socket port -1 out of range.\n"},
    {"a name that is not hostname", 0, "localhost", "localhost: host unknown.\n"},
    {"three-part address", 0, "127.1", "127.1: host unknown.\n"},
    {"address part above 255", 0, "127.0.0.256", "127.0.0.256: host unknown.\n"},
    {"IPv6 address", 0, "::1", "::1: host unknown.\n"},
};

TEST_F(SocketServer, RefusedStartsSayWhyAndOpenNothing)
{
    for (const StartCase &c : kRefusedStarts) {
        SCOPED_TRACE(c.name);
        const int before = openDescriptorCount();
        appData->socketPort = c.port ? c.port : tcpFreePort();
        std::snprintf(appData->socketAddress, sizeof appData->socketAddress, "%s", c.address);
        testing::internal::CaptureStderr();
        EXPECT_EQ(socketServerStart(), 0);
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.message);
        EXPECT_EQ(appData->listenFd, -1);
        EXPECT_TRUE(sources.empty());
        EXPECT_EQ(openDescriptorCount(), before);
    }
}

TEST_F(SocketServer, PortInUseIsABindFailure)
{
    int taken = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = tcpLoopbackAddress(0);
    socklen_t len = sizeof a;
    ASSERT_EQ(bind(taken, reinterpret_cast<sockaddr *>(&a), sizeof a), 0);
    ASSERT_EQ(listen(taken, 1), 0);
    ASSERT_EQ(getsockname(taken, reinterpret_cast<sockaddr *>(&a), &len), 0);
    const int before = openDescriptorCount();
    appData->socketPort = ntohs(a.sin_port);
    testing::internal::CaptureStderr();
    EXPECT_EQ(socketServerStart(), 0);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "socket bind failed.\n");
    EXPECT_EQ(appData->listenFd, -1);
    EXPECT_EQ(openDescriptorCount(), before);
    close(taken);
}

TEST_F(SocketServer, ListensOnLoopbackUnlessToldOtherwise)
{
    start();
    EXPECT_EQ(listenerAddress(), "127.0.0.1") << "default";
    socketServerStop();

    std::snprintf(appData->socketAddress, sizeof appData->socketAddress, "127.0.0.1");
    start();
    EXPECT_EQ(listenerAddress(), "127.0.0.1") << "dotted address";
}

TEST_F(SocketServer, HostnameBindsTheHostNamesFirstAddress)
{
    // What the resolver gives for the host name, through the older call.
    char host[256] = {};
    gethostname(host, sizeof host - 1);
    hostent *h = gethostbyname(host);
    std::snprintf(appData->socketAddress, sizeof appData->socketAddress, "HostName");
    appData->socketPort = tcpFreePort();
    testing::internal::CaptureStderr();
    int started = socketServerStart();
    std::string err = testing::internal::GetCapturedStderr();
    if (!h || h->h_addrtype != AF_INET) {
        EXPECT_EQ(started, 0);
        EXPECT_EQ(err, std::string(host) + ": host unknown.\n");
        return;
    }
    char expected[INET_ADDRSTRLEN] = {};
    inet_ntop(AF_INET, h->h_addr_list[0], expected, sizeof expected);
    ASSERT_EQ(started, 1) << err;
    EXPECT_EQ(listenerAddress(), expected);
}

TEST(SocketListenAddress, ReadsTheOption)
{
    struct Case {
        const char *option;
        const char *address; // null: refused
    } cases[] = {
        {"", "127.0.0.1"},         {"10.1.2.3", "10.1.2.3"}, {"0.0.0.0", "0.0.0.0"},
        {"10.1.2.3x", nullptr},    {" 10.1.2.3", nullptr},   {"hostnames", nullptr},
        {"0x7f.0.0.1", nullptr},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.option);
        uint32_t address = 0;
        testing::internal::CaptureStderr();
        int ok = socketListenAddress(c.option, &address);
        std::string err = testing::internal::GetCapturedStderr();
        if (!c.address) {
            EXPECT_EQ(ok, 0);
            EXPECT_EQ(err, std::string(c.option) + ": host unknown.\n");
            continue;
        }
        ASSERT_EQ(ok, 1);
        char text[INET_ADDRSTRLEN] = {};
        inet_ntop(AF_INET, &address, text, sizeof text);
        EXPECT_STREQ(text, c.address);
        EXPECT_EQ(err, "");
    }
}

} // namespace
