#include "Database.h"
#include "ListContents.h"
#include "StoredSettings.h"
#include "TestWindow.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QtTest>

namespace {
using Settings = QMap<QString, QString>;

Settings onDisk(TestWindow& t) {
    return StoredSettings(t.platform.locations().settingsFile);
}

void withoutEngine(TestWindow& t) {
    t.platform.injectFailure(ScriptedPlatform::Operation::CreateConnection, kProviderNotFound, 1000,
                             kProviderNotFoundNumber);
}

// The window shows what the state holds.
void verifyMirrored(Form1& form) {
    const FormState& s = form.state();
    QCOMPARE(form.Check5->isChecked(), s.check5());
    QCOMPARE(form.Check1->isChecked(), s.check1());
    QCOMPARE(form.Check2->isChecked(), s.check2());
    QCOMPARE(form.Text1->text(), s.text1());
    QCOMPARE(form.Text1->isEnabled(), s.text1Enabled());
    QCOMPARE(form.Option1->isChecked(), s.option1());
    QCOMPARE(form.Option2->isChecked(), s.option2());
}

void activate(Form1& form) {
    form.show();
    form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&form));
}
} // namespace

class TestOptions : public QObject {
    Q_OBJECT

private slots:
    void firstStartWithAnEmptyStore() {
        TestWindow t;
        Form1& form = t.start();
        const FormState& s = form.state();
        QVERIFY(!s.check5() && !s.check1() && !s.check2());
        QCOMPARE(s.text1(), QString("5"));
        QVERIFY(!s.text1Enabled());
        QVERIFY(s.option1() && !s.option2());
        verifyMirrored(form);
        QVERIFY(t.platform.shownBoxes.empty());
        // Nothing changed, so no handler ran and nothing was written.
        QCOMPARE(onDisk(t), Settings());

        TestWindow missing;
        withoutEngine(missing);
        Form1& fallback = missing.start();
        QVERIFY(!fallback.state().option1() && fallback.state().option2());
        verifyMirrored(fallback);
        QVERIFY(missing.platform.shownBoxes.empty());
        QCOMPARE(onDisk(missing), Settings({{"Option1", "False"}, {"Option2", "True"}}));
    }

    void ticksAreExclusiveAndStoredAtOnce() {
        TestWindow t;
        Form1& form = t.start();
        form.Check2->click();
        QVERIFY(form.state().check2() && form.state().text1Enabled());
        QCOMPARE(onDisk(t), Settings({{"Check2", "1"}}));

        form.Check1->click();
        QVERIFY(form.state().check1() && !form.state().check2());
        QVERIFY(!form.state().text1Enabled());
        QCOMPARE(onDisk(t), Settings({{"Check1", "1"}, {"Check2", "0"}}));
        verifyMirrored(form);

        form.Check2->click();
        QVERIFY(!form.state().check1() && form.state().check2());
        QVERIFY(form.state().text1Enabled());
        QCOMPARE(onDisk(t), Settings({{"Check1", "0"}, {"Check2", "1"}}));

        form.Check5->click();
        QVERIFY(form.state().check5() && form.state().check2());
        QCOMPARE(onDisk(t)["Remove Duplicates"], QString("1"));
        form.Check2->click();
        QVERIFY(!form.state().text1Enabled() && !form.state().check1());
        QCOMPARE(onDisk(t),
                 Settings({{"Check1", "0"}, {"Check2", "0"}, {"Remove Duplicates", "1"}}));
        verifyMirrored(form);
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void textThatIsNotANumberIsStoredButRefusedOnLeaving() {
        TestWindow t;
        Form1& form = t.start();
        form.Check2->click();
        activate(form);
        form.Text1->setFocus();
        form.Text1->clear();
        QTest::keyClicks(form.Text1, "abc");
        QCOMPARE(form.state().text1(), QString("abc"));
        QCOMPARE(onDisk(t)["Text1"], QString("abc"));
        QVERIFY(t.platform.shownBoxes.empty());

        form.Check5->setFocus();
        QTRY_COMPARE(t.platform.shownBoxes.size(), size_t(1));
        const auto& box = t.platform.shownBoxes.front();
        QCOMPARE(box.text, QString("You must input numeric entry."));
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.caption, QString("Ambervale"));
        QTRY_VERIFY(form.Text1->hasFocus());

        // Refused again after a restart, since the text was kept.
        Form1& again = t.restart();
        QCOMPARE(again.Text1->text(), QString("abc"));
        activate(again);
        again.Text1->setFocus();
        again.Check1->setFocus();
        QTRY_COMPARE(t.platform.shownBoxes.size(), size_t(2));
        QTRY_VERIFY(again.Text1->hasFocus());

        again.Text1->setText("12");
        again.Check1->setFocus();
        QCoreApplication::processEvents();
        QVERIFY(again.Check1->hasFocus());
        QCOMPARE(t.platform.shownBoxes.size(), size_t(2));
        QCOMPARE(onDisk(t)["Text1"], QString("12"));
    }

    void boxesAfterARunAreNoLeaveOfTheLimitBox_data() {
        QTest::addColumn<bool>("failingTurn");
        QTest::newRow("Done.") << false;
        QTest::newRow("error report, then Done.") << true;
    }

    // The boxes take the activation from the window while the limit box has the focus
    // and, typed meanwhile, a text that is not a number: that is no leave of the box.
    void boxesAfterARunAreNoLeaveOfTheLimitBox() {
        QFETCH(bool, failingTurn);
        TestWindow t;
        Form1& form = t.start();
        form.Option2->click();
        form.Check2->click();
        form.Text1->setText("2");
        Fill(form.state().ListView1, {"a@d", "b@d"});
        activate(form);
        form.Text1->setFocus();
        t.platform.onYield = [&] {
            if (form.Text1->text() == "2" && failingTurn)
                t.platform.injectFailure(ScriptedPlatform::Operation::Yield, "Out of memory");
            form.Text1->setText("x");
        };
        // A real box stands in for each, active until it is closed.
        t.platform.onMessageBox = [&](const auto& shown) {
            QMessageBox box(QMessageBox::NoIcon, shown.caption, shown.text, QMessageBox::Ok, &form);
            box.show();
            box.activateWindow();
            QTRY_VERIFY(box.isActiveWindow());
            box.close();
            form.activateWindow();
            QTRY_VERIFY(form.isActiveWindow());
        };
        form.PushButton17->click();
        QCoreApplication::processEvents();

        QStringList boxes;
        for (const auto& box : t.platform.shownBoxes)
            boxes << box.caption;
        QCOMPARE(boxes, failingTurn ? QStringList({"Application Error", "Ambervale"})
                                    : QStringList{"Ambervale"});
        QCOMPARE(t.platform.shownBoxes.back().text, QString("Done."));
        QVERIFY(form.Text1->hasFocus());
    }

    void storedTickIsReadByItsLeadingNumber_data() {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("ticked");
        QTest::newRow("1") << "1" << true;
        QTest::newRow("1.0") << "1.0" << true;
        QTest::newRow("leading blank") << " 1" << true;
        QTest::newRow("number then text") << "1abc" << true;
        QTest::newRow("sign") << "+1" << true;
        QTest::newRow("exponent") << "0.1e1" << true;
        QTest::newRow("fraction only") << ".1e1" << true;
        QTest::newRow("2") << "2" << false;
        QTest::newRow("yes") << "yes" << false;
        QTest::newRow("empty") << "" << false;
        QTest::newRow("minus one") << "-1" << false;
        QTest::newRow("1.5") << "1.5" << false;
        QTest::newRow("digit after a letter") << "x1" << false;
    }

    void storedTickIsReadByItsLeadingNumber() {
        QFETCH(QString, stored);
        QFETCH(bool, ticked);
        TestWindow t;
        t.platform.writeSetting("Check2", stored);
        Form1& form = t.start();
        QCOMPARE(form.state().check2(), ticked);
        QCOMPARE(form.state().text1Enabled(), ticked);
        verifyMirrored(form);
        // Restoring a tick runs the handler, which stores it again in its own words.
        QCOMPARE(onDisk(t)["Check2"], ticked ? QString("1") : stored);
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void storedMethodIsReadAsTrueFalseOrNumber_data() {
        QTest::addColumn<QString>("option1");
        QTest::addColumn<QString>("option2");
        QTest::addColumn<bool>("first");
        QTest::addColumn<bool>("second");
        // Assigning False only deselects: no handler runs and nothing is stored.
        QTest::newRow("both false") << "False"
                                    << "False" << false << false;
        QTest::newRow("words in any case") << "false"
                                           << "TRUE" << false << true;
        QTest::newRow("numbers") << "0"
                                 << "-1" << false << true;
        QTest::newRow("fraction") << "2.5"
                                  << "0" << true << false;
        QTest::newRow("too small for a double") << "1e-999"
                                                << "1" << false << true;
    }

    void storedMethodIsReadAsTrueFalseOrNumber() {
        QFETCH(QString, option1);
        QFETCH(QString, option2);
        QFETCH(bool, first);
        QFETCH(bool, second);
        TestWindow t;
        t.platform.writeSetting("Option1", option1);
        t.platform.writeSetting("Option2", option2);
        Form1& form = t.start();
        QCOMPARE(form.state().option1(), first);
        QCOMPARE(form.state().option2(), second);
        verifyMirrored(form);
        if (!first && !second)
            QCOMPARE(onDisk(t), Settings({{"Option1", option1}, {"Option2", option2}}));
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void storedMethodThatIsNoBooleanIsReported() {
        TestWindow t;
        t.platform.writeSetting("Option1", "yes");
        Form1& form = t.start();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QVERIFY(t.platform.shownBoxes.front().text.startsWith(
            "Type mismatch\r\nin Kelvamore2021/08/31.Form1.Form_Load at line 158\r\r"));
        QVERIFY(form.state().option1() && !form.state().option2());
    }

    void restartRestoresEveryOption() {
        TestWindow t;
        Form1& form = t.start();
        form.Check5->click();
        form.Check2->click();
        form.Text1->setText("7");
        form.Option2->click();
        QVERIFY(form.state().option2());
        QCOMPARE(onDisk(t), Settings({{"Remove Duplicates", "1"},
                                      {"Check2", "1"},
                                      {"Text1", "7"},
                                      {"Option1", "False"},
                                      {"Option2", "True"}}));

        Form1& second = t.restart();
        const FormState& s = second.state();
        QVERIFY(s.check5() && !s.check1() && s.check2() && s.text1Enabled());
        QCOMPARE(s.text1(), QString("7"));
        QVERIFY(!s.option1() && s.option2());
        verifyMirrored(second);

        second.Check1->click();
        second.Check5->click();
        second.Option1->click();
        Form1& third = t.restart();
        const FormState& u = third.state();
        QVERIFY(!u.check5() && u.check1() && !u.check2() && !u.text1Enabled());
        QVERIFY(u.option1() && !u.option2());
        verifyMirrored(third);
        QCOMPARE(onDisk(t), Settings({{"Remove Duplicates", "0"},
                                      {"Check1", "1"},
                                      {"Check2", "0"},
                                      {"Text1", "7"},
                                      {"Option1", "True"},
                                      {"Option2", "False"}}));
        QVERIFY(t.platform.shownBoxes.empty());
    }

    // Whatever stands where the settings file should be, start-up takes the
    // defaults without a word, and the next change leaves a file that restores it.
    void aSettingsFileWeDidNotWrite_data() {
        QTest::addColumn<QByteArray>("content");
        QTest::addColumn<bool>("folder");
        QTest::addColumn<bool>("setAside");
        QByteArray garbage(1 << 16, '\0');
        QRandomGenerator random(16);
        for (char& c : garbage)
            c = char(random.bounded(256));
        QTest::newRow("binary garbage") << garbage << false << true;
        QTest::newRow("empty") << QByteArray() << false << false;
        QTest::newRow("50 MB") << QByteArray(50 << 20, '=').replace(1000, 1, "\n[x]\n") << false
                               << true;
        QTest::newRow("a folder") << QByteArray() << true << true;
        QTest::newRow("values of other kinds")
            << QByteArray("[Ambervale]\nRemove%20Duplicates=@ByteArray(1)\nCheck2=@Variant("
                          "\\0\\0\\0\\x2\\0\\0\\0\\x1)\nText1=7, 8\n"
                          "Option1=@Rect(0 0 1 1)\nOption2=@Point(1 1)\n")
            << false << false;
    }

    void aSettingsFileWeDidNotWrite() {
        QFETCH(QByteArray, content);
        QFETCH(bool, folder);
        QFETCH(bool, setAside);
        TestWindow t;
        const QString file = t.platform.locations().settingsFile;
        if (folder) {
            QVERIFY(QDir().mkpath(file + "/inside"));
        } else {
            QVERIFY(QDir().mkpath(QFileInfo(file).path()));
            QFile written(file);
            QVERIFY(written.open(QIODevice::WriteOnly) && written.write(content) == content.size());
        }
        Form1& form = t.start();
        const FormState& s = form.state();
        QVERIFY(!s.check5() && !s.check1() && !s.check2());
        QCOMPARE(s.text1(), QString("5"));
        QVERIFY(s.option1() && !s.option2());
        QCOMPARE(t.platform.shownBoxes.empty() ? QString() : t.platform.shownBoxes.front().text,
                 QString());

        form.Check5->click();
        form.Text1->setText("8");
        QCOMPARE(onDisk(t)["Remove Duplicates"], QString("1"));
        Form1& second = t.restart();
        QVERIFY(second.state().check5());
        QCOMPARE(second.state().text1(), QString("8"));
        QCOMPARE(t.platform.shownBoxes.empty() ? QString() : t.platform.shownBoxes.front().text,
                 QString());
        // Set aside, not deleted.
        const QString aside = QFileInfo(file).path() + "/Quillmere-damaged-1.conf";
        QCOMPARE(QFileInfo::exists(aside), setAside);
        if (folder)
            QVERIFY(QFileInfo::exists(aside + "/inside"));
    }

    void storeThatCannotBeWrittenIsShownAndTheWindowGoesOn() {
        TestWindow t;
        Form1& form = t.start();
        t.platform.injectFailure(ScriptedPlatform::Operation::WriteSetting, "Disk full");
        form.Check5->click();
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes.front().text, QString("Disk full"));
        QVERIFY(form.state().check5() && form.Check5->isChecked());
        form.Check1->click();
        QCOMPARE(onDisk(t), Settings({{"Check1", "1"}}));
    }
};

QTEST_MAIN(TestOptions)
#include "test_options.moc"
