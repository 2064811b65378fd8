#include "rtfjson.h"

#include "rtfindents.h"
#include "rtfkept.h"
#include "rtflistformat.h"
#include "rtfunderline.h"
#include "rtfunits.h"

#include <QStringEncoder>
#include <algorithm>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextCursor>
#include <QTextList>
#include <QTextTable>

namespace {

// The side a paragraph is aligned to on the page, whichever way it runs.
QString alignName(Qt::Alignment a, Qt::LayoutDirection direction)
{
    if (direction == Qt::RightToLeft && !(a & Qt::AlignAbsolute)
        && (a & (Qt::AlignLeft | Qt::AlignRight)))
        a ^= Qt::AlignLeft | Qt::AlignRight;
    a &= Qt::AlignHorizontal_Mask;
    if (a & Qt::AlignHCenter) return QStringLiteral("center");
    if (a & Qt::AlignJustify) return QStringLiteral("justify");
    if (a & Qt::AlignRight) return QStringLiteral("right");
    return QStringLiteral("left");
}

// s escaped for a JSON string, without the quotes. Runs of characters that need no escape
// are encoded straight into out, a few thousand at a time.
void appendEscaped(QByteArray &out, QStringView s)
{
    QStringEncoder utf8(QStringEncoder::Utf8);
    qsizetype from = 0;   // the first character not yet written
    const auto flush = [&](qsizetype to) {
        while (from < to) {
            const qsizetype n = std::min<qsizetype>(to - from, 4096);
            const qsizetype size = out.size();
            out.resize(size + utf8.requiredSpace(n));
            char *end = utf8.appendToBuffer(out.data() + size, s.sliced(from, n));
            out.truncate(end - out.constData());
            from += n;
        }
    };
    for (qsizetype i = 0; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        const char *escape = c == '"' ? "\\\"" : c == '\\' ? "\\\\"
            : (c == '\n' || c == 0x2028) ? "\\n" : c == '\t' ? "\\t" : nullptr;
        if (!escape && c >= 0x20)
            continue;
        flush(i);
        from = i + 1;
        if (escape)
            out.append(escape);
        else
            out.append("\\u").append(QByteArray::number(c, 16).rightJustified(4, '0'));
    }
    flush(s.size());
}

// A fragment's text, given a piece at a time: a long one is never copied whole.
template<typename Take>
void forEachPiece(const QTextFragment &fragment, const QTextDocument *doc, Take take)
{
    constexpr int kPiece = 1 << 16;
    if (fragment.length() <= kPiece) {
        take(fragment.text());
        return;
    }
    QString piece;
    for (int pos = fragment.position(), end = pos + fragment.length(); pos < end;) {
        piece.clear();
        for (const int stop = std::min(end, pos + kPiece); pos < stop; ++pos)
            piece.append(doc->characterAt(pos));
        // A surrogate pair stays in one piece.
        if (piece.back().isHighSurrogate() && pos < end)
            piece.append(doc->characterAt(pos++));
        take(piece);
    }
}

} // namespace

void appendString(QByteArray &out, const QString &s)
{
    out.append('"');
    appendEscaped(out, s);
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
    if (const std::string_view underline = rtf::underlineWord(f); !underline.empty())
        out.append(",\"underlineStyle\":\"").append(underline.data(), qsizetype(underline.size())).append('"');
    // What the characters stand for where they are not text of their own.
    if (f.hasProperty(rtf::KeptNote))
        out.append(",\"note\":").append(f.property(rtf::KeptNote).toByteArray().contains("\\ftnalt")
                                         ? "\"endnote\"" : "\"footnote\"");
    if (f.hasProperty(rtf::KeptField))
        out.append(",\"field\":\"SYMBOL\"");
    return out;
}

// The hidden runs among kept bytes, as runs of their own.
void appendHidden(QByteArray &out, const QByteArray &kept, bool &first)
{
    if (!kept.contains("{\\v"))
        return;
    for (const rtf::KeptItem &item : rtf::keptItems(kept)) {
        if (item.depth != 0 || item.word != "v")
            continue;
        out.append(first ? "{\"text\":" : ",{\"text\":");
        first = false;
        appendString(out, item.text.trimmed());
        out.append(",\"hidden\":true}");
    }
}

// The kept marks with hidden text in a block, each with where it is written.
std::vector<std::pair<int, QByteArray>> hiddenMarks(const QTextBlock &b, const QTextDocument *doc)
{
    std::vector<std::pair<int, QByteArray>> hidden;
    const rtf::KeptDocument *kept = rtf::keptMaterial(doc);
    if (!kept)
        return hidden;
    const std::vector<rtf::KeptMark> &marks = kept->marks.all();
    const int start = b.position(), end = start + b.length() - 1;
    auto it = std::lower_bound(marks.begin(), marks.end(), start - 1,
                               [](const rtf::KeptMark &m, int at) { return m.at < at; });
    for (; it != marks.end() && it->at <= end; ++it)
        if (it->written() >= start && it->written() <= end && it->bytes.contains("{\\v"))
            hidden.emplace_back(it->written(), it->bytes);
    return hidden;
}

void appendRuns(QByteArray &out, const QTextBlock &b, const QTextDocument *doc)
{
    out.append("\"runs\":[");
    bool first = true;
    QByteArray current;   // the format of the run still open, empty when none is
    const auto close = [&] {
        if (!current.isEmpty())
            out.append('"').append(current).append('}');
        current.clear();
    };
    const auto open = [&](const QByteArray &f) {
        if (f == current)
            return;
        close();
        out.append(first ? "{\"text\":\"" : ",{\"text\":\"");
        first = false;
        current = f;
    };
    // Hidden text ends the run before it.
    const std::vector<std::pair<int, QByteArray>> hidden = hiddenMarks(b, doc);
    size_t k = 0;
    const auto hiddenThrough = [&](int position) {
        for (; k < hidden.size() && hidden[k].first <= position; ++k) {
            close();
            appendHidden(out, hidden[k].second, first);
        }
    };
    for (auto it = b.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        const QByteArray f = runFormat(fragment.charFormat(), doc);
        const int start = fragment.position(), end = start + fragment.length();
        hiddenThrough(start);
        open(f);
        if (k == hidden.size() || hidden[k].first >= end) {
            forEachPiece(fragment, doc, [&](QStringView text) { appendEscaped(out, text); });
            continue;
        }
        const QString text = fragment.text();
        int done = start;
        while (k < hidden.size() && hidden[k].first < end) {
            const int cut = hidden[k].first;
            appendEscaped(out, QStringView(text).mid(done - start, cut - done));
            done = cut;
            hiddenThrough(cut);
            open(f);
        }
        appendEscaped(out, QStringView(text).mid(done - start));
    }
    hiddenThrough(b.position() + b.length() - 1);
    close();
    appendHidden(out, b.blockFormat().property(rtf::KeptEnd).toByteArray(), first);
    out.append(']');
}

QByteArray listStyleName(int style)
{
    switch (style) {
    case QTextListFormat::ListDecimal: return "decimal";
    case QTextListFormat::ListLowerAlpha: return "lower-alpha";
    case QTextListFormat::ListUpperAlpha: return "upper-alpha";
    case QTextListFormat::ListLowerRoman: return "lower-roman";
    case QTextListFormat::ListUpperRoman: return "upper-roman";
    case QTextListFormat::ListCircle: return "circle";
    case QTextListFormat::ListSquare: return "square";
    default: return "bullet";
    }
}

// The list an item is in: the style Qt draws, the marker it shows, and what the file said
// of the level that Qt keeps without drawing it.
void appendList(QByteArray &out, const QTextBlock &b)
{
    const QTextList *list = b.textList();
    if (!list) {
        out.append("null");
        return;
    }
    const QTextListFormat f = list->format();
    out.append("{\"style\":\"").append(listStyleName(f.style())).append("\",\"level\":");
    out.append(QByteArray::number(std::max(1, f.indent())));
    // Qt's marker text is a number's; a bullet is drawn, and the file's character kept.
    out.append(",\"marker\":");
    if (rtf::isBulletStyle(f.style()))
        appendString(out, f.hasProperty(rtf::listprop::LevelText)
                              ? f.stringProperty(rtf::listprop::LevelText) : u"•"_qs);
    else
        appendString(out, list->itemText(b));
    out.append(",\"start\":").append(QByteArray::number(f.hasProperty(rtf::listprop::Start)
                                                          ? f.intProperty(rtf::listprop::Start) : 1));
    if (f.hasProperty(rtf::listprop::Nfc))
        out.append(",\"nfc\":").append(QByteArray::number(f.intProperty(rtf::listprop::Nfc)));
    if (f.hasProperty(rtf::listprop::LevelText)) {
        QString text = f.stringProperty(rtf::listprop::LevelText);
        for (QChar &c : text)
            if (c.unicode() < 9)
                c = QChar(u'0' + c.unicode() + 1);   // a level's number as its level
        out.append(",\"text\":");
        appendString(out, text);
    }
    if (f.hasProperty(rtf::listprop::BulletFont)) {
        out.append(",\"bulletFont\":");
        appendString(out, f.stringProperty(rtf::listprop::BulletFont));
    }
    out.append('}');
}

QByteArray borderJson(const QTextTableCellFormat &f, int side)
{
    static constexpr int kWidths[] = {QTextFormat::TableCellTopBorder,
                                      QTextFormat::TableCellLeftBorder,
                                      QTextFormat::TableCellBottomBorder,
                                      QTextFormat::TableCellRightBorder};
    const double width = f.doubleProperty(kWidths[side]);
    const int style = f.intProperty(kWidths[side] + 4);
    if (width <= 0 || style == QTextFrameFormat::BorderStyle_None)
        return "null";
    return "{\"width\":" + QByteArray::number(rtf::pixelsToTwips(width)) + ",\"style\":"
        + QByteArray::number(style) + ",\"color\":\""
        + f.brushProperty(kWidths[side] + 8).color().name().toLatin1() + "\"}";
}

// The table cell a paragraph is in: its place, span, borders and shading.
void appendCell(QByteArray &out, const QTextBlock &b)
{
    const QTextTable *table = QTextCursor(b).currentTable();
    if (!table) {
        out.append("null");
        return;
    }
    const QTextTableCell cell = table->cellAt(b.position());
    const QTextTableCellFormat f = cell.format().toTableCellFormat();
    out.append("{\"row\":").append(QByteArray::number(cell.row()));
    out.append(",\"column\":").append(QByteArray::number(cell.column()));
    out.append(",\"rows\":").append(QByteArray::number(cell.rowSpan()));
    out.append(",\"columns\":").append(QByteArray::number(cell.columnSpan()));
    out.append(",\"borders\":{");
    static const char *const kSides[] = {"top", "left", "bottom", "right"};
    for (int side = 0; side < 4; ++side)
        out.append(side ? ",\"" : "\"").append(kSides[side]).append("\":").append(borderJson(f, side));
    out.append("},\"shading\":");
    if (f.background().style() == Qt::NoBrush)
        out.append("null");
    else
        appendString(out, f.background().color().name());
    out.append('}');
}

} // namespace

QByteArray documentToJson(const QTextDocument *doc)
{
    QByteArray out("{\"paragraphs\":[");
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next()) {
        const QTextBlockFormat f = b.blockFormat();
        if (b != doc->begin())
            out.append(',');
        const rtf::Indents indents = rtf::paragraphIndents(b);
        out.append("{\"align\":\"").append(alignName(f.alignment(), f.layoutDirection()).toLatin1());
        out.append("\",\"direction\":\"")
            .append(f.layoutDirection() == Qt::RightToLeft ? "rtl" : "ltr");
        out.append("\",\"indent\":{\"left\":").append(QByteArray::number(indents.left));
        out.append(",\"right\":").append(QByteArray::number(indents.right));
        out.append(",\"first\":").append(QByteArray::number(indents.first));
        out.append("},\"list\":");
        appendList(out, b);
        out.append(",\"cell\":");
        appendCell(out, b);
        out.append(',');
        appendRuns(out, b, doc);
        out.append('}');
    }
    out.append("],\"kept\":");
    appendKept(out, doc);
    out.append('}');
    return out;
}
