#include "ErrorReport.h"

#include "Platform.h"

#include <utility>

ErrorReport::ErrorReport(Platform& platform, const QString& module, const QString& procedure)
    : platform_(platform),
      location_(QStringLiteral("in Kelvamore2021/08/31.") + module + u'.' + procedure + u' ') {}

QString ErrorReport::message(const QString& description, const QString& location, int number) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(number) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

void ErrorReport::report(const AppError& error, int number) {
    if (error.number() == OutOfMemoryError().number() && std::exchange(outOfMemory_, true))
        return;
    show(error.description(), number);
}

void ErrorReport::show(const QString& description, int number) {
    platform_.messageBox(message(description, location_, number), MessageButtons::Ok,
                         MessageIcon::Exclamation, QStringLiteral("Application Error"));
}
