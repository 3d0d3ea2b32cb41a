#include "ListTextCheck.h"

#include "AddressListModel.h"
#include "AppError.h"
#include "FailingReader.h"
#include "ListContents.h"
#include "ListFile.h"
#include "ShortReadDevice.h"

#include <QBuffer>
#include <QStringDecoder>
#include <memory>

namespace {
// Invalid and cut sequences become replacement characters, and a byte-order
// mark stays text, as everywhere else in a list file.
QString decodeAll(QByteArrayView bytes) {
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless |
                                                         QStringConverter::Flag::ConvertInitialBom);
    return decoder(bytes);
}

// A fixed, well-mixed number sequence for each input (splitmix64), so a
// failing input replays with the same reads.
class Sequence {
public:
    explicit Sequence(QByteArrayView bytes) {
        for (char c : bytes)
            state_ = (state_ ^ quint8(c)) * 0x100000001b3u;
    }
    quint64 next() {
        quint64 z = (state_ += 0x9e3779b97f4a7c15u);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return z ^ (z >> 31);
    }

private:
    quint64 state_ = 0xcbf29ce484222325u;
};

QString shown(const QStringList& pieces) {
    QString out;
    for (const QString& piece : pieces) {
        out += u'"';
        for (QChar c : piece) {
            if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
                out += c;
            else
                out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
        }
        out += QStringLiteral("\" ");
    }
    return out;
}

QString difference(const QString& how, const QStringList& got, const QStringList& expected) {
    return QStringLiteral("%1: read %2\nexpected %3").arg(how, shown(got), shown(expected));
}
} // namespace

QStringList ReferencePieces(QByteArrayView bytes) {
    const QString text = decodeAll(bytes);
    QStringList pieces;
    qsizetype start = 0;
    while (start < text.size()) {
        qsizetype end = text.indexOf(u'\r', start);
        if (end < 0)
            end = text.size();
        const QString line = text.mid(start, end - start);
        start = end + 1;
        if (start < text.size() && text[start] == u'\n')
            ++start;
        for (const QString& piece : line.split(u'\n')) {
            if (!piece.isEmpty() && piece.contains(u'@'))
                pieces << piece;
        }
    }
    return pieces;
}

QString CheckListText(QByteArrayView bytes) {
    const QStringList expected = ReferencePieces(bytes);
    const QByteArray copy = bytes.toByteArray();

    AddressListModel whole(QStringLiteral(" Email(s)"));
    QBuffer buffer;
    buffer.setData(copy);
    buffer.open(QIODevice::ReadOnly);
    AppendListText(buffer, whole, copy.size() + 1);
    if (Entries(whole) != expected)
        return difference(QStringLiteral("one read"), Entries(whole), expected);

    // Small blocks, so that lines longer than a block occur and the buffer grows.
    Sequence sequence(bytes);
    const qsizetype block = qsizetype(1 + sequence.next() % 128);
    const quint64 longestRead = 1 + sequence.next() % 64;
    auto readSize = [&] { return qint64(1 + sequence.next() % longestRead); };

    // A stream is held as it comes; a file that can be read again is not.
    for (const bool seekable : {false, true}) {
        AddressListModel trickled(QStringLiteral(" Email(s)"));
        ShortReadDevice shortReads(copy, readSize, seekable);
        AppendListText(shortReads, trickled, block);
        if (Entries(trickled) != expected)
            return difference(seekable ? QStringLiteral("short reads, seekable")
                                       : QStringLiteral("short reads"),
                              Entries(trickled), expected);
    }

    // What was read before a failure stays: at least the pieces of every line
    // that ended before it, and never a piece cut short.
    const qint64 failAt = qint64(sequence.next() % quint64(copy.size() + 1));
    AddressListModel broken(QStringLiteral(" Email(s)"));
    FailingReader failing(std::make_unique<ShortReadDevice>(copy, readSize), failAt,
                          QStringLiteral("Input/output error"));
    try {
        AppendListText(failing, broken, block);
        return QStringLiteral("a read failure at byte %1 was not passed on").arg(failAt);
    } catch (const AppError&) {
    }
    const QStringList kept = Entries(broken);
    const QByteArray readBefore = copy.first(failAt);
    const qsizetype completePieces =
        ReferencePieces(readBefore.first(readBefore.lastIndexOf('\r') + 1)).size();
    if (kept.size() < completePieces || kept != expected.mid(0, kept.size()))
        return difference(QStringLiteral("failing at byte %1").arg(failAt), kept, expected);
    return {};
}
