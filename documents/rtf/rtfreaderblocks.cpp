// The reader's paragraphs and lists: collected, then put into the document.
#include "rtfreader.h"
#include "rtfindents.h"
#include "rtfkept.h"
#include "rtfscripts.h"
#include "rtfunits.h"

#include <QTextDocument>
#include <QTextList>

namespace rtf {

namespace {

// A fresh cursor's block is still empty and unformatted: it takes the formats instead of
// a new block being made.
void insertBlock(QTextCursor &cursor, const QTextBlockFormat &bf, const QTextCharFormat &cf,
                 bool fresh)
{
    if (fresh) {
        cursor.setBlockFormat(bf);
        cursor.setBlockCharFormat(cf);
    } else {
        cursor.insertBlock(bf, cf);
    }
}

} // namespace

bool Reader::applyBreakOp(Op op, int value)
{
    const Dest d = top().dest;
    if (d != Dest::Body && d != Dest::FieldResult)
        return false;
    switch (op) {
    case Op::Par: endParagraph(); return true;
    case Op::Sect: sectionBreak(); return true;
    case Op::Page:
        if (!m_para.text.isEmpty())
            endParagraph();
        m_pageBreakPending = true;
        return true;
    case Op::Cell: endCell(1); return true;
    case Op::NestCell: endCell(nestedDepth()); return true;
    case Op::Row: endRow(1); return true;
    case Op::NestRow: endRow(nestedDepth()); return true;
    case Op::RowDefaults: case Op::CellBoundary: defineCell(op, value); return true;
    default: return false;
    }
}

void Reader::endParagraph()
{
    endParagraphAt(top().para.tableDepth);
}

// The paragraph goes into the open cell of the table at depth, or into the body at 0.
void Reader::endParagraphAt(int depth)
{
    m_lead = 0;
    flushHidden();
    if (Q_UNLIKELY(m_sectionPending || !m_pendingAnchor.isEmpty()))
        closeKeptParagraph();
    m_para.props = top().para;
    m_para.props.tableDepth = depth;
    if (m_para.props.listOverride >= 0)
        applyLevelIndents(m_para.props, top().paraSet);
    m_para.pageBreak = m_pageBreakPending;
    m_pageBreakPending = false;
    if (depth > 0) {
        openCell(depth).push_back({std::move(m_para), {}});
        m_para = Paragraph();
    } else {
        flushTable();
        if (m_batched == m_batch.size())
            m_batch.emplace_back();
        std::swap(m_para, m_batch[m_batched++]);
        m_para.text.resize(0);
        m_para.runs.clear();
        m_para.section.clear();
        m_para.tail.clear();
        m_para.marks.clear();
        ++m_emitted;
        if (m_batched == kBatch)
            flushBatch();
    }
    m_runFormat = -1;
}

void Reader::finishDocument()
{
    const bool pending = !m_para.text.isEmpty();
    const int depth = top().para.tableDepth;
    if (pending && depth > 0)
        endCell(depth);
    else if (pending || (m_emitted == 0 && m_tables.empty()))
        endParagraphAt(0);   // an empty last paragraph is the document's final mark
    flushTable();
    flushBatch();
}

void Reader::flushBatch()
{
    for (size_t i = 0; i < m_batched; ++i) {
        emitParagraph(m_cursor, m_batch[i], m_fresh);
        m_fresh = false;
    }
    m_batched = 0;
}

StoredFormat<QTextBlockFormat> &Reader::blockFormat(const Paragraph &p, bool inList)
{
    // Documents repeat a few paragraph settings, so each distinct set is built once.
    const BlockKey key{p.props, p.pageBreak, inList};
    auto it = m_blockFormats.find(key);
    if (it == m_blockFormats.end())
        it = m_blockFormats.insert(key, {makeBlockFormat(p, inList)});
    return *it;
}

// The list's own indent places the marker; the margin holds only what is beyond it. A
// margin below zero puts an item left of its level's usual place, where the file has it;
// the first line always keeps room for the marker. Old numbering (\pn) has no level to
// give an indent where the paragraph gives none, so its text starts past the marker.
void Reader::listIndents(const ParaProps &pp, double *left, double *first) const
{
    int level = 1;
    qint64 key = 0;
    listStyleFor(pp, &level, &key);
    const double hang = twipsToDocPixels(kListHangTwips);
    const double total = pp.listOverride >= 0 ? std::max(*left, 0.0) : std::max(*left, hang);
    *left = total - level * m_doc->indentWidth();
    *first = std::max(twipsToDocPixels(double(pp.first)) + hang, hang - total);
}

QTextBlockFormat Reader::makeBlockFormat(const Paragraph &p, bool inList) const
{
    const ParaProps &pp = p.props;
    QTextBlockFormat f;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    Qt::Alignment align = aligns[pp.align & 3];
    if (pp.rtl) {
        // \ql and \qr name sides of the page, whichever way the paragraph runs.
        f.setLayoutDirection(Qt::RightToLeft);
        if (align & (Qt::AlignLeft | Qt::AlignRight))
            align |= Qt::AlignAbsolute;
    }
    f.setAlignment(align);
    double left = twipsToDocPixels(pp.left);
    double first = twipsToDocPixels(pp.first);
    if (inList) {
        listIndents(pp, &left, &first);
        // The marker keeps its room on the page; the file's first line is written back.
        if (qint64(pp.left) + pp.first < 0 && pp.listOverride >= 0)
            f.setProperty(KeptFirstIndent, pp.first);
    } else if (const int start = pp.rtl ? pp.right : pp.left; qint64(start) + pp.first < 0) {
        // A first line the file starts past the page's edge would be cut off: it is drawn
        // from the edge, and the file's indent is kept for writing back.
        first = -twipsToDocPixels(start);
        f.setProperty(KeptFirstIndent, pp.first);
    }
    if (left != 0)
        f.setLeftMargin(left);
    if (pp.right != 0)
        f.setRightMargin(twipsToDocPixels(pp.right));
    if (first != 0)
        f.setTextIndent(first);
    if (pp.before > 0)
        f.setTopMargin(twipsToDocPixels(pp.before));
    if (pp.after > 0)
        f.setBottomMargin(twipsToDocPixels(pp.after));
    if (pp.lineSpacing != 0)
        f.setLineHeight(twipsToDocPixels(std::abs(pp.lineSpacing)),
                        pp.lineSpacing > 0 ? QTextBlockFormat::MinimumHeight
                                           : QTextBlockFormat::FixedHeight);
    if (p.pageBreak)
        f.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
    if (pp.style > 0)
        f.setProperty(KeptStyle, pp.style);
    if (pp.outline >= 0)
        f.setHeadingLevel(pp.outline + 1);
    return f;
}

void Reader::emitParagraph(QTextCursor &cursor, const Paragraph &p, bool fresh)
{
    int level = 0;
    qint64 key = 0;
    const bool inList = listStyleFor(p.props, &level, &key) != kNoList;
    StoredFormat<QTextBlockFormat> &bf = blockFormat(p, inList);
    if (p.runs.empty()) {
        insertBlock(cursor, bf.format, QTextCharFormat(), fresh);
    } else {
        StoredFormat<QTextCharFormat> &cf = m_formats[p.runs[0].format];
        insertBlock(cursor, bf.format, cf.format, fresh);
        cf.adopt([&] { return cursor.blockCharFormat(); });
    }
    bf.adopt([&] { return cursor.blockFormat(); });
    const int start = cursor.position();
    ScriptsAround around(p.text);
    for (int i = 0, n = int(p.runs.size()); i < n; ++i)
        insertRun(cursor, p, i, around);
    if (Q_UNLIKELY(!p.marks.empty()))
        placeMarks(p, start);
    if (Q_UNLIKELY(!p.section.isEmpty() || !p.tail.isEmpty())) {
        QTextBlockFormat kept;
        if (!p.section.isEmpty())
            kept.setProperty(KeptSection, keptValue(p.section));
        if (!p.tail.isEmpty())
            kept.setProperty(KeptEnd, keptValue(p.tail));
        cursor.mergeBlockFormat(kept);
    }
    if (inList)
        attachList(cursor, p.props);
}

} // namespace rtf
