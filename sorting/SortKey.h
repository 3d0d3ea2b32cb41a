#pragma once

#include <QLatin1StringView>
#include <QString>
#include <QStringView>

// The text before the first "@" and the text between the first and the
// second "@" (or to the end; empty when there is no "@"). Of a text held as
// Latin-1 or as UTF-16 alike.
template <class View> struct AtPieces {
    View first;
    View second;
};

template <class View> AtPieces<View> SplitAtSigns(View text) {
    const qsizetype at = text.indexOf(QLatin1Char('@'));
    if (at < 0)
        return {text, {}};
    const View rest = text.mid(at + 1);
    const qsizetype second = rest.indexOf(QLatin1Char('@'));
    return {text.left(at), second < 0 ? rest : rest.left(second)};
}

// The two pieces the other way round: piece two, "@", piece one. Of an
// address (local@domain) this makes the sort key domain@local, and of a
// sort key the output text local@domain.
QString SwapAroundAt(QStringView text);
