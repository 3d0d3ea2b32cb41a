// The real window on the real platform, driven by the commands on its command
// line, for tests that end the process at chosen moments. Boxes are printed
// instead of shown; progress prints "step1" and "step3" once each.
//
//   fill:N   add N generated addresses to the input list
//   check5   click the unique-addresses box
//   text1:T  type T into the per-domain box
//   run      press Start Sorting and wait for the run to end
//   state    print the options as the window shows them
//   results  print the number of results and a digest of them

#include "AddressGenerator.h"
#include "Form1.h"
#include "QtPlatform.h"

#include <QApplication>
#include <QCheckBox>
#include <QCryptographicHash>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <cstdio>

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
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
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
            for (const QString& address : GenerateAddresses(command.mid(5).toLongLong()))
                state.ListView1.append(address);
        } else if (command == QStringLiteral("check5")) {
            form.Check5->click();
        } else if (command.startsWith(QStringLiteral("text1:"))) {
            form.Text1->setText(command.mid(6));
        } else if (command == QStringLiteral("run")) {
            form.PushButton17->click();
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
