#pragma once

#include <QStringList>

class FormState;
class Platform;

// "Load List Of Emails From File": asks for one or more list files and
// appends their addresses to the input list, with the busy pointer on.
void LoadListFiles(FormState& form, Platform& platform);

// Loads files named outside the dialog (command line, drop; absolute paths)
// as if they had been chosen together in it: the same reading, messages and
// report.
void LoadNamedListFiles(FormState& form, Platform& platform, const QStringList& paths);
