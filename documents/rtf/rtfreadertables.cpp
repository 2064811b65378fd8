// The reader's tables: cells collected per nesting level, then put into the document
// as QTextTables, the nested ones inside their cells.
#include "rtfreader.h"
#include "rtfunits.h"

#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace rtf {

namespace {

// Beyond this many columns per collected cell a table is not worth its memory.
constexpr int kMaxColumns = 64;

} // namespace

// \nestcell and \nestrow end a cell or row of a nested table: the paragraph's own depth,
// or the first nested level when a file leaves \itap out.
int Reader::nestedDepth() const
{
    return std::max(top().para.tableDepth, 2);
}

void Reader::endCell(int depth)
{
    endParagraphAt(depth);   // leaves the table at depth the innermost open one
    closeCell(m_tables.back());
}

void Reader::closeCell(OpenTable &t)
{
    t.row.cells.push_back(std::move(t.cell));
    t.cell.clear();
}

void Reader::endRow(int depth)
{
    if (!m_para.text.isEmpty())
        endCell(depth);
    closeTablesDeeperThan(depth);
    if (int(m_tables.size()) == depth) {
        m_tables.back().row.cellx = m_cellx[size_t(depth)];
        finishRow(m_tables.back());
    }
}

// \trowd starts a row's definition and each \cellx gives the right edge of its next cell,
// for the table at the depth of the paragraph they come in (a top-level one before it).
void Reader::defineCell(Op op, int value)
{
    const int depth = std::clamp(top().para.tableDepth, 1, kMaxTableDepth);
    std::vector<int> &edges = m_cellx[size_t(depth)];
    if (op == Op::RowDefaults)
        edges.clear();
    else if (edges.size() < size_t(kMaxColumns))
        edges.push_back(value);
}

// Column widths from the first row whose edges match the columns, when they all grow.
QList<QTextLength> Reader::columnWidths(const std::vector<TableRow> &rows, size_t cols)
{
    for (const TableRow &row : rows) {
        if (row.cellx.size() != cols)
            continue;
        QList<QTextLength> widths;
        int left = 0;
        for (const int edge : row.cellx) {
            if (edge <= left)
                return {};
            // No column wider than the widest page a word processor offers.
            widths.append(QTextLength(QTextLength::FixedLength,
                                      twipsToDocPixels(std::min(edge - left, kMaxColumnTwips))));
            left = edge;
        }
        return widths;
    }
    return {};
}

void Reader::finishRow(OpenTable &t)
{
    if (!t.cell.empty())
        closeCell(t);
    if (!t.row.cells.empty())
        t.rows.push_back(std::move(t.row));
    t.row = TableRow();
}

// The open cell at depth; tables deeper than it end, and missing levels open, so a file
// that skips a level still nests its tables.
Reader::Cell &Reader::openCell(int depth)
{
    closeTablesDeeperThan(depth);
    while (int(m_tables.size()) < depth)
        m_tables.emplace_back();
    return m_tables.back().cell;
}

// A nested table that ends becomes one item of the cell that holds it.
void Reader::closeTablesDeeperThan(int depth)
{
    while (int(m_tables.size()) > std::max(depth, 1)) {
        OpenTable inner = std::move(m_tables.back());
        m_tables.pop_back();
        finishRow(inner);
        if (!inner.rows.empty())
            m_tables.back().cell.push_back({Paragraph(), std::move(inner.rows)});
    }
}

void Reader::flushTable()
{
    if (m_tables.empty())
        return;
    closeTablesDeeperThan(1);
    OpenTable outer = std::move(m_tables.front());
    m_tables.clear();
    finishRow(outer);
    if (outer.rows.empty())
        return;
    flushBatch();
    placeTable(m_cursor, outer.rows, m_fresh);
    ++m_emitted;
}

// Puts a table at the cursor and the cursor into the block Qt keeps after it. Each
// QTextTable costs a couple of kilobytes, so a file has a budget of them by its size;
// beyond it, cells become plain paragraphs and the text still loads.
void Reader::placeTable(QTextCursor &at, const std::vector<TableRow> &rows, bool &fresh)
{
    if (m_tableBudget <= 0) {
        for (const TableRow &row : rows) {
            for (const Cell &cell : row.cells)
                emitCell(at, cell, fresh);
        }
        return;
    }
    --m_tableBudget;
    size_t cells = 0, cols = 1;
    for (const auto &r : rows) {
        cells += r.cells.size();
        cols = std::max(cols, r.cells.size());
    }
    const size_t budget = std::max<size_t>(1, (2 * cells + kMaxColumns) / rows.size());
    cols = std::min({cols, size_t(kMaxColumns), budget});
    QTextTableFormat tf;
    tf.setColumnWidthConstraints(columnWidths(rows, cols));
    tf.setBorder(1);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    QTextTable *table = at.insertTable(int(rows.size()), int(cols), tf);
    for (size_t r = 0; r < rows.size(); ++r) {
        const auto &row = rows[r].cells;
        QTextCursor c;
        bool cellFresh = true;
        for (size_t col = 0; col < row.size(); ++col) {
            // Cells beyond the table's width go into its last cell.
            if (col < cols) {
                c = table->cellAt(int(r), int(col)).firstCursorPosition();
                cellFresh = true;
            }
            emitCell(c, row[col], cellFresh);
        }
    }
    at.setPosition(table->lastPosition() + 1);
    fresh = true;
}

void Reader::emitCell(QTextCursor &at, const Cell &cell, bool &fresh)
{
    for (const CellItem &item : cell) {
        if (!item.table.empty()) {
            placeTable(at, item.table, fresh);
            continue;
        }
        emitParagraph(at, item.para, fresh);
        fresh = false;
    }
}

} // namespace rtf
