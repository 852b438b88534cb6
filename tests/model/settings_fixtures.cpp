#include "tests/model/settings_fixtures.h"

#include <cstring>
#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

int runWithReadOnlyDir(const std::string &dir, const std::function<int()> &step)
{
    struct stat st;
    if (stat(dir.c_str(), &st) != 0)
        return -1;
    chmod(dir.c_str(), 0555);
    int result = runInChild([&] {
        // Root writes anywhere; an ordinary user (nobody) does not.
        if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0))
            return 102;
        return step();
    });
    chmod(dir.c_str(), st.st_mode & 07777);
    return result;
}

int runAsOrdinaryUser(const std::string &dir, const std::function<int()> &step)
{
    const uid_t nobody = 65534;
    if (geteuid() == 0) {
        DIR *d = opendir(dir.c_str());
        if (!d || lchown(dir.c_str(), nobody, nobody) != 0)
            return -1;
        for (struct dirent *e; (e = readdir(d));)
            if (std::strcmp(e->d_name, ".") != 0 && std::strcmp(e->d_name, "..") != 0 &&
                lchown((dir + "/" + e->d_name).c_str(), nobody, nobody) != 0)
                return -1;
        closedir(d);
    }
    return runInChild([&] {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            return 102;
        return step();
    });
}

bool pathExists(const std::string &path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}
