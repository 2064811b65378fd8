#include "layoutpacing.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QSignalBlocker>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

// Qt 6.4's document layout lays a document out in the background, one step per tick of its
// own timer, and doubles the step every tick up to 200,000 characters: about 100 ms of work
// at a stretch on a big document, during which the window does not answer. The step goes
// back to 1,000 characters whenever the document reports a change. So while a layout is on
// its way, the control reports a change over the part not laid out yet, which costs nothing
// since none of it has lines, and does the layout itself in the steps Qt takes on its own
// to reach a paragraph: from one check point (every 2,000 px) to the next.
namespace richtext {
namespace {

// A change reported from a paragraph on is laid out as far as the next check point past
// it; it must reach that far, or the layout would take the paragraphs after it, which have
// no lines yet, as laid out. Shown paragraphs are at least a line high each.
constexpr int kChangeReach = 4000;

QTextBlock shownFrom(QTextBlock block)
{
    while (block.isValid() && !block.isVisible())
        block = block.next();
    return block;
}

// Where the outermost table holding the block ends; the layout takes a table as a whole,
// so a change reported into one must cover all of it.
int outermostEnd(const QTextBlock &block)
{
    const QTextFrame *frame = outermostFrame(block);
    return frame ? frame->lastPosition() + 1 : block.position() + block.length();
}

void restartQtSteps(QTextDocument *doc, const QTextBlock &frontier)
{
    QTextBlock block = doc->findBlock(outermostEnd(frontier));
    for (int shown = 0; block.isValid() && shown < kChangeReach; block = block.next())
        shown += block.isVisible() ? 1 : 0;
    const int end = block.isValid() ? outermostEnd(block) : doc->characterCount();
    const QSignalBlocker layoutOnly(doc);
    doc->markContentsDirty(frontier.position(), end - frontier.position());
}

} // namespace

QTextFrame *outermostFrame(const QTextBlock &block)
{
    const QTextFrame *root = block.document()->rootFrame();
    QTextFrame *frame = QTextCursor(block).currentFrame();
    while (frame && frame != root && frame->parentFrame() != root)
        frame = frame->parentFrame();
    return frame != root ? frame : nullptr;
}

QTextBlock layoutFrontier(const QTextDocument *doc)
{
    const auto reached = [doc](int number) {
        const QTextBlock block = shownFrom(doc->findBlockByNumber(number));
        return !block.isValid() || block.layout()->lineCount() > 0;
    };
    int low = 0;
    int high = doc->blockCount();
    while (low < high) {
        const int middle = low + (high - low) / 2;
        if (reached(middle))
            low = middle + 1;
        else
            high = middle;
    }
    return low < doc->blockCount() ? shownFrom(doc->findBlockByNumber(low)) : QTextBlock();
}

void layOutFurther(QTextDocument *doc, int milliseconds)
{
    QElapsedTimer clock;
    clock.start();
    QTextBlock frontier = layoutFrontier(doc);
    if (!frontier.isValid())
        return;
    restartQtSteps(doc, frontier);
    while (!clock.hasExpired(milliseconds)) {
        frontier = layoutFrontier(doc);
        if (!frontier.isValid())
            return;
        doc->documentLayout()->blockBoundingRect(frontier);
        if (frontier.layout()->lineCount() == 0)
            return;  // not taken now; Qt's own steps go on with it
    }
}

} // namespace richtext
