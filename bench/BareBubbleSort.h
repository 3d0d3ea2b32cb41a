#pragma once

#include <QString>
#include <utility>
#include <vector>

// The exchange sort of the text method with nothing around it: no bar, no
// yields, no stop flag. The yardstick for what the method adds.
inline void BareBubbleSort(std::vector<QString>& keys) {
    const qsizetype n = qsizetype(keys.size()) - 2;
    QString* key = keys.data();
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (qsizetype j = 0; j <= n; ++j) {
            if (key[j + 1] < key[j]) {
                std::swap(key[j], key[j + 1]);
                swapped = true;
            }
        }
    }
}
