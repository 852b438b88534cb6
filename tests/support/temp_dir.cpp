#include "tests/support/temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <ftw.h>
#include <unistd.h>

TempDir::TempDir()
{
    const char *base = std::getenv("TMPDIR");
    std::string pattern = std::string(base && *base ? base : "/tmp") + "/tavik-test-XXXXXX";
    std::string buf = pattern;
    if (!mkdtemp(&buf[0]))
        throw std::runtime_error("mkdtemp failed");
    path_ = buf;
}

static int removeEntry(const char *path, const struct stat *, int, struct FTW *)
{
    return std::remove(path);
}

TempDir::~TempDir()
{
    nftw(path_.c_str(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
}

std::string TempDir::file(const std::string &name) const
{
    return path_ + "/" + name;
}

std::string TempDir::write(const std::string &name, const std::string &text) const
{
    std::string p = file(name);
    std::ofstream out(p, std::ios::binary);
    out << text;
    return p;
}

std::string readFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}
