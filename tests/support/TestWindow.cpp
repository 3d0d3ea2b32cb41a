#include "TestWindow.h"

#include "DataFolder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

TestWindow::TestWindow(bool withProgramFiles) : platform(dir_.path()) {
    QDir().mkpath(platform.programFolder());
    if (withProgramFiles) {
        for (const char* name : {"dbBlank.mdb", "HAND-M.CUR"})
            QFile::copy(QStringLiteral(AMBERVALE_RESOURCES "/") + QLatin1String(name),
                        platform.programFolder() + u'/' + QLatin1String(name));
    }
}

QString TestWindow::dataFolder() const {
    return platform.locations().dataLocation + QStringLiteral("/Quillmere/Ambervale");
}

Form1& TestWindow::start() {
    form = std::make_unique<Form1>(platform);
    form->Form_Load();
    return *form;
}

Form1& TestWindow::restart() {
    form.reset();
    return start();
}

QString TestWindow::writeFile(const QString& name, const QByteArray& content) const {
    const QString path = dir_.path() + u'/' + name;
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(content);
    return path;
}
