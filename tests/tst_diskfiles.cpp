// Files on disk: each step of a save fails as a disk fails and the old file stays byte for byte,
// no temporary left, the reason in Spanish; what the real system refuses to save or open (for
// root too, or from a child without root) says why and changes nothing.
#include "filefailures.h"
#include "rtfcodec.h"
#include "runtimefailure.h"
#include "safesave.h"
#include "support/faultysavesystem.h"
#include "support/savechecks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <cerrno>
#include <sys/stat.h>

using namespace savecheck;
using Step = FaultySaveSystem::Step;

namespace {

const QString kFull = QStringLiteral("no queda espacio libre en el disco");
const QString kIo = QStringLiteral("error de entrada o salida en el disco");

QByteArray bytes(qint64 size)
{
    QByteArray data(size, 'x');
    for (qint64 i = 0; i < size; i += 97)
        data[i] = char('a' + i % 26);   // not one repeated byte, so a shifted write shows
    return data;
}

// What a save or an open said when it failed.
QString saveFailure(const QString &path, const QByteArray &data, rtf::SaveSystem &system)
{
    try {
        rtf::saveBytes(path, data, system);
    } catch (const RuntimeFailure &f) {
        return f.description();
    }
    return QStringLiteral("(saved)");
}

QString saveFailureOf(const QString &path)
{
    rtf::SaveSystem system;
    return saveFailure(path, "{\\rtf1 nuevo\\par}", system);
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

// A step of a save that fails with an errno once the disk took budget bytes.
struct Failure { Step step; int error; qint64 budget, size; QString reason; bool old = true; };

} // namespace
Q_DECLARE_METATYPE(Failure)

class TestDiskFiles : public QObject
{
    Q_OBJECT
private slots:
    void failedStepKeepsOldFile_data()
    {
        QTest::addColumn<Failure>("f");
        const qint64 kBuffer = 16384, kBig = 20000;   // a buffered file device's write buffer, where a fault hid
        for (qint64 n : {qint64(0), kBuffer - 1, kBuffer, kBuffer + 1, qint64(3) << 20})
            QTest::addRow("full after %lld", n) << Failure{Step::Write, ENOSPC, n, (qint64(5) << 20) + 3, kFull};
        QTest::newRow("full, tiny file") << Failure{Step::Write, ENOSPC, 0, 1, kFull};
        QTest::newRow("full, no old file") << Failure{Step::Write, ENOSPC, 10, 100, kFull, false};
        QTest::newRow("quota while writing") << Failure{Step::Write, EDQUOT, 4096, kBig, "se ha agotado la cuota de disco del usuario"};
        QTest::newRow("disk stops taking data") << Failure{Step::Write, 0, 10, kBig, kIo};
        QTest::newRow("flush: i/o error") << Failure{Step::Sync, EIO, 0, kBig, kIo};
        QTest::newRow("flush: full") << Failure{Step::Sync, ENOSPC, 0, kBig, kFull};
        QTest::newRow("close: i/o error") << Failure{Step::Close, EIO, 0, kBig, kIo};
        QTest::newRow("rename: read-only") << Failure{Step::Rename, EROFS, 0, kBig, "el disco es de solo lectura"};
        QTest::newRow("create: no inodes") << Failure{Step::Create, ENOSPC, 0, kBig, kFull};
        QTest::newRow("status: permission") << Failure{Step::Status, EACCES, 0, kBig, "no hay permiso para escribir ahí"};
    }
    void failedStepKeepsOldFile()
    {
        QFETCH(Failure, f);
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("viejo.rtf"));
        QVERIFY(!f.old || writeOld(path));
        FaultySaveSystem system(f.step, f.error, f.budget);
        QCOMPARE(saveFailure(path, bytes(f.size), system), u"No se puede guardar el archivo «%1»: %2."_qs.arg(path, f.reason));
        QCOMPARE(tree(dir.path()), f.old ? QStringList{QStringLiteral("viejo.rtf")} : QStringList());
        QVERIFY(!f.old || contents(path) == kOld);
        if (f.step == Step::Write)
            QCOMPARE(system.written, f.budget);   // the disk really took part of the file first
    }

    void savesWhole_data()
    {
        QTest::addColumn<qint64>("size");
        QTest::addColumn<QStringList>("links");   // the path saved to, through links to viejo.rtf
        QTest::addColumn<bool>("interrupted");    // a write cut short by a signal
        for (qint64 size : {qint64(0), qint64(16384), qint64(16385), (qint64(3) << 20) + 7})
            QTest::addRow("%lld bytes", size) << size << QStringList() << false;
        QTest::newRow("interrupted write") << (qint64(3) << 20) << QStringList() << true;
        QTest::newRow("through a link") << qint64(100) << QStringList{"enlace.rtf"} << false;
        QTest::newRow("through links in folders") << qint64(100) << QStringList{"b.rtf", "sub/a.rtf", "sub/c.rtf"} << false;
    }

    // The file at the end of the chain of links gets the new text; each link stays a link and
    // points where it did.
    void savesWhole()
    {
        QFETCH(qint64, size);
        QFETCH(QStringList, links);
        QFETCH(bool, interrupted);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        const QString target = dir.filePath(QStringLiteral("viejo.rtf"));
        QVERIFY(writeOld(target));
        QString next = target;
        for (qsizetype i = links.size() - 1; i >= 0; --i) {
            const QString link = dir.filePath(links[i]);
            // relative to the link's folder, as links usually are
            QVERIFY(QFile::link(QFileInfo(link).dir().relativeFilePath(next), link));
            next = link;
        }
        const QStringList before = tree(dir.path());
        FaultySaveSystem system(interrupted ? Step::Write : Step::None, EINTR, 5000);
        system.failOnce = true;
        QCOMPARE(saveFailure(next, bytes(size), system), QStringLiteral("(saved)"));
        QCOMPARE(contents(target), bytes(size));
        QCOMPARE(tree(dir.path()), before);
        for (qsizetype i = 0; i < links.size(); ++i)
            QCOMPARE(QFileInfo(dir.filePath(links[i])).symLinkTarget(),
                     i + 1 < links.size() ? dir.filePath(links[i + 1]) : target);
    }

    void refused_data()
    {
        QTest::addColumn<bool>("save");         // a save, or an open
        QTest::addColumn<QString>("name");      // under the test's folder unless absolute
        QTest::addColumn<QString>("message");   // %1 stands for the path
        QTest::addColumn<bool>("asNobody");
        const QString save = QStringLiteral("No se puede guardar el archivo «%1»: ");
        const QString open = QStringLiteral("No se puede abrir el archivo «%1»: ");
        const QString tooLong = QStringLiteral("el nombre o la ruta es demasiado largo.");
        QString deep;
        for (int i = 0; i < 1100; ++i)
            deep += QStringLiteral("abc/");
        QTest::newRow("save: target is a folder") << true << "carpeta" << save + "ya hay una carpeta con ese nombre." << false;
        QTest::newRow("save: missing folder") << true << "falta/nuevo.rtf" << save + "la carpeta no existe." << false;
        QTest::newRow("save: path through a file") << true << "viejo.rtf/nuevo.rtf" << save + "una parte de la ruta no es una carpeta." << false;
        QTest::newRow("save: name too long") << true << QString(300, u'n') + ".rtf" << save + tooLong << false;
        QTest::newRow("save: path too long") << true << deep + "nuevo.rtf" << save + tooLong << false;
        QTest::newRow("save: a pipe") << true << "tubo.rtf" << save + "no es un archivo corriente." << false;
        QTest::newRow("save: loop of links") << true << "bucle.rtf" << save + "los enlaces simbólicos de la ruta forman un ciclo." << false;
        QTest::newRow("save: folder without write permission") << true << "cerrada/viejo.rtf" << save + "no hay permiso para escribir ahí." << true;
        QTest::newRow("save: read-only file in an open folder") << true << "abierta/solo-lectura.rtf" << save + "no hay permiso para escribir ahí." << true;
        QTest::newRow("open: missing") << false << "falta.rtf" << "No se encontró el archivo «%1»." << false;
        QTest::newRow("open: link to nothing") << false << "roto.rtf" << "No se encontró el archivo «%1»." << false;
        QTest::newRow("open: a folder") << false << "carpeta" << open + "es una carpeta." << false;
        QTest::newRow("open: path through a file") << false << "viejo.rtf/otro.rtf" << open + "una parte de la ruta no es una carpeta." << false;
        QTest::newRow("open: name too long") << false << QString(300, u'n') << open + tooLong << false;
        QTest::newRow("open: loop of links") << false << "bucle.rtf" << open + "los enlaces simbólicos de la ruta forman un ciclo." << false;
        QTest::newRow("open: a pipe, which must not wait for a writer") << false << "tubo.rtf" << open + "no es un archivo corriente." << false;
        QTest::newRow("open: a device") << false << "/dev/zero" << open + "no es un archivo corriente." << false;
        QTest::newRow("open: unreadable") << false << "privado.rtf" << open + "no hay permiso para leerlo." << true;
        QTest::newRow("open: folder without entry") << false << "cerrada/viejo.rtf" << open + "no hay permiso para leerlo." << true;
        QTest::newRow("open: larger than memory could hold (sparse)") << false << "enorme.rtf"
            << "Error al leer el archivo «%1»: el archivo es demasiado grande." << false;
        QTest::newRow("open: read fails") << false << "/proc/self/mem" << "Error al leer el archivo «%1»: " + kIo + "." << false;
    }

    // The path stays as it is written in the message even when it holds "%1"; every file and
    // folder stays as it was.
    void refused()
    {
        QFETCH(bool, save);
        QFETCH(QString, name);
        QFETCH(QString, message);
        QFETCH(bool, asNobody);
        QTemporaryDir dir;
        QVERIFY(::chmod(QFile::encodeName(dir.path()).constData(), 0755) == 0);   // a child without root enters it
        for (const char *folder : {"carpeta", "cerrada", "abierta"})
            QVERIFY(QDir(dir.path()).mkdir(QLatin1String(folder)));
        for (const auto &[file, mode] : {std::pair{"viejo.rtf", 0644}, {"privado.rtf", 0600}, {"abierta/solo-lectura.rtf", 0444},
                                         {"cerrada/viejo.rtf", 0644}, {"enorme.rtf", 0644}})
            QVERIFY(writeOld(dir.filePath(QLatin1String(file)), mode_t(mode)));
        QVERIFY(QFile::resize(dir.filePath(QStringLiteral("enorme.rtf")), qint64(200) << 30));
        // A folder nobody may write to (or enter, for opens) and one anybody may write to.
        QCOMPARE(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("cerrada"))).constData(), save ? 0555 : 0700), 0);
        QCOMPARE(::chmod(QFile::encodeName(dir.filePath(QStringLiteral("abierta"))).constData(), 0777), 0);
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("tubo.rtf"))).constData(), 0644), 0);
        QVERIFY(QFile::link(QStringLiteral("bucle2.rtf"), dir.filePath(QStringLiteral("bucle.rtf"))));
        QVERIFY(QFile::link(QStringLiteral("bucle.rtf"), dir.filePath(QStringLiteral("bucle2.rtf"))));
        QVERIFY(QFile::link(QStringLiteral("nada.rtf"), dir.filePath(QStringLiteral("roto.rtf"))));
        const QStringList before = tree(dir.path());
        const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
        QString (*attempt)(const QString &) = save ? saveFailureOf : openFailureOf;
        const QString failure = asNobody ? unprivileged(attempt, path) : attempt(path);
        ::chmod(QFile::encodeName(dir.filePath(QStringLiteral("cerrada"))).constData(), 0755);   // so that it can go
        QCOMPARE(failure, QString(message).replace(QStringLiteral("%1"), path));
        QCOMPARE(tree(dir.path()), before);
        for (const char *file : {"viejo.rtf", "abierta/solo-lectura.rtf", "cerrada/viejo.rtf"})
            QCOMPARE(contents(dir.filePath(QLatin1String(file))), kOld);
    }

    void keepsPermissions()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("privado.rtf"));
        QVERIFY(writeOld(path, 0640));
        rtf::saveBytes(path, "{\\rtf1 nuevo}");
        const mode_t mask = ::umask(022);
        const QString fresh = dir.filePath(QStringLiteral("nuevo.rtf"));
        rtf::saveBytes(fresh, "{\\rtf1 nuevo}");
        ::umask(mask);
        struct stat st {};
        for (const auto &[file, mode] : {std::pair{path, mode_t(0640)}, {fresh, mode_t(0644)}}) {
            QCOMPARE(::stat(QFile::encodeName(file).constData(), &st), 0);
            QCOMPARE(st.st_mode & 07777, mode);
        }
    }

    void everyCauseInOwnWords()   // no errno of a file reaches the user in the system's words
    {
        for (int error = 1; error < 134; ++error)
            for (auto step : {rtf::FileStep::Open, rtf::FileStep::Read, rtf::FileStep::Save}) {
                const QString reason = rtf::fileFailureReason(error, step);
                QVERIFY2(reason != qt_error_string(error) && !reason.isEmpty(), qPrintable(reason));
            }
    }
};

QTEST_GUILESS_MAIN(TestDiskFiles)
#include "tst_diskfiles.moc"
