#pragma once

#include "ScriptedPlatform.h"

#include <QElapsedTimer>
#include <functional>

// A scripted platform whose yields behave like the window's: a real yield
// about once a frame, processing the pending events. It measures the longest
// stretch between the ends of two real yields.
class BenchPlatform : public ScriptedPlatform {
public:
    explicit BenchPlatform(const QString& root);

    // Starts measuring afresh, as a run begins.
    void startRun();
    void yield() override;
    void yieldInsideCall() override;
    // The clipboard of the (offscreen) window system, as the window uses it.
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;

    qint64 longestGapNs() const { return longestGapNs_; }
    // What `whereNow` said when the longest stretch ended.
    const QString& longestGapWhere() const { return longestGapWhere_; }
    std::function<QString()> whereNow;

private:
    QElapsedTimer sinceYield_;
    qint64 longestGapNs_ = 0;
    QString longestGapWhere_;
};
