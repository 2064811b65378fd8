// The writer's runs: character formats, hyperlinks and images.
#include "rtfwriter.h"
#include "rtfcodec.h"

#include "rtfkept.h"
#include "rtfscripts.h"
#include "rtfunderline.h"
#include "rtfunits.h"
#include "rtfwriterbytes.h"

#include <QBuffer>
#include <QImage>
#include <QPixmap>
#include <QTextDocument>
#include <QTextFragment>
#include <QUrl>
#include <cmath>
#include <cstring>

namespace rtf {

void Writer::writeFragment(const QTextFragment &fragment, const FormatOut &out, QStringView text,
                           bool complex)
{
    if (out.image) {
        writeImage(fragment.charFormat());
        return;
    }
    if (!writeKeptFragment(out, text, complex))
        writeRun(out, text, complex);
}

void Writer::writeRun(const FormatOut &out, QStringView text, bool complex)
{
    if (!writesText(text))
        return;   // a reader would find no run here, so a second save gives the same bytes
    const QByteArray &props = complex ? out.complexProps : out.props;
    // Fragments whose formats differ only in what RTF does not carry are written as one
    // run, as a reader will find them; the run just written is reopened to go on.
    const char *close = out.field.isEmpty() ? "}" : "}}}";
    if (m_out.size() == m_runEnd && props == m_runProps && out.field == m_runField) {
        m_out.chop(qsizetype(std::strlen(close)));
    } else {
        m_out.append(out.field);
        m_out.append('{');
        m_out.append(out.off);
        m_out.append(props);
    }
    writeText(text);
    m_out.append(close);
    m_runEnd = m_out.size();
    m_runProps = props;
    m_runField = out.field;
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
    if (f.isAnchor()) {
        // The link as it is written: links that differ only in what cannot be written
        // are one link, and one that writes nothing is none.
        const qsizetype start = m_out.size();
        writeLinkText(f.anchorHref());
        const QByteArray href = m_out.sliced(start);
        m_out.truncate(start);
        if (!href.isEmpty())
            out.field = "{\\field{\\*\\fldinst HYPERLINK \"" + href + "\"}{\\fldrslt";
    }
    keptFormatOut(f, out);
    QByteArray &p = out.props;
    const int font = fontIndex(f);
    const double points = f.fontPointSize() > 0 ? f.fontPointSize() : m_defaultSize;
    const int halfPoints = int(std::lround(points * 2));
    p.append("\\f");
    appendInt(p, font);
    p.append("\\fs");
    appendInt(p, halfPoints);
    if (f.fontWeight() >= QFont::DemiBold) p.append("\\b");
    if (f.fontItalic()) p.append("\\i");
    if (const std::string_view underline = underlineWord(f); !underline.empty())
        p.append('\\').append(underline.data(), qsizetype(underline.size()));
    if (f.fontStrikeOut()) p.append("\\strike");
    if (f.verticalAlignment() == QTextCharFormat::AlignSuperScript) p.append("\\super");
    else if (f.verticalAlignment() == QTextCharFormat::AlignSubScript) p.append("\\sub");
    if (f.foreground().style() != Qt::NoBrush) {
        p.append("\\cf");
        appendInt(p, m_colorIndex.value(f.foreground().color().rgb()));
    }
    if (f.background().style() != Qt::NoBrush && !f.hasProperty(KeptHighlight)) {
        const int c = m_colorIndex.value(f.background().color().rgb());
        p.append("\\chcbpat");
        appendInt(p, c);
        p.append("\\cb");
        appendInt(p, c);
    }
    out.complexProps = complexProps(f, p, font, halfPoints, !out.off.isEmpty());
    p.append(' ');
    return *m_formatCache.insert(index, out);
}

// Right-to-left script takes its font, bold, italic and size in LibreOffice and Word from
// the associated properties, which follow \rtlch; with styles kept, off is said outright too.
QByteArray Writer::complexProps(const QTextCharFormat &f, const QByteArray &props, int font,
                                int halfPoints, bool stateOff)
{
    QByteArray c = props;
    c.append("\\rtlch\\af");
    appendInt(c, font);
    c.append("\\afs");
    appendInt(c, halfPoints);
    if (f.fontWeight() >= QFont::DemiBold) c.append("\\ab");
    else if (stateOff) c.append("\\ab0");
    if (f.fontItalic()) c.append("\\ai");
    else if (stateOff) c.append("\\ai0");
    c.append(' ');
    return c;
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
    if (!image.save(&buffer, "PNG"))
        throw PictureNotEncodedFailure();
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

} // namespace rtf
