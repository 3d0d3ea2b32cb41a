#pragma once

#include <QAnyStringView>
#include <QString>

// Does a text, lowered, hold the searched text, lowered? Lowering is
// QString::toLower's mapping of each string, so "ſ" does not match "s" as a
// case-folding comparison would. Texts are lowered into one reused buffer.
class LowerCaseSearch {
public:
    explicit LowerCaseSearch(const QString& searched) : searched_(searched.toLower()) {}

    bool foundIn(QAnyStringView text);

private:
    template <class View> bool lowerAndFind(View text);

    QString searched_;
    QString lowered_;
};
