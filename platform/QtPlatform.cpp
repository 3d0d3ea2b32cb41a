#include "QtPlatform.h"

#include "AppError.h"
#include "FileDialogAnswer.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QScreen>
#include <QStandardPaths>
#include <QUrl>
#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {
// The dialogs show each filter's label as given; the patterns Qt filters by
// follow it in brackets of their own.
constexpr QFileDialog::Options kFileDialogOptions = QFileDialog::HideNameFilterDetails;

// Room for the buttons and margins of a window manager's title bar beside the caption.
constexpr int kTitleBarReserve = 160;

QString withLineFeeds(QString text) {
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    return text;
}

// "*.*" means every file, also a name without a dot; Qt would take it literally.
QString qtPatterns(const QString& patterns) {
    QStringList out;
    for (const QString& pattern : patterns.split(u';', Qt::SkipEmptyParts))
        out << (pattern == QStringLiteral("*.*") ? QStringLiteral("*") : pattern);
    return out.join(u' ');
}

// A window manager cuts a caption that does not fit beside its buttons; the
// box is made wide enough for a bold caption, within the screen.
void makeRoomForTheCaption(QMessageBox& box) {
    QFont font = box.font();
    font.setBold(true);
    const int screenWidth = box.screen()->availableGeometry().width();
    const int width = std::min(
        QFontMetrics(font).horizontalAdvance(box.windowTitle()) + kTitleBarReserve, screenWidth);
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Fixed, QSizePolicy::Fixed),
                      grid->rowCount(), 0, 1, grid->columnCount());
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
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2)
        filters << parts[i] + QStringLiteral(" (") + qtPatterns(parts[i + 1]) + u')';
    return filters.join(QStringLiteral(";;"));
}

MessageAnswer QtPlatform::messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                     const QString& caption) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::NoIcon,
                    caption.isEmpty() ? applicationTitle() : caption, withLineFeeds(text),
                    buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                     : QMessageBox::Ok,
                    mainWindow_);
    makeRoomForTheCaption(box);
    const int answer = box.exec();
    if (buttons == MessageButtons::Ok)
        return MessageAnswer::Ok;
    return answer == QMessageBox::Yes ? MessageAnswer::Yes : MessageAnswer::No;
}

QString QtPlatform::inputBox(const QString& prompt) {
    QInputDialog box(mainWindow_);
    box.setWindowTitle(applicationTitle());
    box.setLabelText(prompt);
    box.setInputMode(QInputDialog::TextInput);
    // A line edit keeps 32,767 characters unless told otherwise; a typed text is taken whole.
    box.findChild<QLineEdit*>()->setMaxLength(std::numeric_limits<int>::max());
    return box.exec() == QDialog::Accepted ? box.textValue() : QString();
}

QString QtPlatform::openFileDialog(const FileDialogRequest& request) {
    const QString filter = qtFilter(request.filter);
    QStringList files;
    if (request.multiSelect) {
        files = QFileDialog::getOpenFileNames(mainWindow_, request.title, lastFolder_, filter,
                                              nullptr, kFileDialogOptions);
    } else {
        const QString file = QFileDialog::getOpenFileName(mainWindow_, request.title, lastFolder_,
                                                          filter, nullptr, kFileDialogOptions);
        if (!file.isEmpty())
            files << file;
    }
    const QString answer = FileDialogAnswer(files);
    if (files.size() == 1)
        lastFolder_ = QFileInfo(answer).absolutePath();
    else if (files.size() > 1)
        lastFolder_ = answer.section(QChar(u'\0'), 0, 0);
    return answer;
}

QString QtPlatform::saveFileDialog(const FileDialogRequest& request) {
    const QString start = request.fileName.isEmpty()
                              ? lastFolder_
                              : QDir(lastFolder_).filePath(QFileInfo(request.fileName).fileName());
    const QString answer = QFileDialog::getSaveFileName(
        mainWindow_, request.title, start, qtFilter(request.filter), nullptr,
        kFileDialogOptions | QFileDialog::DontConfirmOverwrite);
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
