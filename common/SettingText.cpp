#include "SettingText.h"

#include "AppError.h"
#include "PerDomainLimit.h"

#include <QLocale>

namespace {
bool isDigit(QStringView text, qsizetype i) {
    return i < text.size() && text[i] >= u'0' && text[i] <= u'9';
}

qsizetype skipDigits(QStringView text, qsizetype i) {
    while (isDigit(text, i))
        ++i;
    return i;
}

bool isSign(QStringView text, qsizetype i) {
    return i < text.size() && (text[i] == u'+' || text[i] == u'-');
}
} // namespace

double LeadingNumber(const QString& text) {
    const QStringView all(text);
    qsizetype start = 0;
    while (start < all.size() && all[start].isSpace())
        ++start;
    qsizetype end = isSign(all, start) ? start + 1 : start;
    const qsizetype whole = end;
    end = skipDigits(all, end);
    bool anyDigit = end > whole;
    if (end < all.size() && all[end] == u'.') {
        const qsizetype fraction = end + 1;
        end = skipDigits(all, fraction);
        anyDigit = anyDigit || end > fraction;
    }
    if (!anyDigit)
        return 0;
    if (end < all.size() && (all[end] == u'e' || all[end] == u'E')) {
        const qsizetype exponent = isSign(all, end + 1) ? end + 2 : end + 1;
        if (isDigit(all, exponent))
            end = skipDigits(all, exponent);
    }
    return QLocale::c().toDouble(all.mid(start, end - start));
}

bool SettingToBoolean(const QString& text) {
    const QString word = text.trimmed();
    if (word.compare(QStringLiteral("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (word.compare(QStringLiteral("False"), Qt::CaseInsensitive) == 0)
        return false;
    if (!IsNumeric(word))
        throw AppError(QStringLiteral("Type mismatch"), 13);
    return QLocale::c().toDouble(word) != 0;
}

QString BooleanSetting(bool value) {
    return value ? QStringLiteral("True") : QStringLiteral("False");
}
