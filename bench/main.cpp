// Times the sort paths on generated address lists of chosen sizes.
//   ambervale_bench [--cases=bare,text,...] [size ...]
// prints one line per case: case, size, seconds, peak memory, notes.
//   ambervale_bench --scale [--runs=N] [--cases=load,db,...]
// runs the cases at the sizes of real mailing lists and prints them as one
// table beside their yardsticks and targets.

#include "AddressGenerator.h"
#include "BareBubbleSort.h"
#include "BenchRun.h"
#include "OptionHandlers.h"
#include "PeakMemory.h"
#include "ScaleSuite.h"
#include "SortKey.h"
#include "Stopwatch.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

namespace {
struct Measured {
    double seconds = 0;
    qint64 peak = 0;
    QString notes;
    bool ok = true;
};

struct Case {
    QString key;
    QString name;
    std::function<Measured(const QStringList&, const QString& root)> run;
};

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

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

bool inKeyOrder(const AddressListModel& results) {
    for (qsizetype i = 1; i < results.count(); ++i)
        if (SwapAroundAt(results.text(i)) < SwapAroundAt(results.text(i - 1)))
            return false;
    return true;
}

Measured textMethod(const QStringList& addresses, const QString& root, const Setup& setup) {
    BenchRun r(root, BenchRun::Method::Text, setup);
    r.fill(addresses);
    ResetPeakMemory();
    r.platform.startRun();
    const Stopwatch clock;
    r.press();
    Measured m{clock.seconds(), PeakMemory(), {}};
    m.ok = inKeyOrder(r.form().ListView2);
    m.notes = QStringLiteral("%1, %2 results, %3 yields, longest gap %4 ms%5")
                  .arg(clock.cpuNote())
                  .arg(r.form().ListView2.count())
                  .arg(r.platform.yieldCount)
                  .arg(ms(r.platform.longestGapNs()), 0, 'f', 1)
                  .arg(m.ok ? QString() : QStringLiteral(", RESULTS OUT OF ORDER"));
    return m;
}

// A stop press posted while the keys are being sorted: how long until a yield
// processes it, until the run leaves the sort, and until "Done.".
Measured stopWhileSorting(const QStringList& addresses, const QString& root) {
    constexpr qint64 kPostAfterNs = 100'000'000;
    BenchRun r(root, BenchRun::Method::Text);
    r.fill(addresses);
    QElapsedTimer clock;
    qint64 sortingSince = -1, posted = -1, processed = -1, left = -1, done = -1;
    r.platform.onYield = [&] {
        const qint64 now = clock.nsecsElapsed();
        if (posted >= 0 || !r.form().progressText().startsWith(QStringLiteral("Step 2")))
            return;
        if (sortingSince < 0)
            sortingSince = now;
        if (now - sortingSince >= kPostAfterNs) {
            posted = sortingSince + kPostAfterNs; // waiting since then for a yield
            r.press();
            processed = clock.nsecsElapsed();
        }
    };
    QObject::connect(&r.form(), &FormState::sortCaptionChanged, [&] {
        if (posted >= 0 && left < 0 && r.form().sortCaption() == QStringLiteral("Stop Adding"))
            left = clock.nsecsElapsed();
    });
    r.platform.onMessageBox = [&](const auto&) { done = clock.nsecsElapsed(); };
    ResetPeakMemory();
    r.platform.startRun();
    clock.start();
    r.press();
    if (posted < 0)
        return {double(done) / 1e9, PeakMemory(), QStringLiteral("sort ended before the press")};
    Measured m{double(done - posted) / 1e9, PeakMemory(), {}};
    m.notes = QStringLiteral("press processed after %1 ms, sort left after %2 ms, %3 results")
                  .arg(ms(processed - posted), 0, 'f', 1)
                  .arg(ms(left - posted), 0, 'f', 1)
                  .arg(r.form().ListView2.count());
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
        {"text", "text method", text({})},
        {"dedupe", "text, no duplicates", text([](OptionHandlers& o) { o.setCheck5(true); })},
        {"unique", "text, unique domains", text([](OptionHandlers& o) { o.setCheck1(true); })},
        {"limit", "text, 3 per domain", text([](OptionHandlers& o) {
             o.setCheck2(true);
             o.setText1(QStringLiteral("3"));
         })},
        {"stop", "stop while sorting", stopWhileSorting},
    };
}
} // namespace

int main(int argc, char* argv[]) {
    // The window cases paint offscreen: no display needed, the same work done.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QStringList chosen;
    QList<qsizetype> sizes;
    ScaleOptions scale;
    bool scaleSuite = false;
    const QStringList arguments = app.arguments().mid(1);
    if (!arguments.isEmpty() && arguments[0].startsWith(QStringLiteral("--memory-child=")))
        return RunMemoryChild(arguments[0].mid(15), arguments.contains(QStringLiteral("--window")));
    for (const QString& arg : arguments) {
        bool number = false;
        const qsizetype size = arg.toLongLong(&number);
        if (arg == QStringLiteral("--scale"))
            scaleSuite = true;
        else if (arg.startsWith(QStringLiteral("--runs=")) && arg.mid(7).toInt() > 0)
            scale.runs = arg.mid(7).toInt();
        else if (arg.startsWith(QStringLiteral("--cases=")))
            chosen = arg.mid(8).split(u',', Qt::SkipEmptyParts);
        else if (number && size > 0)
            sizes << size;
        else {
            std::fprintf(stderr,
                         "usage: ambervale_bench [--cases=bare,text,dedupe,unique,limit,stop] "
                         "[size ...]\n"
                         "       ambervale_bench --scale [--runs=N] [--cases=load,db,db-dedupe,"
                         "db-limit,batch,text,memory,window,results,stop,five-million]\n");
            return 2;
        }
    }
    if (scaleSuite) {
        scale.cases = chosen;
        scale.program = app.applicationFilePath();
        return RunScaleSuite(scale) ? 0 : 1;
    }
    if (chosen.isEmpty())
        chosen = QStringList{"bare", "text", "limit", "stop"};
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
