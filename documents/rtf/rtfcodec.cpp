#include "rtfcodec.h"

#include "rtfkept.h"
#include "rtfreader.h"
#include "rtfwriter.h"
#include "safesave.h"
#include "runtimefailure.h"

#include <QFile>
#include <QFileInfo>
#include <QScopeGuard>
#include <QStringDecoder>
#include <QTextCursor>
#include <QTextDocument>
#include <algorithm>

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

QString failureText(const char *reason, const QString &path)
{
    return QString::fromUtf8(reason).arg(path);
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
    QFile file(path);
    if (!file.exists())
        throw RuntimeFailure(RuntimeFailure::FileNotFound,
                             failureText("No se encontró el archivo «%1».", path));
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly))
        throw RuntimeFailure(RuntimeFailure::FileAccess,
                             failureText("No se puede abrir el archivo «%1»: %2.", path)
                                 .arg(file.errorString()));
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw RuntimeFailure(RuntimeFailure::DeviceIo,
                             failureText("Error al leer el archivo «%1»: %2.", path)
                                 .arg(file.errorString()));
    read(data, doc);
}

void writeFile(const QString &path, const QTextDocument *doc)
{
    saveBytes(path, write(doc));
}

} // namespace rtf
