#include "ListCommands.h"

#include "FormState.h"

void RemoveSelectedEntry(const FormState& form, AddressListModel& list, int selectedRow) {
    if (form.isBusy() || list.isEmpty())
        return;
    if (selectedRow >= 0 && selectedRow < list.count())
        list.removeAt(selectedRow);
}

void ClearInputList(FormState& form) {
    if (!form.isBusy())
        form.ListView1.clear();
}

void ClearResults(FormState& form) {
    form.ListView2.clear();
}
