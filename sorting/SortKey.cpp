#include "SortKey.h"

AtPieces SplitAtSigns(QStringView text) {
    const qsizetype at = text.indexOf(u'@');
    if (at < 0)
        return {text, {}};
    const QStringView rest = text.mid(at + 1);
    const qsizetype second = rest.indexOf(u'@');
    return {text.left(at), second < 0 ? rest : rest.left(second)};
}

QString SwapAroundAt(QStringView text) {
    const AtPieces pieces = SplitAtSigns(text);
    QString swapped;
    swapped.reserve(pieces.first.size() + 1 + pieces.second.size());
    swapped.append(pieces.second).append(u'@').append(pieces.first);
    return swapped;
}
