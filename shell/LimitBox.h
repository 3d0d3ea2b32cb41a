#pragma once

#include <QLineEdit>

// The per-domain limit box. It says when the focus leaves it for another
// control; the window losing the activation to a box or to another program
// is no leave.
class LimitBox : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

signals:
    void left();

protected:
    void focusOutEvent(QFocusEvent* event) override;
};
