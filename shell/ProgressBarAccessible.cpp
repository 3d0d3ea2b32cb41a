#include "ProgressBarAccessible.h"

#include "ProgressBarView.h"
#include "ReaderEvents.h"

namespace {
QAccessibleInterface* factory(const QString&, QObject* object) {
    if (auto* bar = qobject_cast<ProgressBarView*>(object))
        return new ProgressBarAccessible(bar);
    return nullptr;
}
} // namespace

ProgressBarAccessible::ProgressBarAccessible(ProgressBarView* bar)
    : QAccessibleWidget(bar, QAccessible::ProgressBar) {}

void ProgressBarAccessible::install() {
    static const bool installed = [] {
        QAccessible::installFactory(factory);
        return true;
    }();
    Q_UNUSED(installed);
}

void ProgressBarAccessible::textChanged(ProgressBarView* bar) {
    if (!ReaderEvents::heard())
        return;
    QAccessibleEvent event(bar, QAccessible::NameChanged);
    ReaderEvents::tell(&event);
}

ProgressBarView* ProgressBarAccessible::bar() const {
    return static_cast<ProgressBarView*>(widget());
}

QString ProgressBarAccessible::text(QAccessible::Text t) const {
    if (t == QAccessible::Name || t == QAccessible::Value)
        return bar()->text();
    return QAccessibleWidget::text(t);
}

void* ProgressBarAccessible::interface_cast(QAccessible::InterfaceType type) {
    if (type == QAccessible::ValueInterface)
        return static_cast<QAccessibleValueInterface*>(this);
    return QAccessibleWidget::interface_cast(type);
}

QVariant ProgressBarAccessible::currentValue() const {
    return bar()->value();
}

QVariant ProgressBarAccessible::maximumValue() const {
    return bar()->maximum();
}

QVariant ProgressBarAccessible::minimumValue() const {
    return bar()->minimum();
}
