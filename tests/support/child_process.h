// Running a test step in a forked child, under limits the test process
// itself must not keep.
#pragma once

#include <functional>

// Runs `step` in a forked child and returns its result (the child's exit
// status), or -1 when the child did not exit normally.
int runInChild(const std::function<int()> &step);

// Runs `step` in a child whose files may not grow beyond `bytes`: writes
// past it fail as on a full disk (SIGXFSZ is ignored, so the write returns
// an error instead of ending the child).
int runWithFileSizeLimit(long bytes, const std::function<int()> &step);
