#pragma once

#include "PerDomainLimit.h"

#include <QString>
#include <optional>

// N of "Keep only this number of email addresses per domain:", read from the
// box when a run starts and again as its method needs it. A text that is not
// a number keeps the number read last; before any number has been read there
// is none. What a limit of zero, or none, means is each method's own.
class DomainLimit {
public:
    explicit DomainLimit(const QString& text) { read(text); }

    std::optional<qint16> read(const QString& text) {
        if (text != text_) {
            text_ = text;
            if (const std::optional<qint16> value = PerDomainLimit(text))
                value_ = value;
        }
        return value_;
    }
    // The number read last.
    std::optional<qint16> last() const { return value_; }

private:
    QString text_;
    std::optional<qint16> value_;
};
