#pragma once

#include "FormState.h"
#include "ScriptedPlatform.h"

#include <QMap>
#include <QStringList>

// The bar as "value|text".
inline QString BarShown(const FormState& form) {
    return QString::number(form.progressValue()) + u'|' + form.progressText();
}

// What the window shows (bar, sort button, pointer) at each real yield of a
// run whose yield points are real only at every `every`-th one: by the yield
// point the clock let through, and apart from those, in order, the yields
// that a run makes whatever the clock says.
class YieldTrace {
public:
    YieldTrace(ScriptedPlatform& platform, const FormState& form, int every = 1);
    YieldTrace(const YieldTrace&) = delete;
    YieldTrace& operator=(const YieldTrace&) = delete;

    QMap<qint64, QString> atPoint;
    QStringList unconditional;
    int yields() const { return int(atPoint.size() + unconditional.size()); }
};

// Empty when each state of the sparse trace is the dense trace's at the same
// point; otherwise the first that is not.
QString SparseMismatch(const YieldTrace& dense, const YieldTrace& sparse);
