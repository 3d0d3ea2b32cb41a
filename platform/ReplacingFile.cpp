#include "ReplacingFile.h"

#include "SystemError.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace {
constexpr int kLinkDepth = 40;
constexpr int kNameAttempts = 100;

// The file a chain of symbolic links ends at: the one that gets replaced.
QFileInfo linkTarget(const QString& path) {
    QFileInfo info(path);
    for (int depth = 0; info.isSymLink() && depth < kLinkDepth; ++depth)
        info.setFile(info.symLinkTarget());
    return info;
}

// A new file beside the target under a name nobody uses.
int createBeside(const QByteArray& target, mode_t mode, QByteArray& name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        name = target + '.' + QByteArray::number(QRandomGenerator::global()->generate(), 36);
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}
} // namespace

ReplacingFile::ReplacingFile(const QString& path) {
    const QFileInfo target = linkTarget(path);
    // Renaming over a device, a pipe or a folder would put a plain file in its place.
    if (target.isSymLink() || (target.exists() && !target.isFile()))
        throw AppError(QStringLiteral("Path/File access error"), 75);
    target_ = QFile::encodeName(target.filePath());
    struct stat old;
    const bool replacing = ::stat(target_.constData(), &old) == 0;
    // Private until it has the old file's permissions; a new file gets the usual ones.
    fd_ = createBeside(target_, replacing ? 0600 : 0666, temporary_);
    if (fd_ < 0) {
        const int code = errno;
        temporary_.clear();
        throw SystemError(code, 75);
    }
    if (replacing && ::fchmod(fd_, old.st_mode & 07777) != 0) {
        const AppError error = SystemError(errno, 75);
        discard();
        throw error;
    }
}

ReplacingFile::~ReplacingFile() {
    discard();
}

void ReplacingFile::discard() {
    if (fd_ >= 0)
        ::close(std::exchange(fd_, -1));
    if (!temporary_.isEmpty())
        ::unlink(temporary_.constData());
    temporary_.clear();
}

void ReplacingFile::write(const QByteArray& bytes) {
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd_, data, size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written < 0)
            throw SystemError(errno, 57);
        data += written;
        left -= written;
    }
}

void ReplacingFile::commit() {
    // The text must be on the disk before the name leads to it; a file system
    // may also tell only now that it had no room.
    if (::fsync(fd_) != 0 && errno != EINVAL)
        throw SystemError(errno, 57);
    if (::close(std::exchange(fd_, -1)) != 0 && errno != EINTR)
        throw SystemError(errno, 57);
    if (::rename(temporary_.constData(), target_.constData()) != 0)
        throw SystemError(errno, 75);
    temporary_.clear();
}
