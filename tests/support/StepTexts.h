#pragma once

#include <QString>

// How the bar's texts of a sort run begin, step by step.
inline const QString kCollecting = QStringLiteral("Step 1 of 3: Processing email: ");
inline const QString kLoop = QStringLiteral("Step 2 of 3: Sorting, loop ");
inline const QString kQuerying = QStringLiteral("Step 2 of 3: Sorting, please wait... ");
inline const QString kAdding = QStringLiteral("Step 3 of 3: Adding emails, please wait... ");
inline const QString kSearching = QStringLiteral("Step 3 of 3: Adding  emails, please wait... ");
