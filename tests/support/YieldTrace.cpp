#include "YieldTrace.h"

namespace {
QString shown(const FormState& form) {
    return BarShown(form) + u'|' + form.sortCaption() + u'|' +
           QString::number(int(form.mousePointer()));
}
} // namespace

YieldTrace::YieldTrace(ScriptedPlatform& platform, const FormState& form, int every) {
    platform.clock = FrameClock(0, every);
    platform.onYield = [this, &platform, &form, every, last = qint64(0)]() mutable {
        // A point is due exactly at every `every`-th ask, and a due point yields at once.
        const qint64 point = platform.clock.pointsAsked();
        if (point != last && point % every == 0)
            atPoint.insert(point, shown(form));
        else
            unconditional << shown(form);
        last = point;
    };
}

QString SparseMismatch(const YieldTrace& dense, const YieldTrace& sparse) {
    for (auto it = sparse.atPoint.begin(); it != sparse.atPoint.end(); ++it) {
        const QString expected = dense.atPoint.value(it.key(), QStringLiteral("(no yield)"));
        if (it.value() != expected)
            return QStringLiteral("point %1: %2, not %3").arg(it.key()).arg(it.value(), expected);
    }
    if (sparse.unconditional != dense.unconditional)
        return QStringLiteral("unconditional yields: ") + sparse.unconditional.join(u',') +
               QStringLiteral(", not ") + dense.unconditional.join(u',');
    return QString();
}
