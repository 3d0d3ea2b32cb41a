#pragma once

#include <QString>

class AddressListModel;
class FormState;
class Platform;

// Puts the list's entries on the clipboard, one line each, without blanks at
// the end of a line, every line ended by CR LF; no header. An empty list
// leaves the clipboard as it was. Works on the entries as they are when it
// is called.
void CopyListviewToClipboard(const AddressListModel& list, Platform& platform);

// Each tries up to 1000 times while the clipboard is busy; failures are
// answered, never reported. SetClipboardText answers whether the text is on
// the clipboard.
void ClearClipboard(Platform& platform);
bool SetClipboardText(Platform& platform, const QString& text);

// "Copy Results To Clipboard".
void CopyResultsToClipboard(FormState& form, Platform& platform);
