#pragma once

#include <QStringView>

// Whether a typed text or a piece of a list file goes into the input list: it
// must not be empty and must hold an "@". Nothing else is checked or changed.
inline bool IsAdmitted(QStringView text) {
    return !text.isEmpty() && text.contains(u'@');
}
