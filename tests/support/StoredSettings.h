#pragma once

#include <QMap>
#include <QString>

// The keys and values of the section "Ambervale" as the settings file on disk
// holds them, read from the file's text rather than through a settings object.
QMap<QString, QString> StoredSettings(const QString& settingsFile);
