#include "AddOneAddress.h"
#include "AddressListView.h"
#include "AppError.h"
#include "Boxes.h"
#include "ListContents.h"
#include "SampleEmails.h"
#include "TestWindow.h"

#include <QPushButton>
#include <QRegularExpression>
#include <QtTest>

namespace {
QStringList sample() {
    QTemporaryDir dir;
    ScriptedPlatform platform(dir.path());
    FormState form;
    LoadSampleEmails(form, platform);
    return Entries(form.ListView1);
}

QString localPart(const QString& address) {
    return address.section(u'@', 0, 0);
}
QString domain(const QString& address) {
    return address.section(u'@', 1, 1);
}
} // namespace

class TestAddAndSample : public QObject {
    Q_OBJECT

private slots:
    void addOneAddress_data() {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<QStringList>("after");
        QTest::addColumn<bool>("refused");
        const QStringList before{"a@b.com"};
        QTest::newRow("cancel or empty") << "" << before << false;
        QTest::newRow("blanks only") << "   " << before << true;
        QTest::newRow("no at sign") << "someone.example.com" << before << true;
        QTest::newRow("at sign alone") << "@" << QStringList{"a@b.com", "@"} << false;
        QTest::newRow("blanks kept") << " x@y.com " << QStringList{"a@b.com", " x@y.com "} << false;
        QTest::newRow("two addresses one entry")
            << "x@y.com, z@w.com" << QStringList{"a@b.com", "x@y.com, z@w.com"} << false;
        QTest::newRow("two at signs") << "x@@y" << QStringList{"a@b.com", "x@@y"} << false;
        QTest::newRow("nothing before") << "@y.com" << QStringList{"a@b.com", "@y.com"} << false;
        QTest::newRow("nothing after") << "x@" << QStringList{"a@b.com", "x@"} << false;
        QTest::newRow("case kept")
            << "Ann@Example.COM" << QStringList{"a@b.com", "Ann@Example.COM"} << false;
        QTest::newRow("already listed") << "a@b.com" << QStringList{"a@b.com", "a@b.com"} << false;
    }

    void addOneAddress() {
        QFETCH(QString, answer);
        QFETCH(QStringList, after);
        QFETCH(bool, refused);
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path());
        platform.setApplicationTitle("Ambervale");
        FormState form;
        form.ListView1.append(u"a@b.com");
        form.setMousePointer(MousePointer::Busy); // adding does not wait for a sort run
        platform.inputAnswers = {answer};
        AddOneEmailAddress(form, platform);
        QCOMPARE(platform.inputPrompts, QStringList{"Enter email to add: "});
        QCOMPARE(Entries(form.ListView1), after);
        QCOMPARE(platform.shownBoxes.size(), size_t(refused ? 1 : 0));
        if (refused) {
            QCOMPARE(platform.shownBoxes[0].text, QString("Invalid Email Address."));
            QCOMPARE(platform.shownBoxes[0].buttons, MessageButtons::Ok);
            QCOMPARE(platform.shownBoxes[0].icon, MessageIcon::None);
            QCOMPARE(platform.shownBoxes[0].caption, QString("Ambervale"));
        }
        QCOMPARE(platform.inputPrompts.size(), 1); // never asks again by itself
    }

    void sampleHasSixDifferentPlainAddresses() {
        const QStringList addresses = sample();
        QCOMPARE(addresses.size(), 6);
        QCOMPARE(QSet<QString>(addresses.begin(), addresses.end()).size(), 6);
        for (const QString& address : addresses) {
            QCOMPARE(address.count(u'@'), 1);
            QCOMPARE(address, address.toLower());
            QVERIFY2(!address.contains(u' '), qPrintable(address));
        }
    }

    void sampleDomains() {
        const QStringList addresses = sample();
        QStringList domains;
        for (const QString& address : addresses)
            domains << domain(address);
        const QString a = domains[0], b = domains[1], c = domains[4];
        // One word and the commercial top-level domain, A a known free-mail domain.
        for (const QString& name : {a, b, c})
            QVERIFY2(QRegularExpression("^[a-z]+\\.com$").match(name).hasMatch(), qPrintable(name));
        QVERIFY(QStringList({"gmail.com", "yahoo.com", "hotmail.com", "outlook.com", "aol.com"})
                    .contains(a));
        QCOMPARE(domains, (QStringList{a, b, a, a, c, c}));
        QCOMPARE(QSet<QString>({a, b, c}).size(), 3);
        QVERIFY(a < c && c < b);
    }

    void sampleLocalParts() {
        const QStringList addresses = sample();
        QStringList local;
        for (const QString& address : addresses)
            local << localPart(address);
        const char* shapes[] = {"^[a-z]{2,6}$",   "^[a-z]{2,6}$", "^[a-z]+_[a-z]+$",
                                "^[a-z]+\\d{4}$", "^[a-z]{4}$",   "^[a-z]{3}$"};
        for (int i = 0; i < 6; ++i)
            QVERIFY2(QRegularExpression(shapes[i]).match(local[i]).hasMatch(),
                     qPrintable(local[i]));
        // Within A (addresses 1, 3, 4) neither ascending nor descending; ascending is 4, 1, 3.
        QVERIFY(local[3] < local[0] && local[0] < local[2]);
        // Within C (addresses 5, 6) descending.
        QVERIFY(local[4] > local[5]);
    }

    void aFailingAppendIsReportedWithItsNumber_data() {
        QTest::addColumn<int>("failing");
        QTest::addColumn<int>("line");
        const int lines[] = {106, 100, 102, 104, 108, 110};
        for (int i = 0; i < 6; ++i)
            QTest::newRow(qPrintable(QString("address %1").arg(i + 1))) << i << lines[i];
    }

    void aFailingAppendIsReportedWithItsNumber() {
        QFETCH(int, failing);
        QFETCH(int, line);
        QTemporaryDir dir;
        ScriptedPlatform platform(dir.path());
        QStringList appended;
        int calls = 0;
        AppendSampleEmails(platform, [&](QStringView address) {
            if (calls++ == failing)
                throw AppError("Out of memory");
            appended << address.toString();
        });
        QStringList expected = sample();
        expected.removeAt(failing);
        QCOMPARE(appended, expected);
        QCOMPARE(platform.shownBoxes.size(), size_t(1));
        QVERIFY(platform.shownBoxes[0].text.startsWith(
            ReportHead("Out of memory", "Form1.PushButton7_Click", line)));
    }

    void fillingTheInputListThroughTheButtons() {
        TestWindow t;
        Form1& form = t.start();
        t.writeFile("lists/first.txt", "one@x.com\r\n\r\nno address here\r\n two@y.com \r\n");
        t.writeFile("lists/second.txt", "three@z.com\nfour@x.com, five@y.com\n@\n");
        t.platform.inputAnswers = {" typed@Example.com"};
        t.platform.openDialogAnswers = {t.root() + "/lists" + QChar(u'\0') + "second.txt" +
                                        QChar(u'\0') + "first.txt"};

        form.PushButton7->click();
        form.PushButton6->click();
        form.PushButton3->click();
        form.PushButton7->click();

        QStringList expected = sample();
        expected << " typed@Example.com"
                 << "three@z.com"
                 << "four@x.com, five@y.com"
                 << "@"
                 << "one@x.com"
                 << " two@y.com ";
        expected << sample();
        QCOMPARE(Entries(form.state().ListView1), expected);
        QCOMPARE(form.state().ListView2.count(), 0);
        QVERIFY(t.platform.shownBoxes.empty());
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        QCoreApplication::processEvents();
        QCOMPARE(form.ListView1->model()->rowCount(), expected.size());
        QCOMPARE(form.ListView1->model()->headerData(0, Qt::Horizontal).toString(),
                 QString(" Email(s)"));
    }
};

QTEST_MAIN(TestAddAndSample)
#include "test_add_and_sample.moc"
