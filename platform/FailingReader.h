#pragma once

#include <QIODevice>
#include <memory>

// Reads a file normally up to an offset and then fails, the way a disk or a
// network share can fail in the middle of a file.
class FailingReader : public QIODevice {
public:
    FailingReader(std::unique_ptr<QIODevice> file, qint64 failAt, QString description);

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<QIODevice> file_;
    qint64 failAt_;
    qint64 delivered_ = 0;
    QString description_;
};
