#include "rtfwriter.h"

#include "rtfcharsets.h"
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

namespace rtf {

namespace {

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

bool isBulletStyle(int style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare;
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
    : m_doc(doc)
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
    writeFrame(m_doc->rootFrame());
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
    for (QTextBlock b = m_doc->begin(); b.isValid(); b = b.next()) {
        if (const QTextList *list = b.textList(); list && !m_listIndex.contains(list)) {
            m_lists.push_back(list);
            m_listIndex.insert(list, int(m_lists.size()));
        }
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            fontIndex(f);
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
    writeListTables();
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

void Writer::writeFrame(const QTextFrame *frame)
{
    for (auto it = frame->begin(); !it.atEnd(); ++it) {
        if (const QTextFrame *child = it.currentFrame()) {
            if (const auto *table = qobject_cast<const QTextTable *>(child))
                writeTable(table);
            else
                writeFrame(child);
            continue;
        }
        // Every block, even the empty one Qt keeps after a table, is a paragraph;
        // the reader puts the next paragraph into that block again.
        writeBlock(it.currentBlock(), "\\par\n", false);
    }
}

void Writer::writeTable(const QTextTable *table)
{
    const int rows = table->rows(), cols = table->columns();
    for (int r = 0; r < rows; ++r) {
        m_out.append("\\trowd\\trgaph108");
        for (int c = 0; c < cols; ++c)
            word("\\cellx", (c + 1) * kTableWidthTwips / std::max(cols, 1));
        m_out.append('\n');
        for (int c = 0; c < cols; ++c) {
            const QTextTableCell cell = table->cellAt(r, c);
            if (cell.row() != r || cell.column() != c) {
                m_out.append("\\pard\\intbl\\cell\n");
                continue;
            }
            // Nested tables are flattened into the cell's paragraphs.
            std::vector<QTextBlock> blocks;
            for (QTextBlock b = cell.firstCursorPosition().block();
                 b.isValid() && b.position() < cell.lastCursorPosition().position() + 1;
                 b = b.next())
                blocks.push_back(b);
            for (size_t i = 0; i < blocks.size(); ++i)
                writeBlock(blocks[i], i + 1 == blocks.size() ? "\\cell\n" : "\\par\n", true);
        }
        m_out.append("\\row\n");
    }
}

void Writer::writeBlock(const QTextBlock &block, const char *terminator, bool inTable)
{
    writeParagraphProps(block, inTable);
    for (auto it = block.begin(); !it.atEnd(); ++it)
        writeFragment(it.fragment());
    m_out.append(terminator);
}

void Writer::writeParagraphProps(const QTextBlock &block, bool inTable)
{
    const QTextBlockFormat f = block.blockFormat();
    m_out.append("\\pard\\plain");
    if (inTable)
        m_out.append("\\intbl");
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
    if (list)
        writeListProps(block, list);
    // A control word needs its delimiter; after a group's brace a space would be text.
    if (!m_out.endsWith('}'))
        m_out.append(' ');
}

void Writer::writeListProps(const QTextBlock &block, const QTextList *list)
{
    const QTextListFormat lf = list->format();
    const int level = std::clamp(lf.indent(), 1, 9);
    word("\\ls", m_listIndex.value(list));
    word("\\ilvl", level - 1);
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

void Writer::writeFragment(const QTextFragment &fragment)
{
    const QTextCharFormat f = fragment.charFormat();
    if (f.isImageFormat()) {
        writeImage(f);
        return;
    }
    const QString href = f.isAnchor() ? f.anchorHref() : QString();
    if (!href.isEmpty()) {
        m_out.append("{\\field{\\*\\fldinst HYPERLINK \"");
        writeText(href);
        m_out.append("\"}{\\fldrslt");
    }
    m_out.append('{');
    m_out.append(charProps(f, fragment.charFormatIndex()));
    writeText(fragment.text());
    m_out.append('}');
    if (!href.isEmpty())
        m_out.append("}}");
}

const QByteArray &Writer::charProps(const QTextCharFormat &f, int index)
{
    auto it = m_propsCache.find(index);
    if (it != m_propsCache.end())
        return *it;
    QByteArray p;
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
    return *m_propsCache.insert(index, p);
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

void Writer::writeText(QStringView text)
{
    static const char hexDigits[] = "0123456789abcdef";
    for (const QChar qc : text) {
        const char16_t c = qc.unicode();
        unsigned char b = 0;
        if (c >= 0x20 && c < 0x80) {
            if (c == '\\' || c == '{' || c == '}')
                m_out.append('\\');
            m_out.append(char(c));
        } else if (c == '\t') {
            m_out.append("\\tab ");
        } else if (c == 0x2028 || c == '\n') {
            m_out.append("\\line ");
        } else if (c == 0x00A0) {
            m_out.append("\\~");
        } else if (c == 0x00AD) {
            m_out.append("\\-");
        } else if (c == 0x2011) {
            m_out.append("\\_");
        } else if (c < 0x20 || c == 0xFFFC || c == 0x2029) {
            continue;
        } else if (toWindows1252(c, &b)) {
            const char esc[4] = {'\\', '\'', hexDigits[b >> 4], hexDigits[b & 15]};
            m_out.append(esc, 4);
        } else {
            m_out.append("\\u");
            appendInt(m_out, static_cast<int16_t>(c));
            m_out.append('?');
        }
    }
}

} // namespace rtf
