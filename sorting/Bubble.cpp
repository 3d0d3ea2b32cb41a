#include "Bubble.h"

#include "ErrorReport.h"
#include "FormState.h"
#include "Platform.h"
#include "SortProgress.h"

#include <algorithm>
#include <utility>

void BubbleSort(std::vector<QString>& keys, FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Bubble"), QStringLiteral("BubbleSort"));
    qsizetype pass = 1;
    const qsizetype n = qsizetype(keys.size()) - 2;
    QString* key = keys.data();
    SortProgress progress(form);
    const auto show = [&](qsizetype shownPass, qsizetype j) { progress.sorting(shownPass, n, j); };

    // Nothing can see the bar between two real yields, so it is brought up to
    // date only at a real yield and at the end, to what the comparison that
    // ran last left on it. The stop flag, too, can only change while yielding,
    // so the loop tests a local copy refreshed after each yield.
    FrameClock& clock = platform.frameClock();
    bool stop = form.globals.StopSorting;
    qsizetype j = 0;
    for (;;) {
        if (clock.due()) {
            if (pass > 1)
                show(pass - 1, n);
            report.run(104, [&platform] { platform.yield(); });
            stop = form.globals.StopSorting;
        }
        bool swapped = false;
        for (j = 0; j <= n; ++j) {
            if (clock.due()) {
                if (j > 0)
                    show(pass, j - 1);
                else if (pass > 1)
                    show(pass - 1, n);
                report.run(110, [&platform] { platform.yield(); });
                stop = form.globals.StopSorting;
            }
            if (key[j + 1] < key[j]) {
                swapped = true;
                std::swap(key[j], key[j + 1]);
            }
            if (stop)
                break;
        }
        ++pass;
        if (stop || !swapped)
            break;
    }
    if (n >= 0)
        show(pass - 1, std::min(j, n));
}
