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
// plain code.
class ErrorReport {
public:
    ErrorReport(Platform& platform, const QString& module, const QString& procedure);

    template <class Statement> bool run(int number, Statement&& statement) {
        try {
            statement();
            return true;
        } catch (const AppError& error) {
            show(error.description(), number);
        } catch (const std::bad_alloc&) {
            show(QStringLiteral("Out of memory"), number);
        } catch (const std::exception& error) {
            show(QString::fromLocal8Bit(error.what()), number);
        }
        return false;
    }

    const QString& location() const { return location_; }
    static QString message(const QString& description, const QString& location, int number);

private:
    void show(const QString& description, int number);

    Platform& platform_;
    QString location_;
};
