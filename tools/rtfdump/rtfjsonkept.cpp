#include "rtfjson.h"

#include "rtfkept.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

using rtf::KeptItem;

// The list's next element goes after a comma unless it is the first.
QByteArray &next(QByteArray &list)
{
    if (!list.isEmpty())
        list.append(',');
    return list;
}

void appendList(QByteArray &out, const char *name, const QByteArray &elements)
{
    out.append(",\"").append(name).append("\":[").append(elements).append(']');
}

QString textOf(const std::vector<KeptItem> &items, const char *word)
{
    for (const KeptItem &item : items)
        if (item.word == word)
            return item.text.trimmed();
    return {};
}

// {"word":parameter,...} for the words of kept bytes outside their groups; a word
// without a parameter is true.
void appendWords(QByteArray &out, const QByteArray &kept)
{
    QByteArray words;
    for (const auto &[word, param] : rtf::keptWords(kept)) {
        next(words).append('"').append(word).append("\":");
        words.append(param ? QByteArray::number(*param) : QByteArray("true"));
    }
    out.append('{').append(words).append('}');
}

// {"words":{...},"parts":[{"kind":"header","text":...}...]}: a section's settings and its
// headers and footers.
void appendSection(QByteArray &out, const QByteArray &kept)
{
    out.append("{\"words\":");
    appendWords(out, kept);
    QByteArray parts;
    for (const KeptItem &item : rtf::keptItems(kept)) {
        if (item.depth != 0)
            continue;
        next(parts).append("{\"kind\":\"").append(item.word).append("\",\"text\":");
        appendString(parts, item.text.trimmed());
        parts.append('}');
    }
    appendList(out, "parts", parts);
    out.append('}');
}

void appendDocumentParts(QByteArray &out, const rtf::KeptDocument &kept)
{
    QByteArray info;
    for (const KeptItem &item : rtf::keptItems(kept.info)) {
        if (item.depth == 1 && !item.text.trimmed().isEmpty()) {
            next(info).append('"').append(item.word).append("\":");
            appendString(info, item.text.trimmed());
        }
    }
    out.append(",\"info\":{").append(info).append("},\"pageSetup\":");
    appendWords(out, kept.format);
    QByteArray styles;
    for (const KeptItem &item : rtf::keptItems(kept.styles)) {
        const QString name = item.text.trimmed();
        if (item.depth == 1 && name.endsWith(QLatin1Char(';')))
            appendString(next(styles), name.chopped(1));
    }
    appendList(out, "styles", styles);
}

// Where an item is: ,"paragraph":p,"offset":o, o counting UTF-16 units from the paragraph's start.
QByteArray place(int paragraph, int offset)
{
    return ",\"paragraph\":" + QByteArray::number(paragraph) + ",\"offset\":"
        + QByteArray::number(offset);
}

// Bookmarks and comments among the marks kept before or after a character, with the place
// they are at.
void appendMarks(const QByteArray &kept, const QByteArray &at, QByteArray &marks,
                 QByteArray &comments)
{
    const std::vector<KeptItem> items = rtf::keptItems(kept);
    for (const KeptItem &item : items) {
        if (item.word == "bkmkstart") {
            next(marks).append("{\"name\":");
            appendString(marks, item.text.trimmed());
            marks.append(at).append('}');
        } else if (item.word == "annotation") {
            next(comments).append("{\"author\":");
            appendString(comments, textOf(items, "atnauthor"));
            comments.append(",\"text\":");
            appendString(comments, item.text.trimmed());
            comments.append(at).append('}');
        }
    }
}

void appendNote(QByteArray &notes, const QTextFragment &fragment, const QByteArray &at)
{
    const QTextCharFormat f = fragment.charFormat();
    const QByteArray note = f.property(rtf::KeptNote).toByteArray();
    next(notes).append("{\"kind\":");
    notes.append(note.contains("\\ftnalt") ? "\"endnote\"" : "\"footnote\"");
    notes.append(",\"mark\":");
    appendString(notes, fragment.text());
    notes.append(",\"custom\":").append(f.boolProperty(rtf::KeptCustomMark) ? "true" : "false");
    notes.append(",\"text\":");
    appendString(notes, textOf(rtf::keptItems(note), "footnote"));
    notes.append(at).append('}');
}

// A field shown as the character it makes: the character, its font and size, the field.
void appendSymbol(QByteArray &symbols, const QTextFragment &fragment, const QByteArray &at)
{
    const QTextCharFormat f = fragment.charFormat();
    next(symbols).append("{\"text\":");
    appendString(symbols, fragment.text());
    symbols.append(",\"font\":");
    appendString(symbols, f.fontFamilies().toStringList().value(0));
    symbols.append(",\"size\":").append(QByteArray::number(f.fontPointSize()));
    symbols.append(",\"instruction\":");
    appendString(symbols, f.stringProperty(rtf::KeptField));
    symbols.append(at).append('}');
}

// What the text anchors: sections begun at a paragraph, notes, bookmarks, comments,
// symbols and page breaks, each with the paragraph it is in and, but for sections and
// breaks, its character offset there.
void appendAnchored(QByteArray &out, const QTextDocument *doc)
{
    QByteArray sections, notes, marks, comments, symbols, breaks;
    const rtf::KeptDocument *kept = rtf::keptMaterial(doc);
    const std::vector<rtf::KeptMark> none;
    const std::vector<rtf::KeptMark> &kepts = kept ? kept->marks.all() : none;
    size_t k = 0;
    int paragraph = 0;
    for (QTextBlock b = doc->begin(); b.isValid(); b = b.next(), ++paragraph) {
        const QTextBlockFormat bf = b.blockFormat();
        if (bf.hasProperty(rtf::KeptSection)) {
            appendSection(next(sections), bf.property(rtf::KeptSection).toByteArray());
            sections.insert(sections.size() - 1,
                            ",\"paragraph\":" + QByteArray::number(paragraph));
        }
        if (bf.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
            next(breaks).append(QByteArray::number(paragraph));
        appendMarks(bf.property(rtf::KeptEnd).toByteArray(), place(paragraph, b.length() - 1),
                    marks, comments);
        for (; k < kepts.size() && kepts[k].at < b.position() + b.length(); ++k)
            appendMarks(kepts[k].bytes, place(paragraph, kepts[k].written() - b.position()),
                        marks, comments);
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            if (!rtf::anchorsKeptItem(f))
                continue;
            const int offset = fragment.position() - b.position();
            if (f.hasProperty(rtf::KeptNote))
                appendNote(notes, fragment, place(paragraph, offset));
            if (f.hasProperty(rtf::KeptField))
                appendSymbol(symbols, fragment, place(paragraph, offset));
        }
    }
    appendList(out, "sections", sections);
    appendList(out, "notes", notes);
    appendList(out, "bookmarks", marks);
    appendList(out, "comments", comments);
    appendList(out, "symbols", symbols);
    appendList(out, "pageBreaks", breaks);
}

} // namespace

void appendKept(QByteArray &out, const QTextDocument *doc)
{
    const rtf::KeptDocument *kept = rtf::keptMaterial(doc);
    out.append("{\"section\":");
    appendSection(out, kept ? kept->section : QByteArray());
    if (kept)
        appendDocumentParts(out, *kept);
    appendAnchored(out, doc);
    out.append('}');
}
