// The real window on the real platform, driven by the commands on its command
// line, for tests that end the process at chosen moments or run it short of
// memory or disk. Boxes are printed instead of shown; dialogs and input boxes
// take the answers the commands give; progress prints "step1" and "step3"
// once each.
//
//   fill:N[:S]     add N generated addresses (of seed S, 1 unless given) to the input list
//   hold:M         once progress prints marker M (step1, step3), wait for a line
//   check5         click the unique-addresses box
//   text1:T        type T into the per-domain box
//   option1        click the database method; option2 the text method
//   go             print "ready" and wait for a line on the standard input
//   run            press Start Sorting and wait for the run to end; print how long
//                  it waited for another program and the window's turns meanwhile
//   runstop        the same, pressing Stop Sorting once the run waits for another
//                  program; print also how long from the press to the run's box
//   close-in:T     close the window the moment the bar first shows a text
//                  starting with T (prints "closing in" and the bar's text)
//   load:PATH      load the list file PATH through the load button
//   filter:T       remove the results containing T; filter-not:T those not containing it
//   save:PATH      save the results as a text file named PATH
//   copy           copy the results to the clipboard
//   xlsx           save the results as a workbook (in TMPDIR; no program opens it)
//   database       print the engine's check of dbData.mdb and its number of rows
//   state          print the options as the window shows them
//   results        print the number of results and a digest of them
//   lists          print the number of entries and a digest of each list
//   lists:N        the same with a digest of the first N entries only
//   limit:MB       limit the address space to what is in use now and MB more
//   limit:off      lift that limit
//   tmpdir:PATH    the temporary folder from now on
//   small-disk:PATH:KB  a file system of KB kibibytes at the folder PATH, seen by
//                  this process only (prints "no small disk" when it cannot have one)
//   file:PATH      print the size and a digest of a file
//   folder:PATH    print the names in a folder

#include "AddressGenerator.h"
#include "DataFolder.h"
#include "Database.h"
#include "DatabaseIntegrity.h"
#include "Form1.h"
#include "OfficeSpreadsheet.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <deque>
#include <iostream>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/resource.h>

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
    QString inputBox(const QString&) override { return take(); }
    QString openFileDialog(const FileDialogRequest&) override { return take(); }
    QString saveFileDialog(const FileDialogRequest&) override { return take(); }
    // The workbook is written as for the spreadsheet program, which is not started.
    std::unique_ptr<Spreadsheet> createSpreadsheet() override {
        return std::make_unique<OfficeSpreadsheet>(QStringLiteral("true"));
    }
    void endProgram() override {
        say(QStringLiteral("ended"));
        QtPlatform::endProgram();
    }

    std::deque<QString> answers; // for the next dialog or input box

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
    QString take() {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QAbstractButton* stop_ = nullptr;
    QElapsedTimer sinceTurn_, waiting_, stopPressed_;
    qint64 waitedMs_ = 0, longestGapMs_ = 0, stopToBoxMs_ = -1;
    int turnsWhileWaiting_ = 0;
    bool inWait_ = false;
};

// Of the first `count` entries, or of all when there are fewer.
QString digest(const AddressListModel& list, qsizetype count = -1) {
    QCryptographicHash hash(QCryptographicHash::Sha1);
    if (count < 0 || count > list.count())
        count = list.count();
    for (qsizetype i = 0; i < count; ++i) {
        hash.addData(list.text(i).toUtf8());
        hash.addData("\n");
    }
    return QString::fromLatin1(hash.result().toHex());
}

QString listState(const AddressListModel& list, qsizetype count) {
    return QString::number(list.count()) + u' ' + digest(list, count);
}

// The bytes of address space the process has mapped.
rlim_t addressSpaceInUse() {
    QFile status(QStringLiteral("/proc/self/status"));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmSize:"))
            return rlim_t(line.mid(7).trimmed().split(' ').front().toULongLong()) * 1024;
    return 0;
}

void limitAddressSpace(const QString& megabytes) {
    rlimit limit{RLIM_INFINITY, RLIM_INFINITY};
    if (megabytes != QStringLiteral("off"))
        limit.rlim_cur = addressSpaceInUse() + rlim_t(megabytes.toULongLong()) * 1024 * 1024;
    setrlimit(RLIMIT_AS, &limit);
}

bool mountSmallDisk(const QString& folder, const QString& kibibytes) {
    const QByteArray path = QFile::encodeName(folder);
    const QByteArray size = "size=" + kibibytes.toLatin1() + 'k';
    return unshare(CLONE_NEWNS) == 0 &&
           mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           mount("tmpfs", path.constData(), "tmpfs", 0, size.constData()) == 0;
}

QString fileState(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("none");
    const QByteArray bytes = file.readAll();
    return QString::number(bytes.size()) + u' ' +
           QString::fromLatin1(QCryptographicHash::hash(bytes, QCryptographicHash::Sha1).toHex());
}
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    PrintingPlatform platform;
    Form1 form(platform);
    platform.setMainWindow(&form);
    FormState& state = form.state();
    bool step1 = false, step3 = false;
    QString holdAt; // the marker after which the run waits for a line, so a kill lands inside it
    auto mark = [&](const QString& marker) {
        say(marker);
        if (marker == holdAt) {
            std::string line;
            std::getline(std::cin, line);
        }
    };
    QString closeIn; // the start of the bar text at which the window is closed
    QObject::connect(&state, &FormState::progressChanged, [&] {
        const QString text = state.progressText();
        if (!step1 && text.startsWith(QStringLiteral("Step 1"))) {
            step1 = true;
            mark(QStringLiteral("step1"));
        } else if (!step3 && text.startsWith(QStringLiteral("Step 3"))) {
            step3 = true;
            mark(QStringLiteral("step3"));
        }
        if (!closeIn.isEmpty() && text.startsWith(closeIn)) {
            say(QStringLiteral("closing in ") + text);
            form.close();
        }
    });
    form.Form_Load();
    say(QStringLiteral("loaded"));

    auto press = [&](QPushButton* button, const QString& answer) {
        platform.answers.push_back(answer);
        button->click();
    };
    const QStringList commands = app.arguments().mid(1);
    for (const QString& command : commands) {
        const QString argument = command.section(u':', 1);
        if (command.startsWith(QStringLiteral("fill:"))) {
            const QStringList count = argument.split(u':');
            const quint64 seed = count.size() > 1 ? count[1].toULongLong() : 1;
            for (const QString& address : GenerateAddresses(count[0].toLongLong(), seed))
                state.ListView1.append(address);
        } else if (command.startsWith(QStringLiteral("hold:"))) {
            holdAt = argument;
        } else if (command == QStringLiteral("check5")) {
            form.Check5->click();
        } else if (command.startsWith(QStringLiteral("text1:"))) {
            form.Text1->setText(argument);
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
        } else if (command == QStringLiteral("option1")) {
            form.Option1->click();
        } else if (command == QStringLiteral("option2")) {
            form.Option2->click();
        } else if (command.startsWith(QStringLiteral("close-in:"))) {
            closeIn = argument;
        } else if (command.startsWith(QStringLiteral("load:"))) {
            press(form.PushButton3, argument);
        } else if (command.startsWith(QStringLiteral("filter:"))) {
            press(form.PushButton22, argument);
        } else if (command.startsWith(QStringLiteral("filter-not:"))) {
            press(form.PushButton23, argument);
        } else if (command.startsWith(QStringLiteral("save:"))) {
            press(form.PushButton4, argument);
        } else if (command == QStringLiteral("copy")) {
            form.PushButton5->click();
        } else if (command == QStringLiteral("xlsx")) {
            form.PushButton13->click();
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
        } else if (command == QStringLiteral("lists") ||
                   command.startsWith(QStringLiteral("lists:"))) {
            const qsizetype count = argument.isEmpty() ? -1 : argument.toLongLong();
            say(QStringLiteral("lists ") + listState(state.ListView1, count) + u' ' +
                listState(state.ListView2, count));
        } else if (command.startsWith(QStringLiteral("limit:"))) {
            limitAddressSpace(argument);
        } else if (command.startsWith(QStringLiteral("tmpdir:"))) {
            qputenv("TMPDIR", QFile::encodeName(argument));
        } else if (command.startsWith(QStringLiteral("small-disk:"))) {
            if (!mountSmallDisk(argument.section(u':', 0, 0), argument.section(u':', 1)))
                say(QStringLiteral("no small disk: ") +
                    QString::fromLocal8Bit(std::strerror(errno)));
        } else if (command.startsWith(QStringLiteral("file:"))) {
            say(QStringLiteral("file ") + fileState(argument));
        } else if (command.startsWith(QStringLiteral("folder:"))) {
            say(QStringLiteral("folder ") +
                QDir(argument)
                    .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::System)
                    .join(u' '));
        } else {
            say(QStringLiteral("unknown command ") + command);
            return 2;
        }
    }
    say(QStringLiteral("done"));
    return 0;
}
