#include "richtextboxaccessible.h"

#include "richtextbox.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

RichTextBoxAccessible::RichTextBoxAccessible(RichTextBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{
}

RichTextBox *RichTextBoxAccessible::box() const
{
    return static_cast<RichTextBox *>(widget());
}

QTextDocument *RichTextBoxAccessible::document() const
{
    return box()->document();
}

void *RichTextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    // A read-only control offers no editing, rather than editing that does nothing.
    if (type == QAccessible::EditableTextInterface)
        return editable() ? static_cast<QAccessibleEditableTextInterface *>(this) : nullptr;
    return QAccessibleWidget::interface_cast(type);
}

QAccessible::State RichTextBoxAccessible::state() const
{
    QAccessible::State s = QAccessibleWidget::state();
    s.selectableText = true;
    s.multiLine = true;
    s.readOnly = !editable();
    s.editable = editable();
    return s;
}

QString RichTextBoxAccessible::text(QAccessible::Text t) const
{
    if (t == QAccessible::Value)
        return box()->toPlainText();
    return QAccessibleWidget::text(t);
}

void RichTextBoxAccessible::setText(QAccessible::Text t, const QString &text)
{
    if (t != QAccessible::Value) {
        QAccessibleWidget::setText(t, text);
        return;
    }
    if (editable())
        box()->setText(text);
}

bool RichTextBoxAccessible::editable() const
{
    return !box()->isReadOnly();
}

int RichTextBoxAccessible::characterCount() const
{
    return richtextaccess::characterCount(document());
}

int RichTextBoxAccessible::clamped(int offset) const
{
    return qBound(0, offset, characterCount());
}

QTextCursor RichTextBoxAccessible::cursorAt(int offset) const
{
    QTextCursor cursor(document());
    cursor.setPosition(clamped(offset));
    return cursor;
}

// Selection and caret

void RichTextBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = 0;
    const QTextCursor cursor = box()->textCursor();
    if (selectionIndex != 0 || !cursor.hasSelection())
        return;
    *startOffset = cursor.selectionStart();
    *endOffset = cursor.selectionEnd();
}

int RichTextBoxAccessible::selectionCount() const
{
    return box()->textCursor().hasSelection() ? 1 : 0;
}

void RichTextBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void RichTextBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = box()->textCursor();
    cursor.clearSelection();
    box()->setTextCursor(cursor);
}

void RichTextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex != 0)
        return;
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
    box()->setTextCursor(cursor);
}

int RichTextBoxAccessible::cursorPosition() const
{
    return box()->textCursor().position();
}

void RichTextBoxAccessible::setCursorPosition(int position)
{
    box()->setTextCursor(cursorAt(position));
}

// Text

QString RichTextBoxAccessible::text(int startOffset, int endOffset) const
{
    return richtextaccess::textBetween(document(), startOffset, endOffset);
}

QString RichTextBoxAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                                            int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return QString();
    const QPair<int, int> range = richtextaccess::boundaries(document(), offset, boundaryType);
    *startOffset = range.first;
    *endOffset = range.second;
    return text(range.first, range.second);
}

QString RichTextBoxAccessible::textBeforeOffset(int offset,
                                                QAccessible::TextBoundaryType boundaryType,
                                                int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return QString();
    const QPair<int, int> here = richtextaccess::boundaries(document(), offset, boundaryType);
    if (here.first <= 0)
        return QString();
    const QPair<int, int> range =
        richtextaccess::boundaries(document(), here.first - 1, boundaryType);
    *startOffset = range.first;
    *endOffset = range.second;
    return text(range.first, range.second);
}

QString RichTextBoxAccessible::textAfterOffset(int offset,
                                               QAccessible::TextBoundaryType boundaryType,
                                               int *startOffset, int *endOffset) const
{
    *startOffset = *endOffset = -1;
    if (offset < 0 || offset > characterCount())
        return QString();
    const QPair<int, int> here = richtextaccess::boundaries(document(), offset, boundaryType);
    int next = qMax(here.second, offset + 1);
    QPair<int, int> range = richtextaccess::boundaries(document(), next, boundaryType);
    // A line's or paragraph's end still belongs to it: the next one starts a step further.
    if (range.second <= here.second)
        range = richtextaccess::boundaries(document(), ++next, boundaryType);
    if (next > characterCount())
        return QString();
    *startOffset = range.first;
    *endOffset = range.second;
    return text(range.first, range.second);
}

// Geometry

QRect RichTextBoxAccessible::characterRect(int offset) const
{
    if (offset < 0 || offset >= characterCount())
        return QRect();
    const QTextCursor cursor = cursorAt(offset);
    const QRect caret = box()->cursorRect(cursor);
    QTextCursor next = cursor;
    next.movePosition(QTextCursor::NextCharacter);
    // The format of the character passed over.
    const QFontMetrics metrics(next.charFormat().font().resolve(document()->defaultFont()));
    const QRect after = box()->cursorRect(next);
    // The next character's caret gives the width on the same line; at a line's end, the
    // font's advance does.
    const int width = after.top() == caret.top() && after.left() > caret.left()
                          ? after.left() - caret.left()
                          : metrics.horizontalAdvance(text(offset, offset + 1));
    const QRect local(caret.left(), caret.top(), width, caret.height());
    return QRect(box()->viewport()->mapToGlobal(local.topLeft()), local.size());
}

int RichTextBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const QPoint inViewport = box()->viewport()->mapFromGlobal(point);
    const QPointF inDocument(inViewport.x() + box()->horizontalScrollBar()->value(),
                             inViewport.y() + box()->verticalScrollBar()->value());
    return document()->documentLayout()->hitTest(inDocument, Qt::ExactHit);
}

namespace {

// Scrolls one bar by as little as brings [low, high] (viewport coordinates) into [0, size).
void bringInto(QScrollBar *bar, int low, int high, int size)
{
    if (low < 0)
        bar->setValue(bar->value() + low);
    else if (high > size)
        bar->setValue(bar->value() + qMin(low, high - size));
}

} // namespace

void RichTextBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    const QRect area = box()->cursorRect(cursorAt(startIndex)) | box()->cursorRect(cursorAt(endIndex));
    const QSize view = box()->viewport()->size();
    bringInto(box()->verticalScrollBar(), area.top(), area.bottom() + 1, view.height());
    bringInto(box()->horizontalScrollBar(), area.left(), area.right() + 1, view.width());
}

// Editing, as the keyboard would: nothing changes in a read-only control.

void RichTextBoxAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void RichTextBoxAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void RichTextBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (!editable())
        return;
    QTextCursor cursor = cursorAt(startOffset);
    cursor.setPosition(clamped(endOffset), QTextCursor::KeepAnchor);
    cursor.insertText(text);
}

namespace {

QAccessibleInterface *richTextBoxInterface(const QString &, QObject *object)
{
    if (auto *box = qobject_cast<RichTextBox *>(object))
        return new RichTextBoxAccessible(box);
    return nullptr;
}

} // namespace

void installRichTextBoxAccessibility()
{
    // Qt installs a factory once, however often it is asked to.
    QAccessible::installFactory(richTextBoxInterface);
}
