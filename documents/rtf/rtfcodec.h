#pragma once

#include <QByteArray>
#include <QString>

class QTextDocument;

// Reading and writing QTextDocuments as RTF.
namespace rtf {

// Replaces the content of doc with what data holds. Never fails on content: a damaged
// or hostile file loads what it can; data without an "{\rtf" header loads as plain text.
void read(const QByteArray &data, QTextDocument *doc);

// Thrown by write when a picture of the document cannot be written as PNG (libpng takes
// at most a million pixels a side); writeFile reports it as the save's failure.
struct PictureNotEncodedFailure {};

// The document as RTF. Deterministic: the same document gives the same bytes.
QByteArray write(const QTextDocument *doc);

// File variants; they throw RuntimeFailure with a Spanish description that names the
// file and the reason. writeFile goes through saveBytes, so a failure leaves the old file.
void readFile(const QString &path, QTextDocument *doc);
void writeFile(const QString &path, const QTextDocument *doc);

} // namespace rtf
