#include "ProgressBarView.h"

#include "ProgressBarAccessible.h"
#include "ShownText.h"

#include <algorithm>
#include <cmath>

ProgressBarView::ProgressBarView(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
    ProgressBarAccessible::install();
}

void ProgressBarView::show(double value, const QString& text) {
    setValue(int(std::lround(std::clamp(value, 0.0, 100.0))));
    // The step texts hold an address, which may be of any length; no more
    // characters than the bar has pixels can come into sight.
    QString shown = ShownStart(text, width());
    if (shown != text_) {
        text_ = std::move(shown);
        update();
    }
}

// The text changes with every address during a run: readers hear of the texts
// that reach the screen, not of each one set. Asked, they get the current one.
void ProgressBarView::paintEvent(QPaintEvent* event) {
    QProgressBar::paintEvent(event);
    if (toldReaders_ != text_) {
        toldReaders_ = text_;
        ProgressBarAccessible::textChanged(this);
    }
}
