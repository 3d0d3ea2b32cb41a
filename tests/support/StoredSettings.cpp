#include "StoredSettings.h"

#include <QFile>
#include <QUrl>

QMap<QString, QString> StoredSettings(const QString& settingsFile) {
    QMap<QString, QString> values;
    QFile file(settingsFile);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return values;
    bool inSection = false;
    for (const QByteArray& raw : file.readAll().split('\n')) {
        const QString line = QString::fromUtf8(raw).trimmed();
        if (line.startsWith(u'[')) {
            inSection = line == QStringLiteral("[Ambervale]");
        } else if (inSection && line.contains(u'=')) {
            const qsizetype equals = line.indexOf(u'=');
            values.insert(QUrl::fromPercentEncoding(line.left(equals).toUtf8()),
                          line.mid(equals + 1));
        }
    }
    return values;
}
