#include "AddressListView.h"
#include "ListContents.h"
#include "PointerLog.h"
#include "ResultFilters.h"
#include "TestWindow.h"

#include <QPushButton>
#include <QRandomGenerator>
#include <QtTest>

namespace {
QStringList filtered(const QStringList& results, const QString& text, bool containing) {
    AddressListModel list(QStringLiteral("Result(s)"));
    Fill(list, results);
    (containing ? RemoveResultsContaining : RemoveResultsNotContaining)(list, text);
    return Entries(list);
}
} // namespace

class TestResultFilters : public QObject {
    Q_OBJECT

private slots:
    void removesByLowerCaseContainment_data() {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("containing");
        QTest::addColumn<QStringList>("remaining");
        const QStringList mixed{"anna@example.com", "BOB@EXAMPLE.ORG", "carl@other.net"};
        QTest::newRow("capitals find lower case")
            << mixed << "EXAMPLE" << true << QStringList{"carl@other.net"};
        QTest::newRow("lower case finds capitals")
            << mixed << "example.org" << true << QStringList{"anna@example.com", "carl@other.net"};
        QTest::newRow("@ removes every result") << mixed << "@" << true << QStringList{};
        QTest::newRow("not containing @ removes none") << mixed << "@" << false << mixed;
        QTest::newRow("domain also hits longer domains and local parts")
            << QStringList{"a@mail.com", "b@gmail.com", "mail.com.fan@x.org", "c@mail.co"}
            << "mail.com" << true << QStringList{"c@mail.co"};
        QTest::newRow("not containing keeps one domain in order")
            << QStringList{"a@x.com", "b@y.com", "c@X.COM", "d@z.com"} << "@x.com" << false
            << QStringList{"a@x.com", "c@X.COM"};
        QTest::newRow("not containing an absent text empties the list")
            << mixed << "zzz" << false << QStringList{};
        QTest::newRow("leading blank needs the blank")
            << QStringList{"john smith@x.com", "johnsmith@x.com", "smith@x.com"} << " smith" << true
            << QStringList{"johnsmith@x.com", "smith@x.com"};
        QTest::newRow("duplicates go together")
            << QStringList{"d@x", "e@y", "d@x", "D@X"} << "d@x" << true << QStringList{"e@y"};
        QTest::newRow("duplicates stay together")
            << QStringList{"d@x", "e@y", "d@x"} << "D@" << false << QStringList{"d@x", "d@x"};
        QTest::newRow("letters beyond ASCII")
            << QStringList{"JÖRG@BEISPIEL.DE", "jorg@x.de", "Jörg@y.de"} << "jöRG" << true
            << QStringList{"jorg@x.de"};
        QTest::newRow("letters outside the BMP")
            << QStringList{"𐐀bc@x", "𐐨xy@x", "abc@x"} << "𐐀" << true << QStringList{"abc@x"};
        // Lowering, not case folding: long s and final sigma are already lower case.
        QTest::newRow("long s is not s")
            << QStringList{"ſam@x.com", "Sam@x.com"} << "S" << true << QStringList{"ſam@x.com"};
        QTest::newRow("final sigma is not sigma")
            << QStringList{"ΑΣ@x", "ας@x"} << "Σ" << true << QStringList{"ας@x"};
        QTest::newRow("dotted capital I lowers to two characters")
            << QStringList{"İZMİR@x.tr", "izmir@x.tr"} << "izmir" << true
            << QStringList{"İZMİR@x.tr"};
    }

    void removesByLowerCaseContainment() {
        QFETCH(QStringList, results);
        QFETCH(QString, text);
        QFETCH(bool, containing);
        QFETCH(QStringList, remaining);
        QCOMPARE(filtered(results, text, containing), remaining);
    }

    // Every answer must be the one that lowering both texts gives.
    void agreesWithLoweringBothTexts() {
        const QStringList pieces{"a", "A", "s", "S", "ſ", "ö", "Ö", "i", "İ", "σ", "ς",
                                 "Σ", "𐐀", "𐐨", "K", "k", "@", " ", ".", "ß", "ẞ"};
        QRandomGenerator random(6);
        auto text = [&](int length) {
            QString out;
            for (int i = 0; i < length; ++i)
                out += pieces[random.bounded(int(pieces.size()))];
            return out;
        };
        QStringList results;
        for (int i = 0; i < 400; ++i)
            results << text(random.bounded(1, 8));
        for (int round = 0; round < 60; ++round) {
            const QString searched = text(random.bounded(1, 3));
            QStringList expected;
            for (const QString& result : results)
                if (!result.toLower().contains(searched.toLower()))
                    expected << result;
            QCOMPARE(filtered(results, searched, true), expected);
        }
    }

    void buttonsAskThenFilterTheResultsOnly() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView1, {"in@example.com", "other@x.org"});
        Fill(form.state().ListView2, {"a@example.com", "b@x.org", "c@EXAMPLE.com"});
        PointerLog pointers(form.state());

        t.platform.inputAnswers = {"Example", "c@"};
        form.PushButton22->click();
        QCOMPARE(Entries(form.state().ListView2), QStringList{"b@x.org"});
        form.PushButton23->click();
        QCOMPARE(Entries(form.state().ListView2), QStringList{});

        QCOMPARE(t.platform.inputPrompts,
                 QStringList({"Remove results containing this text: ",
                              "Remove results not containing this text: "}));
        QCOMPARE(Entries(form.state().ListView1), QStringList({"in@example.com", "other@x.org"}));
        QCOMPARE(pointers.shown, QList<MousePointer>({MousePointer::Busy, MousePointer::Default,
                                                      MousePointer::Busy, MousePointer::Default}));
        QVERIFY(t.platform.shownBoxes.empty());
        QCOMPARE(form.ListView2->model()->headerData(0, Qt::Horizontal).toString(),
                 QString("Result(s)"));
    }

    void emptyResultsAreToldAfterTheQuestion() {
        TestWindow t;
        Form1& form = t.start();
        PointerLog pointers(form.state());

        t.platform.inputAnswers = {"x"};
        form.PushButton23->click();
        QCOMPARE(t.platform.inputPrompts.size(), 1);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        const auto& box = t.platform.shownBoxes.front();
        QCOMPARE(box.text, QString("There are no results to remove."));
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.caption, t.platform.applicationTitle());
        QCOMPARE(pointers.shown, QList<MousePointer>({MousePointer::Busy, MousePointer::Default}));

        // Cancel: no message, and the pointer is not touched.
        form.PushButton22->click();
        QCOMPARE(t.platform.inputPrompts.size(), 2);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(pointers.shown.size(), 2);
    }

    void cancelLeavesTheResults() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b", "c@d"});
        form.PushButton22->click();
        form.PushButton23->click();
        QCOMPARE(Entries(form.state().ListView2), QStringList({"a@b", "c@d"}));
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
        QVERIFY(t.platform.shownBoxes.empty());
    }
};

QTEST_MAIN(TestResultFilters)
#include "test_result_filters.moc"
