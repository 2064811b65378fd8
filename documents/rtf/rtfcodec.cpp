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

void readPlainText(const QByteArray &data, QTextDocument *doc)
{
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString text = utf8.decode(data);
    if (utf8.hasError())
        text = QString::fromLocal8Bit(data);
    text.remove(QChar(0));
    QTextCursor(doc).insertText(text);
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
    if (!isRtf(data)) {
        readPlainText(data, doc);
        return;
    }
    // Without undo, and in one edit block that the reader opens on its own cursor. Undo
    // comes back however the reader ends, even by an exception.
    const bool undo = doc->isUndoRedoEnabled();
    doc->setUndoRedoEnabled(false);
    const auto restoreUndo = qScopeGuard([&] { doc->setUndoRedoEnabled(undo); });
    Reader(doc).read(data);
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
