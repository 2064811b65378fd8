// The writer's outline: the header's font and colour tables, then the body.
#include "rtfwriter.h"

#include "rtfkept.h"
#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QTextDocument>
#include <QTextList>
#include <limits>

namespace rtf {

namespace {

constexpr int kTableWidthTwips = 9000;

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
    // Room for the text, escaped, and for what is kept as it was read.
    qsizetype kept = 0;
    if (m_kept) {
        kept = m_kept->styles.size() + m_kept->info.size() + m_kept->format.size()
            + m_kept->section.size();
        for (const KeptMark &mark : m_kept->marks.all())
            kept += mark.bytes.size();
    }
    m_out.reserve(qsizetype(m_doc->characterCount()) * 2 + kept + 1024);
    collect();
    writeHeader();
    writeFrame(m_doc->rootFrame(), 0, kTableWidthTwips);
    writeMarksThrough(std::numeric_limits<int>::max());
    m_out.append("}\n");
    return m_out;
}

QString Writer::familyOf(const QTextCharFormat &format) const
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty())
        if (QString family = fontTableName(families.first()); !family.isEmpty())
            return family;
    return fontTableName(m_doc->defaultFont().family());
}

int Writer::fontIndex(const QTextCharFormat &format)
{
    return fontIndex(familyOf(format));
}

int Writer::fontIndex(const QString &family)
{
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
        if (const QTextList *list = b.textList(); list && !m_listIndex.contains(list))
            addList(list);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const int index = it.fragment().charFormatIndex();
            if (m_seenFormats.contains(index))
                continue;
            // Only the formats of runs that are written go into the tables, so that the
            // tables read back are the tables written.
            const QTextCharFormat f = it.fragment().charFormat();
            if (f.isImageFormat() || !writesText(it.fragment().text()))
                continue;
            m_seenFormats.insert(index);
            fontIndex(f);
            if (m_kept)
                collectKeptFormat(f);
            addColour(f.foreground());
            // A comment's highlight is shown, not written.
            addColour(f.hasProperty(KeptHighlight) ? QBrush() : f.background());
        }
    }
    collectTableColours(m_doc->rootFrame());
}

void Writer::addColour(const QBrush &brush)
{
    if (brush.style() == Qt::NoBrush || m_colorIndex.contains(brush.color().rgb()))
        return;
    m_colors.push_back(brush.color());
    m_colorIndex.insert(brush.color().rgb(), int(m_colors.size()));
}

// 0, the automatic colour, for no brush.
int Writer::colourIndex(const QBrush &brush) const
{
    return brush.style() == Qt::NoBrush ? 0 : m_colorIndex.value(brush.color().rgb());
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

} // namespace rtf
