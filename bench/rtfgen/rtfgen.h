#pragma once

#include <QByteArray>
#include <QString>

// The project's own test documents: realistic, valid RTF as a desktop word processor
// writes it, depending only on the paragraph count and the seed.
//
// A font table (Arial, Times New Roman, Courier New, Symbol), a colour table of eight,
// then paragraphs of Spanish-looking prose. Each paragraph gets an alignment and often
// indents; some are old-style bullets. Runs inside a paragraph switch bold, italic,
// underline and strike-through and change size, colour and font, only the changes being
// written, as such writers do. Accented letters are \'hh escapes, typographic characters
// \uN?; the text is pure ASCII with CRLF line ends.
namespace rtfgen {

QByteArray document(int paragraphs, quint32 seed);

// Writes document(paragraphs, seed) to path; false when the file cannot be written.
bool writeDocument(const QString &path, int paragraphs, quint32 seed);

// For the benchmarks: writes the document to path, or ends the program with a message
// naming the file, since a benchmark has nothing to measure without it. Returns path.
QString benchDocument(const QString &path, int paragraphs, quint32 seed = 42);

} // namespace rtfgen
