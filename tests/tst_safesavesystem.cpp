// Saves and opens that the real system refuses, chosen so that they fail for root too (CI
// runs as root, and root writes where others may not): a folder, a missing folder, names
// that are too long, a pipe, a loop of links; and places without permission, tried from a
// child process that gives up root first. The old file and the folder stay as they were,
// and every reason is in Spanish.
#include "filefailures.h"
#include "rtfcodec.h"
#include "runtimefailure.h"
#include "safesave.h"
#include "support/savechecks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using savecheck::contents;
using savecheck::kOld;
const QByteArray kNew = "{\\rtf1 nuevo\\par}";

// Everything under dir, so that a stray temporary file anywhere shows.
QStringList tree(const QString &dir)
{
    QStringList names;
    const QDir root(dir);
    const auto filters = QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot;
    for (const QFileInfo &info : root.entryInfoList(filters, QDir::Name)) {
        names << info.fileName();
        if (info.isDir() && !info.isSymLink())
            for (const QString &inner : tree(info.filePath()))
                names << info.fileName() + u'/' + inner;
    }
    return names;
}

QString failureOf(const QString &path)
{
    try {
        rtf::saveBytes(path, kNew);
    } catch (const RuntimeFailure &f) {
        return f.description();
    }
    return QStringLiteral("(saved)");
}

QString openFailureOf(const QString &path)
{
    QTextDocument doc;
    try {
        rtf::readFile(path, &doc);
    } catch (const RuntimeFailure &f) {
        return f.description();
    }
    return QStringLiteral("(opened)");
}

// Runs attempt in a child process that drops root first, so that file permissions hold,
// and returns what it said.
QString unprivileged(QString (*attempt)(const QString &), const QString &path)
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

// A folder that anyone may enter, so that a child without root reaches the files in it.
bool openToAll(const QTemporaryDir &dir)
{
    return QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                 | QFile::ReadOther | QFile::ExeOther
                                                 | QFile::ReadGroup | QFile::ExeGroup);
}

} // namespace

class TestSafeSaveSystem : public QObject
{
    Q_OBJECT
private slots:
    void refused_data();
    void refused();
    void permissionDenied_data();
    void permissionDenied();
    void openRefused_data();
    void openRefused();
};

void TestSafeSaveSystem::refused_data()
{
    QTest::addColumn<QString>("name");      // where to save, under the test's folder
    QTest::addColumn<QString>("reason");
    QTest::newRow("target is a folder") << "carpeta" << "ya hay una carpeta con ese nombre";
    QTest::newRow("missing folder") << "falta/nuevo.rtf" << "la carpeta no existe";
    QTest::newRow("path through a file") << "viejo.rtf/nuevo.rtf"
                                         << "una parte de la ruta no es una carpeta";
    QTest::newRow("name too long") << QString(300, u'n') + QStringLiteral(".rtf")
                                   << "el nombre o la ruta es demasiado largo";
    QString deep;
    for (int i = 0; i < 1100; ++i)
        deep += QStringLiteral("abc/");
    QTest::newRow("path too long") << deep + QStringLiteral("nuevo.rtf") << "el nombre o la ruta es demasiado largo";
    QTest::newRow("target is a pipe") << "tubo.rtf" << "no es un archivo corriente";
    QTest::newRow("loop of links") << "bucle.rtf" << "los enlaces simbólicos de la ruta forman un ciclo";
}

void TestSafeSaveSystem::refused()
{
    QFETCH(QString, name);
    QFETCH(QString, reason);
    QTemporaryDir dir;
    QVERIFY(savecheck::writeOld(dir.filePath(QStringLiteral("viejo.rtf")), 0644));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("carpeta")));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("tubo.rtf"))).constData(), 0644), 0);
    QVERIFY(QFile::link(QStringLiteral("bucle2.rtf"), dir.filePath(QStringLiteral("bucle.rtf"))));
    QVERIFY(QFile::link(QStringLiteral("bucle.rtf"), dir.filePath(QStringLiteral("bucle2.rtf"))));
    const QStringList before = tree(dir.path());
    const QString path = dir.filePath(name);
    QCOMPARE(failureOf(path), savecheck::message(path, reason));
    QCOMPARE(tree(dir.path()), before);
    QCOMPARE(contents(dir.filePath(QStringLiteral("viejo.rtf"))), kOld);
    QVERIFY(QFileInfo(dir.filePath(QStringLiteral("carpeta"))).isDir());
}

void TestSafeSaveSystem::permissionDenied_data()
{
    QTest::addColumn<int>("folderMode");
    QTest::addColumn<int>("fileMode");
    QTest::newRow("folder without write permission") << 0555 << 0666;
    QTest::newRow("read-only file in an open folder") << 0777 << 0444;
}

void TestSafeSaveSystem::permissionDenied()
{
    QFETCH(int, folderMode);
    QFETCH(int, fileMode);
    QTemporaryDir dir;
    QVERIFY(openToAll(dir));
    const QString folder = dir.filePath(QStringLiteral("sitio"));
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sitio")));
    const QString path = folder + QStringLiteral("/viejo.rtf");
    QVERIFY(savecheck::writeOld(path, mode_t(fileMode)));
    QCOMPARE(::chmod(QFile::encodeName(folder).constData(), mode_t(folderMode)), 0);
    const QString failure = unprivileged(failureOf, path);
    ::chmod(QFile::encodeName(folder).constData(), 0755);   // so that the folder can go
    QCOMPARE(failure, savecheck::message(path, QStringLiteral("no hay permiso para escribir ahí")));
    QCOMPARE(contents(path), kOld);
    QCOMPARE(tree(folder), QStringList{QStringLiteral("viejo.rtf")});
}

void TestSafeSaveSystem::openRefused_data()
{
    QTest::addColumn<QString>("name");      // what to open, under the test's folder unless absolute
    QTest::addColumn<QString>("message");   // %1 stands for the path
    QTest::addColumn<bool>("asNobody");
    const QString cannot = QStringLiteral("No se puede abrir el archivo «%1»: ");
    QTest::newRow("missing") << "falta.rtf" << "No se encontró el archivo «%1»." << false;
    QTest::newRow("link to nothing") << "roto.rtf" << "No se encontró el archivo «%1»." << false;
    QTest::newRow("a folder") << "carpeta" << cannot + "es una carpeta." << false;
    QTest::newRow("%1 in the name") << "dir%1x.rtf" << cannot + "es una carpeta." << false;
    QTest::newRow("path through a file") << "viejo.rtf/otro.rtf"
                                         << cannot + "una parte de la ruta no es una carpeta." << false;
    QTest::newRow("name too long") << QString(300, u'n') << cannot + "el nombre o la ruta es demasiado largo." << false;
    QTest::newRow("loop of links") << "bucle.rtf"
                                   << cannot + "los enlaces simbólicos de la ruta forman un ciclo." << false;
    QTest::newRow("a pipe, which must not wait for a writer") << "tubo.rtf" << cannot + "no es un archivo corriente." << false;
    QTest::newRow("a device") << "/dev/zero" << cannot + "no es un archivo corriente." << false;
    QTest::newRow("unreadable") << "privado.rtf" << cannot + "no hay permiso para leerlo." << true;
    QTest::newRow("folder without entry") << "cerrada/viejo.rtf" << cannot + "no hay permiso para leerlo." << true;
    QTest::newRow("larger than memory could hold (sparse)") << "enorme.rtf"
        << "Error al leer el archivo «%1»: el archivo es demasiado grande." << false;
    QTest::newRow("read fails") << "/proc/self/mem"
                                << "Error al leer el archivo «%1»: error de entrada o salida en el disco." << false;
}

// A file that cannot be opened or read says why, in Spanish, and the path stays as it is
// written even when it holds "%1".
void TestSafeSaveSystem::openRefused()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(bool, asNobody);
    QTemporaryDir dir;
    QVERIFY(openToAll(dir));
    QVERIFY(savecheck::writeOld(dir.filePath(QStringLiteral("viejo.rtf")), 0644));
    QVERIFY(savecheck::writeOld(dir.filePath(QStringLiteral("privado.rtf")), 0600));
    for (const char *folder : {"carpeta", "dir%1x.rtf", "cerrada"})
        QVERIFY(QDir(dir.path()).mkdir(QLatin1String(folder)));
    QVERIFY(savecheck::writeOld(dir.filePath(QStringLiteral("cerrada/viejo.rtf")), 0644));
    QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("cerrada")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("tubo.rtf"))).constData(), 0644), 0);
    QVERIFY(QFile::link(QStringLiteral("bucle2.rtf"), dir.filePath(QStringLiteral("bucle.rtf"))));
    QVERIFY(QFile::link(QStringLiteral("bucle.rtf"), dir.filePath(QStringLiteral("bucle2.rtf"))));
    QVERIFY(QFile::link(QStringLiteral("nada.rtf"), dir.filePath(QStringLiteral("roto.rtf"))));
    QVERIFY(savecheck::writeOld(dir.filePath(QStringLiteral("enorme.rtf")), 0644));
    QVERIFY(QFile::resize(dir.filePath(QStringLiteral("enorme.rtf")), qint64(200) << 30));
    const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
    const QString failure = asNobody ? unprivileged(openFailureOf, path) : openFailureOf(path);
    QCOMPARE(failure, QString(message).replace(QStringLiteral("%1"), path));
}

QTEST_GUILESS_MAIN(TestSafeSaveSystem)
#include "tst_safesavesystem.moc"
