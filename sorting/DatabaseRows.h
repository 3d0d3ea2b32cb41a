#pragma once

#include <QAnyStringView>
#include <QByteArray>
#include <QString>

// The three values of one row of tblEmls, made from an address the way they
// are stored: double quotes become apostrophes, and each value is cut to
// kStoredLength UTF-16 code units (one fewer rather than split a surrogate
// pair). The local part is the text before the first "@", the domain the
// text between the first and the second "@" (or to the end). The values are
// UTF-8 when the address is ASCII, otherwise UTF-16: what the engine takes
// without a copy.
class DatabaseRow {
public:
    static constexpr qsizetype kStoredLength = 255;

    // The views point into the address, or into this object when a value
    // needed changing; they stay valid until the next fill() or until the
    // address changes.
    void fill(QAnyStringView address);

    QAnyStringView email() const { return email_; }
    QAnyStringView localPart() const { return localPart_; }
    QAnyStringView domain() const { return domain_; }

private:
    template <class View> void split(View address);
    template <class View> QAnyStringView stored(View value, int buffer);

    QAnyStringView email_, localPart_, domain_;
    QString widened_; // a Latin-1 address beyond ASCII
    QString wideBuffers_[3];
    QByteArray asciiBuffers_[3];
};
