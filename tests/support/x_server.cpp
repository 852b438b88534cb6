#include "tests/support/x_server.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <cstdio>
#include <fcntl.h>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

XServer::XServer(int width, int height, int depth)
{
    int fds[2];
    if (pipe(fds) != 0) {
        why_ = "pipe failed";
        return;
    }
    char screen[64];
    std::snprintf(screen, sizeof screen, "%dx%dx%d", width, height, depth);
    char fdText[16];
    std::snprintf(fdText, sizeof fdText, "%d", fds[1]);

    const pid_t parent = getpid();
    pid_t pid = fork();
    if (pid < 0) {
        why_ = "fork failed";
        close(fds[0]);
        close(fds[1]);
        return;
    }
    if (pid == 0) {
        // The server goes with the test program however it ends (a crash,
        // an abort, a killed timeout, a suite that never deletes it): no
        // Xvfb outlives the run.
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != parent)
            _exit(1);
        close(fds[0]);
        int devnull = open("/dev/null", O_RDWR);
        if (devnull >= 0) {
            dup2(devnull, 0);
            dup2(devnull, 1);
            dup2(devnull, 2);
        }
        // -displayfd: the server takes a free display number and writes it
        // to the pipe once it accepts connections.
        execlp("Xvfb", "Xvfb", "-displayfd", fdText, "-screen", "0", screen, "-nolisten", "tcp",
               "-noreset", static_cast<char *>(nullptr));
        _exit(127);
    }
    pid_ = pid;
    close(fds[1]);

    std::string number;
    struct pollfd p = {fds[0], POLLIN, 0};
    for (;;) {
        int r = poll(&p, 1, 20000);
        if (r < 0 && errno == EINTR)
            continue;
        if (r <= 0)
            break;
        char c;
        ssize_t n = read(fds[0], &c, 1);
        if (n <= 0 || c == '\n')
            break;
        number += c;
    }
    close(fds[0]);
    if (number.empty()) {
        why_ = "Xvfb did not start";
        return;
    }
    name_ = ":" + number;
    display_ = XOpenDisplay(name_.c_str());
    if (!display_)
        why_ = "cannot open " + name_;
}

XServer::~XServer()
{
    if (display_)
        XCloseDisplay(display_);
    if (pid_ > 0) {
        // Xvfb now and then sleeps through a SIGTERM that lands while it has
        // signals blocked; a test must never wait for it for ever.
        kill(pid_, SIGTERM);
        int status;
        for (int i = 0; i < 100 && waitpid(pid_, &status, WNOHANG) == 0; i++)
            usleep(20000);
        if (waitpid(pid_, &status, WNOHANG) == 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, &status, 0);
        }
    }
}

