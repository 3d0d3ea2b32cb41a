#include "QtPlatform.h"

#include "AppError.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QStandardPaths>
#include <QUrl>
#include <cstdlib>

namespace {
QString withLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}
} // namespace

QtPlatform::QtPlatform() : QtPlatform(defaultLocations()) {}

QtPlatform::QtPlatform(PlatformLocations locations) : LocalPlatform(std::move(locations)) {}

PlatformLocations QtPlatform::defaultLocations() {
    return {QCoreApplication::applicationDirPath(),
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation),
            QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                QStringLiteral("/Quillmere.conf")};
}

QString QtPlatform::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(u'|', Qt::SkipEmptyParts);
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString pattern = parts[i + 1];
        filters << (parts[i].contains(pattern) ? parts[i]
                                               : parts[i] + QStringLiteral(" (") + pattern + u')');
    }
    return filters.join(QStringLiteral(";;"));
}

MessageAnswer QtPlatform::messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                     const QString& caption) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption.isEmpty() ? applicationTitle() : caption, withLineFeeds(text),
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok,
                    mainWindow_);
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtPlatform::inputBox(const QString& prompt) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(mainWindow_, applicationTitle(), prompt, QLineEdit::Normal, {}, &ok);
    return ok ? text : QString();
}

QString QtPlatform::openFileDialog(const FileDialogRequest& request) {
    QString answer;
    const QString filter = qtFilter(request.filter);
    if (request.multiSelect) {
        const QStringList files =
            QFileDialog::getOpenFileNames(mainWindow_, request.title, lastFolder_, filter);
        if (files.size() == 1) {
            answer = files.first();
        } else if (files.size() > 1) {
            QStringList parts{QFileInfo(files.first()).absolutePath()};
            for (const QString& file : files)
                parts << QFileInfo(file).fileName();
            answer = parts.join(QChar(u'\0'));
        }
    } else {
        answer = QFileDialog::getOpenFileName(mainWindow_, request.title, lastFolder_, filter);
    }
    if (!answer.isEmpty())
        lastFolder_ = QFileInfo(answer.section(QChar(u'\0'), 0, 0)).absolutePath();
    return answer;
}

QString QtPlatform::saveFileDialog(const FileDialogRequest& request) {
    const QString start = request.fileName.isEmpty()
                              ? lastFolder_
                              : QDir(lastFolder_).filePath(QFileInfo(request.fileName).fileName());
    const QString answer =
        QFileDialog::getSaveFileName(mainWindow_, request.title, start, qtFilter(request.filter),
                                     nullptr, QFileDialog::DontConfirmOverwrite);
    if (!answer.isEmpty())
        lastFolder_ = QFileInfo(answer).absolutePath();
    return answer;
}

void QtPlatform::clearClipboard() {
    QGuiApplication::clipboard()->clear();
}

void QtPlatform::setClipboardText(const QString& text) {
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->setText(text);
    // QClipboard reports nothing itself; when another program kept the
    // clipboard, it answers that program's text.
    if (clipboard->text() != text)
        throw AppError(QStringLiteral("Can't open Clipboard"), 521);
}

void QtPlatform::openUrl(const QString& url) {
    QDesktopServices::openUrl(QUrl(url));
}

void QtPlatform::endProgram() {
    std::_Exit(0);
}

void QtPlatform::yield() {
    QCoreApplication::processEvents();
    clock_.restart();
}

void QtPlatform::yieldInsideCall() {
    if (clock_.due())
        yield();
}
