#include "WorkingDatabase.h"

#include "DataFolder.h"
#include "ErrorReport.h"
#include "Platform.h"

#include <QStringList>
#include <memory>

namespace {
const QString kWorkingName = QStringLiteral("dbData");
const QString kExtension = QStringLiteral(".mdb");
// The engine's files beside a database, which belong to it wherever it goes.
const QString kSideFiles[] = {QStringLiteral("-journal"), QStringLiteral("-wal"),
                              QStringLiteral("-shm")};

bool servesRuns(Platform& platform, const QString& path) {
    try {
        const std::unique_ptr<DatabaseConnection> connection = platform.createConnection();
        connection->open(path);
        return HoldsWorkTable(*connection);
    } catch (const DatabaseError& error) {
        return error.busy(); // a run of another window holds it: a database in use
    } catch (const AppError&) {
        return false;
    }
}

// Answers the new name, in the same folder.
QString setAside(Platform& platform, const QString& path) {
    const QString folder = DataFolder(platform) + u'/';
    QString name;
    for (int n = 1; name.isEmpty() || platform.fileExists(folder + name); ++n)
        name = kWorkingName + QStringLiteral("-damaged-") + QString::number(n) + kExtension;
    platform.renameFile(path, folder + name);
    // A journal left beside the file would otherwise be played into its fresh copy.
    for (const QString& side : kSideFiles)
        if (platform.fileExists(path + side))
            platform.renameFile(path + side, folder + name + side);
    return name;
}
} // namespace

bool HoldsWorkTable(DatabaseConnection& connection) {
    const auto columns =
        connection.prepare(QStringLiteral("SELECT name FROM pragma_table_info('tblEmls')"));
    QStringList names;
    while (columns->step())
        names << columns->text(0).toString();
    return names.size() == 3 && names[0].compare(u"Email", Qt::CaseInsensitive) == 0 &&
           names[2].compare(u"Domain", Qt::CaseInsensitive) == 0;
}

bool CannotServe(const DatabaseError& error, DatabaseConnection& connection) {
    if (error.damaged() || error.cannotOpen())
        return true;
    if (!error.schemaMismatch())
        return false;
    try {
        return !HoldsWorkTable(connection);
    } catch (const AppError&) {
        return false;
    }
}

bool ReplaceUnfitDatabase(Platform& platform, ErrorReport& report, const UnfitDatabase& unfit) {
    const QString path = WorkingDatabase(platform);
    // Another window may have put a fresh copy in place since this run failed.
    if (servesRuns(platform, path))
        return true;
    const bool present = platform.fileExists(path);
    QString words = present ? QStringLiteral("The working database dbData.mdb cannot be used (") +
                                  unfit.error.description() + QStringLiteral(").")
                            : QStringLiteral("The working database dbData.mdb is missing.");
    const QString blank = platform.programFolder() + QStringLiteral("/dbBlank.mdb");
    bool replaced = false;
    if (!platform.fileExists(blank)) {
        words +=
            QStringLiteral(" There is no template dbBlank.mdb beside the program to replace it.");
    } else if (!servesRuns(platform, blank)) {
        words += QStringLiteral(" The template dbBlank.mdb beside the program, which would replace "
                                "it, is not a usable database.");
    } else {
        try {
            const QString aside = present ? setAside(platform, path) : QString();
            platform.copyFile(blank, path);
            words += aside.isEmpty()
                         ? QStringLiteral(" A fresh copy of dbBlank.mdb took its place.")
                         : QStringLiteral(" It was set aside as ") + aside +
                               QStringLiteral(", and a fresh copy of dbBlank.mdb "
                                              "took its place.");
            replaced = true;
        } catch (const AppError& error) {
            words += QStringLiteral(" It could not be replaced: ") + error.description();
        }
    }
    report.run(unfit.statement, [&] { throw AppError(words); });
    return replaced;
}
