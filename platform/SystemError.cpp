#include "SystemError.h"

#include <cerrno>
#include <cstring>

bool IsDiskFull(int code) {
    return code == ENOSPC || code == EDQUOT;
}

AppError SystemError(int code, int number) {
    if (IsDiskFull(code))
        return DiskFullError();
    if (code == ENOMEM)
        return OutOfMemoryError();
    return AppError(QString::fromLocal8Bit(std::strerror(code)), number);
}
