#pragma once

#include <QByteArrayView>
#include <QStringList>

// The admitted pieces of a list file, worked out the plain way: the whole file
// decoded at once, cut into lines at CR and CR LF, each line cut at every LF.
QStringList ReferencePieces(QByteArrayView bytes);

// Reads the bytes with AppendListText four ways: in one read, in small blocks
// and short reads of varying size from a stream and from a seekable device,
// and from a device that fails partway. Gives an empty text when every way
// agrees with ReferencePieces, else what differed.
QString CheckListText(QByteArrayView bytes);
