// The reader's row definitions: each cell's right edge, borders, shading and merging, as
// \trowd ... \cellx give them, and the QTextTableCellFormat made from them.
#include "rtfreader.h"
#include "rtfkept.h"
#include "rtfunits.h"

#include <QTextTable>

namespace rtf {

namespace {

// Beyond this many columns per collected cell a table is not worth its memory.
constexpr int kMaxCellDefs = 64;

} // namespace

// \trowd starts a row's definition and each \cellx gives the right edge of its next cell,
// for the table at the depth of the paragraph they come in (a top-level one before it).
void Reader::defineCell(Op op, int value)
{
    const int depth = std::clamp(top().para.tableDepth, 1, kMaxTableDepth);
    QList<CellDef> &defs = m_cellx[size_t(depth)];
    if (op == Op::RowDefaults) {
        defs.clear();
        m_rowPadding = CellPadding();
    } else if (defs.size() < kMaxCellDefs) {
        m_cellDef.right = value;
        m_cellDef.rowPadding = m_rowPadding;
        defs.push_back(m_cellDef);
    }
    m_cellDef = CellDef();
    m_borderSide = -1;
}

CellBorder *Reader::borderTarget()
{
    return m_borderSide >= 0 ? &m_cellDef.borders[m_borderSide] : nullptr;
}

// The words between \trowd and a \cellx that describe that cell; true when one was.
bool Reader::applyCellDefOp(Op op, int value)
{
    const Dest d = top().dest;
    if (d != Dest::Body && d != Dest::FieldResult)
        return false;
    switch (op) {
    case Op::BorderSide: m_borderSide = std::clamp(value, -1, 3); return true;
    case Op::BorderStyle:
        if (CellBorder *b = borderTarget()) b->style = value;
        return true;
    case Op::BorderWidth:
        if (CellBorder *b = borderTarget()) b->width = std::clamp(value, 0, 1440);
        return true;
    case Op::BorderColor:
        if (CellBorder *b = borderTarget()) b->color = value;
        return true;
    case Op::CellShading: m_cellDef.shading = value; return true;
    case Op::CellMerge: m_cellDef.merge = (unsigned char)value; return true;
    case Op::CellVMerge: m_cellDef.vmerge = (unsigned char)value; return true;
    default: return false;
    }
}

// Padding words, of the cell being defined or of its row; kept as they came.
void Reader::applyPadding(const ControlWord &w, Op op, int value)
{
    const Dest d = top().dest;
    if (d != Dest::Body && d != Dest::FieldResult)
        return;
    const bool row = op == Op::RowGap || w.extra >= 8;
    CellPadding &p = row ? m_rowPadding : m_cellDef.padding;
    if (p.words.size() > 256)
        return;   // repeated beyond any use
    p.words.append('\\').append(w.name.data(), qsizetype(w.name.size()));
    p.words.append(QByteArray::number(value));
    const int side = w.extra & 3;
    if (op == Op::RowGap)
        p.gap = std::clamp(value, 0, 1440);
    else if (w.extra & 4)
        p.unit[side] = (signed char)std::clamp(value, 0, 3);
    else
        p.twips[side] = std::clamp(value, 0, 1440);
}

// A side the file leaves out has no border, as in the word processors that write them.
QTextTableCellFormat Reader::cellFormat(const CellDef &def) const
{
    QTextTableCellFormat f;
    const auto brush = [this](int index) {
        return index > 0 && size_t(index) < m_colors.size() ? m_colors[size_t(index)] : QBrush();
    };
    static constexpr int kWidths[] = {QTextFormat::TableCellTopBorder,
                                      QTextFormat::TableCellLeftBorder,
                                      QTextFormat::TableCellBottomBorder,
                                      QTextFormat::TableCellRightBorder};
    QString widths;
    bool hairline = false;
    for (int side = 0; side < 4; ++side) {
        const CellBorder &b = def.borders[side];
        const bool shown = b.style > QTextFrameFormat::BorderStyle_None;
        // A border written with no width is a hairline, as Word draws it.
        f.setProperty(kWidths[side], shown ? std::max(twipsToDocPixels(b.width), 1.0) : 0.0);
        f.setProperty(kWidths[side] + 4, shown ? b.style : int(QTextFrameFormat::BorderStyle_None));
        const QBrush colour = brush(b.color);
        f.setProperty(kWidths[side] + 8, colour.style() == Qt::NoBrush ? QBrush(Qt::black) : colour);
        widths.append(QString::number(shown ? b.width : 0)).append(u' ');
        hairline = hairline || (shown && b.width > 0 && b.width < kTwipsPerPixel);
    }
    // Qt draws no line thinner than a pixel: the width the file gives is written back.
    if (hairline)
        f.setProperty(KeptBorderWidths, widths.trimmed());
    if (const QBrush shade = brush(def.shading); shade.style() != Qt::NoBrush)
        f.setBackground(shade);
    setPadding(f, def);
    return f;
}

// Each side's padding: the cell's own, else its row's, else the row's gap on the left and
// right; a side none of them gives has the table's.
void Reader::setPadding(QTextTableCellFormat &f, const CellDef &def)
{
    static constexpr int kPaddings[] = {QTextFormat::TableCellTopPadding,
                                        QTextFormat::TableCellLeftPadding,
                                        QTextFormat::TableCellBottomPadding,
                                        QTextFormat::TableCellRightPadding};
    for (int side = 0; side < 4; ++side) {
        int twips = def.padding.side(side);
        if (twips < 0)
            twips = def.rowPadding.side(side);
        if (twips < 0 && (side & 1))
            twips = def.rowPadding.gap;
        if (twips >= 0)
            f.setProperty(kPaddings[side], twipsToDocPixels(twips));
    }
    if (!def.padding.words.isEmpty())
        f.setProperty(KeptCellPadding, keptValue(def.padding.words));
}

bool Reader::isEmptyCell(const Cell &cell)
{
    return std::all_of(cell.begin(), cell.end(), [](const CellItem &item) {
        return item.table.empty() && item.para.text.isEmpty();
    });
}

// Where each cell of each row goes: the grid columns its edges span, widened by the cells
// \clmrg merges into it and lengthened by those \clvmrg merge into it from below. Without
// a grid a row's cells take the columns in turn, the surplus going into the last one.
std::vector<std::vector<Reader::CellPlace>> Reader::placeCells(const std::vector<TableRow> &rows,
                                                               const std::vector<int> &edges,
                                                               int cols)
{
    std::vector<std::vector<CellPlace>> out(rows.size());
    std::vector<std::pair<int, int>> open(size_t(cols), {-1, -1});   // a \clvmgf per column
    for (size_t r = 0; r < rows.size(); ++r) {
        std::vector<CellPlace> &places = out[r];
        places.resize(rows[r].cells.size());
        int next = 0, owner = -1;
        for (size_t i = 0; i < places.size(); ++i) {
            CellPlace &p = places[i];
            if (edges.empty()) {
                p.col = std::min(int(i), cols - 1);
                p.newCell = int(i) < cols;
                continue;
            }
            const CellDef &def = rows[r].defs[i];
            const int end = int(std::lower_bound(edges.begin(), edges.end(), def.right) - edges.begin());
            p.col = std::min(next, end);
            p.cols = end - p.col + 1;
            next = end + 1;
            if (def.merge == 2 && owner >= 0) {
                places[size_t(owner)].cols = end - places[size_t(owner)].col + 1;
                p.col = places[size_t(owner)].col;
                p.covered = true;
                continue;
            }
            owner = int(i);
            const auto [topRow, topIndex] = open[size_t(p.col)];
            if (def.vmerge == 2 && topRow >= 0) {
                out[size_t(topRow)][size_t(topIndex)].rows = int(r) - topRow + 1;
                p.covered = true;
                continue;
            }
            for (int c = p.col; c <= end; ++c)
                open[size_t(c)] = {-1, -1};
            if (def.vmerge == 1)
                open[size_t(p.col)] = {int(r), int(i)};
        }
    }
    return out;
}

} // namespace rtf
