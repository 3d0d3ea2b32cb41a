#pragma once

#include <QString>

// The number a stored text starts with: optional blanks, a sign, digits, a
// fraction and an exponent, read up to the first character that cannot
// continue it. A text that does not start with a number reads as 0.
double LeadingNumber(const QString& text);

// A stored text as a yes/no value: "True" or "False" in any letter case, or
// a number (non-zero is yes). Anything else throws AppError "Type mismatch".
bool SettingToBoolean(const QString& text);

// How a yes/no value is stored.
QString BooleanSetting(bool value);
