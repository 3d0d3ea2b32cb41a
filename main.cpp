#include "BatchRun.h"
#include "CommandLine.h"
#include "Form1.h"
#include "LoadListFiles.h"
#include "ProgramIcon.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QScreen>

int main(int argc, char* argv[]) {
    // --help, --version and --batch need no display: Qt does not look for one.
    QStringList given;
    for (int i = 0; i < argc; ++i)
        given << QString::fromLocal8Bit(argv[i]);
    if (const CommandLine asked = ReadCommandLine(given); asked.windowless) {
        if (asked.mode != CommandLine::Mode::Batch)
            return EndWith(asked);
        QCoreApplication app(argc, argv);
        return RunBatch(asked.batch);
    }

    QApplication app(argc, argv);
    const CommandLine commandLine = ReadCommandLine(QCoreApplication::arguments());
    if (commandLine.mode != CommandLine::Mode::Window)
        return EndWith(commandLine);
    // Window managers match the window with its desktop entry by this name.
    QGuiApplication::setDesktopFileName(QStringLiteral("example.quillmere.ambervale"));
    QApplication::setWindowIcon(ProgramIcon());
    QtPlatform platform;
    Form1 form(platform);
    platform.setMainWindow(&form);
    form.Form_Load();
    form.move(form.screen()->availableGeometry().center() - form.rect().center());
    form.show();
    // Open With: the files are loaded once the window is up.
    QMetaObject::invokeMethod(
        &form, [&] { LoadNamedListFiles(form.state(), platform, commandLine.files); },
        Qt::QueuedConnection);
    return app.exec();
}
