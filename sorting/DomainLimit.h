#pragma once

#include "PerDomainLimit.h"

#include <QString>

// N of "Keep only this number of email addresses per domain:", read from the
// box whenever it is needed. A text that is not a number keeps the number read
// last; before any number has been read, N is 0 (one address per domain).
class DomainLimit {
public:
    explicit DomainLimit(const QString& text) { read(text); }

    qint16 read(const QString& text) {
        if (text != text_) {
            text_ = text;
            if (const std::optional<qint16> value = PerDomainLimit(text))
                value_ = *value;
        }
        return value_;
    }

private:
    QString text_;
    qint16 value_ = 0;
};
