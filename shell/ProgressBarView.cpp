#include "ProgressBarView.h"

#include <algorithm>
#include <cmath>

ProgressBarView::ProgressBarView(QWidget* parent) : QProgressBar(parent) {
    setRange(0, 100);
    setTextVisible(true);
    setAlignment(Qt::AlignCenter);
}

void ProgressBarView::show(double value, const QString& text) {
    setValue(int(std::lround(std::clamp(value, 0.0, 100.0))));
    if (text != text_) {
        text_ = text;
        update();
    }
}
