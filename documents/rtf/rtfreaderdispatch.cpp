// The reader's control words: which destination or property each one changes.
#include "rtfreader.h"

namespace rtf {

void Reader::applyOp(Op op, const ControlWord &w, bool hasParam, int value)
{
    const Dest d = top().dest;
    // The document's code page is the header's: one named inside a table or style, as a
    // damaged file may hold, would change how everything after it reads.
    const auto codePage = [&](int page) {
        if (d == Dest::Body) {
            m_docCodePage = page;
            m_cpCached = nullptr;
        }
    };
    switch (op) {
    case Op::Ansi: codePage(1252); return;
    case Op::Mac: codePage(10000); return;
    case Op::Pc: codePage(437); return;
    case Op::Pca: codePage(850); return;
    case Op::AnsiCodePage: codePage(value); return;
    case Op::DefaultFont:
        m_defaultFont = value;
        if (top().chr.font < 0)
            top().chr.font = value;
        return;
    case Op::UnicodeSkip: top().unicodeSkip = std::clamp(value, 0, 16); return;
    case Op::Unicode:
        appendChar(char16_t(value < 0 ? value + 65536 : value));
        m_skip = top().unicodeSkip;
        return;
    default: break;
    }
    if (applyTableOp(op, value) || applyCellDefOp(op, value))
        return;
    if (op == Op::Padding || op == Op::RowGap) {
        applyPadding(w, op, hasParam ? value : 0);
        return;
    }
    if (d == Dest::Picture || d == Dest::OldNumbering || d == Dest::ColorTable
        || d == Dest::FontTable)
        return;
    if (!applyCharOp(op, w, hasParam, value) && !applyParaOp(op, value))
        applyBreakOp(op, value);
}

// Words whose meaning depends on the destination being read; true when one was handled.
bool Reader::applyTableOp(Op op, int value)
{
    switch (top().dest) {
    case Dest::FontTable: return applyFontTableOp(op, value);
    case Dest::ColorTable: return applyColorTableOp(op, value);
    case Dest::Picture: return applyPictureOp(op, value);
    case Dest::OldNumbering: return applyOldNumberingOp(op, value);
    case Dest::List:
    case Dest::ListLevel:
    case Dest::ListOverride:
    case Dest::LevelText:
    case Dest::LevelNumbers: return applyListTableOp(op, value);
    default: return false;
    }
}

bool Reader::applyCharOp(Op op, const ControlWord &w, bool hasParam, int value)
{
    GroupState &s = top();
    CharProps &c = s.chr;
    unsigned bit = 0;
    switch (op) {
    case Op::Plain: resetCharacters(); return true;
    case Op::Bold: c.bold = value != 0; bit = kSetBold; break;
    case Op::Italic: c.italic = value != 0; bit = kSetItalic; break;
    case Op::Strike: c.strike = value != 0; bit = kSetStrike; break;
    case Op::Hidden: c.hidden = value != 0; bit = kSetHidden; break;
    case Op::Underline:
        c.underline = value != 0 ? (unsigned char)(w.extra) : 0;
        bit = kSetUnderline;
        break;
    case Op::UnderlineNone: c.underline = 0; bit = kSetUnderline; break;
    case Op::FontSize:
        c.halfPoints = value > 0 && value <= 3276 ? value : 24;
        bit = kSetSize;
        break;
    case Op::Font: c.font = value; bit = kSetFont; break;
    case Op::ForeColor: c.fore = value; bit = kSetFore; break;
    case Op::BackColor: c.back = value; bit = kSetBack; break;
    case Op::Super: c.vertical = 1; bit = kSetVertical; break;
    case Op::Sub: c.vertical = 2; bit = kSetVertical; break;
    case Op::NoSuperSub: c.vertical = 0; bit = kSetVertical; break;
    case Op::Up: c.vertical = (hasParam && value == 0) ? 0 : 1; bit = kSetVertical; break;
    case Op::Down: c.vertical = (hasParam && value == 0) ? 0 : 2; bit = kSetVertical; break;
    case Op::AssocBold: c.assocBold = value != 0; bit = kSetAssocBold; break;
    case Op::AssocItalic: c.assocItalic = value != 0; bit = kSetAssocItalic; break;
    case Op::AssocSize:
        c.assocHalfPoints = short(value > 0 && value <= 3276 ? value : 24);
        bit = kSetAssocSize;
        break;
    case Op::AssocFont:
        if (!s.assocRightToLeft)
            return true;   // the font of Latin or East Asian text, which has the run's own
        c.assocFont = value;
        bit = kSetAssocFont;
        break;
    case Op::AssocScript: s.assocRightToLeft = value == 1; return true;
    case Op::CharStyle:
        if (s.dest == Dest::StyleEntry) s.styleIndex = value;
        else applyStyle(value, false);
        return true;
    default: return false;
    }
    s.charSet |= bit;
    return true;
}

bool Reader::applyParaOp(Op op, int value)
{
    GroupState &s = top();
    ParaProps &p = s.para;
    unsigned bit = 0;
    switch (op) {
    case Op::Pard: resetParagraph(); return true;
    case Op::StyleBasedOn:
        if (s.dest == Dest::StyleEntry)
            m_styleBase = value;
        return true;
    case Op::AlignLeft: p.align = 0; bit = kSetAlign; break;
    case Op::AlignCenter: p.align = 1; bit = kSetAlign; break;
    case Op::AlignRight: p.align = 2; bit = kSetAlign; break;
    case Op::AlignJustify: p.align = 3; bit = kSetAlign; break;
    case Op::LeftIndent: p.left = value; bit = kSetLeft; break;
    case Op::RightIndent: p.right = value; bit = kSetRight; break;
    case Op::FirstIndent: p.first = value; bit = kSetFirst; break;
    case Op::SpaceBefore: p.before = value; bit = kSetBefore; break;
    case Op::SpaceAfter: p.after = value; bit = kSetAfter; break;
    case Op::LineSpacing: p.lineSpacing = value; bit = kSetLineSpacing; break;
    case Op::RtlPar: p.rtl = true; bit = kSetDirection; break;
    case Op::LtrPar: p.rtl = false; bit = kSetDirection; break;
    // Word gives body text level 9.
    case Op::OutlineLevel:
        p.outline = value >= 0 && value < 9 ? value : -1;
        bit = kSetOutline;
        break;
    case Op::InTable: p.tableDepth = std::max(p.tableDepth, 1); return true;
    case Op::TableDepth: p.tableDepth = std::clamp(value, 0, kMaxTableDepth); return true;
    case Op::ListOverrideIndex: p.listOverride = std::max(value, -1); bit = kSetList; break;
    case Op::ListLevelIndex: p.listLevel = std::clamp(value, 0, 8); bit = kSetList; break;
    case Op::OldBullet: p.oldStyle = QTextListFormat::ListDisc; return true;
    case Op::Style:
        if (s.dest == Dest::StyleEntry) {
            s.styleIndex = value;
        } else {
            applyStyle(value, true);
            s.para.style = value;
        }
        return true;
    default: return false;
    }
    s.paraSet |= bit;
    return true;
}

void Reader::finishDestination(const GroupState &ended)
{
    GroupState &parent = top();
    switch (ended.dest) {
    case Dest::FontTable: commitFont(); break;
    case Dest::StyleEntry:
        m_newStyles.insert(ended.styleIndex,
                           Style{ended.chr, ended.para, ended.charSet, ended.paraSet, m_styleBase});
        break;
    case Dest::StyleSheet: resolveStyleBases(); break;
    case Dest::FieldInstruction: finishField(); break;
    case Dest::Field: finishSymbol(); break;
    case Dest::Picture: finishPicture(); break;
    case Dest::OldNumbering: finishOldNumbering(parent.para); break;
    case Dest::ListLevel: finishListLevel(ended); break;
    case Dest::List: m_listDefs.insert(m_list.id, m_list); break;
    case Dest::ListOverride: m_overrides.insert(m_overrideIndex, m_override); break;
    default: break;
    }
}

} // namespace rtf
