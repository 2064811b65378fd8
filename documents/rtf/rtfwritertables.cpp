// The writer's tables: rows, cells and their edges, nested tables inside their cells.
#include "rtfwriter.h"

#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QTextFrame>
#include <QTextTable>

namespace rtf {

namespace {

const char *cellEnd(int depth)
{
    return depth > 1 ? "\\nestcell\n" : "\\cell\n";
}

} // namespace

void Writer::writeFrame(const QTextFrame *frame, int depth, int widthTwips)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            writeChildFrame(child, depth, widthTwips);
            continue;
        }
        // Every block, even the empty one Qt keeps after a table, is a paragraph;
        // the reader puts the next paragraph into that block again.
        writeBlock(it.currentBlock(), "\\par\n", depth);
    }
}

// A table one level deeper; frames other than tables are not kept, their paragraphs are.
void Writer::writeChildFrame(const QTextFrame *frame, int depth, int widthTwips)
{
    if (const auto *table = qobject_cast<const QTextTable *>(frame))
        writeTable(table, depth + 1, widthTwips);
    else
        writeFrame(frame, depth, widthTwips);
}

// The right edges of a table's columns in twips: its fixed widths when it has one for
// each column, else the width shared out equally.
std::vector<int> Writer::cellEdges(const QTextTable *table, int cols, int widthTwips)
{
    const QList<QTextLength> widths = table->format().columnWidthConstraints();
    const bool fixed = widths.size() == cols
        && std::all_of(widths.begin(), widths.end(), [](const QTextLength &w) {
               return w.type() == QTextLength::FixedLength && w.rawValue() > 0;
           });
    std::vector<int> edges;
    int edge = 0;
    for (int c = 0; c < cols; ++c) {
        edge = fixed ? edge + std::clamp(pixelsToTwips(widths[c].rawValue()), 1, kMaxColumnTwips)
                     : (c + 1) * widthTwips / cols;
        edges.push_back(edge);
    }
    return edges;
}

// A top-level row ends with \row; a nested one (depth 2 and more) marks its cells with
// \nestcell and gives its row properties at the end, in \*\nesttableprops. A cell that
// spans columns is one wide cell, as word processors write it (LibreOffice and AbiWord
// read \clmrg less well); one that spans rows is continued below by empty \clvmrg cells.
void Writer::writeTable(const QTextTable *table, int depth, int widthTwips)
{
    const int rows = table->rows(), cols = std::max(table->columns(), 1);
    const std::vector<int> edges = cellEdges(table, cols, widthTwips);
    for (int r = 0; r < rows; ++r) {
        const QByteArray rowProps = rowDefinition(table, r, edges, depth);
        if (depth == 1)
            m_out.append(rowProps + '\n');
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.column() != c)
                continue;
            const int last = std::min(c + cell.columnSpan(), cols) - 1;
            if (cell.row() == r && cell.column() == c)
                writeCell(cell, depth, edges[size_t(last)] - (c > 0 ? edges[size_t(c) - 1] : 0));
            else
                writeEmptyParagraph(depth, cellEnd(depth));
        }
        if (depth == 1)
            m_out.append("\\row\n");
        else
            m_out.append("{\\*\\nesttableprops" + rowProps + "\\nestrow}\n");
    }
}

void Writer::writeCell(const QTextTableCell &cell, int depth, int widthTwips)
{
    const char *end = cellEnd(depth);
    std::vector<QTextFrame::iterator> items;
    for (auto it = cell.begin(); !it.atEnd(); ++it)
        items.push_back(it);
    for (size_t i = 0; i < items.size(); ++i) {
        const bool last = i + 1 == items.size();
        if (const QTextFrame *frame = items[i].currentFrame()) {
            writeChildFrame(frame, depth, widthTwips);
            if (last)
                writeEmptyParagraph(depth, end);
        } else {
            writeBlock(items[i].currentBlock(), last ? end : "\\par\n", depth);
        }
    }
    if (items.empty())
        writeEmptyParagraph(depth, end);
}

void Writer::writeEmptyParagraph(int depth, const char *terminator)
{
    m_out.append("\\pard\\intbl");
    if (depth > 1)
        word("\\itap", depth);
    m_out.append(terminator);
}

} // namespace rtf
