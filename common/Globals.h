#pragma once

// The flags that pass between the window and the sort methods.
struct Globals {
    bool DatabaseEngineAvailable = false; // set once at start-up
    bool StopSorting = false;             // a stop press while collecting or sorting
    bool StopAdding = false;              // a stop press while adding results
};
