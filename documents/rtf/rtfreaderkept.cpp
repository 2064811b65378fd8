// The reader's side of kept material: the groups and words the editor has no view for,
// recorded as RTF and anchored to the document, its sections or its characters.
#include "rtfreader.h"
#include "rtfkept.h"

#include <QTextBlock>
#include <QTextDocument>
#include <utility>

namespace rtf {

KeptDocument &Reader::kept()
{
    if (!m_kept)
        m_kept = &keptMaterialFor(m_doc);
    return *m_kept;
}

void Reader::startKept(const ControlWord &w, bool star)
{
    GroupState &s = top();
    // Kept material belongs to the text; inside a field instruction, a picture or a
    // table of the header there is nothing to anchor it to.
    if (s.dest != Dest::Body && s.dest != Dest::FieldResult) {
        s.dest = Dest::Skip;
        return;
    }
    kept();
    m_keptKind = KeptGroup(w.extra);
    s.dest = Dest::Kept;
    s.ownsDest = true;
    m_rec.begin(w.name, star, s.chr.font, m_defaultFont);
}

// Inside a kept group every word is recorded and nothing else is done with it; the
// stylesheet is recorded while the reader reads it as well.
bool Reader::recordWord(std::string_view name, bool hasParam, int param)
{
    const bool keptOnly = top().dest == Dest::Kept;
    if (name == "u" && hasParam) {
        m_rec.character(char16_t(param < 0 ? param + 65536 : param));
        // The fallback is skipped even where the reader does nothing else with the
        // word (a skipped group inside the style sheet): recorded, it would be text.
        m_skip = top().unicodeSkip;
        return keptOnly;
    }
    // A \u with no number is no character: neither recorded nor given a fallback to skip.
    if (name == "u")
        return true;
    m_rec.word(name, hasParam, param);
    return keptOnly && name != "uc";
}

void Reader::recordText(const char *data, qsizetype length)
{
    m_rec.text(data, length, codePageForFont(m_rec.font()));
}

void Reader::keptGroupEnd(const GroupState &ended)
{
    const bool outermost = ended.ownsDest
        && (ended.dest == Dest::Kept || ended.dest == Dest::StyleSheet);
    if (!outermost) {
        m_rec.groupEnd();
        return;
    }
    if (ended.dest == Dest::StyleSheet)
        kept().styles = m_rec.take();
    else
        finishKept(m_rec.take());
}

// Hidden text is not shown; it is kept with the character after it, as RTF.
KeptRecorder &Reader::hiddenText()
{
    if (!m_hidden.active()) {
        kept();
        m_hidden.begin("v", false, top().chr.font, m_defaultFont);
    }
    return m_hidden;
}

void Reader::flushHidden()
{
    if (m_hidden.active())
        m_pendingAnchor.append(m_hidden.take());
}

void Reader::finishKept(QByteArray bytes)
{
    flushHidden();
    switch (m_keptKind) {
    case KeptGroup::Section:
        if (QByteArray *out = sectionOut(true))
            out->append(bytes);
        break;
    case KeptGroup::Info: kept().info.append(bytes); break;
    case KeptGroup::Note: insertNoteMark(bytes); break;
    case KeptGroup::Anchored:
        markComment(bytes);
        m_pendingAnchor.append(bytes);
        break;
    }
}

// Where a section's words and headers go: the first section's before the text starts,
// the one a \sect began after it. Some writers repeat a section's words inside it.
QByteArray *Reader::sectionOut(bool group)
{
    if (m_sectionPending)
        return &m_nextSection;
    const bool started = m_emitted > 0 || m_batched > 0 || !m_tables.empty()
        || !m_para.text.isEmpty();
    if (!started || group)
        return &kept().section;
    return nullptr;
}

bool Reader::applyKeptWord(std::string_view name, bool hasParam, int param)
{
    const Dest d = top().dest;
    if (d != Dest::Body && d != Dest::FieldResult)
        return false;
    const KeptWord kind = keptWord(name);
    if (kind == KeptWord::None || kind == KeptWord::FontRef || kind == KeptWord::ColorRef)
        return false;
    QByteArray word = '\\' + QByteArray(name.data(), qsizetype(name.size()));
    if (hasParam)
        word += QByteArray::number(param);
    switch (kind) {
    case KeptWord::Document: kept().format.append(word); break;
    case KeptWord::Section:
        if (QByteArray *out = sectionOut(false))
            out->append(word);
        break;
    case KeptWord::PageBreakBefore: m_pageBreakPending = true; break;
    case KeptWord::Anchor: kept(); m_pendingAnchor.append(word); break;
    case KeptWord::NoteMark:
        m_noteMark = top().chr;
        m_hasNoteMark = true;
        break;
    default: break;
    }
    return true;
}

// A copy of a run's format that carries kept bytes; each anchored item has its own.
int Reader::anchorFormat(int base, int property, const QByteArray &bytes)
{
    QTextCharFormat f = m_formats[size_t(base)].format;
    f.setProperty(property, keptValue(bytes));
    m_formats.push_back({f, true});
    return int(m_formats.size() - 1);
}

// A note shows as its number in superscript, its text in the tooltip; the mark's
// characters carry the note, so deleting them deletes it. A note that no \chftn comes
// before has the raised text just before it as its mark, as the file shows it, and no
// number.
void Reader::insertNoteMark(const QByteArray &note)
{
    flushHidden();
    const qsizetype custom = m_hasNoteMark ? 0 : customMarkLength();
    const bool endnote = note.contains("\\ftnalt");
    const int number = custom ? 0 : endnote ? ++m_endnotes : ++m_footnotes;
    const int start = int(m_para.text.size() - custom);
    CharProps c = m_hasNoteMark ? m_noteMark : top().chr;
    m_hasNoteMark = false;
    c.vertical = 1;
    c.hidden = false;
    int f = custom ? formatOfChar(m_para.runs.back(), start) : formatIndex(c);
    // A custom mark may carry marks of its own already: the waiting ones go after them.
    if (!m_pendingAnchor.isEmpty())
        addMark(start, false, std::exchange(m_pendingAnchor, {}));
    f = anchorFormat(f, KeptNote, note);
    QTextCharFormat &format = m_formats[size_t(f)].format;
    if (custom)
        format.setProperty(KeptCustomMark, true);
    const std::vector<KeptItem> items = keptItems(note);
    if (!items.empty())
        format.setToolTip(items.front().text.trimmed());
    auto &runs = m_para.runs;
    while (!runs.empty() && runs.back().start >= start)
        runs.pop_back();
    runs.push_back({start, f});
    if (!custom)
        m_para.text += QString::number(number);
    m_runChecked = false;
    m_runFormat = -1;
}

// How many characters before a note make its own mark: those of the last run back to a
// space, a few at most, when that run is raised as marks are and is not another note's.
qsizetype Reader::customMarkLength() const
{
    constexpr qsizetype kMaxMark = 8;
    const QString &text = m_para.text;
    if (m_para.runs.empty())
        return 0;
    const QTextCharFormat &last = m_formats[size_t(m_para.runs.back().format)].format;
    if (last.verticalAlignment() != QTextCharFormat::AlignSuperScript || last.hasProperty(KeptNote))
        return 0;
    const qsizetype from = std::max<qsizetype>(m_para.runs.back().start, text.size() - kMaxMark);
    qsizetype start = text.size();
    while (start > from && !text.at(start - 1).isSpace())
        --start;
    return text.size() - start;
}

void Reader::bodyBytesAnchored(const char *data, qsizetype length)
{
    QByteArray pending = std::exchange(m_pendingAnchor, {});
    const qsizetype start = m_para.text.size();
    bodyBytes(data, length);
    anchorPending(start, std::move(pending));
}

void Reader::addMark(qsizetype offset, bool after, QByteArray bytes)
{
    bytes.squeeze();   // recorded a byte at a time, it has room to spare
    m_para.marks.push_back({int(offset), after, std::move(bytes)});
}

// A paragraph's marks go into the document's marks by position. In a table, where merging
// cells moves text about and a merged cell's text goes into a cell before it, they ride on
// their characters' formats until the whole document is read.
void Reader::placeMarks(const Paragraph &p, int start)
{
    if (p.props.tableDepth <= 0) {
        m_kept->marks.reserveMore(p.marks.size());
        for (const KeptMark &m : p.marks)
            m_kept->marks.add(start + m.at, m.after, m.bytes);
        return;
    }
    m_tableMarks = true;
    QTextCursor c(m_doc);
    for (const KeptMark &m : p.marks) {
        // The character it hangs on, both halves of a surrogate pair.
        int from = start + m.at, to = from + 1;
        if (p.text.at(m.at).isHighSurrogate() && m.at + 1 < p.text.size())
            ++to;
        else if (p.text.at(m.at).isLowSurrogate() && m.at > 0)
            --from;
        c.setPosition(from);
        c.setPosition(to, QTextCursor::KeepAnchor);
        const int property = m.after ? KeptAfter : KeptBefore;
        QTextCharFormat f;
        f.setProperty(property, keptValue(c.charFormat().property(property).toByteArray() + m.bytes));
        c.mergeCharFormat(f);
    }
}

// The marks that rode on formats in tables join the others, and the formats lose them.
void Reader::collectTableMarks()
{
    struct Anchored { int start, end; QTextCharFormat format; };
    std::vector<Anchored> anchored;
    for (QTextBlock b = m_doc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextCharFormat f = fragment.charFormat();
            if (!f.hasProperty(KeptBefore) && !f.hasProperty(KeptAfter))
                continue;
            const int start = fragment.position(), end = start + fragment.length();
            if (f.hasProperty(KeptBefore))
                m_kept->marks.add(start, false, f.property(KeptBefore).toByteArray());
            if (f.hasProperty(KeptAfter))
                m_kept->marks.add(end - 1, true, f.property(KeptAfter).toByteArray());
            f.clearProperty(KeptBefore);
            f.clearProperty(KeptAfter);
            anchored.push_back({start, end, f});
        }
    }
    QTextCursor c(m_doc);
    for (const Anchored &a : anchored) {
        c.setPosition(a.start);
        c.setPosition(a.end, QTextCursor::KeepAnchor);
        c.setCharFormat(a.format);
    }
}

// Marks read before the character at start hang on that character.
void Reader::anchorPending(qsizetype start, QByteArray pending)
{
    if (m_para.text.size() <= start || m_para.runs.empty()) {
        m_pendingAnchor = pending + m_pendingAnchor;   // nothing shown yet: the next one
        return;
    }
    addMark(start, false, std::move(pending));
}

// At a paragraph's end: marks still waiting go after its last character, or on the
// paragraph when it is empty; a section begun before it starts with it.
void Reader::closeKeptParagraph()
{
    if (!m_pendingAnchor.isEmpty()) {
        QByteArray pending = std::exchange(m_pendingAnchor, {});
        const QString &text = m_para.text;
        auto &runs = m_para.runs;
        while (!runs.empty() && runs.back().start >= text.size())
            runs.pop_back();
        if (runs.empty()) {
            m_para.tail = pending;
        } else {
            addMark(text.size() - 1, true, std::move(pending));
        }
        m_runFormat = -1;
    }
    if (m_sectionPending) {
        m_para.section = "\\sect" + std::exchange(m_nextSection, {});
        m_sectionPending = false;
    }
}

void Reader::sectionBreak()
{
    kept();   // the writer looks for sections only in documents that keep something
    if (!m_para.text.isEmpty())
        endParagraph();
    if (m_sectionPending)
        m_nextSection.append("\\sect");
    m_sectionPending = true;
}

void Reader::finishKeptDocument()
{
    if (!m_kept)
        return;
    flushHidden();
    // Marks after the last paragraph's end go with it.
    if (!m_pendingAnchor.isEmpty()) {
        QTextCursor end(m_doc);
        end.movePosition(QTextCursor::End);
        QTextBlockFormat f;
        f.setProperty(KeptEnd, keptValue(end.blockFormat().property(KeptEnd).toByteArray()
                                         + std::exchange(m_pendingAnchor, {})));
        end.mergeBlockFormat(f);
    }
    if (m_tableMarks)
        collectTableMarks();
    m_kept->marks.sort();
    if (!m_commentTexts.isEmpty())
        showCommentTexts();
    // The references in kept RTF are to the source's font and colour tables.
    for (auto it = m_fonts.cbegin(); it != m_fonts.cend(); ++it)
        m_kept->fonts.insert(it.key(), it->families.value(0));
    for (size_t i = 0; i < m_colors.size(); ++i)
        m_kept->colors.insert(int(i), m_colors[i].style() == Qt::NoBrush ? QColor()
                                                                       : m_colors[i].color());
}

// A comment's range is shown highlighted, from its start mark to its end mark, whatever
// groups lie between: every open group takes it. The comment's text comes after. The
// highlight is one format for every comment: only the marks, kept on the characters after
// them, tell the comments apart.
void Reader::markComment(const QByteArray &bytes)
{
    const std::vector<KeptItem> items = keptItems(bytes);
    if (items.empty())
        return;
    const QByteArray &word = items.front().word;
    if (word == "annotation") {
        for (const KeptItem &item : items)
            if (item.word == "atnref")
                m_commentTexts.insert(item.text.trimmed(), items.front().text.trimmed());
        return;
    }
    if (word != "atrfstart" && word != "atrfend")
        return;
    const bool open = word == "atrfstart";
    m_stack.changeAll([open](GroupState &s) { s.chr.comment = open; });
    m_runChecked = false;
}

void Reader::showComment(QTextCharFormat &f) const
{
    if (f.background().style() != Qt::NoBrush)
        return;
    f.setBackground(QColor(kCommentHighlight));
    f.setProperty(KeptHighlight, true);
}

// The text of the comment whose range the marks leave open; empty when none is.
void Reader::followCommentMarks(const QByteArray &marks, QString *text) const
{
    for (const KeptItem &item : keptItems(marks)) {
        if (item.word == "atrfstart")
            *text = m_commentTexts.value(item.text.trimmed());
        else if (item.word == "atrfend")
            *text = QString();
    }
}

// The comments' texts go into the tooltips of their ranges once all is read. A comment
// without text gets none: each tooltip makes new formats, which the document keeps.
void Reader::showCommentTexts()
{
    struct Range { int start, end; QString text; };
    std::vector<Range> ranges;
    QString open;
    int from = 0;
    const auto close = [&](int at) {
        if (!open.isEmpty() && at > from)
            ranges.push_back({from, at, open});
    };
    for (const KeptMark &mark : m_kept->marks.all()) {
        QString next = open;
        followCommentMarks(mark.bytes, &next);
        if (next == open)
            continue;
        close(mark.written());
        open = next;
        from = mark.written();
    }
    close(m_doc->characterCount() - 1);
    QTextCursor cursor(m_doc);
    for (const Range &r : ranges) {
        QTextCharFormat tip;
        tip.setToolTip(r.text);
        cursor.setPosition(r.start);
        cursor.setPosition(r.end, QTextCursor::KeepAnchor);
        cursor.mergeCharFormat(tip);
    }
}

} // namespace rtf
