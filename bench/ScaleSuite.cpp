#include "ScaleSuite.h"

#include "AddressFile.h"
#include "AddressGenerator.h"
#include "BenchRun.h"
#include "ClipboardExport.h"
#include "ListFile.h"
#include "OptionHandlers.h"
#include "PeakMemory.h"
#include "PeerSort.h"
#include "ResultFilters.h"
#include "RunProbes.h"
#include "Stopwatch.h"
#include "TextFileExport.h"

#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
constexpr qsizetype kMillion = 1'000'000;
constexpr double kGapTargetMs = 50;
constexpr double kStopTargetMs = 100;

double median(std::vector<double> values) {
    if (values.empty())
        return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

QString secondsText(double seconds) {
    return QString::number(seconds, 'f', 3);
}

QString ratioText(double ratio) {
    return QString::number(ratio, 'f', 2) + u'x';
}

double ms(qint64 ns) {
    return double(ns) / 1e6;
}

struct Row {
    QString name;
    qsizetype size = 0;
    QString ours, peer, ratio, target;
    bool met = false;
    double gapMs = -1; // the longest stretch without a real yield
    QString notes;
};

class Suite {
public:
    explicit Suite(const ScaleOptions& options) : options_(options) {}
    bool run();

private:
    bool wanted(const char* key) const {
        return options_.cases.isEmpty() || options_.cases.contains(QLatin1String(key));
    }
    QString root() const { return dir_.path() + QStringLiteral("/root"); }
    void add(Row row);
    void load();
    // A whole run from a filled input list to complete results, beside the peer.
    void versusPeer(const QString& name, BenchRun::Method method, const Setup& setup, double limit,
                    const QString& target);
    void batch();
    void memory(BenchRun::Method method, bool window);
    void inWindow(BenchRun::Method method, const QString& path, qsizetype size);
    // A whole run that must complete with every address and stay live.
    void addLiveRun(const QString& name, qsizetype size, const SortFigures& f,
                    const QString& firstNote);
    void fiveMillion();
    void stops();
    void results();
    void summary();

    ScaleOptions options_;
    QTemporaryDir dir_;
    QString list_; // a million addresses
    qint64 listChars_ = 0;
    std::vector<Row> rows_;
    double worstGapMs_ = 0;
    double worstStopMs_ = 0;
    bool ok_ = true;
};

void Suite::add(Row row) {
    if (row.gapMs >= 0)
        worstGapMs_ = std::max(worstGapMs_, row.gapMs);
    std::printf("%-30s %8lld %9s %9s %7s  %-16s %-4s %7s  %s\n", qPrintable(row.name),
                qlonglong(row.size), qPrintable(row.ours), qPrintable(row.peer),
                qPrintable(row.ratio), qPrintable(row.target), row.met ? "yes" : "NO",
                row.gapMs >= 0 ? qPrintable(QString::number(row.gapMs, 'f', 1)) : "-",
                qPrintable(row.notes));
    std::fflush(stdout);
    rows_.push_back(std::move(row));
}

void Suite::load() {
    std::vector<double> times;
    qsizetype count = 0;
    for (int k = 0; k < options_.runs; ++k) {
        ScriptedPlatform platform(root());
        AddressListModel list(QStringLiteral(" Email(s)"));
        const Stopwatch clock;
        LoadListFile(list, platform, list_);
        times.push_back(clock.seconds());
        count = list.count();
    }
    const double seconds = median(times);
    ok_ &= count == kMillion;
    add({QStringLiteral("load list file"), kMillion, secondsText(seconds), "-", "-",
         QStringLiteral("< 1 s"), seconds < 1, -1,
         QStringLiteral("%1 entries (the load does not yield)").arg(count)});
}

void Suite::versusPeer(const QString& name, BenchRun::Method method, const Setup& setup,
                       double limit, const QString& target) {
    std::vector<double> ours, oursCpu, peer, peerCpu;
    SortFigures last;
    double gap = 0;
    for (int k = 0; k < options_.runs; ++k) {
        {
            BenchRun r(root(), method, setup);
            r.load(list_);
            last = SortOnce(r);
        }
        ours.push_back(last.seconds);
        oursCpu.push_back(last.cpuSeconds);
        gap = std::max(gap, last.gapMs);
        if (!last.failure.isEmpty()) {
            ok_ = false;
            std::printf("# %s: %s\n", qPrintable(name), qPrintable(last.failure));
        }
        const PeerTime p = RunPeerSort(list_, dir_.path() + QStringLiteral("/peer.txt"));
        ok_ &= p.ok;
        peer.push_back(p.seconds);
        peerCpu.push_back(p.cpuSeconds);
    }
    const double ratio = median(ours) / median(peer);
    add({name, kMillion, secondsText(median(ours)), secondsText(median(peer)), ratioText(ratio),
         target, ratio <= limit, gap,
         QStringLiteral("cpu %1 vs %2 s, %3 results, %4")
             .arg(median(oursCpu), 0, 'f', 2)
             .arg(median(peerCpu), 0, 'f', 2)
             .arg(last.results)
             .arg(last.steps)});
}

// The program itself, from its command line: list file in, results out.
void Suite::batch() {
    const QString program = QCoreApplication::applicationDirPath() + QStringLiteral("/ambervale");
    const QString ourOutput = dir_.path() + QStringLiteral("/batch.txt");
    const QString peerOutput = dir_.path() + QStringLiteral("/peer.txt");
    std::vector<double> ours, oursCpu, peer, peerCpu;
    qsizetype lines = 0;
    for (int k = 0; k < options_.runs; ++k) {
        const PeerTime b = RunTimed(
            {program, QStringLiteral("--batch"), QStringLiteral("--method=database"), list_},
            ourOutput);
        QFile results(ourOutput);
        lines = results.open(QIODevice::ReadOnly) ? results.readAll().count('\n') : 0;
        ok_ &= b.ok && lines == kMillion;
        ours.push_back(b.seconds);
        oursCpu.push_back(b.cpuSeconds);
        const PeerTime p = RunPeerSort(list_, peerOutput);
        ok_ &= p.ok;
        peer.push_back(p.seconds);
        peerCpu.push_back(p.cpuSeconds);
    }
    const double ratio = median(ours) / median(peer);
    add({QStringLiteral("batch, database, to stdout"), kMillion, secondsText(median(ours)),
         secondsText(median(peer)), ratioText(ratio), QStringLiteral("<= 1.8x (1.4x)"),
         ratio <= 1.8, -1,
         QStringLiteral("cpu %1 vs %2 s, %3 lines")
             .arg(median(oursCpu), 0, 'f', 2)
             .arg(median(peerCpu), 0, 'f', 2)
             .arg(lines)});
    QFile::remove(ourOutput);
}

void Suite::memory(BenchRun::Method method, bool window) {
    const bool text = method == BenchRun::Method::Text;
    QStringList arguments{QStringLiteral("--memory-child=") + list_};
    if (window)
        arguments << QStringLiteral("--window");
    if (text)
        arguments << QStringLiteral("--text");
    QProcess child;
    child.start(options_.program, arguments);
    child.waitForFinished(-1);
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (child.exitCode() != 0 || figures.size() != 5) {
        ok_ = false;
        std::printf("# memory case failed: %s\n", child.readAllStandardError().constData());
        return;
    }
    const double peak = figures[0].toDouble(), base = figures[1].toDouble();
    const double textBytes = figures[2].toDouble() * 2;
    const double ratio = peak / textBytes;
    const double limit = text ? 3 : 2.5;
    add({text     ? QStringLiteral("peak memory, text method")
         : window ? QStringLiteral("peak memory, in the window")
                  : QStringLiteral("peak memory"),
         kMillion, QString::number(peak / (1 << 20), 'f', 1) + QStringLiteral(" MiB"),
         QString::number(textBytes / (1 << 20), 'f', 1) + QStringLiteral(" MiB"), ratioText(ratio),
         QStringLiteral("< %1x").arg(limit), ratio < limit, -1,
         QStringLiteral("both lists full; peer: the addresses as UTF-16; %1 MiB before loading, "
                        "%2 inputs, %3 results")
             .arg(base / (1 << 20), 0, 'f', 1)
             .arg(QString::fromLatin1(figures[3]), QString::fromLatin1(figures[4]))});
}

void Suite::inWindow(BenchRun::Method method, const QString& path, qsizetype size) {
    SortFigures f;
    {
        BenchRun r(root(), method, {}, BenchRun::Shown::Window);
        r.load(path);
        f = SortOnce(r);
    }
    addLiveRun(method == BenchRun::Method::Text ? QStringLiteral("window, text method")
                                                : QStringLiteral("window, database"),
               size, f, QStringLiteral("views and painting included"));
}

void Suite::addLiveRun(const QString& name, qsizetype size, const SortFigures& f,
                       const QString& firstNote) {
    const bool complete = f.failure.isEmpty() && f.results == size;
    ok_ &= complete;
    add({name, size, secondsText(f.seconds), "-", "-", QStringLiteral("completes, live"),
         complete && f.gapMs <= kGapTargetMs, f.gapMs,
         QStringLiteral("%1, cpu %2 s, %3 results, %4")
             .arg(firstNote)
             .arg(f.cpuSeconds, 0, 'f', 2)
             .arg(f.results)
             .arg(f.steps)});
}

void Suite::fiveMillion() {
    const qsizetype size = 5 * kMillion;
    const QString path = dir_.path() + QStringLiteral("/five-million.txt");
    ok_ &= WriteAddressFile(path, size) > 0;
    if (wanted("five-million")) {
        SortFigures f;
        double loadSeconds = 0;
        {
            BenchRun r(root(), BenchRun::Method::Database);
            const Stopwatch clock;
            r.load(path);
            loadSeconds = clock.seconds();
            f = SortOnce(r);
        }
        addLiveRun(QStringLiteral("database, five million"), size, f,
                   QStringLiteral("loaded in %1 s").arg(loadSeconds, 0, 'f', 2));
        if (wanted("window"))
            inWindow(BenchRun::Method::Database, path, size);
    }
    if (wanted("text-window"))
        inWindow(BenchRun::Method::Text, path, size);
    QFile::remove(path);
}

void Suite::stops() {
    struct Probe {
        const char* name;
        BenchRun::Method method;
        const char* step;
        qint64 afterNs;
    };
    // Each press comes well inside its step: the text method collects a
    // million keys in a few hundredths of a second.
    const Probe probes[] = {
        {"stop, database step 1", BenchRun::Method::Database, "Step 1", 200'000'000},
        {"stop, database step 2", BenchRun::Method::Database, "Step 2", 100'000'000},
        {"stop, database step 3", BenchRun::Method::Database, "Step 3", 100'000'000},
        {"stop, text step 1", BenchRun::Method::Text, "Step 1", 10'000'000},
        {"stop, text step 2", BenchRun::Method::Text, "Step 2", 100'000'000},
        {"stop, text step 3", BenchRun::Method::Text, "Step 3", 50'000'000},
    };
    for (const Probe& probe : probes) {
        StopFigures f;
        {
            BenchRun r(root(), probe.method);
            r.load(list_);
            f = StopDuring(r, QLatin1String(probe.step), probe.afterNs);
        }
        ok_ &= f.waitedMs >= 0;
        worstStopMs_ = std::max(worstStopMs_, f.waitedMs);
        add({QLatin1String(probe.name), kMillion,
             QString::number(f.waitedMs, 'f', 1) + QStringLiteral(" ms"), "-", "-",
             QStringLiteral("<= 100 ms"), f.waitedMs >= 0 && f.waitedMs <= kStopTargetMs, -1,
             QStringLiteral("click to handling; \"Done.\" %1 ms after the click")
                 .arg(f.endedMs, 0, 'f', 1)});
    }
}

// The commands on a million results: the list file loaded into the results
// list, anew for every run.
void Suite::results() {
    struct Command {
        const char* name;
        bool yields; // filters do not yield: the window waits for them
        std::function<void(BenchRun&)> run;
    };
    const QString saved = dir_.path() + QStringLiteral("/results.txt");
    const Command commands[] = {
        {"filter, remove containing", false,
         [](BenchRun& r) {
             r.platform.inputAnswers.push_back(QStringLiteral("mailbox"));
             RemoveResultsContainingX(r.form(), r.platform);
         }},
        {"filter, remove not containing", false,
         [](BenchRun& r) {
             r.platform.inputAnswers.push_back(QStringLiteral("postmail"));
             RemoveResultsNotContainingX(r.form(), r.platform);
         }},
        {"save as text file", true,
         [&](BenchRun& r) {
             r.platform.saveDialogAnswers.push_back(saved);
             SaveResultsAsTextFile(r.form(), r.platform);
         }},
        {"copy to clipboard", true,
         [](BenchRun& r) { CopyResultsToClipboard(r.form(), r.platform); }},
    };
    for (const Command& command : commands) {
        std::vector<double> times;
        double gap = 0;
        qsizetype left = 0;
        for (int k = 0; k < options_.runs; ++k) {
            BenchRun r(root(), BenchRun::Method::Database);
            LoadListFile(r.form().ListView2, r.platform, list_);
            r.platform.startRun();
            const Stopwatch clock;
            command.run(r);
            times.push_back(clock.seconds());
            gap = std::max(gap, ms(r.platform.longestGapNs()));
            left = r.form().ListView2.count();
            for (const auto& box : r.platform.shownBoxes) {
                if (box.caption == QStringLiteral("Application Error")) {
                    ok_ = false;
                    std::printf("# %s: %s\n", command.name, qPrintable(box.text));
                }
            }
        }
        const double seconds = median(times);
        add({QLatin1String(command.name), kMillion, secondsText(seconds), "-", "-",
             QStringLiteral("< 1 s"), seconds < 1, command.yields ? gap : -1,
             QStringLiteral("%1 results left%2")
                 .arg(left)
                 .arg(command.yields ? QString()
                                     : QStringLiteral("; does not yield, as described"))});
    }
    QFile::remove(saved);
}

void Suite::summary() {
    add({QStringLiteral("longest gap between yields"), 0,
         QString::number(worstGapMs_, 'f', 1) + QStringLiteral(" ms"), "-", "-",
         QStringLiteral("<= 50 ms"), worstGapMs_ <= kGapTargetMs, -1,
         QStringLiteral("over every run above")});
}

bool Suite::run() {
    // Other work on the machine stretches every wall-clock figure.
    QFile loadAverage(QStringLiteral("/proc/loadavg"));
    if (loadAverage.open(QIODevice::ReadOnly))
        std::printf("# load average %s; medians of %d runs (memory, window, stop and five "
                    "million: one run each)\n",
                    loadAverage.readLine().trimmed().constData(), options_.runs);
    std::printf("%-30s %8s %9s %9s %7s  %-16s %-4s %7s  %s\n", "# case", "size", "ours", "peer",
                "ratio", "target", "met", "gap ms", "notes");
    list_ = dir_.path() + QStringLiteral("/million.txt");
    listChars_ = WriteAddressFile(list_, kMillion);
    if (listChars_ < 0)
        return false;
    if (wanted("load"))
        load();
    const BenchRun::Method database = BenchRun::Method::Database, text = BenchRun::Method::Text;
    const Setup none, noDuplicates = [](OptionHandlers&o) { o.setCheck5(true); };
    const Setup onePerDomain = [](OptionHandlers& o) { o.setCheck1(true); };
    const Setup fivePerDomain = [](OptionHandlers& o) {
        o.setCheck2(true);
        o.setText1(QStringLiteral("5"));
    };
    struct PeerCase {
        const char* key;
        const char* name;
        BenchRun::Method method;
        const Setup& setup;
        double limit;
        const char* target;
    };
    const PeerCase peerCases[] = {
        {"db", "database, no option", database, none, 1.35, "<= 1.35x (1.2x)"},
        {"db-dedupe", "database, no duplicates", database, noDuplicates, 1.8, "<= 1.8x (1.5x)"},
        {"db-limit", "database, 5 per domain", database, fivePerDomain, 1.35, "<= 1.35x (1.2x)"},
        {"text", "text method, no option", text, none, 2, "<= 2x (1.5x)"},
        {"text-dedupe", "text, no duplicates", text, noDuplicates, 2.5, "<= 2.5x"},
        {"text-unique", "text, one per domain", text, onePerDomain, 2.5, "<= 2.5x"},
        {"text-limit", "text, 5 per domain", text, fivePerDomain, 2.5, "<= 2.5x"},
    };
    for (const PeerCase& c : peerCases) {
        if (wanted(c.key))
            versusPeer(QLatin1String(c.name), c.method, c.setup, c.limit, QLatin1String(c.target));
    }
    if (wanted("batch"))
        batch();
    if (wanted("memory")) {
        memory(database, false);
        memory(text, false);
    }
    if (wanted("window")) {
        memory(database, true);
        inWindow(database, list_, kMillion);
    }
    if (wanted("results"))
        results();
    if (wanted("stop"))
        stops();
    if (wanted("five-million") || wanted("text-window"))
        fiveMillion();
    summary();
    return ok_;
}
} // namespace

bool RunScaleSuite(const ScaleOptions& options) {
    return Suite(options).run();
}

int RunMemoryChild(const QString& listFile, bool window, BenchRun::Method method) {
    QTemporaryDir dir;
    const qint64 base = CurrentMemory();
    BenchRun r(dir.path(), method, {},
               window ? BenchRun::Shown::Window : BenchRun::Shown::StateOnly);
    r.load(listFile);
    r.press();
    qint64 chars = 0;
    for (qsizetype i = 0; i < r.form().ListView1.count(); ++i)
        chars += r.form().ListView1.at(i).size();
    std::printf("%lld %lld %lld %lld %lld\n", qlonglong(PeakMemory()), qlonglong(base),
                qlonglong(chars), qlonglong(r.form().ListView1.count()),
                qlonglong(r.form().ListView2.count()));
    return r.platform.shownBoxes.size() == 1 ? 0 : 1;
}
