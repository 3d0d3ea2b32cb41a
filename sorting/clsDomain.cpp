#include "clsDomain.h"

#include "AppError.h"

#include <limits>

void clsDomain::AddEmailAddress(QString address) {
    pEmailAddress.append(std::move(address));
}

qint16 clsDomain::Count() const {
    if (pEmailAddress.size() > std::numeric_limits<qint16>::max())
        throw AppError(QStringLiteral("Overflow"), 6);
    return qint16(pEmailAddress.size());
}
