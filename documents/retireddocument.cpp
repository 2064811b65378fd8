#include "retireddocument.h"

#include "layoutpacing.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTimer>

namespace {

constexpr int kParagraphsPerTurn = 5000;

// Where a cut at the block leaves whole tables: before the outermost one holding it.
int cutBefore(const QTextBlock &block)
{
    const QTextFrame *frame = richtext::outermostFrame(block);
    return frame ? frame->firstPosition() - 1 : block.position();
}

// Removes the last paragraphs: the layout then has nothing after the cut to place again.
// The document goes once little is left, or when a removal takes nothing away.
void takeApart(QTextDocument *doc)
{
    const int before = doc->characterCount();
    if (doc->blockCount() > kParagraphsPerTurn) {
        QTextCursor cut(doc);
        cut.setPosition(cutBefore(doc->findBlockByNumber(doc->blockCount() - kParagraphsPerTurn)));
        cut.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cut.removeSelectedText();
        if (doc->characterCount() < before) {
            QTimer::singleShot(0, doc, [doc] { takeApart(doc); });
            return;
        }
    }
    delete doc;
}

} // namespace

void retireDocument(QTextDocument *doc)
{
    // Still being laid out, its layout would go on in Qt's own long steps: it goes at once.
    if (richtext::layoutFrontier(doc).isValid()) {
        delete doc;
        return;
    }
    doc->disconnect();
    doc->documentLayout()->disconnect();
    doc->setUndoRedoEnabled(false);
    takeApart(doc);
}
