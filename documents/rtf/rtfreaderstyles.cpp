// The reader's styles: a paragraph or run takes from its style only what it does not set
// itself, in whatever order the file gives the style and the direct formatting.
#include "rtfreader.h"

#include <QVarLengthArray>
#include <utility>

namespace rtf {

namespace {

template<typename T>
void takeUnset(T &field, const T &styled, unsigned bit, unsigned styleSet, unsigned ownSet)
{
    if ((styleSet & bit) && !(ownSet & bit))
        field = styled;
}

void mergeChars(CharProps &c, const CharProps &style, unsigned styleSet, unsigned ownSet)
{
    takeUnset(c.bold, style.bold, kSetBold, styleSet, ownSet);
    takeUnset(c.italic, style.italic, kSetItalic, styleSet, ownSet);
    takeUnset(c.strike, style.strike, kSetStrike, styleSet, ownSet);
    takeUnset(c.hidden, style.hidden, kSetHidden, styleSet, ownSet);
    takeUnset(c.underline, style.underline, kSetUnderline, styleSet, ownSet);
    takeUnset(c.vertical, style.vertical, kSetVertical, styleSet, ownSet);
    takeUnset(c.font, style.font, kSetFont, styleSet, ownSet);
    takeUnset(c.halfPoints, style.halfPoints, kSetSize, styleSet, ownSet);
    takeUnset(c.fore, style.fore, kSetFore, styleSet, ownSet);
    takeUnset(c.back, style.back, kSetBack, styleSet, ownSet);
    takeUnset(c.assocBold, style.assocBold, kSetAssocBold, styleSet, ownSet);
    takeUnset(c.assocItalic, style.assocItalic, kSetAssocItalic, styleSet, ownSet);
    takeUnset(c.assocHalfPoints, style.assocHalfPoints, kSetAssocSize, styleSet, ownSet);
    takeUnset(c.assocFont, style.assocFont, kSetAssocFont, styleSet, ownSet);
}

void mergeParagraph(ParaProps &p, const ParaProps &style, unsigned styleSet, unsigned ownSet)
{
    takeUnset(p.align, style.align, kSetAlign, styleSet, ownSet);
    takeUnset(p.left, style.left, kSetLeft, styleSet, ownSet);
    takeUnset(p.right, style.right, kSetRight, styleSet, ownSet);
    takeUnset(p.first, style.first, kSetFirst, styleSet, ownSet);
    takeUnset(p.before, style.before, kSetBefore, styleSet, ownSet);
    takeUnset(p.after, style.after, kSetAfter, styleSet, ownSet);
    takeUnset(p.lineSpacing, style.lineSpacing, kSetLineSpacing, styleSet, ownSet);
    takeUnset(p.rtl, style.rtl, kSetDirection, styleSet, ownSet);
    takeUnset(p.outline, style.outline, kSetOutline, styleSet, ownSet);
    if ((styleSet & kSetList) && !(ownSet & kSetList)) {
        p.listOverride = style.listOverride;
        p.listLevel = style.listLevel;
    }
}

} // namespace

// \sbasedon: a style takes from the styles it is based on, the nearest first, what it
// does not set itself. Each takes from the styles as the file defines them, so the order
// of definition does not matter; a chain stops at a style it has met (a loop), at a base
// the file does not define, and after a length no real style sheet reaches. Only the
// styles defined since the last style sheet are resolved: a file of many style sheets
// resolves each style once. A base from an earlier sheet is already resolved.
void Reader::resolveStyleBases()
{
    static constexpr int kMaxChain = 32;
    const QHash<int, Style> defined = std::exchange(m_newStyles, {});
    const auto definition = [&](int key) -> const Style * {
        if (auto b = defined.constFind(key); b != defined.cend())
            return &*b;
        auto b = m_styles.constFind(key);
        return b == m_styles.cend() ? nullptr : &*b;
    };
    for (auto it = defined.cbegin(); it != defined.cend(); ++it) {
        Style s = *it;
        QVarLengthArray<int, kMaxChain> seen{it.key()};
        for (int base = s.basedOn; seen.size() < kMaxChain && !seen.contains(base);) {
            const Style *b = definition(base);
            if (!b)
                break;
            mergeChars(s.chr, b->chr, b->charSet, s.charSet);
            mergeParagraph(s.para, b->para, b->paraSet, s.paraSet);
            s.charSet |= b->charSet;
            s.paraSet |= b->paraSet;
            seen.append(base);
            base = b->basedOn;
        }
        m_styles.insert(it.key(), s);
    }
}

// \pard: the defaults, then what the Normal style (\s0) gives every paragraph that names
// no other style. Inside the style sheet a paragraph is a style being defined.
void Reader::resetParagraph()
{
    GroupState &s = top();
    s.para = ParaProps();
    s.paraSet = 0;
    if (s.dest == Dest::StyleEntry || m_styles.isEmpty())
        return;
    if (auto it = m_styles.constFind(0); it != m_styles.cend())
        mergeParagraph(s.para, it->para, it->paraSet, 0);
}

// \plain: the defaults, then the Normal style's character formatting.
void Reader::resetCharacters()
{
    GroupState &s = top();
    const int href = s.chr.href;
    const bool comment = s.chr.comment;
    s.chr = CharProps();
    s.chr.font = m_defaultFont;
    s.chr.href = href;
    s.chr.comment = comment;
    s.charSet = 0;
    if (s.dest == Dest::StyleEntry || m_styles.isEmpty())
        return;
    if (auto it = m_styles.constFind(0); it != m_styles.cend())
        mergeChars(s.chr, it->chr, it->charSet, 0);
}

// \sN and \csN: the style's properties where the paragraph or run has none of its own;
// direct formatting that follows still wins, since it sets its bit.
void Reader::applyStyle(int index, bool paragraph)
{
    auto it = m_styles.constFind(index);
    if (it == m_styles.cend())
        return;
    GroupState &s = top();
    mergeChars(s.chr, it->chr, it->charSet, s.charSet);
    if (paragraph)
        mergeParagraph(s.para, it->para, it->paraSet, s.paraSet);
}

} // namespace rtf
