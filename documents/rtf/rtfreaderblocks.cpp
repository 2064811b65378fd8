// The reader's paragraphs, lists and tables: collected, then put into the document.
#include "rtfreader.h"
#include "rtfunits.h"

#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

namespace rtf {

namespace {

// Beyond this many columns per collected cell a table is not worth its memory.
constexpr int kMaxColumns = 64;

} // namespace

bool Reader::applyBreakOp(Op op)
{
    const Dest d = top().dest;
    if (d != Dest::Body && d != Dest::FieldResult)
        return false;
    switch (op) {
    case Op::Par: case Op::Sect: endParagraph(); return true;
    case Op::Page:
        if (!m_para.text.isEmpty())
            endParagraph();
        m_pageBreakPending = true;
        return true;
    case Op::NestCell: endParagraph(); return true;
    case Op::Cell: endCell(); return true;
    case Op::Row: endRow(); return true;
    case Op::RowDefaults: case Op::NestRow: case Op::CellBoundary: return true;
    default: return false;
    }
}

void Reader::endParagraph()
{
    m_lead = 0;
    m_para.props = top().para;
    m_para.pageBreak = m_pageBreakPending;
    m_pageBreakPending = false;
    if (m_para.props.inTable) {
        m_cell.push_back(std::move(m_para));
        m_para = Paragraph();
    } else {
        flushTable();
        emitParagraph(m_cursor, m_para, m_fresh);
        m_fresh = false;
        ++m_emitted;
        m_para.text.resize(0);
        m_para.runs.clear();
    }
    m_runFormat = -1;
}

void Reader::endCell()
{
    top().para.inTable = true;
    endParagraph();
    m_row.cells.push_back(std::move(m_cell));
    m_cell.clear();
}

void Reader::endRow()
{
    if (!m_cell.empty() || !m_para.text.isEmpty())
        endCell();
    if (!m_row.cells.empty())
        m_rows.push_back(std::move(m_row));
    m_row = TableRow();
}

void Reader::finishDocument()
{
    const bool pending = !m_para.text.isEmpty();
    if (!m_cell.empty() || !m_row.cells.empty())
        endRow();
    if (pending && top().para.inTable) {
        endRow();
    } else if (pending || m_emitted == 0) {
        top().para.inTable = false;
        // An empty last paragraph is the document's final mark, not a paragraph of its own.
        if (pending || m_rows.empty())
            endParagraph();
    }
    flushTable();
}

QTextBlockFormat Reader::blockFormat(const Paragraph &p, bool inList)
{
    const ParaProps &pp = p.props;
    QTextBlockFormat f;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    f.setAlignment(aligns[pp.align & 3]);
    double left = twipsToPixels(pp.left);
    double first = twipsToPixels(pp.first);
    if (inList) {
        // The list's own indent places the bullet; the margin holds only what is beyond.
        int level = 1;
        qint64 key = 0;
        listStyleFor(pp, &level, &key);
        left = std::max(0.0, left - level * m_doc->indentWidth());
        first = std::max(0.0, twipsToPixels(pp.first + 360));
    }
    if (left != 0)
        f.setLeftMargin(left);
    if (pp.right != 0)
        f.setRightMargin(twipsToPixels(pp.right));
    if (first != 0)
        f.setTextIndent(first);
    if (pp.before > 0)
        f.setTopMargin(twipsToPixels(pp.before));
    if (pp.after > 0)
        f.setBottomMargin(twipsToPixels(pp.after));
    if (pp.lineSpacing != 0)
        f.setLineHeight(twipsToPixels(std::abs(pp.lineSpacing)),
                        pp.lineSpacing > 0 ? QTextBlockFormat::MinimumHeight
                                           : QTextBlockFormat::FixedHeight);
    if (p.pageBreak)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    return f;
}

int Reader::listStyleFor(const ParaProps &pp, int *level, qint64 *key) const
{
    if (pp.listOverride > 0) {
        *level = pp.listLevel + 1;
        *key = qint64(pp.listOverride) << 8 | pp.listLevel;
        auto o = m_overrides.constFind(pp.listOverride);
        if (o == m_overrides.cend())
            return QTextListFormat::ListDisc;
        auto def = m_listDefs.constFind(*o);
        if (def == m_listDefs.cend() || size_t(pp.listLevel) >= def->levels.size())
            return QTextListFormat::ListDisc;
        return def->levels[pp.listLevel];
    }
    if (pp.oldStyle != kNoList) {
        *level = pp.oldLevel;
        *key = -(qint64(-pp.oldStyle) << 8 | pp.oldLevel);
        return pp.oldStyle;
    }
    return kNoList;
}

void Reader::emitParagraph(QTextCursor &cursor, const Paragraph &p, bool fresh)
{
    int level = 0;
    qint64 key = 0;
    const bool inList = listStyleFor(p.props, &level, &key) != kNoList;
    const QTextBlockFormat bf = blockFormat(p, inList);
    const QTextCharFormat cf = p.runs.empty() ? QTextCharFormat() : m_formats[p.runs[0].format];
    if (fresh) {
        cursor.setBlockFormat(bf);
        cursor.setBlockCharFormat(cf);
    } else {
        cursor.insertBlock(bf, cf);
    }
    const int n = int(p.runs.size());
    for (int i = 0; i < n; ++i) {
        const int start = p.runs[i].start;
        const int end = i + 1 < n ? p.runs[i + 1].start : int(p.text.size());
        // The document copies the characters, so a view on the paragraph's text will do.
        if (end > start)
            cursor.insertText(QString::fromRawData(p.text.constData() + start, end - start),
                              m_formats[p.runs[i].format]);
    }
    if (inList)
        attachList(cursor, p.props);
    else
        m_lastListKey = 0;
}

void Reader::attachList(QTextCursor &cursor, const ParaProps &props)
{
    int level = 1;
    qint64 key = 0;
    const int style = listStyleFor(props, &level, &key);
    // Each block added to a QTextList costs time in the list's length, so a bullet list
    // is continued only by the paragraph right after it; a later run of bullets starts a
    // list of its own. Numbered lists are kept whole for their numbering.
    const bool bullet = style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
                        || style == QTextListFormat::ListSquare;
    const bool continues = !bullet || key == m_lastListKey;
    m_lastListKey = key;
    auto it = m_textLists.constFind(key);
    if (continues && it != m_textLists.cend() && *it) {
        (*it)->add(cursor.block());
        return;
    }
    QTextListFormat lf;
    lf.setStyle(QTextListFormat::Style(style));
    lf.setIndent(std::clamp(level, 1, 9));
    m_textLists.insert(key, cursor.createList(lf));
}

void Reader::flushTable()
{
    if (m_rows.empty())
        return;
    size_t cells = 0, cols = 1;
    for (const auto &r : m_rows) {
        cells += r.cells.size();
        cols = std::max(cols, r.cells.size());
    }
    const size_t budget = std::max<size_t>(1, (2 * cells + kMaxColumns) / m_rows.size());
    cols = std::min({cols, size_t(kMaxColumns), budget});
    QTextTableFormat tf;
    tf.setBorder(1);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    QTextTable *table = m_cursor.insertTable(int(m_rows.size()), int(cols), tf);
    for (size_t r = 0; r < m_rows.size(); ++r) {
        const auto &row = m_rows[r].cells;
        QTextCursor c;
        for (size_t col = 0; col < row.size(); ++col) {
            // Cells beyond the table's width go into its last cell.
            const bool extra = col >= cols;
            if (!extra)
                c = table->cellAt(int(r), int(col)).firstCursorPosition();
            bool fresh = !extra;
            for (const Paragraph &p : row[col]) {
                emitParagraph(c, p, fresh);
                fresh = false;
            }
        }
    }
    m_rows.clear();
    m_cursor.movePosition(QTextCursor::End);
    m_fresh = true;
    ++m_emitted;
}

} // namespace rtf
