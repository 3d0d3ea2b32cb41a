#pragma once

#include <QString>
#include <QStringView>

// The three values of one row of tblEmls, made from an address the way they
// are stored: double quotes become apostrophes, and each value is cut to
// kStoredLength UTF-16 code units (one fewer rather than split a surrogate
// pair). The local part is the text before the first "@", the domain the
// text between the first and the second "@" (or to the end).
class DatabaseRow {
public:
    static constexpr qsizetype kStoredLength = 255;

    // The views point into the address, or into this object when a value
    // needed changing; they stay valid until the next fill() or until the
    // address changes.
    void fill(QStringView address);

    QStringView email() const { return email_; }
    QStringView localPart() const { return localPart_; }
    QStringView domain() const { return domain_; }

private:
    QStringView stored(QStringView value, QString& buffer);

    QStringView email_, localPart_, domain_;
    QString emailBuffer_, localPartBuffer_, domainBuffer_;
};
