#include "ProgressBarView.h"

#include "ProgressBarAccessible.h"

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
    if (text != text_) {
        text_ = text;
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
