#pragma once

#include "AddressListModel.h"
#include "AddressListView.h"

#include <QCoreApplication>

inline QString NumberedAddress(int i) {
    return QStringLiteral("user%1@example.com").arg(i);
}

// Appends n numbered addresses and lets the model announce them.
inline void AppendShown(AddressListModel& list, int n) {
    const int first = int(list.count());
    for (int i = first; i < first + n; ++i)
        list.append(NumberedAddress(i));
    QCoreApplication::processEvents();
}

// A results list shown in a view set up as the window sets up its lists, a
// little narrower than its column.
struct ShownList {
    AddressListModel list{QStringLiteral("Result(s)")};
    AddressListView view;

    explicit ShownList(int rows) {
        view.setAccessibleName(QStringLiteral("Results"));
        view.setSelectionMode(QAbstractItemView::SingleSelection);
        view.setSelectionBehavior(QAbstractItemView::SelectRows);
        view.setEditTriggers(QAbstractItemView::NoEditTriggers);
        view.setModel(&list);
        view.setColumnWidth(0, 300);
        view.resize(260, 200);
        view.show();
        AppendShown(list, rows);
    }
};
