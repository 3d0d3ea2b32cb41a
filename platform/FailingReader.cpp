#include "FailingReader.h"

#include <algorithm>

FailingReader::FailingReader(std::unique_ptr<QIODevice> file, qint64 failAt, QString description)
    : file_(std::move(file)), failAt_(failAt), description_(std::move(description)) {
    open(QIODevice::ReadOnly | QIODevice::Unbuffered);
}

qint64 FailingReader::readData(char* data, qint64 maxSize) {
    if (delivered_ >= failAt_) {
        setErrorString(description_);
        return -1;
    }
    const qint64 got = file_->read(data, std::min(maxSize, failAt_ - delivered_));
    if (got > 0)
        delivered_ += got;
    return got;
}
