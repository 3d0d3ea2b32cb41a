#pragma once

#include "FormState.h"
#include "OptionHandlers.h"
#include "SortRun.h"

#include <QCursor>
#include <QWidget>
#include <optional>

class Platform;
class ProgressBarView;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

// The main window. Its controls keep their form names; it shows the window
// state (FormState) and turns clicks, keys and mouse moves into commands.
class Form1 : public QWidget {
    Q_OBJECT
public:
    explicit Form1(Platform& platform, QWidget* parent = nullptr);

    FormState& state() { return state_; }
    OptionHandlers& options() { return options_; }
    Platform& platform() { return platform_; }

    // Start-up: appearance, columns, folders and the working database.
    void Form_Load();

    QTreeView* ListView1;
    QTreeView* ListView2;
    QPushButton* PushButton1;
    QPushButton* PushButton2;
    QPushButton* PushButton3;
    QPushButton* PushButton4;
    QPushButton* PushButton5;
    QPushButton* PushButton6;
    QPushButton* PushButton7;
    QPushButton* PushButton13;
    QPushButton* PushButton17;
    QPushButton* PushButton22;
    QPushButton* PushButton23;
    QGroupBox* Frame1;
    QGroupBox* Frame2;
    QCheckBox* Check5;
    QCheckBox* Check1;
    QCheckBox* Check2;
    QLineEdit* Text1;
    QRadioButton* Option1;
    QRadioButton* Option2;
    ProgressBarView* ProgressBar1;

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
    static int selectedRow(const QTreeView* list);
    bool hasSkin() const { return skinned_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void createControls();
    void connectState();
    void ApplySkin();
    void setBackground(const QColor& colour);
    void showMousePointer();
    void showOptions();
    void removeSelected(QTreeView* view, AddressListModel& list);
    void connectOptions();
    void Text1_LostFocus();

    Platform& platform_;
    FormState state_;
    OptionHandlers options_{state_, platform_};
    SortRun sortRun_{state_, platform_};
    std::optional<QCursor> handCursor_;
    bool skinned_ = false;
};
