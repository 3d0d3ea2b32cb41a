#pragma once

// Values of the window's mouse pointer; Busy doubles as the busy flag.
enum class MousePointer { Default = 0, Busy = 11, Custom = 99 };
