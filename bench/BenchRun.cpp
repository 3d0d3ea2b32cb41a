#include "BenchRun.h"

#include "DataFolder.h"
#include "ListFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

BenchRun::BenchRun(const QString& root, Method method, const Setup& setup)
    : platform(root), run(form, platform) {
    const bool database = method == Method::Database;
    form.setOption1(database);
    form.setOption2(!database);
    if (database) {
        form.globals.DatabaseEngineAvailable = true;
        const QString folder = DataFolder(platform);
        QDir().mkpath(folder);
        // Runs on the same root share the working database, as runs of one user do.
        QFile::copy(QStringLiteral(AMBERVALE_TEMPLATE_DATABASE), folder + "/dbData.mdb");
    }
    if (setup)
        setup(form);
}

void BenchRun::fill(const QStringList& addresses) {
    for (const QString& address : addresses)
        form.ListView1.append(address);
    QCoreApplication::processEvents();
}

void BenchRun::load(const QString& path) {
    LoadListFile(form.ListView1, platform, path);
    QCoreApplication::processEvents();
}
