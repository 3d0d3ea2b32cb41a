#pragma once

#include "LocalPlatform.h"

#include <functional>

// The platform of a run without a window: nothing ever waits for a user.
// Every box becomes one line handed to `tell`; a question gets the answer
// that changes nothing (No, Cancel, no file); there are no events to yield
// to. A workbook is written to the file named by setWorkbookFile instead
// of being opened in the spreadsheet program.
class HeadlessPlatform : public LocalPlatform {
public:
    HeadlessPlatform(PlatformLocations locations, std::function<void(const QString&)> tell);

    MessageAnswer messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& caption) override;
    QString inputBox(const QString&) override { return {}; }
    QString openFileDialog(const FileDialogRequest&) override { return {}; }
    QString saveFileDialog(const FileDialogRequest&) override { return {}; }
    void clearClipboard() override;
    void setClipboardText(const QString&) override;
    std::unique_ptr<Spreadsheet> createSpreadsheet() override;
    void openUrl(const QString&) override {}
    void endProgram() override {} // there is no window to close
    void yield() override {}
    FrameClock& frameClock() override { return clock_; }
    void yieldInsideCall() override {}

    // Where the next workbook shown goes; it replaces a file of that name
    // only once it is complete.
    void setWorkbookFile(const QString& path) { workbookFile_ = path; }

private:
    class WorkbookFile;

    std::function<void(const QString&)> tell_;
    FrameClock clock_ = FrameClock::never();
    QString workbookFile_;
};
