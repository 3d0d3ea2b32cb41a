#include "DataFolder.h"

#include "Platform.h"

namespace {
constexpr int kCommonAppData = 35;

void provideFolder(Platform& platform, const QString& folder) {
    if (!platform.fileExists(folder))
        platform.createFolder(folder);
}
} // namespace

QString QuillmereFolder(Platform& platform) {
    return platform.specialFolderPath(kCommonAppData) + QStringLiteral("/Quillmere");
}

QString DataFolder(Platform& platform) {
    return QuillmereFolder(platform) + QStringLiteral("/Ambervale");
}

QString WorkingDatabase(Platform& platform) {
    return DataFolder(platform) + QStringLiteral("/dbData.mdb");
}

void ProvideQuillmereFolder(Platform& platform) {
    provideFolder(platform, QuillmereFolder(platform));
}

void ProvideDataFolder(Platform& platform) {
    provideFolder(platform, DataFolder(platform));
}

void ProvideWorkingDatabase(Platform& platform) {
    const QString database = WorkingDatabase(platform);
    if (!platform.fileExists(database))
        platform.copyFile(platform.programFolder() + QStringLiteral("/dbBlank.mdb"), database);
}
