#include "AddressListView.h"
#include "CommandLine.h"
#include "ListContents.h"
#include "LoadListFiles.h"
#include "ProgramIcon.h"
#include "QtPlatform.h"
#include "TestWindow.h"
#include "YieldActions.h"

#include <QApplication>
#include <QDir>
#include <QMimeData>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

using Mode = CommandLine::Mode;
Q_DECLARE_METATYPE(CommandLine::Mode)

namespace {
const QString kVersionLine = QStringLiteral("Ambervale " AMBERVALE_VERSION "\n");

// Each box's text up to the report's line number.
QStringList boxTexts(const ScriptedPlatform& platform) {
    QStringList texts;
    for (const auto& box : platform.shownBoxes)
        texts << box.text.section(u'\r', 0, 1);
    return texts;
}

// The report's first lines for a list file that is not a regular file.
QString notAFile(int line) {
    return QStringLiteral("Bad file name or number\r\nin Kelvamore2021/08/31.Form1."
                          "PushButton3_Click at line ") +
           QString::number(line);
}

// Two list files in different folders, a name that is missing and a folder.
struct ListFiles {
    explicit ListFiles(TestWindow& t)
        : a(t.writeFile("lists/a.txt", "a@x\r\nnot an address\r\n")),
          b(t.writeFile("more/deeper/b.txt", "b@y\nc@z")), missing(t.root() + "/lists/none.txt"),
          folder(t.root() + "/more") {}
    QString path(const QString& name) const {
        return name == "a" ? a : name == "b" ? b : name == "missing" ? missing : folder;
    }
    QString a, b, missing, folder;
};

QMimeData* fileDrag(const QStringList& paths) {
    auto* data = new QMimeData;
    QList<QUrl> urls;
    for (const QString& path : paths)
        urls << (path.contains(u':') ? QUrl(path) : QUrl::fromLocalFile(path));
    data->setUrls(urls);
    return data;
}

// Drags the data onto the input list and drops it there; answers whether the
// list took the drag and the drop, and the action it took the drop with.
struct DropAnswer {
    bool entered;
    bool dropped;
    Qt::DropAction action;
};
DropAnswer dropOn(Form1& form, const QMimeData* data,
                  Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
    QWidget* target = form.ListView1->viewport();
    const QPoint point = target->rect().center();
    QDragEnterEvent enter(point, actions, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(target, &enter);
    QDropEvent drop(point, actions, data, Qt::LeftButton, Qt::NoModifier);
    drop.setDropAction(Qt::MoveAction);
    QApplication::sendEvent(target, &drop);
    return {enter.isAccepted(), drop.isAccepted(), drop.dropAction()};
}
} // namespace

class TestDesktop : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Mode>("mode");
        QTest::addColumn<QStringList>("files");
        QTest::addColumn<QString>("textStart");
        const QString here = QDir::currentPath();
        QTest::newRow("files in the order given, made absolute")
            << QStringList{"ambervale", "b.txt", "/lists/a.txt", "sub/../c.txt"} << Mode::Window
            << QStringList{here + "/b.txt", "/lists/a.txt", here + "/c.txt"} << QString();
        QTest::newRow("a name that looks like an option")
            << QStringList{"ambervale", "--", "-x.txt"} << Mode::Window
            << QStringList{here + "/-x.txt"} << QString();
        QTest::newRow("nothing") << QStringList{"ambervale"} << Mode::Window << QStringList{}
                                 << QString();
        QTest::newRow("help among Qt's own options")
            << QStringList{"/usr/bin/ambervale", "-style", "Fusion", "--help"} << Mode::Answer
            << QStringList{} << "Usage: ambervale [options] [FILE...]\n";
        QTest::newRow("version") << QStringList{"ambervale", "a.txt", "-v"} << Mode::Answer
                                 << QStringList{} << kVersionLine;
        QTest::newRow("an option of batch mode without --batch")
            << QStringList{"ambervale", "--unique-domains", "a.txt"} << Mode::BadUsage
            << QStringList{} << "--unique-domains is an option of --batch.\nUsage: ";
        QTest::newRow("unknown option")
            << QStringList{"ambervale", "--sort", "a.txt"} << Mode::BadUsage << QStringList{}
            << "Unknown option 'sort'.\nUsage: ";
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(Mode, mode);
        QFETCH(QStringList, files);
        QFETCH(QString, textStart);
        const CommandLine read = ReadCommandLine(arguments);
        QCOMPARE(read.mode, mode);
        QCOMPARE(read.files, files);
        QVERIFY2(read.text.startsWith(textStart), qPrintable(read.text));
    }

    void helpAndVersionNeedNoDisplay_data() {
        QTest::addColumn<QString>("option");
        QTest::addColumn<QString>("output");
        QTest::newRow("help") << "--help"
                              << "Usage: ambervale [options] [FILE...]\n";
        QTest::newRow("version") << "--version" << kVersionLine;
    }

    void helpAndVersionNeedNoDisplay() {
        QFETCH(QString, option);
        QFETCH(QString, output);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            environment.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(environment);
        program.start(QStringLiteral(AMBERVALE_BUILD_DIR "/ambervale"), {option});
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitStatus(), QProcess::NormalExit);
        QCOMPARE(program.exitCode(), 0);
        QVERIFY(QString::fromLocal8Bit(program.readAllStandardOutput()).startsWith(output));
        QCOMPARE(program.readAllStandardError(), QByteArray());
    }

    // Named on the command line (Open With) or dropped on the input list.
    void namedFilesLoadAsTheDialogWould_data() {
        QTest::addColumn<bool>("dropped");
        QTest::addColumn<QStringList>("named"); // fields of ListFiles
        QTest::addColumn<QStringList>("entries");
        QTest::addColumn<QStringList>("boxes");
        const QStringList several{"b", "missing", "folder", "a"};
        const QStringList severalEntries{"b@y", "c@z", "a@x"};
        const QStringList severalBoxes{"File not found", notAFile(134)};
        QTest::newRow("command line: several from different folders, one after another")
            << false << several << severalEntries << severalBoxes;
        QTest::newRow("drop: several from different folders, in the order given")
            << true << several << severalEntries << severalBoxes;
        QTest::newRow("command line: one file")
            << false << QStringList{"a"} << QStringList{"a@x"} << QStringList{};
        QTest::newRow("command line: one folder")
            << false << QStringList{"folder"} << QStringList{} << QStringList{notAFile(120)};
        QTest::newRow("drop: one folder")
            << true << QStringList{"folder"} << QStringList{} << QStringList{notAFile(120)};
    }

    void namedFilesLoadAsTheDialogWould() {
        QFETCH(bool, dropped);
        QFETCH(QStringList, named);
        QFETCH(QStringList, entries);
        QFETCH(QStringList, boxes);
        TestWindow t;
        Form1& form = t.start();
        const ListFiles files(t);
        QStringList paths;
        for (const QString& name : named)
            paths << files.path(name);
        form.state().ListView1.append(u"kept@before");
        if (dropped) {
            QVERIFY(form.ListView1->viewport()->acceptDrops());
            const std::unique_ptr<QMimeData> data(fileDrag(paths));
            const DropAnswer answer = dropOn(form, data.get());
            QVERIFY(answer.entered && answer.dropped);
            // Taken as a move, the drop would make a file manager delete the files.
            QCOMPARE(answer.action, Qt::CopyAction);
            QCoreApplication::sendPostedEvents(); // the files are read once the drop is over
        } else {
            LoadNamedListFiles(form.state(), t.platform,
                               ReadCommandLine(QStringList{"ambervale"} + paths).files);
        }
        QCOMPARE(Entries(form.state().ListView1), QStringList{"kept@before"} + entries);
        QCOMPARE(boxTexts(t.platform), boxes);
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
    }

    void dropsThatAreNoFileListAreRefused_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("urls");
        QTest::addColumn<int>("actions");
        QTest::newRow("plain text") << "a@x.org\nb@y.org" << QStringList{} << int(Qt::CopyAction);
        QTest::newRow("a web address among the files")
            << QString() << QStringList{"%1", "https://quillmere.example/list.txt"}
            << int(Qt::CopyAction);
        QTest::newRow("files that may only be moved")
            << QString() << QStringList{"%1"} << int(Qt::MoveAction);
    }

    void dropsThatAreNoFileListAreRefused() {
        QFETCH(QString, text);
        QFETCH(QStringList, urls);
        QFETCH(int, actions);
        TestWindow t;
        Form1& form = t.start();
        const ListFiles files(t);
        const std::unique_ptr<QMimeData> data(fileDrag(urls.replaceInStrings("%1", files.a)));
        if (!text.isEmpty())
            data->setText(text);
        const DropAnswer answer = dropOn(form, data.get(), Qt::DropActions(actions));
        QVERIFY(!answer.entered && !answer.dropped);
        QCoreApplication::sendPostedEvents();
        QCOMPARE(form.state().ListView1.count(), 0);
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void dropIsRefusedWhileARunShowsTheBusyPointer() {
        TestWindow t;
        Form1& form = t.start();
        form.Option2->click(); // the text method: it yields at every address
        const ListFiles files(t);
        Fill(form.state().ListView1, {"b@y", "a@x"});
        const std::unique_ptr<QMimeData> data(fileDrag({files.a}));
        std::optional<DropAnswer> duringRun;
        YieldActions actions(t.platform, form.state());
        actions.whenCaption("Stop Sorting", [&] { duringRun = dropOn(form, data.get()); });
        form.PushButton17->click();
        QCoreApplication::sendPostedEvents();
        QVERIFY(duringRun && !duringRun->entered && !duringRun->dropped);
        QCOMPARE(Entries(form.state().ListView1), (QStringList{"b@y", "a@x"}));
        QCOMPARE(Entries(form.state().ListView2), (QStringList{"a@x", "b@y"}));
    }

    void windowAndBoxesCarryTheProgramIcon() {
        TestWindow t;
        Form1& form = t.start();
        const QIcon icon = form.windowIcon();
        QCOMPARE(icon.availableSizes().size(), kProgramIconSizes.size());
        for (int size : kProgramIconSizes)
            QCOMPARE(icon.pixmap(size).size(), QSize(size, size));

        QtPlatform platform(ScriptedPlatform::locationsIn(t.root()));
        platform.setMainWindow(&form);
        QImage boxIcon;
        QTimer::singleShot(0, [&] {
            QWidget* box = QApplication::activeModalWidget();
            QVERIFY(box);
            boxIcon = box->windowIcon().pixmap(48).toImage();
            box->close();
        });
        platform.messageBox(QStringLiteral("Done."), MessageButtons::Ok, MessageIcon::None, {});
        QCOMPARE(boxIcon, ProgramIcon().pixmap(48).toImage());
    }
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
