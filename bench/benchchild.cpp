#include "benchchild.h"

#include <QFile>

#include <chrono>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

ChildRun runChild(const std::vector<std::string> &args, const QString &peakFile)
{
    std::vector<char *> argv;
    for (const std::string &a : args)
        argv.push_back(const_cast<char *>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const auto start = std::chrono::steady_clock::now();
    const int rc = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ChildRun run;
    if (rc != 0)
        return run;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return run;
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!peakFile.isEmpty()) {
        QFile f(peakFile);
        if (f.open(QIODevice::ReadOnly))
            run.peakKb = f.readAll().trimmed().toLong();
    }
    return run;
}

std::string selfPath()
{
    char resolved[4096];
    const ssize_t len = readlink("/proc/self/exe", resolved, sizeof resolved - 1);
    return len > 0 ? std::string(resolved, size_t(len)) : std::string();
}
