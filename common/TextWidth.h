#pragma once

#include <QByteArrayView>
#include <QStringView>

// Whether a text fits in one byte a character. Both are plain reductions,
// which the compiler turns into wide loads.
inline bool FitsLatin1(QStringView text) {
    char16_t all = 0;
    for (QChar c : text)
        all |= c.unicode();
    return all < 0x100;
}

inline bool IsAscii(QByteArrayView bytes) {
    unsigned char all = 0;
    for (char c : bytes)
        all |= static_cast<unsigned char>(c);
    return all < 0x80;
}
