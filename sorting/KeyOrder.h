#pragma once

#include <QtGlobal>
#include <functional>
#include <optional>
#include <vector>

class SortKeys;

// Compares the texts of two keys by UTF-16 code units: negative, zero or
// positive. A key that is the beginning of another is the smaller.
int CompareKeys(const SortKeys& keys, qsizetype a, qsizetype b);

// The keys in ascending order of their texts, equal keys in the order they
// were collected: the order an exchange sort of neighbours ends with. Now
// and then it calls `tick` with the share of the work done (below 1); when
// that answers false, the sort gives up and answers nothing.
std::optional<std::vector<quint32>> SortedKeyOrder(const SortKeys& keys,
                                                   const std::function<bool(double)>& tick);
