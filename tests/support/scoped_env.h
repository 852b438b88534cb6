// An environment variable set for one test (and the programs it starts),
// put back as it was afterwards.
#pragma once

#include <string>

class ScopedEnv {
public:
    ScopedEnv(const char *name, const char *value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv &) = delete;
    ScopedEnv &operator=(const ScopedEnv &) = delete;

private:
    std::string name_;
    bool had_ = false;
    std::string old_;
};
