#pragma once

#include <QString>

class Platform;

// Whether the database method can be used: can a connection object of the
// engine be created. Unless quiet, a missing provider is explained to the
// user, who may open the download pages. Never throws, never reports.
bool IsProviderInstalled(Platform& platform, bool quiet);

// The explanation shown when the provider cannot be found.
QString EngineGuidance();

inline const QString kEngineDriverPage = QStringLiteral("https://doc.qt.io/qt-6/sql-driver.html");
inline const QString kEngineDownloadPage = QStringLiteral("https://www.sqlite.org/download.html");
