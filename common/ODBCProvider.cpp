#include "ODBCProvider.h"

#include "AppError.h"
#include "Database.h"
#include "ErrorReport.h"
#include "Platform.h"

namespace {
bool providerMissing(const AppError& error) {
    return error.number() == kProviderNotFoundNumber ||
           error.description().contains(QStringLiteral("provider cannot be found"),
                                        Qt::CaseInsensitive);
}

void offerDownload(Platform& platform) {
    if (platform.messageBox(EngineGuidance(), MessageButtons::YesNo, MessageIcon::None) ==
        MessageAnswer::Yes) {
        platform.openUrl(kEngineDriverPage);
        platform.openUrl(kEngineDownloadPage);
    }
}
} // namespace

QString EngineGuidance() {
    const QString paragraph = QStringLiteral("\r\n\r\n");
    return QStringLiteral(
               "Error #3706: Provider cannot be found. It may not be properly installed.") +
           paragraph + QStringLiteral("You are getting this error because:") + paragraph +
           QStringLiteral("1. Microsoft Access is not installed on your computer.") + paragraph +
           QStringLiteral("2. A set of Microsoft components to transfer data is not installed on "
                          "your computer.") +
           paragraph +
           QStringLiteral("You need to download and install Microsoft Access Database Engine 2010 "
                          "or 2016 to solve this problem.") +
           paragraph +
           QStringLiteral("Would you like me to open the Microsoft site now so you can do this?") +
           paragraph +
           QStringLiteral("(If you have any further questions please email a screenshot of this "
                          "error message to ") +
           kSupportAddress + u')';
}

bool IsProviderInstalled(Platform& platform, bool quiet) {
    try {
        platform.createConnection();
        return true;
    } catch (const AppError& error) {
        try {
            if (!quiet && providerMissing(error))
                offerDownload(platform);
        } catch (...) {
        }
    } catch (...) {
    }
    return false;
}
