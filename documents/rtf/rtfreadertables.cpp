// The reader's tables: cells collected per nesting level, then put into the document
// as QTextTables, the nested ones inside their cells.
#include "rtfreader.h"
#include "rtfkept.h"
#include "rtfunits.h"

#include <QTextDocument>
#include <QTextTable>
#include <algorithm>

namespace rtf {

namespace {

// Beyond this many columns per collected cell a table is not worth its memory.
constexpr int kMaxColumns = 64;
// A table placed as it is read goes in stretches of at least this many rows, and of a
// part of the rows placed before them: Qt goes over the whole table as rows join it.
constexpr size_t kStretchRows = 32;
constexpr int kStretchPart = 16;
// Qt moves the table's list of cells for each merge: beyond this many cells moved, rows that
// add edges to a placed table take its columns in turn.
constexpr qint64 kMaxMergeWork = qint64(1) << 28;

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
    if (int(m_tables.size()) != depth)
        return;
    OpenTable &t = m_tables.back();
    QList<CellDef> &defs = m_cellx[size_t(depth)];
    if (defs == t.defs)
        defs = t.defs;   // the rows share the copy
    t.row.defs = t.defs = defs;
    const size_t kept = t.rows.size();
    finishRow(t);
    if (depth == 1 && t.rows.size() > kept && settleRow(t)
        && t.rows.size() >= std::max(kStretchRows, size_t(t.placedRows / kStretchPart)))
        placeStretch(t);
}

// Whether a row could start a table placed as it comes: a cell for each definition, their
// edges growing, none merged.
bool Reader::isPlainRow(const TableRow &row)
{
    if (row.defs.isEmpty() || row.cells.size() != size_t(row.defs.size()))
        return false;
    int left = 0;
    for (const CellDef &def : row.defs) {
        if (def.right <= left || def.merge || def.vmerge)
            return false;
        left = def.right;
    }
    return true;
}

// Checks the top-level table's last row against the rows before it; true while they all
// repeat one plain row. Once a row departs from it, the rest of the table waits for its end.
bool Reader::settleRow(OpenTable &t)
{
    const TableRow &last = t.rows.back();
    if (t.rows.size() == 1 && !t.placed) {
        t.mixed = !isPlainRow(last);
        t.settled = t.mixed ? QList<CellDef>() : last.defs;
    } else if (last.defs != t.settled || last.cells.size() != size_t(t.settled.size())) {
        t.mixed = true;
    }
    return !t.mixed;
}

// The rows held go into the document: the first stretch makes the table, the next ones
// join it. Rows that depart from the placed ones fall on its column edges and the ones they
// add, as in a table placed whole; without edges of their own they take its columns in turn.
void Reader::placeStretch(OpenTable &t)
{
    if (t.rows.empty())
        return;
    if (!t.placed) {
        if (m_tableBudget <= 0)
            return;   // its cells become paragraphs when it ends
        flushBatch();
        t.placed = placeTable(m_cursor, t.rows, m_fresh);
        t.edges = columnEdges(t.rows);
        ++m_emitted;
    } else {
        const std::vector<int> edges = columnEdges(t.rows);
        const bool onGrid = !edges.empty() && addColumns(t, edges);
        t.placed->appendRows(int(t.rows.size()));
        fillRows(t.placed, t.placedRows, t.rows, onGrid ? t.edges : std::vector<int>(),
                 int(t.edges.size()));
    }
    t.placedRows += int(t.rows.size());
    t.rows.clear();
}

// Columns for the edges the placed rows lack: a placed cell that one falls in spans both
// parts, and the placed rows end in empty cells past their last edge. False when there
// would be too many columns or too much work.
bool Reader::addColumns(OpenTable &t, const std::vector<int> &edges)
{
    std::vector<int> added;
    std::set_difference(edges.begin(), edges.end(), t.edges.begin(), t.edges.end(),
                        std::back_inserter(added));
    const qint64 work = qint64(t.placedRows) * t.placedRows * qint64(t.edges.size() * added.size());
    if (t.edges.size() + added.size() > size_t(kMaxColumns) || work > kMaxMergeWork)
        return false;
    QTextTable *table = t.placed;
    for (const int edge : added) {
        const auto at = std::lower_bound(t.edges.begin(), t.edges.end(), edge);
        const int col = int(at - t.edges.begin());
        const bool last = at == t.edges.end();
        t.edges.insert(at, edge);
        table->insertColumns(last ? col : col + 1, 1);
        for (int r = 0; r < t.placedRows; ++r) {
            QTextTableCell cell = table->cellAt(r, col);
            if (last)
                cell.setFormat(QTextTableCellFormat());   // Qt copies the next row's first cell's
            else
                table->mergeCells(r, cell.column(), 1, col + 2 - cell.column());
        }
    }
    QTextTableFormat tf = table->format();
    tf.setColumnWidthConstraints(columnWidths(t.edges));
    table->setFormat(tf);
    return true;
}

// The column edges that every row's cells fall on, when each row defines each of its cells
// with edges that grow; none when a row does not, or when they make too many columns.
std::vector<int> Reader::columnEdges(const std::vector<TableRow> &rows)
{
    std::vector<int> edges;
    for (const TableRow &row : rows) {
        if (size_t(row.defs.size()) != row.cells.size())
            return {};
        int left = 0;
        for (const CellDef &def : row.defs) {
            if (def.right <= left)
                return {};
            left = def.right;
            edges.push_back(def.right);
        }
    }
    std::sort(edges.begin(), edges.end());
    edges.erase(std::unique(edges.begin(), edges.end()), edges.end());
    if (edges.size() > size_t(kMaxColumns))
        return {};
    return edges;
}

QList<QTextLength> Reader::columnWidths(const std::vector<int> &edges)
{
    QList<QTextLength> widths;
    int left = 0;
    for (const int edge : edges) {
        // No column wider than the widest page a word processor offers.
        widths.append(QTextLength(QTextLength::FixedLength,
                                  twipsToDocPixels(std::min(edge - left, kMaxColumnTwips))));
        left = edge;
    }
    return widths;
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
    if (outer.placed) {
        placeStretch(outer);
        return;
    }
    if (outer.rows.empty())
        return;
    flushBatch();
    placeTable(m_cursor, outer.rows, m_fresh);
    ++m_emitted;
}

// Puts a table at the cursor and the cursor into the block Qt keeps after it. Each
// QTextTable costs a couple of kilobytes, so a file has a budget of them by its size;
// beyond it, cells become plain paragraphs and the text still loads, and there is no table.
QTextTable *Reader::placeTable(QTextCursor &at, const std::vector<TableRow> &rows, bool &fresh)
{
    if (m_tableBudget <= 0) {
        for (const TableRow &row : rows) {
            for (const Cell &cell : row.cells)
                emitCell(at, cell, fresh);
        }
        return nullptr;
    }
    --m_tableBudget;
    size_t cells = 0, cols = 1;
    for (const auto &r : rows) {
        cells += r.cells.size();
        cols = std::max(cols, r.cells.size());
    }
    const size_t budget = std::max<size_t>(1, (2 * cells + kMaxColumns) / rows.size());
    std::vector<int> edges = columnEdges(rows);
    if (edges.size() > budget)
        edges.clear();
    cols = edges.empty() ? std::min({cols, size_t(kMaxColumns), budget}) : edges.size();
    // The cells draw their own borders, as the file gives them.
    QTextTableFormat tf;
    tf.setColumnWidthConstraints(columnWidths(edges));
    tf.setBorder(0);
    tf.setBorderCollapse(true);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    if (!rows.front().defs.empty() && !rows.front().defs.front().rowPadding.words.isEmpty())
        tf.setProperty(KeptRowPadding, keptValue(rows.front().defs.front().rowPadding.words));
    QTextTable *table = at.insertTable(int(rows.size()), int(cols), tf);
    fillRows(table, 0, rows, edges, int(cols));
    at.setPosition(table->lastPosition() + 1);
    fresh = true;
    return table;
}

// The rows go into the table's rows from first on.
void Reader::fillRows(QTextTable *table, int first, const std::vector<TableRow> &rows,
                      const std::vector<int> &edges, int cols)
{
    const std::vector<std::vector<CellPlace>> places = placeCells(rows, edges, cols);
    for (size_t r = 0; r < rows.size(); ++r)
        fillRow(table, first + int(r), rows[r], places[r]);
    shapeCells(table, first, rows, places);
}

// Puts each cell's content in; a cell that a merge covers adds what it holds to the cell
// that covers it.
void Reader::fillRow(QTextTable *table, int r, const TableRow &row,
                     const std::vector<CellPlace> &places)
{
    QTextCursor c;
    bool cellFresh = true;
    for (size_t i = 0; i < row.cells.size(); ++i) {
        const CellPlace &p = places[i];
        if (p.covered) {
            if (isEmptyCell(row.cells[i]))
                continue;
            c = table->cellAt(r, p.col).lastCursorPosition();
            cellFresh = false;
        } else if (p.newCell) {
            c = table->cellAt(r, p.col).firstCursorPosition();
            cellFresh = true;
        }
        emitCell(c, row.cells[i], cellFresh);
    }
}

// Merges and formats go on once the cells are filled: a cell's first paragraph takes its
// character format from the same place in the document as the cell's own format.
void Reader::shapeCells(QTextTable *table, int first, const std::vector<TableRow> &rows,
                        const std::vector<std::vector<CellPlace>> &places)
{
    for (size_t r = 0; r < rows.size(); ++r) {
        const int row = first + int(r);
        for (size_t i = 0; i < places[r].size(); ++i) {
            const CellPlace &p = places[r][i];
            if (p.covered || !p.newCell)
                continue;
            if (p.rows > 1 || p.cols > 1)
                table->mergeCells(row, p.col, p.rows, p.cols);
            if (i < size_t(rows[r].defs.size()))
                table->cellAt(row, p.col).setFormat(cellFormat(rows[r].defs[i]));
        }
    }
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
