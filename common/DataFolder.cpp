#include "DataFolder.h"

#include "AppError.h"
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
    if (platform.fileExists(database))
        return;
    try {
        platform.copyFile(platform.programFolder() + QStringLiteral("/dbBlank.mdb"), database);
    } catch (const AppError&) {
        // Another instance starting at the same moment made it first; the copy
        // never replaces it.
        if (!platform.fileExists(database))
            throw;
    }
}
