#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

#include <sys/stat.h>

// What the save tests check against: the old file, a file's bytes now, and the message
// a failed save gives.
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
    if (!f.open(QIODevice::WriteOnly) || f.write(kOld) != kOld.size())
        return false;
    f.close();
    return ::chmod(QFile::encodeName(path).constData(), mode) == 0;
}

inline QString message(const QString &path, const QString &reason)
{
    return QStringLiteral("No se puede guardar el archivo «%1»: %2.").arg(path, reason);
}

} // namespace savecheck
