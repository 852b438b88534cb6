// Helpers shared by the settings tests: running a step in a child process
// under limits the test process itself must not keep.
#pragma once

#include <functional>
#include <string>

#include "tests/support/child_process.h"

// Runs `step` in a child that cannot write into `dir`: the directory is made
// read-only and, when the tests run as root, the child drops to an
// unprivileged user first. The directory's mode is restored afterwards.
int runWithReadOnlyDir(const std::string &dir, const std::function<int()> &step);

// Runs `step` in a child as an ordinary user: when the tests run as root,
// `dir` and everything in it are given to the user nobody first and the
// child drops to it, so that file modes bind as they do for a real user.
int runAsOrdinaryUser(const std::string &dir, const std::function<int()> &step);

// True when `path` exists.
bool pathExists(const std::string &path);
