#pragma once

#include <QDirIterator>
#include <QFile>

#include <functional>

#include <sys/stat.h>
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
    QDirIterator it(dir, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
    while (it.hasNext())
        names << QDir(dir).relativeFilePath(it.next());
    names.sort();
    return names;
}

// Runs attempt as nobody when the test runs as root, so that file permissions hold, and
// returns what it said.
inline QString unprivileged(const std::function<QString()> &attempt)
{
    const uid_t nobody = 65534;
    const bool root = ::geteuid() == 0;
    // the real ids too, which access() goes by; the saved ones let root back
    if (root && (::setresgid(nobody, nobody, 0) != 0 || ::setresuid(nobody, nobody, 0) != 0))
        return QStringLiteral("(could not give up root)");
    const QString said = attempt();
    if (root && (::setresuid(0, 0, 0) != 0 || ::setresgid(0, 0, 0) != 0))
        qFatal("could not take root back");
    return said;
}

} // namespace savecheck
