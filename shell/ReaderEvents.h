#pragma once

class QAccessibleEvent;

// Where the window's events for screen readers go: Qt's readers unless a
// listener is set (tests, where no platform reader runs).
namespace ReaderEvents {
using Listener = void (*)(QAccessibleEvent* event);
// Answers the previous listener.
Listener setListener(Listener listener);
// Is anyone listening? When not, events need not even be made.
bool heard();
void tell(QAccessibleEvent* event);
} // namespace ReaderEvents
