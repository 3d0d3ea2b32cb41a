#include "RunProbes.h"

#include "Stopwatch.h"

#include <QElapsedTimer>

namespace {
double ms(qint64 ns) {
    return double(ns) / 1e6;
}
} // namespace

SortFigures SortOnce(BenchRun& r) {
    QElapsedTimer clock;
    qint64 step2 = -1, step3 = -1;
    QObject::connect(&r.form(), &FormState::progressChanged, [&] {
        if (step2 < 0 && r.form().progressText().startsWith(QStringLiteral("Step 2")))
            step2 = clock.nsecsElapsed();
    });
    QObject::connect(&r.form(), &FormState::sortCaptionChanged, [&] {
        if (step3 < 0 && r.form().sortCaption() == kStopAdding)
            step3 = clock.nsecsElapsed();
    });
    r.platform.startRun();
    const Stopwatch stopwatch;
    clock.start();
    r.press();
    SortFigures f;
    const qint64 end = clock.nsecsElapsed();
    f.seconds = stopwatch.seconds();
    f.cpuSeconds = stopwatch.cpuSeconds();
    f.gapMs = ms(r.platform.longestGapNs());
    f.results = r.form().ListView2.count();
    if (step2 >= 0 && step3 >= 0)
        f.steps = QStringLiteral("steps %1/%2/%3 s")
                      .arg(double(step2) / 1e9, 0, 'f', 2)
                      .arg(double(step3 - step2) / 1e9, 0, 'f', 2)
                      .arg(double(end - step3) / 1e9, 0, 'f', 2);
    if (!r.platform.longestGapWhere().isEmpty())
        f.steps += QStringLiteral(", longest gap in ") + r.platform.longestGapWhere();
    for (const auto& box : r.platform.shownBoxes) {
        if (box.text != QStringLiteral("Done."))
            f.failure = box.text;
    }
    return f;
}

StopFigures StopDuring(BenchRun& r, const QString& step, qint64 afterNs) {
    QElapsedTimer clock;
    qint64 stepSince = -1, due = -1, handled = -1, done = -1;
    QObject::connect(&r.form(), &FormState::progressChanged, [&] {
        if (stepSince < 0 && r.form().progressText().startsWith(step))
            stepSince = clock.nsecsElapsed();
    });
    r.platform.onYield = [&] {
        if (handled >= 0 || stepSince < 0 || clock.nsecsElapsed() < stepSince + afterNs)
            return;
        due = stepSince + afterNs;
        handled = clock.nsecsElapsed();
        r.press();
    };
    r.platform.onMessageBox = [&](const auto&) { done = clock.nsecsElapsed(); };
    r.platform.startRun();
    clock.start();
    r.press();
    r.platform.onYield = nullptr;
    StopFigures f;
    if (due >= 0) {
        f.waitedMs = ms(handled - due);
        f.endedMs = ms(done - due);
    }
    return f;
}
