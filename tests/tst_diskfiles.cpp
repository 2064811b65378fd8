// Files on disk: each step of a save fails as a disk fails and the old file stays byte for byte, no
// temporary left, the reason in Spanish; what the real system refuses to save or open says why.
#include "filefailures.h"
#include "rtfcodec.h"
#include "runtimefailure.h"
#include "safesave.h"
#include "support/faultysavesystem.h"
#include "support/savechecks.h"

#include <QtTest>
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
QString failureOf(const std::function<void()> &attempt)
{
    try {
        attempt();
    } catch (const RuntimeFailure &f) {
        return f.description();
    }
    return QStringLiteral("(done)");
}

// A save through a system whose step fails with an errno once the disk took budget bytes;
// without a reason the save goes through.
struct Save { Step step; int error; qint64 budget, size; QString reason; QStringList links = {}; bool old = true; };

} // namespace
Q_DECLARE_METATYPE(Save)

class TestDiskFiles : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase() { ::umask(022); }
    void save_data()
    {
        QTest::addColumn<Save>("s");
        const qint64 kBuffer = 16384, kBig = 20000;   // a buffered file device's write buffer, where a fault hid
        for (qint64 n : {qint64(0), kBuffer - 1, kBuffer, kBuffer + 1, qint64(3) << 20})
            QTest::addRow("full after %lld", n) << Save{Step::Write, ENOSPC, n, (qint64(5) << 20) + 3, kFull};
        QTest::newRow("full, no old file") << Save{Step::Write, ENOSPC, 10, 100, kFull, {}, false};
        QTest::newRow("quota while writing") << Save{Step::Write, EDQUOT, 4096, kBig, "se ha agotado la cuota de disco del usuario"};
        QTest::newRow("disk stops taking data") << Save{Step::Write, 0, 10, kBig, kIo};
        QTest::newRow("flush: i/o error") << Save{Step::Sync, EIO, 0, kBig, kIo};
        QTest::newRow("close: i/o error") << Save{Step::Close, EIO, 0, kBig, kIo};
        QTest::newRow("rename: read-only") << Save{Step::Rename, EROFS, 0, kBig, "el disco es de solo lectura"};
        QTest::newRow("create: no inodes") << Save{Step::Create, ENOSPC, 0, kBig, kFull};
        for (qint64 size : {qint64(0), kBuffer + 1, (qint64(3) << 20) + 7})
            QTest::addRow("saves %lld bytes", size) << Save{Step::None, 0, 0, size, {}};
        QTest::newRow("saves through an interrupted write") << Save{Step::Write, EINTR, 5000, qint64(3) << 20, {}};
        QTest::newRow("saves a new file") << Save{Step::None, 0, 0, 100, {}, {}, false};
        QTest::newRow("saves through links in folders") << Save{Step::None, 0, 0, 100, {}, {"b.rtf", "sub/a.rtf", "sub/c.rtf"}};
    }

    // A failed step leaves the old file byte for byte, its permissions and no temporary, and says
    // why. A save that goes through writes the file at the end of the chain of links; each link
    // stays, pointing where it did, and the file keeps its permissions.
    void save()
    {
        QFETCH(Save, s);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
        const QString target = dir.filePath(QStringLiteral("viejo.rtf"));
        QVERIFY(!s.old || writeOld(target, 0640));
        QString next = target;
        for (qsizetype i = s.links.size() - 1; i >= 0; --i) {
            const QString link = dir.filePath(s.links[i]);
            QVERIFY(QFile::link(QFileInfo(link).dir().relativeFilePath(next), link));   // relative, as links usually are
            next = link;
        }
        const QStringList before = tree(dir.path());
        FaultySaveSystem system(s.step, s.error, s.budget);
        const QString said = failureOf([&] { rtf::saveBytes(next, bytes(s.size), system); });
        const bool saved = s.reason.isEmpty();
        QCOMPARE(said, saved ? u"(done)"_qs : u"No se puede guardar el archivo «%1»: %2."_qs.arg(next, s.reason));
        QCOMPARE(tree(dir.path()), saved && !s.old ? QStringList(before) << "viejo.rtf" : before);
        if (saved || s.old)
            QCOMPARE(contents(target), saved ? bytes(s.size) : kOld);
        if (s.step == Step::Write && !saved)
            QCOMPARE(system.written, s.budget);   // the disk really took part of the file first
        for (qsizetype i = 0; i < s.links.size(); ++i)
            QCOMPARE(QFileInfo(dir.filePath(s.links[i])).symLinkTarget(),
                     i + 1 < s.links.size() ? dir.filePath(s.links[i + 1]) : target);
        struct stat st {};
        if (::stat(QFile::encodeName(target).constData(), &st) == 0)   // the old file's, or those the umask leaves
            QCOMPARE(st.st_mode & 07777, mode_t(s.old ? 0640 : 0644));
    }

    void refused_data()
    {
        QTest::addColumn<bool>("save");         // a save, or an open
        QTest::addColumn<QString>("name");      // under the test's folder unless absolute
        QTest::addColumn<QString>("message");   // %1 stands for the path
        QTest::addColumn<bool>("asNobody");
        const QString save = QStringLiteral("No se puede guardar el archivo «%1»: ");
        const QString open = QStringLiteral("No se puede abrir el archivo «%1»: ");
        QTest::newRow("save: missing folder") << true << "falta/nuevo.rtf" << save + "la carpeta no existe." << false;
        QTest::newRow("save: name too long") << true << QString(300, u'n') + ".rtf" << save + "el nombre o la ruta es demasiado largo." << false;
        QTest::newRow("save: a pipe") << true << "tubo.rtf" << save + "no es un archivo corriente." << false;
        QTest::newRow("save: loop of links") << true << "bucle.rtf" << save + "los enlaces simbólicos de la ruta forman un ciclo." << false;
        QTest::newRow("save: folder without write permission") << true << "cerrada/viejo.rtf" << save + "no hay permiso para escribir ahí." << true;
        QTest::newRow("save: read-only file in an open folder") << true << "abierta/solo-lectura.rtf" << save + "no hay permiso para escribir ahí." << true;
        QTest::newRow("open: missing") << false << "falta.rtf" << "No se encontró el archivo «%1»." << false;
        QTest::newRow("open: a pipe, which must not wait for a writer") << false << "tubo.rtf" << open + "no es un archivo corriente." << false;
        QTest::newRow("open: a device") << false << "/dev/zero" << open + "no es un archivo corriente." << false;
        QTest::newRow("open: unreadable") << false << "privado.rtf" << open + "no hay permiso para leerlo." << true;
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
        const auto setMode = [&](const char *name, mode_t mode) {
            return ::chmod(QFile::encodeName(dir.filePath(QLatin1String(name))).constData(), mode);
        };
        QCOMPARE(setMode(".", 0755), 0);   // a child without root enters it
        for (const char *folder : {"cerrada", "abierta"})
            QVERIFY(QDir(dir.path()).mkdir(QLatin1String(folder)));
        for (const auto &[file, mode] : {std::pair{"viejo.rtf", 0644}, {"privado.rtf", 0600}, {"abierta/solo-lectura.rtf", 0444},
                                         {"cerrada/viejo.rtf", 0644}, {"enorme.rtf", 0644}})
            QVERIFY(writeOld(dir.filePath(QLatin1String(file)), mode_t(mode)));
        QVERIFY(QFile::resize(dir.filePath(QStringLiteral("enorme.rtf")), qint64(200) << 30));
        QCOMPARE(setMode("cerrada", 0555), 0);   // nobody may write there
        QCOMPARE(setMode("abierta", 0777), 0);   // anybody may
        QCOMPARE(::mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("tubo.rtf"))).constData(), 0644), 0);
        QVERIFY(QFile::link(QStringLiteral("bucle2.rtf"), dir.filePath(QStringLiteral("bucle.rtf"))));
        QVERIFY(QFile::link(QStringLiteral("bucle.rtf"), dir.filePath(QStringLiteral("bucle2.rtf"))));
        const QStringList before = tree(dir.path());
        const QString path = name.startsWith(u'/') ? name : dir.filePath(name);
        const auto attempt = [&] {
            QTextDocument doc;
            return save ? failureOf([&] { rtf::saveBytes(path, "{\\rtf1 nuevo\\par}"); })
                        : failureOf([&] { rtf::readFile(path, &doc); });
        };
        const QString failure = asNobody ? unprivileged(attempt) : attempt();
        setMode("cerrada", 0755);   // so that it can go
        QCOMPARE(failure, QString(message).replace(QStringLiteral("%1"), path));
        QCOMPARE(tree(dir.path()), before);
        for (const char *file : {"viejo.rtf", "abierta/solo-lectura.rtf", "cerrada/viejo.rtf"})
            QCOMPARE(contents(dir.filePath(QLatin1String(file))), kOld);
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
