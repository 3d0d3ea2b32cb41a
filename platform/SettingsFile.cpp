#include "SettingsFile.h"

#include "AppError.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Ambervale/");

// Ours holds six short values; even a limit box filled to its length
// escaped in full stays far below this.
constexpr qint64 kLargestOwnFile = 1 << 20;

// Reading a pipe would wait for a writer, and a write is renamed over what
// has the name: only a regular file, through any links, or nothing will do.
// A file far larger than ours is no settings file of ours, and reading it
// would hold up the start.
bool holdsSettings(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || (info.isFile() && info.size() <= kLargestOwnFile);
}
} // namespace

QSettings* SettingsFile::open() {
    if (!settings_ && holdsSettings(path_))
        settings_.emplace(path_, QSettings::IniFormat);
    return settings_ ? &*settings_ : nullptr;
}

QString SettingsFile::read(const QString& key, const QString& defaultValue) {
    QSettings* settings = open();
    const QVariant value = settings ? settings->value(kSection + key) : QVariant();
    // The program writes texts only; a list, bytes or a serialised value came from elsewhere.
    return value.typeId() == QMetaType::QString ? value.toString() : defaultValue;
}

void SettingsFile::write(const QString& key, const QString& value) {
    if (!holdsSettings(path_))
        setAside();
    open();
    QSettings::Status status = store(key, value);
    // Qt never writes over a file it could not read: that one is set aside too.
    if (status == QSettings::FormatError) {
        setAside();
        settings_.reset();
        open();
        status = store(key, value);
    }
    if (status != QSettings::NoError)
        throw AppError(QStringLiteral("The settings could not be saved to ") +
                       QDir::toNativeSeparators(path_));
}

QSettings::Status SettingsFile::store(const QString& key, const QString& value) {
    // A QSettings keeps the first error it met for good. A fresh one over the
    // same file shares the changes settings_ holds (one that failed is written
    // with the next), and its status is this write's alone.
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(kSection + key, value);
    settings.sync();
    return settings.status();
}

void SettingsFile::setAside() {
    const QFileInfo info(path_);
    QString aside;
    for (int n = 1; aside.isEmpty() || QFileInfo(aside).isSymLink() || QFileInfo::exists(aside);
         ++n)
        aside = info.path() + u'/' + info.completeBaseName() + QStringLiteral("-damaged-") +
                QString::number(n) + u'.' + info.suffix();
    // Qt renames without replacing where the system can.
    QDir().rename(path_, aside);
}
