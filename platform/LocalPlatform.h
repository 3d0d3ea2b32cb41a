#pragma once

#include "Platform.h"
#include "SettingsFile.h"

// Where the program's files live: beside the executable, the data location,
// and the settings file.
struct PlatformLocations {
    QString programFolder;
    QString dataLocation; // stands in for common application data; may be empty
    QString settingsFile;
};

// The services that need no window: settings, folders and files, on the
// local file system. The Qt and the scripted platform share them.
class LocalPlatform : public Platform {
public:
    explicit LocalPlatform(PlatformLocations locations);

    QString readSetting(const QString& key, const QString& defaultValue) override;
    void writeSetting(const QString& key, const QString& value) override;
    QString programFolder() override { return locations_.programFolder; }
    QString specialFolderPath(int csidl) override;
    bool fileExists(const QString& path) override;
    void createFolder(const QString& path) override;
    void copyFile(const QString& from, const QString& to) override;
    void renameFile(const QString& from, const QString& to) override;
    std::unique_ptr<QIODevice> openForReading(const QString& path) override;
    std::unique_ptr<DatabaseConnection> createConnection() override;
    // Written beside the old file and renamed over it on commit; throws when
    // something other than a regular file has the name, links followed.
    std::unique_ptr<OutputFile> createFile(const QString& path) override;
    // LibreOffice, found on the search path.
    std::unique_ptr<Spreadsheet> createSpreadsheet() override;

    const PlatformLocations& locations() const { return locations_; }

private:
    PlatformLocations locations_;
    SettingsFile settings_;
};
