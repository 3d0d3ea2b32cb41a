#pragma once

// The engine's own file layer with one addition: every read and write of any
// of its files (database, journal, temporary sort files) first calls `tick`.
// Some single steps of the engine (emptying a table of millions of rows, one
// round of an external sort) call nothing else for a long time, but they all
// read or write. Registered once, for the first tick given; answers the
// layer's name for sqlite3_open_v2, or nullptr for the default layer when it
// cannot be made.
const char* TickingFileLayer(void (*tick)());
