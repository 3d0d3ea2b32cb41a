#include "SettingsFile.h"

#include "AppError.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kSection = QStringLiteral("Ambervale/");

// Reading a pipe would wait for a writer, and a write is renamed over what
// has the name: only a regular file, through any links, or nothing will do.
bool holdsSettings(const QString& path) {
    const QFileInfo info(path);
    return !info.exists() || info.isFile();
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
    // A QSettings keeps the first error it met for good. A fresh one over the
    // same file shares the changes settings_ holds (one that failed is written
    // with the next), and its status is this write's alone.
    QSettings settings(path_, QSettings::IniFormat);
    settings.setValue(kSection + key, value);
    settings.sync();
    if (settings.status() != QSettings::NoError)
        throw AppError(QStringLiteral("The settings could not be saved to ") +
                       QDir::toNativeSeparators(path_));
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
