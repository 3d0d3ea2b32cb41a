#include "Sorting.h"

#include "Bubble.h"
#include "MethodRun.h"
#include "SeenTexts.h"
#include "SortKeys.h"
#include "clsDomain.h"

#include <memory>
#include <vector>

namespace {
// One call of the method. Nothing can see the window between two real
// yields, so the bar is brought up to date only at a real yield and at the
// end of a step, to exactly what the step by step would show there.
class TextSort : MethodRun {
public:
    TextSort(FormState& form, Platform& platform)
        : MethodRun(form, platform, QStringLiteral("SortingText")) {}

    void collectKeys();
    void sortKeys() {
        // When the sort fails, the keys stay in the order collected.
        if (!report_.run(138, [&] { order_ = BubbleSort(keys_, form_, platform_); }))
            order_.clear();
    }
    void addResults();

private:
    void yieldAt(int statement) {
        report_.run(statement, [&] { platform_.yield(); });
    }
    void showCollecting(qsizetype i, QAnyStringView address) {
        progress_.collecting(i, form_.ListView1.count(), address);
    }
    void showAdding(qsizetype i, qsizetype bucket);
    void yieldBeforeBuckets(qsizetype i, qsizetype examined);
    qsizetype addLimited(QAnyStringView domain, QAnyStringView output, qsizetype i);
    quint32 keyAt(qsizetype i) const { return order_.empty() ? quint32(i) : order_[size_t(i)]; }

    SortKeys keys_;
    std::vector<quint32> order_;      // the keys as sorted
    qsizetype lastKey_ = 0;           // m, the last index of the sorted keys
    qsizetype searchYieldedFor_ = -1; // the key whose bucket search held the last real yield
    // Buckets in order of first appearance, found through their own domain text.
    std::vector<std::unique_ptr<clsDomain>> buckets_;
    struct BucketDomain {
        const std::vector<std::unique_ptr<clsDomain>>& buckets;
        QAnyStringView operator()(quint32 bucket) const { return buckets[bucket]->Domain(); }
    };
    SeenTexts<BucketDomain> bucketOf_{BucketDomain{buckets_}};
};

void TextSort::collectKeys() {
    AddressListModel& input = form_.ListView1;
    // The list can change only while the run yields: the keys are read from
    // its state since the last yield.
    keys_.readFrom(input.snapshot());
    const auto addressOf = [this](quint32 key) { return keys_.address(key); };
    SeenTexts<decltype(addressOf)> seen(addressOf);
    const qsizetype n = input.count();
    qsizetype last = 0;     // the item handled last
    bool lastShown = false; // whether its state was shown at a yield
    for (qsizetype i = 1; i <= n && i <= keys_.entries().count(); ++i) {
        last = i;
        lastShown = clock_.due();
        if (lastShown) {
            showCollecting(i, keys_.entries().at(i - 1));
            yieldAt(112);
        }
        form_.setMousePointer(MousePointer::Busy);
        // "Remove duplicates" drops an address whose exact text came before, ahead of the
        // sort; the database method groups equal rows in its query instead.
        if (form_.check5()) {
            report_.run(120, [&] {
                keys_.append(i - 1);
                if (!seen.insert(quint32(keys_.count() - 1)))
                    keys_.removeLast();
            });
        } else {
            report_.run(124, [&] { keys_.append(i - 1); });
        }
        if (lastShown)
            keys_.readFrom(input.snapshot());
        if (form_.globals.StopSorting)
            break;
    }
    if (last > 0 && !lastShown) // unchanged: no yield since it was read
        showCollecting(last, keys_.entries().at(last - 1));
}

// The value is the integer part of i / m x 100 and stays for a single key; the
// database method counts its rows from 1 of r + 1 and keeps the fraction. It
// is set once a key, before its bucket search: after a real yield inside that
// search (a stop press may have reset the bar), only the text is set again.
void TextSort::showAdding(qsizetype i, qsizetype bucket) {
    const std::optional<double> value = lastKey_ > 0 && searchYieldedFor_ != i
                                            ? std::optional(WholePercent(i, lastKey_))
                                            : std::nullopt;
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
        searchYieldedFor_ = i;
        ++j;
    }
}

// Answers how many buckets the search examined. A domain's first address
// always makes its bucket and is listed, so a limit of zero, a negative one
// or none lists one address a domain; the database method lists none then.
qsizetype TextSort::addLimited(QAnyStringView domain, QAnyStringView output, qsizetype i) {
    const qint64 found = bucketOf_.find(domain);
    const qsizetype examined = found >= 0 ? found + 1 : qsizetype(buckets_.size());
    yieldBeforeBuckets(i, examined);
    AddressListModel& results = form_.ListView2;
    if (found >= 0) {
        clsDomain& bucket = *buckets_[size_t(found)];
        bool add = false;
        report_.run(190, [&] { add = bucket.Count() < limit_.read(form_.text1()).value_or(0); });
        if (add) {
            report_.run(192, [&] { bucket.AddEmailAddress(output.toString()); });
            report_.run(194, [&] { results.append(output); });
        }
        return examined;
    }
    std::unique_ptr<clsDomain> bucket;
    report_.run(196, [&] {
        bucket = std::make_unique<clsDomain>();
        bucket->AddEmailAddress(output.toString());
        bucket->setDomain(domain.toString());
    });
    report_.run(202, [&] { results.append(output); });
    if (bucket) {
        report_.run(204, [&] {
            buckets_.push_back(std::move(bucket));
            bucketOf_.insert(quint32(buckets_.size() - 1));
        });
    }
    return examined;
}

void TextSort::addResults() {
    AddressListModel& results = form_.ListView2;
    lastKey_ = keys_.count() - 1;
    results.clear();
    // Without the options every key gives a result: room for all at once
    // spares the list growing (and copying) as they come.
    if (!form_.check1() && !form_.check2())
        results.reserve(keys_.count(), keys_.textSize());
    // The set and the buckets are there whatever the options: they may be
    // ticked while the run yields.
    const auto domainOf = [this](quint32 key) { return keys_.domain(key); };
    SeenTexts<decltype(domainOf)> seenDomains(domainOf);
    progress_.startAdding();
    qsizetype last = -1;      // the key handled last
    qsizetype lastBucket = 0; // the bucket its search stopped at
    QString scratch;
    for (qsizetype i = 0; i <= lastKey_; ++i) {
        if (clock_.due()) {
            if (i > 0)
                showAdding(i - 1, lastBucket);
            yieldAt(154);
            searchYieldedFor_ = -1;
        }
        lastBucket = 0;
        keys_.prefetchAhead([this](size_t j) { return keyAt(qsizetype(j)); }, size_t(i),
                            size_t(lastKey_ + 1));
        const quint32 key = keyAt(i);
        const QAnyStringView output = keys_.output(key, scratch);
        // "Keep unique domains" wins over the limit; the database method tests both in turn.
        if (form_.check1()) {
            bool first = false;
            report_.run(168, [&] { first = seenDomains.insert(key); });
            if (first)
                report_.run(166, [&] { results.append(output); });
        } else if (form_.check2()) {
            lastBucket = addLimited(keys_.domain(key), output, i);
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
