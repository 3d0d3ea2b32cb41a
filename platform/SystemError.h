#pragma once

#include "AppError.h"

// Whether a system error code (errno) means the file system has no room
// left for the writer: the disk or the user's quota is full.
bool IsDiskFull(int code);

// A failed call of the system, as the error report shows it: a full disk and
// exhausted memory in the platform's words, anything else in the system's
// own text with the given number.
AppError SystemError(int code, int number);
