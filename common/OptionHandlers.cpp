#include "OptionHandlers.h"

#include "FormState.h"
#include "ODBCProvider.h"
#include "PerDomainLimit.h"
#include "Platform.h"
#include "SettingText.h"

namespace {
const QString kRemoveDuplicates = QStringLiteral("Remove Duplicates");
const QString kCheck1 = QStringLiteral("Check1");
const QString kCheck2 = QStringLiteral("Check2");
const QString kText1 = QStringLiteral("Text1");
const QString kOption1 = QStringLiteral("Option1");
const QString kOption2 = QStringLiteral("Option2");
} // namespace

OptionHandlers::OptionHandlers(FormState& form, Platform& platform)
    : form_(form), platform_(platform) {}

void OptionHandlers::setCheck5(bool on) {
    if (form_.check5() == on)
        return;
    form_.setCheck5(on);
    Check5_Click();
}

void OptionHandlers::setCheck1(bool on) {
    if (form_.check1() == on)
        return;
    form_.setCheck1(on);
    Check1_Click();
}

void OptionHandlers::setCheck2(bool on) {
    if (form_.check2() == on)
        return;
    form_.setCheck2(on);
    Check2_Click();
}

void OptionHandlers::setText1(const QString& text) {
    if (form_.text1() == text)
        return;
    form_.setText1(text);
    Text1_Change();
}

void OptionHandlers::setOption1(bool selected) {
    if (form_.option1() == selected)
        return;
    form_.setOption1(selected);
    if (selected)
        Option1_Click();
}

void OptionHandlers::setOption2(bool selected) {
    if (form_.option2() == selected)
        return;
    form_.setOption2(selected);
    if (selected)
        Option2_Click();
}

void OptionHandlers::Check1_Click() {
    if (form_.check1())
        setCheck2(false);
    storeTick(kCheck1, form_.check1());
}

void OptionHandlers::Check2_Click() {
    if (form_.check2()) {
        setCheck1(false);
        form_.setText1Enabled(true);
    } else {
        form_.setText1Enabled(false);
    }
    storeTick(kCheck2, form_.check2());
}

void OptionHandlers::Check5_Click() {
    storeTick(kRemoveDuplicates, form_.check5());
}

void OptionHandlers::Option1_Click() {
    if (!form_.globals.DatabaseEngineAvailable) {
        IsProviderInstalled(platform_, false);
        setOption2(true);
    }
    storeOptions();
}

void OptionHandlers::Option2_Click() {
    storeOptions();
}

void OptionHandlers::Text1_Change() {
    platform_.writeSetting(kText1, form_.text1());
}

bool OptionHandlers::Text1_LostFocus() {
    if (IsNumeric(form_.text1()))
        return true;
    platform_.messageBox(QStringLiteral("You must input numeric entry."), MessageButtons::Ok,
                         MessageIcon::None);
    return false;
}

void OptionHandlers::storeTick(const QString& key, bool on) {
    platform_.writeSetting(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void OptionHandlers::storeOptions() {
    platform_.writeSetting(kOption1, BooleanSetting(form_.option1()));
    platform_.writeSetting(kOption2, BooleanSetting(form_.option2()));
}

bool OptionHandlers::storedTick(const QString& key) {
    return LeadingNumber(platform_.readSetting(key, QStringLiteral("0"))) == 1;
}

void OptionHandlers::restoreCheck5() {
    setCheck5(storedTick(kRemoveDuplicates));
}
void OptionHandlers::restoreCheck1() {
    setCheck1(storedTick(kCheck1));
}
void OptionHandlers::restoreCheck2() {
    setCheck2(storedTick(kCheck2));
}
void OptionHandlers::restoreText1() {
    setText1(platform_.readSetting(kText1, QStringLiteral("5")));
}

void OptionHandlers::restoreOption1() {
    const bool engine = form_.globals.DatabaseEngineAvailable;
    setOption1(SettingToBoolean(
        platform_.readSetting(kOption1, engine ? QStringLiteral("1") : QStringLiteral("0"))));
}

void OptionHandlers::restoreOption2() {
    const bool engine = form_.globals.DatabaseEngineAvailable;
    setOption2(SettingToBoolean(
        platform_.readSetting(kOption2, engine ? QStringLiteral("0") : QStringLiteral("1"))));
}
