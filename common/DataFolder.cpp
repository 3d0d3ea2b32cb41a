#include "DataFolder.h"

#include "Platform.h"

namespace {
constexpr int kCommonAppData = 35;
}

QString QuillmereFolder(Platform& platform) {
    return platform.specialFolderPath(kCommonAppData) + QStringLiteral("/Quillmere");
}

QString DataFolder(Platform& platform) {
    return QuillmereFolder(platform) + QStringLiteral("/Ambervale");
}
