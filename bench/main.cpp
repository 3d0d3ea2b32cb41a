// Times the sort paths on generated address lists of chosen sizes.
//   ambervale_bench [--cases=bare,text,...] [size ...]
// prints one line per case: case, size, seconds, peak memory, notes.

#include "AddressGenerator.h"
#include "BareBubbleSort.h"
#include "BenchPlatform.h"
#include "FormState.h"
#include "PeakMemory.h"
#include "SortKey.h"
#include "SortRun.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {
struct Measured {
    double seconds = 0;
    qint64 peak = 0;
    QString notes;
    bool ok = true;
};

using Setup = std::function<void(FormState&)>;

struct Case {
    QString key;
    QString name;
    std::function<Measured(const QStringList&, const QString& root)> run;
};

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

// Wall-clock seconds, and the processor seconds this process used meanwhile:
// on a busy machine the second shows what the code itself costs.
class Stopwatch {
public:
    Stopwatch() {
        wall_.start();
        cpu_ = std::clock();
    }
    double seconds() const { return double(wall_.nsecsElapsed()) / 1e9; }
    QString cpuNote() const {
        return QStringLiteral("cpu %1 s")
            .arg(double(std::clock() - cpu_) / CLOCKS_PER_SEC, 0, 'f', 3);
    }

private:
    QElapsedTimer wall_;
    std::clock_t cpu_;
};

std::vector<QString> keysOf(const QStringList& addresses) {
    std::vector<QString> keys;
    keys.reserve(size_t(addresses.size()));
    for (const QString& address : addresses)
        keys.push_back(SwapAroundAt(address));
    return keys;
}

Measured bare(const QStringList& addresses) {
    std::vector<QString> keys = keysOf(addresses);
    ResetPeakMemory();
    const Stopwatch clock;
    BareBubbleSort(keys);
    return {clock.seconds(), PeakMemory(), clock.cpuNote()};
}

// A window state with the text method selected and the list filled.
struct Run {
    Run(const QStringList& addresses, const QString& root, const Setup& setup)
        : platform(root), run(form, platform) {
        form.setOption2(true);
        setup(form);
        for (const QString& address : addresses)
            form.ListView1.append(address);
        QCoreApplication::processEvents();
    }
    BenchPlatform platform;
    FormState form;
    SortRun run;
};

bool inKeyOrder(const AddressListModel& results) {
    for (qsizetype i = 1; i < results.count(); ++i)
        if (SwapAroundAt(results.at(i)) < SwapAroundAt(results.at(i - 1)))
            return false;
    return true;
}

Measured textMethod(const QStringList& addresses, const QString& root, const Setup& setup) {
    Run r(addresses, root, setup);
    ResetPeakMemory();
    r.platform.startRun();
    const Stopwatch clock;
    r.run.PushButton17_Click();
    Measured m{clock.seconds(), PeakMemory(), {}};
    m.ok = inKeyOrder(r.form.ListView2);
    m.notes = QStringLiteral("%1, %2 results, %3 yields, longest gap %4 ms%5")
                  .arg(clock.cpuNote())
                  .arg(r.form.ListView2.count())
                  .arg(r.platform.yieldCount)
                  .arg(ms(r.platform.longestGapNs()), 0, 'f', 1)
                  .arg(m.ok ? QString() : QStringLiteral(", RESULTS OUT OF ORDER"));
    return m;
}

// A stop press posted while the keys are being sorted: how long until a yield
// processes it, until the run leaves the sort, and until "Done.".
Measured stopWhileSorting(const QStringList& addresses, const QString& root) {
    constexpr qint64 kPostAfterNs = 100'000'000;
    Run r(addresses, root, [](FormState&) {});
    QElapsedTimer clock;
    qint64 sortingSince = -1, posted = -1, processed = -1, left = -1, done = -1;
    r.platform.onYield = [&](int) {
        const qint64 now = clock.nsecsElapsed();
        if (posted >= 0 || !r.form.progressText().startsWith(QStringLiteral("Step 2")))
            return;
        if (sortingSince < 0)
            sortingSince = now;
        if (now - sortingSince >= kPostAfterNs) {
            posted = sortingSince + kPostAfterNs; // waiting since then for a yield
            r.run.PushButton17_Click();
            processed = clock.nsecsElapsed();
        }
    };
    QObject::connect(&r.form, &FormState::sortCaptionChanged, [&] {
        if (posted >= 0 && left < 0 && r.form.sortCaption() == QStringLiteral("Stop Adding"))
            left = clock.nsecsElapsed();
    });
    r.platform.onMessageBox = [&](const auto&) { done = clock.nsecsElapsed(); };
    ResetPeakMemory();
    r.platform.startRun();
    clock.start();
    r.run.PushButton17_Click();
    if (posted < 0)
        return {double(done) / 1e9, PeakMemory(), QStringLiteral("sort ended before the press")};
    Measured m{double(done - posted) / 1e9, PeakMemory(), {}};
    m.notes = QStringLiteral("press processed after %1 ms, sort left after %2 ms, %3 results")
                  .arg(ms(processed - posted), 0, 'f', 1)
                  .arg(ms(left - posted), 0, 'f', 1)
                  .arg(r.form.ListView2.count());
    return m;
}

QList<Case> allCases() {
    auto text = [](Setup setup) {
        return [setup](const QStringList& a, const QString& root) {
            return textMethod(a, root, setup);
        };
    };
    return {
        {"bare", "bare bubble sort", [](const QStringList& a, const QString&) { return bare(a); }},
        {"text", "text method", text([](FormState&) {})},
        {"dedupe", "text, no duplicates", text([](FormState& f) { f.setCheck5(true); })},
        {"unique", "text, unique domains", text([](FormState& f) { f.setCheck1(true); })},
        {"limit", "text, 3 per domain", text([](FormState& f) {
             f.setCheck2(true);
             f.setText1(QStringLiteral("3"));
         })},
        {"stop", "stop while sorting", stopWhileSorting},
    };
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList chosen{"bare", "text", "limit", "stop"};
    QList<qsizetype> sizes;
    for (const QString& arg : app.arguments().mid(1)) {
        bool number = false;
        const qsizetype size = arg.toLongLong(&number);
        if (arg.startsWith(QStringLiteral("--cases=")))
            chosen = arg.mid(8).split(u',', Qt::SkipEmptyParts);
        else if (number && size > 0)
            sizes << size;
        else {
            std::fprintf(stderr, "usage: ambervale_bench [--cases=bare,text,dedupe,unique,"
                                 "limit,stop] [size ...]\n");
            return 2;
        }
    }
    if (sizes.isEmpty())
        sizes = {5000, 20000};

    QTemporaryDir root;
    if (!ResetPeakMemory())
        std::printf("# peak memory covers the whole process: it cannot be reset here\n");
    std::printf("%-22s %8s %10s %9s  %s\n", "# case", "size", "seconds", "peak MiB", "notes");
    bool ok = true;
    for (qsizetype size : sizes) {
        const QStringList addresses = GenerateAddresses(size);
        for (const Case& c : allCases()) {
            if (!chosen.contains(c.key))
                continue;
            const Measured m = c.run(addresses, root.path());
            ok &= m.ok;
            std::printf("%-22s %8lld %10.3f %9.1f  %s\n", qPrintable(c.name), qlonglong(size),
                        m.seconds, double(m.peak) / (1024 * 1024), qPrintable(m.notes));
            std::fflush(stdout);
        }
    }
    return ok ? 0 : 1;
}
