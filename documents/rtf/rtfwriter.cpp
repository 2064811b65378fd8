#include "rtfwriter.h"

#include "rtfcharsets.h"
#include "rtfkept.h"
#include "rtfunits.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <cmath>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace rtf {

namespace {

const char *cellEnd(int depth)
{
    return depth > 1 ? "\\nestcell\n" : "\\cell\n";
}

constexpr int kTableWidthTwips = 9000;
constexpr int kListHangTwips = 360;

void appendInt(QByteArray &out, long long v)
{
    char buf[24];
    char *p = buf + sizeof buf;
    const bool negative = v < 0;
    unsigned long long u = negative ? 0ULL - static_cast<unsigned long long>(v) : v;
    do {
        *--p = char('0' + u % 10);
        u /= 10;
    } while (u);
    if (negative)
        *--p = '-';
    out.append(p, buf + sizeof buf - p);
}

int nfcForStyle(int style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return 1;
    case QTextListFormat::ListLowerRoman: return 2;
    case QTextListFormat::ListUpperAlpha: return 3;
    case QTextListFormat::ListLowerAlpha: return 4;
    case QTextListFormat::ListDecimal: return 0;
    default: return 23;
    }
}

const char *oldNumberingWord(int style)
{
    switch (style) {
    case QTextListFormat::ListUpperRoman: return "\\pnucrm";
    case QTextListFormat::ListLowerRoman: return "\\pnlcrm";
    case QTextListFormat::ListUpperAlpha: return "\\pnucltr";
    case QTextListFormat::ListLowerAlpha: return "\\pnlcltr";
    default: return "\\pndec";
    }
}

} // namespace

Writer::Writer(const QTextDocument *doc)
    : m_doc(doc), m_kept(keptMaterial(doc))
{
    const QFont f = doc->defaultFont();
    if (f.pointSizeF() > 0)
        m_defaultSize = f.pointSizeF();
}

void Writer::word(const char *w) { m_out.append(w); }

void Writer::word(const char *w, int value)
{
    m_out.append(w);
    appendInt(m_out, value);
}

QByteArray Writer::write()
{
    m_out.reserve(qsizetype(m_doc->characterCount()) * 2 + 1024);
    collect();
    writeHeader();
    writeFrame(m_doc->rootFrame(), 0, kTableWidthTwips);
    m_out.append("}\n");
    return m_out;
}

QString Writer::familyOf(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return m_doc->defaultFont().family();
}

int Writer::fontIndex(const QTextCharFormat &format)
{
    const QString family = familyOf(format);
    auto it = m_fontIndex.constFind(family);
    if (it != m_fontIndex.cend())
        return *it;
    m_fonts.append(family);
    m_fontIndex.insert(family, int(m_fonts.size() - 1));
    return int(m_fonts.size() - 1);
}

void Writer::collect()
{
    fontIndex(QTextCharFormat());
    if (m_kept)
        collectKeptDocument();
    for (QTextBlock b = m_doc->begin(); b.isValid(); b = b.next()) {
        if (m_kept)
            collectKeptBlock(b);
        if (const QTextList *list = b.textList(); list && !m_listIndex.contains(list)) {
            m_lists.push_back(list);
            m_listIndex.insert(list, int(m_lists.size()));
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const int index = it.fragment().charFormatIndex();
            if (m_seenFormats.contains(index))
                continue;
            m_seenFormats.insert(index);
            const QTextCharFormat f = it.fragment().charFormat();
            fontIndex(f);
            if (m_kept)
                collectKeptFormat(f);
            for (const QBrush &brush : {f.foreground(), f.background()}) {
                if (brush.style() == Qt::NoBrush || m_colorIndex.contains(brush.color().rgb()))
                    continue;
                m_colors.push_back(brush.color());
                m_colorIndex.insert(brush.color().rgb(), int(m_colors.size()));
            }
        }
    }
}

void Writer::writeHeader()
{
    m_out.append("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n{\\fonttbl");
    for (int i = 0; i < m_fonts.size(); ++i) {
        word("{\\f", i);
        m_out.append("\\fnil\\fcharset0 ");
        writeText(m_fonts.at(i));
        m_out.append(";}");
    }
    m_out.append("}\n{\\colortbl;");
    for (const QColor &c : m_colors) {
        word("\\red", c.red());
        word("\\green", c.green());
        word("\\blue", c.blue());
        m_out.append(';');
    }
    m_out.append("}\n");
    if (m_kept && !m_kept->styles.isEmpty()) {
        writeKept(m_kept->styles);
        m_out.append('\n');
    }
    writeListTables();
    if (m_kept)
        writeKeptDocument();
}

void Writer::writeListTables()
{
    if (m_lists.empty())
        return;
    m_out.append("{\\*\\listtable");
    for (size_t i = 0; i < m_lists.size(); ++i) {
        const int style = m_lists[i]->format().style();
        const int nfc = nfcForStyle(style);
        m_out.append("{\\list\\listtemplateid");
        appendInt(m_out, i + 1);
        for (int level = 0; level < 9; ++level) {
            word("{\\listlevel\\levelnfc", nfc);
            word("\\levelnfcn", nfc);
            m_out.append("\\leveljc0\\levelfollow0\\levelstartat1");
            if (nfc == 23) {
                m_out.append("{\\leveltext\\'01\\u8226 ?;}{\\levelnumbers;}");
            } else {
                m_out.append("{\\leveltext\\'02\\'0");
                appendInt(m_out, level);
                m_out.append(".;}{\\levelnumbers\\'01;}");
            }
            word("\\fi", -kListHangTwips);
            word("\\li", (level + 1) * 720);
            m_out.append('}');
        }
        word("\\listid", int(i + 1));
        m_out.append("}\n");
    }
    m_out.append("}\n{\\*\\listoverridetable");
    for (size_t i = 0; i < m_lists.size(); ++i) {
        word("{\\listoverride\\listid", int(i + 1));
        word("\\listoverridecount0\\ls", int(i + 1));
        m_out.append('}');
    }
    m_out.append("}\n");
}

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
// \nestcell and gives its row properties at the end, in \*\nesttableprops.
void Writer::writeTable(const QTextTable *table, int depth, int widthTwips)
{
    const int rows = table->rows(), cols = std::max(table->columns(), 1);
    const std::vector<int> edges = cellEdges(table, cols, widthTwips);
    QByteArray rowProps("\\trowd\\trgaph108");
    for (const int edge : edges)
        rowProps += "\\cellx" + QByteArray::number(edge);
    for (int r = 0; r < rows; ++r) {
        if (depth == 1)
            m_out.append(rowProps + '\n');
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() == r && cell.column() == c)
                writeCell(cell, depth, edges[size_t(c)] - (c > 0 ? edges[size_t(c) - 1] : 0));
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

void Writer::writeBlock(const QTextBlock &block, const char *terminator, int depth)
{
    const auto kept = m_keptBlocks.isEmpty() ? m_keptBlocks.cend()
                                             : m_keptBlocks.constFind(block.blockFormatIndex());
    if (kept != m_keptBlocks.cend())
        writeKept(kept->first);
    writeParagraphProps(block, depth);
    const QString text = block.text();
    // A block's fragments follow each other, so each one's text starts where the last ended.
    qsizetype offset = 0;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        writeFragment(fragment, QStringView(text).mid(offset, fragment.length()));
        offset += fragment.length();
    }
    if (kept != m_keptBlocks.cend())
        writeKept(kept->second);
    m_out.append(terminator);
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
    writeKeptParagraphProps(f);
    const Qt::Alignment a = f.alignment() & Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter) m_out.append("\\qc");
    else if (a & Qt::AlignJustify) m_out.append("\\qj");
    else if (a & Qt::AlignRight) m_out.append("\\qr");
    else m_out.append("\\ql");
    const QTextList *list = block.textList();
    const int listIndent = list ? list->format().indent() * int(m_doc->indentWidth()) : 0;
    word("\\li", pixelsToTwips(f.leftMargin() + listIndent));
    word("\\ri", pixelsToTwips(f.rightMargin()));
    word("\\fi", pixelsToTwips(f.textIndent()) - (list ? kListHangTwips : 0));
    if (f.topMargin() > 0) word("\\sb", pixelsToTwips(f.topMargin()));
    if (f.bottomMargin() > 0) word("\\sa", pixelsToTwips(f.bottomMargin()));
    if (f.lineHeightType() == QTextBlockFormat::MinimumHeight)
        word("\\sl", pixelsToTwips(f.lineHeight()));
    else if (f.lineHeightType() == QTextBlockFormat::FixedHeight)
        word("\\sl", -pixelsToTwips(f.lineHeight()));
    if (list) {
        word("\\ls", m_listIndex.value(list));
        word("\\ilvl", std::clamp(list->format().indent(), 1, 9) - 1);
    }
}

void Writer::writeListText(const QTextBlock &block, const QTextList *list)
{
    const QTextListFormat lf = list->format();
    const int level = std::clamp(lf.indent(), 1, 9);
    // Readers that know only the older numbering see \pn; the others skip it.
    if (isBulletStyle(lf.style())) {
        m_out.append("{\\*\\pn\\pnlvlblt\\pnindent360{\\pntxtb\\'95}}{\\pntext\\'95\\tab}");
    } else {
        word("{\\*\\pn\\pnlvlbody", level);
        m_out.append(oldNumberingWord(lf.style()));
        m_out.append("\\pnstart1\\pnindent360{\\pntxta.}}{\\pntext ");
        writeText(list->itemText(block));
        m_out.append("\\tab}");
    }
}

void Writer::writeFragment(const QTextFragment &fragment, QStringView text)
{
    const FormatOut &out = formatOut(fragment);
    if (out.image) {
        writeImage(fragment.charFormat());
        return;
    }
    if (!writeKeptFragment(out, text))
        writeRun(out, text);
}

void Writer::writeRun(const FormatOut &out, QStringView text)
{
    if (!out.href.isEmpty()) {
        m_out.append("{\\field{\\*\\fldinst HYPERLINK \"");
        writeText(out.href);
        m_out.append("\"}{\\fldrslt");
    }
    m_out.append('{');
    m_out.append(out.props);
    writeText(text);
    m_out.append('}');
    if (!out.href.isEmpty())
        m_out.append("}}");
}

const Writer::FormatOut &Writer::formatOut(const QTextFragment &fragment)
{
    const int index = fragment.charFormatIndex();
    auto it = m_formatCache.constFind(index);
    if (it != m_formatCache.cend())
        return *it;
    const QTextCharFormat f = fragment.charFormat();
    FormatOut out;
    out.image = f.isImageFormat();
    if (f.isAnchor())
        out.href = f.anchorHref();
    keptFormatOut(f, out);
    QByteArray &p = out.props;
    p.append("\\f");
    appendInt(p, fontIndex(f));
    p.append("\\fs");
    appendInt(p, std::lround((f.fontPointSize() > 0 ? f.fontPointSize() : m_defaultSize) * 2));
    if (f.fontWeight() >= QFont::DemiBold) p.append("\\b");
    if (f.fontItalic()) p.append("\\i");
    if (f.fontUnderline() || f.underlineStyle() != QTextCharFormat::NoUnderline) {
        switch (f.underlineStyle()) {
        case QTextCharFormat::DashUnderline: p.append("\\uldash"); break;
        case QTextCharFormat::DotLine: p.append("\\uld"); break;
        case QTextCharFormat::DashDotLine: p.append("\\uldashd"); break;
        case QTextCharFormat::DashDotDotLine: p.append("\\uldashdd"); break;
        case QTextCharFormat::WaveUnderline: p.append("\\ulwave"); break;
        default: p.append("\\ul"); break;
        }
    }
    if (f.fontStrikeOut()) p.append("\\strike");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) p.append("\\super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) p.append("\\sub");
    if (f.foreground().style() != Qt::NoBrush) {
        p.append("\\cf");
        appendInt(p, m_colorIndex.value(f.foreground().color().rgb()));
    }
    if (f.background().style() != Qt::NoBrush) {
        const int c = m_colorIndex.value(f.background().color().rgb());
        p.append("\\chcbpat");
        appendInt(p, c);
        p.append("\\cb");
        appendInt(p, c);
    }
    p.append(' ');
    return *m_formatCache.insert(index, out);
}

void Writer::writeImage(const QTextCharFormat &format)
{
    const QTextImageFormat f = format.toImageFormat();
    const QVariant v = m_doc->resource(QTextDocument::ImageResource, QUrl(f.name()));
    QImage image = v.value<QImage>();
    if (image.isNull())
        image = v.value<QPixmap>().toImage();
    if (image.isNull() && v.typeId() == QMetaType::QByteArray)
        image.loadFromData(v.toByteArray());
    if (image.isNull())
        return;
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const double w = f.width() > 0 ? f.width() : image.width();
    const double h = f.height() > 0 ? f.height() : image.height();
    word("{\\pict\\pngblip\\picw", image.width());
    word("\\pich", image.height());
    word("\\picwgoal", pixelsToTwips(w));
    word("\\pichgoal", pixelsToTwips(h));
    m_out.append('\n');
    const QByteArray hex = png.toHex();
    for (qsizetype i = 0; i < hex.size(); i += 128) {
        m_out.append(hex.constData() + i, std::min<qsizetype>(128, hex.size() - i));
        m_out.append('\n');
    }
    m_out.append('}');
}

namespace {

// Says how many of the next (up to) eight characters are printable ASCII that RTF takes
// as it is, and has written them to out as bytes; out needs room for eight.
qsizetype copyPlainAscii(const char16_t *p, qsizetype length, char *out)
{
#if defined(__SSE2__)
    if (length >= 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        // Signed compares: characters from U+8000 up count as below 0x20.
        const __m128i special = _mm_or_si128(
            _mm_or_si128(_mm_cmplt_epi16(v, _mm_set1_epi16(0x20)),
                         _mm_cmpgt_epi16(v, _mm_set1_epi16(0x7f))),
            _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('\\')),
                         _mm_or_si128(_mm_cmpeq_epi16(v, _mm_set1_epi16('{')),
                                      _mm_cmpeq_epi16(v, _mm_set1_epi16('}')))));
        _mm_storel_epi64(reinterpret_cast<__m128i *>(out), _mm_packus_epi16(v, v));
        const unsigned mask = unsigned(_mm_movemask_epi8(special));
        return mask ? __builtin_ctz(mask) / 2 : 8;
    }
#endif
    (void)p;
    (void)length;
    (void)out;
    return 0;
}

} // namespace

void Writer::writeText(QStringView text)
{
    static const char hexDigits[] = "0123456789abcdef";
    // Characters go through a small buffer: one append per few thousand bytes, not per byte.
    char buf[4096];
    qsizetype n = 0;
    const char16_t *p = text.utf16();
    const qsizetype length = text.size();
    for (qsizetype i = 0; i < length; ++i) {
        if (n > qsizetype(sizeof buf) - 16) {
            m_out.append(buf, n);
            n = 0;
        }
        const qsizetype plain = copyPlainAscii(p + i, length - i, buf + n);
        if (plain > 0) {
            n += plain;
            i += plain - 1;
            continue;
        }
        const char16_t c = p[i];
        unsigned char b = 0;
        if (c >= 0x20 && c < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                buf[n++] = '\\';
            buf[n++] = char(c);
            continue;
        }
        const char *word = nullptr;
        switch (c) {
        case '\t': word = "\\tab "; break;
        case '\n': case 0x2028: word = "\\line "; break;
        case 0x00A0: word = "\\~"; break;
        case 0x00AD: word = "\\-"; break;
        case 0x2011: word = "\\_"; break;
        default: break;
        }
        if (word) {
            while (*word)
                buf[n++] = *word++;
        } else if (c < 0x20 || c == 0xFFFC || c == 0x2029) {
            continue;
        } else if (toWindows1252(c, &b)) {
            buf[n++] = '\\';
            buf[n++] = '\'';
            buf[n++] = hexDigits[b >> 4];
            buf[n++] = hexDigits[b & 15];
        } else {
            m_out.append(buf, n);
            n = 0;
            m_out.append("\\u");
            appendInt(m_out, static_cast<int16_t>(c));
            // The fallback as an escape: some readers take a bare "?" after the number
            // for part of the control word and then skip the next character instead.
            m_out.append("\\'3f");
        }
    }
    m_out.append(buf, n);
}

} // namespace rtf
