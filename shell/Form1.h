#pragma once

#include "FormState.h"
#include "LimitBox.h"
#include "OptionHandlers.h"
#include "SortRun.h"

#include <QCursor>
#include <QWidget>
#include <optional>

class AddressListView;
class Platform;
class ProgressBarView;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The main window. Its controls keep their form names; it shows the window
// state (FormState) and turns clicks, keys and mouse moves into commands.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Platform& platform, QWidget* parent = nullptr);

    FormState& state() { return state_; }
    OptionHandlers& options() { return options_; }
    Platform& platform() { return platform_; }

    // Start-up: appearance, columns, options, the data folder and the working database.
    void Form_Load();

    // Null until created: the event filter sees events while the controls are being made.
    AddressListView* ListView1 = nullptr;
    AddressListView* ListView2 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* PushButton7 = nullptr;
    QPushButton* PushButton13 = nullptr;
    QPushButton* PushButton17 = nullptr;
    QPushButton* PushButton22 = nullptr;
    QPushButton* PushButton23 = nullptr;
    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QCheckBox* Check5 = nullptr;
    QCheckBox* Check1 = nullptr;
    QCheckBox* Check2 = nullptr;
    LimitBox* Text1 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    ProgressBarView* ProgressBar1 = nullptr;

    void PushButton1_Click();
    void PushButton2_Click();
    void PushButton3_Click();
    void PushButton6_Click();
    void PushButton7_Click();
    void PushButton17_Click();
    void PushButton4_Click();
    void PushButton5_Click();
    void PushButton13_Click();
    void PushButton22_Click();
    void PushButton23_Click();

    // Can the spreadsheet program be started? When it cannot, says so.
    bool SaveResultsAsExcelFileIsExcelInstalled();

    // The selected row of a list view, or -1.
    static int selectedRow(const AddressListView* list);
    bool hasSkin() const { return skinned_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void createLists();
    void createButtons();
    void createOptions();
    AddressListView* addList(const QString& name, const QString& purpose, QRect geometry,
                             AddressListModel& model);
    QPushButton* addButton(const QString& name, const QString& caption, QRect geometry);
    static void showColumn(AddressListView* list);
    void orderTabs();
    void connectState();
    void ApplySkin();
    void setBackground(const QColor& colour);
    void showMousePointer();
    void showOptions();
    void removeSelected(AddressListView* view, AddressListModel& list);
    void connectOptions();
    void Text1_LeftForAnotherControl();
    void Text1_LostFocus();

    Platform& platform_;
    FormState state_;
    OptionHandlers options_{state_, platform_};
    SortRun sortRun_{state_, platform_};
    std::optional<QCursor> handCursor_;
    bool skinned_ = false;
    bool text1LeaveUnchecked_ = false; // the limit box lost the focus; its check is queued
};
