#pragma once

#include <QByteArray>

class QTextDocument;

// The document as the JSON that rtfdump prints: paragraphs in reading order with their
// alignment, indents in twips, list and runs of equal format merged.
QByteArray documentToJson(const QTextDocument *doc);

// s as a JSON string, quoted and escaped.
void appendString(QByteArray &out, const QString &s);

// What the document keeps for the writer without showing it: properties, page set-up,
// sections with their headers and footers, styles, notes, bookmarks, comments and breaks.
void appendKept(QByteArray &out, const QTextDocument *doc);
