#include "LocalPlatform.h"

#include "AppError.h"
#include "Database.h"
#include "OfficeSpreadsheet.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace {
constexpr int kCommonAppData = 35;
const QString kSection = QStringLiteral("Ambervale");

class SavedFile : public OutputFile {
public:
    explicit SavedFile(const QString& path) : file_(path) {
        if (!file_.open(QIODevice::WriteOnly))
            throw AppError(file_.errorString(), 75);
    }
    void write(const QByteArray& bytes) override {
        if (file_.write(bytes) != bytes.size())
            throw AppError(file_.errorString(), 57);
    }
    void commit() override {
        if (!file_.commit())
            throw AppError(file_.errorString(), 57);
    }

private:
    QSaveFile file_;
};
} // namespace

LocalPlatform::LocalPlatform(PlatformLocations locations)
    : locations_(std::move(locations)), settings_(locations_.settingsFile, QSettings::IniFormat) {}

QString LocalPlatform::readSetting(const QString& key, const QString& defaultValue) {
    return settings_.value(kSection + u'/' + key, defaultValue).toString();
}

void LocalPlatform::writeSetting(const QString& key, const QString& value) {
    // A QSettings keeps the first error it met for good. A fresh one over the
    // same file shares the changes settings_ holds (one that failed is written
    // with the next), and its status is this write's alone.
    QSettings settings(locations_.settingsFile, QSettings::IniFormat);
    settings.setValue(kSection + u'/' + key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw AppError(QStringLiteral("The settings could not be saved to ") +
                       QDir::toNativeSeparators(locations_.settingsFile));
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
    // Renaming the new file over a device, a pipe or a folder would put a
    // plain file in its place: only a regular file is ever replaced.
    const QFileInfo existing(path);
    if (existing.exists() && !existing.isFile())
        throw AppError(QStringLiteral("Path/File access error"), 75);
    return std::make_unique<SavedFile>(path);
}

std::unique_ptr<Spreadsheet> LocalPlatform::createSpreadsheet() {
    const QString program = OfficeSpreadsheet::findProgram();
    if (program.isEmpty())
        throw AppError(QStringLiteral("No spreadsheet program was found"), 429);
    return std::make_unique<OfficeSpreadsheet>(program);
}
