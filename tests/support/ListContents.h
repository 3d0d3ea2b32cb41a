#pragma once

#include "AddressListModel.h"

#include <QStringList>

// The entries of a list as texts, and a list filled from texts.
inline QStringList entriesOf(const AddressListModel& list) {
    QStringList out;
    for (qsizetype i = 0; i < list.count(); ++i)
        out << list.text(i);
    return out;
}

inline void fillList(AddressListModel& list, const QStringList& texts) {
    for (const QString& text : texts)
        list.append(text);
}
