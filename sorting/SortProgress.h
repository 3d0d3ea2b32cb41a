#pragma once

#include <QAnyStringView>
#include <QString>
#include <optional>

class FormState;

// The integer part of part / whole x 100.
double WholePercent(qint64 part, qint64 whole);

// What the bar and the sort button show as a run goes through its steps.
// Both methods show steps 1 and 3 with the same texts; step 2 is each
// method's own. How far along the bar's value is in step 3 each method
// works out itself.
class SortProgress {
public:
    explicit SortProgress(FormState& form) : form_(form) {}

    // Step 1, after address i (from 1) of the `count` the input list holds.
    void collecting(qsizetype i, qsizetype count, QAnyStringView address);
    // Step 2 of the text method, after comparison j of pass `pass`, where n
    // is the last pair index; with n at 0 the value stays.
    void sorting(qint64 pass, qint64 n, qint64 j);
    // Step 2 of the database method: one text, the value where step 1 left it.
    void querying();
    // Step 3 begins: the sort button now stops the adding.
    void startAdding();
    // Step 3, after result i (from 0); `value` when it changes.
    void adding(qint64 i, std::optional<double> value);
    // Step 3 of the text method, the search for key i's bucket after bucket j (from 1).
    void searching(qint64 i, qint64 j, std::optional<double> value);

private:
    void show(std::optional<double> value, const QString& text);

    FormState& form_;
};
