#pragma once

#include <QByteArray>
#include <QIODevice>
#include <algorithm>
#include <cstring>
#include <functional>

// Hands out its bytes in short reads whose sizes come from nextSize (each at
// least one byte), so a reader meets its input cut at arbitrary places. It is
// a stream, unless made seekable, like a file.
class ShortReadDevice : public QIODevice {
public:
    ShortReadDevice(QByteArray bytes, std::function<qint64()> nextSize, bool seekable = false)
        : bytes_(std::move(bytes)), nextSize_(std::move(nextSize)), seekable_(seekable) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return !seekable_; }
    qint64 size() const override { return bytes_.size(); }
    bool seek(qint64 pos) override {
        if (!QIODevice::seek(pos))
            return false;
        offset_ = std::min(pos, qint64(bytes_.size()));
        return true;
    }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const qint64 n =
            std::min({maxSize, std::max<qint64>(1, nextSize_()), qint64(bytes_.size()) - offset_});
        memcpy(data, bytes_.constData() + offset_, size_t(n));
        offset_ += n;
        return n;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    QByteArray bytes_;
    std::function<qint64()> nextSize_;
    bool seekable_;
    qint64 offset_ = 0;
};
