#pragma once

#include <functional>

// Slow file work (freeing a large deleted file's blocks) done on a thread of
// its own, so the engine's call returns at once. Never throws: without a
// thread to be had, the chore runs in place.
void RunFileChore(std::function<void()> chore);

// Returns once every chore started so far has finished: before a folder that
// held the files is removed.
void WaitForFileChores();
