#include "LoadListFiles.h"

#include "ErrorReport.h"
#include "FileDialogAnswer.h"
#include "FormState.h"
#include "ListFile.h"
#include "PathNames.h"
#include "Platform.h"

#include <QDir>
#include <new>

namespace {
ErrorReport loadReport(Platform& platform) {
    return ErrorReport(platform, QStringLiteral("Form1"), QStringLiteral("PushButton3_Click"));
}
void loadChosenListFiles(FormState& form, Platform& platform, const QString& fileName);

// A file that did not fit is taken out again: what it left would fill the
// memory that every later command needs.
void loadWholeOrNothing(AddressListModel& list, Platform& platform, const QString& path) {
    const qsizetype before = list.count();
    try {
        LoadListFile(list, platform, path);
    } catch (const std::bad_alloc&) {
        list.truncate(before);
        throw;
    }
}
} // namespace

void LoadListFiles(FormState& form, Platform& platform) {
    ErrorReport report = loadReport(platform);
    FileDialogRequest request;
    request.title = QStringLiteral("Load List(s) - Hold Ctrl to select multiple list files");
    request.filter = kTextFilesFilter;
    request.multiSelect = true;

    QString fileName;
    report.run(108, [&] { fileName = platform.openFileDialog(request); });
    // The dialog is shared with saving, which offers the name it holds now.
    form.setDialogFileName(fileName);
    if (!fileName.isEmpty())
        loadChosenListFiles(form, platform, fileName);
}

namespace {
// What the load does with the dialog's answer: one path, or the folder
// followed by the chosen names.
void loadChosenListFiles(FormState& form, Platform& platform, const QString& fileName) {
    ErrorReport report = loadReport(platform);
    const QStringList parts = fileName.split(QChar(u'\0'));
    form.setMousePointer(MousePointer::Busy);
    if (parts.size() == 1) {
        report.run(120, [&] { loadWholeOrNothing(form.ListView1, platform, parts[0]); });
        form.setDialogFileName(parts[0]);
    } else {
        const QChar separator = QDir::separator();
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString path =
                CollapseDoubleBackslashes(parts[0] + separator + parts[i], separator);
            report.run(134, [&] { loadWholeOrNothing(form.ListView1, platform, path); });
            form.setDialogFileName(path);
        }
    }
    form.setMousePointer(MousePointer::Default);
}
} // namespace

void LoadNamedListFiles(FormState& form, Platform& platform, const QStringList& paths) {
    if (!paths.isEmpty())
        loadChosenListFiles(form, platform, FileDialogAnswer(paths));
}
