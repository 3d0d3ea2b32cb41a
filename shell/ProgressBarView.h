#pragma once

#include <QProgressBar>

// The progress bar as the window shows it: a value from 0 to 100 (fractions
// and values past 100 allowed) and a text drawn on the bar.
class ProgressBarView : public QProgressBar {
    Q_OBJECT
public:
    explicit ProgressBarView(QWidget* parent = nullptr);
    void show(double value, const QString& text);
    // Drawn as given: QProgressBar would expand "%p", "%v" and "%m" in it.
    QString text() const override { return text_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString text_;
    QString toldReaders_; // the text screen readers last heard of
};
