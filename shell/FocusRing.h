#pragma once

#include <QWidget>

// A clear ring around whichever control of the window has the keyboard focus.
// Desktop styles mark the focus faintly or not at all (an empty list shows
// nothing), so the window draws its own, just outside the control.
class FocusRing : public QWidget {
    Q_OBJECT
public:
    explicit FocusRing(QWidget* window);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* focused);

    QWidget* window_;
};
