#pragma once

#include <QAccessibleWidget>

class ProgressBarView;

// What a screen reader sees of the progress bar: its name is the text the bar
// shows ("Progress Bar" at rest, the step texts during a run), read from the
// bar when asked, and its value the bar's value.
class ProgressBarAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
public:
    explicit ProgressBarAccessible(ProgressBarView* bar);

    // Makes Qt ask this class for every ProgressBarView; later calls do nothing.
    static void install();
    // Tells readers that the bar's text changed.
    static void textChanged(ProgressBarView* bar);

    QString text(QAccessible::Text t) const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QVariant currentValue() const override;
    void setCurrentValue(const QVariant&) override {} // the bar is only shown
    QVariant maximumValue() const override;
    QVariant minimumValue() const override;
    QVariant minimumStepSize() const override { return 0; }

private:
    ProgressBarView* bar() const;
};
