#pragma once

#include <QString>
#include <vector>

class FormState;
class Platform;

// Sorts the keys in place by exchanging neighbours, pass after pass over all
// pairs, until a pass exchanges nothing: ascending by UTF-16 code units, equal
// keys keep their order. Every comparison is shown on the progress bar. A set
// StopSorting ends the sort after the comparison during which it was found.
void BubbleSort(std::vector<QString>& keys, FormState& form, Platform& platform);
