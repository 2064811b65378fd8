#include "rtfjson.h"

#include "rtfunits.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>

namespace {

QString alignName(Qt::Alignment a)
{
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter) return QStringLiteral("center");
    if (a & Qt::AlignJustify) return QStringLiteral("justify");
    if (a & Qt::AlignRight) return QStringLiteral("right");
    return QStringLiteral("left");
}

void appendList(QByteArray &out, const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list) {
        out.append("null");
        return;
    }
    const QTextListFormat f = list->format();
    QString style;
    switch (f.style()) {
    case QTextListFormat::ListDecimal: style = QStringLiteral("decimal"); break;
    case QTextListFormat::ListLowerAlpha: style = QStringLiteral("lower-alpha"); break;
    case QTextListFormat::ListUpperAlpha: style = QStringLiteral("upper-alpha"); break;
    case QTextListFormat::ListLowerRoman: style = QStringLiteral("lower-roman"); break;
    case QTextListFormat::ListUpperRoman: style = QStringLiteral("upper-roman"); break;
    default: style = QStringLiteral("bullet"); break;
    }
    out.append("{\"style\":\"").append(style.toLatin1()).append("\",\"level\":");
    out.append(QByteArray::number(std::max(1, f.indent()))).append('}');
}

} // namespace

void appendString(QByteArray &out, const QString &s)
{
    out.append('"');
    for (const QChar c : s) {
        switch (c.unicode()) {
        case '"': out.append("\\\""); break;
        case '\\': out.append("\\\\"); break;
        case '\n': case 0x2028: out.append("\\n"); break;
        case '\t': out.append("\\t"); break;
        default:
            if (c.unicode() < 0x20)
                out.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toLatin1());
            else
                out.append(QString(c).toUtf8());
        }
    }
    out.append('"');
}

namespace {

// The JSON fields of one run but its text, in the order the format gives them.
QByteArray runFormat(const QTextCharFormat &f, const QTextDocument *doc)
{
    const double size = f.fontPointSize() > 0 ? f.fontPointSize() : doc->defaultFont().pointSizeF();
    const QStringList families = f.fontFamilies().toStringList();
    auto flag = [](bool b) { return b ? "true" : "false"; };
    QByteArray out;
    out.append(",\"bold\":").append(flag(f.fontWeight() >= QFont::DemiBold));
    out.append(",\"italic\":").append(flag(f.fontItalic()));
    out.append(",\"underline\":").append(flag(f.fontUnderline()));
    out.append(",\"strike\":").append(flag(f.fontStrikeOut()));
    out.append(",\"size\":").append(QByteArray::number(size));
    out.append(",\"color\":");
    if (f.foreground().style() == Qt::NoBrush)
        out.append("null");
    else
        appendString(out, f.foreground().color().name());
    out.append(",\"font\":");
    appendString(out, families.isEmpty() ? doc->defaultFont().family() : families.first());
    return out;
}

void appendRuns(QByteArray &out, const QTextBlock &b, const QTextDocument *doc)
{
    out.append("\"runs\":[");
    QByteArray current;
    QString text;
    bool first = true;
    auto flush = [&] {
        if (text.isEmpty())
            return;
        out.append(first ? "{\"text\":" : ",{\"text\":");
        first = false;
        appendString(out, text);
        out.append(current).append('}');
        text.clear();
    };
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QByteArray f = runFormat(it.fragment().charFormat(), doc);
        if (f != current) {
            flush();
            current = f;
        }
        text += it.fragment().text();
    }
    flush();
    out.append(']');
}

} // namespace

QByteArray documentToJson(const QTextDocument *doc)
{
    QByteArray out("{\"paragraphs\":[");
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (b != doc->begin())
            out.append(',');
        out.append("{\"align\":\"").append(alignName(f.alignment()).toLatin1());
        out.append("\",\"indent\":{\"left\":").append(QByteArray::number(rtf::pixelsToTwips(f.leftMargin())));
        out.append(",\"right\":").append(QByteArray::number(rtf::pixelsToTwips(f.rightMargin())));
        out.append(",\"first\":").append(QByteArray::number(rtf::pixelsToTwips(f.textIndent())));
        out.append("},\"list\":");
        appendList(out, b);
        out.append(',');
        appendRuns(out, b, doc);
        out.append('}');
    }
    out.append("],\"kept\":");
    appendKept(out, doc);
    out.append('}');
    return out;
}
