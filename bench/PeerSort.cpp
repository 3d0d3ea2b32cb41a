#include "PeerSort.h"

#include <QElapsedTimer>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

PeerTime RunPeerSort(const QString& input, const QString& output) {
    const QByteArray in = input.toLocal8Bit();
    const QByteArray out = output.toLocal8Bit();
    std::vector<const char*> args{"sort",         "-t@", "-k2,2",         "-k1,1", "-s",
                                  in.constData(), "-o",  out.constData(), nullptr};
    std::vector<QByteArray> environment;
    for (char** e = environ; *e; ++e) {
        if (!QByteArray(*e).startsWith("LC_") && !QByteArray(*e).startsWith("LANG"))
            environment.emplace_back(*e);
    }
    environment.emplace_back("LC_ALL=C");
    std::vector<char*> env;
    for (QByteArray& e : environment)
        env.push_back(e.data());
    env.push_back(nullptr);

    PeerTime time;
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "sort", nullptr, nullptr, const_cast<char* const*>(args.data()),
                     env.data()) != 0)
        return time;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid)
        return time;
    time.seconds = double(clock.nsecsElapsed()) / 1e9;
    time.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                      double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    time.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return time;
}
