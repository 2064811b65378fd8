#pragma once

#include <QTextBlock>
#include <QTextFrame>
#include <QTextTable>

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
