#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <sys/types.h>

struct stat;

namespace rtf {

// The system calls a save makes, one virtual each, so that tests can make any step fail
// the way a disk does. The base class makes the real calls. Each returns 0 or the errno
// of its failure.
class SaveSystem
{
public:
    virtual ~SaveSystem() = default;
    virtual int status(const QByteArray &path, struct stat *st);
    // Creates and opens a new file from a mkstemp pattern, which it completes in place.
    virtual int createTemporary(QByteArray &pattern, int *fd);
    // Writes at most size bytes; *written says how many went out before any failure.
    virtual int write(int fd, const char *data, size_t size, size_t *written);
    virtual int sync(int fd);
    virtual int close(int fd);
    virtual int rename(const QByteArray &from, const QByteArray &to);
    virtual void remove(const QByteArray &path);
};

// Writes data to path so that nothing is lost whatever fails: the bytes go to a new file
// in the same folder, which is synced to disk and then renamed over the old one. Any
// failure throws RuntimeFailure naming the file and the reason in Spanish (filefailures.h);
// the old file is then untouched and the new one removed. A symbolic link, or a chain of
// them, keeps pointing at its file, and a file that exists keeps its permissions.
void saveBytes(const QString &path, const QByteArray &data);
void saveBytes(const QString &path, const QByteArray &data, SaveSystem &system);

} // namespace rtf
