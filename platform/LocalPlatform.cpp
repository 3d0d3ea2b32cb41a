#include "LocalPlatform.h"

#include "AppError.h"
#include "Database.h"
#include "OfficeSpreadsheet.h"
#include "ReplacingFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
constexpr int kCommonAppData = 35;
} // namespace

LocalPlatform::LocalPlatform(PlatformLocations locations)
    : locations_(std::move(locations)), settings_(locations_.settingsFile) {}

QString LocalPlatform::readSetting(const QString& key, const QString& defaultValue) {
    return settings_.read(key, defaultValue);
}

void LocalPlatform::writeSetting(const QString& key, const QString& value) {
    settings_.write(key, value);
}

QString LocalPlatform::specialFolderPath(int csidl) {
    if (csidl != kCommonAppData || locations_.dataLocation.isEmpty())
        return QString();
    // A fresh account may not have its data location yet; the folders below it need it.
    QDir().mkpath(locations_.dataLocation);
    return locations_.dataLocation;
}

bool LocalPlatform::fileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

void LocalPlatform::createFolder(const QString& path) {
    if (!QDir().mkdir(path))
        throw AppError(QStringLiteral("Path/File access error"), 75);
}

void LocalPlatform::copyFile(const QString& from, const QString& to) {
    if (!QFileInfo(from).isFile())
        throw AppError(QStringLiteral("File not found"), 53);
    if (QFileInfo::exists(to))
        throw AppError(QStringLiteral("File already exists"), 58);
    // QFile::copy writes a temporary file and renames it, so a half copy never has the name.
    if (!QFile::copy(from, to))
        throw AppError(QStringLiteral("Path/File access error"), 75);
}

void LocalPlatform::renameFile(const QString& from, const QString& to) {
    if (!QFileInfo::exists(from))
        throw AppError(QStringLiteral("File not found"), 53);
    if (QFileInfo::exists(to))
        throw AppError(QStringLiteral("File already exists"), 58);
    // Qt renames without replacing where the system can, so a name taken
    // meanwhile is not lost either.
    if (!QDir().rename(from, to))
        throw AppError(QStringLiteral("Path/File access error"), 75);
}

std::unique_ptr<QIODevice> LocalPlatform::openForReading(const QString& path) {
    if (!QFileInfo(path).isFile())
        throw AppError(QStringLiteral("Bad file name or number"), 52);
    auto file = std::make_unique<QFile>(path);
    if (!file->open(QIODevice::ReadOnly))
        throw AppError(QStringLiteral("Permission denied"), 70);
    return file;
}

std::unique_ptr<DatabaseConnection> LocalPlatform::createConnection() {
    return CreateEngineConnection();
}

std::unique_ptr<OutputFile> LocalPlatform::createFile(const QString& path) {
    return std::make_unique<ReplacingFile>(path);
}

std::unique_ptr<Spreadsheet> LocalPlatform::createSpreadsheet() {
    const QString program = OfficeSpreadsheet::findProgram();
    if (program.isEmpty())
        throw AppError(QStringLiteral("No spreadsheet program was found"), 429);
    return std::make_unique<OfficeSpreadsheet>(program);
}
