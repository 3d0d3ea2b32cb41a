#include "DriverProgram.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {
const QString kDone = "box : Done.";
const QString kCopied = "box : Results have been copied to the clipboard.  Click a text area where "
                        "you normally type and press Ctrl+V to paste the clipboard.";

QString report(const QString& description, const QString& procedure, int line) {
    return QString("box Application Error: %1  in Kelvamore2021/08/31.%2 at line %3  Please email "
                   "screenshot of this message to support@quillmere.example")
        .arg(description, procedure)
        .arg(line);
}

QString writeList(const QString& path, int count, const char* pattern) {
    QByteArray text;
    for (int i = 0; i < count; ++i)
        text += QByteArray(pattern).replace("%", QByteArray::number(i)) + '\n';
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size())
        return {};
    return path;
}

// The part of a "lists" line that describes the input list.
QString inputPart(const QString& line) {
    return line.section(u' ', 1, 2);
}
} // namespace

// The real program on the real platform, short of memory or of disk.
class TestProcessLimits : public QObject {
    Q_OBJECT

private slots:
    // No room beyond what the window already holds: each command completes
    // or says "Out of memory", and the window goes on with its lists intact.
    void runningOutOfMemoryIsAReport() {
#ifdef AMBERVALE_SANITIZE
        QSKIP("AddressSanitizer reserves more address space than any limit leaves");
#endif
        QTemporaryDir home;
        const QString big = writeList(home.filePath("big.txt"), 1000000, "someone%@far.example");
        const QString small = writeList(home.filePath("small.txt"), 100, "small%@near.example");
        QVERIFY(!big.isEmpty() && !small.isEmpty());
        DriverProgram program(home.path());
        program.start({"option1", "fill:300000", "lists", "limit:0", "run", "lists:300000",
                       "filter:a", "filter-not:@", "lists:300000", "save:" + home.filePath("out"),
                       "copy", "tmpdir:" + home.path(), "xlsx", "lists:300000", "load:" + big,
                       "lists:300000", "load:" + small, "lists"});
        const QStringList lines = program.finish();
        QVERIFY(program.endedWell());
        QCOMPARE(Matching(lines, "done"), QStringList{"done"});

        // Only the usual boxes, and reports of nothing but memory.
        QStringList failures;
        for (const QString& box : Matching(lines, "box"))
            if (box != kDone && box != kCopied &&
                !box.startsWith("box Application Error: Out of memory  in "))
                failures << box;
        QCOMPARE(failures, QStringList());
        QCOMPARE(Matching(lines, report("Out of memory", "Form1.PushButton3_Click", 120)).size(),
                 1);

        const QStringList lists = Matching(lines, "lists ");
        QCOMPARE(lists.size(), 6);
        for (const QString& line : lists.mid(1, 4))
            QCOMPARE(inputPart(line), inputPart(lists[0]));
        QCOMPARE(lists[4], lists[3]); // the load that failed took nothing and left nothing
        // The smaller file loads in full afterwards.
        QCOMPARE(lists[5].section(u' ', 1, 1).toLongLong(),
                 lists[4].section(u' ', 1, 1).toLongLong() + 100);
    }

    // A file system with no room left: the text file and the workbook say so
    // in the platform's words and leave nothing behind; the clipboard needs no disk.
    void aFullDiskIsNamed() {
        QTemporaryDir home;
        const QString disk = home.filePath("disk");
        const QString out = disk + "/out.txt";
        QVERIFY(QDir().mkpath(disk));
        DriverProgram program(home.path());
        program.start({"small-disk:" + disk + ":64", "option1", "fill:10", "run", "save:" + out,
                       "file:" + out, "fill:20000", "run", "save:" + out, "file:" + out,
                       "folder:" + disk, "copy", "tmpdir:" + disk, "xlsx", "folder:" + disk});
        const QStringList lines = program.finish();
        if (!Matching(lines, "no small disk").isEmpty())
            QSKIP(qPrintable(Matching(lines, "no small disk").front()));
        QVERIFY(program.endedWell());
        const QStringList boxes{
            kDone,
            kDone,
            report("Disk full", "Main.SaveListviewProperlySpaced", 116),
            kCopied,
            report("Disk full", "Form1.PushButton13_Click", 116),
        };
        QCOMPARE(Matching(lines, "box"), boxes);
        const QStringList files = Matching(lines, "file ");
        QCOMPARE(files.size(), 2);
        QVERIFY(files[0] != "file none");
        QCOMPARE(files[1], files[0]); // the old file as it was
        QCOMPARE(Matching(lines, "folder "), QStringList(2, "folder out.txt"));
    }
};

QTEST_MAIN(TestProcessLimits)
#include "test_process_limits.moc"
