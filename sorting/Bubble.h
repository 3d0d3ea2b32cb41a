#pragma once

#include <QtGlobal>
#include <vector>

class FormState;
class Platform;
class SortKeys;

// Sorts the keys as an exchange sort of neighbours does, pass after pass
// over all pairs until a pass exchanges nothing: ascending by UTF-16 code
// units, equal keys in their order. Answers the keys in the order the sort
// leaves them. The sort yields before every pass and every comparison and
// shows each comparison on the progress bar; a set StopSorting ends it
// after the comparison that follows the yield at which it was found.
//
// Only the bar at a real yield and the end can be seen, so the comparisons
// are not made one by one: the order is found by a sort of its own, and
// the order at a stop is worked out from it.
std::vector<quint32> BubbleSort(const SortKeys& keys, FormState& form, Platform& platform);
