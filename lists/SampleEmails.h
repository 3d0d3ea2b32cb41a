#pragma once

#include <QStringView>
#include <functional>

class FormState;
class Platform;

// "Load Sample/Example Emails": appends six fixed addresses to the input list.
void LoadSampleEmails(FormState& form, Platform& platform);

// The same, appending through `append`; each address is one numbered statement
// of the error report, so a failing append is reported and the rest still go in.
void AppendSampleEmails(Platform& platform, const std::function<void(QStringView)>& append);
