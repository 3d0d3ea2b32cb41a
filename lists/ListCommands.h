#pragma once

class AddressListModel;
class FormState;

// Delete or double-click in a list: removes the selected entry unless the
// window is busy. A row of -1 means nothing is selected.
void RemoveSelectedEntry(const FormState& form, AddressListModel& list, int selectedRow);

// "Clear List": empties the input list unless the window is busy.
void ClearInputList(FormState& form);
// "Clear Results": empties the results list, busy or not.
void ClearResults(FormState& form);
