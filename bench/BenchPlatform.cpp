#include "BenchPlatform.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <algorithm>

BenchPlatform::BenchPlatform(const QString& root) : ScriptedPlatform(root) {
    clock = FrameClock::perFrame();
    startRun();
}

void BenchPlatform::startRun() {
    longestGapNs_ = 0;
    longestGapWhere_.clear();
    yieldCount = 0;
    sinceYield_.start();
    clock.restart();
}

// From the end of one turn to the end of the next: the work between them and
// what the window does in the turn (laying out, painting) until it shows.
void BenchPlatform::yield() {
    QCoreApplication::processEvents();
    ScriptedPlatform::yield();
    const qint64 gap = sinceYield_.nsecsElapsed();
    if (gap > longestGapNs_) {
        longestGapNs_ = gap;
        if (whereNow)
            longestGapWhere_ = whereNow();
    }
    sinceYield_.restart();
    clock.restart();
}

void BenchPlatform::yieldInsideCall() {
    if (clock.due())
        yield();
}

void BenchPlatform::clearClipboard() {
    ScriptedPlatform::clearClipboard();
    QGuiApplication::clipboard()->clear();
}

void BenchPlatform::setClipboardText(const QString& text) {
    ScriptedPlatform::setClipboardText(text);
    QGuiApplication::clipboard()->setText(text);
}
