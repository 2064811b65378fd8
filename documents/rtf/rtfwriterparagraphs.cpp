// The writer's paragraphs: their properties, then their runs.
#include "rtfwriter.h"

#include "rtfindents.h"
#include "rtfscripts.h"
#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace rtf {

void Writer::writeBlock(const QTextBlock &block, const char *terminator, int depth)
{
    const auto kept = m_keptBlocks.isEmpty() ? m_keptBlocks.cend()
                                             : m_keptBlocks.constFind(block.blockFormatIndex());
    if (kept != m_keptBlocks.cend())
        writeKept(kept->first);
    writeParagraphProps(block, depth);
    writeBlockText(block);
    if (kept != m_keptBlocks.cend())
        writeKept(kept->second);
    m_out.append(terminator);
}

// The block's fragments, with the kept marks between their characters. A fragment that
// stands for a note or a field is written whole, after the marks inside it.
void Writer::writeBlockText(const QTextBlock &block)
{
    const QString text = block.text();
    const int base = block.position();
    // A block's fragments follow each other, so each one's text starts where the last ended.
    qsizetype offset = 0;
    ScriptsAround around(text);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const qsizetype end = offset + fragment.length();
        const FormatOut &out = formatOut(fragment);
        const bool whole = !out.note.isEmpty() || !out.symbol.isEmpty();
        while (true) {
            writeMarksThrough(base + int(whole ? end - 1 : offset));
            const qsizetype cut = whole ? end : std::min<qsizetype>(end, nextMark() - base);
            const QStringView piece = QStringView(text).mid(offset, cut - offset);
            writeFragment(fragment, out, piece, inRightToLeftScript(around, offset, piece));
            offset = cut;
            if (offset >= end)
                break;
        }
    }
    writeMarksThrough(base + block.length() - 1);
}

void Writer::writeParagraphProps(const QTextBlock &block, int depth)
{
    // Paragraphs that share a block format share their properties, list membership included.
    const qint64 key = qint64(block.blockFormatIndex()) << 32 | depth;
    auto cached = m_paragraphCache.constFind(key);
    if (cached == m_paragraphCache.cend()) {
        const qsizetype start = m_out.size();
        writeBlockFormat(block, depth);
        cached = m_paragraphCache.insert(key, m_out.sliced(start));
    } else {
        m_out.append(*cached);
    }
    if (const QTextList *list = block.textList())
        writeListText(block, list);
    // A control word needs its delimiter; after a group's brace a space would be text.
    if (!m_out.endsWith('}'))
        m_out.append(' ');
}

void Writer::writeBlockFormat(const QTextBlock &block, int depth)
{
    const QTextBlockFormat f = block.blockFormat();
    m_out.append("\\pard\\plain");
    if (depth > 0)
        m_out.append("\\intbl");
    if (depth > 1)
        word("\\itap", depth);
    const QTextList *list = block.textList();
    writeKeptParagraphProps(f, list);
    // The side of the page: Qt's left and right are the paragraph's start and end unless
    // it marks them absolute.
    Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (f.layoutDirection() == Qt::RightToLeft) {
        m_out.append("\\rtlpar");
        if (!(a & Qt::AlignAbsolute) && (a & (Qt::AlignLeft | Qt::AlignRight)))
            a ^= Qt::AlignLeft | Qt::AlignRight;
    }
    if (a & Qt::AlignHCenter) m_out.append("\\qc");
    else if (a & Qt::AlignJustify) m_out.append("\\qj");
    else if (a & Qt::AlignRight) m_out.append("\\qr");
    else m_out.append("\\ql");
    const Indents indents = paragraphIndents(block);
    word("\\li", indents.left);
    word("\\ri", indents.right);
    word("\\fi", indents.first);
    if (f.topMargin() > 0) word("\\sb", pixelsToTwips(f.topMargin()));
    if (f.bottomMargin() > 0) word("\\sa", pixelsToTwips(f.bottomMargin()));
    if (f.lineHeightType() == QTextBlockFormat::MinimumHeight)
        word("\\sl", pixelsToTwips(f.lineHeight()));
    else if (f.lineHeightType() == QTextBlockFormat::FixedHeight)
        word("\\sl", -pixelsToTwips(f.lineHeight()));
    if (f.headingLevel() > 0)
        word("\\outlinelevel", std::min(f.headingLevel(), 9) - 1);
    if (list) {
        word("\\ls", m_listIndex.value(list));
        word("\\ilvl", std::clamp(list->format().indent(), 1, 9) - 1);
    }
}

} // namespace rtf
