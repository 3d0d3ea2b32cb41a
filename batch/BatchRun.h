#pragma once

struct BatchRequest;

// Sorts the list files as the window would with the same options, without
// a window: the same reading, sort method, filters and writers. Results go
// to standard output (UTF-8, one a line) or to the files asked for; each
// problem is one line on standard error. Works in a temporary folder of its
// own, so it neither reads nor writes the stored options or the window's
// working database. Answers the exit status: 0, or 1 after any problem.
int RunBatch(const BatchRequest& request);
