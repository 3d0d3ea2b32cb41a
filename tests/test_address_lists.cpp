#include "AddressListModel.h"
#include "FormState.h"
#include "ListCommands.h"
#include "ListContents.h"
#include "PackedEnds.h"
#include "PathNames.h"
#include "PerDomainLimit.h"
#include "ScriptedPlatform.h"

#include <QAbstractItemModelTester>
#include <QTemporaryDir>
#include <QtTest>

class TestAddressLists : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void storeKeepsTextsOrderAndDuplicates() {
        AddressStore store;
        const QStringList texts{" a@b ", "a@b", "", "x@y,z@w", "a@b", QString(70000, u'q') + "@d"};
        for (const QString& text : texts)
            store.append(text);
        QCOMPARE(store.count(), texts.size());
        for (qsizetype i = 0; i < texts.size(); ++i)
            QCOMPARE(store.text(i), texts[i]);

        store.removeAt(1);
        store.removeAt(0);
        QCOMPARE(store.text(0), QString(""));
        QCOMPARE(store.text(1), QString("x@y,z@w"));
        QCOMPARE(store.text(3), texts[5]);
    }

    void manyRemovalsCompactWithoutLosingEntries() {
        AddressStore store;
        for (int i = 0; i < 1000; ++i)
            store.append(QString("user%1@d%2").arg(i).arg(i % 7));
        for (int i = 0; i < 900; ++i)
            store.removeAt(0);
        QCOMPARE(store.count(), 100);
        QCOMPARE(store.text(0), QString("user900@d4"));
        QCOMPARE(store.text(99), QString("user999@d5"));
        QVERIFY(store.memoryUsed() < 1000 * 24);
    }

    void snapshotIsUntouchedByLaterChanges() {
        AddressStore store;
        store.append(u"a@b");
        store.append(u"c@d");
        const AddressStore snapshot = store;
        store.removeAt(0);
        store.append(u"e@f");
        store.clear();
        QCOMPARE(snapshot.count(), 2);
        QCOMPARE(snapshot.text(0), QString("a@b"));
        QCOMPARE(snapshot.text(1), QString("c@d"));
        QCOMPARE(store.count(), 0);
    }

    void retainIfKeepsOrder() {
        AddressStore store;
        for (const char* text : {"a@x", "b@y", "c@x", "d@z", "e@x"})
            store.append(QString::fromLatin1(text));
        const qsizetype removed =
            store.retainIf([](QAnyStringView s) { return !s.toString().endsWith(u"x"); });
        QCOMPARE(removed, 3);
        QCOMPARE(store.count(), 2);
        QCOMPARE(store.text(0), QString("b@y"));
        QCOMPARE(store.text(1), QString("d@z"));
    }

    // Texts that fit in Latin-1 take a byte a character, the rest UTF-16, in
    // one buffer: every width, appended in any mix and order, reads back
    // exactly, also after a removal and a filter have moved them.
    void mixedWidthsReadBackExactly() {
        const QStringList texts{"odd@x",
                                QString::fromUtf16(u"李@例子.cn"),
                                QString::fromUtf16(u"jürgen@straße.de"),
                                QString::fromUtf16(u"a\U0001F600@b"),
                                "",
                                QString::fromUtf16(u"ÿ@\u0100"),
                                "ab@c"};
        AddressStore store;
        QStringList all;
        for (int round = 0; round < 3; ++round) {
            for (const QString& text : texts)
                store.append(text);
            all << texts;
        }
        // Through UTF-8 too, as another library hands text over.
        store.append(QUtf8StringView("ascii@utf8"));
        store.append(QUtf8StringView("\xc3\xa9t\xc3\xa9@\xe6\x9d\x8e"));
        all << "ascii@utf8" << QString::fromUtf16(u"été@李");
        auto check = [&] {
            QCOMPARE(store.count(), all.size());
            for (qsizetype i = 0; i < all.size(); ++i)
                QCOMPARE(store.text(i), all[i]);
        };
        check();
        // Each removal moves the later texts by an odd number of bytes.
        store.removeAt(0);
        all.removeAt(0);
        check();
        QCOMPARE(store.retainIf([](QAnyStringView s) { return s != QLatin1StringView("odd@x"); }),
                 2);
        all.removeAll("odd@x");
        check();
    }

    void latin1TextTakesAByteACharacter() {
        QStringList texts;
        qsizetype chars = 0;
        for (int i = 0; i < 10000; ++i) {
            texts << QString::fromUtf16(u"user%1@domäin.com").arg(i);
            chars += texts.last().size();
        }
        AddressStore narrow, wide;
        narrow.reserve(texts.size(), chars);
        for (const QString& text : texts) {
            narrow.append(text);
            wide.append(text + QChar(0x2603));
        }
        QCOMPARE(narrow.memoryUsed(), chars + texts.size() * 4);
        QVERIFY(wide.memoryUsed() >= 2 * (chars + texts.size()) + texts.size() * 4);
        QCOMPARE(narrow.text(9999), QString::fromUtf16(u"user9999@domäin.com"));
        QCOMPARE(wide.text(9999), QString::fromUtf16(u"user9999@domäin.com☃"));
    }

    // Ends take a small word each until one does not fit; then all are
    // widened once. Small words here make that happen in a small list.
    void endsWidenWhenOneDoesNotFit() {
        PackedEnds<quint16> ends;
        QList<quint64> expected;
        for (quint64 end = 0; end < 100000; end += 997) {
            const quint64 flagged = end % 3 == 0 ? end | PackedEnds<quint16>::kFlag : end;
            ends.append(flagged);
            expected << flagged;
            if (end < 32768 && end + 997 >= 32768) // the last end in small words
                QVERIFY(ends.memoryUsed() < ends.size() * qsizetype(sizeof(quint64)));
        }
        QCOMPARE(ends.size(), expected.size());
        for (qsizetype i = 0; i < ends.size(); ++i)
            QCOMPARE(ends.at(i), expected[i]);
        ends.replace(5, 3 | PackedEnds<quint16>::kFlag);
        ends.resize(6);
        QCOMPARE(ends.at(5), 3 | PackedEnds<quint16>::kFlag);
        QCOMPARE(ends.at(4), expected[4]);
        QVERIFY(ends.memoryUsed() >= 6 * qsizetype(sizeof(quint64)));
    }

    void retainIfLeavesASnapshotAlone() {
        AddressStore store;
        for (const char* text : {"a@x", "b@y", "c@x"})
            store.append(QString::fromLatin1(text));
        const AddressStore snapshot = store;
        QCOMPARE(store.retainIf([](QAnyStringView s) { return s.toString().endsWith(u"x"); }), 1);
        QCOMPARE(store.text(1), QString("c@x"));
        QCOMPARE(snapshot.count(), 3);
        QCOMPARE(snapshot.text(1), QString("b@y"));
        QCOMPARE(snapshot.text(2), QString("c@x"));
    }

    // A test that fails part way keeps the removals made so far and every entry not yet tested.
    void retainIfStoppedPartWayKeepsTheRest() {
        AddressListModel model("Result(s)");
        for (int i = 0; i < 10; ++i)
            model.append(QString("e%1@x").arg(i));
        model.removeAt(0);
        int tested = 0;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, model.retainIf([&](QAnyStringView entry) {
            const QString s = entry.toString();
            if (++tested == 6)
                throw std::runtime_error("stop");
            return !s.startsWith(u"e2") && !s.startsWith(u"e4");
        }));
        QCOMPARE(model.rowCount(), 7);
        QStringList texts;
        for (qsizetype i = 0; i < model.count(); ++i)
            texts << model.text(i);
        QCOMPARE(texts, QStringList({"e1@x", "e3@x", "e5@x", "e6@x", "e7@x", "e8@x", "e9@x"}));
        model.append(u"late@x");
        model.retainIf([](QAnyStringView s) { return !s.toString().startsWith(u"e"); });
        QCOMPARE(model.count(), 1);
        QCOMPARE(model.text(0), QString("late@x"));
    }

    void modelAnnouncesAppendsInOneBatch() {
        AddressListModel model("Result(s)");
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        for (int i = 0; i < 500; ++i)
            model.append(QString("a%1@b").arg(i));
        QCOMPARE(model.count(), 500);
        QCOMPARE(model.rowCount(), 0);
        QCoreApplication::processEvents();
        QCOMPARE(inserted.size(), 1);
        QCOMPARE(model.rowCount(), 500);
        QCOMPARE(model.data(model.index(499, 0), Qt::DisplayRole).toString(), QString("a499@b"));
        QCOMPARE(model.headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(),
                 QString("Result(s)"));

        // Removal and filtering right after unannounced appends stay consistent.
        model.append(u"late@b");
        model.removeAt(0);
        QCOMPARE(model.rowCount(), 500);
        model.retainIf([](QAnyStringView s) { return s.toString().startsWith(u"a1"); });
        QCOMPARE(model.rowCount(), int(model.count()));
        QCOMPARE(model.count(), 111);
        model.clear();
        QCOMPARE(model.rowCount(), 0);
    }

    void removingTheSelectedEntry_data() {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<int>("selected");
        QTest::addColumn<bool>("busy");
        QTest::addColumn<QStringList>("after");
        const QStringList five{"1@a", "2@a", "3@a", "4@a", "5@a"};
        QTest::newRow("third of five")
            << five << 2 << false << QStringList{"1@a", "2@a", "4@a", "5@a"};
        QTest::newRow("twin stays")
            << QStringList{"x@y", "x@y"} << 1 << false << QStringList{"x@y"};
        QTest::newRow("empty list") << QStringList{} << 0 << false << QStringList{};
        QTest::newRow("none selected") << five << -1 << false << five;
        QTest::newRow("busy") << five << 2 << true << five;
    }

    void removingTheSelectedEntry() {
        QFETCH(QStringList, before);
        QFETCH(int, selected);
        QFETCH(bool, busy);
        QFETCH(QStringList, after);
        FormState form;
        Fill(form.ListView1, before);
        Fill(form.ListView2, {"r@s"});
        form.setMousePointer(busy ? MousePointer::Busy : MousePointer::Default);
        RemoveSelectedEntry(form, form.ListView1, selected);
        QCOMPARE(Entries(form.ListView1), after);
        QCOMPARE(Entries(form.ListView2), QStringList{"r@s"});
    }

    void clearListRespectsBusyClearResultsDoesNot() {
        ScriptedPlatform platform(dir.path());
        FormState form;
        Fill(form.ListView1, {"a@b", "c@d"});
        Fill(form.ListView2, {"e@f"});

        form.setMousePointer(MousePointer::Busy);
        ClearInputList(form);
        QCOMPARE(form.ListView1.count(), 2);
        ClearResults(form);
        QCOMPARE(form.ListView2.count(), 0);

        Fill(form.ListView2, {"e@f"});
        form.setMousePointer(MousePointer::Default);
        ClearInputList(form);
        QCOMPARE(form.ListView1.count(), 0);
        QCOMPARE(Entries(form.ListView2), QStringList{"e@f"});
        QCOMPARE(form.ListView1.header(), QString(" Email(s)"));
        QVERIFY(platform.shownBoxes.empty());
    }

    void fileNameFromPath() {
        QCOMPARE(FileNameFromPath("/home/u/list.txt"), QString("list.txt"));
        QCOMPARE(FileNameFromPath("C:\\lists\\a.txt", u'\\'), QString("a.txt"));
        QCOMPARE(FileNameFromPath("plain@address"), QString("plain@address"));
        QCOMPARE(FileNameFromPath("a/b@c/d"), QString("d"));
        QCOMPARE(FileNameFromPath("folder/"), QString(""));
    }

    void collapseDoubleSeparators_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("separator");
        QTest::addColumn<QString>("expected");
        QTest::newRow("drive root") << "C:\\\\a.txt"
                                    << "\\"
                                    << "C:\\a.txt";
        QTest::newRow("network") << "\\\\server\\share\\a.txt"
                                 << "\\"
                                 << "\\\\server\\share\\a.txt";
        QTest::newRow("leading run") << "\\\\\\\\server\\a"
                                     << "\\"
                                     << "\\\\server\\a";
        QTest::newRow("run of three") << "C:\\x\\\\\\a.txt"
                                      << "\\"
                                      << "C:\\x\\\\a.txt";
        QTest::newRow("run of four") << "C:\\x\\\\\\\\a"
                                     << "\\"
                                     << "C:\\x\\\\a";
        QTest::newRow("root slash") << "//a.txt"
                                    << "/"
                                    << "//a.txt";
        QTest::newRow("folder slash") << "/home/u//a.txt"
                                      << "/"
                                      << "//home/u/a.txt";
        QTest::newRow("relative") << "lists//x///y"
                                  << "/"
                                  << "lists/x//y";
        QTest::newRow("other separator untouched") << "/a\\\\b"
                                                   << "/"
                                                   << "//a\\\\b";
    }

    void collapseDoubleSeparators() {
        QFETCH(QString, path);
        QFETCH(QString, separator);
        QFETCH(QString, expected);
        QCOMPARE(CollapseDoubleBackslashes(path, separator.at(0)), expected);
    }

    void perDomainLimit_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "5" << true << 5;
        QTest::newRow("blanks around") << " 7 " << true << 7;
        QTest::newRow("half to even down") << "2.5" << true << 2;
        QTest::newRow("half to even up") << "3.5" << true << 4;
        QTest::newRow("negative half") << "-0.5" << true << 0;
        QTest::newRow("exponent") << "1e2" << true << 100;
        QTest::newRow("too large") << "100000" << true << 32767;
        QTest::newRow("too small") << "-99999999" << true << -32768;
        QTest::newRow("letters") << "abc" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("number then text") << "5x" << false << 0;
        QTest::newRow("infinite") << "1e999" << false << 0;
        QTest::newRow("too small for a double") << "-1e-999" << true << 0;
        QTest::newRow("thousands") << "1,000.5" << true << 1000;
    }

    void perDomainLimit() {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(int, value);
        QCOMPARE(IsNumeric(text), numeric);
        QCOMPARE(PerDomainLimit(text).has_value(), numeric);
        if (numeric)
            QCOMPARE(int(*PerDomainLimit(text)), value);
    }
};

QTEST_GUILESS_MAIN(TestAddressLists)
#include "test_address_lists.moc"
