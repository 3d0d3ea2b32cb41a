#include "SortKey.h"

QString SwapAroundAt(QStringView text) {
    const AtPieces<QStringView> pieces = SplitAtSigns(text);
    QString swapped;
    swapped.reserve(pieces.first.size() + 1 + pieces.second.size());
    swapped.append(pieces.second).append(u'@').append(pieces.first);
    return swapped;
}
