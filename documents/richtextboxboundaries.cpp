#include "richtextboxaccessible.h"

#include <QTextBlock>
#include <QTextBoundaryFinder>
#include <QTextCursor>
#include <QTextDocument>

namespace richtextaccess {
namespace {

// The sentence around offset, inside its paragraph: a cursor cannot move by sentences.
QPair<int, int> sentence(const QTextBlock &block, int offset)
{
    const int start = block.position();
    const QString text = block.text();
    const int inBlock = offset - start;
    QPair<int, int> result(start, start + int(text.size()));
    QTextBoundaryFinder finder(QTextBoundaryFinder::Sentence, text);
    finder.setPosition(inBlock);
    int previous = inBlock;
    if (!(finder.boundaryReasons() & QTextBoundaryFinder::StartOfItem))
        previous = finder.toPreviousBoundary();
    const int next = finder.toNextBoundary();
    if (next != -1)
        result.second = start + next;
    if (previous != -1)
        result.first = start + previous;
    return result;
}

// Moves the cursor to where `to` takes it and returns the range from where `from` took it.
QPair<int, int> between(QTextCursor cursor, QTextCursor::MoveOperation from,
                        QTextCursor::MoveOperation to)
{
    cursor.movePosition(from);
    const int first = cursor.position();
    cursor.movePosition(to, QTextCursor::KeepAnchor);
    return {first, cursor.position()};
}

} // namespace

int characterCount(const QTextDocument *document)
{
    return qMax(0, document->characterCount() - 1);
}

// Every move here stays inside the paragraph that holds offset, so only that paragraph
// (and those before it that the background layout has not reached) is laid out.
QPair<int, int> boundaries(QTextDocument *document, int offset,
                           QAccessible::TextBoundaryType boundaryType)
{
    const int count = characterCount(document);
    offset = qBound(0, offset, count);
    // A cursor placed at offset lays out the paragraphs up to it: made only where the
    // unit needs the paragraph's layout (its characters, words and lines).
    const auto cursor = [document, offset] {
        QTextCursor c(document);
        c.setPosition(offset);
        return c;
    };
    switch (boundaryType) {
    case QAccessible::CharBoundary:
        return between(cursor(), QTextCursor::NoMove, QTextCursor::NextCharacter);
    case QAccessible::WordBoundary:
        return between(cursor(), QTextCursor::StartOfWord, QTextCursor::EndOfWord);
    case QAccessible::SentenceBoundary:
        return sentence(document->findBlock(offset), offset);
    case QAccessible::LineBoundary:
        return between(cursor(), QTextCursor::StartOfLine, QTextCursor::EndOfLine);
    case QAccessible::ParagraphBoundary: {
        const QTextBlock block = document->findBlock(offset);
        return {block.position(), block.position() + block.length() - 1};
    }
    case QAccessible::NoBoundary:
        break;
    }
    return {0, count};
}

// Gathered from the fragments rather than through a cursor: a cursor placed at the end
// lays out every paragraph before it. Paragraph and frame marks read as line breaks.
QString textBetween(QTextDocument *document, int start, int end)
{
    const int count = characterCount(document);
    start = qBound(0, start, count);
    end = qBound(0, end, count);
    if (end < start)
        std::swap(start, end);
    QString out;
    for (QTextBlock block = document->findBlock(start); block.isValid() && block.position() < end;
         block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const int from = qMax(start, fragment.position());
            const int to = qMin(end, fragment.position() + fragment.length());
            if (from < to)
                out += QStringView(fragment.text()).mid(from - fragment.position(), to - from);
        }
        const int mark = block.position() + block.length() - 1;
        if (mark >= start && mark < end)
            out += QLatin1Char('\n');
    }
    return out;
}

} // namespace richtextaccess
