#pragma once

#include "ScriptedPlatform.h"

#include <QStringList>

inline const QString kErrorCaption = QStringLiteral("Application Error");

// The texts of the boxes shown, in order.
inline QStringList BoxTexts(const ScriptedPlatform& platform) {
    QStringList texts;
    for (const auto& box : platform.shownBoxes)
        texts << box.text;
    return texts;
}

// Only the error reports, or only the other boxes.
inline QStringList BoxTexts(const ScriptedPlatform& platform, bool errorReports) {
    QStringList texts;
    for (const auto& box : platform.shownBoxes)
        if ((box.caption == kErrorCaption) == errorReports)
            texts << box.text;
    return texts;
}

inline QStringList ErrorReports(const ScriptedPlatform& platform) {
    return BoxTexts(platform, true);
}

inline QStringList OtherBoxes(const ScriptedPlatform& platform) {
    return BoxTexts(platform, false);
}

// How an error report begins: the description, where it happened with the
// statement number, and the empty line, such as
// ReportHead("Disk full", "Form1.PushButton4_Click", 106).
inline QString ReportHead(const QString& description, const QString& procedure, int line) {
    return description + QStringLiteral("\r\nin Kelvamore2021/08/31.") + procedure +
           QStringLiteral(" at line ") + QString::number(line) + QStringLiteral("\r\r");
}
