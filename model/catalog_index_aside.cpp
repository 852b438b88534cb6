// Building an index aside: start-up finds an index stale and builds it in a
// child process while it goes on to its first chart; whatever reads or
// builds that index first waits for the child.
#include "model/catalog_index.h"

#include <cerrno>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

struct AsideBuild {
    std::string indexFile;
    pid_t pid;
};

// The builds still running, or ended and not yet waited for.
std::vector<AsideBuild> &asideBuilds()
{
    static std::vector<AsideBuild> builds;
    return builds;
}

} // namespace

int (*catalogIndexBuilder)(const char *elementFile, const char *indexFile) = catalogIndexBuild;

int catalogIndexBuildAside(const char *elementFile, const char *indexFile)
{
    catalogIndexAwait(indexFile);
    std::fflush(stdout);
    std::fflush(stderr);
    const pid_t pid = fork();
    if (pid < 0)
        return catalogIndexBuild(elementFile, indexFile);
    if (pid == 0) {
        // The child keeps only its output: the program's X connection and
        // other descriptors closed here, so a program that quits while the
        // child works is gone from the server at once.
        const long most = sysconf(_SC_OPEN_MAX);
        for (int fd = 3; fd < (most > 0 && most < 65536 ? most : 65536); ++fd)
            close(fd);
        _exit(catalogIndexBuild(elementFile, indexFile) ? 0 : 1);
    }
    asideBuilds().push_back(AsideBuild{indexFile, pid});
    return 1;
}

void catalogIndexAwait(const char *indexFile)
{
    std::vector<AsideBuild> &builds = asideBuilds();
    for (size_t i = 0; i < builds.size();) {
        const bool wanted = indexFile != nullptr && builds[i].indexFile == indexFile;
        int status = 0;
        pid_t r;
        do
            r = waitpid(builds[i].pid, &status, wanted ? 0 : WNOHANG);
        while (r < 0 && errno == EINTR);
        if (r == 0) { // still building another index
            ++i;
            continue;
        }
        builds.erase(builds.begin() + static_cast<long>(i));
    }
}
