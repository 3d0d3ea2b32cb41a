#pragma once

#include <QString>

class AddressListModel;
class FormState;
class Platform;

// Writes the list as properly spaced text: its header line and one line per
// entry, each cell padded with blanks to the column's widest text and closed
// by a tab, every line ended by CR LF, in the system's encoding. With a
// progress bar (the window's), reports "Writing file: ..." on it. Works on
// the entries as they are when it is called.
void SaveListviewProperlySpaced(const AddressListModel& list, const QString& fileName,
                                Platform& platform, FormState* progressBar = nullptr);

// "Save Results As Text File": asks for a name and writes the results list.
void SaveResultsAsTextFile(FormState& form, Platform& platform);
