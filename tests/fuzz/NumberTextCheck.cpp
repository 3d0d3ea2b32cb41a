#include "NumberTextCheck.h"

#include "AppError.h"
#include "PerDomainLimit.h"
#include "SettingText.h"

#include <cmath>
#include <locale.h>
#include <optional>
#include <stdlib.h>

// The plain reading: the rules written out once more, by hand, with the C
// library converting the digits.
namespace {
// Unicode's White_Space.
bool isBlank(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 0x09 && u <= 0x0D) || u == 0x20 || u == 0x85 || u == 0xA0 || u == 0x1680 ||
           (u >= 0x2000 && u <= 0x200A) || u == 0x2028 || u == 0x2029 || u == 0x202F ||
           u == 0x205F || u == 0x3000;
}

bool isDigitAt(QStringView text, qsizetype i) {
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

qsizetype digitsFrom(QStringView text, qsizetype i) {
    qsizetype n = 0;
    while (isDigitAt(text, i + n))
        ++n;
    return n;
}

bool isSignAt(QStringView text, qsizetype i) {
    return i < text.size() && (text[i] == u'+' || text[i] == u'-');
}

// The number's characters without group separators, as the C library reads them.
double valueOf(QStringView number) {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(nullptr));
    QByteArray ascii;
    for (QChar ch : number) {
        if (ch != u',')
            ascii += char(ch.unicode());
    }
    return strtod_l(ascii.constData(), nullptr, c);
}

QStringView trimmed(QStringView text) {
    qsizetype from = 0;
    qsizetype to = text.size();
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.sliced(from, to - from);
}

// Blanks, a sign, digits, a point and digits, at least one digit in all, and
// an exponent when digits follow its letter and sign; 0 when no digit comes.
double leadingNumber(QStringView text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    const qsizetype start = i;
    if (isSignAt(text, i))
        ++i;
    qsizetype digits = digitsFrom(text, i);
    i += digits;
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fraction = digitsFrom(text, i + 1);
        digits += fraction;
        i += 1 + fraction;
    }
    if (digits == 0)
        return 0;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        const qsizetype sign = isSignAt(text, i + 1) ? 1 : 0;
        const qsizetype exponent = digitsFrom(text, i + 1 + sign);
        if (exponent > 0)
            i += 1 + sign + exponent;
    }
    return valueOf(text.sliced(start, i - start));
}

// A whole text that is a number: blanks around it, a sign, digits (or one to
// three digits and then groups of a comma and three digits), a point and
// digits, at least one digit before the exponent, an exponent with digits.
// Its value, when it is finite.
std::optional<double> number(QStringView all) {
    const QStringView text = trimmed(all);
    qsizetype i = isSignAt(text, 0) ? 1 : 0;
    const qsizetype first = digitsFrom(text, i);
    i += first;
    qsizetype digits = first;
    if (first >= 1 && first <= 3) {
        while (i < text.size() && text[i] == u',' && digitsFrom(text, i + 1) == 3) {
            i += 4;
            digits += 3;
        }
    }
    if (i < text.size() && text[i] == u'.') {
        const qsizetype fraction = digitsFrom(text, i + 1);
        digits += fraction;
        i += 1 + fraction;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == u'e' || text[i] == u'E')) {
        const qsizetype sign = isSignAt(text, i + 1) ? 1 : 0;
        const qsizetype exponent = digitsFrom(text, i + 1 + sign);
        if (exponent == 0)
            return std::nullopt;
        i += 1 + sign + exponent;
    }
    if (i != text.size())
        return std::nullopt;
    const double value = valueOf(text);
    if (!std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<bool> boolean(QStringView text) {
    const QStringView word = trimmed(text);
    // Any letter case, as Unicode folds letters: "ſ" is a small "s".
    const QString folded = word.toString().toCaseFolded();
    if (folded == u"true")
        return true;
    if (folded == u"false")
        return false;
    if (const std::optional<double> value = number(word))
        return *value != 0;
    return std::nullopt;
}

// The nearest integer, halves to the even one, then into -32768..32767.
std::optional<qint16> limit(QStringView text) {
    const std::optional<double> value = number(text);
    if (!value)
        return std::nullopt;
    const double below = std::floor(*value);
    const double over = *value - below;
    double nearest = below;
    if (over > 0.5 || (over == 0.5 && std::fmod(below, 2) != 0))
        nearest = below + 1;
    if (nearest < -32768)
        return qint16(-32768);
    if (nearest > 32767)
        return qint16(32767);
    return qint16(nearest);
}

QString shown(std::optional<double> value) {
    return value ? QString::number(*value, 'g', 17) : QStringLiteral("none");
}
} // namespace

QString CheckNumberText(const QString& text) {
    const double leading = LeadingNumber(text);
    const double plainLeading = leadingNumber(text);
    if (leading != plainLeading)
        return QStringLiteral("leading number %1, plainly %2")
            .arg(shown(leading), shown(plainLeading));

    std::optional<bool> stored;
    try {
        stored = SettingToBoolean(text);
    } catch (const AppError&) {
    }
    const std::optional<bool> plainStored = boolean(text);
    if (stored != plainStored)
        return QStringLiteral("stored method %1, plainly %2")
            .arg(stored ? QString::number(*stored) : QStringLiteral("none"),
                 plainStored ? QString::number(*plainStored) : QStringLiteral("none"));

    const std::optional<qint16> box = PerDomainLimit(text);
    const std::optional<qint16> plainBox = limit(text);
    if (IsNumeric(text) != box.has_value() || box != plainBox)
        return QStringLiteral("limit %1 (numeric %2), plainly %3")
            .arg(box ? QString::number(*box) : QStringLiteral("none"))
            .arg(IsNumeric(text))
            .arg(plainBox ? QString::number(*plainBox) : QStringLiteral("none"));
    return {};
}
