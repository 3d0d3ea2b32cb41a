// The real window on the real platform, driven by the commands on its command
// line, for tests that end the process at chosen moments. Boxes are printed
// instead of shown; progress prints "step1" and "step3" once each.
//
//   fill:N[:S] add N generated addresses (of seed S, 1 unless given) to the input list
//   check5     click the unique-addresses box
//   text1:T    type T into the per-domain box
//   go         print "ready" and wait for a line on the standard input
//   run        press Start Sorting and wait for the run to end; print how long
//              it waited for another program and the window's turns meanwhile
//   runstop    the same, pressing Stop Sorting once the run waits for another
//              program; print also how long from the press to the run's box
//   database   print the engine's check of dbData.mdb and its number of rows
//   state      print the options as the window shows them
//   results    print the number of results and a digest of them

#include "AddressGenerator.h"
#include "DataFolder.h"
#include "Database.h"
#include "DatabaseIntegrity.h"
#include "Form1.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string>

namespace {
void say(const QString& line) {
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

class PrintingPlatform : public QtPlatform {
public:
    MessageAnswer messageBox(const QString& text, MessageButtons buttons, MessageIcon,
                             const QString& caption) override {
        QString flat = text;
        flat.replace(u'\r', u' ').replace(u'\n', u' ');
        say(QStringLiteral("box ") + caption + QStringLiteral(": ") + flat);
        if (stopPressed_.isValid() && stopToBoxMs_ < 0)
            stopToBoxMs_ = stopPressed_.elapsed();
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }

    // Measures the window's turns from here on, as a run begins.
    // With a stop button, it is pressed soon after the run begins to wait.
    void startRun(QAbstractButton* stop = nullptr) {
        stop_ = stop;
        stopPressed_ = QElapsedTimer();
        stopToBoxMs_ = -1;
        sinceTurn_.start();
        waiting_ = QElapsedTimer();
        waitedMs_ = 0;
        turnsWhileWaiting_ = 0;
        longestGapMs_ = 0;
    }
    void yield() override {
        QtPlatform::yield();
        longestGapMs_ = std::max(longestGapMs_, sinceTurn_.restart());
        if (inWait_)
            ++turnsWhileWaiting_;
    }
    void yieldWhileWaiting() override {
        if (!waiting_.isValid())
            waiting_.start();
        if (stop_ && !stopPressed_.isValid() && turnsWhileWaiting_ > 0) {
            // Just after a turn, so that it waits for the next one, as a
            // press of the user mostly would.
            QMetaObject::invokeMethod(stop_, &QAbstractButton::click, Qt::QueuedConnection);
            stopPressed_.start();
        }
        inWait_ = true;
        QtPlatform::yieldWhileWaiting();
        inWait_ = false;
        waitedMs_ = waiting_.elapsed();
    }
    QString turns() const {
        return QStringLiteral("turns waited=%1 while-waiting=%2 longest-gap=%3 stop-to-box=%4")
            .arg(waitedMs_)
            .arg(turnsWhileWaiting_)
            .arg(longestGapMs_)
            .arg(stopToBoxMs_);
    }

private:
    QAbstractButton* stop_ = nullptr;
    QElapsedTimer sinceTurn_, waiting_, stopPressed_;
    qint64 waitedMs_ = 0, longestGapMs_ = 0, stopToBoxMs_ = -1;
    int turnsWhileWaiting_ = 0;
    bool inWait_ = false;
};

QString digest(const AddressListModel& list) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (qsizetype i = 0; i < list.count(); ++i) {
        hash.addData(list.text(i).toUtf8());
        hash.addData("\n");
    }
    return QString::fromLatin1(hash.result().toHex());
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    PrintingPlatform platform;
    Form1 form(platform);
    platform.setMainWindow(&form);
    FormState& state = form.state();
    bool step1 = false, step3 = false;
    QObject::connect(&state, &FormState::progressChanged, [&] {
        const QString text = state.progressText();
        if (!step1 && text.startsWith(QStringLiteral("Step 1"))) {
            step1 = true;
            say(QStringLiteral("step1"));
        } else if (!step3 && text.startsWith(QStringLiteral("Step 3"))) {
            step3 = true;
            say(QStringLiteral("step3"));
        }
    });
    form.Form_Load();
    say(QStringLiteral("loaded"));

    const QStringList commands = app.arguments().mid(1);
    for (const QString& command : commands) {
        if (command.startsWith(QStringLiteral("fill:"))) {
            const QStringList count = command.mid(5).split(u':');
            const quint64 seed = count.size() > 1 ? count[1].toULongLong() : 1;
            for (const QString& address : GenerateAddresses(count[0].toLongLong(), seed))
                state.ListView1.append(address);
        } else if (command == QStringLiteral("check5")) {
            form.Check5->click();
        } else if (command.startsWith(QStringLiteral("text1:"))) {
            form.Text1->setText(command.mid(6));
        } else if (command == QStringLiteral("go")) {
            say(QStringLiteral("ready"));
            std::string line;
            std::getline(std::cin, line);
        } else if (command == QStringLiteral("run") || command == QStringLiteral("runstop")) {
            platform.startRun(command == QStringLiteral("runstop") ? form.PushButton17 : nullptr);
            form.PushButton17->click();
            say(platform.turns());
        } else if (command == QStringLiteral("database")) {
            const QString path = WorkingDatabase(platform);
            const QString verdict = DatabaseIntegrity(path);
            const auto connection = CreateEngineConnection();
            connection->open(path);
            const auto rows = connection->prepare(QStringLiteral("SELECT count(*) FROM tblEmls"));
            rows->step();
            say(QStringLiteral("database %1 rows=%2").arg(verdict).arg(rows->integer(0)));
        } else if (command == QStringLiteral("state")) {
            say(QStringLiteral("state check5=%1 check1=%2 check2=%3 text1=%4 option1=%5")
                    .arg(form.Check5->isChecked())
                    .arg(form.Check1->isChecked())
                    .arg(form.Check2->isChecked())
                    .arg(form.Text1->text())
                    .arg(form.Option1->isChecked()));
        } else if (command == QStringLiteral("results")) {
            say(QStringLiteral("results %1 %2")
                    .arg(state.ListView2.count())
                    .arg(digest(state.ListView2)));
        } else {
            say(QStringLiteral("unknown command ") + command);
            return 2;
        }
    }
    say(QStringLiteral("done"));
    return 0;
}
