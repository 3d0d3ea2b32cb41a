#include "PerDomainLimit.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {
std::optional<double> number(const QString& text) {
    bool ok = false;
    const double value = QLocale::c().toDouble(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}
} // namespace

bool IsNumeric(const QString& text) {
    return number(text).has_value();
}

std::optional<qint16> PerDomainLimit(const QString& text) {
    const std::optional<double> value = number(text);
    if (!value)
        return std::nullopt;
    const double rounded = std::nearbyint(*value); // the default rounding mode: halves to even
    if (rounded <= std::numeric_limits<qint16>::min())
        return std::numeric_limits<qint16>::min();
    if (rounded >= std::numeric_limits<qint16>::max())
        return std::numeric_limits<qint16>::max();
    return qint16(rounded);
}
