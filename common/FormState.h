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

    // What a press of the sort button does: start a run, or stop what a
    // running one is doing. Whether a run is going, the caption cannot say:
    // a stop press makes it read "Start Sorting" while the run winds down.
    const QString& sortCaption() const { return sortCaption_; }
    void setSortCaption(const QString& caption);
    // Whether a sort run is going, from its start press until that press has
    // finished, also while a stopped run winds down.
    bool sortRunActive() const { return sortRunActive_; }

    MousePointer mousePointer() const { return mousePointer_; }
    void setMousePointer(MousePointer pointer);
    // The hourglass of any long command, which the list handlers leave alone
    // while it shows.
    bool isBusy() const { return mousePointer_ == MousePointer::Busy; }

    double progressValue() const { return progressValue_; }
    const QString& progressText() const { return progressText_; }
    void setProgressValue(double value);
    void setProgressText(const QString& text);

    // The options as the window shows them. Only their handlers
    // (OptionHandlers) change them, with the rules that tie them together.
    bool check5() const { return check5_; }
    bool check1() const { return check1_; }
    bool check2() const { return check2_; }
    const QString& text1() const { return text1_; }
    bool text1Enabled() const { return text1Enabled_; }
    bool option1() const { return option1_; }
    bool option2() const { return option2_; }

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
    friend class OptionHandlers;
    friend class SortRun;

    template <class T> void change(T& field, const T& value, void (FormState::*signal)());
    void setCheck5(bool on);
    void setCheck1(bool on);
    void setCheck2(bool on);
    void setText1(const QString& text);
    void setText1Enabled(bool enabled);
    void setOption1(bool selected);
    void setOption2(bool selected);

    QString sortCaption_ = kStartSorting;
    bool sortRunActive_ = false;
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
