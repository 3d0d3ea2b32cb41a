#pragma once

#include "AppError.h"
#include "LocalPlatform.h"
#include "Spreadsheet.h"

#include <QHash>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

// A platform for tests and benchmarks: boxes and dialogs take queued answers
// and are recorded, every yield can run a hook, and any operation can be made
// to fail. Files, settings and folders are real, inside a temporary folder.
class ScriptedPlatform : public LocalPlatform {
public:
    enum class Operation {
        CreateFolder,
        CopyFile,
        OpenForReading,
        ReadFile, // an opened file fails after readFailureOffset bytes
        WriteSetting,
        CreateConnection, // the engine check and the start of the database method
        OpenDatabase,
        MessageBox, // the box cannot be shown
        Yield,      // processing the pending events fails
        CreateFile,
        WriteFile,
        CommitFile,
        ClearClipboard,
        SetClipboardText,
        CreateSpreadsheet,
        RunStatement, // a database statement executed or stepped, after statementsBeforeFailure
    };

    struct ShownBox {
        QString text;
        MessageButtons buttons;
        MessageIcon icon;
        QString caption; // as shown: the application title when none was given
    };

    // Program folder, data location and settings file inside root.
    explicit ScriptedPlatform(const QString& root);
    static PlatformLocations locationsIn(const QString& root);

    MessageAnswer messageBox(const QString& text, MessageButtons buttons, MessageIcon icon,
                             const QString& caption) override;
    QString inputBox(const QString& prompt) override;
    QString openFileDialog(const FileDialogRequest& request) override;
    QString saveFileDialog(const FileDialogRequest& request) override;
    void openUrl(const QString& url) override { openedUrls.append(url); }
    void endProgram() override { programEnded = true; }
    void yield() override;
    FrameClock& frameClock() override { return clock; }
    // Only counts and runs onCallYield: the yields a run makes stay the same
    // whatever the engine does inside a statement.
    void yieldInsideCall() override;
    // Counted and hooked as a turn inside a call.
    void yieldWhileWaiting() override { yieldInsideCall(); }

    void createFolder(const QString& path) override;
    void copyFile(const QString& from, const QString& to) override;
    std::unique_ptr<QIODevice> openForReading(const QString& path) override;
    void writeSetting(const QString& key, const QString& value) override;
    std::unique_ptr<DatabaseConnection> createConnection() override;
    std::unique_ptr<OutputFile> createFile(const QString& path) override;
    void clearClipboard() override;
    void setClipboardText(const QString& text) override;
    // A workbook that, when shown, is recorded instead of opened.
    std::unique_ptr<Spreadsheet> createSpreadsheet() override;

    // Answers, taken in order. A box without a queued answer gets OK, or No.
    std::deque<MessageAnswer> messageAnswers;
    std::deque<QString> inputAnswers;
    std::deque<QString> openDialogAnswers;
    std::deque<QString> saveDialogAnswers;

    // What was shown and asked.
    std::vector<ShownBox> shownBoxes;
    QStringList inputPrompts;
    std::vector<FileDialogRequest> openDialogs;
    std::vector<FileDialogRequest> saveDialogs;
    QStringList openedUrls;
    QStringList openedFiles; // paths handed to openForReading, in order
    bool programEnded = false;

    // The clipboard's text; empty (no value) when cleared. Attempts count failed ones too.
    std::optional<QString> clipboard;
    int clipboardClears = 0;
    int clipboardSets = 0;

    int spreadsheetsCreated = 0;
    std::vector<SheetCells> shownSpreadsheets;

    // Which yield points are real yields: every one, unless a test or a
    // benchmark sets a clock of its own.
    FrameClock clock;
    // Runs at every real yield; a failure injected for Yield from inside the
    // hook makes that very yield fail.
    std::function<void()> onYield;
    // Runs when a box is shown, with the box as recorded.
    std::function<void(const ShownBox&)> onMessageBox;
    int yieldCount = 0;
    // Runs at every turn given from inside a long call.
    std::function<void()> onCallYield;
    int callYieldCount = 0;
    // Runs before a database statement without a recordset runs, with its text.
    std::function<void(const QString& sql)> onExecute;
    // Runs as a copy of a file begins, before anything of it is done.
    std::function<void()> onCopyFile;

    // The next `times` calls of the operation throw AppError(description, number).
    void injectFailure(Operation operation, const QString& description, int times = 1,
                       int number = 0);
    // Bytes a file injected with ReadFile delivers before its read fails.
    qint64 readFailureOffset = 0;
    // Statements that run before one injected with RunStatement fails.
    int statementsBeforeFailure = 0;
    // The database engine's files cannot grow, as on a full disk.
    bool databaseDiskFull = false;

protected:
    void failIfInjected(Operation operation);
    std::optional<AppError> takeFailure(Operation operation);

private:
    void beforeStatement();
    class File;
    class RecordedSpreadsheet;
    template <class T> static T takeOr(std::deque<T>& queue, T otherwise);

    struct Failure {
        QString description;
        int number;
        int times;
    };
    QHash<int, Failure> failures_;
};
