#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

// What the file tests check against: the old file, a file's bytes now, everything under a
// folder; and a way to try as a user without root.
namespace savecheck {

inline const QByteArray kOld = "{\\rtf1 viejo\\par}";

inline QByteArray contents(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

// Puts the old file in place with the given permissions.
inline bool writeOld(const QString &path, mode_t mode = 0644)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(kOld) == kOld.size() && f.flush()
        && ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

// Everything under dir, hidden files too, so that a stray temporary file anywhere shows.
inline QStringList tree(const QString &dir)
{
    QStringList names;
    const auto filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo &info : QDir(dir).entryInfoList(filters, QDir::Name)) {
        names << info.fileName();
        if (info.isDir() && !info.isSymLink())
            for (const QString &inner : tree(info.filePath()))
                names << info.fileName() + u'/' + inner;
    }
    return names;
}

// Runs attempt in a child process that drops root first, so that file permissions hold,
// and returns what it said.
inline QString unprivileged(QString (*attempt)(const QString &), const QString &path)
{
    int fds[2];
    if (::pipe(fds) != 0)
        return QStringLiteral("(no pipe)");
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        QByteArray out;
        const uid_t nobody = 65534;
        if (::geteuid() == 0
            && (::setgroups(0, nullptr) != 0 || ::setresgid(nobody, nobody, nobody) != 0
                || ::setresuid(nobody, nobody, nobody) != 0))
            out = "(could not give up root)";
        else
            out = attempt(path).toUtf8();
        (void)!::write(fds[1], out.constData(), size_t(out.size()));
        ::_exit(0);
    }
    ::close(fds[1]);
    QByteArray result;
    char buf[512];
    for (ssize_t n; (n = ::read(fds[0], buf, sizeof buf)) > 0;)
        result.append(buf, n);
    ::close(fds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return QString::fromUtf8(result);
}

} // namespace savecheck
