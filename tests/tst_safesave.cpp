// Saving never loses the old file. Each step of a save is made to fail the way a disk
// fails, through a system that fails on purpose, and then by the real system where that
// can be done in any test run (as root too); every time the old file must be byte for
// byte what it was, no temporary file may be left and the reason must be in Spanish.
#include "support/faultysavesystem.h"
#include "support/savechecks.h"
#include "filefailures.h"
#include "runtimefailure.h"
#include "safesave.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>

using rtf::saveBytes;
using savecheck::contents;
using savecheck::kOld;
using Step = FaultySaveSystem::Step;

namespace {

QByteArray bytes(qint64 size)
{
    QByteArray data(size, 'x');
    for (qint64 i = 0; i < size; i += 97)
        data[i] = char('a' + i % 26);   // not one repeated byte, so a shifted write shows
    return data;
}

// The failure a save throws; an empty description when it did not throw.
RuntimeFailure saveFailure(const QString &path, const QByteArray &data, rtf::SaveSystem &system)
{
    try {
        saveBytes(path, data, system);
    } catch (const RuntimeFailure &f) {
        return f;
    }
    return RuntimeFailure(0, QString());
}

} // namespace

class TestSafeSave : public QObject
{
    Q_OBJECT
private slots:
    void failedStepKeepsOldFile_data();
    void failedStepKeepsOldFile();
    void failedNewFileLeavesNothing();
    void savesWhole_data();
    void savesWhole();
    void interruptedWritesGoOn();
    void keepsPermissions();
    void followsSymbolicLinks_data();
    void followsSymbolicLinks();
    void reasonsInSpanish_data();
    void reasonsInSpanish();
    void everyCauseInOwnWords();
};

void TestSafeSave::failedStepKeepsOldFile_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("error");
    QTest::addColumn<qint64>("budget");   // bytes the disk takes before it fails
    QTest::addColumn<qint64>("size");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<int>("number");
    const int kBuffer = 16384;   // a buffered file device's write buffer, where the fault hid
    const char *full = "no queda espacio libre en el disco";
    for (qint64 n : {qint64(0), qint64(1), qint64(kBuffer - 1), qint64(kBuffer), qint64(kBuffer + 1),
                     qint64(3) << 20}) {
        for (qint64 size : {n + 1, n + 100, (qint64(5) << 20) + 3}) {
            if (size <= n)
                continue;
            QTest::addRow("full after %lld of %lld", n, size)
                << int(Step::Write) << ENOSPC << n << size << full << int(RuntimeFailure::DiskFull);
        }
    }
    QTest::newRow("full, tiny file") << int(Step::Write) << ENOSPC << qint64(0) << qint64(1)
                                     << full << int(RuntimeFailure::DiskFull);
    QTest::newRow("quota while writing")
        << int(Step::Write) << EDQUOT << qint64(4096) << qint64(20000)
        << "se ha agotado la cuota de disco del usuario" << int(RuntimeFailure::DiskFull);
    QTest::newRow("i/o error while writing")
        << int(Step::Write) << EIO << qint64(100) << qint64(20000)
        << "error de entrada o salida en el disco" << int(RuntimeFailure::DeviceIo);
    QTest::newRow("disk stops taking data")
        << int(Step::Write) << 0 << qint64(10) << qint64(20000)
        << "error de entrada o salida en el disco" << int(RuntimeFailure::DeviceIo);
    const struct { Step step; int error; const char *name; const char *reason; int number; } others[] = {
        {Step::Sync, EIO, "flush: i/o error", "error de entrada o salida en el disco", RuntimeFailure::DeviceIo},
        {Step::Sync, ENOSPC, "flush: full", full, RuntimeFailure::DiskFull},
        {Step::Sync, EDQUOT, "flush: quota", "se ha agotado la cuota de disco del usuario", RuntimeFailure::DiskFull},
        {Step::Close, EIO, "close: i/o error", "error de entrada o salida en el disco", RuntimeFailure::DeviceIo},
        {Step::Close, ENOSPC, "close: full", full, RuntimeFailure::DiskFull},
        {Step::Rename, EACCES, "rename: permission", "no hay permiso para escribir ahí", RuntimeFailure::PermissionDenied},
        {Step::Rename, EPERM, "rename: not permitted", "no hay permiso para escribir ahí", RuntimeFailure::PermissionDenied},
        {Step::Rename, EROFS, "rename: read-only", "el disco es de solo lectura", RuntimeFailure::PermissionDenied},
        {Step::Rename, EIO, "rename: i/o error", "error de entrada o salida en el disco", RuntimeFailure::DeviceIo},
        {Step::Rename, ENOSPC, "rename: full", full, RuntimeFailure::DiskFull},
        {Step::Create, ENOSPC, "create: no inodes", full, RuntimeFailure::DiskFull},
        {Step::Create, EDQUOT, "create: quota", "se ha agotado la cuota de disco del usuario", RuntimeFailure::DiskFull},
        {Step::Create, EROFS, "create: read-only", "el disco es de solo lectura", RuntimeFailure::PermissionDenied},
        {Step::Create, EACCES, "create: permission", "no hay permiso para escribir ahí", RuntimeFailure::PermissionDenied},
        {Step::Create, ENOENT, "create: missing folder", "la carpeta no existe", RuntimeFailure::PathNotFound},
        {Step::Create, ENAMETOOLONG, "create: name too long", "el nombre o la ruta es demasiado largo", RuntimeFailure::BadFileName},
        {Step::Status, ENOTDIR, "status: not a folder", "una parte de la ruta no es una carpeta", RuntimeFailure::PathNotFound},
        {Step::Status, EACCES, "status: permission", "no hay permiso para escribir ahí", RuntimeFailure::PermissionDenied},
    };
    for (const auto &o : others)
        QTest::newRow(o.name) << int(o.step) << o.error << qint64(0) << qint64(20000) << o.reason << o.number;
}

void TestSafeSave::failedStepKeepsOldFile()
{
    QFETCH(int, step);
    QFETCH(int, error);
    QFETCH(qint64, budget);
    QFETCH(qint64, size);
    QFETCH(QString, reason);
    QFETCH(int, number);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("viejo.rtf"));
    QVERIFY(savecheck::writeOld(path));
    FaultySaveSystem system(Step(step), error, budget);
    const RuntimeFailure failure = saveFailure(path, bytes(size), system);
    QCOMPARE(failure.description(), savecheck::message(path, reason));
    QCOMPARE(failure.number(), number);
    QCOMPARE(contents(path), kOld);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("viejo.rtf")});
    if (Step(step) == Step::Write)
        QCOMPARE(system.written, budget);   // the disk really took part of the file first
    if (Step(step) > Step::Create)
        QVERIFY(!system.temporary.isEmpty());
}

// With no old file, a failed save leaves no file at all, not an empty or partial one.
void TestSafeSave::failedNewFileLeavesNothing()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("nuevo.rtf"));
    FaultySaveSystem system(Step::Write, ENOSPC, 10);
    QCOMPARE(saveFailure(path, bytes(100), system).description(),
             savecheck::message(path, QStringLiteral("no queda espacio libre en el disco")));
    QVERIFY(QDir(dir.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
}

void TestSafeSave::savesWhole_data()
{
    QTest::addColumn<qint64>("size");
    for (qint64 size : {qint64(0), qint64(1), qint64(16383), qint64(16384), qint64(16385),
                        (qint64(3) << 20) + 7})
        QTest::addRow("%lld bytes", size) << size;
}

void TestSafeSave::savesWhole()
{
    QFETCH(qint64, size);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("viejo.rtf"));
    QVERIFY(savecheck::writeOld(path));
    const QByteArray data = bytes(size);
    saveBytes(path, data);
    QCOMPARE(contents(path), data);
    QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
             QStringList{QStringLiteral("viejo.rtf")});
}

// A write cut short by a signal goes on where it stopped.
void TestSafeSave::interruptedWritesGoOn()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.rtf"));
    FaultySaveSystem system(Step::Write, EINTR, 5000);
    system.failOnce = true;
    const QByteArray data = bytes(3 << 20);
    saveBytes(path, data, system);
    QCOMPARE(contents(path), data);
}

void TestSafeSave::keepsPermissions()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("privado.rtf"));
    QVERIFY(savecheck::writeOld(path, 0640));
    saveBytes(path, "{\\rtf1 nuevo}");
    struct stat st {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0640));

    const mode_t mask = ::umask(022);
    const QString fresh = dir.filePath(QStringLiteral("nuevo.rtf"));
    saveBytes(fresh, "{\\rtf1 nuevo}");
    ::umask(mask);
    QCOMPARE(::stat(QFile::encodeName(fresh).constData(), &st), 0);
    QCOMPARE(st.st_mode & 07777, mode_t(0644));
}

void TestSafeSave::followsSymbolicLinks_data()
{
    QTest::addColumn<QStringList>("links");   // each one points at the next, the last at real.rtf
    QTest::newRow("one link") << QStringList{"enlace.rtf"};
    QTest::newRow("chain of two") << QStringList{"b.rtf", "a.rtf"};
    QTest::newRow("chain through folders") << QStringList{"b.rtf", "sub/a.rtf", "sub/c.rtf"};
}

// Saving through links writes the file at the end of the chain; every link stays a link
// and points where it did.
void TestSafeSave::followsSymbolicLinks()
{
    QFETCH(QStringList, links);
    QTemporaryDir dir;
    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub")));
    const QString target = dir.filePath(QStringLiteral("real.rtf"));
    QVERIFY(savecheck::writeOld(target));
    QString next = target;
    for (qsizetype i = links.size() - 1; i >= 0; --i) {
        const QString link = dir.filePath(links[i]);
        // relative to the link's folder, as links usually are
        QVERIFY(QFile::link(QFileInfo(link).dir().relativeFilePath(next), link));
        next = link;
    }
    saveBytes(dir.filePath(links[0]), "{\\rtf1 nuevo}");
    QCOMPARE(contents(target), QByteArray("{\\rtf1 nuevo}"));
    for (qsizetype i = 0; i < links.size(); ++i) {
        const QFileInfo link(dir.filePath(links[i]));
        QVERIFY2(link.isSymLink(), qPrintable(links[i]));
        const QString pointsAt = i + 1 < links.size() ? dir.filePath(links[i + 1]) : target;
        QCOMPARE(link.symLinkTarget(), pointsAt);
    }
}

void TestSafeSave::reasonsInSpanish_data()
{
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("reason");
    QTest::newRow("no space") << ENOSPC << "no queda espacio libre en el disco";
    QTest::newRow("quota") << EDQUOT << "se ha agotado la cuota de disco del usuario";
    QTest::newRow("read-only") << EROFS << "el disco es de solo lectura";
    QTest::newRow("permission") << EACCES << "no hay permiso para escribir ahí";
    QTest::newRow("not permitted") << EPERM << "no hay permiso para escribir ahí";
    QTest::newRow("not found") << ENOENT << "la carpeta no existe";
    QTest::newRow("not a folder") << ENOTDIR << "una parte de la ruta no es una carpeta";
    QTest::newRow("is a folder") << EISDIR << "ya hay una carpeta con ese nombre";
    QTest::newRow("name too long") << ENAMETOOLONG << "el nombre o la ruta es demasiado largo";
    QTest::newRow("i/o error") << EIO << "error de entrada o salida en el disco";
    QTest::newRow("loop of links") << ELOOP << "los enlaces simbólicos de la ruta forman un ciclo";
    QTest::newRow("picture") << int(rtf::PictureNotEncoded)
                             << "una imagen del documento no se puede convertir a PNG";
}

// The texts are the program's own: the system's language does not change them.
void TestSafeSave::reasonsInSpanish()
{
    QFETCH(int, error);
    QFETCH(QString, reason);
    QCOMPARE(rtf::fileFailureReason(error, rtf::FileStep::Save), reason);
    QCOMPARE(rtf::fileFailureText(QStringLiteral("/a/b.rtf"), error, rtf::FileStep::Save),
             savecheck::message(QStringLiteral("/a/b.rtf"), reason));
}

// No failure of a file, whatever its errno, reaches the user in the system's words.
void TestSafeSave::everyCauseInOwnWords()
{
    for (int error = 1; error < 134; ++error) {
        for (auto step : {rtf::FileStep::Open, rtf::FileStep::Read, rtf::FileStep::Save}) {
            const QString reason = rtf::fileFailureReason(error, step);
            QVERIFY2(reason != qt_error_string(error), qPrintable(reason));
            QVERIFY(!reason.isEmpty());
        }
    }
}

QTEST_GUILESS_MAIN(TestSafeSave)
#include "tst_safesave.moc"
