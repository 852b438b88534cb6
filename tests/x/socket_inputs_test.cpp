// The TCP server on the toolkit's own event loop: its descriptors as Xt input
// sources, next to a timer, with clients in another thread.
#include <gtest/gtest.h> // before the X headers, whose None and Bool macros it cannot take

#include "ui/app/socket_inputs.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <string>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

#include "command/socket_server.h"
#include "model/app_data.h"
#include "model/chart_state.h"
#include "model/ui_hooks.h"
#include "tests/support/tcp_client.h"
#include "tests/support/test_chart.h"

namespace {

std::atomic<long> timerTicks{0};

void tick(XtPointer client, XtIntervalId *)
{
    timerTicks++;
    XtAppAddTimeOut(static_cast<XtAppContext>(client), 1, tick, client);
}

class SocketInputsXt : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::signal(SIGPIPE, SIG_DFL);
        uiHooksRecordMessages();
        savedChart = currentChart;
        currentChart = chart;
        XtToolkitInitialize();
        app = XtCreateApplicationContext();
        socketInputsUse(app);
        port = tcpFreePort();
        appData->socketPort = port;
        ASSERT_EQ(socketServerStart(), 1);
    }
    void TearDown() override
    {
        socketServerStop();
        socketInputsReset();
        XtDestroyApplicationContext(app);
        uiHooksReset();
        currentChart = savedChart;
    }

    // Runs the event loop until the client thread says it is done; a timer
    // wakes the loop, which may wait for input when the last one came
    // before the client said so.
    void runUntil(const std::atomic<bool> &done)
    {
        XtAppAddTimeOut(app, 10, wake, app);
        while (!done)
            XtAppProcessEvent(app, XtIMTimer | XtIMAlternateInput);
    }
    static void wake(XtPointer client, XtIntervalId *)
    {
        XtAppAddTimeOut(static_cast<XtAppContext>(client), 10, wake, client);
    }

    XtAppContext app = nullptr;
    TestChart owner;
    ChartState *chart = owner.get();
    ChartState *savedChart = nullptr;
    int port = 0;
};

TEST_F(SocketInputsXt, LinesRunOnTheChartGivenToTheClientsSource)
{
    std::atomic<bool> done{false};
    std::string prompt, syntax, good, bye, second;
    std::thread client([&] {
        int fd = tcpConnectLoopback(port);
        prompt = tcpReadReply(fd);
        int other = tcpConnectLoopback(port);
        second = tcpReadToEof(other);
        close(other);
        tcpSend(fd, "XYZ\n");
        syntax = tcpReadReply(fd);
        tcpSend(fd, "MIRROR 2\n");
        good = tcpReadReply(fd);
        tcpSend(fd, "bye\r\n");
        bye = tcpReadToEof(fd);
        close(fd);
        done = true;
    });
    runUntil(done);
    client.join();
    EXPECT_EQ(prompt, "tavik> ");
    EXPECT_EQ(second, "");
    EXPECT_EQ(syntax, "XYZ: Syntax Error: XYZ\ntavik> ");
    EXPECT_EQ(good, "tavik> ");
    EXPECT_EQ(chart->mirror, 2);
    EXPECT_EQ(bye, "");
    EXPECT_EQ(appData->clientFd, -1);
}

TEST_F(SocketInputsXt, AClientThatNeverReadsIsDroppedWhileATimerKeepsFiring)
{
    XtAppAddTimeOut(app, 1, tick, app);
    std::atomic<bool> done{false}, flooding{false}, dropped{false};
    std::atomic<long> ticksAtStart{0};
    std::thread client([&] {
        int fd = tcpConnectLoopback(port, 20000, 1024);
        tcpReadReply(fd);
        ticksAtStart = timerTicks.load();
        flooding = true;
        const std::string line = std::string(120, 'Q') + "\n";
        for (long i = 0; i < 2000000; i++) {
            if (send(fd, line.data(), line.size(), MSG_NOSIGNAL) < 0) {
                dropped = errno == EPIPE || errno == ECONNRESET;
                break;
            }
        }
        // Whatever happened, read the replies so a stuck server comes free.
        tcpReadToEof(fd);
        close(fd);
        done = true;
    });
    runUntil(done);
    client.join();
    EXPECT_TRUE(dropped) << "the client was still served";
    EXPECT_EQ(appData->clientFd, -1);
    EXPECT_GT(timerTicks.load(), ticksAtStart.load()) << "the timer stopped while replies backed up";
}

} // namespace
