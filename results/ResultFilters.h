#pragma once

#include <QString>

class AddressListModel;
class FormState;
class Platform;

// Remove, ignoring letter case, every result that holds the text (or that
// does not), keeping the others in their order.
void RemoveResultsContaining(AddressListModel& results, const QString& text);
void RemoveResultsNotContaining(AddressListModel& results, const QString& text);

// "Remove Results Containing X" and "Remove Results Not Cont. X": ask for
// the text, then filter the results list.
void RemoveResultsContainingX(FormState& form, Platform& platform);
void RemoveResultsNotContainingX(FormState& form, Platform& platform);
