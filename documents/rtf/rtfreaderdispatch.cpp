// The reader's control words: which destination or property each one changes.
#include "rtfreader.h"

namespace rtf {

void Reader::applyOp(Op op, const ControlWord &w, bool hasParam, int value)
{
    const Dest d = top().dest;
    switch (op) {
    case Op::Ansi: m_docCodePage = 1252; m_cpCached = nullptr; return;
    case Op::Mac: m_docCodePage = 10000; m_cpCached = nullptr; return;
    case Op::Pc: m_docCodePage = 437; m_cpCached = nullptr; return;
    case Op::Pca: m_docCodePage = 850; m_cpCached = nullptr; return;
    case Op::AnsiCodePage: m_docCodePage = value; m_cpCached = nullptr; return;
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
    if (applyTableOp(op, value))
        return;
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
    case Dest::ListOverride: return applyListTableOp(op, value);
    default: return false;
    }
}

bool Reader::applyCharOp(Op op, const ControlWord &w, bool hasParam, int value)
{
    CharProps &c = top().chr;
    switch (op) {
    case Op::Plain: {
        const int href = c.href, comment = c.comment;
        c = CharProps();
        c.font = m_defaultFont;
        c.href = href;
        c.comment = comment;
        return true;
    }
    case Op::Bold: c.bold = value != 0; return true;
    case Op::Italic: c.italic = value != 0; return true;
    case Op::Strike: c.strike = value != 0; return true;
    case Op::Hidden: c.hidden = value != 0; return true;
    case Op::Underline: c.underline = value != 0 ? (unsigned char)(w.extra) : 0; return true;
    case Op::UnderlineNone: c.underline = 0; return true;
    case Op::FontSize: c.halfPoints = value > 0 && value <= 3276 ? value : 24; return true;
    case Op::Font: c.font = value; return true;
    case Op::ForeColor: c.fore = value; return true;
    case Op::BackColor: c.back = value; return true;
    case Op::Super: c.vertical = 1; return true;
    case Op::Sub: c.vertical = 2; return true;
    case Op::NoSuperSub: c.vertical = 0; return true;
    case Op::Up: c.vertical = (hasParam && value == 0) ? 0 : 1; return true;
    case Op::Down: c.vertical = (hasParam && value == 0) ? 0 : 2; return true;
    case Op::CharStyle:
        if (top().dest == Dest::StyleEntry) top().styleIndex = value;
        else applyStyle(value, false);
        return true;
    default: return false;
    }
}

bool Reader::applyParaOp(Op op, int value)
{
    ParaProps &p = top().para;
    switch (op) {
    case Op::Pard: p = ParaProps(); return true;
    case Op::AlignLeft: p.align = 0; return true;
    case Op::AlignCenter: p.align = 1; return true;
    case Op::AlignRight: p.align = 2; return true;
    case Op::AlignJustify: p.align = 3; return true;
    case Op::LeftIndent: p.left = value; return true;
    case Op::RightIndent: p.right = value; return true;
    case Op::FirstIndent: p.first = value; return true;
    case Op::SpaceBefore: p.before = value; return true;
    case Op::SpaceAfter: p.after = value; return true;
    case Op::LineSpacing: p.lineSpacing = value; return true;
    case Op::InTable: p.tableDepth = std::max(p.tableDepth, 1); return true;
    case Op::TableDepth: p.tableDepth = std::clamp(value, 0, kMaxTableDepth); return true;
    case Op::ListOverrideIndex: p.listOverride = value; return true;
    case Op::ListLevelIndex: p.listLevel = std::clamp(value, 0, 8); return true;
    case Op::OldBullet: p.oldStyle = QTextListFormat::ListDisc; return true;
    case Op::Style:
        if (top().dest == Dest::StyleEntry) {
            top().styleIndex = value;
        } else {
            applyStyle(value, true);
            top().para.style = value;
        }
        return true;
    default: return false;
    }
}

void Reader::applyStyle(int index, bool paragraph)
{
    auto it = m_styles.constFind(index);
    if (it == m_styles.cend())
        return;
    GroupState &s = top();
    const int href = s.chr.href;
    s.chr = it->chr;
    s.chr.href = href;
    if (paragraph) {
        const int depth = s.para.tableDepth;
        s.para = it->para;
        s.para.tableDepth = depth;
    }
}

void Reader::finishDestination(const GroupState &ended)
{
    GroupState &parent = top();
    switch (ended.dest) {
    case Dest::FontTable: commitFont(); break;
    case Dest::StyleEntry: m_styles.insert(ended.styleIndex, Style{ended.chr, ended.para}); break;
    case Dest::FieldInstruction: finishField(); break;
    case Dest::Picture: finishPicture(); break;
    case Dest::OldNumbering:
        parent.para.oldStyle = m_pnStyle;
        parent.para.oldLevel = m_pnLevel;
        break;
    case Dest::ListLevel: m_list.levels.push_back(listStyleForNfc(ended.styleIndex)); break;
    case Dest::List: m_listDefs.insert(m_list.id, m_list); break;
    case Dest::ListOverride: m_overrides.insert(m_overrideIndex, m_overrideList); break;
    default: break;
    }
}

} // namespace rtf
