#include "FocusRing.h"

#include <QApplication>
#include <QPainter>

namespace {
constexpr int kThickness = 2;
}

FocusRing::FocusRing(QWidget* window) : QWidget(window), window_(window) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    connect(qApp, &QApplication::focusChanged, this,
            [this](QWidget*, QWidget* now) { follow(now); });
}

void FocusRing::follow(QWidget* focused) {
    if (!focused || !window_->isAncestorOf(focused)) {
        hide();
        return;
    }
    // Beside the control and just under it in the stacking order, so that a
    // control laid over its edge (the limit box over its check box) stays whole.
    setParent(focused->parentWidget());
    setGeometry(focused->geometry().adjusted(-kThickness, -kThickness, kThickness, kThickness));
    setMask(QRegion(rect()) -
            QRegion(rect().adjusted(kThickness, kThickness, -kThickness, -kThickness)));
    stackUnder(focused);
    show();
}

void FocusRing::paintEvent(QPaintEvent*) {
    QPainter(this).fillRect(rect(), palette().color(QPalette::Highlight));
}
