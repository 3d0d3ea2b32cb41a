#include "SampleEmails.h"

#include "ErrorReport.h"
#include "FormState.h"

namespace {
struct SampleAddress {
    int statement;
    const char16_t* text;
};

// Chosen to show what a sort does: the free-mail group is interrupted by
// another domain, the domains come in non-alphabetical order, the free-mail
// local parts are unordered and the last two are in descending order.
constexpr SampleAddress kSample[] = {
    {106, u"anna@gmail.com"},     {100, u"lena@tidewater.com"}, {102, u"tom_baker@gmail.com"},
    {104, u"alex1987@gmail.com"}, {108, u"ruth@mapleton.com"},  {110, u"ben@mapleton.com"},
};
} // namespace

void AppendSampleEmails(Platform& platform, const std::function<void(QStringView)>& append) {
    ErrorReport report(platform, QStringLiteral("Form1"), QStringLiteral("PushButton7_Click"));
    for (const SampleAddress& address : kSample)
        report.run(address.statement, [&] { append(QStringView(address.text)); });
}

void LoadSampleEmails(FormState& form, Platform& platform) {
    AppendSampleEmails(platform, [&form](QStringView address) { form.ListView1.append(address); });
}
