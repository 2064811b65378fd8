#include "safesave.h"

#include "filefailures.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rtf {

namespace {

// Large enough that a big document takes a few calls, small enough that a failing disk
// is noticed early.
constexpr size_t kChunk = size_t(1) << 20;

// What a saved file keeps of the one it replaces.
struct Kept
{
    bool exists = false;
    mode_t mode = 0;
    uid_t owner = 0;
    gid_t group = 0;
};

[[noreturn]] void fail(const QString &path, int error)
{
    throwFileFailure(path, error, FileStep::Save);
}

// The most links a path may pass through before it counts as a loop, as in Linux.
constexpr int kMaxLinks = 40;

// The file a save replaces: the end of a chain of symbolic links, so that every link
// stays a link and the file they lead to gets the new text. A link to a file that does
// not exist yet leads to where it will be made.
int resolveLinks(const QString &path, QByteArray *target)
{
    QByteArray current = QFile::encodeName(path);
    for (int i = 0; i <= kMaxLinks; ++i) {
        struct stat st {};
        if (::lstat(current.constData(), &st) != 0 || !S_ISLNK(st.st_mode)) {
            *target = current;
            return 0;   // what the path is, or why it cannot be, shows in the next step
        }
        // A link read to the very end of the buffer may have been cut short (it changed
        // since lstat, or its size reads 0): read it again with room to spare.
        QByteArray next(st.st_size > 0 ? st.st_size + 1 : PATH_MAX, Qt::Uninitialized);
        ssize_t n = 0;
        while ((n = ::readlink(current.constData(), next.data(), size_t(next.size())))
               == next.size()) {
            if (next.size() >= 16 * PATH_MAX)
                return ENAMETOOLONG;
            next.resize(next.size() * 2);
        }
        if (n < 0)
            return errno;
        next.truncate(n);
        if (!next.startsWith('/'))
            next.prepend(current.left(current.lastIndexOf('/') + 1));
        current = next;
    }
    return ELOOP;
}

int inspectTarget(SaveSystem &system, const QByteArray &path, Kept *kept)
{
    struct stat st {};
    const int error = system.status(path, &st);
    if (error == ENOENT)
        return 0;   // a new file; a missing folder shows when the file is made
    if (error)
        return error;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return NotAFile;
    // A file its owner made read-only stays as it is, although its folder would allow
    // the rename.
    if (::access(path.constData(), W_OK) != 0)
        return errno;
    *kept = {true, mode_t(st.st_mode & 07777), st.st_uid, st.st_gid};
    return 0;
}

// ".name.XXXXXX" beside the file, or a shorter name when that one would be too long.
QByteArray temporaryPattern(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = path.left(slash + 1);
    const QByteArray name = path.mid(slash + 1);
    if (name.size() + 8 <= NAME_MAX)
        return folder + '.' + name + ".XXXXXX";
    return folder + ".guardando.XXXXXX";
}

void applyKept(int fd, const Kept &kept)
{
    // Failures here leave a file that is whole but private; the save goes on.
    if (kept.exists) {
        if (::geteuid() == 0)
            (void)::fchown(fd, kept.owner, kept.group);
        (void)::fchmod(fd, kept.mode);
        return;
    }
    const mode_t mask = ::umask(0);
    ::umask(mask);
    (void)::fchmod(fd, 0666 & ~mask);
}

int writeAll(SaveSystem &system, int fd, const QByteArray &data)
{
    const char *next = data.constData();
    size_t left = size_t(data.size());
    while (left > 0) {
        size_t written = 0;
        const int error = system.write(fd, next, std::min(left, kChunk), &written);
        written = std::min(written, left);
        next += written;
        left -= written;
        if (error == EINTR)
            continue;
        if (error)
            return error;
        if (written == 0)
            return EIO;   // neither progress nor a reason: the device is not taking data
    }
    return 0;
}

int fillTemporary(SaveSystem &system, int fd, const QByteArray &data, const Kept &kept)
{
    applyKept(fd, kept);
    if (const int error = writeAll(system, fd, data))
        return error;
    const int error = system.sync(fd);
    return error == EINVAL ? 0 : error;   // a file system without syncing has nothing to say
}

// Makes the rename itself last; the save has already succeeded, so failures are moot.
void syncFolder(const QByteArray &path)
{
    const qsizetype slash = path.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : path.left(std::max<qsizetype>(slash, 1));
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        (void)::fsync(fd);
        ::close(fd);
    }
}

} // namespace

int SaveSystem::status(const QByteArray &path, struct stat *st)
{
    return ::stat(path.constData(), st) == 0 ? 0 : errno;
}

int SaveSystem::createTemporary(QByteArray &pattern, int *fd)
{
    *fd = ::mkostemp(pattern.data(), O_CLOEXEC);
    return *fd >= 0 ? 0 : errno;
}

int SaveSystem::write(int fd, const char *data, size_t size, size_t *written)
{
    const ssize_t n = ::write(fd, data, size);
    *written = n > 0 ? size_t(n) : 0;
    return n >= 0 ? 0 : errno;
}

int SaveSystem::sync(int fd)
{
    return ::fsync(fd) == 0 ? 0 : errno;
}

int SaveSystem::close(int fd)
{
    // Linux releases the descriptor even when close fails, so it is never retried.
    return ::close(fd) == 0 ? 0 : errno;
}

int SaveSystem::rename(const QByteArray &from, const QByteArray &to)
{
    return ::rename(from.constData(), to.constData()) == 0 ? 0 : errno;
}

void SaveSystem::remove(const QByteArray &path)
{
    ::unlink(path.constData());
}

void saveBytes(const QString &path, const QByteArray &data)
{
    SaveSystem system;
    saveBytes(path, data, system);
}

void saveBytes(const QString &path, const QByteArray &data, SaveSystem &system)
{
    QByteArray target;
    if (const int error = resolveLinks(path, &target))
        fail(path, error);
    Kept kept;
    if (const int error = inspectTarget(system, target, &kept))
        fail(path, error);
    QByteArray temporary = temporaryPattern(target);
    int fd = -1;
    if (const int error = system.createTemporary(temporary, &fd))
        fail(path, error);
    int error = fillTemporary(system, fd, data, kept);
    if (const int closed = system.close(fd); !error && closed != EINTR)
        error = closed;
    if (!error)
        error = system.rename(temporary, target);
    if (error) {
        system.remove(temporary);
        fail(path, error);
    }
    syncFolder(target);
}

} // namespace rtf
