#pragma once

#include <QByteArray>

class QTextDocument;

// The document as the JSON that rtfdump prints: paragraphs in reading order with their
// alignment, indents in twips, list and runs of equal format merged.
QByteArray documentToJson(const QTextDocument *doc);
