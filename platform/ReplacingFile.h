#pragma once

#include "Platform.h"

#include <QByteArray>

// An output file written under a temporary name beside the one asked for,
// which it takes on commit, replacing an old file of that name in one step.
// Dropped before that, it leaves the old file as it was. A symbolic link is
// followed to the file it names. Only a regular file is ever replaced: a
// folder, a device or a pipe of that name is refused when creating.
// Failures throw AppError in the platform's words ("Disk full").
class ReplacingFile : public OutputFile {
public:
    explicit ReplacingFile(const QString& path);
    ~ReplacingFile() override;
    ReplacingFile(const ReplacingFile&) = delete;
    ReplacingFile& operator=(const ReplacingFile&) = delete;

    void write(const QByteArray& bytes) override;
    void commit() override;

private:
    void discard();

    QByteArray target_;    // the name the file takes, links followed
    QByteArray temporary_; // the name it is written under; empty once it took the other
    int fd_ = -1;
};
