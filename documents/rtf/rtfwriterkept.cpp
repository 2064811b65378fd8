// The writer's side of kept material: written back where the reader found it, with the
// font and colour numbers of this file.
#include "rtfwriter.h"

#include "rtfkept.h"

#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <cctype>
#include <limits>

namespace rtf {

// Every font and colour that kept RTF refers to goes into the tables.
void Writer::collectKept(const QByteArray &kept)
{
    for (qsizetype i = kept.indexOf('\x01'); i >= 0 && i + 2 < kept.size();
         i = kept.indexOf('\x01', i + 1)) {
        const int n = kept.mid(i + 2, kept.indexOf('\x02', i) - i - 2).toInt();
        if (kept[i + 1] == 'F') {
            const QString family = m_kept->fonts.value(n);
            if (!family.isEmpty()) {
                QTextCharFormat f;
                f.setFontFamilies({family});
                fontIndex(f);
            }
        } else if (const QColor c = m_kept->colors.value(n); c.isValid()) {
            addColour(c);
        }
    }
}

void Writer::collectKeptDocument()
{
    for (const QByteArray *part : {&m_kept->styles, &m_kept->info, &m_kept->format,
                                   &m_kept->section})
        collectKept(*part);
    for (const KeptMark &mark : m_kept->marks.all())
        collectKept(mark.bytes);
}

void Writer::collectKeptFormat(const QTextFormat &format)
{
    if (format.hasProperty(KeptNote))
        collectKept(format.property(KeptNote).toByteArray());
}

void Writer::collectKeptBlock(const QTextBlock &block)
{
    const int index = block.blockFormatIndex();
    if (m_seenBlockFormats.contains(index))
        return;
    m_seenBlockFormats.insert(index);
    const QTextBlockFormat f = block.blockFormat();
    if (!f.hasProperty(KeptSection) && !f.hasProperty(KeptEnd))
        return;
    const QByteArray section = f.property(KeptSection).toByteArray();
    const QByteArray end = f.property(KeptEnd).toByteArray();
    collectKept(section);
    collectKept(end);
    m_keptBlocks.insert(index, {section, end});
}

void Writer::writeKept(const QByteArray &kept)
{
    if (kept.isEmpty())
        return;
    expandKept(
        m_out, kept,
        [this](int n) {
            const QString family = m_kept->fonts.value(n);
            if (family.isEmpty())
                return 0;
            QTextCharFormat f;
            f.setFontFamilies({family});
            return fontIndex(f);
        },
        [this](int n) {
            const QColor c = m_kept->colors.value(n);
            return c.isValid() ? m_colorIndex.value(c.rgb()) : 0;
        });
}

// The document's properties, page set-up and first section, where RTF has them: after
// the tables, before the text.
void Writer::writeKeptDocument()
{
    if (m_kept->isEmpty())
        return;
    for (const QByteArray *part : {&m_kept->info, &m_kept->format, &m_kept->section}) {
        writeKept(*part);
        if (!part->isEmpty())
            m_out.append('\n');
    }
}

void Writer::writeKeptParagraphProps(const QTextBlockFormat &format, bool inList)
{
    if (m_kept && !m_kept->styles.isEmpty()) {
        if (format.hasProperty(KeptStyle))
            word("\\s", format.intProperty(KeptStyle));
        // A reader gives a paragraph its style's, or the Normal style's, value for what
        // the paragraph does not say: it says the defaults too. An \\ls that names no
        // list override is no list; Word's outline level 9 is body text.
        if (format.layoutDirection() != Qt::RightToLeft) m_out.append("\\ltrpar");
        if (format.topMargin() <= 0) m_out.append("\\sb0");
        if (format.bottomMargin() <= 0) m_out.append("\\sa0");
        if (format.lineHeightType() == QTextBlockFormat::SingleHeight) m_out.append("\\sl0");
        if (!inList && stylesSay(KeptStyleWords::List)) m_out.append("\\ls-1");
        if (format.headingLevel() <= 0 && stylesSay(KeptStyleWords::Outline))
            m_out.append("\\outlinelevel9");
    }
    if (format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
        m_out.append("\\pagebb");
}

// Whether a kept style turns on hidden text, names a list or gives an outline level: what
// is written with the styles must then say it has none. Looked for once, in all the styles.
bool Writer::stylesSay(KeptStyleWords which)
{
    if (m_stylesSay < 0) {
        const QByteArray &styles = m_kept->styles;
        m_stylesSay = 0;
        const auto says = [&](const char *w, qsizetype at) {
            const qsizetype end = at + qsizetype(qstrlen(w));
            const char next = end < styles.size() ? styles.at(end) : ' ';
            // \\v0 turns it off; a longer word is another word.
            if (w[1] == 'v')
                return !std::isalpha(static_cast<unsigned char>(next)) && next != '0';
            return bool(std::isdigit(static_cast<unsigned char>(next)));
        };
        const std::pair<const char *, KeptStyleWords> words[] = {
            {"\\v", KeptStyleWords::Hidden}, {"\\ls", KeptStyleWords::List},
            {"\\outlinelevel", KeptStyleWords::Outline}};
        for (const auto &[w, bit] : words) {
            for (qsizetype at = styles.indexOf(w); at >= 0; at = styles.indexOf(w, at + 1)) {
                if (says(w, at)) {
                    m_stylesSay |= int(bit);
                    break;
                }
            }
        }
    }
    return m_stylesSay & int(which);
}

void Writer::keptFormatOut(const QTextCharFormat &format, FormatOut &out)
{
    if (!m_kept)
        return;
    // A style, or the Normal style that \\plain brings back, may turn on what the run has
    // off; readers take the style's value for what a run does not say.
    if (!m_kept->styles.isEmpty()) {
        if (format.fontWeight() < QFont::DemiBold) out.off.append("\\b0");
        if (!format.fontItalic()) out.off.append("\\i0");
        if (!format.fontUnderline() && format.underlineStyle() == QTextCharFormat::NoUnderline)
            out.off.append("\\ulnone");
        if (!format.fontStrikeOut()) out.off.append("\\strike0");
        if (format.verticalAlignment() == QTextCharFormat::AlignNormal)
            out.off.append("\\nosupersub");
        if (stylesSay(KeptStyleWords::Hidden))
            out.off.append("\\v0");
        if (format.foreground().style() == Qt::NoBrush) out.off.append("\\cf0");
        if (format.background().style() == Qt::NoBrush || format.hasProperty(KeptHighlight))
            out.off.append("\\chcbpat0\\cb0");
    }
    if (!anchorsKeptItem(format))
        return;
    out.customMark = format.boolProperty(KeptCustomMark);
    if (format.hasProperty(KeptField)) {
        const qsizetype start = m_out.size();
        writeText(format.stringProperty(KeptField));
        out.symbol = "{\\field{\\*\\fldinst " + m_out.sliced(start) + "}{\\fldrslt }}";
        m_out.truncate(start);
    }
    const qsizetype start = m_out.size();
    writeKept(format.property(KeptNote).toByteArray());
    out.note = m_out.sliced(start);
    m_out.truncate(start);
}

void Writer::writeMarksThrough(int position)
{
    if (!m_kept)
        return;
    const std::vector<KeptMark> &marks = m_kept->marks.all();
    for (; m_mark < marks.size() && marks[m_mark].written() <= position; ++m_mark)
        writeKept(marks[m_mark].bytes);
}

int Writer::nextMark() const
{
    if (!m_kept || m_mark >= m_kept->marks.all().size())
        return std::numeric_limits<int>::max();
    return m_kept->marks.all()[m_mark].written();
}

// A note's mark is written as RTF's own automatic number, whatever it shows, unless the
// file gave a mark of its own; a field is written once for each character it shows.
bool Writer::writeKeptFragment(const FormatOut &out, QStringView text, bool complex)
{
    if (out.note.isEmpty() && out.symbol.isEmpty())
        return false;
    if (!out.symbol.isEmpty()) {
        // A reader gives the symbol the properties of the group around its field.
        m_out.append('{');
        m_out.append(out.off);
        m_out.append(out.props);
        for (qsizetype i = 0; i < text.size(); ++i)
            if (!text.at(i).isLowSurrogate())
                m_out.append(out.symbol);
        m_out.append('}');
    } else if (out.note.isEmpty()) {
        writeRun(out, text, complex);
    } else if (out.customMark) {
        writeRun(out, text, complex);
        m_out.append(out.note);
    } else {
        m_out.append('{');
        m_out.append(out.off);
        m_out.append(out.props);
        m_out.append("\\chftn}");
        m_out.append(out.note);
    }
    return true;
}

} // namespace rtf
