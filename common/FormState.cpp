#include "FormState.h"

FormState::FormState() = default;

template <class T> void FormState::change(T& field, const T& value, void (FormState::*signal)()) {
    if (field == value)
        return;
    field = value;
    emit(this->*signal)();
}

void FormState::setSortCaption(const QString& caption) {
    change(sortCaption_, caption, &FormState::sortCaptionChanged);
}

void FormState::setMousePointer(MousePointer pointer) {
    change(mousePointer_, pointer, &FormState::mousePointerChanged);
}

void FormState::setProgressValue(double value) {
    change(progressValue_, value, &FormState::progressChanged);
}

void FormState::setProgressText(const QString& text) {
    change(progressText_, text, &FormState::progressChanged);
}

void FormState::setCheck5(bool on) {
    change(check5_, on, &FormState::optionsChanged);
}
void FormState::setCheck1(bool on) {
    change(check1_, on, &FormState::optionsChanged);
}
void FormState::setCheck2(bool on) {
    change(check2_, on, &FormState::optionsChanged);
}
void FormState::setText1(const QString& text) {
    change(text1_, text, &FormState::optionsChanged);
}
void FormState::setText1Enabled(bool enabled) {
    change(text1Enabled_, enabled, &FormState::optionsChanged);
}

// Option buttons of one frame: selecting one deselects the other.
void FormState::setOption1(bool selected) {
    change(option1_, selected, &FormState::optionsChanged);
    if (selected)
        change(option2_, false, &FormState::optionsChanged);
}

void FormState::setOption2(bool selected) {
    change(option2_, selected, &FormState::optionsChanged);
    if (selected)
        change(option1_, false, &FormState::optionsChanged);
}
