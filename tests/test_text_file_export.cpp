#include "ListContents.h"
#include "PointerLog.h"
#include "TestWindow.h"
#include "TextFileExport.h"
#include "YieldActions.h"
#include "YieldTrace.h"

#include <QDir>
#include <QPushButton>
#include <QtTest>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {
QByteArray contentOf(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(no file)");
}
} // namespace

class TestTextFileExport : public QObject {
    Q_OBJECT

private slots:
    void writesEveryByte_data() {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("empty list") << QStringList{} << QByteArray("Result(s)\t\r\n");
        QTest::newRow("shorter than the header")
            << QStringList{"a@b", "cd@ef"}
            << QByteArray("Result(s)\t\r\na@b      \t\r\ncd@ef    \t\r\n");
        QTest::newRow("six and twenty characters")
            << QStringList{"ab@cde", "twenty@characters.io"}
            << QByteArray("Result(s)           \t\r\nab@cde              \t\r\n"
                          "twenty@characters.io\t\r\n");
        QTest::newRow("blanks kept, tabs too")
            << QStringList{" a@b  ", "x\t@y"}
            << QByteArray("Result(s)\t\r\n a@b     \t\r\nx\t@y     \t\r\n");
        // Widths count UTF-16 code units: each 𝒳 is two of them.
        QTest::newRow("beyond ASCII and the BMP")
            << QStringList{"jörg@bücher.de", "𝒳𝒳𝒳𝒳𝒳@x"}
            << QByteArray("Result(s)     \t\r\njörg@bücher.de\t\r\n𝒳𝒳𝒳𝒳𝒳@x  \t\r\n");
        QTest::newRow("only the BMP surplus makes it wider")
            << QStringList{"𝒳𝒳𝒳@x"} << QByteArray("Result(s)\t\r\n𝒳𝒳𝒳@x \t\r\n");
    }

    void writesEveryByte() {
        QFETCH(QStringList, results);
        QFETCH(QByteArray, bytes);
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, results);
        const QString path = t.root() + "/results.txt";
        t.platform.saveDialogAnswers = {path};
        form.PushButton4->click();
        QCOMPARE(contentOf(path), bytes);
        QVERIFY(t.platform.shownBoxes.empty());
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        QCOMPARE(form.state().progressText(), QString("Progress Bar"));
        QCOMPARE(form.state().progressValue(), 0.0);
    }

    void dialogOffersTheLastNameAndTakesANameAsTyped() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        // The load dialog leaves the name of the list it loaded for the save dialog to offer.
        t.platform.openDialogAnswers = {t.writeFile("lists.txt", "x@y\r\n")};
        form.PushButton3->click();
        const QString typed = t.root() + "/no extension";
        t.platform.saveDialogAnswers = {typed};
        form.PushButton4->click();
        form.PushButton4->click(); // cancelled

        QCOMPARE(t.platform.saveDialogs.size(), size_t(2));
        const FileDialogRequest& first = t.platform.saveDialogs[0];
        QCOMPARE(first.title, QString("Save"));
        QCOMPARE(first.filter, QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QCOMPARE(first.fileName, t.root() + "/lists.txt");
        QCOMPARE(t.platform.saveDialogs[1].fileName, typed);
        QCOMPARE(contentOf(typed), QByteArray("Result(s)\t\r\na@b      \t\r\n"));
        QVERIFY(!QFile::exists(typed + ".txt"));
    }

    void cancellingWritesNothing() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        const QString old = t.writeFile("lists.txt", "old content");
        form.state().setDialogFileName(old);
        PointerLog pointers(form.state());
        form.PushButton4->click();
        QCOMPARE(contentOf(old), QByteArray("old content"));
        QVERIFY(pointers.shown.isEmpty());
        QVERIFY(t.platform.shownBoxes.empty());
        QCOMPARE(form.state().progressText(), QString("Progress Bar"));
    }

    void replacesAnExistingFileWhole() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"new@x.org"});
        const QString path = t.writeFile("results.txt", QByteArray(5000, 'o'));
        t.platform.saveDialogAnswers = {path};
        form.PushButton4->click();
        QCOMPARE(contentOf(path), QByteArray("Result(s)\t\r\nnew@x.org\t\r\n"));
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void aFailedSaveKeepsTheOldFileAndReportsOnce_data() {
        QTest::addColumn<int>("operation");
        QTest::addColumn<int>("line");
        QTest::newRow("creating") << int(ScriptedPlatform::Operation::CreateFile) << 106;
        QTest::newRow("writing") << int(ScriptedPlatform::Operation::WriteFile) << 116;
        QTest::newRow("replacing") << int(ScriptedPlatform::Operation::CommitFile) << 116;
    }

    void aFailedSaveKeepsTheOldFileAndReportsOnce() {
        QFETCH(int, operation);
        QFETCH(int, line);
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b", "c@d"});
        const QString path = t.writeFile("out/results.txt", "old content");
        t.platform.injectFailure(ScriptedPlatform::Operation(operation), "Disk full", 5);
        t.platform.saveDialogAnswers = {path};
        form.PushButton4->click();

        QCOMPARE(contentOf(path), QByteArray("old content"));
        QCOMPARE(QDir(t.root() + "/out").entryList(QDir::Files), QStringList{"results.txt"});
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes[0].caption, QString("Application Error"));
        QVERIFY2(t.platform.shownBoxes[0].text.startsWith(
                     QString("Disk full\r\nin Kelvamore2021/08/31.Main.SaveListviewProperlySpaced "
                             "at line %1\r\r")
                         .arg(line)),
                 qPrintable(t.platform.shownBoxes[0].text));
        QCOMPARE(form.state().progressText(), QString("Progress Bar"));
        QCOMPARE(form.state().progressValue(), 0.0);
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
    }

    void aNameThatCannotBeCreatedIsReportedOnce() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        t.platform.saveDialogAnswers = {t.root() + "/missing folder/results.txt"};
        form.PushButton4->click();
        t.platform.saveDialogAnswers = {t.root()}; // a folder
        form.PushButton4->click();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(2));
        for (const auto& box : t.platform.shownBoxes)
            QVERIFY(box.text.contains("SaveListviewProperlySpaced at line 106\r\r"));
        QVERIFY(!QFile::exists(t.root() + "/missing folder"));
    }

    // A device or a pipe under the name is refused, not replaced by a plain file.
    void aNameThatIsNoRegularFileIsLeftAsItIs_data() {
        QTest::addColumn<int>("type");
        QTest::addColumn<bool>("throughLink");
        QTest::newRow("pipe") << int(S_IFIFO) << false;
        QTest::newRow("device like /dev/full") << int(S_IFCHR) << false;
        QTest::newRow("link to a pipe") << int(S_IFIFO) << true;
    }

    void aNameThatIsNoRegularFileIsLeftAsItIs() {
        QFETCH(int, type);
        QFETCH(bool, throughLink);
        TestWindow t;
        const QString folder = t.root() + "/out";
        QVERIFY(QDir().mkpath(folder));
        const QByteArray node = QFile::encodeName(folder + "/node");
        if (mknod(node.constData(), mode_t(type) | 0666, type == S_IFCHR ? makedev(1, 7) : 0) != 0)
            QSKIP("no device node can be made here");
        const QString name = throughLink ? folder + "/link" : folder + "/node";
        if (throughLink)
            QVERIFY(QFile::link(folder + "/node", name));
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        t.platform.saveDialogAnswers = {name};
        form.PushButton4->click();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QVERIFY2(t.platform.shownBoxes[0].text.startsWith(
                     "Path/File access error\r\nin Kelvamore2021/08/31.Main."
                     "SaveListviewProperlySpaced at line 106\r\r"),
                 qPrintable(t.platform.shownBoxes[0].text));
        struct stat after;
        QCOMPARE(lstat(node.constData(), &after), 0);
        QCOMPARE(int(after.st_mode & S_IFMT), type);
        const QStringList expected =
            throughLink ? QStringList{"link", "node"} : QStringList{"node"};
        QCOMPARE(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot),
                 expected);
    }

    // The bar at the turns of the window, each change once: what the last step set.
    void progressAtEveryYield() {
        TestWindow t;
        Form1& form = t.start();
        const int n = 2500;
        for (int i = 1; i <= n; ++i)
            form.state().ListView2.append(QString("user%1@example.com").arg(i));
        QStringList shown;
        bool busy = true;
        t.platform.onYield = [&] {
            if (shown.isEmpty() || shown.last() != BarShown(form.state()))
                shown << BarShown(form.state());
            busy &= form.state().mousePointer() == MousePointer::Busy;
        };
        t.platform.saveDialogAnswers = {t.root() + "/big list.txt"};
        form.PushButton4->click();

        // Measuring at 1, the header at 10 and 20, then entry j as (j + n \ 2000) / n, its
        // text counting whole thousands.
        const QString writing = "Writing file: big list.txt";
        QStringList expected{"0|Progress Bar", "1|" + writing, "10|" + writing, "20|" + writing};
        for (int j = 1; j <= n; ++j)
            expected << QString::number((j + 1.0) / n * 100) + u'|' + writing +
                            (j < 1000 ? QString() : QString(" (%1)").arg(j / 1000 * 1000));
        QCOMPARE(shown, expected);
        QVERIFY(busy);
        QCOMPARE(form.state().progressValue(), 0.0);
        QCOMPARE(form.state().progressText(), QString("Progress Bar"));
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        QCOMPARE(contentOf(t.root() + "/big list.txt").count("\t\r\n"), n + 1);
    }

    // Clearing or filtering the results meanwhile changes the list, not the file.
    void writesTheResultsAsTheyWereWhenItBegan() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b", "c@d", "e@f"});
        t.platform.inputAnswers = {"c@"};
        YieldActions actions(t.platform, form.state());
        actions.whenBar("Writing file: ", [&] { form.PushButton22->click(); }).atNextYield([&] {
            form.PushButton2->click();
        });
        const QString path = t.root() + "/results.txt";
        t.platform.saveDialogAnswers = {path};
        form.PushButton4->click();
        QVERIFY(actions.done());
        QCOMPARE(form.state().ListView2.count(), 0);
        QCOMPARE(t.platform.inputPrompts.size(), 1);
        QCOMPARE(contentOf(path), QByteArray("Result(s)\t\r\na@b      \t\r\nc@d      \t\r\n"
                                             "e@f      \t\r\n"));
    }

    void withoutABarOnlyTheFileChanges() {
        TestWindow t;
        FormState form;
        Fill(form.ListView2, {"a@b", "longer@example.org"});
        form.setProgressText("untouched");
        const QString path = t.root() + "/plain.txt";
        SaveListviewProperlySpaced(form.ListView2, path, t.platform);
        QCOMPARE(contentOf(path), QByteArray("Result(s)         \t\r\na@b               \t\r\n"
                                             "longer@example.org\t\r\n"));
        QCOMPARE(t.platform.yieldCount, 2 + 1 + 2 * 2);
        QCOMPARE(form.progressText(), QString("untouched"));
    }
};

QTEST_MAIN(TestTextFileExport)
#include "test_text_file_export.moc"
