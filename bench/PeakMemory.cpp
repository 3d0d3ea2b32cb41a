#include "PeakMemory.h"

#include <QFile>

namespace {
qint64 statusBytes(const QByteArray& field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong() * 1024;
    }
    return 0;
}
} // namespace

qint64 PeakMemory() {
    return statusBytes("VmHWM:");
}

qint64 CurrentMemory() {
    return statusBytes("VmRSS:");
}

bool ResetPeakMemory() {
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}
