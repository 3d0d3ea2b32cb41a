#pragma once

#include <QString>

class FormState;
class Platform;

// The rules of the option controls and their mirror in the settings store.
// Assigning a value that changes a control runs the control's handler, as a
// user's change would; assigning the value it already has does nothing.
// Failures of the settings store pass to the caller.
class OptionHandlers {
public:
    OptionHandlers(FormState& form, Platform& platform);

    void setCheck5(bool on);
    void setCheck1(bool on);
    void setCheck2(bool on);
    void setText1(const QString& text);
    // Assigning false only deselects; selecting runs the click handler.
    void setOption1(bool selected);
    void setOption2(bool selected);

    // False when the text was refused; the window then gives the focus back.
    bool Text1_LostFocus();

    // Start-up: each control from its stored value, in this order.
    void restoreCheck5();
    void restoreCheck1();
    void restoreCheck2();
    void restoreText1();
    // After the engine check: the default follows DatabaseEngineAvailable.
    void restoreOption1();
    void restoreOption2();

private:
    void Check1_Click();
    void Check2_Click();
    void Check5_Click();
    void Option1_Click();
    void Option2_Click();
    void Text1_Change();
    void storeTick(const QString& key, bool on);
    void storeOptions();
    bool storedTick(const QString& key);

    FormState& form_;
    Platform& platform_;
};
