#include "ResultLines.h"

#include "AddressListModel.h"
#include "AppError.h"
#include "TextWidth.h"

#include <QByteArray>
#include <cerrno>
#include <cstring>

namespace {
constexpr qsizetype kBlock = 1 << 20;

void appendUtf8(QByteArray& out, QLatin1StringView text) {
    const QByteArrayView bytes(text.data(), text.size());
    if (IsAscii(bytes)) // nearly every address: its bytes are already UTF-8
        out.append(bytes);
    else
        out.append(QString(text).toUtf8());
}

void appendUtf8(QByteArray& out, QStringView text) {
    out.append(text.toUtf8());
}

void flush(QByteArray& pending, std::FILE* stream) {
    if (std::fwrite(pending.constData(), 1, size_t(pending.size()), stream) !=
        size_t(pending.size()))
        throw AppError(QString::fromLocal8Bit(std::strerror(errno)), 57);
    pending.resize(0);
}
} // namespace

void WriteResultLines(const AddressListModel& list, std::FILE* stream) {
    QByteArray pending;
    pending.reserve(kBlock + 4096);
    for (qsizetype i = 0; i < list.count(); ++i) {
        VisitText(list.at(i), [&](auto text) { appendUtf8(pending, text); });
        pending.append('\n');
        if (pending.size() >= kBlock)
            flush(pending, stream);
    }
    flush(pending, stream);
    if (std::fflush(stream) != 0)
        throw AppError(QString::fromLocal8Bit(std::strerror(errno)), 57);
}
