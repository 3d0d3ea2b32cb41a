#include "ApplicationTitle.h"
#include "TestWindow.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QtTest>

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void firstStartCreatesFoldersAndDatabaseSecondKeepsThem() {
        TestWindow t;
        const QString database = t.dataFolder() + "/dbData.mdb";
        QVERIFY(!QFile::exists(t.platform.locations().dataLocation));
        t.start();
        QVERIFY(QFileInfo(t.dataFolder()).isDir());
        QVERIFY(QFile::exists(database));
        QVERIFY(t.platform.shownBoxes.empty());

        // The user's database content must survive the next start.
        QFile file(database);
        QVERIFY(file.open(QIODevice::Append));
        file.write("marker");
        file.close();
        const QByteArray content = [&] {
            QFile f(database);
            f.open(QIODevice::ReadOnly);
            return f.readAll();
        }();
        t.restart();
        QFile again(database);
        QVERIFY(again.open(QIODevice::ReadOnly));
        QCOMPARE(again.readAll(), content);
        QVERIFY(t.platform.shownBoxes.empty());
    }

    // Two instances at their first start: the other one's copy appears
    // between the check and this one's copy, which then fails; it serves, kept.
    void databaseCopiedMeanwhileByAnotherInstanceIsKept() {
        TestWindow t;
        const QString database = t.dataFolder() + "/dbData.mdb";
        const QByteArray others("the other instance's copy");
        t.platform.onCopyFile = [&] {
            QFile file(database);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(others);
        };
        t.start();
        QVERIFY(t.platform.shownBoxes.empty());
        QFile kept(database);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), others);
    }

    void missingTemplateGivesOneReportThenTheWindowOpens() {
        TestWindow t(false);
        Form1& form = t.start();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        const auto& box = t.platform.shownBoxes.front();
        QCOMPARE(box.caption, QString("Application Error"));
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QCOMPARE(box.text,
                 QString("File not found\r\nin Kelvamore2021/08/31.Form1.Form_Load at line "
                         "154\r\rPlease email screenshot of this message to "
                         "support@quillmere.example"));
        QVERIFY(QFileInfo(t.dataFolder()).isDir());
        QVERIFY(!QFile::exists(t.dataFolder() + "/dbData.mdb"));
        QCOMPARE(form.windowTitle(), QString("Ambervale"));
        QCOMPARE(t.platform.applicationTitle(), QString("Ambervale"));
    }

    void folderThatCannotBeCreatedIsReportedAndStartUpGoesOn() {
        TestWindow t;
        t.platform.injectFailure(ScriptedPlatform::Operation::CreateFolder, "Permission denied", 2);
        t.start();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(3));
        QVERIFY(t.platform.shownBoxes[0].text.contains("Form_Load at line 146\r\r"));
        QVERIFY(t.platform.shownBoxes[1].text.contains("Form_Load at line 150\r\r"));
        QVERIFY(t.platform.shownBoxes[2].text.contains("Form_Load at line 154\r\r"));
        QVERIFY(t.platform.shownBoxes[0].text.startsWith("Permission denied\r\n"));
    }

    void applicationTitle_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("title");
        QTest::newRow("three short words") << "Alpha Beta Gamma"
                                           << "Alpha Beta";
        const QString w1(22, u'a'), w2(22, u'b');
        QTest::newRow("two long words") << w1 + " " + w2 << w1;
        QStringList ten;
        for (int i = 0; i < 10; ++i)
            ten << QString(5, QChar(u'a' + i));
        QTest::newRow("ten five-letter words") << ten.join(' ') << ten.mid(0, 6).join(' ');
        QTest::newRow("no blank") << "Ambervale"
                                  << "Ambervale";
        QTest::newRow("two words") << "Quillmere Ambervale"
                                   << "Quillmere";
    }

    void applicationTitle() {
        QFETCH(QString, name);
        QFETCH(QString, title);
        QCOMPARE(SetApplicationTitle(name), title);
    }

    void skinChangesTheBackgroundColours() {
        TestWindow plain;
        Form1& white = plain.start();
        QCOMPARE(white.palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(white.Frame1->palette().color(QPalette::Window), QColor(Qt::white));
        QCOMPARE(white.Check5->palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(!white.hasSkin());

        TestWindow skinned;
        skinned.writeFile("program/x/o.cjs", "QPushButton { color: rgb(1, 2, 3); }");
        Form1& form = skinned.start();
        QVERIFY(form.hasSkin());
        const QColor face = form.palette().color(QPalette::Button);
        QCOMPARE(form.palette().color(QPalette::Window), face);
        QCOMPARE(form.Frame2->palette().color(QPalette::Window), face);
        QCOMPARE(form.Check1->palette().color(QPalette::Window), face);
        QVERIFY(face != QColor(Qt::white));
        QVERIFY(form.styleSheet().contains("rgb(1, 2, 3)"));
        QVERIFY(skinned.platform.shownBoxes.empty());
    }

    void handCursorOnlyWhenItsFileExists() {
        TestWindow with;
        Form1& form = with.start();
        form.state().setMousePointer(MousePointer::Custom);
        QCOMPARE(form.cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(form.cursor().hotSpot(), QPoint(10, 1));

        TestWindow without(false);
        Form1& plain = without.start();
        plain.state().setMousePointer(MousePointer::Custom);
        QCOMPARE(plain.cursor().shape(), Qt::ArrowCursor);
    }

    void aHandCursorThatCannotBeLoadedIsReportedThenTheArrowShows_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("description");
        QTest::newRow("not a picture") << "text"
                                       << "Invalid picture";
        QTest::newRow("cut short") << "cut"
                                   << "Invalid picture";
        QTest::newRow("a folder") << "folder"
                                  << "Bad file name or number";
        QTest::newRow("read fails") << "read"
                                    << "Input/output error";
    }

    void aHandCursorThatCannotBeLoadedIsReportedThenTheArrowShows() {
        QFETCH(QString, kind);
        QFETCH(QString, description);
        TestWindow t;
        const QString hand = t.programFolder() + "/HAND-M.CUR";
        if (kind == "text") {
            t.writeFile("program/HAND-M.CUR", "not a cursor");
        } else if (kind == "cut") {
            QFile file(hand);
            QVERIFY(file.resize(40));
        } else if (kind == "folder") {
            QVERIFY(QFile::remove(hand) && QDir().mkdir(hand));
        } else {
            t.platform.readFailureOffset = 10;
            t.platform.injectFailure(ScriptedPlatform::Operation::ReadFile, description);
        }
        Form1& form = t.start();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes[0].caption, QString("Application Error"));
        QVERIFY(t.platform.shownBoxes[0].text.startsWith(
            description + "\r\nin Kelvamore2021/08/31.Form1.Form_Load at line 106\r\r"));
        QVERIFY(QFile::exists(t.dataFolder() + "/dbData.mdb")); // start-up went on
        form.state().setMousePointer(MousePointer::Custom);
        QCOMPARE(form.cursor().shape(), Qt::ArrowCursor);
    }
};

QTEST_MAIN(TestStartup)
#include "test_startup.moc"
