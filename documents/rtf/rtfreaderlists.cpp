// The reader's list definitions: the list and override tables and the older \pn numbering.
#include "rtfreader.h"

namespace rtf {

bool Reader::applyOldNumberingOp(Op op, int value)
{
    switch (op) {
    case Op::OldBullet: m_pnStyle = QTextListFormat::ListDisc; return true;
    case Op::OldBody: case Op::OldDecimal: m_pnStyle = QTextListFormat::ListDecimal; return true;
    case Op::OldContinue: m_pnStyle = kNoList; return true;
    case Op::OldLevel:
        m_pnLevel = std::clamp(value, 1, 9);
        m_pnStyle = QTextListFormat::ListDecimal;
        return true;
    case Op::OldUpperAlpha: m_pnStyle = QTextListFormat::ListUpperAlpha; return true;
    case Op::OldLowerAlpha: m_pnStyle = QTextListFormat::ListLowerAlpha; return true;
    case Op::OldUpperRoman: m_pnStyle = QTextListFormat::ListUpperRoman; return true;
    case Op::OldLowerRoman: m_pnStyle = QTextListFormat::ListLowerRoman; return true;
    default: return false;
    }
}

// \listtable and \listoverridetable entries.
bool Reader::applyListTableOp(Op op, int value)
{
    switch (top().dest) {
    case Dest::List:
        if (op != Op::ListId) return false;
        m_list.id = value;
        return true;
    case Dest::ListLevel:
        if (op != Op::LevelFormat && op != Op::LevelFormatN) return false;
        top().styleIndex = value;
        return true;
    case Dest::ListOverride:
        if (op == Op::ListId) m_overrideList = value;
        else if (op == Op::ListOverrideIndex) m_overrideIndex = value;
        else return false;
        return true;
    default:
        return false;
    }
}

int Reader::listStyleForNfc(int nfc)
{
    switch (nfc) {
    case 1: return QTextListFormat::ListUpperRoman;
    case 2: return QTextListFormat::ListLowerRoman;
    case 3: return QTextListFormat::ListUpperAlpha;
    case 4: return QTextListFormat::ListLowerAlpha;
    case 23: return QTextListFormat::ListDisc;
    case 255: return kNoList;
    default: return QTextListFormat::ListDecimal;
    }
}

} // namespace rtf
