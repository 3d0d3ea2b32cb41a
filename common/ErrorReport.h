#pragma once

#include "AppError.h"

#include <QString>
#include <new>

class Platform;

inline const QString kSupportAddress = QStringLiteral("support@quillmere.example");

// The "Application Error" report of a command or long routine. Each numbered
// statement that can fail (a box, a file, the database, a yield, a list that
// grows) runs through run(): when it throws, the report names the number and
// the procedure simply goes on with its next statement. The others are
// plain code. Memory that ran out is reported once a procedure: it would run
// out again at every later turn of the loop it ran out in.
class ErrorReport {
public:
    ErrorReport(Platform& platform, const QString& module, const QString& procedure);

    template <class Statement> bool run(int number, Statement&& statement) {
        try {
            statement();
            return true;
        } catch (const AppError& error) {
            report(error, number);
        } catch (const std::bad_alloc&) {
            report(OutOfMemoryError(), number);
        } catch (const std::exception& error) {
            show(QString::fromLocal8Bit(error.what()), number);
        }
        return false;
    }

    // Whether a statement ran out of memory: a loop can stop there.
    bool ranOutOfMemory() const { return outOfMemory_; }
    const QString& location() const { return location_; }
    static QString message(const QString& description, const QString& location, int number);

private:
    void report(const AppError& error, int number);
    void show(const QString& description, int number);

    Platform& platform_;
    QString location_;
    bool outOfMemory_ = false; // reported already
};
