#pragma once

#include <QAccessibleWidget>

class QTextCursor;
class QTextDocument;
class RichTextBox;

// What assistive technology sees of the rich text control: its text, caret, selection,
// character geometry and attributes, and editing.
//
// Qt's own interface for QTextEdit measures the text by moving a cursor to its end, which
// lays out every paragraph up to there. On a large document just opened, the first thing a
// screen reader asks (the text around the caret) then froze the window until the whole
// document was laid out. This one counts characters from the document and only lays out
// the paragraph it reads, so the layout goes on in the background as without a reader.
class RichTextBoxAccessible : public QAccessibleWidget,
                              public QAccessibleTextInterface,
                              public QAccessibleEditableTextInterface
{
public:
    explicit RichTextBoxAccessible(RichTextBox *box);

    void *interface_cast(QAccessible::InterfaceType type) override;
    QAccessible::State state() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text t, const QString &text) override;

    // Text
    void selection(int selectionIndex, int *startOffset, int *endOffset) const override;
    int selectionCount() const override;
    void addSelection(int startOffset, int endOffset) override;
    void removeSelection(int selectionIndex) override;
    void setSelection(int selectionIndex, int startOffset, int endOffset) override;
    int cursorPosition() const override;
    void setCursorPosition(int position) override;
    QString text(int startOffset, int endOffset) const override;
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                             int *startOffset, int *endOffset) const override;
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                            int *startOffset, int *endOffset) const override;
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType,
                         int *startOffset, int *endOffset) const override;
    int characterCount() const override;
    QRect characterRect(int offset) const override;
    int offsetAtPoint(const QPoint &point) const override;
    void scrollToSubstring(int startIndex, int endIndex) override;
    QString attributes(int offset, int *startOffset, int *endOffset) const override;

    // Editable text
    void deleteText(int startOffset, int endOffset) override;
    void insertText(int offset, const QString &text) override;
    void replaceText(int startOffset, int endOffset, const QString &text) override;

private:
    RichTextBox *box() const;
    QTextDocument *document() const;
    int clamped(int offset) const;
    QTextCursor cursorAt(int offset) const;
    bool editable() const;
};

// Makes the accessibility framework use RichTextBoxAccessible for every RichTextBox.
void installRichTextBoxAccessibility();

namespace richtextaccess {
// The document's characters, less the paragraph mark every document ends with. A cursor
// moved to the end would lay out the whole document to find the number.
int characterCount(const QTextDocument *document);
// The [start, end) range of the unit of text of the given kind around offset, as
// QAccessible::qAccessibleTextBoundaryHelper gives it, without laying out more than the
// paragraph that holds offset.
QPair<int, int> boundaries(QTextDocument *document, int offset,
                           QAccessible::TextBoundaryType boundaryType);
// The plain text of [start, end), with a line break for each paragraph mark.
QString textBetween(QTextDocument *document, int start, int end);
} // namespace richtextaccess
