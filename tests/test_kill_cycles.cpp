#include "DatabaseIntegrity.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {
constexpr int kAddresses = 200000;

// The real program in its own home, driven by the test driver.
class Program {
public:
    explicit Program(const QString& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", home + "/config");
        env.insert("XDG_DATA_HOME", home + "/data");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~Program() {
        process_.kill();
        process_.waitForFinished();
    }

    void start(const QStringList& commands) {
        process_.start(QStringLiteral(AMBERVALE_BUILD_DIR "/ambervale_driver"), commands);
    }
    // Reads lines until one equals `line`; false if the program ends or is too slow first.
    bool waitFor(const QString& line) {
        while (true) {
            while (process_.canReadLine()) {
                const QString read = QString::fromUtf8(process_.readLine()).trimmed();
                lines_ << read;
                if (read == line)
                    return true;
            }
            if (!process_.waitForReadyRead(30000))
                return false;
        }
    }
    // True when it was still running and the kill ended it.
    bool kill() {
        const bool running = process_.state() == QProcess::Running;
        process_.kill(); // SIGKILL: no chance to tidy up
        process_.waitForFinished();
        return running && process_.exitStatus() == QProcess::CrashExit;
    }
    // All it printed, once it has ended by itself.
    QStringList finish() {
        process_.waitForFinished(60000);
        while (process_.canReadLine())
            lines_ << QString::fromUtf8(process_.readLine()).trimmed();
        lines_ << QString::fromUtf8(process_.readAll()).trimmed();
        return lines_;
    }

private:
    QProcess process_;
    QStringList lines_;
};

QStringList matching(const QStringList& lines, const QString& start) {
    QStringList out;
    for (const QString& line : lines)
        if (line.startsWith(start))
            out << line;
    return out;
}

// The only box of a run that went well.
const QStringList kDone{"box : Done."};
const QStringList kCheckRun{"state", "fill:3000", "run", "results"};
} // namespace

class TestKillCycles : public QObject {
    Q_OBJECT

private slots:
    void killedDuringARunStartsCleanAndSortsAgain() {
        // What a run gives when nothing goes wrong, in a home of its own.
        QTemporaryDir referenceHome;
        QString expected;
        {
            Program reference(referenceHome.path());
            reference.start(QStringList{"check5", "text1:3"} + kCheckRun);
            const QStringList lines = reference.finish();
            QCOMPARE(matching(lines, "box"), kDone);
            QCOMPARE(matching(lines, "results").size(), 1);
            expected = matching(lines, "results").front();
        }
        QVERIFY(!expected.startsWith("results 0 "));

        QTemporaryDir home;
        const QString database = home.path() + "/data/Quillmere/Ambervale/dbData.mdb";
        {
            Program first(home.path());
            first.start({"check5", "text1:3"});
            QCOMPARE(matching(first.finish(), "box"), QStringList());
        }
        int kills = 0;
        for (const QString marker : {"step1", "step3", "step1", "step3"}) {
            {
                Program victim(home.path());
                victim.start({"fill:" + QString::number(kAddresses), "run"});
                QVERIFY2(victim.waitFor(marker), qPrintable(marker));
                QVERIFY(victim.kill());
                ++kills;
            }
            QCOMPARE(DatabaseIntegrity(database), QString("ok"));

            Program next(home.path());
            next.start(kCheckRun);
            const QStringList lines = next.finish();
            QCOMPARE(matching(lines, "box"), kDone);
            QCOMPARE(matching(lines, "state"),
                     QStringList{"state check5=1 check1=0 check2=0 text1=3 option1=1"});
            QCOMPARE(matching(lines, "results"), QStringList{expected});
            QCOMPARE(DatabaseIntegrity(database), QString("ok"));
        }
        QCOMPARE(kills, 4);
    }
};

QTEST_MAIN(TestKillCycles)
#include "test_kill_cycles.moc"
