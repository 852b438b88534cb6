#include "tests/support/child_process.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

int runInChild(const std::function<int()> &step)
{
    pid_t pid = fork();
    if (pid < 0)
        return -1;
    if (pid == 0)
        _exit(step());
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status))
        return -1;
    return WEXITSTATUS(status);
}

int runWithFileSizeLimit(long bytes, const std::function<int()> &step)
{
    return runInChild([&] {
        // Without this the first write past the limit kills the child.
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit;
        if (getrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 100;
        limit.rlim_cur = static_cast<rlim_t>(bytes);
        if (setrlimit(RLIMIT_FSIZE, &limit) != 0)
            return 101;
        return step();
    });
}
