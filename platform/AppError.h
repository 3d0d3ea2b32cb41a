#pragma once

#include <QString>
#include <exception>

// A failure that the error report shows to the user: a description in the
// words of the failing operation and, where the platform has one, its number.
class AppError : public std::exception {
public:
    explicit AppError(QString description, int number = 0)
        : description_(std::move(description)), number_(number) {}

    const QString& description() const { return description_; }
    int number() const { return number_; }
    const char* what() const noexcept override { return "AppError"; }

private:
    QString description_;
    int number_;
};

// A write that found no room, in the platform's words, whatever was writing:
// the database engine, a text file, a workbook.
inline AppError DiskFullError() {
    return AppError(QStringLiteral("Disk full"), 61);
}

// An allocation that failed, in the platform's words, whatever was growing.
inline AppError OutOfMemoryError() {
    return AppError(QStringLiteral("Out of memory"), 7);
}
