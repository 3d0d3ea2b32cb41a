#pragma once

#include <QString>
#include <QStringView>

// The text before the first "@" and the text between the first and the
// second "@" (or to the end; empty when there is no "@").
struct AtPieces {
    QStringView first;
    QStringView second;
};
AtPieces SplitAtSigns(QStringView text);

// The two pieces the other way round: piece two, "@", piece one. Of an
// address (local@domain) this makes the sort key domain@local, and of a
// sort key the output text local@domain.
QString SwapAroundAt(QStringView text);
