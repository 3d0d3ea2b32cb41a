#include "ErrorReport.h"
#include "ScriptedPlatform.h"

#include <QTemporaryDir>
#include <QtTest>

class TestErrorReport : public QObject {
    Q_OBJECT
    QTemporaryDir dir;

private slots:
    void reportNamesTheStatementAndTheProcedure() {
        ScriptedPlatform platform(dir.path());
        ErrorReport report(platform, "Form1", "PushButton17_Click");
        QVERIFY(!report.run(124, [] { throw AppError("Invalid procedure call or argument"); }));

        QCOMPARE(platform.shownBoxes.size(), size_t(1));
        const auto& box = platform.shownBoxes.front();
        QCOMPARE(box.text, QString("Invalid procedure call or argument\r\n"
                                   "in Kelvamore2021/08/31.Form1.PushButton17_Click at line 124"
                                   "\r\rPlease email screenshot of this message to "
                                   "support@quillmere.example"));
        QCOMPARE(box.caption, QString("Application Error"));
        QCOMPARE(box.icon, MessageIcon::Exclamation);
        QCOMPARE(box.buttons, MessageButtons::Ok);
    }

    void procedureGoesOnAfterEachFailure() {
        ScriptedPlatform platform(dir.path());
        ErrorReport report(platform, "Sorting", "SortingDB");
        QStringList done;
        report.run(100, [&] { done << "100"; });
        report.run(102, [&] { throw AppError("first"); });
        report.run(104, [&] { done << "104"; });
        report.run(106, [&] {
            done << "106 began";
            throw std::bad_alloc();
        });
        report.run(108, [&] { done << "108"; });

        QCOMPARE(done, QStringList({"100", "104", "106 began", "108"}));
        QCOMPARE(platform.shownBoxes.size(), size_t(2));
        QVERIFY(platform.shownBoxes[0].text.startsWith("first\r\nin Kelvamore2021/08/31.Sorting."
                                                       "SortingDB at line 102\r\r"));
        QVERIFY(platform.shownBoxes[1].text.startsWith("Out of memory\r\n"));
        QVERIFY(platform.shownBoxes[1].text.contains("SortingDB at line 106\r\r"));
    }

    void succeedingStatementsShowNothing() {
        ScriptedPlatform platform(dir.path());
        ErrorReport report(platform, "Form1", "Form_Load");
        QVERIFY(report.run(100, [] {}));
        QCOMPARE(report.location(), QString("in Kelvamore2021/08/31.Form1.Form_Load "));
        QVERIFY(platform.shownBoxes.empty());
    }
};

QTEST_GUILESS_MAIN(TestErrorReport)
#include "test_error_report.moc"
