#include "ProgressBarView.h"

#include "ShownText.h"

#include <algorithm>
#include <cmath>

ProgressBarView::ProgressBarView(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
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
