#include "AddressListView.h"
#include "DatabaseRows.h"
#include "ListContents.h"
#include "ProgressBarView.h"
#include "TestWindow.h"

#include <QCheckBox>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QSet>
#include <QtTest>

namespace {
// Seeds the suite always runs; AMBERVALE_MONKEY_SEED replays one of them (or any other).
const quint32 kSeeds[] = {1, 7, 42, 2024, 90210};
constexpr int kEventsPerSeed = 1200;
// Actions nest inside the yields of the commands they start; deeper than this
// the monkey waits, and it starts only a few long commands inside one command.
constexpr int kMaxDepth = 3;
constexpr int kMaxNestedStarts = 4;
constexpr qsizetype kMaxInputs = 120;

const QChar kNul(u'\0');

// What the text method makes of an address: the text up to a second "@".
QString textForm(const QString& address) {
    const qsizetype second = address.indexOf(u'@', address.indexOf(u'@') + 1);
    return second < 0 ? address : address.left(second);
}

QString storedForm(const QString& address) {
    DatabaseRow row;
    row.fill(address);
    return row.email().toString();
}

class Monkey {
public:
    Monkey(TestWindow& t, quint32 seed) : t_(t), form_(t.start()), rng_(seed) {
        const QString longLocal(300, u'x');
        files_ = {t.writeFile("lists/a.txt", "one@a.org\r\n\"q\"@quote.net\nx@y@z.com\n"),
                  t.writeFile("lists/b.txt", (longLocal + "@long.org\nsecond@a.org\n").toUtf8()),
                  t.writeFile("lists/c.txt", "=sum(1)@f.com\r\n'; drop@sql.org\r\n")};
        savePath_ = t.root() + "/saved/results.txt";
        QDir().mkpath(t.root() + "/saved");
        t.platform.onYield = [this] { atYield(); };
    }

    int events() const { return events_; }
    const QStringList& failures() const { return failures_; }
    bool failed() const { return !failures_.isEmpty(); }
    // Start presses by the method they pick; a press inside a stopping run is ignored but counted.
    int databaseStarts = 0;
    int textStarts = 0;

    // One command pressed by the user with nothing running, then the checks.
    void topLevelCommand() {
        ensureInputs();
        collectInputs();
        nestedStarts_ = 0;
        const int pick = rng_.bounded(5);
        if (pick < 2) {
            (rng_.bounded(2) ? form_.Option1 : form_.Option2)->click();
            press(form_.PushButton17);
        } else {
            QPushButton* exports[] = {form_.PushButton4, form_.PushButton5, form_.PushButton13};
            press(exports[pick - 2]);
        }
        checkIdle();
    }

private:
    void atYield() {
        collectInputs();
        if (failed() || depth_ >= kMaxDepth || rng_.bounded(100) >= 30)
            return;
        ++depth_;
        randomEvent();
        --depth_;
        collectInputs();
    }

    void randomEvent() {
        ++events_;
        queueAnswers();
        switch (rng_.bounded(6)) {
        case 0:
        case 1:
            pressRandomButton();
            break;
        case 2:
            removeInRandomList(rng_.bounded(2) == 0);
            break;
        case 3:
            changeOption();
            break;
        default:
            // Most yields pass without the user doing anything but pressing stop now and then.
            if (rng_.bounded(3) == 0)
                press(form_.PushButton17);
            break;
        }
    }

    void pressRandomButton() {
        QPushButton* buttons[] = {form_.PushButton1,  form_.PushButton2,  form_.PushButton3,
                                  form_.PushButton4,  form_.PushButton5,  form_.PushButton6,
                                  form_.PushButton7,  form_.PushButton13, form_.PushButton17,
                                  form_.PushButton22, form_.PushButton23};
        QPushButton* button = buttons[rng_.bounded(int(std::size(buttons)))];
        // A press on "Start Sorting" starts a whole run nested in this one; a
        // stop press is always allowed.
        const bool starts =
            button != form_.PushButton17 || form_.PushButton17->text() == kStartSorting;
        if (starts && ++nestedStarts_ > kMaxNestedStarts)
            return;
        if (button == form_.PushButton7 && form_.state().ListView1.count() > kMaxInputs)
            return;
        press(button);
    }

    void press(QPushButton* button) {
        if (button == form_.PushButton17 && button->text() == kStartSorting) {
            const bool database =
                form_.state().option1() && form_.state().globals.DatabaseEngineAvailable;
            (database ? databaseRan_ : textRan_) = true;
            ++(database ? databaseStarts : textStarts);
        }
        button->click();
    }

    void removeInRandomList(bool input) {
        AddressListView* view = input ? form_.ListView1 : form_.ListView2;
        const int rows = view->model()->rowCount();
        if (rows == 0)
            return;
        const QModelIndex row = view->model()->index(rng_.bounded(rows), 0);
        view->selectionModel()->select(row, QItemSelectionModel::ClearAndSelect |
                                                QItemSelectionModel::Rows);
        if (rng_.bounded(2) == 0) {
            QTest::keyClick(view, Qt::Key_Delete);
        } else {
            const QRect cell = view->visualRect(row);
            QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, cell.center());
        }
    }

    void changeOption() {
        const QString texts[] = {"3", "0", "-2", "abc", "", "1e3", "99999", " 4 "};
        switch (rng_.bounded(5)) {
        case 0:
            form_.Check5->click();
            break;
        case 1:
            form_.Check1->click();
            break;
        case 2:
            form_.Check2->click();
            break;
        case 3:
            form_.Text1->setText(texts[rng_.bounded(int(std::size(texts)))]);
            break;
        default:
            (rng_.bounded(2) ? form_.Option1 : form_.Option2)->click();
            break;
        }
    }

    // One fresh answer for each kind of box or dialog the next command may show.
    void queueAnswers() {
        ScriptedPlatform& p = t_.platform;
        const QString inputs[] = {"", "a.org", "new@typed.com", "\"x\"@q.org", "@", "plain", "o"};
        p.inputAnswers = {inputs[rng_.bounded(int(std::size(inputs)))]};
        const QString folder = t_.root() + "/lists";
        const QString opens[] = {"", files_[0], files_[rng_.bounded(int(files_.size()))],
                                 folder + kNul + "a.txt" + kNul + "c.txt"};
        p.openDialogAnswers = {opens[rng_.bounded(int(std::size(opens)))]};
        p.saveDialogAnswers = {rng_.bounded(3) == 0 ? QString() : savePath_};
        const MessageAnswer boxes[] = {MessageAnswer::Yes, MessageAnswer::No, MessageAnswer::Ok};
        p.messageAnswers = {boxes[rng_.bounded(int(std::size(boxes)))]};
    }

    void ensureInputs() {
        queueAnswers();
        AddressListModel& inputs = form_.state().ListView1;
        if (inputs.count() > kMaxInputs)
            form_.PushButton1->click();
        if (inputs.count() < 4) {
            form_.PushButton7->click();
            Fill(inputs, {"\"quoted\"@q.org", "two@at@signs.com", QString(260, u'l') + "@l.org"});
        }
    }

    void collectInputs() {
        const AddressListModel& inputs = form_.state().ListView1;
        for (qsizetype i = 0; i < inputs.count(); ++i) {
            const QString address = inputs.text(i);
            textForms_.insert(textForm(address));
            storedForms_.insert(storedForm(address));
        }
    }

    void fail(const QString& what) {
        failures_ << QStringLiteral("after event %1: %2").arg(events_).arg(what);
    }

    void checkIdle() {
        FormState& state = form_.state();
        if (form_.PushButton17->text() != kStartSorting)
            fail("sort button reads " + form_.PushButton17->text());
        if (state.mousePointer() != MousePointer::Default)
            fail("pointer is not the default");
        if (form_.ProgressBar1->text() != kProgressBarRest || form_.ProgressBar1->value() != 0 ||
            state.progressValue() != 0)
            fail("bar reads " + form_.ProgressBar1->text());
        const AddressListModel& results = state.ListView2;
        for (qsizetype i = 0; i < results.count(); ++i) {
            const QString result = results.text(i);
            if (!(textRan_ && textForms_.contains(result)) &&
                !(databaseRan_ && storedForms_.contains(result)))
                fail("result from no input: " + result.left(80));
        }
        // Later results come from the inputs from now on.
        if (results.isEmpty()) {
            textForms_.clear();
            storedForms_.clear();
            textRan_ = databaseRan_ = false;
        }
    }

    TestWindow& t_;
    Form1& form_;
    QRandomGenerator rng_;
    QStringList files_;
    QString savePath_;
    QSet<QString> textForms_, storedForms_;
    bool textRan_ = false, databaseRan_ = false;
    int depth_ = 0;
    int nestedStarts_ = 0;
    int events_ = 0;
    QStringList failures_;
};
} // namespace

class TestMonkey : public QObject {
    Q_OBJECT

private slots:
    void randomUserSurvivesRuns_data() {
        QTest::addColumn<quint32>("seed");
        bool replay = false;
        const quint32 chosen = qEnvironmentVariableIntValue("AMBERVALE_MONKEY_SEED", &replay);
        if (replay) {
            QTest::newRow(QByteArray::number(chosen)) << chosen;
            return;
        }
        for (quint32 seed : kSeeds)
            QTest::newRow(QByteArray::number(seed)) << seed;
    }

    void randomUserSurvivesRuns() {
        QFETCH(quint32, seed);
        TestWindow t;
        Monkey monkey(t, seed);
        int commands = 0;
        while (monkey.events() < kEventsPerSeed && !monkey.failed()) {
            monkey.topLevelCommand();
            ++commands;
        }
        qInfo("seed %u: %d commands, %d events, %d database and %d text start presses", seed,
              commands, monkey.events(), monkey.databaseStarts, monkey.textStarts);
        QVERIFY2(!monkey.failed(),
                 qPrintable(QStringLiteral("seed %1 (replay with AMBERVALE_MONKEY_SEED=%1): %2")
                                .arg(seed)
                                .arg(monkey.failures().mid(0, 5).join("; "))));
    }
};

QTEST_MAIN(TestMonkey)
#include "test_monkey.moc"
