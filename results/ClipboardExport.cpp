#include "ClipboardExport.h"

#include "AppError.h"
#include "ErrorReport.h"
#include "FormState.h"
#include "Platform.h"

namespace {
constexpr int kAttempts = 1000;

template <class Operation> bool retried(Operation&& operation) {
    for (int attempt = 1; attempt <= kAttempts; ++attempt) {
        try {
            operation();
            return true;
        } catch (const AppError&) {
            // Another program holds the clipboard: try again at once.
        }
    }
    return false;
}

template <class View> View withoutTrailingBlanks(View text) {
    qsizetype end = text.size();
    while (end > 0 && text[end - 1] == QLatin1Char(' '))
        --end;
    return text.first(end);
}
} // namespace

void ClearClipboard(Platform& platform) {
    retried([&] { platform.clearClipboard(); });
}

bool SetClipboardText(Platform& platform, const QString& text) {
    return retried([&] { platform.setClipboardText(text); });
}

void CopyListviewToClipboard(const AddressListModel& list, Platform& platform) {
    const AddressStore entries = list.snapshot();
    const qsizetype count = entries.count();
    if (count == 0)
        return;
    FrameClock& clock = platform.frameClock();
    const auto yieldPoint = [&] {
        if (clock.due())
            platform.yield();
    };
    // The single column needs no width (its padding is trimmed away again);
    // this pass measures the whole text instead, so it is built without regrowing.
    qsizetype size = 0;
    for (qsizetype i = 0; i < count; ++i) {
        yieldPoint();
        size += entries.at(i).size() + 2;
    }
    QString text;
    text.reserve(size);
    for (qsizetype i = 0; i < count; ++i) {
        yieldPoint();
        yieldPoint();
        VisitText(entries.at(i), [&](auto entry) { text.append(withoutTrailingBlanks(entry)); });
        text.append(QStringView(u"\r\n"));
    }
    ClearClipboard(platform);
    // Saying the results were copied when they were not would lose them on paste.
    if (!SetClipboardText(platform, text))
        throw AppError(QStringLiteral("Can't open Clipboard"), 521);
}

void CopyResultsToClipboard(FormState& form, Platform& platform) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton5_Click"));
    if (!report.run(100, [&] { CopyListviewToClipboard(form.ListView2, platform); }))
        return;
    report.run(102, [&] {
        platform.messageBox(QStringLiteral("Results have been copied to the clipboard.\r\r"
                                           "Click a text area where you normally type and press "
                                           "Ctrl+V to paste the clipboard."),
                            MessageButtons::Ok, MessageIcon::None);
    });
}
