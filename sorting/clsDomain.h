#pragma once

#include <QString>
#include <QStringList>

// The bucket of one domain while results are limited per domain: its domain
// text and the addresses added for it so far, which it only counts.
class clsDomain {
public:
    void AddEmailAddress(QString address);
    // Throws the overflow error beyond what a signed 16-bit count can hold.
    qint16 Count() const;
    const QString& Domain() const { return pDomain; }
    void setDomain(QString domain) { pDomain = std::move(domain); }

private:
    QStringList pEmailAddress;
    QString pDomain;
};
