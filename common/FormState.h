#pragma once

#include "AddressListModel.h"
#include "Globals.h"
#include "MousePointer.h"

#include <QObject>
#include <QString>

inline const QString kProgressBarRest = QStringLiteral("Progress Bar");
inline const QString kStartSorting = QStringLiteral("Start Sorting");
inline const QString kStopSorting = QStringLiteral("Stop Sorting");
inline const QString kStopAdding = QStringLiteral("Stop Adding");

// Everything of the main window that the commands read and write, without
// any widget: the two lists, the options, the sort button's caption, the
// progress bar and the mouse pointer. The window mirrors it on screen, and
// tests and benchmarks drive the commands through it directly.
class FormState : public QObject {
    Q_OBJECT
public:
    FormState();

    AddressListModel ListView1{QStringLiteral(" Email(s)")};
    AddressListModel ListView2{QStringLiteral("Result(s)")};
    Globals globals;

    const QString& sortCaption() const { return sortCaption_; }
    void setSortCaption(const QString& caption);

    MousePointer mousePointer() const { return mousePointer_; }
    void setMousePointer(MousePointer pointer);
    bool isBusy() const { return mousePointer_ == MousePointer::Busy; }

    double progressValue() const { return progressValue_; }
    const QString& progressText() const { return progressText_; }
    void setProgressValue(double value);
    void setProgressText(const QString& text);

    // The options as the window shows them. Setting one changes the state
    // only; the rules that tie the options together run in their handlers.
    bool check5() const { return check5_; }
    bool check1() const { return check1_; }
    bool check2() const { return check2_; }
    const QString& text1() const { return text1_; }
    bool text1Enabled() const { return text1Enabled_; }
    bool option1() const { return option1_; }
    bool option2() const { return option2_; }
    void setCheck5(bool on);
    void setCheck1(bool on);
    void setCheck2(bool on);
    void setText1(const QString& text);
    void setText1Enabled(bool enabled);
    void setOption1(bool selected);
    void setOption2(bool selected);

    // Asks the window to put the focus into the per-domain limit box.
    void focusText1() { emit text1FocusRequested(); }
    // The name the window's file dialog holds: the last one picked in it,
    // offered again the next time a dialog opens.
    const QString& dialogFileName() const { return dialogFileName_; }
    void setDialogFileName(const QString& name) { dialogFileName_ = name; }

signals:
    void sortCaptionChanged();
    void mousePointerChanged();
    void progressChanged();
    void optionsChanged();
    void text1FocusRequested();

private:
    template <class T> void change(T& field, const T& value, void (FormState::*signal)());

    QString sortCaption_ = kStartSorting;
    MousePointer mousePointer_ = MousePointer::Default;
    double progressValue_ = 0;
    QString progressText_ = kProgressBarRest;
    bool check5_ = false;
    bool check1_ = false;
    bool check2_ = false;
    QString text1_ = QStringLiteral("5");
    bool text1Enabled_ = false;
    bool option1_ = true;
    bool option2_ = false;
    QString dialogFileName_;
};
