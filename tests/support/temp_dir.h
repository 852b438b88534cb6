// A scratch directory for one test, removed with everything in it afterwards.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::string &path() const { return path_; }
    // path() + "/" + name
    std::string file(const std::string &name) const;
    // Writes text to path() + "/" + name and returns that path.
    std::string write(const std::string &name, const std::string &text) const;

private:
    std::string path_;
};

// Reads a whole file; empty when it cannot be read.
std::string readFile(const std::string &path);
