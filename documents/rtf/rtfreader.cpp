#include "rtfreader.h"
#include "rtfbytes.h"
#include "rtfkept.h"
#include "rtfunderline.h"

#include <QTextDocument>
#include <algorithm>

namespace rtf {

namespace {

// The low 16 bits of v, for packing several values into one word to hash.
quint64 low16(int v) { return quint64(quint16(v)); }

} // namespace

size_t qHash(const CharProps &c, size_t seed)
{
    const size_t flags = size_t(c.bold) | size_t(c.italic) << 1 | size_t(c.strike) << 2
        | size_t(c.hidden) << 3 | size_t(c.underline) << 4 | size_t(c.vertical) << 8
        | size_t(quint16(c.comment)) << 12;
    // Two words hash faster than seven values; bits cut off only make collisions.
    const quint64 a = quint64(flags) | quint64(quint32(c.font)) << 32;
    const quint64 b = low16(c.halfPoints) | low16(c.fore) << 16 | low16(c.back) << 32
        | low16(c.href) << 48;
    const quint64 assoc = quint64(quint8(c.assocBold)) | quint64(quint8(c.assocItalic)) << 8
        | low16(c.assocHalfPoints) << 16 | quint64(quint32(c.assocFont)) << 32;
    return qHashMulti(seed, a, b, assoc);
}

bool BlockKey::operator==(const BlockKey &o) const
{
    const ParaProps &a = props, &b = o.props;
    // The table depth is not part of it: a cell's paragraph looks like any other.
    return pageBreak == o.pageBreak && inList == o.inList && a.align == b.align && a.rtl == b.rtl
        && a.left == b.left && a.right == b.right
        && a.first == b.first && a.before == b.before && a.after == b.after
        && a.lineSpacing == b.lineSpacing && a.listOverride == b.listOverride
        && a.listLevel == b.listLevel && a.oldStyle == b.oldStyle && a.oldLevel == b.oldLevel
        && a.style == b.style && a.outline == b.outline;
}

size_t qHash(const BlockKey &k, size_t seed)
{
    const ParaProps &p = k.props;
    const size_t flags = size_t(p.align) | size_t(p.rtl) << 8 | size_t(k.pageBreak) << 9
        | size_t(k.inList) << 10 | size_t(p.outline + 1) << 11;
    const quint64 a = flags | low16(p.left) << 16 | low16(p.right) << 32 | low16(p.first) << 48;
    const quint64 b = low16(p.before) | low16(p.after) << 16 | low16(p.lineSpacing) << 32
        | low16(p.listOverride) << 48;
    const quint64 c = low16(p.listLevel) | low16(p.oldStyle) << 16 | low16(p.oldLevel) << 32
        | low16(p.style) << 48;
    return qHashMulti(seed, a, b, c);
}

Reader::Reader(QTextDocument *doc)
    : m_doc(doc), m_cursor(doc)
{
}

void Reader::read(QByteArrayView data)
{
    // One edit block: the cursor skips its per-insert layout work and the document reports
    // one change at the end instead of one per paragraph. It is opened on the reader's own
    // cursor, since every insert moves each cursor the document has.
    m_cursor.beginEditBlock();
    m_para.text.reserve(256);
    m_tableBudget = data.size() / kBytesPerTable + 64;
    tokenize(data, *this);
    finishDocument();
    finishKeptDocument();
    m_cursor.endEditBlock();
    trackKeptMarks(m_doc);
}

bool Reader::consumeSkip()
{
    if (m_skip <= 0)
        return false;
    --m_skip;
    return true;
}

void Reader::groupStart()
{
    m_runChecked = false;
    m_skip = 0;
    m_star = false;
    if (m_overflow > 0 || m_stack.depth() >= size_t(kMaxDepth)) {
        // Deeper groups share the state of the deepest kept one; memory stays bounded.
        ++m_overflow;
        return;
    }
    m_stack.push();
    GroupState &s = top();
    s.ownsDest = false;
    if (m_rec.active())
        m_rec.groupStart();
    if (s.dest == Dest::StyleSheet) {
        s.dest = Dest::StyleEntry;
        s.ownsDest = true;
        s.chr = CharProps();
        s.chr.font = m_defaultFont;
        s.para = ParaProps();
        s.charSet = s.paraSet = 0;
        s.styleIndex = 0;
        m_styleBase = -1;
    }
}

void Reader::groupEnd()
{
    m_runChecked = false;
    m_skip = 0;
    m_star = false;
    if (m_overflow > 0) {
        --m_overflow;
        return;
    }
    if (m_stack.depth() <= 1)
        return;   // a closing brace too many is ignored
    const GroupState ended = m_stack.pop();
    if (m_rec.active())
        keptGroupEnd(ended);
    if (ended.ownsDest || ended.dest == Dest::FontTable)
        finishDestination(ended);
    // What follows the document's own group is not part of it, as other readers agree.
    // The paragraph still open at the end keeps the document group's paragraph settings.
    if (m_stack.depth() == 1) {
        top().para = ended.para;
        top().dest = Dest::Skip;
    }
}

// Past the depth cap groups are only counted, so that a run of braces there costs what
// scanning its bytes costs.
void Reader::groupStarts(qsizetype count)
{
    for (; count > 0 && m_overflow == 0 && m_stack.depth() < size_t(kMaxDepth); --count)
        groupStart();
    if (count > 0) {
        groupStart();
        m_overflow += count - 1;
    }
}

void Reader::groupEnds(qsizetype count)
{
    const qsizetype counted = std::min(count - 1, m_overflow);
    m_overflow -= counted;
    count -= counted;
    // Closing braces past the document's group are ignored, however many there are.
    for (; count > 0 && (m_overflow > 0 || m_stack.depth() > 1); --count)
        groupEnd();
    if (count > 0)
        groupEnd();
}

void Reader::startDestination(Dest dest)
{
    GroupState &s = top();
    if (s.dest == Dest::Skip)
        return;
    // The document's tables are the header's: a damaged file may nest a whole document in
    // its style sheet, whose tables would replace them.
    if ((dest == Dest::FontTable || dest == Dest::ColorTable || dest == Dest::StyleSheet)
        && s.dest != Dest::Body) {
        s.dest = Dest::Skip;
        return;
    }
    // A field or picture belongs to the text: inside the style sheet, a numbering or any
    // table, which keeps it as written or has no room for it, it is skipped; read as
    // well, its text would join the document's and be there twice the next time.
    const bool inText = s.dest == Dest::Body || s.dest == Dest::Field
        || s.dest == Dest::FieldInstruction || s.dest == Dest::FieldResult;
    if ((dest == Dest::Field || dest == Dest::FieldInstruction || dest == Dest::FieldResult
         || dest == Dest::Picture) && !inText) {
        s.dest = Dest::Skip;
        return;
    }
    // A group that only holds text in the text stays, elsewhere, in the destination it is in.
    if (dest == Dest::PassThrough && !inText)
        return;
    s.dest = dest;
    s.ownsDest = true;
    switch (dest) {
    case Dest::FieldInstruction: m_fieldInstruction.clear(); break;
    case Dest::Picture: m_picture = Picture(); break;
    case Dest::List: m_list = ListDef(); break;
    case Dest::ListLevel:
        m_level = ListLevel();
        s.charSet = s.paraSet = 0;
        break;
    case Dest::ListOverride:
        m_override = ListOverride();
        m_overrideIndex = 0;
        m_overrideLevel = -1;
        break;
    case Dest::OldNumbering:
        m_pnStyle = QTextListFormat::ListDisc;
        m_pnLevel = 1;
        m_pn = OldNumber();
        break;
    case Dest::ColorTable: m_colors.clear(); m_colorSet = false; break;
    case Dest::StyleSheet: m_rec.begin("stylesheet", false, s.chr.font, m_defaultFont); break;
    case Dest::FieldResult: s.ownsDest = false; break;
    case Dest::PassThrough: s.dest = Dest::Body; s.ownsDest = false; break;
    default: break;
    }
}

void Reader::controlWord(std::string_view name, bool hasParam, int param)
{
    const bool star = m_star;
    m_star = false;
    m_runChecked = false;
    if (consumeSkip() || (m_rec.active() && recordWord(name, hasParam, param))
        || top().dest == Dest::Skip || m_overflow > 0)
        return;
    const ControlWord *w = findControlWord(name);
    if (!w) {
        if (applyKeptWord(name, hasParam, param))
            return;
        if (star)
            top().dest = Dest::Skip;
        return;
    }
    if (w->kind == Kind::Destination) {
        if (Dest(w->code) == Dest::Kept)
            startKept(*w, star);
        else
            startDestination(Dest(w->code));
        return;
    }
    // "\*\cs" opens a character style inside the stylesheet; other starred words that
    // are not destinations make their group one to skip.
    if (star && !(top().dest == Dest::StyleEntry && Op(w->code) == Op::CharStyle)) {
        top().dest = Dest::Skip;
        return;
    }
    if (w->kind == Kind::Symbol) {
        appendChar(char16_t(w->code));
        return;
    }
    int value = hasParam ? param : w->extra;
    if (w->kind == Kind::Toggle && !hasParam)
        value = 1;
    applyOp(Op(w->code), *w, hasParam, value);
}

void Reader::controlSymbol(char c)
{
    if (c == '*') {
        m_star = true;
        if (m_rec.active())
            m_rec.symbol(c);
        return;
    }
    m_star = false;
    if (consumeSkip())
        return;
    if (m_rec.active() && c != '\\' && c != '{' && c != '}')
        m_rec.symbol(c);
    switch (c) {
    case '\\': case '{': case '}': { const char b = c; onBytes(&b, 1); break; }
    case '~': appendChar(0x00A0); break;
    case '-': appendChar(0x00AD); break;
    case '_': appendChar(0x2011); break;
    case '\t': appendChar(0x0009); break;
    case '\n': applyBreakOp(Op::Par); break;
    default: break;
    }
}

void Reader::text(const char *data, qsizetype length)
{
    m_star = false;
    while (length > 0 && m_skip > 0) {
        --m_skip;
        ++data;
        --length;
    }
    // Text nested deeper than the cap still loads, in the deepest kept group's format.
    if (length > 0)
        onBytes(data, length);
}

void Reader::binary(const char *data, qsizetype length)
{
    m_star = false;
    if (consumeSkip() || m_overflow > 0)
        return;
    if (m_rec.active())
        m_rec.binary(data, length);
    if (top().dest == Dest::Picture)
        m_picture.bin.append(data, length);
}

void Reader::onBytes(const char *data, qsizetype length)
{
    if (m_rec.active())
        recordText(data, length);
    switch (top().dest) {
    case Dest::Body:
    case Dest::FieldResult:
        bodyBytes(data, length);
        break;
    case Dest::FontTable:
    case Dest::ColorTable:
        tableBytes(data, length);
        break;
    case Dest::FieldInstruction:
        // In the code page of the font, as body text: a link's \'hh escapes are its characters.
        codePageForFont(top().chr.font)->append(m_fieldInstruction, QByteArrayView(data, length));
        break;
    case Dest::Picture:
        m_picture.hex.append(data, length);
        break;
    case Dest::LevelText:
    case Dest::LevelNumbers:
        levelTextBytes(data, length);
        break;
    case Dest::OldNumberingBefore:
    case Dest::OldNumberingAfter:
        oldNumberingText(data, length);
        break;
    default:
        break;
    }
}

void Reader::tableBytes(const char *data, qsizetype length)
{
    const bool fonts = top().dest == Dest::FontTable;
    for (qsizetype i = 0; i < length; ++i) {
        if (data[i] == ';')
            fonts ? commitFont() : commitColor();
        else if (fonts)
            m_fontName.append(data[i]);
    }
}

CodePage *Reader::codePageForFont(int font)
{
    if (font != m_cpFont || !m_cpCached) {
        auto it = m_fonts.constFind(font);
        const int cp = (it != m_fonts.cend() && it->codePage) ? it->codePage : m_docCodePage;
        m_cpCached = CodePage::get(cp);
        m_cpFont = font;
    }
    return m_cpCached;
}

void Reader::bodyBytes(const char *data, qsizetype length)
{
    if (Q_UNLIKELY(top().chr.hidden)) {
        hiddenText().text(data, length, codePageForFont(top().chr.font));
        return;
    }
    if (Q_UNLIKELY(m_hidden.active())) {
        // Control characters show nothing and are not written: hidden text on both sides
        // of them stays one piece, as it reads back once saved.
        if (std::all_of(data, data + length, [](char b) {
                return static_cast<unsigned char>(b) < 0x20 && b != '\t';
            }))
            return;
        flushHidden();
    }
    if (Q_UNLIKELY(!m_pendingAnchor.isEmpty())) {
        bodyBytesAnchored(data, length);
        return;
    }
    ensureRun();
    CodePage *cp = codePageForFont(top().chr.font);
    QString &out = m_para.text;
    if (!cp->isDoubleByte() && !m_lead) {
        // One character per byte, written straight into the paragraph's text.
        const qsizetype at = out.size();
        out.resize(at + length);
        widen(data, length, reinterpret_cast<char16_t *>(out.data()) + at, cp->high());
        return;
    }
    qsizetype i = 0;
    while (i < length) {
        const auto b = static_cast<unsigned char>(data[i]);
        if (m_lead) {
            cp->appendPair(out, m_lead, b);
            m_lead = 0;
            ++i;
        } else if (b < 0x80) {
            qsizetype j = i + 1;
            while (j < length && static_cast<unsigned char>(data[j]) < 0x80)
                ++j;
            out.append(QLatin1StringView(data + i, j - i));
            i = j;
        } else {
            if (cp->isLeadByte(b))
                m_lead = b;
            else
                out.append(QChar(cp->single(b)));
            ++i;
        }
    }
}

void Reader::appendChar(char16_t c)
{
    const Dest d = top().dest;
    m_lead = 0;
    if (d == Dest::FieldInstruction) {
        m_fieldInstruction.append(QChar(c));
        return;
    }
    if (d == Dest::FontTable) {
        // A name may mix bytes of its code page with \u characters; keep their order.
        decodeFontBytes();
        m_fontText.append(QChar(c));
        return;
    }
    if (d == Dest::LevelText) {
        m_level.text.append(QChar(c));
        return;
    }
    if (d == Dest::OldNumberingBefore || d == Dest::OldNumberingAfter) {
        QString &out = d == Dest::OldNumberingBefore ? m_pn.before : m_pn.after;
        if (out.size() < kMaxOldText)
            out.append(QChar(c));
        return;
    }
    if (d != Dest::Body && d != Dest::FieldResult)
        return;
    if (Q_UNLIKELY(top().chr.hidden)) {
        hiddenText().character(c);
        return;
    }
    if (Q_UNLIKELY(m_hidden.active()))
        flushHidden();
    ensureRun();
    m_para.text.append(QChar(c));
    if (Q_UNLIKELY(!m_pendingAnchor.isEmpty()))
        anchorPending(m_para.text.size() - 1, std::exchange(m_pendingAnchor, {}));
}

void Reader::ensureRun()
{
    if (m_runChecked && m_runFormat >= 0)
        return;
    m_runChecked = true;
    const CharProps &c = top().chr;
    if (m_runFormat < 0 || !(c == m_runProps)) {
        m_runProps = c;
        m_runFormat = formatIndex(c);
        m_runComplex = complexFormatIndex(c);
    }
    auto &runs = m_para.runs;
    const int pos = int(m_para.text.size());
    if (!runs.empty() && runs.back().format == m_runFormat && runs.back().complex == m_runComplex)
        return;
    if (!runs.empty() && runs.back().start == pos)
        runs.back() = {pos, m_runFormat, m_runComplex};
    else
        runs.push_back({pos, m_runFormat, m_runComplex});
}

int Reader::formatIndex(const CharProps &c)
{
    auto it = m_formatIndex.constFind(c);
    if (it != m_formatIndex.cend())
        return *it;
    QTextCharFormat f;
    if (c.bold)
        f.setFontWeight(QFont::Bold);
    if (c.italic)
        f.setFontItalic(true);
    if (c.underline && c.underline < std::size(kUnderlineWords)) {
        f.setFontUnderline(true);
        f.setUnderlineStyle(kUnderlineWords[c.underline].style);
        if (c.underline >= kPlainUnderlines)
            f.setProperty(KeptUnderline, QString::fromLatin1(kUnderlineWords[c.underline].word));
    }
    if (c.strike)
        f.setFontStrikeOut(true);
    if (c.vertical)
        f.setVerticalAlignment(c.vertical == 1 ? QTextCharFormat::AlignSuperScript
                                               : QTextCharFormat::AlignSubScript);
    auto font = m_fonts.constFind(c.font);
    if (font != m_fonts.cend() && !font->families.isEmpty())
        f.setFontFamilies(font->families);
    const auto colour = [this](int index) {
        return index > 0 && size_t(index) < m_colors.size()
            && m_colors[size_t(index)].style() != Qt::NoBrush;
    };
    if (colour(c.fore))
        f.setForeground(m_colors[size_t(c.fore)]);
    if (colour(c.back))
        f.setBackground(m_colors[size_t(c.back)]);
    if (c.href >= 0 && c.href < m_hrefs.size()) {
        f.setAnchor(true);
        f.setAnchorHref(m_hrefs.at(c.href));
    }
    if (Q_UNLIKELY(c.comment))
        showComment(f);
    // Set one at a time, the properties get room for about twice as many; merged whole
    // into a format that has one, they get just the room they take.
    QTextCharFormat sized;
    sized.setFontPointSize(c.halfPoints / 2.0);
    sized.merge(f);
    m_formats.push_back({sized});
    const int index = int(m_formats.size() - 1);
    m_formatIndex.insert(c, index);
    return index;
}

} // namespace rtf
