#pragma once

#include "DomainLimit.h"
#include "FormState.h"
#include "PathNames.h"
#include "Platform.h"
#include "SortKey.h"
#include "StepByStepBubbleSort.h"
#include "clsDomain.h"

#include <QSet>
#include <QString>
#include <cmath>
#include <memory>
#include <vector>

// The text method statement by statement, as described: the bar set at
// every address, comparison, key and bucket, a yield point before each, the
// quadratic exchange sort and the buckets searched from the first. The
// reference that the program's method must match in everything a yield or
// the end can see.
inline void StepByStepSortingText(FormState& form, Platform& platform) {
    const auto percent = [](qsizetype part, qsizetype whole) {
        return std::floor(double(part) / double(whole) * 100);
    };
    AddressListModel& input = form.ListView1;
    DomainLimit limit(form.text1());
    std::vector<QString> keys;
    QSet<QString> seenAddresses;
    const qsizetype n = input.count();
    // The list may shrink while the method yields: it ends with its last entry.
    for (qsizetype i = 1; i <= n && i <= input.count(); ++i) {
        const QString address = input.text(i - 1);
        form.setProgressValue(percent(i, input.count()));
        form.setProgressText(QStringLiteral("Step 1 of 3: Processing email: ") +
                             FileNameFromPath(address));
        YieldIfDue(platform);
        form.setMousePointer(MousePointer::Busy);
        if (!form.check5() || !seenAddresses.contains(address)) {
            if (form.check5())
                seenAddresses.insert(address);
            keys.push_back(SwapAroundAt(address));
        }
        if (form.globals.StopSorting)
            break;
    }

    StepByStepBubbleSort(
        keys, [](const QString& key) -> const QString& { return key; }, form, platform);

    AddressListModel& results = form.ListView2;
    const qsizetype m = qsizetype(keys.size()) - 1;
    results.clear();
    QSet<QString> seenDomains;
    std::vector<std::unique_ptr<clsDomain>> buckets;
    form.setSortCaption(kStopAdding);
    for (qsizetype i = 0; i <= m; ++i) {
        YieldIfDue(platform);
        if (m > 0)
            form.setProgressValue(percent(i, m));
        form.setProgressText(QStringLiteral("Step 3 of 3: Adding emails, please wait... ") +
                             QString::number(i));
        const QString& key = keys[size_t(i)];
        const QString domain = SplitAtSigns(QStringView(key)).first.toString();
        const QString output = SwapAroundAt(key);
        if (form.check1()) {
            if (!seenDomains.contains(domain)) {
                results.append(output);
                seenDomains.insert(domain);
            }
        } else if (form.check2()) {
            clsDomain* found = nullptr;
            const size_t count = buckets.size();
            for (size_t j = 1; j <= count && !found; ++j) {
                YieldIfDue(platform);
                form.setProgressText(
                    QStringLiteral("Step 3 of 3: Adding  emails, please wait... ") +
                    QString::number(i) + u'.' + QString::number(j));
                if (buckets[j - 1]->Domain() == domain)
                    found = buckets[j - 1].get();
            }
            if (found && found->Count() < limit.read(form.text1()).value_or(0)) {
                found->AddEmailAddress(output);
                results.append(output);
            } else if (!found) {
                buckets.push_back(std::make_unique<clsDomain>());
                buckets.back()->AddEmailAddress(output);
                buckets.back()->setDomain(domain);
                results.append(output);
            }
        } else {
            results.append(output);
        }
        if (form.globals.StopAdding)
            return;
    }
}
