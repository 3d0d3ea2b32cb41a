#include "Sorting.h"

#include "Bubble.h"
#include "MethodRun.h"
#include "SortKey.h"
#include "clsDomain.h"

#include <QSet>
#include <memory>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace {
struct ViewHash {
    size_t operator()(QStringView text) const noexcept { return qHash(text); }
};

// One call of the method. Nothing can see the window between two real
// yields, so the bar is brought up to date only at a real yield and at the
// end of a step, to exactly what the step by step would show there.
class TextSort : MethodRun {
public:
    TextSort(FormState& form, Platform& platform)
        : MethodRun(form, platform, QStringLiteral("SortingText")) {}

    void collectKeys();
    void sortKeys() {
        report_.run(138, [&] { BubbleSort(keys_, form_, platform_); });
    }
    void addResults();

private:
    void yieldAt(int statement) {
        report_.run(statement, [&] { platform_.yield(); });
    }
    void showCollecting(qsizetype i, const QString& address) {
        progress_.collecting(i, form_.ListView1.count(), address);
    }
    void showAdding(qsizetype i, qsizetype bucket);
    void yieldBeforeBuckets(qsizetype i, qsizetype examined);
    qsizetype addLimited(QStringView domain, const QString& output, qsizetype i);

    std::vector<QString> keys_;
    qsizetype lastKey_ = 0; // m, the last index of the sorted keys
    // Buckets in order of first appearance, found through their own domain text.
    std::vector<std::unique_ptr<clsDomain>> buckets_;
    std::unordered_map<QStringView, qsizetype, ViewHash> bucketOf_;
};

void TextSort::collectKeys() {
    AddressListModel& input = form_.ListView1;
    QSet<QString> seen;
    const qsizetype n = input.count();
    qsizetype last = 0;     // the item handled last
    bool lastShown = false; // whether its state was shown at a yield
    for (qsizetype i = 1; i <= n && i <= input.count(); ++i) {
        // A copy: the list may change while the run yields.
        const QString address = input.text(i - 1);
        last = i;
        lastShown = clock_.due();
        if (lastShown) {
            showCollecting(i, address);
            yieldAt(112);
        }
        form_.setMousePointer(MousePointer::Busy);
        // "Remove duplicates" drops an address whose exact text came before, ahead of the
        // sort; the database method groups equal rows in its query instead.
        bool append = true;
        if (form_.check5()) {
            report_.run(120, [&] {
                const qsizetype before = seen.size();
                seen.insert(address);
                append = seen.size() != before;
            });
        }
        if (append)
            report_.run(124, [&] { keys_.push_back(SwapAroundAt(address)); });
        if (form_.globals.StopSorting)
            break;
    }
    if (last > 0 && !lastShown)
        showCollecting(last, input.text(last - 1)); // unchanged: no yield since it was read
}

// The value is the integer part of i / m x 100 and stays for a single key; the
// database method counts its rows from 1 of r + 1 and keeps the fraction.
void TextSort::showAdding(qsizetype i, qsizetype bucket) {
    const std::optional<double> value =
        lastKey_ > 0 ? std::optional(WholePercent(i, lastKey_)) : std::nullopt;
    if (bucket == 0)
        progress_.adding(i, value);
    else
        progress_.searching(i, bucket, value);
}

// The search goes through the buckets from the first and yields before each
// one it examines; only where a real yield is due does that need a turn.
void TextSort::yieldBeforeBuckets(qsizetype i, qsizetype examined) {
    qsizetype j = 0; // buckets examined so far
    while (j < examined) {
        const qsizetype skipped = clock_.firstDue(examined - j);
        if (skipped == examined - j)
            return;
        j += skipped;
        showAdding(i, j);
        yieldAt(176);
        ++j;
    }
}

// Answers how many buckets the search examined. A domain's first address
// always makes its bucket and is listed, so a limit of zero, a negative one
// or none lists one address a domain; the database method lists none then.
qsizetype TextSort::addLimited(QStringView domain, const QString& output, qsizetype i) {
    const auto found = bucketOf_.find(domain);
    const bool isFound = found != bucketOf_.end();
    const qsizetype examined = isFound ? found->second + 1 : qsizetype(buckets_.size());
    yieldBeforeBuckets(i, examined);
    AddressListModel& results = form_.ListView2;
    if (isFound) {
        clsDomain& bucket = *buckets_[size_t(found->second)];
        bool add = false;
        report_.run(190, [&] { add = bucket.Count() < limit_.read(form_.text1()).value_or(0); });
        if (add) {
            report_.run(192, [&] { bucket.AddEmailAddress(output); });
            report_.run(194, [&] { results.append(output); });
        }
        return examined;
    }
    std::unique_ptr<clsDomain> bucket;
    report_.run(196, [&] {
        bucket = std::make_unique<clsDomain>();
        bucket->AddEmailAddress(output);
        bucket->setDomain(domain.toString());
    });
    report_.run(202, [&] { results.append(output); });
    if (bucket) {
        report_.run(204, [&] {
            buckets_.push_back(std::move(bucket));
            bucketOf_.emplace(QStringView(buckets_.back()->Domain()),
                              qsizetype(buckets_.size()) - 1);
        });
    }
    return examined;
}

void TextSort::addResults() {
    AddressListModel& results = form_.ListView2;
    lastKey_ = qsizetype(keys_.size()) - 1;
    results.clear();
    // The set and the buckets are there whatever the options: they may be
    // ticked while the run yields.
    std::unordered_set<QStringView, ViewHash> seenDomains;
    progress_.startAdding();
    qsizetype last = -1;      // the key handled last
    qsizetype lastBucket = 0; // the bucket its search stopped at
    for (qsizetype i = 0; i <= lastKey_; ++i) {
        if (clock_.due()) {
            if (i > 0)
                showAdding(i - 1, lastBucket);
            yieldAt(154);
        }
        lastBucket = 0;
        const AtPieces pieces = SplitAtSigns(keys_[size_t(i)]); // domain@local
        const QString output = SwapAroundAt(keys_[size_t(i)]);
        // "Keep unique domains" wins over the limit; the database method tests both in turn.
        if (form_.check1()) {
            if (!seenDomains.count(pieces.first)) {
                report_.run(166, [&] { results.append(output); });
                report_.run(168, [&] { seenDomains.insert(pieces.first); });
            }
        } else if (form_.check2()) {
            lastBucket = addLimited(pieces.first, output, i);
        } else {
            report_.run(206, [&] { results.append(output); });
        }
        last = i;
        if (form_.globals.StopAdding)
            break;
    }
    if (last >= 0)
        showAdding(last, lastBucket);
}
} // namespace

void SortingText(FormState& form, Platform& platform) {
    TextSort sort(form, platform);
    sort.collectKeys();
    sort.sortKeys();
    sort.addResults();
}
