#pragma once

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QString>
#include <QTextFormat>
#include <QVariant>
#include "rtfkeptmarks.h"
#include <optional>
#include <vector>

class QTextCharFormat;
class QTextDocument;

// What a document read from RTF holds that the editor has no view for: headers, footers,
// notes, page set-up, document properties, the stylesheet, bookmarks and comments. It is
// kept as RTF and written back where it was.
//
// Kept RTF is canonical: text as \'hh or \uN escapes, every group balanced. A font or
// colour number in it is stored as a reference, \x01F<n>\x02 or \x01C<n>\x02, to the
// source's tables kept beside it, and the writer puts its own number in its place.
namespace rtf {

// Properties of the formats that anchor kept material in the text.
enum KeptProperty {
    KeptNote = QTextFormat::UserProperty + 0x5200,   // a footnote or endnote: its group
    KeptBefore,        // while a table is read: marks just before this character
    KeptAfter,         // the same just after it
    KeptStyle,         // block format: the paragraph's \sN
    KeptSection,       // block format: a section that starts at this paragraph
    KeptEnd,           // block format: what an empty paragraph held
    KeptHighlight,     // the background only shows a comment's range: it is not written
    KeptFirstIndent,   // block format: a first-line indent past the page's edge, twips
    KeptUnderline,     // the RTF word of an underline Qt draws as another kind
    KeptField,         // a field shown as the character it makes: its instruction
    KeptCustomMark,    // a note's mark is the file's own text, not its number
    KeptBorderWidths,  // cell format: each side's border width in twips, "top left bottom right"
    KeptRowPadding,    // table format: the row's \trgaph and \trpadd words
    KeptCellPadding,   // cell format: its \clpad words
};

// The background that shows a comment's range (a light yellow).
constexpr unsigned kCommentHighlight = 0xFFF3B0;

// The material of the whole document.
struct KeptDocument
{
    QByteArray styles;     // {\stylesheet ...}
    QByteArray info;       // {\info ...}
    QByteArray format;     // page set-up and other document words
    QByteArray section;    // the first section: its words, headers and footers
    QHash<int, QString> fonts;     // the source's font numbers, for the references
    QHash<int, QColor> colors;     // the source's colour numbers; invalid is automatic
    KeptMarks marks;               // bookmarks, comment ranges and the like in the text

    bool isEmpty() const
    {
        return styles.isEmpty() && info.isEmpty() && format.isEmpty() && section.isEmpty();
    }
};

// Kept RTF as a format property's value. It is ASCII, held as a string: the document hashes
// a string property by its content but every byte array alike, and thousands of notes'
// formats that differ only in their bytes would then all share one hash.
inline QVariant keptValue(const QByteArray &kept) { return QString::fromLatin1(kept); }

// The document's kept material, or null when it has none.
const KeptDocument *keptMaterial(const QTextDocument *doc);
// The document's kept material, made empty on first use.
KeptDocument &keptMaterialFor(QTextDocument *doc);
// Keeps the document's marks in step with its text from now on. A document reports its
// changes only once it has a layout, as every document a view shows has: the marks of one
// edited with no layout stay where they were read.
void trackKeptMarks(QTextDocument *doc);
// Drops the document's kept material; the formats that anchor notes and marks go with
// the text they are on.
void dropKeptMaterial(QTextDocument *doc);

// Whether typing after a character of this format would carry an anchored item on.
bool anchorsKeptItem(const QTextCharFormat &format);
// The format for text typed next to an anchor: without the anchored items and without
// the superscript that shows a note's mark.
QTextCharFormat withoutKeptItems(QTextCharFormat format);

// Kept RTF with its references resolved by the caller: fontNumber and colorNumber give
// the writer's own number for a source number.
template<typename Font, typename Color>
void expandKept(QByteArray &out, const QByteArray &kept, Font fontNumber, Color colorNumber);

// One group of kept RTF, for display: the destination word it starts with and its text.
struct KeptItem
{
    QByteArray word;
    QString text;
    int depth = 0;       // 0 for a group at the top of the kept bytes
    int param = 0;       // the parameter of its first word with one (\colsN and the like)
};
std::vector<KeptItem> keptItems(const QByteArray &kept);
// The control words of kept bytes outside any group, with their parameters if any.
std::vector<std::pair<QByteArray, std::optional<int>>> keptWords(const QByteArray &kept);

template<typename Font, typename Color>
void expandKept(QByteArray &out, const QByteArray &kept, Font fontNumber, Color colorNumber)
{
    qsizetype i = 0;
    while (i < kept.size()) {
        const qsizetype mark = kept.indexOf('\x01', i);
        if (mark < 0 || mark + 2 >= kept.size()) {
            out.append(kept.constData() + i, kept.size() - i);
            return;
        }
        out.append(kept.constData() + i, mark - i);
        const qsizetype end = kept.indexOf('\x02', mark);
        if (end < 0)
            return;
        const int n = kept.mid(mark + 2, end - mark - 2).toInt();
        out.append(QByteArray::number(kept[mark + 1] == 'F' ? fontNumber(n) : colorNumber(n)));
        i = end + 1;
    }
}

} // namespace rtf
