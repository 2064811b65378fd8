#pragma once

// Words for what a paragraph, its list and its table cell look like, so that tests compare
// one line of text instead of a dozen properties.
#include "rtflistformat.h"

#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>

// A file's bytes, or none if it cannot be read.
inline QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The first paragraph that holds text, or an invalid block.
inline QTextBlock blockWith(const QTextDocument &doc, const QString &text)
{
    const QTextCursor c = doc.find(text, 0, QTextDocument::FindCaseSensitively);
    return c.isNull() ? QTextBlock() : c.block();
}

inline QTextCharFormat charAt(const QTextBlock &b, int offset)
{
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (offset < f.position() - b.position() + f.length())
            return f.charFormat();
    }
    return QTextCharFormat();
}

inline QString alignmentName(Qt::Alignment a)
{
    if (a & Qt::AlignHCenter) return u"center"_qs;
    if (a & Qt::AlignJustify) return u"justify"_qs;
    if (a & Qt::AlignRight) return u"right"_qs;
    return u"left"_qs;
}

// The side of the page a paragraph is aligned to, as Qt lays it out.
inline QString visualSide(const QTextBlock &b)
{
    const QTextBlockFormat f = b.blockFormat();
    Qt::Alignment a = f.alignment();
    if (f.layoutDirection() == Qt::RightToLeft && !(a & Qt::AlignAbsolute)
        && (a & (Qt::AlignLeft | Qt::AlignRight)))
        a ^= Qt::AlignLeft | Qt::AlignRight;
    return alignmentName(a);
}

// Qt's list styles run from -1 (disc) down to -8 (upper roman).
inline QString listStyleName(int style)
{
    static const char *const kNames[] = {"disc", "circle", "square", "decimal", "lower-alpha", "upper-alpha",
                                         "lower-roman", "upper-roman"};
    return QLatin1String(style <= -1 && style >= -8 ? kNames[-style - 1] : "disc");
}

// "style level marker start text": the marker Qt draws ("-" for a bullet) and the level
// text kept from the file, its level numbers shown as their levels.
inline QString describeList(const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list)
        return u"none"_qs;
    const QTextListFormat f = list->format();
    QString marker = list->itemText(b);
    const int style = f.style();
    if (style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle
        || style == QTextListFormat::ListSquare)
        marker = u"-"_qs;
    QString text = f.stringProperty(rtf::listprop::LevelText);
    for (QChar &c : text)
        if (c.unicode() < 9)
            c = QChar(u'1' + c.unicode());
    const int start = f.hasProperty(rtf::listprop::Start) ? f.intProperty(rtf::listprop::Start) : 1;
    return QStringList{listStyleName(style), QString::number(f.indent()), marker,
                       QString::number(start), text}.join(u' ');
}

inline QString borderName(const QTextTableCellFormat &f, int widthProperty)
{
    const double width = f.doubleProperty(widthProperty);
    const int style = f.intProperty(widthProperty + 4);
    if (width <= 0 || style == QTextFrameFormat::BorderStyle_None)
        return u"none"_qs;
    static const char *const kStyles[] = {"none", "dotted", "dashed", "solid", "double",
                                          "dot-dash", "dot-dot-dash"};
    return u"%1 %2 %3"_qs.arg(qRound(width * 15))
        .arg(QLatin1String(style >= 0 && style < 7 ? kStyles[style] : "other"))
        .arg(f.brushProperty(widthProperty + 8).color().name());
}

// "row,column rowsxcolumns top ..., left ..., bottom ..., right ...[ shading #rrggbb]"
inline QString describeCell(const QTextBlock &b)
{
    const QTextTable *table = QTextCursor(b).currentTable();
    if (!table)
        return u"no table"_qs;
    const QTextTableCell cell = table->cellAt(b.position());
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    QString out = u"%1,%2 %3x%4 "_qs.arg(cell.row()).arg(cell.column()).arg(cell.rowSpan())
                      .arg(cell.columnSpan());
    out += u"top "_qs + borderName(f, QTextFormat::TableCellTopBorder);
    out += u", left "_qs + borderName(f, QTextFormat::TableCellLeftBorder);
    out += u", bottom "_qs + borderName(f, QTextFormat::TableCellBottomBorder);
    out += u", right "_qs + borderName(f, QTextFormat::TableCellRightBorder);
    if (f.background().style() != Qt::NoBrush)
        out += u" shading "_qs + f.background().color().name();
    return out;
}
