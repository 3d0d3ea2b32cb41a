#pragma once

#include <QProcess>
#include <QStringList>

// The real program in a home of its own, driven by the test driver
// (tests/driver) through the commands on its command line.
class DriverProgram {
public:
    explicit DriverProgram(const QString& home) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("HOME", home);
        env.insert("XDG_CONFIG_HOME", home + "/config");
        env.insert("XDG_DATA_HOME", home + "/data");
        process_.setProcessEnvironment(env);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    }
    ~DriverProgram() {
        process_.kill();
        process_.waitForFinished();
    }

    void start(const QStringList& commands) {
        process_.start(QStringLiteral(AMBERVALE_BUILD_DIR "/ambervale_driver"), commands);
    }
    // Runs a shell script (sh -e) as root of a user and mount namespace of its
    // own, where it may mount file systems; $DRIVER names the driver.
    void startIsolated(const QString& script) {
        QProcessEnvironment env = process_.processEnvironment();
        env.insert("DRIVER", QStringLiteral(AMBERVALE_BUILD_DIR "/ambervale_driver"));
        process_.setProcessEnvironment(env);
        process_.start(QStringLiteral("unshare"), {"-Urm", "sh", "-ec", script});
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
    // A line for a program waiting at its "go" command.
    void send(const QByteArray& line) {
        process_.write(line + '\n');
        process_.waitForBytesWritten();
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

    // Whether it ended by itself with status 0 (once finished).
    bool endedWell() const {
        return process_.state() == QProcess::NotRunning &&
               process_.exitStatus() == QProcess::NormalExit && process_.exitCode() == 0;
    }

private:
    QProcess process_;
    QStringList lines_;
};

inline QStringList Matching(const QStringList& lines, const QString& start) {
    QStringList out;
    for (const QString& line : lines)
        if (line.startsWith(start))
            out << line;
    return out;
}
