#include "SortProgress.h"

#include "FormState.h"
#include "PathNames.h"

#include <cmath>

double WholePercent(qint64 part, qint64 whole) {
    return std::floor(double(part) / double(whole) * 100);
}

void SortProgress::collecting(qsizetype i, qsizetype count, QAnyStringView address) {
    show(WholePercent(i, count),
         QStringLiteral("Step 1 of 3: Processing email: ") + FileNameFromPath(address.toString()));
}

void SortProgress::sorting(qint64 pass, qint64 n, qint64 j) {
    show(n > 0 ? std::optional(WholePercent(j, n)) : std::nullopt,
         QStringLiteral("Step 2 of 3: Sorting, loop ") + QString::number(pass) +
             QStringLiteral(" of ") + QString::number(n) + QStringLiteral(", please wait... ") +
             QString::number(j));
}

void SortProgress::querying() {
    form_.setProgressText(QStringLiteral("Step 2 of 3: Sorting, please wait... "));
}

void SortProgress::startAdding() {
    form_.setSortCaption(kStopAdding);
}

void SortProgress::adding(qint64 i, std::optional<double> value) {
    show(value, QStringLiteral("Step 3 of 3: Adding emails, please wait... ") + QString::number(i));
}

// Two blanks after "Adding": the search has a text of its own.
void SortProgress::searching(qint64 i, qint64 j, std::optional<double> value) {
    show(value, QStringLiteral("Step 3 of 3: Adding  emails, please wait... ") +
                    QString::number(i) + u'.' + QString::number(j));
}

void SortProgress::show(std::optional<double> value, const QString& text) {
    if (value)
        form_.setProgressValue(*value);
    form_.setProgressText(text);
}
