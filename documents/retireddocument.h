#pragma once

class QTextDocument;

// Deletes a document the control no longer shows a few thousand paragraphs per turn of the
// event loop: a big one deleted at once keeps the window from answering for 80 ms and more.
// The document must have no parent; nothing may use it afterwards.
void retireDocument(QTextDocument *doc);
