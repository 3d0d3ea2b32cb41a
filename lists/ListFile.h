#pragma once

#include <QString>

class AddressListModel;
class Platform;
class QIODevice;

// Appends every admitted piece of one list file to the list, in file order.
// A path that names nothing shows "File not found". Anything else that goes
// wrong throws AppError; what was appended before it stays in the list.
void LoadListFile(AddressListModel& list, Platform& platform, const QString& path);

inline constexpr qsizetype kListBlockBytes = qsizetype(1) << 20;

// The reading part of LoadListFile: the device's text in the system encoding,
// cut at CR, CR LF and LF, each admitted piece appended as it is. The device is
// asked for blockBytes (at least 1) at a time. A line longer than a block is
// held only when it holds an "@", unless the device cannot seek back to it.
void AppendListText(QIODevice& device, AddressListModel& list,
                    qsizetype blockBytes = kListBlockBytes);
