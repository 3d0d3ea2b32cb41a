#include "OfficeSpreadsheet.h"

#include "AppError.h"
#include "XlsxFile.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryFile>

QString OfficeSpreadsheet::findProgram() {
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString program = QStandardPaths::findExecutable(QLatin1String(name));
        if (!program.isEmpty())
            return program;
    }
    return {};
}

void OfficeSpreadsheet::show() {
    // The program reads the file after this returns, at its own pace, so the
    // file stays behind in the temporary folder.
    QTemporaryFile file(QDir::tempPath() + QStringLiteral("/Ambervale-XXXXXX.xlsx"));
    file.setAutoRemove(false);
    if (!file.open())
        throw AppError(file.errorString(), 75);
    file.close();
    try {
        WriteXlsx(activeSheet, file.fileName());
    } catch (...) {
        // What a full disk let through would only take room and open as damaged.
        file.remove();
        throw;
    }
    // -n: a new document from the file as its template, so it opens untitled.
    if (!QProcess::startDetached(program_,
                                 {QStringLiteral("--calc"), QStringLiteral("-n"), file.fileName()}))
        throw AppError(QStringLiteral("The spreadsheet program could not be started"), 429);
}
