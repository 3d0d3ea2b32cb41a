#pragma once

#include "Sorting.h"
#include "SortingDB.h"

#include <functional>

using SortMethod = std::function<void(FormState&, Platform&)>;

// The processing methods a sort run chooses from; tests put their own in.
// Without a database method the text method runs for either option, as when
// the engine is unavailable.
struct SortMethods {
    SortMethod database = SortingDB;
    SortMethod text = SortingText;
};
