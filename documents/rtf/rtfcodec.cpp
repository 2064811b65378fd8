#include "rtfcodec.h"

#include "rtfkept.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "filefailures.h"
#include "safesave.h"

#include <QFile>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace rtf {

namespace {

bool isRtf(const QByteArray &data)
{
    qsizetype i = 0;
    if (data.startsWith("\xEF\xBB\xBF"))
        i = 3;
    while (i < data.size() && (data[i] == ' ' || data[i] == '\t' || data[i] == '\r'
                               || data[i] == '\n'))
        ++i;
    return QByteArrayView(data).sliced(i).startsWith("{\\rtf");
}

// A file that is not RTF is read as its text: UTF-8 when it is valid UTF-8, else the local
// 8-bit encoding. It is decoded and inserted a piece at a time, in one edit block, so that
// no second copy of the whole text is made and the cursor lays out no paragraph on the way.
void readPlainText(const QByteArray &data, QTextDocument *doc)
{
    constexpr qsizetype kPiece = 1 << 20;
    QStringDecoder decoder(QByteArrayView(data).isValidUtf8() ? QStringDecoder::Utf8
                                                               : QStringDecoder::System);
    QTextCursor cursor(doc);
    cursor.beginEditBlock();
    QString carried;   // a CR at the end of a piece, which may pair with the next piece's LF
    for (qsizetype at = 0; at < data.size(); at += kPiece) {
        const qsizetype length = std::min(kPiece, data.size() - at);
        QString text = carried + decoder.decode(QByteArrayView(data).sliced(at, length));
        text.remove(QChar(0));
        carried.clear();
        if (text.endsWith(u'\r') && at + kPiece < data.size()) {
            carried = text.right(1);
            text.chop(1);
        }
        cursor.insertText(text);
    }
    cursor.endEditBlock();
}

// The largest file Open takes. Reading builds a document several times the file's size, so
// a larger one would not fit in a desktop's memory; a sparse or endless file stops here too.
constexpr qint64 kLargestFile = qint64(1) << 30;

// Reads a whole regular file. Returns 0 or the errno of the failure (or NotAFile), and
// sets *step to where it failed. A pipe or a device is refused before anything is read
// from it, since reading one may never end; opening without blocking keeps a pipe with no
// writer from holding the editor.
int readBytes(const QString &path, QByteArray *data, FileStep *step)
{
    *step = FileStep::Open;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return errno;
    const auto closeFile = qScopeGuard([fd] { ::close(fd); });
    struct stat st {};
    if (::fstat(fd, &st) != 0)
        return errno;
    if (S_ISDIR(st.st_mode))
        return EISDIR;
    if (!S_ISREG(st.st_mode))
        return NotAFile;
    *step = FileStep::Read;
    if (st.st_size > kLargestFile)
        return EFBIG;
    data->reserve(qsizetype(st.st_size));   // files under /proc say 0 and are read all the same
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n == 0)
            return 0;
        if (n > 0 && data->size() + n > kLargestFile)
            return EFBIG;
        if (n > 0)
            data->append(buffer, n);
        else if (errno != EINTR)
            return errno;
    }
}

} // namespace

void read(const QByteArray &data, QTextDocument *doc)
{
    doc->clear();
    dropKeptMaterial(doc);
    // Without undo, and in one edit block that the reader opens on its own cursor. Undo
    // comes back however the reader ends, even by an exception.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    const auto restoreUndo = qScopeGuard([&] { doc->setUndoRedoEnabled(undo); });
    if (isRtf(data))
        Reader(doc).read(data);
    else
        readPlainText(data, doc);
}

QByteArray write(const QTextDocument *doc)
{
    return Writer(doc).write();
}

void readFile(const QString &path, QTextDocument *doc)
{
    QByteArray data;
    FileStep step = FileStep::Open;
    int error = 0;
    try {
        error = readBytes(path, &data, &step);
        if (!error)
            read(data, doc);
    } catch (const std::bad_alloc &) {
        // The document being read is a new one: the text on screen stays as it was.
        error = ENOMEM;
    }
    if (error)
        throwFileFailure(path, error, step);
}

void writeFile(const QString &path, const QTextDocument *doc)
{
    QByteArray data;
    try {
        data = write(doc);
    } catch (const PictureNotEncodedFailure &) {
        throwFileFailure(path, PictureNotEncoded, FileStep::Save);
    }
    saveBytes(path, data);
}

} // namespace rtf
