#pragma once

#include <QString>
#include <optional>

// The number the user typed into the per-domain limit box: whether it is a
// number at all, and its value as a signed 16-bit integer (nearest integer,
// halves to the even neighbour, clamped into -32768..32767).
bool IsNumeric(const QString& text);
std::optional<qint16> PerDomainLimit(const QString& text);
