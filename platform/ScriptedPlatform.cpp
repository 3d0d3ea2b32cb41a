#include "ScriptedPlatform.h"

#include "AppError.h"
#include "Database.h"
#include "FailingReader.h"
#include "ScriptedConnection.h"

#include <QIODevice>

ScriptedPlatform::ScriptedPlatform(const QString& root) : LocalPlatform(locationsIn(root)) {}

PlatformLocations ScriptedPlatform::locationsIn(const QString& root) {
    return {root + QStringLiteral("/program"), root + QStringLiteral("/data"),
            root + QStringLiteral("/config/Quillmere.conf")};
}

template <class T> T ScriptedPlatform::takeOr(std::deque<T>& queue, T otherwise) {
    if (queue.empty())
        return otherwise;
    T answer = std::move(queue.front());
    queue.pop_front();
    return answer;
}

MessageAnswer ScriptedPlatform::messageBox(const QString& text, MessageButtons buttons,
                                           MessageIcon icon, const QString& caption) {
    failIfInjected(Operation::MessageBox);
    shownBoxes.push_back({text, buttons, icon, caption.isEmpty() ? applicationTitle() : caption});
    if (onMessageBox) {
        const ShownBox shown = shownBoxes.back(); // the hook may show further boxes
        onMessageBox(shown);
    }
    if (buttons == MessageButtons::Ok) {
        takeOr(messageAnswers, MessageAnswer::Ok);
        return MessageAnswer::Ok;
    }
    return takeOr(messageAnswers, MessageAnswer::No);
}

QString ScriptedPlatform::inputBox(const QString& prompt) {
    inputPrompts.append(prompt);
    return takeOr(inputAnswers, QString());
}

QString ScriptedPlatform::openFileDialog(const FileDialogRequest& request) {
    openDialogs.push_back(request);
    return takeOr(openDialogAnswers, QString());
}

QString ScriptedPlatform::saveFileDialog(const FileDialogRequest& request) {
    saveDialogs.push_back(request);
    return takeOr(saveDialogAnswers, QString());
}

void ScriptedPlatform::yield() {
    ++yieldCount;
    if (onYield)
        onYield();
    failIfInjected(Operation::Yield);
}

void ScriptedPlatform::yieldInsideCall() {
    ++callYieldCount;
    if (onCallYield)
        onCallYield();
}

void ScriptedPlatform::injectFailure(Operation operation, const QString& description, int times,
                                     int number) {
    failures_[int(operation)] = {description, number, times};
}

std::optional<AppError> ScriptedPlatform::takeFailure(Operation operation) {
    auto it = failures_.find(int(operation));
    if (it == failures_.end() || it->times <= 0)
        return std::nullopt;
    --it->times;
    return AppError(it->description, it->number);
}

void ScriptedPlatform::failIfInjected(Operation operation) {
    if (auto failure = takeFailure(operation))
        throw *failure;
}

void ScriptedPlatform::createFolder(const QString& path) {
    failIfInjected(Operation::CreateFolder);
    LocalPlatform::createFolder(path);
}

void ScriptedPlatform::copyFile(const QString& from, const QString& to) {
    if (onCopyFile)
        onCopyFile();
    failIfInjected(Operation::CopyFile);
    LocalPlatform::copyFile(from, to);
}

std::unique_ptr<QIODevice> ScriptedPlatform::openForReading(const QString& path) {
    openedFiles.append(path);
    failIfInjected(Operation::OpenForReading);
    auto file = LocalPlatform::openForReading(path);
    if (const auto failure = takeFailure(Operation::ReadFile))
        return std::make_unique<FailingReader>(std::move(file), readFailureOffset,
                                               failure->description());
    return file;
}

void ScriptedPlatform::writeSetting(const QString& key, const QString& value) {
    failIfInjected(Operation::WriteSetting);
    LocalPlatform::writeSetting(key, value);
}

class ScriptedPlatform::File : public OutputFile {
public:
    File(ScriptedPlatform& platform, std::unique_ptr<OutputFile> file)
        : platform_(platform), file_(std::move(file)) {}
    void write(const QByteArray& bytes) override {
        platform_.failIfInjected(Operation::WriteFile);
        file_->write(bytes);
    }
    void commit() override {
        platform_.failIfInjected(Operation::CommitFile);
        file_->commit();
    }

private:
    ScriptedPlatform& platform_;
    std::unique_ptr<OutputFile> file_;
};

std::unique_ptr<OutputFile> ScriptedPlatform::createFile(const QString& path) {
    failIfInjected(Operation::CreateFile);
    return std::make_unique<File>(*this, LocalPlatform::createFile(path));
}

void ScriptedPlatform::clearClipboard() {
    ++clipboardClears;
    failIfInjected(Operation::ClearClipboard);
    clipboard.reset();
}

void ScriptedPlatform::setClipboardText(const QString& text) {
    ++clipboardSets;
    failIfInjected(Operation::SetClipboardText);
    clipboard = text;
}

class ScriptedPlatform::RecordedSpreadsheet : public Spreadsheet {
public:
    explicit RecordedSpreadsheet(ScriptedPlatform& platform) : platform_(platform) {}
    void show() override { platform_.shownSpreadsheets.push_back(activeSheet); }

private:
    ScriptedPlatform& platform_;
};

std::unique_ptr<DatabaseConnection> ScriptedPlatform::createConnection() {
    failIfInjected(Operation::CreateConnection);
    return std::make_unique<ScriptedConnection>(
        CreateEngineConnection(), [this] { failIfInjected(Operation::OpenDatabase); },
        [this] { beforeStatement(); },
        [this](const QString& sql) {
            if (onExecute)
                onExecute(sql);
        },
        [this] { return !databaseDiskFull; });
}

void ScriptedPlatform::beforeStatement() {
    if (!failures_.contains(int(Operation::RunStatement)))
        return;
    if (statementsBeforeFailure > 0) {
        --statementsBeforeFailure;
        return;
    }
    failIfInjected(Operation::RunStatement);
}

std::unique_ptr<Spreadsheet> ScriptedPlatform::createSpreadsheet() {
    failIfInjected(Operation::CreateSpreadsheet);
    ++spreadsheetsCreated;
    return std::make_unique<RecordedSpreadsheet>(*this);
}
