#include "ReaderEvents.h"

#include <QAccessible>

#include <utility>

namespace {
ReaderEvents::Listener listener = nullptr;
}

ReaderEvents::Listener ReaderEvents::setListener(Listener next) {
    return std::exchange(listener, next);
}

bool ReaderEvents::heard() {
    return listener || QAccessible::isActive();
}

void ReaderEvents::tell(QAccessibleEvent* event) {
    if (listener)
        listener(event);
    else
        QAccessible::updateAccessibility(event);
}
