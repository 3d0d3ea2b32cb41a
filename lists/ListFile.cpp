#include "ListFile.h"

#include "AddressListModel.h"
#include "Admission.h"
#include "AppError.h"
#include "Platform.h"

#include <QIODevice>
#include <QStringDecoder>
#include <algorithm>

namespace {
bool isLineEnd(char16_t c) {
    return c == u'\r' || c == u'\n';
}

// A line ends at CR or CR LF and is then cut into pieces at each LF. The empty
// pieces that the different line ends leave between them are never admitted,
// so cutting at every CR and LF in one pass admits exactly the same pieces.
void appendAdmittedPieces(QStringView text, AddressListModel& list) {
    const char16_t* begin = text.utf16();
    const char16_t* const end = begin + text.size();
    for (;;) {
        const char16_t* stop = std::find_if(begin, end, isLineEnd);
        const QStringView piece(begin, stop);
        if (IsAdmitted(piece))
            list.append(piece);
        if (stop == end)
            return;
        begin = stop + 1;
    }
}

qsizetype lastLineEnd(QByteArrayView bytes, qsizetype from) {
    for (qsizetype i = bytes.size(); i-- > from;) {
        if (bytes[i] == '\r' || bytes[i] == '\n')
            return i;
    }
    return -1;
}

qsizetype readBlock(QIODevice& device, QByteArray& bytes, qsizetype blockBytes) {
    const qsizetype held = bytes.size();
    // A line longer than a block grows the buffer geometrically, not a block at a time.
    if (bytes.capacity() < held + blockBytes)
        bytes.reserve(2 * held + blockBytes);
    bytes.resize(held + blockBytes);
    const qint64 got = device.read(bytes.data() + held, blockBytes);
    if (got < 0)
        throw AppError(device.errorString());
    bytes.resize(held + got);
    return qsizetype(got);
}

// The rest of a line that has no "@" in its first bytes is read a block at a
// time and dropped: the line is only kept when an "@" comes before its end,
// and is then read again from lineStart. ("@", CR and LF bytes are those
// characters wherever they occur: no other byte sequence decodes to them.)
// Answers whether the line is to be read again; otherwise `bytes` holds what
// follows the line, from its end on.
bool skipLineWithoutAt(QIODevice& device, qint64 lineStart, QByteArray& bytes,
                       qsizetype blockBytes) {
    for (;;) {
        bytes.resize(0); // the buffer stays for the next block
        if (readBlock(device, bytes, blockBytes) == 0)
            return false;
        qsizetype stop = bytes.size();
        for (const char c : {'@', '\r', '\n'}) {
            const qsizetype at = QByteArrayView(bytes).first(stop).indexOf(c);
            if (at >= 0)
                stop = at;
        }
        if (stop == bytes.size())
            continue;
        if (bytes[stop] != '@') {
            bytes.remove(0, stop);
            return false;
        }
        if (!device.seek(lineStart))
            throw AppError(device.errorString());
        bytes.resize(0);
        return true;
    }
}
} // namespace

void AppendListText(QIODevice& device, AddressListModel& list, qsizetype blockBytes) {
    // CR and LF bytes never occur inside a multibyte character, so the text is
    // decoded in runs of whole lines and no decode depends on the one before.
    // (Qt's decoder drops the byte after a character split between two calls.)
    // A byte-order mark is text like any other.
    QStringDecoder decoder(QStringConverter::System, QStringConverter::Flag::Stateless |
                                                         QStringConverter::Flag::ConvertInitialBom);
    QString chars;
    auto appendDecoded = [&](QByteArrayView run) {
        if (!run.contains('@')) // nothing in it is admitted: no need to decode it
            return;
        chars.resize(decoder.requiredSpace(run.size()));
        const QChar* end = decoder.appendToBuffer(chars.data(), run);
        appendAdmittedPieces(QStringView(chars.constData(), end), list);
    };

    // A line that outgrows a block is held whole only once it is known to be
    // admitted; a file that cannot be read again is held as it comes.
    const bool rereadable = !device.isSequential();
    bool wholeLine = !rereadable;
    QByteArray bytes;        // the start of a line whose end has not been read yet
    qsizetype unscanned = 0; // bytes before this hold no line end
    while (readBlock(device, bytes, blockBytes) > 0) {
        const qsizetype end = lastLineEnd(bytes, unscanned);
        if (end >= 0) {
            appendDecoded(QByteArrayView(bytes).first(end + 1));
            bytes.remove(0, end + 1);
            wholeLine = !rereadable;
        }
        unscanned = bytes.size();
        if (wholeLine || bytes.size() <= blockBytes)
            continue;
        if (bytes.contains('@')) {
            wholeLine = true;
            continue;
        }
        wholeLine = skipLineWithoutAt(device, device.pos() - bytes.size(), bytes, blockBytes);
        unscanned = 0;
    }
    appendDecoded(bytes);
}

void LoadListFile(AddressListModel& list, Platform& platform, const QString& path) {
    if (!platform.fileExists(path)) {
        platform.messageBox(QStringLiteral("File not found"), MessageButtons::Ok,
                            MessageIcon::None);
        return;
    }
    const std::unique_ptr<QIODevice> file = platform.openForReading(path);
    AppendListText(*file, list);
}
