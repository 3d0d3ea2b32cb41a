#include "Database.h"
#include "ODBCProvider.h"
#include "StoredSettings.h"
#include "TestWindow.h"

#include <QRadioButton>
#include <QtTest>

namespace {
const QString kGuidance =
    "Error #3706: Provider cannot be found. It may not be properly installed.\r\n\r\n"
    "You are getting this error because:\r\n\r\n"
    "1. Microsoft Access is not installed on your computer.\r\n\r\n"
    "2. A set of Microsoft components to transfer data is not installed on your computer.\r\n\r\n"
    "You need to download and install Microsoft Access Database Engine 2010 or 2016 to solve "
    "this problem.\r\n\r\n"
    "Would you like me to open the Microsoft site now so you can do this?\r\n\r\n"
    "(If you have any further questions please email a screenshot of this error message to "
    "support@quillmere.example)";
const QStringList kPages = {"https://doc.qt.io/qt-6/sql-driver.html",
                            "https://www.sqlite.org/download.html"};
} // namespace

class TestEngineCheck : public QObject {
    Q_OBJECT

private slots:
    void missingEngine_data() {
        QTest::addColumn<QString>("description");
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("guidance");
        QTest::newRow("3706") << kProviderNotFound << 3706 << true;
        QTest::newRow("described in another case")
            << "The PROVIDER Cannot Be Found on this system" << 0 << true;
        QTest::newRow("another error") << "ActiveX component can't create object" << 429 << false;
    }

    void missingEngine() {
        QFETCH(QString, description);
        QFETCH(int, number);
        QFETCH(bool, guidance);
        TestWindow t;
        t.platform.injectFailure(ScriptedPlatform::Operation::CreateConnection, description, 1000,
                                 number);
        Form1& form = t.start();
        QVERIFY(!form.state().globals.DatabaseEngineAvailable);
        QVERIFY(form.state().option2() && form.Option2->isChecked());
        QVERIFY(t.platform.shownBoxes.empty());

        t.platform.messageAnswers.push_back(MessageAnswer::Yes);
        form.Option1->click();
        if (guidance) {
            QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
            const auto& box = t.platform.shownBoxes.front();
            QCOMPARE(box.text, kGuidance);
            QCOMPARE(box.buttons, MessageButtons::YesNo);
            QCOMPARE(box.icon, MessageIcon::None);
            QCOMPARE(box.caption, QString("Ambervale"));
            QCOMPARE(t.platform.openedUrls, kPages);
        } else {
            QVERIFY(t.platform.shownBoxes.empty());
            QVERIFY(t.platform.openedUrls.isEmpty());
        }
        QVERIFY(!form.state().option1() && form.state().option2());
        QVERIFY(!form.Option1->isChecked() && form.Option2->isChecked());
        QVERIFY(!form.state().globals.DatabaseEngineAvailable);
        const auto stored = StoredSettings(t.platform.locations().settingsFile);
        QCOMPARE(stored["Option1"], QString("False"));
        QCOMPARE(stored["Option2"], QString("True"));
    }

    void answeringNoOpensNothing() {
        TestWindow t;
        t.platform.injectFailure(ScriptedPlatform::Operation::CreateConnection, kProviderNotFound,
                                 1000, 3706);
        QVERIFY(!IsProviderInstalled(t.platform, true));
        QVERIFY(t.platform.shownBoxes.empty());
        t.platform.messageAnswers.push_back(MessageAnswer::No);
        QVERIFY(!IsProviderInstalled(t.platform, false));
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QVERIFY(t.platform.openedUrls.isEmpty());
    }

    void storedDatabaseMethodWithoutEngineStaysQuiet() {
        TestWindow t;
        t.platform.writeSetting("Option1", "True");
        t.platform.writeSetting("Option2", "False");
        t.platform.injectFailure(ScriptedPlatform::Operation::CreateConnection, kProviderNotFound,
                                 1000, 3706);
        Form1& form = t.start();
        // Already selected when the window was made: no click, no guidance. The run
        // falls back to the text method by itself.
        QVERIFY(form.state().option1());
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void presentEngine() {
        TestWindow t;
        QVERIFY(IsProviderInstalled(t.platform, false));
        Form1& form = t.start();
        QVERIFY(form.state().globals.DatabaseEngineAvailable);
        QVERIFY(form.state().option1());
        form.Option2->click();
        form.Option1->click();
        QVERIFY(form.state().option1() && !form.state().option2());
        QVERIFY(t.platform.shownBoxes.empty());
        QVERIFY(t.platform.openedUrls.isEmpty());
        const auto stored = StoredSettings(t.platform.locations().settingsFile);
        QCOMPARE(stored["Option1"], QString("True"));
        QCOMPARE(stored["Option2"], QString("False"));
    }
};

QTEST_MAIN(TestEngineCheck)
#include "test_engine_check.moc"
