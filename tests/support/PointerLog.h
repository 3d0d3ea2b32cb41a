#pragma once

#include "FormState.h"

#include <QList>
#include <QObject>

// Every mouse pointer the window is given, in order.
class PointerLog : public QObject {
public:
    explicit PointerLog(FormState& form) {
        connect(&form, &FormState::mousePointerChanged, this,
                [this, &form] { shown.append(form.mousePointer()); });
    }
    QList<MousePointer> shown;
};
