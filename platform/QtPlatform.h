#pragma once

#include "LocalPlatform.h"

class QWidget;

// The platform of the real program: Qt's boxes, dialogs and event loop.
class QtPlatform : public LocalPlatform {
public:
    QtPlatform();
    explicit QtPlatform(PlatformLocations locations);

    // The window that boxes and dialogs belong to.
    void setMainWindow(QWidget* window) { mainWindow_ = window; }

    MessageAnswer messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& caption) override;
    QString inputBox(const QString& prompt) override;
    QString openFileDialog(const FileDialogRequest& request) override;
    QString saveFileDialog(const FileDialogRequest& request) override;
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;
    void openUrl(const QString& url) override;
    void endProgram() override;
    void yield() override;
    FrameClock& frameClock() override { return clock_; }
    void yieldInsideCall() override;

    static PlatformLocations defaultLocations();
    // "Text Files (*.txt)|*.txt|All Files (*.*)|*.*|" in Qt's own filter syntax:
    // each label followed by the patterns Qt matches, in brackets.
    static QString qtFilter(const QString& filter);

private:
    QWidget* mainWindow_ = nullptr;
    QString lastFolder_;
    FrameClock clock_ = FrameClock::perFrame();
};
