// Helpers shared by the settings tests: running a step in a child process
// under limits the test process itself must not keep.
#pragma once

#include <functional>
#include <string>

// Runs `step` in a forked child and returns its result (the child's exit
// status), or -1 when the child did not exit normally.
int runInChild(const std::function<int()> &step);

// Runs `step` in a child whose files may not grow beyond `bytes` (writes
// past it fail as on a full disk).
int runWithFileSizeLimit(long bytes, const std::function<int()> &step);

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
