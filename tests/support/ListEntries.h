#pragma once

#include "AddressListModel.h"

#include <QStringList>

// The texts of a list's entries, in order.
inline QStringList Entries(const AddressListModel& list) {
    QStringList out;
    for (qsizetype i = 0; i < list.count(); ++i)
        out << list.text(i);
    return out;
}
