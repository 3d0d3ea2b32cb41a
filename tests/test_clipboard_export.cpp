#include "ClipboardExport.h"
#include "ListContents.h"
#include "QtPlatform.h"
#include "ScriptedPlatform.h"
#include "TestWindow.h"
#include "YieldActions.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QPushButton>
#include <QtTest>

namespace {
const QString kCopied = QStringLiteral(
    "Results have been copied to the clipboard.\r\rClick a text area where you normally type "
    "and press Ctrl+V to paste the clipboard.");
} // namespace

class TestClipboardExport : public QObject {
    Q_OBJECT

private slots:
    void copiesEveryCharacter_data() {
        QTest::addColumn<QStringList>("results");
        QTest::addColumn<QString>("text");
        QTest::newRow("padding is trimmed away") << QStringList{"a", "abcd"} << "a\r\nabcd\r\n";
        QTest::newRow("own trailing blanks go too")
            << QStringList{"x@y   ", "  lead@x", "   "} << "x@y\r\n  lead@x\r\n\r\n";
        QTest::newRow("only blanks are trimmed")
            << QStringList{"x@y\t ", "a@b\u00a0"} << "x@y\t\r\na@b\u00a0\r\n";
        QTest::newRow("no header, beyond ASCII") << QStringList{"Result(s)x@y", "jörg@𝒳.de", "a@b"}
                                                 << "Result(s)x@y\r\njörg@𝒳.de\r\na@b\r\n";
    }

    void copiesEveryCharacter() {
        QFETCH(QStringList, results);
        QFETCH(QString, text);
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, results);
        t.platform.clipboard = "old";
        form.PushButton5->click();
        QCOMPARE(t.platform.clipboard.value_or("(cleared)"), text);
        QCOMPARE(t.platform.clipboardClears, 1);
        QCOMPARE(t.platform.clipboardSets, 1);
        QCOMPARE(t.platform.yieldCount, 3 * int(results.size()));
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        const auto& box = t.platform.shownBoxes.front();
        QCOMPARE(box.text, kCopied);
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.caption, t.platform.applicationTitle());
        QCOMPARE(form.state().mousePointer(), MousePointer::Default);
    }

    void emptyResultsLeaveTheClipboardButStillTell() {
        TestWindow t;
        Form1& form = t.start();
        t.platform.clipboard = "old";
        form.PushButton5->click();
        QCOMPARE(t.platform.clipboard, std::optional<QString>("old"));
        QCOMPARE(t.platform.clipboardClears, 0);
        QCOMPARE(t.platform.clipboardSets, 0);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        QCOMPARE(t.platform.shownBoxes.front().text, kCopied);
    }

    void aBusyClipboardIsTriedUpTo1000Times_data() {
        QTest::addColumn<int>("clearFailures");
        QTest::addColumn<int>("setFailures");
        QTest::addColumn<int>("clears");
        QTest::addColumn<int>("sets");
        QTest::addColumn<bool>("copied");
        QTest::newRow("set works at the last attempt") << 0 << 999 << 1 << 1000 << true;
        QTest::newRow("set never works") << 0 << 1500 << 1 << 1000 << false;
        QTest::newRow("clear never works") << 1500 << 0 << 1000 << 1 << true;
    }

    void aBusyClipboardIsTriedUpTo1000Times() {
        QFETCH(int, clearFailures);
        QFETCH(int, setFailures);
        QFETCH(int, clears);
        QFETCH(int, sets);
        QFETCH(bool, copied);
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b"});
        t.platform.clipboard = "old";
        t.platform.injectFailure(ScriptedPlatform::Operation::ClearClipboard, "busy",
                                 clearFailures);
        t.platform.injectFailure(ScriptedPlatform::Operation::SetClipboardText, "busy",
                                 setFailures);
        form.PushButton5->click();
        QCOMPARE(t.platform.clipboardClears, clears);
        QCOMPARE(t.platform.clipboardSets, sets);
        QCOMPARE(t.platform.clipboard == QString("a@b\r\n"), copied);
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        // A copy that never happened is reported as an error, not as copied.
        if (copied)
            QCOMPARE(t.platform.shownBoxes.front().text, kCopied);
        else
            QVERIFY(t.platform.shownBoxes.front().text.startsWith("Can't open Clipboard\r\n"));
    }

    void setClipboardTextAnswersWhetherItWorked() {
        TestWindow t;
        QVERIFY(SetClipboardText(t.platform, "x"));
        t.platform.injectFailure(ScriptedPlatform::Operation::SetClipboardText, "busy", 1000);
        QVERIFY(!SetClipboardText(t.platform, "y"));
        QCOMPARE(t.platform.clipboard, std::optional<QString>("x"));
    }

    // Clearing or filtering the results meanwhile changes the list, not the copy.
    void copiesTheResultsAsTheyWereWhenItBegan() {
        TestWindow t;
        Form1& form = t.start();
        Fill(form.state().ListView2, {"a@b", "c@d", "e@f"});
        t.platform.inputAnswers = {"@"};
        YieldActions actions(t.platform, form.state());
        actions.atNextYield([&] { form.PushButton2->click(); }).atNextYield([&] {
            Fill(form.state().ListView2, {"new@x"});
            form.PushButton22->click();
        });
        form.PushButton5->click();
        QVERIFY(actions.done());
        QCOMPARE(form.state().ListView2.count(), 0);
        QCOMPARE(t.platform.clipboard.value_or("(cleared)"), QString("a@b\r\nc@d\r\ne@f\r\n"));
    }

    void theSystemClipboardGetsTheText() {
        QTemporaryDir dir;
        QtPlatform platform(ScriptedPlatform::locationsIn(dir.path()));
        FormState form;
        Fill(form.ListView2, {"a@b  ", "c@d"});
        CopyListviewToClipboard(form.ListView2, platform);
        QCOMPARE(QGuiApplication::clipboard()->text(), QString("a@b\r\nc@d\r\n"));
        platform.clearClipboard();
        QCOMPARE(QGuiApplication::clipboard()->text(), QString());
    }
};

QTEST_MAIN(TestClipboardExport)
#include "test_clipboard_export.moc"
