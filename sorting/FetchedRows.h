#pragma once

#include "Database.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// The (Email, Domain) rows of a query, read to the end at once and then gone
// through in order as the statement would give them: a walk that must know
// the number of rows first reads them once instead of running the query twice.
// Packed one after another, most rows cost their address's bytes and a few more.
class FetchedRows {
public:
    // Room for about this many rows and UTF-8 bytes of their emails.
    void reserve(qsizetype rows, qsizetype bytes);
    // Takes the statement's current row and every one after it.
    void fetch(DatabaseStatement& rows);
    qsizetype count() const { return count_; }

    // The current row's Email (column 0) and Domain (1), as the statement
    // answers them; the first row is current after fetch().
    QByteArrayView utf8(int column) const { return column == 0 ? email_ : domain_; }
    // The Email's UTF-16, kept only for an Email beyond ASCII.
    QStringView text(int column) const;
    // To the next row: false past the last.
    bool step();

private:
    void read();

    QByteArray packed_;
    QString wide_; // the UTF-16 of the emails beyond ASCII, one after another
    qsizetype count_ = 0;
    qsizetype next_ = 0;     // where the row after the current one starts in packed_
    qsizetype nextWide_ = 0; // and its wide text, if it has one, in wide_
    QByteArrayView email_, domain_;
    QStringView wideEmail_;
};
