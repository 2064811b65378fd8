#pragma once

#include <QDebug>
#include <QProcess>
#include <QString>
#include <QStringList>

// Runs a word processor in dir, which is also its home: LibreOffice wants a home of its own
// when it runs as root on a bare machine. Its first start with a new profile can take half
// a minute, hence the generous wait. Returns the program's standard output.
inline QString runPeer(const QString &dir, const QString &program, const QStringList &args)
{
    QProcess p;
    p.setWorkingDirectory(dir);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), dir);
    p.setProcessEnvironment(env);
    p.start(program, args);
    if (!p.waitForFinished(180000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0)
        qWarning() << program << args << "failed:" << p.readAllStandardError();
    return QString::fromUtf8(p.readAllStandardOutput());
}
