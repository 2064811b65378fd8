#include "richtextbox.h"

#include "layoutpacing.h"
#include "twips.h"

#include <QResizeEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTimer>

#include <algorithm>
#include <climits>
#include <cmath>

// How the control keeps Qt's document layout (QTextDocumentLayout, Qt 6.4) and QTextEdit out
// of the places where they never return.
//
// The layout works in 26.6 fixed point (QFixed). A document with no page height, which
// QTextEdit gives it (-1) every time it lays it out again, is laid out as one page
// INT_MAX/256 = 8,388,607 px high; the step to a new page does nothing for that height, so
// the first line laid out across that page's bottom (8,388,603 px less the frame's margins)
// is pushed to "the next page" for ever. The control therefore puts a page height of its
// own back after every such relayout: with a real page height each push moves on by a page.
// Page bottoms, (page + 1) times the page height, and line positions must still stay under
// INT_MAX/64 = 33,554,431 px, the deepest point the layout can place. A document that would
// be taller than that at the width asked for is given wider lines until it fits: the text
// stays whole, readable and editable, with a horizontal scroll bar. Wider lines only help
// paragraphs that take several lines: once widening stops lowering the height (a file of
// many short lines), or the lines reach kWidestWrap, the lines stay as they are.
//
// QTextEdit works its scroll bar's range out from the height times 100 in an int, which
// overflows past INT_MAX/100 = 21,474,836 px: the bar would go, the view get wider and the
// layout start again from the top, over and over. The control puts the right range back.
namespace {

// Small against the fixed-point range, so that (page + 1) * height stays in range for any
// document under kTallest; a line that would straddle a page break moves below it, which
// leaves a gap of at most one line every million pixels.
constexpr qreal kPageHeight = 1000000;
// The deepest the guard lets a layout go, with room for the steps between two checks.
constexpr qreal kTallest = 30000000;
// Past this height QTextEdit's own scroll range overflows.
constexpr qreal kScrollRangeOverflow = INT_MAX / 100;
// From this depth on, the height reached is projected over the rest of the document.
constexpr qreal kProjectFrom = 1000000;
// QTextEdit lays the document out down to the part in view before the page height is put
// back: deeper than this the view goes to the top first and comes back once laid out.
constexpr int kSafeOffset = 200000;
// The watch runs on every turn of the event loop while the layout goes on, laying out this
// long at a time.
constexpr int kSliceMs = 10;
// The widest the guard makes the lines, far inside the fixed-point range.
constexpr int kWidestWrap = 4000;
// A widening that leaves more than this share of the projected height did not help.
constexpr qreal kHelpfulShare = 0.9;

qreal bottomOf(const QTextBlock &block)
{
    const QTextLayout *layout = block.layout();
    return layout->position().y() + layout->boundingRect().bottom();
}

// How far down the layout has gone, and how tall the document will be at that rate.
struct Depth
{
    qreal reached = 0;
    qreal projected = 0;
};

Depth depthOf(const QTextDocument *doc, const QTextBlock &frontier)
{
    QTextBlock last = frontier.isValid() ? frontier.previous() : doc->lastBlock();
    while (last.isValid() && last.layout()->lineCount() == 0)   // hidden paragraphs
        last = last.previous();
    if (!last.isValid())
        return {};
    const qreal bottom = bottomOf(last);
    const qreal share = qreal(last.position() + last.length()) / doc->characterCount();
    return {bottom, frontier.isValid() ? bottom / std::max(share, qreal(1e-6)) : bottom};
}

} // namespace

void RichTextBox::relayout(const std::function<void()> &change)
{
    QScrollBar *bar = verticalScrollBar();
    if (bar->value() > kSafeOffset) {
        viewToRestore = cursorForPosition(QPoint(0, 0)).position();
        bar->setValue(0);
    }
    change();
    keepPageHeight();
}

void RichTextBox::keepPageHeight()
{
    QTextDocument *doc = document();
    const QSizeF page = doc->pageSize();
    if (page.height() != kPageHeight)
        doc->setPageSize(QSizeF(page.width(), kPageHeight));
    layoutWatch->start(0);
}

void RichTextBox::applyWrapWidth()
{
    const int asked = rightMarginTwips > 0 ? std::max(1, twipsToScreenPixels(rightMarginTwips)) : 0;
    const int width = minimumWrapPixels > 0
        ? std::max({asked, minimumWrapPixels, asked == 0 ? viewport()->width() : 0})
        : asked;
    const bool fixed = width > 0;
    if (lineWrapMode() == (fixed ? FixedPixelWidth : WidgetWidth)
        && (!fixed || lineWrapColumnOrWidth() == width)) {
        keepPageHeight();
        return;
    }
    relayout([this, fixed, width] {
        setLineWrapMode(fixed ? FixedPixelWidth : WidgetWidth);
        if (fixed)
            setLineWrapColumnOrWidth(width);
    });
}

// A new text starts at the width asked for, at its top. Called before the text comes in,
// so that it is laid out once, at that width.
void RichTextBox::resetWrapFloor()
{
    minimumWrapPixels = 0;
    widenedFrom = 0;
    wideningStopped = false;
    applyWrapWidth();
    viewToRestore = -1;
}

void RichTextBox::resizeEvent(QResizeEvent *event)
{
    // Lines that follow the widget's width are laid out again when the width changes.
    const bool widthChanged = event->oldSize().width() != event->size().width();
    if (lineWrapMode() == WidgetWidth && widthChanged) {
        relayout([this, event] { QTextEdit::resizeEvent(event); });
        return;
    }
    QTextEdit::resizeEvent(event);
    // Widened lines with no margin of their own still follow a window wider than them.
    if (widthChanged && minimumWrapPixels > 0)
        applyWrapWidth();
}

// Runs while the layout goes on in the background: lays the document out a slice further,
// brings the view back where it was before a relayout, and widens the lines of a document
// the layout could not place whole.
void RichTextBox::watchLayout()
{
    QTextDocument *doc = document();
    richtext::layOutFurther(doc, kSliceMs);
    const QTextBlock frontier = richtext::layoutFrontier(doc);
    if (viewToRestore >= 0) {
        const QTextBlock shown = doc->findBlock(viewToRestore);
        if (shown.layout()->lineCount() > 0) {
            verticalScrollBar()->setValue(int(shown.layout()->position().y()));
            viewToRestore = -1;
        }
    }
    if (!frontier.isValid()) {
        layoutWatch->stop();
        return;
    }
    const Depth depth = depthOf(doc, frontier);
    if (depth.reached < kTallest && (depth.reached < kProjectFrom || depth.projected < kTallest))
        return;
    widenLines(depth.projected);
}

// Connected directly to the scroll bar's range: QTextEdit's overflowed range is replaced
// before the bar hides or its value is cut down to it.
void RichTextBox::keepScrollRange()
{
    const qreal height = depthOf(document(), richtext::layoutFrontier(document())).projected;
    if (height <= kScrollRangeOverflow)
        return;
    const int top = int(std::min(height, qreal(INT_MAX))) - viewport()->height();
    if (verticalScrollBar()->maximum() != top)
        verticalScrollBar()->setRange(0, top);
}

// Heights shrink about as widths grow while paragraphs take several lines; aim well under
// the limit. Stops for good once a widening did not lower the projected height.
void RichTextBox::widenLines(qreal projected)
{
    const int current = lineWrapMode() == FixedPixelWidth ? lineWrapColumnOrWidth() : viewport()->width();
    if (wideningStopped || current >= kWidestWrap
        || (widenedFrom > 0 && projected > widenedFrom * kHelpfulShare)) {
        wideningStopped = true;
        return;
    }
    const qreal factor = std::max(qreal(1.5), projected / (kTallest * 0.75));
    widenedFrom = projected;
    minimumWrapPixels = int(std::min(qreal(kWidestWrap), std::ceil(std::max(1, current) * factor)));
    applyWrapWidth();
}
