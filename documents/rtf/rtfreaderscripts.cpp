// The reader's runs of right-to-left script: the associated \ab, \ai, \afs and \af are
// their bold, italic, size and font where the file gives them, the run's own where not.
#include "rtfreader.h"
#include "rtfscripts.h"

namespace rtf {

namespace {

// Letters and right-to-left characters decide the script they are in; spaces, digits
// and punctuation go with the script before them.
enum class Script { Neutral, Latin, RightToLeft };

// The format an insert has just added to the document's list, the document's own: the
// cursor's charFormat() makes a copy of its own.
QTextCharFormat formatAdded(const QTextDocument *doc, qsizetype before)
{
    const QList<QTextFormat> all = doc->allFormats();
    return all.size() == before + 1 ? all.constLast().toCharFormat() : QTextCharFormat();
}

Script scriptOf(QChar c)
{
    if (isRightToLeftScript(c.unicode()))
        return Script::RightToLeft;
    return c.isLetter() ? Script::Latin : Script::Neutral;
}

} // namespace

// The font \af names for right-to-left script where it looks unlike the run's own, else -1.
int Reader::complexFont(const CharProps &c) const
{
    if (c.assocFont < 0 || c.assocFont == c.font)
        return -1;
    const auto assoc = m_fonts.constFind(c.assocFont);
    if (assoc == m_fonts.cend() || assoc->families.isEmpty())
        return -1;
    const auto own = m_fonts.constFind(c.font);
    return own != m_fonts.cend() && own->families == assoc->families ? -1 : c.assocFont;
}

// The format of right-to-left script in a run of c, or -1 where it looks like the rest.
int Reader::complexFormatIndex(const CharProps &c)
{
    if (Q_LIKELY(c.assocBold < 0 && c.assocItalic < 0 && c.assocHalfPoints <= 0
                 && (c.assocFont < 0 || c.assocFont == c.font)))
        return -1;
    CharProps complex = c;
    if (c.assocBold >= 0)
        complex.bold = c.assocBold != 0;
    if (c.assocItalic >= 0)
        complex.italic = c.assocItalic != 0;
    if (c.assocHalfPoints > 0)
        complex.halfPoints = c.assocHalfPoints;
    if (const int font = complexFont(c); font >= 0)
        complex.font = font;
    if (complex.bold == c.bold && complex.italic == c.italic && complex.halfPoints == c.halfPoints
        && complex.font == c.font)
        return -1;
    // The same look whatever the associated properties, so such runs share one format.
    complex.assocBold = complex.assocItalic = -1;
    complex.assocHalfPoints = 0;
    complex.assocFont = -1;
    return formatIndex(complex);
}

// The format the character at in the paragraph is shown in, of the run that holds it.
int Reader::formatOfChar(const Paragraph::Run &run, qsizetype at) const
{
    const bool complex = run.complex >= 0 && isRightToLeftScript(m_para.text.at(at).unicode());
    return complex ? run.complex : run.format;
}

void Reader::insertRun(QTextCursor &cursor, const Paragraph &p, int i, ScriptsAround &around)
{
    const Paragraph::Run &run = p.runs[size_t(i)];
    const int start = run.start;
    const bool last = size_t(i) + 1 == p.runs.size();
    const int end = last ? int(p.text.size()) : p.runs[size_t(i) + 1].start;
    if (end <= start)
        return;
    // The document copies the characters, so a view on the paragraph's text will do.
    const QString text = QString::fromRawData(p.text.constData() + start, end - start);
    if (Q_UNLIKELY(run.complex >= 0)) {
        insertScripts(cursor, around, start, text, run);
        return;
    }
    StoredFormat<QTextCharFormat> &f = m_formats[size_t(run.format)];
    const QTextDocument *doc = cursor.document();
    const qsizetype formats = f.fromDocument ? 0 : doc->allFormats().size();
    cursor.insertText(text, f.format);
    if (f.once)
        f.format = QTextCharFormat();   // the document has its own copy
    else
        f.adopt([&] { return formatAdded(doc, formats); });
}

// A run whose right-to-left script looks otherwise: each stretch of one script in its format.
// Spaces, digits and punctuation at its start go with the letters before them in the
// paragraph, as in LibreOffice, where Word's runs split between words.
void Reader::insertScripts(QTextCursor &cursor, ScriptsAround &around, qsizetype start,
                           QStringView text, const Paragraph::Run &run)
{
    Script current = Script::Neutral;
    for (const QChar c : text)
        if ((current = scriptOf(c)) != Script::Neutral)
            break;
    if (scriptOf(text.front()) == Script::Neutral)
        current = Script(around.at(start));
    if (current != Script::RightToLeft && !hasRightToLeftScript(text)) {
        cursor.insertText(text.toString(), m_formats[size_t(run.format)].format);
        return;
    }
    const auto insert = [&](qsizetype from, qsizetype to, Script script) {
        const int format = script == Script::RightToLeft ? run.complex : run.format;
        if (to > from)
            cursor.insertText(text.sliced(from, to - from).toString(),
                              m_formats[size_t(format)].format);
    };
    qsizetype from = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const Script s = scriptOf(text[i]);
        if (s == Script::Neutral || s == current)
            continue;
        insert(from, i, current);
        from = i;
        current = s;
    }
    insert(from, text.size(), current);
}

} // namespace rtf
