#pragma once

#include <QSettings>
#include <QString>
#include <optional>

// The settings file of application "Quillmere", section "Ambervale", as the
// store of text values the program keeps its options in. It copes with a
// file it did not write: values of another kind than text read as never
// written; anything other than a regular file in its place (a folder, a
// pipe, a device) or a file of many megabytes is never read. Such a thing,
// or a file that cannot be read as settings, is set aside under a new name
// beside it at the next write, which then makes a fresh file.
class SettingsFile {
public:
    explicit SettingsFile(QString path) : path_(std::move(path)) {}

    QString read(const QString& key, const QString& defaultValue);
    // On disk when it returns; throws AppError when it cannot be.
    void write(const QString& key, const QString& value);

private:
    QSettings* open();
    QSettings::Status store(const QString& key, const QString& value);
    void setAside();

    QString path_;
    // Holds the file's values, and changes not yet written, for the life of
    // the store; made at the first use, once a regular file (or none) is there.
    std::optional<QSettings> settings_;
};
