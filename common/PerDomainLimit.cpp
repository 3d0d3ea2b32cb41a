#include "PerDomainLimit.h"

#include <QLocale>
#include <cmath>
#include <limits>

namespace {
std::optional<double> number(const QString& text) {
    const QString trimmed = text.trimmed();
    bool ok = false;
    const double value = QLocale::c().toDouble(trimmed, &ok);
    if (ok && std::isfinite(value))
        return value;
    // Qt refuses a number too small for a double, which is as near zero as
    // its digits turned to zeros, a number of the same form that Qt takes.
    if (!ok && value == 0) {
        QString zeros = trimmed;
        for (QChar& c : zeros) {
            if (c >= u'1' && c <= u'9')
                c = u'0';
        }
        const double zero = QLocale::c().toDouble(zeros, &ok);
        if (ok)
            return zero;
    }
    return std::nullopt;
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
