#pragma once

#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>

#include "rtfunits.h"

// A document's text with its tables drawn around it: "[a|b/c|d]" is a table of two rows
// and two columns; a cell's paragraphs are joined by spaces and empty ones left out, so
// nested tables show as brackets inside a cell.
inline QString tableShape(QTextFrame::iterator it)
{
    QStringList parts;
    for (; !it.atEnd(); ++it) {
        if (auto *table = qobject_cast<QTextTable *>(it.currentFrame())) {
            QStringList rows;
            for (int r = 0; r < table->rows(); ++r) {
                QStringList cells;
                for (int c = 0; c < table->columns(); ++c)
                    cells << tableShape(table->cellAt(r, c).begin());
                rows << cells.join(u'|');
            }
            parts << u'[' + rows.join(u'/') + u']';
        } else if (!it.currentBlock().text().isEmpty()) {
            parts << it.currentBlock().text();
        }
    }
    return parts.join(u' ');
}

inline QString tableShape(QTextDocument *doc)
{
    return tableShape(doc->rootFrame()->begin());
}

// Each table's column widths in twips, outermost first, nested ones after their table;
// "-" for a table that shares its width out equally.
inline QString columnWidthsOf(QTextFrame *frame)
{
    QStringList out;
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child)) {
            QStringList w;
            for (const QTextLength &l : table->format().columnWidthConstraints())
                w << QString::number(rtf::pixelsToTwips(l.rawValue()));
            out << (w.isEmpty() ? u"-"_qs : w.join(u','));
        }
        const QString inner = columnWidthsOf(child);
        if (!inner.isEmpty())
            out << inner;
    }
    return out.join(u' ');
}
