// The reader's list definitions: the list and override tables and the older \pn numbering.
#include "rtfreader.h"
#include "rtfbulletruns.h"
#include "rtfcharsets.h"
#include "rtfindents.h"
#include "rtflistformat.h"
#include "rtfunits.h"

#include <QTextDocument>
#include <QTextList>

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
    case Op::OldStart: m_pn.start = value; return true;
    default: return false;
    }
}

// The texts around the number, in the document's code page.
void Reader::oldNumberingText(const char *data, qsizetype length)
{
    QString &out = top().dest == Dest::OldNumberingBefore ? m_pn.before : m_pn.after;
    CodePage *cp = CodePage::get(m_docCodePage);
    for (qsizetype i = 0; i < length && out.size() < kMaxOldText; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        out.append(QChar(b < 0x80 ? char16_t(b) : cp->single(b)));
    }
}

// A numbered paragraph keeps its start and texts; each different set is stored once, and
// a file that gives too many shares the first one's.
void Reader::finishOldNumbering(ParaProps &props)
{
    props.oldStyle = m_pnStyle;
    props.oldLevel = m_pnLevel;
    props.oldNumber = 0;
    if (m_pnStyle == kNoList || isBulletStyle(m_pnStyle))
        return;
    const auto it = std::find(m_oldNumbers.begin(), m_oldNumbers.end(), m_pn);
    if (it != m_oldNumbers.end()) {
        props.oldNumber = int(it - m_oldNumbers.begin()) + 1;
    } else if (m_oldNumbers.size() < kMaxOldNumbers) {
        m_oldNumbers.push_back(m_pn);
        props.oldNumber = int(m_oldNumbers.size());
    } else {
        props.oldNumber = 1;
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
        if (op == Op::LevelFormat || op == Op::LevelFormatN) m_level.nfc = value;
        else if (op == Op::LevelStartAt) m_level.start = value;
        else return false;
        return true;
    case Dest::ListOverride:
        if (op == Op::ListId) m_override.list = value;
        else if (op == Op::ListOverrideIndex) m_overrideIndex = value;
        else if (op == Op::ListOverrideLevel) ++m_overrideLevel;
        else if (op == Op::LevelStartAt) m_override.starts.insert(std::max(m_overrideLevel, 0), value);
        else return false;
        return true;
    default:
        return false;
    }
}

// \leveltext's characters, in the document's code page; \levelnumbers' bytes as they are.
void Reader::levelTextBytes(const char *data, qsizetype length)
{
    if (top().dest == Dest::LevelNumbers) {
        m_level.numbers.append(data, length);
        return;
    }
    CodePage *cp = CodePage::get(m_docCodePage);
    for (qsizetype i = 0; i < length; ++i) {
        const auto b = static_cast<unsigned char>(data[i]);
        m_level.text.append(QChar(b < 0x80 ? char16_t(b) : cp->single(b)));
    }
}

void Reader::finishListLevel(const GroupState &ended)
{
    ListLevel &level = m_level;
    level.left = ended.para.left;
    level.first = ended.para.first;
    level.paraSet = ended.paraSet & (kSetLeft | kSetFirst);
    level.font = (ended.charSet & kSetFont) ? ended.chr.font : -1;
    // The first unit is the text's length; a ';' ends it.
    if (!level.text.isEmpty()) {
        const int n = std::min<int>(level.text.front().unicode(), int(level.text.size()) - 1);
        level.text = level.text.mid(1, n);
    }
    // A level inside \lfolevel only overrides its list's start.
    if (top().dest == Dest::ListOverride) {
        m_override.starts.insert(std::max(m_overrideLevel, 0), level.start);
        return;
    }
    if (m_list.levels.size() < 9)
        m_list.levels.push_back(level);
}

// Qt draws three bullets; each of the others is kept for writing back and drawn as a disc.
int Reader::styleForLevel(const ListLevel &level, const QString &bulletFont)
{
    if (const int style = styleForNfc(level.nfc); style != -1)
        return style;
    const char16_t c = level.text.isEmpty() ? u'\x2022' : level.text.front().unicode();
    const bool wingdings = bulletFont.startsWith(QLatin1String("Wingdings"));
    if (c == 0x25E6 || c == 0x25CB || (c == u'o' && !wingdings) || c == 0xF06F)
        return QTextListFormat::ListCircle;
    if (c == 0x25AA || c == 0x25A0 || c == 0xF0A7 || (c == 0xA7 && wingdings))
        return QTextListFormat::ListSquare;
    return QTextListFormat::ListDisc;
}

const ListLevel *Reader::listLevelFor(const ParaProps &pp) const
{
    auto o = m_overrides.constFind(pp.listOverride);
    if (o == m_overrides.cend())
        return nullptr;
    auto def = m_listDefs.constFind(o->list);
    if (def == m_listDefs.cend() || size_t(pp.listLevel) >= def->levels.size())
        return nullptr;
    return &def->levels[size_t(pp.listLevel)];
}

// A list paragraph takes its level's indents where it gives none of its own.
void Reader::applyLevelIndents(ParaProps &props, unsigned paraSet) const
{
    const ListLevel *level = listLevelFor(props);
    if (!level)
        return;
    if ((level->paraSet & kSetLeft) && !(paraSet & kSetLeft))
        props.left = level->left;
    if ((level->paraSet & kSetFirst) && !(paraSet & kSetFirst))
        props.first = level->first;
    // Where neither says, the text starts past its marker.
    if (!((level->paraSet | paraSet) & kSetLeft))
        props.left = std::max(props.left, kListHangTwips);
}

// An \ls that names no override is no list: LibreOffice marks outline headings so and
// writes no list for them.
bool Reader::namesList(const ParaProps &pp) const
{
    return pp.listOverride >= 0 && m_overrides.contains(pp.listOverride);
}

int Reader::listStyleFor(const ParaProps &pp, int *level, qint64 *key) const
{
    if (namesList(pp)) {
        *level = pp.listLevel + 1;
        *key = qint64(pp.listOverride + 1) << 8 | pp.listLevel;   // never 0, "no list"
        const ListLevel *l = listLevelFor(pp);
        if (!l)
            return QTextListFormat::ListDisc;
        return styleForLevel(*l, l->font >= 0 ? m_fonts.value(l->font).families.value(0) : QString());
    }
    if (pp.oldStyle != kNoList) {
        *level = pp.oldLevel;
        *key = -(qint64(pp.oldNumber) << 16 | qint64(-pp.oldStyle) << 8 | pp.oldLevel);
        return pp.oldStyle;
    }
    return kNoList;
}

namespace {

// The text around a level's own number; Qt shows no other level's number beside it.
void numberAffixes(const ListLevel &level, QTextListFormat &f)
{
    std::vector<qsizetype> places;
    for (const char b : level.numbers)
        if (b > 0 && b <= level.text.size())
            places.push_back(b - 1);
    if (level.numbers.isEmpty())
        for (qsizetype i = 0; i < level.text.size(); ++i)
            if (level.text[i].unicode() < 9)
                places.push_back(i);
    if (places.empty())
        return;
    f.setNumberPrefix(level.text.first(places.front()));
    f.setNumberSuffix(level.text.mid(places.back() + 1));
}

} // namespace

QTextListFormat Reader::listFormat(const ParaProps &props, int style, int level) const
{
    QTextListFormat f;
    f.setStyle(QTextListFormat::Style(style));
    f.setIndent(std::clamp(level, 1, 9));
    if (!namesList(props)) {
        oldListFormat(props, style, f);
        return f;
    }
    const ListLevel *l = listLevelFor(props);
    if (!l)
        return f;
    f.setProperty(listprop::Nfc, l->nfc);
    f.setProperty(listprop::LevelText, l->text);
    f.setProperty(listprop::LevelNumbers, l->numbers);
    const auto o = m_overrides.constFind(props.listOverride);
    f.setProperty(listprop::Start, o->starts.value(props.listLevel, l->start));
    if (l->font >= 0)
        f.setProperty(listprop::BulletFont, m_fonts.value(l->font).families.value(0));
    if (l->paraSet & kSetLeft)
        f.setProperty(listprop::LevelLeft, l->left);
    if (l->paraSet & kSetFirst)
        f.setProperty(listprop::LevelFirst, l->first);
    if (!isBulletStyle(style))
        numberAffixes(*l, f);
    // Last, as groupList adds it to a list made before: formats compare in order.
    if (m_groupFirsts.contains(props.listOverride))
        f.setProperty(listprop::Group, props.listOverride);
    return f;
}

// \pn numbering as the level of a list table would give it: its start, and its texts
// around the number, which Qt shows as the number's prefix and suffix.
void Reader::oldListFormat(const ParaProps &props, int style, QTextListFormat &f) const
{
    if (props.oldNumber <= 0 || size_t(props.oldNumber) > m_oldNumbers.size())
        return;
    const OldNumber &n = m_oldNumbers[size_t(props.oldNumber - 1)];
    f.setNumberPrefix(n.before);
    f.setNumberSuffix(n.after);
    f.setProperty(listprop::Start, n.start);
    f.setProperty(listprop::Nfc, nfcForStyle(style));
    f.setProperty(listprop::LevelText, n.before + QChar(char16_t(f.indent() - 1)) + n.after);
    f.setProperty(listprop::LevelNumbers, QByteArray(1, char(n.before.size() + 1)));
}

void Reader::attachList(QTextCursor &cursor, const ParaProps &props)
{
    int level = 1;
    qint64 key = 0;
    const int style = listStyleFor(props, &level, &key);
    // Each block added to a QTextList costs time in the list's length, so a bullet list
    // is continued only by the block right after one of its items (table cells count),
    // and a long run of bullets is built as several lists (see BulletRun); a later run of
    // bullets starts a list of its own. The writer's paragraphs map to the same blocks, so
    // a saved file reads back into the same lists. Numbered lists are kept whole for their
    // numbering.
    auto it = m_textLists.constFind(key);
    const bool known = it != m_textLists.cend() && *it;
    if (known && !isBulletStyle(style)) {
        (*it)->add(cursor.block());
        return;
    }
    QTextList *list = nullptr;
    if (known && cursor.block().previous().textList() == *it) {
        BulletRun run((*it)->format(), *it);
        run.add(cursor.block());
        if (run.list() == *it)
            return;
        list = run.list();
    } else {
        list = cursor.createList(listFormat(props, style, level));
    }
    m_textLists.insert(key, list);
    if (listLevelFor(props))   // a level the list table leaves out has no group
        groupList(props.listOverride, list);
}

// The lists of one \ls carry its number, so that the writer puts them back into one. The
// only list of its \ls goes without it, so that lists alike share one format: documents
// have many short lists, each under an \ls of its own. A second list gives the first its
// number.
void Reader::groupList(int ls, QTextList *list)
{
    auto first = m_groupFirsts.find(ls);
    if (first == m_groupFirsts.end()) {
        m_groupFirsts.insert(ls, list);
        return;
    }
    for (QTextList *l : {std::exchange(*first, nullptr), list}) {
        if (!l || l->format().hasProperty(listprop::Group))
            continue;
        QTextListFormat f = l->format();
        f.setProperty(listprop::Group, ls);
        l->setFormat(f);
    }
}

} // namespace rtf
