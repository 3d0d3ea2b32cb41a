#include "FetchedRows.h"

#include "TextWidth.h"

#include <cstring>

namespace {
// Each row: its header, the email's bytes, then the domain's unless they end the email.
struct Header {
    quint16 emailBytes;
    quint16 domainBytes;
    quint16 wideUnits; // of the email's UTF-16, next in line in the wide texts
    bool domainEndsEmail;
};

bool endsWith(QByteArrayView email, QByteArrayView domain) {
    return email.size() > domain.size() && email.endsWith(domain) &&
           email[email.size() - domain.size() - 1] == '@';
}
} // namespace

void FetchedRows::reserve(qsizetype rows, qsizetype bytes) {
    packed_.reserve(rows * qsizetype(sizeof(Header)) + bytes);
}

void FetchedRows::fetch(DatabaseStatement& rows) {
    do {
        const QByteArrayView email = rows.utf8(0);
        const QByteArrayView domain = rows.utf8(1);
        // Stored values are at most 255 UTF-16 units: at most 765 UTF-8 bytes.
        Header header{quint16(email.size()), quint16(domain.size()), 0, endsWith(email, domain)};
        const qsizetype at = packed_.size();
        packed_.append(reinterpret_cast<const char*>(&header), sizeof header);
        packed_.append(email);
        if (!header.domainEndsEmail)
            packed_.append(domain);
        // Asked last: the engine's conversion replaces the column's UTF-8.
        if (!IsAscii(email)) {
            const QStringView wide = rows.text(0);
            wide_.append(wide);
            header.wideUnits = quint16(wide.size());
            std::memcpy(packed_.data() + at, &header, sizeof header);
        }
        ++count_;
    } while (rows.step());
    read();
}

QStringView FetchedRows::text(int column) const {
    Q_ASSERT(column == 0);
    return wideEmail_;
}

bool FetchedRows::step() {
    if (next_ >= packed_.size())
        return false;
    read();
    return true;
}

void FetchedRows::read() {
    Header header;
    std::memcpy(&header, packed_.constData() + next_, sizeof header);
    const char* email = packed_.constData() + next_ + sizeof header;
    email_ = QByteArrayView(email, header.emailBytes);
    domain_ = header.domainEndsEmail
                  ? email_.last(header.domainBytes)
                  : QByteArrayView(email + header.emailBytes, header.domainBytes);
    next_ += qsizetype(sizeof header) + header.emailBytes +
             (header.domainEndsEmail ? 0 : header.domainBytes);
    wideEmail_ = QStringView(wide_).sliced(nextWide_, header.wideUnits);
    nextWide_ += header.wideUnits;
}
