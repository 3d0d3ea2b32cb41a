// Times the text method on generated address lists of chosen sizes.
//   ambervale_bench [--cases=peer,text,...] [size ...]
// prints one line per case: case, size, seconds, peak memory, notes.
//   ambervale_bench --scale [--runs=N] [--cases=load,db,...]
// runs the cases at the sizes of real mailing lists and prints them as one
// table beside their yardsticks and targets.

#include "AddressGenerator.h"
#include "BenchRun.h"
#include "OptionHandlers.h"
#include "PeakMemory.h"
#include "PeerSort.h"
#include "RunProbes.h"
#include "ScaleSuite.h"
#include "SortKey.h"
#include "Stopwatch.h"

#include <QApplication>
#include <QFile>
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

// GNU sort on the same addresses, from a file to a file: the yardstick.
Measured peer(const QStringList& addresses, const QString& root) {
    const QString input = root + QStringLiteral("/peer-in.txt");
    QFile file(input);
    if (!file.open(QIODevice::WriteOnly) || file.write(addresses.join(u'\n').toUtf8() + '\n') < 0)
        return {0, 0, QStringLiteral("cannot write the file"), false};
    file.close();
    const PeerTime p = RunPeerSort(input, root + QStringLiteral("/peer-out.txt"));
    return {p.seconds, 0, QStringLiteral("cpu %1 s (all its threads)").arg(p.cpuSeconds, 0, 'f', 3),
            p.ok};
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

// A stop press at the first turn the window gets in the sorting step: how
// long it waited for that turn, and until "Done.".
Measured stopWhileSorting(const QStringList& addresses, const QString& root) {
    BenchRun r(root, BenchRun::Method::Text);
    r.fill(addresses);
    ResetPeakMemory();
    const StopFigures f = StopDuring(r, QStringLiteral("Step 2"), 0);
    if (f.waitedMs < 0)
        return {0, PeakMemory(), QStringLiteral("the sort gave the window no turn")};
    return {f.endedMs / 1e3, PeakMemory(),
            QStringLiteral("press handled after %1 ms, %2 results")
                .arg(f.waitedMs, 0, 'f', 1)
                .arg(r.form().ListView2.count())};
}

QList<Case> allCases() {
    auto text = [](Setup setup) {
        return [setup](const QStringList& a, const QString& root) {
            return textMethod(a, root, setup);
        };
    };
    return {
        {"peer", "GNU sort", peer},
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
        return RunMemoryChild(arguments[0].mid(15), arguments.contains(QStringLiteral("--window")),
                              arguments.contains(QStringLiteral("--text"))
                                  ? BenchRun::Method::Text
                                  : BenchRun::Method::Database);
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
                         "usage: ambervale_bench [--cases=peer,text,dedupe,unique,limit,stop] "
                         "[size ...]\n"
                         "       ambervale_bench --scale [--runs=N] [--cases=load,db,db-dedupe,"
                         "db-limit,batch,text,text-dedupe,text-unique,text-limit,memory,window,"
                         "results,stop,five-million,text-window]\n");
            return 2;
        }
    }
    if (scaleSuite) {
        scale.cases = chosen;
        scale.program = app.applicationFilePath();
        return RunScaleSuite(scale) ? 0 : 1;
    }
    if (chosen.isEmpty())
        chosen = QStringList{"peer", "text", "limit", "stop"};
    if (sizes.isEmpty())
        sizes = {100'000, 1'000'000};

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
            const QString peak = m.peak > 0 ? QString::number(double(m.peak) / (1 << 20), 'f', 1)
                                            : QStringLiteral("-"); // another process
            std::printf("%-22s %8lld %10.3f %9s  %s\n", qPrintable(c.name), qlonglong(size),
                        m.seconds, qPrintable(peak), qPrintable(m.notes));
            std::fflush(stdout);
        }
    }
    return ok ? 0 : 1;
}
