#include "ScriptedPlatform.h"

#include "AppError.h"

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
    shownBoxes.push_back({text, buttons, icon, caption.isEmpty() ? applicationTitle() : caption});
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
        onYield(yieldCount);
}

void ScriptedPlatform::injectFailure(Operation operation, const QString& description, int times) {
    failures_[int(operation)] = {description, times};
}

void ScriptedPlatform::failIfInjected(Operation operation) {
    auto it = failures_.find(int(operation));
    if (it == failures_.end() || it->second <= 0)
        return;
    --it->second;
    throw AppError(it->first);
}

void ScriptedPlatform::createFolder(const QString& path) {
    failIfInjected(Operation::CreateFolder);
    LocalPlatform::createFolder(path);
}

void ScriptedPlatform::copyFile(const QString& from, const QString& to) {
    failIfInjected(Operation::CopyFile);
    LocalPlatform::copyFile(from, to);
}

std::unique_ptr<QIODevice> ScriptedPlatform::openForReading(const QString& path) {
    failIfInjected(Operation::OpenForReading);
    return LocalPlatform::openForReading(path);
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

std::unique_ptr<Spreadsheet> ScriptedPlatform::createSpreadsheet() {
    failIfInjected(Operation::CreateSpreadsheet);
    ++spreadsheetsCreated;
    return std::make_unique<RecordedSpreadsheet>(*this);
}
