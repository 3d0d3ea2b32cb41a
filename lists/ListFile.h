#pragma once

#include <QString>

class AddressListModel;
class Platform;
class QIODevice;

// Appends every admitted piece of one list file to the list, in file order.
// A path that names nothing shows "File not found". Anything else that goes
// wrong throws AppError; what was appended before it stays in the list.
void LoadListFile(AddressListModel& list, Platform& platform, const QString& path);

// The reading part of LoadListFile: the device's text in the system encoding,
// cut at CR, CR LF and LF, each admitted piece appended as it is.
void AppendListText(QIODevice& device, AddressListModel& list);
