#pragma once

#include <functional>

// Runs `work` on a thread of its own while this thread calls `meanwhile` at
// once and then about every millisecond (the window's turns), and returns once both are
// done: what either threw is thrown here, the work's first. The work must
// share nothing with `meanwhile`. Answers false, having run nothing, when no
// thread can be had.
bool RunAside(const std::function<void()>& work, const std::function<void()>& meanwhile);
