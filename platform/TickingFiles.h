#pragma once

// The engine's own file layer with three additions: every read and write of
// any of its files (database, journal, temporary sort files) first calls
// `tick`; a write that would make a file larger fails as on a full disk while
// `roomToGrow` answers false; and a journal deleted at commit is renamed to
// "-journal-retired" and deleted by another thread. Some single steps of the engine (emptying a
// table of millions of rows, one round of an external sort) call nothing else
// for a long time, but they all read or write. Registered once, for the first
// functions given; answers the layer's name for sqlite3_open_v2, or nullptr
// for the default layer when it cannot be made.
const char* TickingFileLayer(void (*tick)(), bool (*roomToGrow)());
