#pragma once

#include "Sorting.h"

#include <functional>

using SortMethod = std::function<void(FormState&, Platform&)>;

// The processing methods a sort run chooses from. Without a database method
// the text method runs for either option, as when the engine is unavailable.
struct SortMethods {
    SortMethod database;
    SortMethod text = SortingText;
};
