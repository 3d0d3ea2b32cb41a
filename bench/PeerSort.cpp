#include "PeerSort.h"

#include <QElapsedTimer>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace {
std::vector<QByteArray> environment(bool cLocale) {
    std::vector<QByteArray> variables;
    for (char** e = environ; *e; ++e) {
        const QByteArray variable(*e);
        if (!cLocale || (!variable.startsWith("LC_") && !variable.startsWith("LANG")))
            variables.push_back(variable);
    }
    if (cLocale)
        variables.emplace_back("LC_ALL=C");
    return variables;
}

// The list of pointers, closed by a null one, that exec takes.
std::vector<char*> pointersTo(std::vector<QByteArray>& texts) {
    std::vector<char*> pointers;
    for (QByteArray& text : texts)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

PeerTime RunTimed(const QStringList& command, const QString& output, bool cLocale) {
    std::vector<QByteArray> arguments;
    for (const QString& argument : command)
        arguments.push_back(argument.toLocal8Bit());
    std::vector<QByteArray> variables = environment(cLocale);
    const std::vector<char*> argv = pointersTo(arguments);
    const std::vector<char*> envp = pointersTo(variables);

    PeerTime time;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, output.toLocal8Bit().constData(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
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

PeerTime RunPeerSort(const QString& input, const QString& output) {
    return RunTimed({QStringLiteral("sort"), QStringLiteral("-t@"), QStringLiteral("-k2,2"),
                     QStringLiteral("-k1,1"), QStringLiteral("-s"), input},
                    output, true);
}
