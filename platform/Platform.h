#pragma once

#include "FrameClock.h"

#include <QByteArray>
#include <QString>
#include <memory>

class DatabaseConnection;
class QIODevice;
class Spreadsheet;

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Exclamation };
enum class MessageAnswer { Ok, Yes, No };

// Description and pattern pairs, each closed by a bar.
inline const QString kTextFilesFilter =
    QStringLiteral("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|");

struct FileDialogRequest {
    QString title;
    QString filter; // such as kTextFilesFilter
    bool multiSelect = false;
    QString fileName; // the name the dialog offers first
};

// A file being written. It takes its name, replacing any old file of that
// name in one step, only when it is committed; dropped before that, it
// leaves the old file as it was.
class OutputFile {
public:
    virtual ~OutputFile() = default;
    virtual void write(const QByteArray& bytes) = 0;
    virtual void commit() = 0;
};

// Every service of the desktop the program uses goes through this interface:
// the program gets the Qt implementation, tests and benchmarks a scripted one.
// Operations that can fail throw AppError; those that never fail say so.
class Platform {
public:
    virtual ~Platform() = default;

    // Modal boxes. An empty caption means the application title.
    virtual MessageAnswer messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                                     const QString& caption = QString()) = 0;
    // OK answers the typed text, Cancel the empty text.
    virtual QString inputBox(const QString& prompt) = 0;
    // Answers one path, or folder NUL name NUL name ... (a name may lead through
    // subfolders of the folder); empty when cancelled.
    virtual QString openFileDialog(const FileDialogRequest& request) = 0;
    virtual QString saveFileDialog(const FileDialogRequest& request) = 0;

    const QString& applicationTitle() const { return applicationTitle_; }
    void setApplicationTitle(const QString& title) { applicationTitle_ = title; }

    // Settings of application "Quillmere", section "Ambervale"; a write is on disk when it returns.
    virtual QString readSetting(const QString& key, const QString& defaultValue) = 0;
    virtual void writeSetting(const QString& key, const QString& value) = 0;

    // Folder of the executable, where its companion files live.
    virtual QString programFolder() = 0;
    // Path of a special folder (35: common application data), or empty text.
    virtual QString specialFolderPath(int csidl) = 0;
    // True when a file or folder of that name exists; never throws.
    virtual bool fileExists(const QString& path) = 0;
    virtual void createFolder(const QString& path) = 0;
    virtual void copyFile(const QString& from, const QString& to) = 0;
    // Gives a file or folder a new name in the same folder; never replaces anything.
    virtual void renameFile(const QString& from, const QString& to) = 0;
    // Opens a regular file for reading; throws for anything else.
    virtual std::unique_ptr<QIODevice> openForReading(const QString& path) = 0;
    virtual std::unique_ptr<OutputFile> createFile(const QString& path) = 0;

    // The system clipboard. Either may fail while another program holds it.
    virtual void clearClipboard() = 0;
    virtual void setClipboardText(const QString& text) = 0;

    // A new, empty workbook for the desktop's spreadsheet program; throws
    // when there is no such program.
    virtual std::unique_ptr<Spreadsheet> createSpreadsheet() = 0;

    // A connection object of the embedded database engine, not yet opened.
    // Throws AppError (3706 when the engine is missing) when none can be made.
    virtual std::unique_ptr<DatabaseConnection> createConnection() = 0;

    virtual void openUrl(const QString& url) = 0;
    // Closing the window: the process ends at once.
    virtual void endProgram() = 0;

    // Processes every pending window event; handlers run inside the call.
    virtual void yield() = 0;
    // Decides which of a loop's yield points are real yields: a loop asks it
    // at every point and calls yield() where it answers yes, after bringing
    // what the window shows up to date.
    virtual FrameClock& frameClock() = 0;
    // A turn for the window from inside one long call into a library (an
    // engine statement that sorts millions of rows), where the caller has no
    // yield points of its own. Nothing is brought up to date first, so the
    // caller asks for these only where the visible state is already final.
    virtual void yieldInsideCall() = 0;
    // A turn for the window while a call waits for another program (another
    // window's run holding the database). Asked every few milliseconds, far
    // more rarely than yield points, it yields as soon as a turn is due. As
    // with yieldInsideCall, the visible state must already be final.
    virtual void yieldWhileWaiting() {
        if (frameClock().dueNow())
            yield();
    }

private:
    QString applicationTitle_;
};
