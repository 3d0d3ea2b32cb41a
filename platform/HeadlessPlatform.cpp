#include "HeadlessPlatform.h"

#include "AppError.h"
#include "Spreadsheet.h"
#include "XlsxFile.h"

#include <QDir>
#include <QTemporaryFile>

namespace {
const QString kReportCaption = QStringLiteral("Application Error");

// A box's text as one line: of the error report only the failure's
// description, of other boxes the whole text with blanks for line breaks.
QString oneLine(const QString& text, const QString& caption) {
    if (caption == kReportCaption)
        return text.section(QStringLiteral("\r\n"), 0, 0);
    QString line = text;
    line.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    line.replace(u'\r', u' ');
    line.replace(u'\n', u' ');
    return line;
}

AppError noClipboard() {
    return AppError(QStringLiteral("Can't open Clipboard"), 521);
}
} // namespace

class HeadlessPlatform::WorkbookFile : public Spreadsheet {
public:
    WorkbookFile(HeadlessPlatform& platform, QString path)
        : platform_(platform), path_(std::move(path)) {}

    // The library writes to a file of its own naming; the finished workbook
    // is then copied in under the name asked for, in one step.
    void show() override {
        QTemporaryFile made(QDir::tempPath() + QStringLiteral("/Ambervale-XXXXXX.xlsx"));
        if (!made.open())
            throw AppError(made.errorString(), 75);
        WriteXlsx(activeSheet, made.fileName());
        const std::unique_ptr<OutputFile> file = platform_.createFile(path_);
        constexpr qint64 kBlock = 1 << 20;
        for (QByteArray bytes; !(bytes = made.read(kBlock)).isEmpty();)
            file->write(bytes);
        if (!made.atEnd())
            throw AppError(made.errorString(), 57);
        file->commit();
    }

private:
    HeadlessPlatform& platform_;
    QString path_;
};

HeadlessPlatform::HeadlessPlatform(PlatformLocations locations,
                                   std::function<void(const QString&)> tell)
    : LocalPlatform(std::move(locations)), tell_(std::move(tell)) {}

MessageAnswer HeadlessPlatform::messageBox(const QString& text, MessageButtons buttons, MessageIcon,
                                           const QString& caption) {
    tell_(oneLine(text, caption));
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
}

void HeadlessPlatform::clearClipboard() {
    throw noClipboard();
}

void HeadlessPlatform::setClipboardText(const QString&) {
    throw noClipboard();
}

std::unique_ptr<Spreadsheet> HeadlessPlatform::createSpreadsheet() {
    return std::make_unique<WorkbookFile>(*this, workbookFile_);
}
