#include "Form1.h"

#include "AddOneAddress.h"
#include "AddressListView.h"
#include "ApplicationTitle.h"
#include "ClipboardExport.h"
#include "DataFolder.h"
#include "ErrorReport.h"
#include "FocusRing.h"
#include "HandCursor.h"
#include "LimitBox.h"
#include "ListCommands.h"
#include "ListFileDrop.h"
#include "LoadListFiles.h"
#include "ODBCProvider.h"
#include "Platform.h"
#include "ProgramIcon.h"
#include "ProgressBarView.h"
#include "ResultFilters.h"
#include "SampleEmails.h"
#include "SpreadsheetExport.h"
#include "TextFileExport.h"
#include "WindowLook.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QIODevice>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <utility>

namespace {
constexpr int kTwipsPerPixel = 15;
const QString kListToolTip = QStringLiteral(
    "Double-click item to remove it. Move | line to right and out of window to reveal full names.");

QRect twips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                 height / kTwipsPerPixel);
}

template <class Control>
Control* place(QWidget* parent, const QString& name, const QString& caption, QRect geometry) {
    // Readers name the control by its caption, also when the caption changes.
    auto* control = new Control(caption, parent);
    control->setObjectName(name);
    control->setGeometry(geometry);
    return control;
}

// A change the user made: the handlers have no error report of their own,
// and a store that cannot be written must not end the program.
template <class Change> void userChange(Platform& platform, Change&& change) {
    try {
        change();
    } catch (const AppError& error) {
        platform.messageBox(error.description(), MessageButtons::Ok, MessageIcon::Exclamation);
    }
}

QFont arialBold(double points) {
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}
} // namespace

Form1::Form1(Platform& platform, QWidget* parent) : QWidget(parent), platform_(platform) {
    setObjectName(QStringLiteral("Form1"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(arialBold(9));
    setFixedSize(15960 / kTwipsPerPixel, 5625 / kTwipsPerPixel);
    createControls();
    orderTabs();
    new FocusRing(this);
    // Its texts are drawn dark on its white whatever the desktop's style.
    ApplyWindowLook(this);
    connectState();
    // Frames, check boxes and option buttons draw no background of their own: they show this one.
    setBackground(Qt::white);
}

// Left column top to bottom, then the right one; within a row left to right.
void Form1::orderTabs() {
    QWidget* const chain[] = {ListView1,   PushButton6,  PushButton3,  PushButton1, PushButton7,
                              Check5,      Check1,       Check2,       Text1,       Option1,
                              Option2,     PushButton17, ListView2,    PushButton4, PushButton13,
                              PushButton5, PushButton2,  PushButton22, PushButton23};
    for (size_t i = 1; i < std::size(chain); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void Form1::createControls() {
    createLists();
    createButtons();
    createOptions();
    ProgressBar1 = new ProgressBarView(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(twips(8040, 5070, 7800, 405));
    ProgressBar1->show(state_.progressValue(), state_.progressText());
    showOptions();
}

// Rows are painted from the model as they come into sight; the view keeps
// nothing per row, so a list of millions costs no more to show.
AddressListView* Form1::addList(const QString& name, const QString& purpose, QRect geometry,
                                AddressListModel& model) {
    auto* view = new AddressListView(this);
    view->setObjectName(name);
    view->setAccessibleName(purpose);
    view->setToolTip(kListToolTip);
    view->setGeometry(geometry);
    view->setTabKeyNavigation(false); // Tab leaves the list, as from any other control
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setModel(&model);
    QHeaderView* header = view->horizontalHeader();
    header->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    header->setHighlightSections(false);
    header->setStretchLastSection(false);
    view->viewport()->installEventFilter(this);
    view->viewport()->setMouseTracking(true);
    return view;
}

void Form1::createLists() {
    ListView1 = addList(QStringLiteral("ListView1"), QStringLiteral("Input addresses"),
                        twips(120, 120, 7800, 1815), state_.ListView1);
    ListView2 = addList(QStringLiteral("ListView2"), QStringLiteral("Results"),
                        twips(8040, 630, 7800, 2805), state_.ListView2);
    new ListFileDrop(ListView1->viewport(), state_, platform_);
}

QPushButton* Form1::addButton(const QString& name, const QString& caption, QRect geometry) {
    auto* control = place<QPushButton>(this, name, caption, geometry);
    control->setFont(arialBold(11.25));
    control->setAutoDefault(true); // Enter presses the focused button, as Space does
    control->setMouseTracking(true);
    control->installEventFilter(this);
    return control;
}

void Form1::createButtons() {
    PushButton6 = addButton(QStringLiteral("PushButton6"), QStringLiteral("Add One Email Address"),
                            twips(120, 2010, 3840, 405));
    PushButton3 =
        addButton(QStringLiteral("PushButton3"), QStringLiteral("Load List Of Emails From File"),
                  twips(4080, 2010, 3840, 405));
    PushButton1 = addButton(QStringLiteral("PushButton1"), QStringLiteral("Clear List"),
                            twips(120, 2520, 3840, 405));
    PushButton7 =
        addButton(QStringLiteral("PushButton7"), QStringLiteral("Load Sample/Example Emails"),
                  twips(4080, 2520, 3840, 405));
    PushButton17 =
        addButton(QStringLiteral("PushButton17"), kStartSorting, twips(8040, 105, 7800, 405));
    PushButton4 =
        addButton(QStringLiteral("PushButton4"), QStringLiteral("Save Results As Text File"),
                  twips(8040, 3530, 3840, 405));
    PushButton13 =
        addButton(QStringLiteral("PushButton13"), QStringLiteral("Save Results As Excel File"),
                  twips(12000, 3530, 3840, 405));
    PushButton5 =
        addButton(QStringLiteral("PushButton5"), QStringLiteral("Copy Results To Clipboard"),
                  twips(8040, 4040, 3840, 405));
    PushButton2 = addButton(QStringLiteral("PushButton2"), QStringLiteral("Clear Results"),
                            twips(12000, 4040, 3840, 405));
    PushButton22 =
        addButton(QStringLiteral("PushButton22"), QStringLiteral("Remove Results Containing X"),
                  twips(8040, 4550, 3840, 405));
    PushButton23 =
        addButton(QStringLiteral("PushButton23"), QStringLiteral("Remove Results Not Cont. X"),
                  twips(12000, 4550, 3840, 405));
}

void Form1::createOptions() {
    Frame1 = place<QGroupBox>(this, QStringLiteral("Frame1"), QStringLiteral("Option"),
                              twips(120, 2960, 7800, 1455));
    Check5 = place<QCheckBox>(Frame1, QStringLiteral("Check5"),
                              QStringLiteral("Remove duplicates from results"),
                              twips(240, 300, 3525, 285));
    Check1 = place<QCheckBox>(Frame1, QStringLiteral("Check1"),
                              QStringLiteral("Keep unique domains, discard duplicate domains"),
                              twips(240, 650, 4605, 285));
    Check2 =
        place<QCheckBox>(Frame1, QStringLiteral("Check2"),
                         QStringLiteral("Keep only this number of email addresses per domain:"),
                         twips(240, 1000, 5085, 285));
    Text1 = place<LimitBox>(Frame1, QStringLiteral("Text1"), state_.text1(),
                            twips(5280, 975, 1215, 345));
    Text1->setAccessibleName(QStringLiteral("Number of email addresses per domain"));
    Frame2 =
        place<QGroupBox>(this, QStringLiteral("Frame2"), QStringLiteral("Processing Speed Option"),
                         twips(120, 4455, 7800, 1020));
    Option1 = place<QRadioButton>(Frame2, QStringLiteral("Option1"),
                                  QStringLiteral("MS Access Method (faster)"),
                                  twips(240, 300, 3840, 255));
    Option2 = place<QRadioButton>(Frame2, QStringLiteral("Option2"),
                                  QStringLiteral("Regular Text Method (slower)"),
                                  twips(240, 650, 4455, 255));
    for (QWidget* watched : std::initializer_list<QWidget*>{this, Frame1, Frame2}) {
        watched->setMouseTracking(true);
        watched->installEventFilter(this);
    }
}

void Form1::connectState() {
    connect(&state_, &FormState::progressChanged, this,
            [this] { ProgressBar1->show(state_.progressValue(), state_.progressText()); });
    connect(&state_, &FormState::sortCaptionChanged, this,
            [this] { PushButton17->setText(state_.sortCaption()); });
    connect(&state_, &FormState::mousePointerChanged, this, &Form1::showMousePointer);
    connect(&state_, &FormState::optionsChanged, this, &Form1::showOptions);

    connect(PushButton1, &QPushButton::clicked, this, &Form1::PushButton1_Click);
    connect(PushButton2, &QPushButton::clicked, this, &Form1::PushButton2_Click);
    connect(PushButton3, &QPushButton::clicked, this, &Form1::PushButton3_Click);
    connect(PushButton6, &QPushButton::clicked, this, &Form1::PushButton6_Click);
    connect(PushButton7, &QPushButton::clicked, this, &Form1::PushButton7_Click);
    connect(PushButton17, &QPushButton::clicked, this, &Form1::PushButton17_Click);
    connect(ListView1, &AddressListView::removalRequested, this,
            [this] { removeSelected(ListView1, state_.ListView1); });
    connect(ListView2, &AddressListView::removalRequested, this,
            [this] { removeSelected(ListView2, state_.ListView2); });
    // Put back by the sort button's refusal of the limit, which answers a leave of the box
    // whose own check is still waiting: one press, one message.
    connect(&state_, &FormState::text1FocusRequested, Text1, [this] {
        text1LeaveUnchecked_ = false;
        Text1->setFocus();
    });

    connect(PushButton4, &QPushButton::clicked, this, &Form1::PushButton4_Click);
    connect(PushButton5, &QPushButton::clicked, this, &Form1::PushButton5_Click);
    connect(PushButton13, &QPushButton::clicked, this, &Form1::PushButton13_Click);
    connect(PushButton22, &QPushButton::clicked, this, &Form1::PushButton22_Click);
    connect(PushButton23, &QPushButton::clicked, this, &Form1::PushButton23_Click);
    connectOptions();
}

void Form1::connectOptions() {
    auto tick = [this](QCheckBox* box, void (OptionHandlers::*set)(bool)) {
        connect(box, &QCheckBox::toggled, this,
                [this, set](bool on) { userChange(platform_, [&] { (options_.*set)(on); }); });
    };
    tick(Check5, &OptionHandlers::setCheck5);
    tick(Check1, &OptionHandlers::setCheck1);
    tick(Check2, &OptionHandlers::setCheck2);
    // Of two option buttons only the one being selected counts.
    auto select = [this](QRadioButton* button, void (OptionHandlers::*set)(bool)) {
        connect(button, &QRadioButton::toggled, this, [this, set](bool on) {
            if (on)
                userChange(platform_, [&] { (options_.*set)(true); });
        });
    };
    select(Option1, &OptionHandlers::setOption1);
    select(Option2, &OptionHandlers::setOption2);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) {
        userChange(platform_, [&] { options_.setText1(text); });
    });
    connect(Text1, &LimitBox::left, this, &Form1::Text1_LeftForAnotherControl);
}

// The check runs once the focus has moved, so that it can move it back.
void Form1::Text1_LeftForAnotherControl() {
    text1LeaveUnchecked_ = true;
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (std::exchange(text1LeaveUnchecked_, false))
                userChange(platform_, [this] { Text1_LostFocus(); });
        },
        Qt::QueuedConnection);
}

void Form1::Text1_LostFocus() {
    if (!options_.Text1_LostFocus())
        Text1->setFocus();
}

void Form1::showOptions() {
    const QSignalBlocker blocks[] = {QSignalBlocker(Check5),  QSignalBlocker(Check1),
                                     QSignalBlocker(Check2),  QSignalBlocker(Text1),
                                     QSignalBlocker(Option1), QSignalBlocker(Option2)};
    Check5->setChecked(state_.check5());
    Check1->setChecked(state_.check1());
    Check2->setChecked(state_.check2());
    if (Text1->text() != state_.text1())
        Text1->setText(state_.text1());
    Text1->setEnabled(state_.text1Enabled());
    // Option buttons share a frame; neither may be selected, so drop exclusivity while setting.
    Option1->setAutoExclusive(false);
    Option2->setAutoExclusive(false);
    Option1->setChecked(state_.option1());
    Option2->setChecked(state_.option2());
    Option1->setAutoExclusive(true);
    Option2->setAutoExclusive(true);
}

void Form1::showMousePointer() {
    switch (state_.mousePointer()) {
    case MousePointer::Busy:
        setCursor(Qt::WaitCursor);
        break;
    case MousePointer::Custom:
        setCursor(handCursor_.value_or(QCursor(Qt::ArrowCursor)));
        break;
    case MousePointer::Default:
        unsetCursor();
        break;
    }
    // The limit box's own text pointer would show through the hourglass.
    Text1->setCursor(state_.isBusy() ? Qt::WaitCursor : Qt::IBeamCursor);
}

void Form1::setBackground(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
}

void Form1::ApplySkin() {
    QFile skin(platform_.programFolder() + QStringLiteral("/x/o.cjs"));
    if (!skin.exists())
        return;
    setBackground(palette().color(QPalette::Button));
    if (skin.open(QIODevice::ReadOnly))
        setStyleSheet(QString::fromUtf8(skin.readAll()));
    skinned_ = true;
}

void Form1::Form_Load() {
    ErrorReport report(platform_, QStringLiteral("Form1"), QStringLiteral("Form_Load"));
    report.run(100, [&] { ApplySkin(); });
    report.run(102, [&] {
        setWindowTitle(kProductName);
        setWindowIcon(ProgramIcon());
        platform_.setApplicationTitle(SetApplicationTitle(kProductName));
    });
    const QString handFile = platform_.programFolder() + QStringLiteral("/HAND-M.CUR");
    if (platform_.fileExists(handFile))
        report.run(106, [&] { handCursor_ = LoadCursorFile(*platform_.openForReading(handFile)); });
    showColumn(ListView1);
    report.run(132, [&] { options_.restoreCheck5(); });
    report.run(134, [&] { options_.restoreCheck1(); });
    report.run(136, [&] { options_.restoreCheck2(); });
    report.run(138, [&] { options_.restoreText1(); });
    showColumn(ListView2);
    report.run(146, [&] { ProvideQuillmereFolder(platform_); });
    report.run(150, [&] { ProvideDataFolder(platform_); });
    report.run(154, [&] { ProvideWorkingDatabase(platform_); });
    state_.globals.DatabaseEngineAvailable = IsProviderInstalled(platform_, true);
    report.run(158, [&] { options_.restoreOption1(); });
    report.run(160, [&] { options_.restoreOption2(); });
}

// The single column, as wide as the list, which the user may widen or narrow.
void Form1::showColumn(AddressListView* list) {
    list->horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    list->setColumnWidth(0, 7000 / kTwipsPerPixel);
}

void Form1::PushButton1_Click() {
    ClearInputList(state_);
}
void Form1::PushButton2_Click() {
    ClearResults(state_);
}
void Form1::PushButton3_Click() {
    LoadListFiles(state_, platform_);
}
void Form1::PushButton6_Click() {
    AddOneEmailAddress(state_, platform_);
}
void Form1::PushButton7_Click() {
    LoadSampleEmails(state_, platform_);
}
void Form1::PushButton17_Click() {
    sortRun_.PushButton17_Click();
}
void Form1::PushButton4_Click() {
    SaveResultsAsTextFile(state_, platform_);
}
void Form1::PushButton5_Click() {
    CopyResultsToClipboard(state_, platform_);
}
void Form1::PushButton13_Click() {
    SaveResultsAsExcelFile(state_, platform_);
}
void Form1::PushButton22_Click() {
    RemoveResultsContainingX(state_, platform_);
}
void Form1::PushButton23_Click() {
    RemoveResultsNotContainingX(state_, platform_);
}

bool Form1::SaveResultsAsExcelFileIsExcelInstalled() {
    return ::SaveResultsAsExcelFileIsExcelInstalled(platform_);
}

int Form1::selectedRow(const AddressListView* list) {
    const QModelIndexList selected = list->selectionModel()->selectedRows();
    return selected.isEmpty() ? -1 : selected.first().row();
}

void Form1::removeSelected(AddressListView* view, AddressListModel& list) {
    RemoveSelectedEntry(state_, list, selectedRow(view));
}

// The one rule for the pointer over the window, its frames, its lists and its
// buttons: stock controls, watched through one filter.
bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseMove) {
        // A move that a child ignored reaches its parent too; only the control under the mouse
        // counts.
        auto* widget = static_cast<QWidget*>(watched);
        const bool overChild =
            widget->childAt(static_cast<QMouseEvent*>(event)->position().toPoint()) != nullptr;
        if (!state_.isBusy() && !overChild)
            state_.setMousePointer(qobject_cast<QPushButton*>(watched) ? MousePointer::Custom
                                                                       : MousePointer::Default);
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::closeEvent(QCloseEvent* event) {
    event->accept();
    platform_.endProgram();
}
