#pragma once

#include <QString>

class Platform;

// The folder that holds the working database: common application data
// + "/Quillmere/Ambervale", computed afresh at each call.
QString QuillmereFolder(Platform& platform);
QString DataFolder(Platform& platform);
