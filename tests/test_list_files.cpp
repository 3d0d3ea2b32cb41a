#include "AppError.h"
#include "Boxes.h"
#include "FormState.h"
#include "HeapInUse.h"
#include "ListContents.h"
#include "ListFile.h"
#include "LoadListFiles.h"
#include "PeakMemory.h"
#include "ShortReadDevice.h"
#include "TestWindow.h"

#include <QBuffer>
#include <QDir>
#include <QtTest>
#include <algorithm>
#include <sys/stat.h>
#include <unistd.h>

namespace {
const QString kTitle = QStringLiteral("Ambervale");
const QChar kNul(u'\0');

QStringList piecesOf(const QByteArray& bytes) {
    AddressListModel list(QStringLiteral(" Email(s)"));
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    AppendListText(buffer, list);
    return Entries(list);
}

QString withNul(const char* before, const char* after) {
    return QString::fromLatin1(before) + kNul + QString::fromLatin1(after);
}

// A file (or a stream, which cannot seek) of `size` bytes `fill` and then
// `tail`, made up as it is read. It notes the most the heap held at any read:
// the reader holds its buffers from one read to the next.
class MadeUpFile : public QIODevice {
public:
    MadeUpFile(char fill, qint64 size, QByteArray tail, bool stream = false)
        : fill_(fill), size_(size), tail_(std::move(tail)), stream_(stream) {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    qint64 size() const override { return size_ + tail_.size(); }
    bool isSequential() const override { return stream_; }
    bool seek(qint64 pos) override {
        if (!QIODevice::seek(pos))
            return false;
        at_ = pos;
        return true;
    }
    qint64 mostHeld = 0;

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        mostHeld = qMax(mostHeld, HeapInUse());
        const qint64 at = at_; // a stream has no pos()
        const qint64 filled = qBound(qint64(0), size_ - at, maxSize);
        memset(data, fill_, size_t(filled));
        const QByteArrayView rest =
            QByteArrayView(tail_).sliced(qMax(qint64(0), at + filled - size_));
        const qint64 tailed = qMin(maxSize - filled, rest.size());
        std::copy_n(rest.data(), tailed, data + filled);
        at_ += filled + tailed;
        return filled + tailed;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    char fill_;
    qint64 size_;
    QByteArray tail_;
    bool stream_;
    qint64 at_ = 0;
};
} // namespace

class TestListFiles : public QObject {
    Q_OBJECT

private slots:
    void piecesOfAFile_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("CR LF, blanks kept")
            << QByteArray("a@b.com\r\n\r\nsome plain words\r\n  c@d.com  \r\n")
            << QStringList{"a@b.com", "  c@d.com  "};
        QTest::newRow("LF only, final LF")
            << QByteArray("a@x\nb@y\nc@z\n") << QStringList{"a@x", "b@y", "c@z"};
        QTest::newRow("lone CR") << QByteArray("a@x\rb@y\rc@z") << QStringList{"a@x", "b@y", "c@z"};
        QTest::newRow("mixed ends") << QByteArray("a@x\r\nb@y\nc@z\rd@w\n\re@v\r\r\nf@u")
                                    << QStringList{"a@x", "b@y", "c@z", "d@w", "e@v", "f@u"};
        QTest::newRow("last line without end")
            << QByteArray("a@x\r\nb@y") << QStringList{"a@x", "b@y"};
        QTest::newRow("two addresses stay one entry")
            << QByteArray("a@x.com, b@y.com\r\n") << QStringList{"a@x.com, b@y.com"};
        QTest::newRow("at sign alone") << QByteArray("@\r\n") << QStringList{"@"};
        QTest::newRow("tabs and case kept")
            << QByteArray("\tMiXed@Case.COM \r\n") << QStringList{"\tMiXed@Case.COM "};
        QTest::newRow("no at sign") << QByteArray("alpha\r\nbeta gamma") << QStringList{};
        QTest::newRow("empty") << QByteArray() << QStringList{};
        QTest::newRow("line ends only") << QByteArray("\r\n\n\r\r\n") << QStringList{};
        QTest::newRow("NUL bytes kept")
            << QByteArray("a\0b@c\r\n\0\r\n", 11) << QStringList{withNul("a", "b@c")};
        QTest::newRow("UTF-8 text") << QByteArray("jos\xC3\xA9@caf\xC3\xA9.fr")
                                    << QStringList{QString::fromUtf8("jos\xC3\xA9@caf\xC3\xA9.fr")};
        QTest::newRow("invalid bytes replaced")
            << QByteArray("\xFFx@y\xC3\r\nok@z") << QStringList{"\uFFFDx@y\uFFFD", "ok@z"};
        QTest::newRow("cut character at the end")
            << QByteArray("a@b\xE2\x82") << QStringList{"a@b\uFFFD\uFFFD"};
        QTest::newRow("byte-order mark is text")
            << QByteArray("\xEF\xBB\xBF"
                          "a@b\r\n\xEF\xBB\xBF"
                          "c@d")
            << QStringList{QStringView(u"\uFEFFa@b").toString(),
                           QStringView(u"\uFEFFc@d").toString()};
    }

    void piecesOfAFile() {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        QCOMPARE(piecesOf(bytes), expected);
    }

    void everyCutBetweenReadsGivesTheSameEntries_data() {
        QTest::addColumn<qint64>("step");
        for (qint64 step : {1, 2, 3, 5, 7})
            QTest::newRow(qPrintable(QString::number(step))) << step;
    }

    void everyCutBetweenReadsGivesTheSameEntries() {
        QFETCH(qint64, step);
        // Multibyte characters, a cut character right before a line end, CR LF pairs.
        const QByteArray bytes("\xE2\x82\xAC@caf\xC3\xA9\r\nx@y\xC3\n"
                               "z@w\xE2\x82\rq@\xF0\x9F\x98\x80\r\n\r\nlast@one\xC3");
        const QStringList whole = piecesOf(bytes);
        QCOMPARE(whole, (QStringList{QString::fromUtf8("\xE2\x82\xAC@caf\xC3\xA9"), "x@y\uFFFD",
                                     "z@w\uFFFD\uFFFD", QString::fromUtf8("q@\xF0\x9F\x98\x80"),
                                     "last@one\uFFFD"}));
        AddressListModel list(QStringLiteral(" Email(s)"));
        ShortReadDevice device(bytes, [step] { return step; });
        AppendListText(device, list);
        QCOMPARE(Entries(list), whole);
    }

    void fiftyMegabytesOnOneLine() {
        TestWindow t;
        const QByteArray line = QByteArray(25'000'000, 'a') + '@' + QByteArray(25'000'000, 'b');
        const QString path = t.writeFile("one-line.txt", line);
        AddressListModel list(QStringLiteral(" Email(s)"));
        list.append(u"kept@before");
        QElapsedTimer timer;
        timer.start();
        LoadListFile(list, t.platform, path);
        qInfo("50 MB single line loaded in %lld ms", timer.elapsed());
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.text(0), QString("kept@before"));
        const QString loaded = list.text(1);
        QCOMPARE(loaded.size(), line.size());
        QCOMPARE(loaded.indexOf(u'@'), 25'000'000);
        QVERIFY(loaded.startsWith(u"aaa") && loaded.endsWith(u"bbb"));
    }

    void aLongLineIsHeldOnlyWhenItIsAdmitted_data() {
        QTest::addColumn<char>("fill");
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QStringList>("expected");
        const qint64 mb = qint64(1) << 20;
        QTest::newRow("NUL bytes without an at sign")
            << '\0' << 128 * mb << QByteArray("\r\nlast@line") << QStringList{"last@line"};
        QTest::newRow("at sign at the end")
            << 'a' << 16 * mb << QByteArray("@x\r\n")
            << QStringList{QString(16 * mb, u'a') + QStringLiteral("@x")};
    }

    void aLongLineIsHeldOnlyWhenItIsAdmitted() {
        QFETCH(char, fill);
        QFETCH(qint64, size);
        QFETCH(QByteArray, tail);
        QFETCH(QStringList, expected);
        AddressListModel list(QStringLiteral(" Email(s)"));
        MadeUpFile file(fill, size, tail);
        const qint64 before = HeapInUse();
        AppendListText(file, list);
        QCOMPARE(Entries(list), expected);
        // A few blocks for reading, and a small multiple of what is kept.
        const qint64 kept = list.memoryUsed();
        const qint64 held = file.mostHeld - before;
        QVERIFY2(held < 8 * kListBlockBytes + 5 * kept,
                 qPrintable(QStringLiteral("%1 bytes held, %2 kept").arg(held).arg(kept)));
    }

    void aFileOfNulBytesWithoutLineEndsIsReadInLittleMemory() {
        // An address line, then half a gigabyte of NUL bytes and no line end:
        // a hole in a sparse file, so nothing is written to the disk.
        TestWindow t;
        const QString path = t.writeFile("nul.txt", "kept@first\r\n");
        QVERIFY(QFile::resize(path, qint64(512) << 20));
        AddressListModel list(QStringLiteral(" Email(s)"));
        QVERIFY(ResetPeakMemory());
        const qint64 before = CurrentMemory();
        QElapsedTimer timer;
        timer.start();
        LoadListFile(list, t.platform, path);
        const qint64 ms = timer.elapsed();
        // The process's own high-water mark: a few blocks, not the file.
        const qint64 grown = PeakMemory() - before;
        qInfo("512 MB of NUL bytes read in %lld ms, peak %lld bytes over the start", ms, grown);
        QCOMPARE(Entries(list), QStringList{"kept@first"});
        QVERIFY(grown < 16 * kListBlockBytes);
    }

    void aStreamOfNulBytesIsHeldButNotDecoded() {
        // A stream cannot be read again, so a long line is held in case an
        // at sign comes; without one it is never turned into text.
        const qint64 size = qint64(128) << 20;
        MadeUpFile stream('\0', size, "\r\nlast@line", true);
        AddressListModel list(QStringLiteral(" Email(s)"));
        const qint64 before = HeapInUse();
        AppendListText(stream, list);
        QCOMPARE(Entries(list), QStringList{"last@line"});
        // The held line may have grown to twice its size; its text would be as much again.
        const qint64 held = stream.mostHeld - before;
        QVERIFY2(held < 3 * size, qPrintable(QStringLiteral("%1 bytes held").arg(held)));
    }

    void missingFileShowsFileNotFound() {
        TestWindow t;
        t.platform.setApplicationTitle(kTitle);
        AddressListModel list(QStringLiteral(" Email(s)"));
        list.append(u"kept@before");
        LoadListFile(list, t.platform, t.root() + "/no-such-list.txt");
        QCOMPARE(Entries(list), QStringList{"kept@before"});
        QCOMPARE(t.platform.shownBoxes.size(), size_t(1));
        const auto& box = t.platform.shownBoxes[0];
        QCOMPARE(box.text, QString("File not found"));
        QCOMPARE(box.buttons, MessageButtons::Ok);
        QCOMPARE(box.icon, MessageIcon::None);
        QCOMPARE(box.caption, kTitle);
        QVERIFY(t.platform.openedFiles.isEmpty());
    }

    void emptyFileAddsAndShowsNothing() {
        TestWindow t;
        const QString path = t.writeFile("empty.txt", {});
        AddressListModel list(QStringLiteral(" Email(s)"));
        LoadListFile(list, t.platform, path);
        QCOMPARE(list.count(), 0);
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void onlyRegularFilesAreRead_data() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("folder") << "folder";
        QTest::newRow("fifo") << "fifo";
        QTest::newRow("device") << "device";
    }

    void onlyRegularFilesAreRead() {
        QFETCH(QString, kind);
        TestWindow t;
        QString path = t.root() + "/chosen";
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "fifo")
            QCOMPARE(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        else
            path = "/dev/null";
        AddressListModel list(QStringLiteral(" Email(s)"));
        list.append(u"kept@before");
        // A fifo without a writer would block an open or a read for ever.
        QVERIFY_THROWS_EXCEPTION(AppError, LoadListFile(list, t.platform, path));
        QCOMPARE(Entries(list), QStringList{"kept@before"});
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void unreadableFileFails() {
        if (geteuid() == 0)
            QSKIP("root can read a file without read permission");
        TestWindow t;
        const QString path = t.writeFile("locked.txt", "a@b\r\n");
        QVERIFY(QFile::setPermissions(path, QFileDevice::WriteOwner));
        AddressListModel list(QStringLiteral(" Email(s)"));
        QVERIFY_THROWS_EXCEPTION(AppError, LoadListFile(list, t.platform, path));
        QCOMPARE(list.count(), 0);
    }

    void failureInsideAFileKeepsWhatWasRead() {
        TestWindow t;
        const QString path = t.writeFile("broken.txt", "a@x\r\nb@y\r\nc@z\r\nd@w\r\n");
        t.platform.readFailureOffset = 12; // inside the third line
        t.platform.injectFailure(ScriptedPlatform::Operation::ReadFile, "Input/output error");
        AddressListModel list(QStringLiteral(" Email(s)"));
        list.append(u"kept@before");
        try {
            LoadListFile(list, t.platform, path);
            QFAIL("the read failure was not passed on");
        } catch (const AppError& error) {
            QCOMPARE(error.description(), QString("Input/output error"));
        }
        QCOMPARE(Entries(list), (QStringList{"kept@before", "a@x", "b@y"}));
    }

    void dialogAsksForListFiles() {
        TestWindow t;
        FormState form;
        form.setMousePointer(MousePointer::Custom);
        LoadListFiles(form, t.platform); // no answer queued: cancelled
        QCOMPARE(t.platform.openDialogs.size(), size_t(1));
        const FileDialogRequest& request = t.platform.openDialogs[0];
        QCOMPARE(request.title, QString("Load List(s) - Hold Ctrl to select multiple list files"));
        QCOMPARE(request.filter, QString("Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"));
        QVERIFY(request.multiSelect);
        QCOMPARE(form.mousePointer(), MousePointer::Custom);
        QCOMPARE(form.ListView1.count(), 0);
        QVERIFY(t.platform.shownBoxes.empty());
        QVERIFY(t.platform.openedFiles.isEmpty());
    }

    void oneChosenFileIsLoadedByItsPathUnchanged() {
        TestWindow t;
        t.writeFile("lists/one.txt", "a@x\r\nb@y\r\n");
        const QString path = t.root() + "/lists//one.txt";
        FormState form;
        form.ListView1.append(u"kept@before");
        t.platform.openDialogAnswers = {path, path};
        LoadListFiles(form, t.platform);
        LoadListFiles(form, t.platform);
        QCOMPARE(t.platform.openedFiles, (QStringList{path, path}));
        QCOMPARE(Entries(form.ListView1), (QStringList{"kept@before", "a@x", "b@y", "a@x", "b@y"}));
        QCOMPARE(form.mousePointer(), MousePointer::Default);
        QVERIFY(t.platform.shownBoxes.empty());
    }

    void severalChosenFilesJoinFolderAndName_data() {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<QString>("joined");
        // %1 is an absolute folder. Its leading separator counts as a network path's
        // start, so every joined path begins with a pair; pairs inside become one.
        QTest::newRow("plain folder") << "%1"
                                      << "/%1/";
        QTest::newRow("folder ending in a separator") << "%1/"
                                                      << "/%1/";
        QTest::newRow("network path") << "/%1"
                                      << "/%1/";
        QTest::newRow("long leading run") << "///%1"
                                          << "/%1/";
        QTest::newRow("run of three inside") << "%1//"
                                             << "/%1//";
    }

    void severalChosenFilesJoinFolderAndName() {
        QFETCH(QString, folder);
        QFETCH(QString, joined);
        TestWindow t;
        t.writeFile("lists/c.txt", "c@x\r\n");
        t.writeFile("lists/a.txt", "a@x\na2@x\n");
        t.writeFile("lists/b.txt", "b@x");
        const QString dir = t.root() + "/lists";
        FormState form;
        t.platform.openDialogAnswers = {folder.arg(dir) + kNul + "c.txt" + kNul + "a.txt" + kNul +
                                        "b.txt"};
        LoadListFiles(form, t.platform);
        const QString start = joined.arg(dir);
        QCOMPARE(t.platform.openedFiles,
                 (QStringList{start + "c.txt", start + "a.txt", start + "b.txt"}));
        QCOMPARE(Entries(form.ListView1), (QStringList{"c@x", "a@x", "a2@x", "b@x"}));
        QVERIFY(t.platform.shownBoxes.empty());
        QCOMPARE(form.mousePointer(), MousePointer::Default);
    }

    void aMissingFileIsReportedAndTheNextOneLoads() {
        TestWindow t;
        t.platform.setApplicationTitle(kTitle);
        t.writeFile("lists/b.txt", "b@x\r\n");
        FormState form;
        t.platform.openDialogAnswers = {t.root() + "/lists" + kNul + "gone.txt" + kNul + "b.txt"};
        LoadListFiles(form, t.platform);
        QCOMPARE(BoxTexts(t.platform), QStringList{"File not found"});
        QCOMPARE(Entries(form.ListView1), QStringList{"b@x"});
    }

    void failuresAreReportedAndLoadingGoesOn() {
        TestWindow t;
        t.writeFile("lists/a.txt", "a@x\r\n");
        t.writeFile("lists/b.txt", "b1@x\r\nb2@x\r\nb3@x\r\n");
        t.writeFile("lists/c.txt", "c@x\r\n");
        const QString folder = t.root() + "/lists";
        FormState form;
        t.platform.openDialogAnswers = {folder + kNul + "a.txt" + kNul + "b.txt" + kNul + "c.txt",
                                        folder + "/b.txt"};
        // The first file cannot be opened, the second breaks inside its second line.
        t.platform.injectFailure(ScriptedPlatform::Operation::OpenForReading, "Permission denied");
        t.platform.readFailureOffset = 8;
        t.platform.injectFailure(ScriptedPlatform::Operation::ReadFile, "Input/output error");
        LoadListFiles(form, t.platform);
        QCOMPARE(Entries(form.ListView1), (QStringList{"b1@x", "c@x"}));
        QCOMPARE(form.mousePointer(), MousePointer::Default);

        // With one file chosen the report names the single-file statement.
        t.platform.injectFailure(ScriptedPlatform::Operation::ReadFile, "Input/output error");
        LoadListFiles(form, t.platform);
        QCOMPARE(Entries(form.ListView1), (QStringList{"b1@x", "c@x", "b1@x"}));
        const QStringList boxes = BoxTexts(t.platform);
        QCOMPARE(boxes.size(), 3);
        QVERIFY(
            boxes[0].startsWith(ReportHead("Permission denied", "Form1.PushButton3_Click", 134)));
        QVERIFY(
            boxes[1].startsWith(ReportHead("Input/output error", "Form1.PushButton3_Click", 134)));
        QVERIFY(
            boxes[2].startsWith(ReportHead("Input/output error", "Form1.PushButton3_Click", 120)));
        QCOMPARE(form.mousePointer(), MousePointer::Default);
    }

    void pointerIsBusyWhileFilesLoad() {
        TestWindow t;
        t.writeFile("lists/a.txt", "a@x\r\n");
        t.writeFile("lists/b.txt", "b@x\r\n");
        FormState form;
        QList<std::pair<MousePointer, qsizetype>> seen;
        connect(&form, &FormState::mousePointerChanged, this, [&] {
            seen.append({form.mousePointer(), form.ListView1.count()});
        });
        t.platform.openDialogAnswers = {t.root() + "/lists" + kNul + "a.txt" + kNul + "b.txt"};
        LoadListFiles(form, t.platform);
        QCOMPARE(seen, (QList<std::pair<MousePointer, qsizetype>>{{MousePointer::Busy, 0},
                                                                  {MousePointer::Default, 2}}));
    }
};

QTEST_GUILESS_MAIN(TestListFiles)
#include "test_list_files.moc"
