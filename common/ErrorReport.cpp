#include "ErrorReport.h"

#include "Platform.h"

#include <cstddef>
#include <memory>
#include <utility>

namespace {
// Address space held while memory lasts and given up when it has run out, so
// that the report saying so can still be built and shown. Never touched, it
// costs no memory.
std::unique_ptr<char[]>& memoryReserve() {
    static std::unique_ptr<char[]> reserve;
    return reserve;
}

// Taken again as soon as there is room for it.
void holdReserve() {
    constexpr std::size_t kBytes = 16 << 20;
    if (!memoryReserve())
        memoryReserve().reset(new (std::nothrow) char[kBytes]);
}
} // namespace

ErrorReport::ErrorReport(Platform& platform, const QString& module, const QString& procedure)
    : platform_(platform),
      location_(QStringLiteral("in Kelvamore2021/08/31.") + module + u'.' + procedure + u' ') {
    holdReserve();
}

QString ErrorReport::message(const QString& description, const QString& location, int number) {
    return description + QStringLiteral("\r\n") + location + QStringLiteral("at line ") +
           QString::number(number) + QStringLiteral("\r\r") +
           QStringLiteral("Please email screenshot of this message to ") + kSupportAddress;
}

void ErrorReport::report(const AppError& error, int number) {
    if (error.number() == OutOfMemoryError().number()) {
        if (std::exchange(outOfMemory_, true))
            return;
        memoryReserve().reset();
    }
    try {
        show(error.description(), number);
    } catch (const std::bad_alloc&) {
        // Not even the report found room: the procedure goes on without it.
    }
    holdReserve();
}

void ErrorReport::show(const QString& description, int number) {
    platform_.messageBox(message(description, location_, number), MessageButtons::Ok,
                         MessageIcon::Exclamation, QStringLiteral("Application Error"));
}
